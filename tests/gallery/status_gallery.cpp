// Developer program: starts the program's windows on private settings, lets
// the status bars refresh with the caret in the first document, and writes a
// screenshot of the main window to a PNG (first argument, default
// "statusbar.png"). Run it under Xvfb so the keyboard locks are read from a
// real X display: xvfb-run -a ./status_gallery statusbar.png
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/mainwindow/Startup.h"
#include "editor/qt/mwCustomEdit.h"
#include "shell/qt/main/PrivateSettings.h"

#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

// Stands in for the IP address watcher, which this program does not start.
class LoopbackAddress : public vx::shell::IAddressWatch {
public:
    bool IsOnline() const override { return true; }
    std::string CurrentIP() const override { return "127.0.0.1"; }
};

void Wait(int ms)
{
    QTimer wait;
    wait.setSingleShot(true);
    wait.start(ms);
    while (wait.isActive())
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir settings;
    UsePrivateSettings(settings, TSettingsOverride::KeepSet);
    QApplication app(argc, argv);
    const std::string out = argc > 1 ? argv[1] : "statusbar.png";
    LoopbackAddress address;
    std::unique_ptr<TForm1> form(CreateMainWindows([](int, const char*) {}));
    form->ipwatcher = &address;
    form->show();
    form->activateWindow();
    Wait(500);
    form->SlotEditor(1)->setFocus();
    // The first refresh comes a second after start.
    Wait(1800);
    QPixmap shot = form->screen()->grabWindow(form->winId());
    if (shot.isNull() || shot.size().isEmpty())
        shot = form->grab();
    form->ipwatcher = nullptr;
    if (!shot.save(QString::fromStdString(out))) {
        std::fprintf(stderr, "%s: could not write %s\n", argv[0], out.c_str());
        return 1;
    }
    std::printf("%s\n", out.c_str());
    return 0;
}

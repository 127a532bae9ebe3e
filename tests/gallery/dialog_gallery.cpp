// Developer program: starts the program's windows on private settings, opens
// a generator dialog by its class name (default "Tfrm_newpage") as its
// command does, and writes a screenshot of it to a PNG (second argument,
// default "<class>.png"). Run it under Xvfb to see what the window system
// draws: xvfb-run -a ./dialog_gallery Tfrm_newpage newpage.png
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/mainwindow/Startup.h"
#include "shell/qt/launch/Launchers.h"
#include "shell/qt/main/PrivateSettings.h"

#include <QApplication>
#include <QDialog>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

int main(int argc, char** argv)
{
    QTemporaryDir settings;
    UsePrivateSettings(settings, TSettingsOverride::KeepSet);
    QApplication app(argc, argv);
    const std::string dialogClass = argc > 1 ? argv[1] : "Tfrm_newpage";
    const std::string out = argc > 2 ? argv[2] : dialogClass + ".png";
    if (!vx::shell::LauncherAvailable(dialogClass)) {
        std::fprintf(stderr, "%s: no built dialog named %s\n", argv[0], dialogClass.c_str());
        return 2;
    }
    std::unique_ptr<TForm1> form(CreateMainWindows([](int, const char*) {}));
    form->show();
    bool written = false;
    vx::shell::SetDialogHost([&](QDialog& dialog) {
        dialog.show();
        dialog.raise();
        // Let the window system map and paint the window before the shot.
        for (int i = 0; i < 20; ++i) {
            QApplication::processEvents();
            QTimer wait;
            wait.start(25);
            while (wait.isActive() && wait.remainingTime() > 0)
                QApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        QPixmap shot = dialog.screen()->grabWindow(dialog.winId());
        if (shot.isNull() || shot.size().isEmpty())
            shot = dialog.grab();
        written = shot.save(QString::fromStdString(out));
        return int(QDialog::Rejected);
    });
    vx::shell::RunLauncher(*form, dialogClass);
    if (!written) {
        std::fprintf(stderr, "%s: could not write %s\n", argv[0], out.c_str());
        return 1;
    }
    std::printf("%s\n", out.c_str());
    return 0;
}

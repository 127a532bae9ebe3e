// The program: registers the highlighters, sets up the languages, shows the
// splash while the windows are created, and runs the message loop.
#include "highlighters/RegisterHighlighters.h"
#include "localisation/qt/KMLang.h"
#include "platform/qt/Application.h"
#include "platform/web/WebBrowser.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/mainwindow/Splash.h"
#include "shell/qt/mainwindow/Startup.h"

#include <QTimer>

#include <memory>

int main(int argc, char** argv)
{
    RegisterAllHighlighters();
    vx::InstallWebBrowser();
    vx::TApplication app(argc, argv);
    TKAppLanguage::Instance().Initialize();
    auto splash = std::make_unique<Tfrm_splash>();
    splash->show();
    splash->raise();
    splash->repaint();
    QApplication::setApplicationName(ProductName);
    std::unique_ptr<TForm1> form(CreateMainWindows([&](int gauge, const char* label) { splash->Step(gauge, label); }));
    for (int i = 1; i < argc; ++i)
        form->CommandLine.emplace_back(argv[i]);
    splash->close();
    splash.reset();
    form->show();
    form->activateWindow();
    // Without a window manager the window may never be told it is active; the
    // first activation's set-up then runs as soon as the loop starts.
    QTimer::singleShot(0, form.get(), [&form] {
        if (form->FirstActivation())
            form->FormActivate();
    });
    return app.exec();
}

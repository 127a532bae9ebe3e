// Developer program: starts the main window on the screen it is given (run it
// under Xvfb), opens a view of it and writes a screenshot of the whole screen.
//   main_window_shot OUT.png insert      the Insert statements menu open
//   main_window_shot OUT.png files DIR   the file panel showing the folder DIR
//   main_window_shot OUT.png prefs       the preferences window open over it
//   main_window_shot OUT.png toolbar     the window 1,000 pixels wide: the whole tool bar
//   main_window_shot OUT.png faves       the favourites window, in Dutch
// Point VELLUMIX_HOME and VELLUMIX_CONFIG at scratch folders first; the
// windows start in the language the settings there choose.
#include "highlighters/RegisterHighlighters.h"
#include "localisation/qt/KMLang.h"
#include "platform/qt/Application.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/mainwindow/PrefForm.h"
#include "shell/qt/mainwindow/Startup.h"
#include "shell/qt/panels/FilePanel.h"
#include "shell/qt/panels/SidePanels.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

void OpenMenu(TForm1& form, const char* top, const char* sub)
{
    QMenuBar* bar = form.menuBar();
    auto* menu = form.findChild<QMenu*>(top);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    QTest::qWait(300);
    auto* submenu = form.findChild<QMenu*>(sub);
    QTest::mouseMove(menu, menu->actionGeometry(submenu->menuAction()).center());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(submenu->menuAction()).center());
    QTest::qWait(300);
}

} // namespace

int main(int argc, char** argv)
{
    const bool insert = argc == 3 && std::strcmp(argv[2], "insert") == 0;
    const bool files = argc == 4 && std::strcmp(argv[2], "files") == 0;
    const bool prefs = argc == 3 && std::strcmp(argv[2], "prefs") == 0;
    const bool toolbar = argc == 3 && std::strcmp(argv[2], "toolbar") == 0;
    const bool faves = argc == 3 && std::strcmp(argv[2], "faves") == 0;
    if (!insert && !files && !prefs && !toolbar && !faves) {
        std::fprintf(stderr, "usage: %s OUT.png insert | %s OUT.png files DIR | %s OUT.png prefs\n", argv[0],
                     argv[0], argv[0]);
        return 2;
    }
    RegisterAllHighlighters();
    vx::TApplication app(argc, argv);
    TKAppLanguage::Instance().Initialize();
    std::unique_ptr<TForm1> form(CreateMainWindows([](int, const char*) {}));
    form->resize(toolbar ? 1000 : 1200, toolbar ? 700 : 820);
    form->move(0, 0);
    form->show();
    form->activateWindow();
    QTest::qWait(500);
    if (form->FirstActivation())
        form->FormActivate();
    bool saved = false;
    auto shoot = [&] {
        saved = form->screen()->grabWindow(0).save(QString::fromLocal8Bit(argv[1]));
        std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "wrote" : "could not write", argv[1]);
    };
    if (toolbar) {
        QTest::qWait(300);
        const bool ok = form->grab().save(QString::fromLocal8Bit(argv[1]));
        std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "could not write", argv[1]);
        return ok ? 0 : 1;
    }
    if (faves) {
        form->findChild<QAction*>("Nederlands1")->trigger();
        QTimer::singleShot(800, [&] {
            QWidget* window = QApplication::activeModalWidget();
            saved = window && window->grab().save(QString::fromLocal8Bit(argv[1]));
            std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "wrote" : "could not write", argv[1]);
            if (window)
                window->close();
        });
        form->findChild<QAction*>("Openfromfavourites1")->trigger();
        return saved ? 0 : 1;
    }
    if (prefs) {
        // The window is modal: the shot is taken while it is up, then it is closed.
        QTimer::singleShot(800, [&] {
            shoot();
            frm_pref->reject();
        });
        form->findChild<QAction*>("Prefferences1")->trigger();
        return saved ? 0 : 1;
    }
    if (insert) {
        OpenMenu(*form, "Insertstatements1", "VBScriptstatements1");
    } else {
        form->findChild<QAction*>("Filepanel1")->trigger();
        vx::shell::FilePanel(*form)->SetFolder(argv[3]);
        QTest::qWait(500);
    }
    shoot();
    return saved ? 0 : 1;
}

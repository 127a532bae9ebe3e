// Creation of the main window and the long-lived windows.
#include "shell/qt/mainwindow/Startup.h"

#include "controls/common/StartupUnits.h"
#include "shell/qt/windows/FileManager.h"
#include "shell/qt/windows/ImgContainer.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/mainwindow/PrefForm.h"
#include "shell/qt/windows/Preview.h"
#include "shell/qt/windows/ProfHelp.h"
#include "shell/qt/windows/Recorder.h"
#include "shell/qt/windows/SearchForm.h"
#include "shell/qt/windows/SelDoc.h"
#include "shell/qt/windows/SqlWiz.h"

namespace {

// Creates the window owned by the main window and keeps the global reference
// in step with its life.
template <class W> void Create(TForm1* owner, W*& global)
{
    global = new W(owner);
    QObject::connect(global, &QObject::destroyed, [&global] { global = nullptr; });
}

} // namespace

TForm1* CreateMainWindows(const TStartupStep& step)
{
    vx::InitializeComponentUnits();
    auto* form = new TForm1;
    Create(form, frm_imgcontainer);
    step(10, nullptr);
    Create(form, frm_seldoc);
    step(20, "Doc. selection");
    Create(form, frm_search);
    step(30, "Search capabilities");
    Create(form, frm_pref);
    step(40, "Configuration file");
    Create(form, frm_jump);
    step(60, nullptr);
    Create(form, frm_filemanager);
    step(70, "File Manager");
    step(80, nullptr);
    Create(form, frm_profhelp);
    step(90, nullptr);
    Create(form, frm_preview);
    step(90, "Preview tools");
    Create(form, frm_sqlwiz);
    step(100, nullptr);
    Create(form, frm_recorder);
    step(110, "Recorder tools");
    return form;
}

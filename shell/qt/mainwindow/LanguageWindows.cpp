// The windows the language tool collects.
#include "shell/qt/mainwindow/LanguageWindows.h"

#include "controls/edits/PickDate.h"
#include "controls/edits/RxCalc.h"
#include "controls/speedbar/SbSetup.h"
#include "controls/speedbar/SpeedBar.h"
#include "database/qt/DsnCfg.h"
#include "database/qt/ODBCErrorDlg.h"
#include "images/RxGIF.h"
#include "images/qt/PaletteForm.h"
#include "images/qt/PreviewForm.h"
#include "localisation/qt/KLangTool.h"
#include "shell/qt/mainwindow/ComponentTranslation.h"
#include "shell/qt/windows/About.h"
#include "shell/qt/windows/DirSelector.h"
#include "shell/qt/windows/FileManager.h"
#include "shell/qt/windows/FrontPageCheck.h"
#include "shell/qt/windows/ImgContainer.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/mainwindow/PrefForm.h"
#include "shell/qt/windows/Preview.h"
#include "shell/qt/windows/PreviewImg.h"
#include "shell/qt/windows/ProfHelp.h"
#include "shell/qt/windows/Recorder.h"
#include "shell/qt/windows/RegEdit.h"
#include "shell/qt/windows/SearchForm.h"
#include "shell/qt/windows/SelDoc.h"
#include "shell/qt/windows/SqlWiz.h"
#include "shell/qt/windows/VersionManager.h"
#include "shell/qt/launch/LauncherTable.h"
#include "shell/qt/menu/ProgressWindow.h"
#include "shell/qt/mainwindow/RunTimeTextList.h"
#include "localisation/qt/RunTimeTexts.h"
#include "tools/qt/MultiFileReplaceWindow.h"

#include <set>
#include <string>

namespace vx::shell {

namespace {

template <class W> void Add(TLangWindowRegistry& registry, const char* name)
{
    registry.Register(name, [] { return std::unique_ptr<QWidget>(new W(nullptr)); });
}

} // namespace

void RegisterLanguageWindows(TLangWindowRegistry& registry)
{
    RegisterComponentTranslation();
    Add<TForm1>(registry, "TForm1");
    Add<Tfrm_imgcontainer>(registry, "Tfrm_imgcontainer");
    Add<Tfrm_seldoc>(registry, "Tfrm_seldoc");
    Add<Tfrm_search>(registry, "Tfrm_search");
    Add<Tfrm_pref>(registry, "Tfrm_pref");
    Add<Tfrm_jump>(registry, "Tfrm_jump");
    Add<TFrm_filemanager>(registry, "TFrm_filemanager");
    Add<Tfrm_profhelp>(registry, "Tfrm_profhelp");
    Add<Tfrm_preview>(registry, "Tfrm_preview");
    Add<Tfrm_sqlwiz>(registry, "Tfrm_sqlwiz");
    Add<Tfrm_recorder>(registry, "Tfrm_recorder");
    Add<Tfrm_previewimg>(registry, "Tfrm_previewimg");
    Add<Tfrm_dirselector>(registry, "Tfrm_dirselector");
    Add<Tfrm_about>(registry, "Tfrm_about");
    Add<Tfrm_regedit>(registry, "Tfrm_regedit");
    Add<Tfrm_fpcheck>(registry, "Tfrm_fpcheck");
    Add<Tfrm_todo_addtask>(registry, "Tfrm_todo_addtask");
    Add<Tfrm_todo_change>(registry, "Tfrm_todo_change");
    registry.Register("Tfrm_progress", [] { return std::make_unique<Tfrm_progress>(nullptr, 0); });
    // The windows replacing in files opens from its buttons.
    registry.Register("TFQuery", [] { return std::make_unique<TFQuery>(nullptr, false); });
    registry.Register("TFStatus", [] { return std::make_unique<TFStatus>(nullptr, false); });
    registry.Register("TFFilter", [] { return std::make_unique<TFFilter>(nullptr, vx::tools::TScanSettings{}); });
    // The GIF animator's preview and palette and its speed bar's customisation.
    registry.Register("TPreviewForm", [] { return std::make_unique<TPreviewForm>(nullptr, RxGIF::TGIFImage{}); });
    registry.Register("TPaletteForm", [] { return std::make_unique<TPaletteForm>(nullptr, TGIFPalette(16), 0); });
    registry.Register("TSpeedbarSetupWindow", [] { return std::make_unique<TSpeedbarSetupWindow>(); });
    // The date edit's calendar and date dialog, the calculator.
    registry.Register("TPopupCalendar", [] { return std::make_unique<TPopupCalendar>(nullptr); });
    registry.Register("TSelectDateDlg", [] { return std::make_unique<TSelectDateDlg>(nullptr, ""); });
    registry.Register("TRxCalculatorForm", [] { return std::make_unique<TRxCalculatorForm>(nullptr, 0); });
    // The DSN window's add dialog, and the dialog an ODBC error shows in.
    Add<TAddDlg>(registry, "TAddDlg");
    Add<TmODBCErrorDlg>(registry, "TmODBCErrorDlg");
    registry.Register(RunTimeTextsSection, [] { return MakeRunTimeTextsWindow(RunTimeTextList()); });
    // A dialog class that several commands open is collected once.
    std::set<std::string> seen;
    for (const TLauncherRow& row : LauncherTable())
        if (row.Make && seen.insert(row.DialogClass).second)
            registry.Register(row.DialogClass, [make = row.Make] { return std::unique_ptr<QWidget>(make(nullptr)); });
}

} // namespace vx::shell

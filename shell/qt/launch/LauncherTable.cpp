// The launcher of every dialog the main window opens. A dialog that is not
// built yet has no maker (nullptr): its commands stay disabled. Enabling one
// is one change in its row: Make<TheClass> and its header.
#include "shell/qt/launch/LauncherTable.h"

#include "shell/qt/windows/AspWarning.h"
#include "shell/qt/windows/ClipViewForm.h"
#include "shell/qt/windows/ColorPrint.h"
#include "shell/qt/windows/FaveFiles.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/windows/CodeBase.h"
#include "shell/qt/mainwindow/MainFormCommandsState.h"
#include "shell/qt/windows/Snippets.h"
#include "shell/qt/windows/UserTags.h"
#include "shell/qt/windows/VersionManager.h"
#include "shell/qt/launch/LaunchSteps.h"
#include "database/qt/DsnCfg.h"
#include "database/qt/SqlGenerator.h"
#include "images/qt/AnimatorForm.h"
#include "images/qt/GifOptimizerForm.h"
#include "internet/qt/EmailForm.h"
#include "internet/qt/FtpForm.h"
#include "internet/qt/LinkCheckForm.h"
#include "internet/qt/OpenUrlForm.h"
#include "internet/qt/StructureForm.h"
#include "internet/qt/UpdateForm.h"
#include "tools/qt/AdRotator.h"
#include "tools/qt/AspGenerators.h"
#include "tools/qt/CompressHtmlWizard.h"
#include "tools/qt/EncryptDialog.h"
#include "tools/qt/FileGenerators.h"
#include "tools/qt/FontDialogs.h"
#include "tools/qt/HtmlToAspWizard.h"
#include "tools/qt/ImageInsert.h"
#include "tools/qt/LinkDialogs.h"
#include "tools/qt/MultiFileReplaceWindow.h"
#include "tools/qt/PageGenerators.h"
#include "tools/qt/PerlDialogs.h"
#include "tools/qt/RtfExportDialog.h"
#include "tools/qt/RtfToHtmlDialog.h"
#include "tools/qt/SourceBeautifierDialog.h"
#include "tools/qt/SqlTableDialog.h"
#include "tools/qt/TableWizard.h"
#include "tools/qt/TextDialogs.h"
#include "tools/qt/TextToHtmlDialog.h"
#include "tools/qt/framework/DisplayDialogs.h"

#include "platform/qt/QtText.h"

#include <QListWidget>

#include <algorithm>

namespace vx::shell {

namespace {

using namespace steps;

void NewPage(TForm1& form)
{
    form.New1Click();
}

// Each list's selected item, blank-padded, where the caret stands; "&Cancel" inserts nothing.
void InsertDateAndTime(TLaunch& launch)
{
    auto* dialog = dynamic_cast<Tfrm_datetime*>(launch.Dialog);
    if (!dialog)
        return;
    for (const QListWidget* list : {dialog->ListBox1, dialog->ListBox2})
        if (const QListWidgetItem* item = list->currentItem(); item && item->isSelected())
            launch.Form.insert_item(" " + FromQString(item->text()) + " ", 0);
}

} // namespace

const std::vector<TLauncherRow>& LauncherTable()
{
    // clang-format off
    static const std::vector<TLauncherRow> rows = {
        // class                      maker                     hand-in                result on accept            guard            run
        {"Tfrm_newpage",              Make<Tfrm_newpage>,       nullptr,               nullptr,                    nullptr,         NewPage},
        {"Tfrm_sql_generator",        Make<Tfrm_sql_generator>, nullptr,               Lines},
        {"Tfrm_ado",                  Make<Tfrm_ado>,           nullptr,               Lines},
        {"Tfrm_dsnless",              Make<Tfrm_dsnless>,       nullptr,               Lines},
        {"Tfrm_addimg",               Make<Tfrm_addimg>,        PresetDroppedImage,    FirstLine},
        {"Tfrm_cookie",               Make<Tfrm_cookie>,        nullptr,               BlankLineThenLines},
        {"Tfrm_incwizard",            Make<Tfrm_incwizard>,     IncludeHandIn,         Paste},
        {"Tfrm_meta",                 Make<Tfrm_meta>,          nullptr,               Lines},
        {"Tfrm_redirect",             Make<Tfrm_redirect>,      nullptr,               Lines},
        {"Tfrm_sound",                Make<Tfrm_sound>,         nullptr,               WrapWholeMemo},
        {"Tfrm_tablewiz",             Make<Tfrm_tablewiz>,      nullptr,               Lines},
        {"Tfrm_mailwiz",              Make<Tfrm_mailwiz>,       nullptr,               Lines},
        {"Tfrm_perlmail",             Make<Tfrm_perlmail>,      nullptr,               Lines},
        {"Tfrm_coldmail",             Make<Tfrm_coldmail>,      nullptr,               Lines},
        {"Tfrm_addurl",               Make<Tfrm_addurl>,        nullptr,               FirstLineIntoActiveSlot},
        {"Tfrm_fontcolor",            Make<Tfrm_fontcolor>,     nullptr,               WrapFirstLineBack7},
        {"Tfrm_font",                 Make<Tfrm_font>,          nullptr,               WrapFirstLineBack7},
        {"Tfrm_mailto",               Make<Tfrm_mailto>,        nullptr,               WrapWholeMemoWhenNotEmpty},
        {"Tfrm_marquee",              Make<Tfrm_marquee>,       nullptr,               FirstLine},
        {"Tfrm_transition",           Make<Tfrm_transition>,    nullptr,               WrapEdit1WhenNotEmpty},
        {"Tfrm_fp_subst",             Make<Tfrm_fp_subst>,      nullptr,               Lines},
        {"Tfrm_adrotator",            Make<Tfrm_adrotator>,     nullptr,               Lines},
        {"Tfrm_cookiedetect",         Make<Tfrm_cookiedetect>,  nullptr,               Lines},
        {"Tfrm_massmailing",          Make<Tfrm_massmailing>,   nullptr,               Lines},
        {"Tfrm_aspcounter",           Make<Tfrm_aspcounter>,    nullptr,               Lines},
        {"Tfrm_responsewiz",          Make<Tfrm_responsewiz>,   nullptr,               WrapFirstLine},
        {"Tfrm_sqlmaketable",         Make<Tfrm_sqlmaketable>,  nullptr,               Lines},
        {"Tfrm_ifthen",               Make<Tfrm_ifthen>,        nullptr,               Lines},
        {"Tfrm_remark",               Make<Tfrm_remark>,        nullptr,               Lines},
        {"Tfrm_datetime",             Make<Tfrm_datetime>,      nullptr,               InsertDateAndTime},
        {"Tfrm_charmap",              Make<Tfrm_charmap>,       nullptr,               FirstLine},
        {"Tfrm_cvthtml",              Make<Tfrm_cvthtml>,       nullptr,               LinesOfMemo2},
        {"Tfrm_txt2html",             Make<Tfrm_txt2html>},
        {"Tfrm_rtfhtml",              Make<Tfrm_rtfhtml>},
        {"TFrm_aspb",                 Make<TFrm_aspb>,          BeautifyHandIn,        BeautifyResult,             HasSlotEditor},
        {"Tfrm_makefunction",         Make<Tfrm_makefunction>,  SelectionToDump,       ReplaceSelection},
        {"Tfrm_make_perl",            Make<Tfrm_make_perl>,     SelectionToMemo2,      ReplaceSelection},
        {"Tfrm_makeperl",             Make<Tfrm_makeperl>,      SelectionToMemo2,      ReplaceSelection},
        {"Tfrm_makesnippet",          Make<Tfrm_makesnippet>,   SelectionToMemo1,      nullptr,                    HasSelection},
        {"Tfrm_snippets",             Make<Tfrm_snippets>,      nullptr,               Lines},
        {"Tfrm_colorpicker",          Make<Tfrm_colorpicker>,   nullptr,               WrapFirstLine},
        {"Tfrm_email",                Make<Tfrm_email>,                  EditorToMailMessage},
        {.DialogClass = "TfrmLinkChecking", .Make = Make<TfrmLinkChecking>, .HandIn = FileNameToEdtHTML, .AfterClose = CopyLinkTree},
        {.DialogClass = "TfrmHTMLParsing", .Make = Make<TfrmHTMLParsing>, .HandIn = FileNameToEdtHTML, .AfterClose = CopyStructureTrees},
        {.DialogClass = "Tfrm_usertag", .Make = Make<Tfrm_usertag>, .AfterClose = ReloadUserTags},
        {"Tf_ftp",                    Make<Tf_ftp>},
        {"Tfrm_enc",                  Make<Tfrm_enc>},
        {"TAnimatorForm",             Make<TAnimatorForm>},
        {"Tfrm_gifoptimizer",         Make<Tfrm_gifoptimizer>},
        {"Tfrm_clipview",             Make<Tfrm_clipview>},
        {"Tfrm_compresshtml",         Make<Tfrm_compresshtml>},
        {"Tfrm_codebase",             Make<Tfrm_codebase>},
        {"Tfrm_update",               Make<Tfrm_update>},
        {"TFStart",                   Make<TFStart>},
        {"Tfrm_dsncfg",               Make<Tfrm_dsncfg>},
        {.DialogClass = "Tfrm_openurl", .Make = Make<Tfrm_openurl>, .AfterClose = OpenChosenFile},
        {"Tfrm_favefiles",            Make<Tfrm_favefiles>},
        {.DialogClass = "Tfrm_todo", .Make = Make<Tfrm_todo>, .AfterClose = ReloadVcsList},
        {"Tfrm_print",                Make<Tfrm_print>,         EditorToPrintMemo},
        {"Tfrm_rtfexport",            Make<Tfrm_rtfexport>,     EditorTextToMemo1},
        {"Tfrm_tagsused",             Make<Tfrm_tagsused>,      FillUsedTags},
        {"Tfrm_docinfo",              Make<Tfrm_docinfo>,       FillDocumentInfo},
        // Not a menu command: the internal preview of an ASP page asks it first.
        {.DialogClass = "Tfrm_asp_warning", .Make = Make<Tfrm_asp_warning>, .AfterClose = TakeWebServerChoice},
    };
    // clang-format on
    return rows;
}

const TLauncherRow* FindLauncher(std::string_view dialogClass)
{
    const std::vector<TLauncherRow>& rows = LauncherTable();
    const auto row = std::find_if(rows.begin(), rows.end(),
                                  [dialogClass](const TLauncherRow& r) { return r.DialogClass == dialogClass; });
    return row == rows.end() ? nullptr : &*row;
}

} // namespace vx::shell

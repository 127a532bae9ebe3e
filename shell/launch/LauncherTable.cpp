// The launcher of every dialog the main window opens. A dialog that is not
// built yet has no maker (nullptr): its commands stay disabled. Enabling one
// is one change in its row: Make<TheClass> and its header.
#include "shell/launch/LauncherTable.h"

#include "shell/MainForm.h"
#include "shell/MainFormCommandsState.h"
#include "shell/launch/LaunchSteps.h"
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
#include "tools/FileGenerators.h"
#include "tools/PageGenerators.h"
#include "tools/TableWizard.h"
#include "tools/framework/DisplayDialogs.h"

#include <algorithm>

namespace vx::shell {

namespace {

using namespace steps;

void NewPage(TForm1& form)
{
    form.New1Click();
}

} // namespace

const std::vector<TLauncherRow>& LauncherTable()
{
    // clang-format off
    static const std::vector<TLauncherRow> rows = {
        // class                      maker                     hand-in                result                      guard            run
        {"Tfrm_newpage",              Make<Tfrm_newpage>,       nullptr,               nullptr,                    nullptr,         NewPage},
        {"Tfrm_sql_generator",        Make<Tfrm_sql_generator>, nullptr,               Lines},
        {"Tfrm_ado",                  nullptr,                  nullptr,               Lines},
        {"Tfrm_dsnless",              nullptr,                  nullptr,               Lines},
        {"Tfrm_addimg",               nullptr,                  PresetDroppedImage,    FirstLine},
        {"Tfrm_cookie",               nullptr,                  nullptr,               BlankLineThenLines},
        {"Tfrm_incwizard",            Make<Tfrm_incwizard>,     IncludeHandIn,         PasteWhenAccepted},
        {"Tfrm_meta",                 Make<Tfrm_meta>,          nullptr,               Lines},
        {"Tfrm_redirect",             Make<Tfrm_redirect>,      nullptr,               Lines},
        {"Tfrm_sound",                Make<Tfrm_sound>,         nullptr,               WrapWholeMemo},
        {"Tfrm_tablewiz",             Make<Tfrm_tablewiz>,      nullptr,               Lines},
        {"Tfrm_mailwiz",              nullptr,                  nullptr,               Lines},
        {"Tfrm_perlmail",             nullptr,                  nullptr,               Lines},
        {"Tfrm_coldmail",             nullptr,                  nullptr,               Lines},
        {"Tfrm_addurl",               nullptr,                  nullptr,               FirstLineIntoActiveSlot},
        {"Tfrm_fontcolor",            nullptr,                  nullptr,               WrapFirstLineBack7},
        {"Tfrm_font",                 nullptr,                  nullptr,               WrapFirstLineBack7},
        {"Tfrm_mailto",               nullptr,                  nullptr,               WrapWholeMemoWhenNotEmpty},
        {"Tfrm_marquee",              Make<Tfrm_marquee>,       nullptr,               FirstLine},
        {"Tfrm_transition",           Make<Tfrm_transition>,    nullptr,               WrapEdit1WhenNotEmpty},
        {"Tfrm_fp_subst",             Make<Tfrm_fp_subst>,      nullptr,               Lines},
        {"Tfrm_adrotator",            nullptr,                  nullptr,               Lines},
        {"Tfrm_cookiedetect",         nullptr,                  nullptr,               Lines},
        {"Tfrm_massmailing",          nullptr,                  nullptr,               Lines},
        {"Tfrm_aspcounter",           nullptr,                  nullptr,               Lines},
        {"Tfrm_responsewiz",          nullptr,                  nullptr,               WrapFirstLine},
        {"Tfrm_sqlmaketable",         nullptr,                  nullptr,               Lines},
        {"Tfrm_ifthen",               nullptr,                  nullptr,               Lines},
        {"Tfrm_remark",               nullptr,                  nullptr,               Lines},
        {"Tfrm_charmap",              nullptr,                  nullptr,               WrapEntityBack1},
        {"Tfrm_cvthtml",              nullptr,                  nullptr,               LinesOfMemo2},
        {"Tfrm_txt2html",             nullptr},
        {"Tfrm_rtfhtml",              nullptr},
        {"TFrm_aspb",                 nullptr,                  BeautifyHandIn,        BeautifyResult,             HasSlotEditor},
        {"Tfrm_makefunction",         nullptr,                  SelectionToDump,       ReplaceSelection},
        {"Tfrm_make_perl",            nullptr,                  SelectionToMemo2,      ReplaceSelection},
        {"Tfrm_makeperl",             nullptr,                  SelectionToMemo2,      ReplaceSelection},
        {"Tfrm_makesnippet",          nullptr,                  SelectionToMemo1,      nullptr,                    HasSelection},
        {"Tfrm_snippets",             nullptr,                  nullptr,               Lines},
        {"Tfrm_colorpicker",          nullptr,                  nullptr,               WrapUserColour},
        {"Tfrm_email",                Make<Tfrm_email>,                  EditorToMailMessage},
        {"TfrmLinkChecking",          Make<TfrmLinkChecking>,                  FileNameToEdtHTML,     CopyLinkTree},
        {"TfrmHTMLParsing",           Make<TfrmHTMLParsing>,                  FileNameToEdtHTML,     CopyStructureTrees},
        {"Tfrm_usertag",              nullptr,                  nullptr,               ReloadUserTags},
        {"Tf_ftp",                    Make<Tf_ftp>},
        {"Tfrm_enc",                  nullptr},
        {"TAnimatorForm",             Make<TAnimatorForm>},
        {"Tfrm_gifoptimizer",         Make<Tfrm_gifoptimizer>},
        {"Tfrm_clipview",             nullptr},
        {"Tfrm_compresshtml",         nullptr},
        {"Tfrm_codebase",             nullptr},
        {"Tfrm_update",               Make<Tfrm_update>},
        {"TFStart",                   nullptr},
        {"Tfrm_dsncfg",               Make<Tfrm_dsncfg>},
        {"Tfrm_openurl",              Make<Tfrm_openurl>,       nullptr,               OpenChosenFile},
        {"Tfrm_favefiles",            nullptr},
        {"Tfrm_todo",                 nullptr,                  nullptr,               ReloadVcsList},
        {"Tfrm_print",                nullptr,                  EditorToPrintMemo},
        {"Tfrm_rtfexport",            nullptr,                  EditorTextToMemo1},
        {"Tfrm_tagsused",             Make<Tfrm_tagsused>,      FillUsedTags},
        {"Tfrm_docinfo",              Make<Tfrm_docinfo>,       FillDocumentInfo},
        // Not a menu command: the internal preview of an ASP page asks it first.
        {"Tfrm_asp_warning",          nullptr,                  nullptr,               TakeWebServerChoice},
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

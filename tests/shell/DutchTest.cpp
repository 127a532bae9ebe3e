// The Dutch language: the translation table covers every text of every window,
// every window shows Dutch once the language is chosen (only names, code and
// words Dutch shares with English stay as they are), switching changes the open
// windows at once and back, and the start-up language survives a restart.
#include "tests/shell/MenuDriver.h"
#include "tests/shell/ShellFixture.h"

#include "controls/speedbar/SpeedBar.h"
#include "localisation/FormatSettings.h"
#include "localisation/KLangEd.h"
#include "localisation/LangTranslator.h"
#include "localisation/TranslationTable.h"
#include "localisation/qt/KLangTool.h"
#include "localisation/qt/KMLang.h"
#include "platform/FileIO.h"
#include "platform/ProgramPaths.h"
#include "platform/TStringList.h"
#include "shell/LanguageWindows.h"
#include "shell/PrefForm.h"
#include "shell/SearchForm.h"
#include "shell/StatusBar.h"
#include "tools/SourceBeautifierDialog.h"

#include <QComboBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <map>
#include <set>

namespace vx::test {
namespace {

const char* const kTable = VX_SOURCE_DIR "/languages/Nederlands.po";

// Lines that read the same in Dutch. Every one must still be shown by some
// window: a name that leaves the program leaves this list too.
const std::set<std::string>& SameInDutch()
{
    static const std::set<std::string> same = {
    // Product, site and technology names.
    "Miva", "Cold Fusion", "Webtv", "Nederlands", "ASP Town", "4 Guys from Rolla", "The ASP Hole",
    "The ASP developper network", "The ASP Alliance", "Vellumix Professional 1.0", "Active Server Page",
    "Vellumix Gif Animator 1.0",
    // Languages and file types.
    "JavaScript", "PHP", "SQL", "Html", "VBScript", "*.html", "Perl/Cgi", "CSS", "Perl / CGI", "Sql", "Vbscript",
    "*.asp", "*.inc", "*.asa", "*.htm", "Jpeg", "Gif", "Png", "Htm", "Shtml",
    // Words Dutch shares with English, key names, symbols and sizes.
    "1 ( 8 pt)", "2 (10 pt)", "3 (12 pt)", "4 (14 pt)", "5 (18 pt)", "6 (24 pt)", "7 (36 pt)", "Fuchsia", "x",
    "NUM", "CAPS", "SQL - Wizards", "VBScript - wizards", "Plug-ins", "Wizards", "Help", "Document 1", "Document 2",
    "Document 3", "Document 4", "Document 5", "Macro's", "&OK", " Databases", " Records", "|<", ">|", "< Help >",
    "<Type>", "Copyright", "Homepage", "Database", "Status", "Type", "& Ampersand", "\xA9"  " Copyright", "Frame #",
    "0 bytes", "ID", "Snippets",
    // Code that goes into the generated pages as it is: tag names, keywords, functions,
    // constants, server variables, attribute values, frame targets, data types, sample names.
    "Response.write \" \"", "Response.end", "True", "False", "Content_length", "Content_type", "Http_accept",
    "Http_accept_language", "Http_connection", "http_host", "Http_pragma", "Http_ua_pixels", "Http_ua_color",
    "Http_ua_cpu", "Http_user_agent", "http_cookie", "Gateway_interface", "Query_string", "Script_name",
    "Path_info", "Server_name", "Server_port", "CreateObject", "Mappath", "Select case", "Select", "From",
    "Order by", "Insert into", "Delete from", "Update", "Like", "Where", "And", "Or", "VBSunday", "VBMonday",
    "VBTuesday", "VBWednesday", "VBThursday", "VBFriday", "VBSaturday", "VBUseSystemDayOfWeek", "VBFirstJan",
    "VBFirstfourdays", "VBFirsFullWeek", "VBShortDate", "VBLongDate", "VBShortTime", "VBLongTime", "VBGeneralDate",
    "VBBlack", "VBRed", "VBGreen", "VBYellow", "VBBlue", "VBMagenta", "VBCyan", "VBWhite", "VBbinaryCompare",
    "VBtextCompare", "VBCr", "VBcrLf", "VBFormFeed", "VbLf", "VBNewLine", "VBNullChar", "VBNullString", "VBTab",
    "VBVerticalTab", "ABS", "Array", "Asc", "Atn", "Cbool", "Cbyte", "Cdate", "Cdbl", "Chr", "CInt", "Clng", "Cos",
    "Csng", "Cstr", "Date", "DateAdd", "DateDiff", "DatePart", "DateSerial", "DateValue", "Day", "Exp", "Filter",
    "Fix", "FormatCurrency", "FormatDateTime", "FormatNumber", "FormatPercent", "Function", "Hex", "Hour", "If",
    "Imp", "Inputbox", "Instr", "Int", "IsDate", "Join", "Lbound", "Lcase", "Left", "Len", "LoadPicture", "Log",
    "Ltrim", "Mid", "Minute", "Mod", "Month", "MonthName", "MsgBox", "Not", "Oct", "On Error Resume Next",
    "Option Explicit", "For", "Next", "Loop", "Do", "Clear", "Raise", "Dictionary", "FilesSystemObject", "While",
    "With", "If .. Else", "H1", "H2", "H3", "H4", "H5", "H6", "align=center", "align=left", "align=right",
    "Sql_get", "is", "Where ", "My_dsn_name", "Db_sample_value", "my_sql_function_Call", "my_record_set",
    "my_dsn_name", "db_sample_value", "my_connection", "my_sql_string", "my_record", "December 31, 2001",
    "/www/home", "http://", "my_table_function", "my_caption", "Absbottom", "Absmiddle", "Baseline", "Bleedleft",
    "Bleedright", "Center", "Middle", "Right", "Text", "Top", "you\\@example.com", "someone\\@example.com",
    "https://", "ftp://", "gopher://", "telnet://", "file:///", "_Blank", "_Parent", "_Self", "_Top", "Banner",
    "Contents", "main", "menu", "Mouseover", "Mouseout", "ad_rotator.txt", "Is_Cookie_Supported", "My_Fieldname",
    "My_Email_table", "mycounter.cdx", "My_Counter", "AddHeader(\"\",\"\")", "AppendToLog", "BinaryWrite",
    "Buffer =", "CacheControl", "Charset = \"Charset_Name\"", "ContentType = \":\"",
    "Cookies(\"my_cookie\") = \"my_variable\"", "End", "Expires = ", "ExpiresAbsolute = ", "Flush",
    "IsClientConnected", "Redirect(\"\")", "Write \"\"", "Response.", "My_New_SQL_Table", "Bit", "Char",
    "Double Precision", "Float", "Integer", "Numeric", "Primary Key", "Real", "Smallint", "Time With Time Zone",
    "TimeStamp", "TimeStamp With Time Zone", "VarChar", "Not Null", "Null", "then", "else", "my_function",
    "My_Perl_Function", "export.rtf", "Time",
    };
    return same;
}

// Section.key -> text, for every key of the file.
std::map<std::string, std::string> TextsOf(const TKLangFile& file)
{
    std::map<std::string, std::string> texts;
    const TkLangProps& props = file.Props();
    for (int s = 0; s < props.SectionCount(); ++s)
        for (int k = 0; k < props.KeyCount(s); ++k)
            for (int i = 0; i < file.StringCount(); ++i)
                if (file.Record(i).Ident == props.KeyIdent(s, k))
                    texts[props.SectionName(s) + "." + props.KeyName(s, k)] = file.Record(i).Text;
    return texts;
}

std::vector<std::string> Lines(const std::string& text)
{
    TStringList lines;
    lines.SetText(text);
    std::vector<std::string> out;
    for (int i = 0; i < lines.Count(); ++i)
        out.push_back(lines[i]);
    return out;
}

class DutchTest : public ShellTest {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(home.File("languages"));
        std::filesystem::copy_file(VX_DUTCH_LNG, home.File("languages/Nederlands.lng"));
        TKAppLanguage::Instance().SetLangDir(ProgramPath("languages"));
    }
    void TearDown() override
    {
        if (!TKAppLanguage::Instance().IsNativeCurrent())
            TKAppLanguage::Instance().SetLanguage("Native");
        TKAppLanguage::Instance().SetLangDir("");
    }
};

TEST_F(DutchTest, TheTableTranslatesEveryTextOfEveryWindow)
{
    TLangWindowRegistry registry;
    vx::shell::RegisterLanguageWindows(registry);
    const TempDir folder("vellumix-lng");
    WriteNativeLanguage(registry, folder.path().string());
    const auto missing = TranslateLanguageFile(folder.file("native.lng"), kTable, folder.file("Nederlands.lng"));
    EXPECT_TRUE(missing.empty()) << missing.size() << " texts have no Dutch yet. Add these entries to "
                                 << "languages/Nederlands.po and fill in their msgstr:\n\n"
                                 << UntranslatedEntries(missing);
}

TEST_F(DutchTest, WhatTheMachineListsIsNoTextOfTheProgram)
{
    // The installed fonts and the machine's folders: a language that carried
    // them would put the build machine's lists into every user's windows.
    TKLangFile native;
    native.LoadFromBytes(ReadWholeFile(VX_NATIVE_LNG));
    int fontBoxes = 0;
    for (const auto& [key, text] : TextsOf(native)) {
        const bool fontBox = key.find("FontComboBox") != std::string::npos;
        fontBoxes += fontBox;
        EXPECT_FALSE(fontBox && key.find(".Items") != std::string::npos) << key;
        EXPECT_EQ(key.find("DirTree1.Items"), std::string::npos) << key;
    }
    EXPECT_GT(fontBoxes, 0) << "the font boxes' hints and labels stay";
}

TEST_F(DutchTest, EveryWindowShowsDutchWhereDutchDiffers)
{
    TKAppLanguage::Instance().SetLanguage("Nederlands");
    TkLangFileEdit native;
    native.LoadFromBytes(ReadWholeFile(VX_NATIVE_LNG));
    // What the windows show, collected into the keys of the native file.
    TkLangFileEdit shown;
    shown.LoadFromBytes(ReadWholeFile(VX_NATIVE_LNG));
    TLangWindowRegistry registry;
    vx::shell::RegisterLanguageWindows(registry);
    for (const auto& [name, make] : registry.Windows()) {
        std::unique_ptr<QWidget> window = make();
        auto* lang = window->findChild<TKMLang*>(QString(), Qt::FindDirectChildrenOnly);
        ASSERT_NE(lang, nullptr) << name << " has no language component: a language switch misses it";
        EXPECT_THROW(lang->CollectInto(shown), EKMLangError) << "collecting in another language adds nothing";
    }
    const auto before = TextsOf(native);
    const auto after = TextsOf(shown);
    std::set<std::string> kept;
    std::string english;
    for (const auto& [key, text] : before) {
        const auto found = after.find(key);
        ASSERT_NE(found, after.end()) << key;
        const std::vector<std::string> was = Lines(text), is = Lines(found->second);
        ASSERT_EQ(was.size(), is.size()) << key;
        for (std::size_t i = 0; i < was.size(); ++i) {
            if (was[i] != is[i] || !HasTranslatableChars(was[i]))
                continue;
            if (SameInDutch().count(was[i]))
                kept.insert(was[i]);
            else
                english += "  " + key + ": " + was[i] + "\n";
        }
    }
    EXPECT_TRUE(english.empty()) << "texts the windows still show in English:\n" << english;
    for (const std::string& same : SameInDutch())
        EXPECT_TRUE(kept.count(same)) << "\"" << same << "\" is listed as the same in Dutch but no window shows it";
}

TEST_F(DutchTest, SwitchingChangesEveryOpenWindowAndBack)
{
    StartAndActivate();
    form->show();
    auto* save = form->findChild<QAction*>("Save1");
    auto* fileMenu = form->findChild<QMenu*>("File1");
    ASSERT_TRUE(save && fileMenu);
    const vx::TFormatSettings builtIn = vx::FormatSettings();
    frm_search->show();

    TSpeedItem* newFile = form->SpeedBar1->FindItemByName("SpeedButton1");
    ASSERT_NE(newFile, nullptr);

    vx::test::PickMenuCommand(*form, "Nederlands1");
    EXPECT_EQ(save->text(), "Opslaan");
    EXPECT_EQ(newFile->Hint(), "Nieuw bestand") << "the button's tooltip";
    EXPECT_EQ(fileMenu->title(), "Bestand");
    EXPECT_EQ(form->StatusBar1->PanelText(3), " IP-adres");
    EXPECT_EQ(frm_pref->windowTitle(), "Voorkeuren");
    EXPECT_EQ(frm_search->windowTitle(), "Zoeken");
    EXPECT_EQ(frm_pref->ComboBox1->itemText(0), "Engels");
    EXPECT_EQ(vx::FormatSettings().DecimalSeparator, ',') << "Dutch numbers";
    EXPECT_EQ(vx::FormatSettings().LongMonthNames[2], "maart");

    vx::test::PickMenuCommand(*form, "English1");
    EXPECT_EQ(save->text(), "Save");
    EXPECT_EQ(newFile->Hint(), "New file");
    EXPECT_EQ(fileMenu->title(), "File");
    EXPECT_EQ(frm_pref->windowTitle(), "Preferences");
    EXPECT_EQ(frm_search->windowTitle(), "Search");
    EXPECT_EQ(vx::FormatSettings(), builtIn);
    frm_search->hide();
}

TEST_F(DutchTest, ALanguageSwitchLeavesWhatTheUserWroteAlone)
{
    StartAndActivate();
    TFrm_aspb beautifier(nullptr);
    beautifier.show();
    // The preferences' macros and the beautifier's word lists are the user's own.
    const std::pair<QWidget*, const char*> memos[] = {{frm_pref, "Memo1"}, {&beautifier, "indent2"}};
    for (const auto& [window, name] : memos) {
        auto* memo = window->findChild<QPlainTextEdit*>(name);
        ASSERT_NE(memo, nullptr) << name;
        memo->setPlainText("!mine\n=my own text");
    }
    const std::pair<const char*, const char*> switches[] = {{"Nederlands1", "Broncode opmaken"},
                                                           {"English1", "Source beautify"}};
    form->show();
    for (const auto& [language, title] : switches) {
        vx::test::PickMenuCommand(*form, language);
        EXPECT_EQ(beautifier.windowTitle(), title) << "the window itself follows the language";
        for (const auto& [window, name] : memos)
            EXPECT_EQ(window->findChild<QPlainTextEdit*>(name)->toPlainText(), "!mine\n=my own text")
                << name << " after " << language;
    }
}

TEST_F(DutchTest, TheStartLanguageChosenInThePreferencesComesBackAfterARestart)
{
    StartAndActivate();
    EXPECT_TRUE(TKAppLanguage::Instance().IsNativeCurrent());
    frm_pref->show();
    frm_pref->ComboBox1->setCurrentIndex(1);
    QTest::mouseClick(frm_pref->findChild<QPushButton*>("Button2"), Qt::LeftButton);

    // A new process starts in the built-in language.
    form.reset();
    TKAppLanguage::Instance().SetLanguage("Native");
    TRegistry::ResetStoreForTests();
    StartAndActivate();
    EXPECT_EQ(TKAppLanguage::Instance().CurrentLanguage(), "Nederlands");
    EXPECT_EQ(form->findChild<QAction*>("Save1")->text(), "Opslaan");
    EXPECT_EQ(frm_pref->windowTitle(), "Voorkeuren");
    EXPECT_EQ(frm_pref->ComboBox1->currentIndex(), 1);
}

TEST_F(DutchTest, ADocumentsTabKeepsItsCaptionInEveryLanguage)
{
    const std::string page = WriteDoc("page.asp", "page\r\n");
    const std::string kept = WriteDoc("kept.asp", "kept\r\n");
    StartAndActivate({page});
    form->show();
    form->OpenDocumentInFreeSlot(kept, true);
    Focus(form->SlotEditor(3));
    QTest::keyClicks(form->SlotEditor(3), "typed, no file");
    std::vector<QString> captions;
    for (int i = 0; i < form->PageControl1->count(); ++i)
        captions.push_back(form->PageControl1->tabText(i));
    ASSERT_GT(captions.size(), 5u) << "the workspaces too";
    EXPECT_EQ(captions[0], "page.asp");
    for (const char* language : {"Nederlands1", "English1", "Nederlands1"}) {
        vx::test::PickMenuCommand(*form, language);
        for (int i = 0; i < form->PageControl1->count(); ++i)
            EXPECT_EQ(form->PageControl1->tabText(i), captions[static_cast<std::size_t>(i)])
                << "tab " << i << " after " << language;
    }
    EXPECT_EQ(Text(form->SlotEditor(3)), "typed, no file\r\n");
}

} // namespace
} // namespace vx::test

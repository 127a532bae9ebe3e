#include "localisation/qt/KLangTool.h"
#include "localisation/qt/KMLang.h"
#include "platform/FileIO.h"
#include "platform/ProgramPaths.h"
#include "tests/localisation/TestWindow.h"
#include "tests/support/TempDir.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

using vx::test::TestWindow;

namespace {

TKAppLanguage& app()
{
    return TKAppLanguage::Instance();
}

// A language folder holding native.lng written by the tool from the test
// window, and helpers that make translations of it.
class KMLang : public ::testing::Test {
protected:
    void SetUp() override
    {
        registry.Register("Form1", vx::test::MakeTestWindow);
        report = WriteNativeLanguage(registry, dir.path().string(), "Base");
        app().SetLangDir(dir.path().string());
    }
    void TearDown() override
    {
        if (!app().IsNativeCurrent())
            app().SetLanguage("Native");
        app().SetLangDir("");
    }

    // Copies the base file to <name>.lng with the given texts replaced
    // (keys of Form1); an empty text deletes the key.
    void makeLanguage(const std::string& name, const std::vector<std::pair<std::string, std::string>>& texts,
                      std::uint16_t fontNo = 0)
    {
        TkLangFileEdit f;
        f.LoadFromBytes(vx::ReadWholeFile(dir.file("Base.lng")));
        if (fontNo)
            f.AddFont("Courier New", 14, 1);
        for (const auto& [key, text] : texts) {
            if (text.empty()) {
                f.DeleteString("Form1", key);
                continue;
            }
            ASSERT_TRUE(f.Props().Find("Form1", key)) << key;
            f.SetString(f.Props().CurrentIdent(), text, fontNo);
        }
        f.SaveAs(dir.file(name + ".lng"));
    }

    vx::test::TempDir dir;
    TLangWindowRegistry registry;
    TNativeFileReport report;
};

std::string text(const QString& s)
{
    return s.toStdString();
}

} // namespace

TEST_F(KMLang, ToolWritesTheBuiltInTextsOfEveryWindow)
{
    EXPECT_EQ(report.Windows, 1);
    TKLangFile native;
    native.SetFileName(dir.file("native.lng"));
    ASSERT_FALSE(native.IsEmpty());
    EXPECT_TRUE(native.HasFlag(lfNative));
    EXPECT_TRUE(native.HasLocale());
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Caption", "Main window"},
        {"Button1.Caption", "&Open"},
        {"Button1.Hint", "Open a file"},
        {"Label1.Caption", "Name:"},
        {"ComboBox1.Items", "Red\r\nGreen\r\nBlue\r\n"},
        {"Memo1.Lines", "line one\r\nline two\r\n"},
        {"ListView1.Columns.Item0.Caption", "File"},
        {"ListView1.Columns.Item1.Caption", "Size"},
        {"ListView1.Items.Item0.Caption", "first"},
        {"ListView1.Items.Item1.Caption", "second"},
        {"Save1.Caption", "&Save"},
        {"GroupBox1.Caption", "Options"},
        {"Button2.Caption", "Apply"},
    };
    for (const auto& [key, value] : expected) {
        TKLangStr* s = native.FindString("Form1", key);
        ASSERT_NE(s, nullptr) << key;
        EXPECT_EQ(s->Text(), value) << key;
    }
    EXPECT_EQ(report.Texts, static_cast<int>(expected.size()));
    EXPECT_EQ(native.FindString("Form1", "Edit1.Text"), nullptr) << "no translatable character";
    EXPECT_EQ(native.FindString("Form1", "Save1.Hint"), nullptr) << "empty texts are not stored";
    EXPECT_GE(native.FindString("Form1", "Button1.Caption")->FontNo(), 1) << "each text carries its font";
    EXPECT_EQ(native.FindString("Form1", "Save1.Caption")->FontNo(), 0) << "an action has no font";

    TKLangFile base;
    base.SetFileName(dir.file("Base.lng"));
    EXPECT_FALSE(base.HasFlag(lfNative));
    EXPECT_EQ(base.StringCount(), native.StringCount());

    EXPECT_THROW(WriteNativeLanguage(registry, dir.path().string(), "Base"), EKMLangError)
        << "a translation in progress is never overwritten";
}

TEST_F(KMLang, SwitchingTranslatesEveryWindowAndNativeRestores)
{
    makeLanguage("Nederlands", {{"Caption", "Hoofdvenster"},
                                {"Button1.Caption", "&Openen"},
                                {"Button1.Hint", "Een bestand openen"},
                                {"ComboBox1.Items", "Rood\r\nGroen\r\nBlauw\r\n"},
                                {"Memo1.Lines", "regel een\r\nregel twee\r\nregel drie"},
                                {"ListView1.Columns.Item0.Caption", "Bestand"},
                                {"ListView1.Items.Item1.Caption", "tweede"},
                                {"Save1.Caption", "Op&slaan"},
                                {"Button2.Caption", "Toepassen"}});
    TestWindow w;
    TestWindow second("Form1_2");
    std::vector<std::string> events;
    w.Lang->BeforeTrans = [&](const std::string& lang) { events.push_back("before " + lang); };
    w.Lang->AfterTrans = [&](const std::string& lang) { events.push_back("after " + lang); };

    app().SetLanguage("nederlands");
    EXPECT_EQ(app().CurrentLanguage(), "nederlands");
    EXPECT_EQ(app().PreviousLanguage(), "Native");
    EXPECT_EQ(w.Lang->LangFileName(), "nederlands");
    EXPECT_EQ(text(w.windowTitle()), "Hoofdvenster");
    EXPECT_EQ(text(w.Button1->text()), "&Openen");
    EXPECT_EQ(text(w.Button1->toolTip()), "Een bestand openen");
    EXPECT_EQ(text(w.ComboBox1->itemText(0)), "Rood");
    EXPECT_EQ(w.ComboBox1->currentIndex(), 1) << "the selected item stays selected";
    EXPECT_EQ(text(w.Memo1->toPlainText()), "regel een\nregel twee\nregel drie");
    EXPECT_EQ(text(w.ListView1->headerItem()->text(0)), "Bestand");
    EXPECT_EQ(text(w.ListView1->topLevelItem(1)->text(0)), "tweede");
    EXPECT_EQ(text(w.Save1->text()), "Op&slaan");
    EXPECT_EQ(text(w.Button2->text()), "Toepassen") << "nested components are found by name";
    EXPECT_EQ(text(w.Label1->text()), "Name:") << "untranslated texts stay";
    EXPECT_EQ(text(second.Button1->text()), "&Openen") << "a second instance finds its texts by OwnerName";
    EXPECT_EQ(events, (std::vector<std::string>{"before nederlands", "after nederlands"}));

    app().SetLanguage("Native");
    EXPECT_EQ(text(w.windowTitle()), "Main window");
    EXPECT_EQ(text(w.Button1->text()), "&Open");
    EXPECT_EQ(text(w.Button1->toolTip()), "Open a file");
    EXPECT_EQ(text(w.ComboBox1->itemText(2)), "Blue");
    EXPECT_EQ(w.ComboBox1->currentIndex(), 1);
    EXPECT_EQ(text(w.Memo1->toPlainText()), "line one\nline two");
    EXPECT_EQ(text(w.ListView1->headerItem()->text(0)), "File");
    EXPECT_EQ(text(w.Save1->text()), "&Save");
    EXPECT_EQ(text(second.Button2->text()), "Apply");

    app().SetLanguage("native");
    EXPECT_EQ(events.size(), 6u) << "switching to native again translates again";

    app().SetLanguage("Nederlands");
    TestWindow afterSwitch;
    EXPECT_EQ(text(afterSwitch.Button1->text()), "&Openen") << "a window is translated when it is built";
}

TEST_F(KMLang, KeysMissingFromTheNewLanguageShowBuiltInTexts)
{
    makeLanguage("First", {{"Button1.Caption", "Eins"}, {"Label1.Caption", "Name 1:"}, {"Memo1.Lines", ""}});
    makeLanguage("Second", {{"Button1.Caption", ""}, {"Label1.Caption", "Name 2:"}, {"Memo1.Lines", ""}});
    TestWindow w;
    app().SetLanguage("First");
    EXPECT_EQ(text(w.Button1->text()), "Eins");
    w.Memo1->setPlainText("typed by the user");
    app().SetLanguage("Second");
    EXPECT_EQ(text(w.Button1->text()), "&Open") << "not the previous language's text";
    EXPECT_EQ(text(w.Label1->text()), "Name 2:");
    EXPECT_EQ(text(w.Memo1->toPlainText()), "typed by the user") << "texts no language touched stay as they are";
}

TEST_F(KMLang, FailedSwitchKeepsThePreviousLanguage)
{
    makeLanguage("Good", {{"Button1.Caption", "Gut"}});
    vx::test::writeFile(dir.file("Bad.lng"), "MZ not a language file");
    std::string damaged = vx::ReadWholeFile(dir.file("Good.lng"));
    damaged.resize(damaged.size() / 2);
    vx::test::writeFile(dir.file("Damaged.lng"), damaged);
    TestWindow w;
    app().SetLanguage("Good");

    try {
        app().SetLanguage("Bad");
        FAIL();
    } catch (const ELangFileError& e) {
        EXPECT_STREQ(e.what(), "Not a language file or old version (1.1)");
    }
    EXPECT_THROW(app().SetLanguage("Damaged"), ELangFileError);
    try {
        app().SetLanguage("Klingon");
        FAIL();
    } catch (const EKMLangError& e) {
        EXPECT_EQ(std::string(e.what()), "No such language file \"" + dir.file("Klingon.lng") + "\"");
    }
    EXPECT_EQ(app().CurrentLanguage(), "Good");
    EXPECT_EQ(text(w.Button1->text()), "Gut");
    ASSERT_NE(app().CurrentFile().FindString("Form1", "Button1.Caption"), nullptr);
}

TEST_F(KMLang, ScanRulesFilterProperties)
{
    makeLanguage("Rules", {{"Button1.Caption", "B1"}, {"Button1.Hint", "H1"}, {"Label1.Caption", "L1"},
                           {"Button2.Caption", "B2"}});
    TestWindow w;
    TStringList local;
    local.SetText("-TLabel\n-Button1.Hint");
    w.Lang->SetLocalRules(local);
    app().SetLanguage("Rules");
    EXPECT_EQ(text(w.Label1->text()), "Name:");
    EXPECT_EQ(text(w.Button1->toolTip()), "Open a file");
    EXPECT_EQ(text(w.Button1->text()), "B1");
    EXPECT_EQ(text(w.Button2->text()), "B2");

    local.SetText("+TButton.Caption\n-TButton.Caption");
    w.Lang->SetLocalRules(local);
    EXPECT_FALSE(w.Lang->PropAllowed("TButton", "Button1", "Caption"));
    EXPECT_TRUE(w.Lang->PropAllowed("TLabel", "Label1", "caption"));
    EXPECT_FALSE(w.Lang->PropAllowed("TLabel", "Label1", "Tag")) << "only listed properties";
    local.SetText("+TButton.Tag\n-Memo1");
    w.Lang->SetLocalRules(local);
    EXPECT_TRUE(w.Lang->PropAllowed("tbutton", "Button1", "Tag"));
    EXPECT_FALSE(w.Lang->PropAllowed("TStrings", "Memo1", "Lines"));
    EXPECT_EQ(w.Lang->EffectiveRules().front(), "-memo1") << "local rules first, last to first, lower-cased";
    EXPECT_EQ(w.Lang->EffectiveRules().back(), "+caption");
}

TEST_F(KMLang, LanguageFontsApplyAndGoBack)
{
    makeLanguage("Fonts", {{"Button1.Caption", "Big"}}, 1);
    TestWindow w;
    const QFont designed = w.Button1->font();
    app().SetLanguage("Fonts");
    // The new font is the last of the base file's fonts plus one.
    TKLangFile& file = app().CurrentFile();
    const int fontNo = file.FindString("Form1", "Button1.Caption")->FontNo();
    ASSERT_GT(fontNo, 0);
    EXPECT_EQ(text(w.Button1->font().family()), file.FontAt(fontNo - 1).Name);
    EXPECT_EQ(w.Button1->font().pointSize(), file.FontAt(fontNo - 1).Size);
    app().SetLanguage("Native");
    EXPECT_EQ(w.Button1->font(), designed);
}

TEST_F(KMLang, LocaleFollowsTheLanguage)
{
    TkLangFileEdit f;
    f.LoadFromBytes(vx::ReadWholeFile(dir.file("Base.lng")));
    const vx::TFormatSettings builtIn = vx::FormatSettings();
    vx::FormatSettings().ShortDateFormat = "d-M-yyyy";
    vx::FormatSettings().DecimalSeparator = ',';
    f.CaptureLocale();
    vx::FormatSettings() = builtIn;
    f.SetBiDiMode(1);
    f.SaveAs(dir.file("Locale.lng"));
    TestWindow w;
    app().SetLanguage("Locale");
    EXPECT_EQ(vx::FormatSettings().ShortDateFormat, "d-M-yyyy");
    EXPECT_EQ(w.Button1->layoutDirection(), Qt::RightToLeft);
    std::remove(dir.file("native.lng").c_str());
    app().SetLanguage("Native");
    EXPECT_EQ(vx::FormatSettings(), builtIn) << "a language without a locale gives back the built-in one";
    EXPECT_EQ(w.Button1->layoutDirection(), Qt::LeftToRight);
}

TEST_F(KMLang, LanguageFilesAreFoundWhateverTheirCase)
{
    vx::test::writeFile(dir.file("Portugu\xC3\xAAs.BR.LNG"), "");
    const std::string folder = app().EffectiveLangDir();
    EXPECT_EQ(folder, dir.path().string() + "/");
    EXPECT_EQ(LangFilePath("Native"), folder + "native.lng");
    EXPECT_EQ(LangFilePath("NATIVE.LNG"), folder + "native.lng");
    EXPECT_EQ(LangFilePath("Portugu\xC3\xAAs.BR"), folder + "Portugu\xC3\xAAs.BR.LNG");
    EXPECT_EQ(LangFilePath("x.Lng"), folder + "x.Lng") << "no second extension";
    app().RebuildLanguageList();
    EXPECT_EQ(app().Languages().CommaText(), "Base,native,Portugu\xC3\xAAs.BR");

    app().SetLangDir("languages");
    EXPECT_EQ(app().EffectiveLangDir(), vx::ProgramFolder() + "/languages/") << "relative to the program folder";
    EXPECT_EQ(app().Languages().Count(), 0);
}

TEST_F(KMLang, StoredLanguagesTravelAsData)
{
    makeLanguage("Inside", {{"Button1.Caption", "Innen"}});
    TStringList names;
    names.SetText("  Inside \n\n");
    app().SetStoredLanguages(names);
    const std::string data = app().StoredLangsData();
    std::remove(dir.file("Inside.lng").c_str());
    app().SetStoredLangsData(data);
    EXPECT_EQ(app().Languages()[0], "Inside") << "stored languages come first";
    TestWindow w;
    app().SetLanguage("INSIDE");
    EXPECT_EQ(text(w.Button1->text()), "Innen") << "read from the stored data, not the folder";

    names.SetText("Missing");
    try {
        app().SetStoredLanguages(names);
        FAIL();
    } catch (const EKMLangError& e) {
        EXPECT_EQ(std::string(e.what()), "No such language file \"" + dir.file("Missing.lng") + "\"");
    }
    EXPECT_EQ(app().StoredLanguages().Count(), 1) << "nothing changed";
    EXPECT_THROW(app().SetStoredLangsData(data.substr(0, data.size() - 1)), EKMLangError);
    EXPECT_THROW(app().SetStoredLangsData(std::string("\x05\0\0\0", 4)), EKMLangError);
    app().SetStoredLangsData(std::string(4, '\0'));
    EXPECT_EQ(app().StoredLanguages().Count(), 0);
}

TEST(KMLangText, TranslatableCharacters)
{
    EXPECT_FALSE(HasTranslatableChars(""));
    EXPECT_FALSE(HasTranslatableChars("12:30 - (5%) <=> [^]\\?;"));
    EXPECT_TRUE(HasTranslatableChars("1 a"));
    EXPECT_TRUE(HasTranslatableChars("@"));
    EXPECT_TRUE(HasTranslatableChars("\xC3\xA9"));
}

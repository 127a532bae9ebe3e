// The launchers: each result path with a fake dialog and a dialog host that
// answers with canned results instead of waiting for a user.
#include "tests/shell/ShellFixture.h"

#include "controls/flat/TFlatMemoUnit.h"
#include "images/qt/AnimatorForm.h"
#include "images/qt/GifOptimizerForm.h"
#include "internet/qt/EmailForm.h"
#include "internet/qt/IPWatch.h"
#include "internet/qt/LinkCheckForm.h"
#include "internet/qt/StructureForm.h"
#include "shell/qt/launch/LauncherTable.h"
#include "shell/qt/launch/Launchers.h"
#include "controls/speedbar/SpeedBar.h"
#include "tools/qt/framework/DisplayDialogs.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <set>

using vx::test::ShellTest;
using namespace vx::shell;

namespace {

// A dialog with the controls the launchers reach by name.
class FakeDialog : public QDialog {
public:
    explicit FakeDialog(QWidget* parent) : QDialog(parent)
    {
        for (const char* name : {"Memo1", "Memo2", "dump"})
            (new TFlatMemo(this))->setObjectName(name);
        (new QLineEdit(this))->setObjectName("Edit1");
        (new QPlainTextEdit(this))->setObjectName("memo1");
    }
    TFlatMemo* Memo(const char* name) { return dynamic_cast<TFlatMemo*>(findChild<QObject*>(name)); }
};

struct Canned {
    int result = QDialog::Accepted;
    std::vector<std::string> lines;
    std::string clipboard;
    bool setClipboard = false;
};

class LaunchTest : public ShellTest {
protected:
    void SetUp() override
    {
        StartAndActivate();
        editor = form->SlotEditor(1);
        Focus(editor);
        ASSERT_EQ(form->ActiveEditor(), editor);
        SetDialogHost([this](QDialog& dialog) {
            shown.push_back(&dialog);
            auto& fake = static_cast<FakeDialog&>(dialog);
            handedIn = {fake.Memo("dump")->Lines().Text(), fake.Memo("Memo2")->Lines().Text(),
                        fake.Memo("Memo1")->Lines().Text()};
            fake.Memo("Memo1")->Lines().Clear();
            for (const std::string& line : canned.lines)
                fake.Memo("Memo1")->Lines().Add(line);
            if (canned.setClipboard)
                QApplication::clipboard()->setText(QString::fromStdString(canned.clipboard));
            return canned.result;
        });
    }
    void TearDown() override { SetDialogHost({}); }

    // Runs the row of the class with the fake dialog in place of the real one.
    int Run(const char* dialogClass)
    {
        const TLauncherRow* row = FindLauncher(dialogClass);
        EXPECT_NE(row, nullptr) << dialogClass;
        TLauncherRow fake = *row;
        fake.Make = [](QWidget* parent) -> QDialog* { return new FakeDialog(parent); };
        return LaunchRow(*form, fake);
    }
    void SetDoc(const std::string& text) { editor->Model().SetText(text); }
    void Select(int line, int from, int to)
    {
        editor->Model().SetCaretXY(Point(to, line));
        editor->Model().SetBlockBegin(Point(from, line));
        editor->Model().SetBlockEnd(Point(to, line));
    }

    TmwCustomEdit* editor = nullptr;
    Canned canned;
    std::vector<QDialog*> shown;
    std::vector<std::string> handedIn;
};

} // namespace

TEST_F(LaunchTest, EveryRowNamesOneDialogClassOnce)
{
    std::set<std::string> seen;
    for (const TLauncherRow& row : LauncherTable())
        EXPECT_TRUE(seen.insert(row.DialogClass).second) << row.DialogClass;
    EXPECT_EQ(seen.size(), 63u);
    EXPECT_TRUE(LauncherAvailable("Tfrm_docinfo"));
    EXPECT_FALSE(LauncherAvailable("Tfrm_no_such_dialog"));
}

TEST_F(LaunchTest, LinesAreAppendedBelowTheLastLineWhateverTheCaret)
{
    struct Case {
        const char* doc;
        std::vector<std::string> lines;
        const char* expected;
    };
    const Case cases[] = {
        {"top\r\nbottom", {"<meta a>", "", "<meta b>"}, "top\r\nbottom\r\n<meta a>\r\n\r\n<meta b>\r\n"},
        {"", {"<meta a>"}, "\r\n<meta a>\r\n"},
        {"keep", {}, "keep\r\n"},
    };
    for (const Case& c : cases) {
        SetDoc(c.doc);
        editor->Model().SetCaretXY(Point(1, 1));
        canned.lines = c.lines;
        Run("Tfrm_meta");
        EXPECT_EQ(Text(editor), c.expected) << c.doc;
    }
}

TEST_F(LaunchTest, CookieWizardPutsAnEmptyLineBeforeItsBlock)
{
    SetDoc("x");
    canned.lines = {"<% Response.Cookies %>"};
    Run("Tfrm_cookie");
    EXPECT_EQ(Text(editor), "x\r\n\r\n<% Response.Cookies %>\r\n");
}

TEST_F(LaunchTest, FirstLineReplacesTheSelectionAndNothingWhenEmpty)
{
    SetDoc("");
    canned.lines = {"<marquee>", "second"};
    Run("Tfrm_marquee");
    EXPECT_EQ(Text(editor), "<marquee>\r\n");

    SetDoc("abc");
    Select(1, 2, 3);
    canned = Canned{QDialog::Rejected, {}, {}, false};
    Run("Tfrm_marquee");
    EXPECT_EQ(Text(editor), "abc\r\n") << "a cancelled dialog inserts nothing";
}

TEST_F(LaunchTest, WrapPathsFollowTheirConditions)
{
    struct Case {
        const char* dialogClass;
        std::vector<std::string> lines;
        const char* expected;
    };
    const Case cases[] = {
        // The sound wizard wraps the whole memo, also when it is empty.
        {"Tfrm_sound", {}, "ab\r\n"},
        {"Tfrm_sound", {"<bgsound>"}, "a<bgsound>\r\nb\r\n"},
        {"Tfrm_mailto", {}, "ab\r\n"},
        {"Tfrm_mailto", {"<a>", "</a>"}, "a<a>\r\n</a>\r\nb\r\n"},
        {"Tfrm_font", {"<font face=\"x\"></font>", "ignored"}, "a<font face=\"x\"></font>b\r\n"},
        {"Tfrm_fontcolor", {}, "ab\r\n"},
    };
    for (const Case& c : cases) {
        SetDoc("ab");
        editor->Model().SetCaretXY(Point(2, 1));
        canned.lines = c.lines;
        Run(c.dialogClass);
        EXPECT_EQ(Text(editor), c.expected) << c.dialogClass << " with " << c.lines.size() << " lines";
    }
    SetDoc("ab");
    editor->Model().SetCaretXY(Point(2, 1));
    canned.lines = {"<font face=\"x\"></font>"};
    Run("Tfrm_font");
    EXPECT_EQ(editor->Model().CaretX(), 17) << "the caret stands before the closing tag";
}

TEST_F(LaunchTest, ClipboardIsPastedOnlyOnAccept)
{
    SetDoc("");
    canned = {QDialog::Rejected, {}, "<!--#include file=\"a.inc\"-->", true};
    Run("Tfrm_incwizard");
    EXPECT_EQ(Text(editor), "\r\n");
    canned.result = QDialog::Accepted;
    Run("Tfrm_incwizard");
    EXPECT_EQ(Text(editor), "<!--#include file=\"a.inc\"-->\r\n");
}

TEST_F(LaunchTest, MakeFunctionTakesTheSelectionOutOnlyWhenAccepted)
{
    SetDoc("before SELECTED after");
    Select(1, 8, 16);
    canned = Canned{QDialog::Rejected, {}, {}, false};
    Run("Tfrm_makefunction");
    EXPECT_EQ(handedIn[0], "SELECTED\r\n") << "the dump memo received the selection";
    EXPECT_EQ(Text(editor), "before SELECTED after\r\n") << "cancel changes nothing";

    canned = Canned{QDialog::Accepted, {"Function f()", "End Function"}, {}, false};
    Run("Tfrm_makefunction");
    EXPECT_EQ(Text(editor), "before Function f()\r\nEnd Function after\r\n");
}

TEST_F(LaunchTest, PerlConversionsHandTheSelectionToMemo2)
{
    for (const char* dialogClass : {"Tfrm_makeperl", "Tfrm_make_perl"}) {
        SetDoc("x <b>y</b> z");
        Select(1, 3, 11);
        canned = Canned{QDialog::Accepted, {"print \"<b>y</b>\";"}, {}, false};
        Run(dialogClass);
        EXPECT_EQ(handedIn[1], "<b>y</b>\r\n") << dialogClass;
        EXPECT_EQ(Text(editor), "x print \"<b>y</b>\"; z\r\n") << dialogClass;
    }
}

TEST_F(LaunchTest, SnippetWithoutSelectionShowsNothing)
{
    SetDoc("abc");
    Run("Tfrm_makesnippet");
    EXPECT_TRUE(shown.empty());
    Select(1, 1, 3);
    Run("Tfrm_makesnippet");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(handedIn[2], "ab\r\n");
}

TEST_F(LaunchTest, BeautifyRewritesTheFocusedSlotInMemoryOnly)
{
    const std::string file = WriteDoc("page.asp", "<%\r\nif a then\r\nb\r\nend if\r\n%>\r\n");
    form->OpenDocumentInFreeSlot(file, false);
    TmwCustomEdit* slot = form->SlotEditor(1);
    Focus(slot);
    // The host stands for the beautifier: it indents the text it was handed.
    SetDialogHost([](QDialog& dialog) {
        auto* memo = dialog.findChild<QPlainTextEdit*>("memo1");
        memo->setPlainText(memo->toPlainText().replace("\nb", "\n   b"));
        return int(QDialog::Accepted);
    });
    Run("TFrm_aspb");
    EXPECT_EQ(Text(slot), "<%\r\nif a then\r\n   b\r\nend if\r\n%>\r\n");
    EXPECT_EQ(vx::test::readFile(file), "<%\r\nif a then\r\nb\r\nend if\r\n%>\r\n") << "nothing is written to disk";
    slot->Model().Undo();
    EXPECT_EQ(Text(slot), "<%\r\nif a then\r\nb\r\nend if\r\n%>\r\n") << "the change can be undone";
}

TEST_F(LaunchTest, BeautifyWithAWorkspaceFocusedDoesNothing)
{
    ASSERT_FALSE(form->Workspaces().empty()) << "the default preferences create workspaces";
    TmwCustomEdit* workspace = form->Workspaces().front();
    workspace->Model().SetText("x");
    form->PageControl1->setCurrentIndex(TForm1::SlotCount);
    Focus(workspace);
    Run("TFrm_aspb");
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(Text(workspace), "x\r\n");
}

TEST_F(LaunchTest, UsedTagsAreListedInDocumentOrderFromTheUnsavedText)
{
    SetDialogHost([this](QDialog& dialog) {
        auto& tags = static_cast<Tfrm_tagsused&>(dialog);
        handedIn = {tags.memo1->Lines().Text()};
        return int(QDialog::Accepted);
    });
    SetDoc("<HTML><body>\r\n<b>x</b><!-- c -->\r\n</body>");
    RunLauncher(*form, "Tfrm_tagsused");
    ASSERT_EQ(handedIn.size(), 1u);
    EXPECT_EQ(handedIn[0], "<HTML>\r\n<BODY>\r\n<B>\r\n</B>\r\n<!-->\r\n</BODY>\r\n");
    EXPECT_TRUE(form->SlotFileName(1).empty()) << "nothing was saved";
}

namespace {

std::vector<std::pair<std::string, std::string>> Rows(const QTreeWidget& list)
{
    std::vector<std::pair<std::string, std::string>> rows;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        rows.emplace_back(list.topLevelItem(i)->text(0).toStdString(), list.topLevelItem(i)->text(1).toStdString());
    return rows;
}

} // namespace

TEST_F(LaunchTest, DocumentInformationForANamedAndAnUnnamedSlot)
{
    std::vector<std::pair<std::string, std::string>> rows;
    SetDialogHost([&rows](QDialog& dialog) {
        rows = Rows(*static_cast<Tfrm_docinfo&>(dialog).ListView1);
        return int(QDialog::Accepted);
    });
    const std::string file = WriteDoc("Page.HTM", "<title>Home</title>\r\nab\r\n");
    form->OpenDocumentInFreeSlot(file, false);
    Focus(form->SlotEditor(1));
    form->SlotEditor(1)->Model().Lines().Add("cde");
    RunLauncher(*form, "Tfrm_docinfo");
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0], std::make_pair(std::string("Document name"), std::string("Page.HTM")));
    EXPECT_EQ(rows[1].second, file) << "the name keeps its case";
    EXPECT_EQ(rows[2].second, "Home");
    EXPECT_EQ(rows[3].second, "25") << "the size of the saved file";
    EXPECT_EQ(rows[5], std::make_pair(std::string(), std::string()));
    EXPECT_EQ(rows[6], std::make_pair(std::string("Lines in document"), std::string("3")));
    EXPECT_EQ(rows[7], std::make_pair(std::string("Characters in document"), std::string("24")));

    Focus(form->SlotEditor(2));
    form->SlotEditor(2)->Model().SetText("<title>Draft</title>");
    RunLauncher(*form, "Tfrm_docinfo");
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0].second, "");
    EXPECT_EQ(rows[2].second, "") << "an unnamed slot has no title";
    EXPECT_EQ(rows[3].second, "");
    EXPECT_FALSE(rows[4].second.empty()) << "the current time";
    EXPECT_EQ(rows[6].second, "1");
}

TEST_F(LaunchTest, BoundCommandsAreEnabledOnlyForBuiltDialogs)
{
    auto* built = new QAction("Show document information", form.get());
    built->setProperty(LauncherProperty, "Tfrm_docinfo");
    built->setProperty(TForm1::BeginnerTag, 1);
    // A class no row builds, so the test does not age as dialogs get built.
    auto* missing = new QAction("Not built", form.get());
    missing->setProperty(LauncherProperty, "Tfrm_notbuilt");
    missing->setProperty(TForm1::BeginnerTag, 1);
    missing->setEnabled(true);
    BindLaunchers(*form);
    EXPECT_TRUE(built->isEnabled());
    EXPECT_FALSE(missing->isEnabled());

    form->AdvancedNovice1Click();
    form->AdvancedNovice1Click();
    EXPECT_FALSE(missing->isEnabled()) << "beginner mode leaves a missing dialog's command disabled";

    std::vector<std::pair<std::string, std::string>> rows;
    SetDialogHost([&rows](QDialog& dialog) {
        rows = Rows(*static_cast<Tfrm_docinfo&>(dialog).ListView1);
        return int(QDialog::Accepted);
    });
    built->trigger();
    EXPECT_EQ(rows.size(), 8u) << "the command ran its launcher";
}

TEST_F(LaunchTest, SpeedItemsAndButtonsBindLikeMenuItems)
{
    const int section = form->SpeedBar1->AppendSection("Wizards");
    auto* built = new TSpeedItem(form.get());
    form->SpeedBar1->AddItem(section, built);
    built->setProperty(LauncherProperty, "Tfrm_docinfo");
    auto* missing = new TSpeedItem(form.get());
    form->SpeedBar1->AddItem(section, missing);
    missing->setProperty(LauncherProperty, "Tfrm_notbuilt");
    auto* button = new QPushButton("Info", form.get());
    button->setProperty(LauncherProperty, "Tfrm_docinfo");
    BindLaunchers(*form);
    EXPECT_TRUE(built->Enabled());
    EXPECT_FALSE(missing->Enabled());
    EXPECT_TRUE(button->isEnabled());

    int shown = 0;
    SetDialogHost([&shown](QDialog&) {
        ++shown;
        return int(QDialog::Accepted);
    });
    built->ButtonClick();
    button->click();
    EXPECT_EQ(shown, 2);
}

TEST_F(LaunchTest, TheInternetToolsAreHandedTheFocusedDocument)
{
    SetDoc("line one\r\nline two");
    std::vector<std::string> mailed;
    std::vector<vx::TTextEncoding> mailedAs;
    std::string checked, parsed;
    SetDialogHost([&](QDialog& dialog) {
        if (auto* mail = dynamic_cast<Tfrm_email*>(&dialog)) {
            for (int i = 0; i < mail->SakMsg1().Text().Count(); ++i)
                mailed.push_back(mail->SakMsg1().Text()[i]);
            mailedAs.push_back(mail->SakMsg1().TextEncoding);
        }
        if (auto* links = dynamic_cast<TfrmLinkChecking*>(&dialog))
            checked = links->edtHTML->text().toStdString();
        if (auto* structure = dynamic_cast<TfrmHTMLParsing*>(&dialog))
            parsed = structure->edtHTML->text().toStdString();
        return int(QDialog::Rejected);
    });
    for (const char* dialogClass : {"Tfrm_email", "TfrmLinkChecking", "TfrmHTMLParsing", "Tf_ftp", "Tfrm_update", "Tfrm_openurl"})
        EXPECT_TRUE(LauncherAvailable(dialogClass)) << dialogClass;
    RunLauncher(*form, "Tfrm_email");
    EXPECT_EQ(mailed, (std::vector<std::string>{"line one", "line two"}));
    // The message goes in the character set of the document's file.
    editor->Model().SetEncoding(vx::TTextEncoding::Windows1252);
    RunLauncher(*form, "Tfrm_email");
    editor->Model().SetEncoding(vx::TTextEncoding::Utf8);
    RunLauncher(*form, "Tfrm_email");
    EXPECT_EQ(mailedAs, (std::vector<vx::TTextEncoding>{vx::TTextEncoding::Utf8, vx::TTextEncoding::Windows1252,
                                                         vx::TTextEncoding::Utf8}));
    const std::string page = WriteDoc("page.htm", "<a href=x.htm>x</a>\r\n");
    OpenAndFocus(page);
    RunLauncher(*form, "TfrmLinkChecking");
    RunLauncher(*form, "TfrmHTMLParsing");
    EXPECT_EQ(checked, page);
    EXPECT_EQ(parsed, page);
}

TEST_F(LaunchTest, TheImageToolsOpenFromTheirCommands)
{
    std::vector<std::string> opened;
    SetDialogHost([&](QDialog& dialog) {
        if (dynamic_cast<TAnimatorForm*>(&dialog))
            opened.push_back("TAnimatorForm");
        if (dynamic_cast<Tfrm_gifoptimizer*>(&dialog))
            opened.push_back("Tfrm_gifoptimizer");
        return int(QDialog::Rejected);
    });
    RunLauncher(*form, "TAnimatorForm");
    RunLauncher(*form, "Tfrm_gifoptimizer");
    EXPECT_EQ(opened, (std::vector<std::string>{"TAnimatorForm", "Tfrm_gifoptimizer"}));
}

TEST_F(LaunchTest, TheStatusBarReadsTheMachinesAddressWatcher)
{
    auto* watcher = dynamic_cast<TIPWatch*>(form->ipwatcher);
    ASSERT_NE(watcher, nullptr);
    EXPECT_EQ(watcher->parent(), form.get()) << "the watcher lives as long as the window";
    EXPECT_EQ(form->ipwatcher->CurrentIP(), watcher->CurrentIP());
}

// Every way a command, a list, a dialog, a macro or a completion puts text
// into a document stored as Windows-1252, taken as the user takes it: text
// holding a character that code page lacks goes in not at all (the text, the
// caret, the selection and the undo list stay as they were) and the status
// bar names the character; the same way with a character the code page has
// puts it in, and Ctrl+S writes it as its byte.
#include "tests/controls/FlatTestSupport.h"
#include "tests/shell/MenuDriver.h"
#include "tests/shell/ShellFixture.h"
#include "tests/shell/TextFit.h"

#include "controls/flat/TFlatEditUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "editor/qt/mwCompletionProposal.h"
#include "platform/TextEncoding.h"
#include "platform/qt/QtText.h"
#include "shell/qt/mainwindow/StatusBar.h"
#include "shell/qt/windows/Snippets.h"
#include "tools/qt/PageGenerators.h"
#include "tools/qt/SourceBeautifierDialog.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

using vx::test::ShellTest;

namespace {

// A character and the plain name the macros, snippets and user tags that
// hold it go by.
struct Character {
    const char* text;
    const char* name;
};

const Character Unstorable{"\u03a9", "omega"};
const Character Storable{"\u00e9", "eacute"};

// The document as its Windows-1252 file holds it, and as the editor shows it.
const char* const PageBytes = "caf\xE9 end\r\n";
const char* const PageText = "caf\u00e9 end\r\n";

std::string RefusalMessage(const Character& character)
{
    return std::string("The text was not inserted: the file is stored as Windows-1252, which cannot hold the "
                       "character \"") +
           character.text + "\"";
}

std::size_t Occurrences(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

// Types the text into the widget key by key, each key carrying its character.
void TypeInto(QWidget& widget, const std::string& text)
{
    for (const QChar character : QString::fromStdString(text))
        vx::test::KeyPress(widget, Qt::Key_unknown, QString(character));
}

std::string Tagged(const Character& character)
{
    return std::string("<p>") + character.text + "</p>";
}

class RefusedInsertionTest;
using Step = std::function<void(RefusedInsertionTest&, const Character&)>;

struct InsertionPath {
    const char* what;
    // What the user does first, before the insertion; may be empty.
    Step prepare;
    Step insert;
};

class RefusedInsertionTest : public ShellTest {
public:
    using ShellTest::AnswerNext;
    using ShellTest::form;
    using ShellTest::userData;

    void SetUp() override
    {
        std::string macros;
        std::string userTags;
        std::string completions;
        for (const Character& character : {Unstorable, Storable}) {
            macros += std::string("!") + character.name + "\r\n=" + Tagged(character) + "\r\n";
            userTags += std::string("<ABBR TITLE=\"") + character.text + "\">:</ABBR>\r\n";
            completions += std::string(character.name) + character.text + "\r\n";
        }
        vx::test::writeFile(home.Data("macros.dat"), macros);
        vx::test::writeFile(home.Data("usertag.ae"), userTags);
        vx::test::writeFile(home.Data("codecomplete.ae"), completions);
        std::filesystem::create_directories(userData.File("snippets"));
        StartAndActivate();
        form->show();
    }

    void Pick(const char* command) { vx::test::PickMenuCommand(*form, command); }

    // Opens the menu command's generator, lets fill do the user's part and
    // presses the generator's first button.
    template <class D> void Generate(const char* command, std::function<void(D&)> fill)
    {
        AnswerNext<D>([fill](D& dialog) {
            fill(dialog);
            auto* ok = dynamic_cast<TFlatSpeedButton*>(dialog.template findChild<QObject*>("SpeedButton1"));
            ASSERT_NE(ok, nullptr);
            vx::test::Click(*ok, ok->rect().center());
        });
        Pick(command);
    }

    // A fresh Windows-1252 document in slot 1, focused, the caret after its
    // first word and blank.
    void OpenFresh()
    {
        if (!form->SlotFileName(1).empty()) {
            dialogs.Queue(mrYes);
            form->CloseAllfiles1Click();
        }
        vx::test::writeFile(path, PageBytes);
        form->OpenDocumentInFreeSlot(path, false);
        editor = form->SlotEditor(1);
        Focus(editor);
        ASSERT_EQ(editor->Model().Encoding(), vx::TTextEncoding::Windows1252);
        ASSERT_EQ(Text(editor), PageText);
        editor->Model().SetCaretXY(Point(7, 1));
    }

    void Save()
    {
        Focus(editor);
        QTest::keySequence(form.get(), QKeySequence("Ctrl+S"));
    }

    void SaveAndCompare(const char* what)
    {
        Save();
        EXPECT_FALSE(editor->Model().Modified()) << what;
        const std::optional<std::string> bytes = vx::EncodeDocument(Text(editor), vx::TTextEncoding::Windows1252);
        ASSERT_TRUE(bytes.has_value()) << what << ": " << Text(editor);
        EXPECT_EQ(vx::test::readFile(path), *bytes) << what << ": the file holds what the editor shows";
    }

    std::string Status() const { return form->StatusBar1->currentMessage().toStdString(); }

    const std::string path = docs.file("page.htm");
    TmwCustomEdit* editor = nullptr;
};

const std::vector<InsertionPath>& InsertionPaths()
{
    static const std::vector<InsertionPath> paths = {
        {.what = "a generator's lines",
         .insert = [](RefusedInsertionTest& t, const Character& c) {
             t.Generate<Tfrm_meta>("Metataggenerator1", [c](Tfrm_meta& meta) { TypeInto(*meta.Author, c.text); });
         }},
        {.what = "a generator's first line",
         .insert = [](RefusedInsertionTest& t, const Character& c) {
             t.Generate<Tfrm_marquee>("Marqueewizard1", [c](Tfrm_marquee& marquee) { TypeInto(*marquee.Edit1, c.text); });
         }},
        // No command appends a single text of the user's: the call itself.
        {.what = "a line appended",
         .insert = [](RefusedInsertionTest& t, const Character& c) { t.form->insert_item(Tagged(c), 1); }},
        {.what = "a remark asked for",
         .insert = [](RefusedInsertionTest& t, const Character& c) {
             t.AnswerNext<QInputDialog>([c](QInputDialog& box) {
                 auto* answer = box.findChild<QLineEdit*>();
                 ASSERT_NE(answer, nullptr);
                 answer->selectAll();
                 TypeInto(*answer, c.text);
                 QTest::keyClick(answer, Qt::Key_Return);
             });
             t.Pick("InsertHTMlRemark1");
         }},
        {.what = "a user tag pair",
         .insert = [](RefusedInsertionTest& t, const Character& c) {
             t.Pick("Showuserdefinedtags1");
             QListWidget& list = *t.form->usertags;
             const QList<QListWidgetItem*> found = list.findItems(QString::fromStdString(c.text), Qt::MatchContains);
             ASSERT_EQ(found.size(), 1) << c.name;
             const QRect row = list.visualItemRect(found.front());
             QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, row.center());
             QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, row.center());
         }},
        {.what = "a snippet",
         .insert = [](RefusedInsertionTest& t, const Character& c) {
             vx::test::writeFile(t.userData.File("snippets/snippets.dat"), std::string(c.name) + "\r\nmine.snp\r\n");
             vx::test::writeFile(t.userData.File("snippets/mine.snp"), Tagged(c) + "\r\n");
             t.AnswerNext<Tfrm_snippets>([](Tfrm_snippets& dialog) {
                 // The list is read as the window becomes active.
                 ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
                 vx::test::ClickRow(*dialog.ListBox1, 0);
                 vx::test::PressButton(dialog.Button1);
             });
             t.Pick("CodeSnippets1");
         }},
        {.what = "a macro",
         .prepare = [](RefusedInsertionTest& t, const Character& c) { QTest::keyClicks(t.editor, QString("!") + c.name); },
         .insert = [](RefusedInsertionTest& t, const Character&) {
             QTest::keyClick(t.editor, Qt::Key_Space, Qt::ShiftModifier);
         }},
        {.what = "a completion",
         .prepare = [](RefusedInsertionTest& t, const Character& c) { QTest::keyClicks(t.editor, c.name); },
         .insert = [](RefusedInsertionTest& t, const Character&) {
             QTest::keyClick(t.editor, Qt::Key_Space, Qt::ControlModifier);
             TCompletionProposalForm& popup = t.form->codec1->Form();
             ASSERT_TRUE(popup.isVisible());
             QTest::keyClick(&popup, Qt::Key_Return);
         }},
        {.what = "a beautified text",
         .insert = [](RefusedInsertionTest& t, const Character& c) {
             t.AnswerNext<TFrm_aspb>([c](TFrm_aspb& beautifier) {
                 beautifier.memo1->moveCursor(QTextCursor::End);
                 TypeInto(*beautifier.memo1, c.text);
                 auto* close = dynamic_cast<TFlatSpeedButton*>(beautifier.findChild<QObject*>("SpeedButton2"));
                 ASSERT_NE(close, nullptr);
                 vx::test::Click(*close, close->rect().center());
             });
             t.Pick("BeautifySource1");
         }},
    };
    return paths;
}

} // namespace

TEST_F(RefusedInsertionTest, TextACharacterOfWhichTheFileCannotHoldGoesInNotAtAllAndTheStatusBarSaysWhich)
{
    for (const InsertionPath& insertion : InsertionPaths()) {
        OpenFresh();
        if (insertion.prepare)
            insertion.prepare(*this, Unstorable);
        TmwCustomEditModel& model = editor->Model();
        const std::string before = Text(editor);
        const TPoint caret = model.CaretXY();
        const bool modified = model.Modified();
        const int records = model.UndoList().Count();
        form->StatusBar1->clearMessage();

        insertion.insert(*this, Unstorable);

        EXPECT_EQ(Text(editor), before) << insertion.what;
        EXPECT_EQ(model.CaretXY(), caret) << insertion.what;
        EXPECT_FALSE(model.SelAvail()) << insertion.what;
        EXPECT_EQ(model.UndoList().Count(), records) << insertion.what << ": no undo record";
        EXPECT_EQ(model.Modified(), modified) << insertion.what;
        EXPECT_EQ(Status(), RefusalMessage(Unstorable)) << insertion.what;
        SaveAndCompare(insertion.what);
    }
}

TEST_F(RefusedInsertionTest, TextOfCharactersTheFileHoldsGoesInAndIsSavedAsItsBytes)
{
    for (const InsertionPath& insertion : InsertionPaths()) {
        OpenFresh();
        if (insertion.prepare)
            insertion.prepare(*this, Storable);
        const std::string before = Text(editor);
        form->StatusBar1->clearMessage();

        insertion.insert(*this, Storable);

        EXPECT_GT(Occurrences(Text(editor), Storable.text), Occurrences(before, Storable.text))
            << insertion.what << ": " << Text(editor);
        EXPECT_TRUE(editor->Model().Modified()) << insertion.what;
        EXPECT_NE(Status().rfind("This file is stored as Windows-1252", 0), 0u) << insertion.what << ": " << Status();
        SaveAndCompare(insertion.what);
        EXPECT_GT(Occurrences(vx::test::readFile(path), "\xE9"), 1u) << insertion.what;
    }
}

// A workspace holds a Windows-1252 text when one was restored into it.
TEST_F(RefusedInsertionTest, AWorkspaceStoredAsWindows1252SaysWhichCharacterItRefuses)
{
    TmwCustomEdit* workspace = form->Workspaces()[0];
    form->PageControl1->setCurrentIndex(TForm1::SlotCount);
    workspace->Model().SetEncoding(vx::TTextEncoding::Windows1252);
    Focus(workspace);
    const std::string before = Text(workspace);
    // The clock, the date and the user name show in the status bar.
    form->Timer1Timer();
    for (const std::function<void()>& insert : std::initializer_list<std::function<void()>>{
             [&] { TypeInto(*workspace, Unstorable.text); }, [&] { form->insert_item(Tagged(Unstorable), 1); }}) {
        form->StatusBar1->clearMessage();
        insert();
        EXPECT_EQ(Text(workspace), before);
        EXPECT_EQ(Status(), RefusalMessage(Unstorable));
        const std::optional<vx::test::TTextRoom> refusal = vx::test::RoomOf(*form, vx::ToQString(Status()));
        ASSERT_TRUE(refusal.has_value());
        EXPECT_TRUE(refusal->Fits()) << "the refusal needs " << refusal->Needed << " px, has " << refusal->Room;
    }
}

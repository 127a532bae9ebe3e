// Every way a command changes a document's text, picked as the user picks
// it: the document counts as modified and Ctrl+S writes what it shows; and in
// a document opened read-only none of them changes anything, and the status
// bar says why.
#include "tests/controls/FlatTestSupport.h"
#include "tests/shell/MenuDriver.h"
#include "tests/shell/ShellFixture.h"

#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "shell/qt/mainwindow/StatusBar.h"
#include "tools/qt/PageGenerators.h"

#include <QDialog>
#include <QTest>

#include <functional>
#include <string>
#include <vector>

using vx::test::ShellTest;

namespace {

struct Change {
    const char* what;
    std::function<void(class DocumentChangesTest&)> act;
    // A command of the main window, which tells why it refuses a read-only document.
    bool command = true;
};

class DocumentChangesTest : public ShellTest {
public:
    void Pick(const char* name) { vx::test::PickMenuCommand(*form, name); }
    // The meta tag generator through its menu item, generated with its first button.
    void GenerateMetaTags()
    {
        AnswerNext<QDialog>([](QDialog& dialog) {
            auto* generate = dynamic_cast<TFlatSpeedButton*>(dialog.findChild<QObject*>("SpeedButton1"));
            ASSERT_NE(dynamic_cast<Tfrm_meta*>(&dialog), nullptr);
            ASSERT_NE(generate, nullptr);
            vx::test::Click(*generate, generate->rect().center());
        });
        Pick("Metataggenerator1");
    }
    void Type(const char* text) { QTest::keyClicks(editor, text); }
    // A dialog or progress window that closed hands the activation back.
    void Save()
    {
        Focus(editor);
        QTest::keySequence(form.get(), QKeySequence("Ctrl+S"));
    }

    // A fresh document in slot 1, focused, the caret after "a b".
    void OpenFresh(const std::string& path, bool readOnly)
    {
        if (!form->SlotFileName(1).empty()) {
            dialogs.Queue(mrYes);
            form->CloseAllfiles1Click();
        }
        vx::test::writeFile(path, "a b\r\n");
        form->OpenDocumentInFreeSlot(path, readOnly);
        editor = form->SlotEditor(1);
        Focus(editor);
        editor->Model().SetCaretXY(Point(4, 1));
    }

    TmwCustomEdit* editor = nullptr;
};

const std::vector<Change>& Changes()
{
    static const std::vector<Change> changes = {
        {"a generator's lines", [](DocumentChangesTest& t) { t.GenerateMetaTags(); }},
        {"a sample script", [](DocumentChangesTest& t) { t.Pick("PopupWindow1"); }},
        {"a literal insertion", [](DocumentChangesTest& t) { t.Pick("Responseend1"); }},
        {"a conversion over all lines", [](DocumentChangesTest& t) { t.Pick("Spacestohtmlspaces1"); }},
        {"a case change",
         [](DocumentChangesTest& t) {
             t.editor->Model().SelectAll();
             t.Pick("Uppercase1");
         }},
        {"undo after a save",
         [](DocumentChangesTest& t) {
             t.Type("x");
             t.Save();
             t.Type("y");
             t.Pick("Undo1");
         },
         false},
    };
    return changes;
}

} // namespace

TEST_F(DocumentChangesTest, EveryChangeIsModifiedAndSavedByCtrlS)
{
    StartAndActivate();
    form->show();
    for (const Change& change : Changes()) {
        const std::string path = docs.file("changed.asp");
        OpenFresh(path, false);
        change.act(*this);
        EXPECT_TRUE(editor->Model().Modified()) << change.what;
        Save();
        EXPECT_FALSE(editor->Model().Modified()) << change.what;
        EXPECT_NE(Text(editor), "a b\r\n") << change.what << " changed the text";
        EXPECT_EQ(vx::test::readFile(path), Text(editor)) << change.what << " is in the file";
    }
}

TEST_F(DocumentChangesTest, NothingChangesAReadOnlyDocumentAndTheStatusBarSaysWhy)
{
    StartAndActivate();
    form->show();
    for (const Change& change : Changes()) {
        if (!change.command)
            continue;
        OpenFresh(docs.file("kept.asp"), true);
        form->StatusBar1->clearMessage();
        change.act(*this);
        EXPECT_EQ(Text(editor), "a b\r\n") << change.what;
        EXPECT_FALSE(editor->Model().Modified()) << change.what;
        EXPECT_EQ(form->StatusBar1->currentMessage().toStdString(), "The document is read-only: it was not changed.") << change.what;
    }
}

TEST_F(DocumentChangesTest, UndoTakesBackAWholeGeneratedBlockAndRedoPutsItBack)
{
    StartAndActivate();
    form->show();
    const std::pair<const char*, std::function<void()>> blocks[] = {
        {"a generator's lines", [this] { GenerateMetaTags(); }},
        {"a sample script", [this] { Pick("PopupWindow1"); }},
    };
    for (const auto& [what, generate] : blocks) {
        OpenFresh(docs.file("undone.asp"), false);
        // Blanks at the end of the last line are the user's too.
        Type("typed  ");
        const std::string typed = Text(editor);
        generate();
        const std::string generated = Text(editor);
        ASSERT_EQ(generated.substr(0, typed.size()), typed) << what;
        ASSERT_GT(editor->Model().LineCount(), 2) << what;
        EXPECT_EQ(editor->Model().CaretXY(), Point(11, 1)) << what << ": the caret stays";

        Focus(editor);
        Pick("Undo1");
        EXPECT_EQ(Text(editor), typed) << what << ": one Undo takes the block, not the typing";
        QTest::keySequence(editor, QKeySequence("Ctrl+R"));
        EXPECT_EQ(Text(editor), generated) << what;
    }
}

TEST_F(DocumentChangesTest, UndoAfterAConversionOverAllLinesBringsBackTheTextBeforeIt)
{
    StartAndActivate();
    form->show();
    for (const char* conversion : {"Spacestohtmlspaces1", "Forwardslash1", "Htmlbrackets1"}) {
        OpenFresh(docs.file("converted.asp"), false);
        editor->Model().SetCaretXY(Point(1, 2));
        Type("<i>x/y z</i>");
        const std::string typed = Text(editor);
        Pick(conversion);
        const std::string converted = Text(editor);
        ASSERT_NE(converted, typed) << conversion;

        Focus(editor);
        Pick("Undo1");
        EXPECT_EQ(Text(editor), typed) << conversion << ": the conversion is undone, not part of the typing";
        QTest::keySequence(editor, QKeySequence("Ctrl+R"));
        EXPECT_EQ(Text(editor), converted) << conversion;
    }
}

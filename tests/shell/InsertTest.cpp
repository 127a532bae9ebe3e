#include "tests/shell/ShellFixture.h"

#include "shell/qt/mainwindow/PrefForm.h"
#include "shell/qt/mainwindow/StatusBar.h"

#include <QDialog>
#include <QListWidget>
#include <QTabWidget>
#include <QTimer>

#include <functional>
#include <initializer_list>

using vx::test::ShellTest;

namespace {

class InsertTest : public ShellTest {
protected:
    void SetUp() override
    {
        StartAndActivate();
        editor = form->SlotEditor(1);
        editor->Model().SetText("first\r\nsecond word");
        Focus(editor);
        ASSERT_EQ(form->ActiveEditor(), editor);
    }
    void TearDown() override { TagCaseMode() = "NORMAL"; }
    void Select(int line, int from, int to) { vx::test::SelectRange(*editor, line, from, to); }

    TmwCustomEdit* editor = nullptr;
};

} // namespace

TEST_F(InsertTest, ModeZeroReplacesTheSelectionModeOneAppendsALine)
{
    Select(2, 8, 12);
    form->insert_item("<b>", 0);
    EXPECT_EQ(Text(editor), "first\r\nsecond <b>\r\n");
    EXPECT_EQ(editor->Model().CaretXY(), Point(11, 2));

    editor->Model().SetCaretXY(Point(2, 1));
    form->insert_item("<hr>", 1);
    EXPECT_EQ(Text(editor), "first\r\nsecond <b>\r\n<hr>\r\n");
    EXPECT_EQ(editor->Model().CaretXY(), Point(2, 1)) << "appending leaves the caret";
    form->insert_item("ignored", 7);
    EXPECT_EQ(editor->Model().LineCount(), 3);
}

TEST_F(InsertTest, WrapsTheSelectionAndLeavesTheCaretBeforeTheClosingPart)
{
    Select(2, 8, 12);
    form->insert_item_2("<b></b>", 4);
    EXPECT_EQ(editor->Model().Lines()[1], "second <b>word</b>");
    EXPECT_EQ(editor->Model().CaretX(), 15);

    editor->Model().SetCaretXY(Point(1, 1));
    form->insert_item_2("<i></i>", 0);
    EXPECT_EQ(editor->Model().Lines()[0], "<i></i>first");
    EXPECT_EQ(editor->Model().CaretX(), 8);

    editor->Model().SetCaretXY(Point(1, 1));
    form->insert_item_2("ab", 10);
    EXPECT_EQ(editor->Model().Lines()[0], "ab<i></i>first");
    EXPECT_EQ(editor->Model().CaretX(), 1) << "a step back past the line start stops at column 1";
}

TEST_F(InsertTest, EachTagCaseModeConvertsTheWholeInsertedTextButNotTheWrappedSelection)
{
    const std::pair<const char*, const char*> rows[] = {
        {"UP", "<FONT FACE=ARIAL>Word</FONT>"}, {"LO", "<font face=arial>Word</font>"},
        {"CAPS", "<font Face=Arial>Word</font>"}, {"NORMAL", "<font face=Arial>Word</font>"}};
    for (const auto& [mode, expected] : rows) {
        TagCaseMode() = mode;
        editor->Model().SetText("Word");
        editor->Model().SelectAll();
        form->insert_item_2("<font face=Arial></font>", 7);
        EXPECT_EQ(editor->Model().Lines()[0], expected) << mode;
    }
    TagCaseMode() = "UP";
    form->insert_item("<p align=Left>Text", 1);
    EXPECT_EQ(editor->Model().Lines()[1], "<P ALIGN=LEFT>TEXT");
}

TEST_F(InsertTest, NothingIsInsertedWhenTheFocusIsElsewhereOrTheEditorIsReadOnly)
{
    form->tags->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(form->ActiveEditor(), nullptr);
    form->insert_item("x", 0);
    form->insert_item("x", 1);
    EXPECT_EQ(Text(editor), "first\r\nsecond word\r\n");

    editor->setFocus();
    editor->Model().SetReadOnly(true);
    for (const auto& insert : std::initializer_list<std::function<void()>>{
             [&] { form->insert_item("x", 0); }, [&] { form->insert_item_2("<b></b>", 4); },
             [&] { form->insert_item("added", 1); }}) {
        form->StatusBar1->clearMessage();
        insert();
        EXPECT_EQ(Text(editor), "first\r\nsecond word\r\n");
        EXPECT_EQ(form->StatusBar1->currentMessage().toStdString(), "The document is read-only: it was not changed.") << "the user learns why";
    }
    EXPECT_FALSE(editor->Model().Modified());
    EXPECT_EQ(form->ActiveEditor(), editor) << "and the editor keeps the focus";
}

TEST_F(InsertTest, InsertionAfterAModalDialogReachesTheEditorThatHadTheFocus)
{
    TmwCustomEdit* workspace = form->Workspaces()[0];
    form->PageControl1->setCurrentIndex(TForm1::SlotCount);
    workspace->setFocus();
    QApplication::processEvents();
    QDialog dialog(form.get());
    QTimer::singleShot(0, &dialog, [&] {
        EXPECT_EQ(form->ActiveEditor(), nullptr) << "while the dialog is up nothing is the target";
        dialog.accept();
    });
    dialog.exec();
    form->insert_item("<br>", 0);
    EXPECT_EQ(workspace->Model().Lines()[0], "<br> ");
    EXPECT_EQ(Text(editor), "first\r\nsecond word\r\n");
}

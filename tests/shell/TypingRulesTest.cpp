#include "tests/shell/ShellFixture.h"

#include "platform/FileIO.h"
#include "shell/qt/mainwindow/PrefForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTest>

using vx::test::ShellTest;

namespace {

class TypingTest : public ShellTest {
protected:
    void SetUp() override
    {
        StartAndActivate();
        for (int box : {4, 12, 14, 15, 16, 20, 21, 23})
            frm_pref->CheckBox(box)->setChecked(false);
        editor = form->SlotEditor(1);
        editor->Model().SetText("ab");
        Focus(editor);
        editor->Model().SetCaretXY(Point(2, 1));
    }
    void TearDown() override { TagCaseMode() = "NORMAL"; }
    void On(int box) { frm_pref->CheckBox(box)->setChecked(true); }
    void Press(int key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(editor, Qt::Key(key), modifiers); }
    void Type(char c) { QTest::keyClicks(editor, QString(QChar(c))); }
    std::string Line(int index = 0) const { return editor->Model().Lines()[index]; }

    TmwCustomEdit* editor = nullptr;
};

} // namespace

TEST_F(TypingTest, EachCharacterRuleAlone)
{
    struct Row {
        int Box;
        char Key;
        const char* Line;
        int Caret;
    };
    const Row rows[] = {
        {20, '"', "a\";b", 3},   // the quote lands before the semicolon
        {21, '"', "a\\n\"b", 5}, // the typed quote is eaten
        {12, '<', "a<>b", 3},
        {14, '&', "aand b", 6},
    };
    for (const Row& row : rows) {
        for (int box : {12, 14, 20, 21})
            frm_pref->CheckBox(box)->setChecked(box == row.Box);
        editor->Model().SetText("ab");
        editor->Model().SetCaretXY(Point(2, 1));
        Type(row.Key);
        EXPECT_EQ(Line(), row.Line) << row.Box;
        EXPECT_EQ(editor->Model().CaretX(), row.Caret) << row.Box;
    }
    frm_pref->CheckBox(12)->setChecked(false);
    editor->Model().SetText("ab");
    editor->Model().SetCaretXY(Point(2, 1));
    Type('<');
    EXPECT_EQ(Line(), "a<b") << "off, the key types itself";
}

TEST_F(TypingTest, BothPerlRulesTogether)
{
    On(20);
    On(21);
    Type('"');
    EXPECT_EQ(Line(), "a\\n\";b");
    EXPECT_EQ(editor->Model().CaretX(), 5) << "before the semicolon";
}

TEST_F(TypingTest, CtrlEnterOpensAParagraphWithTheChosenAlignment)
{
    On(15);
    const std::pair<const char*, const char*> rows[] = {
        {"Default", "<p>"}, {"align=center", "<p align=center >"}, {"align=right", "<p align=right >"}, {"", "<p  >"}};
    for (const auto& [choice, tag] : rows) {
        frm_pref->p_align->setCurrentIndex(frm_pref->p_align->findText(choice));
        editor->Model().SetText("ab");
        editor->Model().SetCaretXY(Point(2, 1));
        Press(Qt::Key_Return, Qt::ControlModifier);
        EXPECT_EQ(Line(), std::string("a") + tag + "b") << choice;
    }
}

TEST_F(TypingTest, EnterSavesTheNamedSlotsBeforeTheBreakTag)
{
    const std::string path = WriteDoc("page.htm", "ab\r\n");
    form->OpenDocumentInFreeSlot(path, false);
    TmwCustomEdit* page = form->SlotEditor(1);
    Focus(page);
    page->Model().SetCaretXY(Point(2, 1));
    QTest::keyClicks(page, "x");
    On(23);
    On(4);
    QTest::keyClick(page, Qt::Key_Return);
    EXPECT_EQ(vx::ReadWholeFile(path), "axb\r\n") << "saved before the key changed the text";
    EXPECT_EQ(page->Model().Lines()[0], "ax<br>");
    EXPECT_EQ(page->Model().Lines()[1], "b") << "the line break follows";
}

TEST_F(TypingTest, AltKeys)
{
    Press(Qt::Key_Space, Qt::AltModifier);
    EXPECT_EQ(Line(), "a&nbsp;b") << "whatever the preferences";

    editor->Model().SetText("ab");
    editor->Model().SetCaretXY(Point(2, 1));
    Press(Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(Line(), "ab") << "off, Alt+Enter does nothing";
    On(16);
    Press(Qt::Key_Return, Qt::AltModifier);
    ASSERT_EQ(editor->Model().LineCount(), 2);
    EXPECT_EQ(Line(0), "a<hr>");
    EXPECT_EQ(Line(1), "b");
}

TEST_F(TypingTest, ASelectionIsKept)
{
    On(4);
    editor->Model().SelectAll();
    Press(Qt::Key_Space, Qt::AltModifier);
    EXPECT_EQ(Line(), "&nbsp;ab") << "Back 0 puts the text before the selection";

    On(12);
    editor->Model().SetText("xy");
    editor->Model().SelectAll();
    Type('<');
    EXPECT_EQ(Line(), "xy<>") << "Back 1: the selection, the typed key, the inserted character";
}

TEST_F(TypingTest, TagCaseAppliesToTheInsertedText)
{
    TagCaseMode() = "UP";
    On(12);
    editor->Model().SetText("");
    Press(Qt::Key_Space, Qt::AltModifier);
    Type('<');
    EXPECT_EQ(Line(), "&NBSP;<>");
}

TEST_F(TypingTest, WorkspaceEditorsTypePlainly)
{
    On(12);
    On(14);
    TmwCustomEdit* workspace = form->Workspaces().at(0);
    form->PageControl1->setCurrentIndex(TForm1::SlotCount);
    workspace->Model().SetText("");
    Focus(workspace);
    QTest::keyClicks(workspace, "<&");
    QTest::keyClick(workspace, Qt::Key_Space, Qt::AltModifier);
    EXPECT_EQ(workspace->Model().Lines()[0], "<&");
}

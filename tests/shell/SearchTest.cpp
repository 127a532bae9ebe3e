// The search dialog and the jump to a line, driven through their menu items'
// keys, the dialogs' fields and buttons.
#include "tests/shell/ShellFixture.h"
#include "tests/support/TypeText.h"

#include "shell/qt/windows/SearchForm.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace vx::test {
namespace {

class SearchTest : public ShellTest {
protected:
    void SetUp() override
    {
        StartAndActivate();
        find = MenuCommand("FindandReplace1", "F3");
        jump = MenuCommand("Jumptoline1", "F10");
    }
    // A page with "td" on lines 3 and 7 and "TD" on line 5, in the slot, focused.
    TmwCustomEdit* Page(int slot)
    {
        form->PageControl1->setCurrentIndex(slot - 1);
        TmwCustomEdit* editor = form->SlotEditor(slot);
        editor->Model().Lines().SetText("<table>\r\n<tr>\r\n  <td>a</td>\r\n</tr>\r\n<TD>\r\n<tr>\r\n<td>b</td>\r\n"
                                        "</table>\r\n");
        Focus(editor);
        return editor;
    }
    enum class How { Go, Enter, Cancel };
    // Presses F3 in the editor, types text into the dialog's field and closes it by how.
    void Search(TmwCustomEdit* editor, const std::string& text, How how, bool fromCaret = false)
    {
        Focus(editor);
        WhenModal([&](QWidget& window) {
            ASSERT_EQ(&window, frm_search);
            frm_search->Edit1->clear();
            TypeText(frm_search->Edit1, QString::fromUtf8(text));
            if (frm_search->curloc->isChecked() != fromCaret)
                QTest::mouseClick(frm_search->curloc, Qt::LeftButton);
            switch (how) {
            case How::Go:
                QTest::mouseClick(frm_search->findChild<QPushButton*>("Button1"), Qt::LeftButton);
                break;
            case How::Enter:
                QTest::keyClick(frm_search->Edit1, Qt::Key_Return);
                break;
            case How::Cancel:
                QTest::mouseClick(frm_search->findChild<QPushButton*>("Button2"), Qt::LeftButton);
                break;
            }
        });
        QTest::keyClick(editor, Qt::Key_F3);
    }
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const auto& request : dialogs.requests)
            texts.push_back(request.text);
        return texts;
    }
    void JumpTo(TmwCustomEdit* editor, const std::string& typed)
    {
        Focus(editor);
        WhenModal([&](QWidget& window) {
            ASSERT_EQ(&window, frm_jump);
            frm_jump->edit1->clear();
            QTest::keyClicks(frm_jump->edit1, QString::fromStdString(typed));
            QTest::keyClick(frm_jump->edit1, Qt::Key_Return);
        });
        QTest::keyClick(editor, Qt::Key_F10);
    }

    QAction* find = nullptr;
    QAction* jump = nullptr;
};

TEST_F(SearchTest, TheMenuItemsAreEnabledOnceBound)
{
    EXPECT_TRUE(find->isEnabled());
    EXPECT_TRUE(jump->isEnabled());
}

TEST_F(SearchTest, SlotsOneToFourShowEveryHitAndSlotFiveTheFirst)
{
    struct Case {
        int slot;
        How how;
        std::vector<std::string> messages;
        TPoint caret;
    };
    const Case cases[] = {
        {1, How::Go, {"Found \"td\" at line 3", "Found \"td\" at line 7"}, Point(2, 7)},
        {4, How::Enter, {"Found \"td\" at line 3", "Found \"td\" at line 7"}, Point(2, 7)},
        {5, How::Go, {"\r Found \"td\" at line 3\r"}, Point(4, 3)},
    };
    for (const Case& c : cases) {
        dialogs.requests.clear();
        TmwCustomEdit* editor = Page(c.slot);
        editor->Model().SetCaretXY(Point(1, 1));
        Search(editor, "td", c.how);
        EXPECT_EQ(Messages(), c.messages) << "slot " << c.slot;
        EXPECT_EQ(editor->Model().CaretXY(), c.caret) << "slot " << c.slot;
        EXPECT_TRUE(frm_search->isHidden());
    }
}

TEST_F(SearchTest, FromTheCaretTheLinesUpToItAreNotSearched)
{
    TmwCustomEdit* editor = Page(2);
    editor->Model().SetCaretXY(Point(1, 3));
    Search(editor, "td", How::Go, true);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Found \"td\" at line 7"});
    dialogs.requests.clear();
    editor->Model().SetCaretXY(Point(1, 7));
    Search(editor, "td", How::Go, true);
    EXPECT_TRUE(Messages().empty()) << "the caret's own line is not searched";
}

TEST_F(SearchTest, CaseEmptyTextAndCancelFindNothing)
{
    TmwCustomEdit* editor = Page(1);
    editor->Model().SetCaretXY(Point(3, 2));
    Search(editor, "TD", How::Go);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Found \"TD\" at line 5"}) << "exact case only";
    dialogs.requests.clear();
    Search(editor, "tD", How::Go);
    Search(editor, "", How::Go);
    Search(editor, "td", How::Cancel);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(frm_search->Edit1->text(), "td") << "the field keeps its text";
}

// Text outside ASCII is found as the characters typed, in its exact case.
TEST_F(SearchTest, FindsCharactersOutsideAscii)
{
    struct Case {
        const char* typed;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"é", {"Found \"é\" at line 1", "Found \"é\" at line 3"}},
        {"É", {"Found \"É\" at line 2"}},
        {"café", {"Found \"café\" at line 1"}},
        {"Ã", {}},
    };
    TmwCustomEdit* editor = Page(1);
    editor->Model().Lines().SetText("un café\r\nCAFÉ\r\né 10€\r\n");
    for (const Case& c : cases) {
        dialogs.requests.clear();
        editor->Model().SetCaretXY(Point(1, 1));
        Search(editor, c.typed, How::Go);
        EXPECT_EQ(Messages(), c.messages) << c.typed;
    }
}

TEST_F(SearchTest, AWorkspaceIsNotSearched)
{
    ASSERT_FALSE(form->Workspaces().empty());
    TmwCustomEdit* workspace = form->Workspaces().front();
    workspace->Model().Lines().SetText("td\r\n");
    form->PageControl1->setCurrentIndex(TForm1::SlotCount);
    Focus(workspace);
    Search(workspace, "td", How::Go);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SearchTest, ReplaceWithEnablesItsField)
{
    EXPECT_FALSE(frm_search->Edit2->isEnabled());
    frm_search->show();
    QTest::mouseClick(frm_search->CheckBox1, Qt::LeftButton);
    EXPECT_TRUE(frm_search->Edit2->isEnabled());
    QTest::mouseClick(frm_search->CheckBox1, Qt::LeftButton);
    EXPECT_FALSE(frm_search->Edit2->isEnabled());
    EXPECT_EQ(frm_search->pos(), QPoint(20, 20));
    frm_search->hide();
}

TEST_F(SearchTest, JumpMovesTheCaretToTheLineClampedToTheDocument)
{
    const std::pair<const char*, int> cases[] = {{"4", 4}, {"0", 1}, {"999", 8}, {"6th", 6}, {"abc", 1}, {"8", 8}};
    TmwCustomEdit* workspace = form->Workspaces().front();
    workspace->Model().Lines().SetText("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n");
    for (const auto& [typed, line] : cases) {
        TmwCustomEdit* slot = Page(3);
        slot->Model().SetCaretXY(Point(1, 2));
        JumpTo(slot, typed);
        EXPECT_EQ(slot->Model().CaretY(), line) << typed;
        form->PageControl1->setCurrentIndex(TForm1::SlotCount);
        Focus(workspace);
        workspace->Model().SetCaretXY(Point(1, 2));
        JumpTo(workspace, typed);
        EXPECT_EQ(workspace->Model().CaretY(), line) << "workspace, " << typed;
    }
    EXPECT_EQ(frm_jump->pos(), QPoint(40, 40));
}

TEST_F(SearchTest, ClosingTheJumpDialogByItsWindowButtonStillJumps)
{
    TmwCustomEdit* editor = Page(1);
    JumpTo(editor, "5");
    editor->Model().SetCaretXY(Point(1, 1));
    Focus(editor);
    WhenModal([](QWidget& window) { window.close(); });
    QTest::keyClick(editor, Qt::Key_F10);
    EXPECT_EQ(editor->Model().CaretY(), 5) << "the number left from the last use";
    frm_jump->edit1->clear();
    editor->Model().SetCaretXY(Point(1, 2));
    Focus(editor);
    WhenModal([](QWidget& window) { window.close(); });
    QTest::keyClick(editor, Qt::Key_F10);
    EXPECT_EQ(editor->Model().CaretY(), 2) << "an empty field moves nothing";
}

} // namespace
} // namespace vx::test

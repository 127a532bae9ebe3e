#include "tests/shell/ShellFixture.h"

#include "controls/flat/TFlatHintUnit.h"
#include "controls/flat/TFlatMemoUnit.h"
#include "editor/qt/mwAutoComplete.h"
#include "editor/qt/mwCompletionProposal.h"
#include "shell/qt/mainwindow/PrefForm.h"

#include <QKeyEvent>

using vx::test::ShellTest;

namespace {

void Press(QWidget* widget, int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &press);
}

// The text typed so far on one line, the caret at its end.
void Put(TmwCustomEdit* editor, const std::string& line)
{
    editor->Model().SetText(line);
    editor->Model().SetCaretXY(Point(static_cast<int>(line.size()) + 1, 1));
}

void ShiftSpace(TmwCustomEdit* editor) { Press(editor, Qt::Key_Space, Qt::ShiftModifier, " "); }

} // namespace

TEST_F(ShellTest, ShiftSpaceExpandsTheMacrosOfTheDataFolder)
{
    vx::test::writeFile(home.Data("macros.dat"), "!tb\r\n=<table>|</table>\r\n!rp\r\n=response.write\r\n");
    StartAndActivate();
    TmwCustomEdit* slot1 = form->SlotEditor(1);
    Focus(slot1);
    Put(slot1, "x !tb");
    ShiftSpace(slot1);
    EXPECT_EQ(slot1->Model().LineText(), "x <table></table>");
    EXPECT_EQ(slot1->Model().CaretX(), 10) << "where the macro's bar stood";

    // Without codecomplete.ae only slot 1 expands.
    TmwCustomEdit* slot2 = form->SlotEditor(2);
    Put(slot2, "!rp");
    ShiftSpace(slot2);
    EXPECT_EQ(slot2->Model().LineText().substr(0, 3), "!rp");
    EXPECT_EQ(form->a_complete->EditorCount(), 1);
    EXPECT_EQ(form->codec1->EditorCount(), 1);

    vx::test::writeFile(home.Data("codecomplete.ae"), "table\r\n");
    form->FormActivate();
    form->FormActivate();
    EXPECT_EQ(form->a_complete->EditorCount(), 5) << "each slot once, however often the window activates";
    EXPECT_EQ(form->codec1->EditorCount(), 5);
    Put(slot2, "!rp");
    ShiftSpace(slot2);
    EXPECT_EQ(slot2->Model().LineText(), "response.write");
}

TEST_F(ShellTest, SavedMacroPageFeedsTheExpanderAtTheNextActivation)
{
    StartAndActivate();
    TmwCustomEdit* slot1 = form->SlotEditor(1);
    Focus(slot1);
    Put(slot1, "!me");
    ShiftSpace(slot1);
    EXPECT_EQ(slot1->Model().LineText().substr(0, 3), "!me") << "not a macro yet";

    frm_pref->Memo1->Lines().SetText("!me\r\n=Vellumix\r\n=  Professional\r\n");
    frm_pref->Button2Click();
    EXPECT_EQ(vx::test::readFile(userData.File("data/macros.dat")), "!me\r\n=Vellumix\r\n=  Professional\r\n");
    form->FormActivate();
    Put(slot1, "!me");
    ShiftSpace(slot1);
    EXPECT_EQ(Text(slot1), "Vellumix\r\n  Professional\r\n");
}

TEST_F(ShellTest, CompletionShortCutOpensThePopupWithTheFilesItems)
{
    vx::test::writeFile(home.Data("codecomplete.ae"), "table\r\ntbody\ntd\r\n");
    StartAndActivate();
    ASSERT_EQ(form->codec1->ItemList().Count(), 3);
    TmwCustomEdit* slot3 = form->SlotEditor(3);
    form->PageControl1->setCurrentIndex(2);
    Focus(slot3);
    Put(slot3, "x tb");
    Press(slot3, Qt::Key_Space, Qt::ControlModifier, " ");
    TCompletionProposalForm& popup = form->codec1->Form();
    ASSERT_TRUE(popup.isVisible());
    EXPECT_EQ(popup.CurrentEditor(), slot3);
    EXPECT_EQ(form->codec1->CurrentString(), "tb");
    EXPECT_EQ(form->codec1->Position(), 1);
    Press(&popup, Qt::Key_Return, {}, "\r");
    EXPECT_FALSE(popup.isVisible());
    EXPECT_EQ(slot3->Model().LineText(), "x tbody");
}

TEST_F(ShellTest, MainWindowsFlatHintStylesTheHints)
{
    Start();
    EXPECT_EQ(TFlatHint::MainForm(), form.get());
    EXPECT_EQ(TFlatHintWindow::HintComponent(), form->FlatHint1);
    form.reset();
    EXPECT_EQ(TFlatHint::MainForm(), nullptr);
    EXPECT_EQ(TFlatHintWindow::HintComponent(), nullptr);
}

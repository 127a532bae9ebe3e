// Quitting: nothing the user typed goes without a question.
#include "tests/shell/ShellFixture.h"

#include "shell/Recovery.h"
#include "shell/qt/windows/ProfHelp.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>

using vx::test::ShellTest;

namespace {

class QuitTest : public ShellTest {
protected:
    void SetUp() override
    {
        StartAndActivate();
        Focus(form->SlotEditor(1));
    }
    void Type(TmwCustomEdit* editor, const char* text)
    {
        editor->setFocus();
        QTest::keyClicks(editor, text);
    }
    // Closes the main window as its close box does, answering the assistant's
    // question with answer once it shows; true when the window closed.
    bool CloseAnswering(const std::function<void()>& answer)
    {
        QTimer::singleShot(0, frm_profhelp, answer);
        return form->close();
    }
};

void PressEscape()
{
    QTest::keyClick(frm_profhelp, Qt::Key_Escape);
}

void PressYes()
{
    QTest::mouseClick(frm_profhelp->Button2, Qt::LeftButton);
}

} // namespace

TEST_F(QuitTest, EscapeOrTheCloseBoxAtTheQuitQuestionKeepsTheProgramRunning)
{
    const std::string path = WriteDoc("page.asp", "mine\r\n");
    form->OpenDocumentInFreeSlot(path, false);
    Type(form->SlotEditor(1), "edit ");
    EXPECT_FALSE(CloseAnswering(PressEscape));
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(dialogs.requests.empty()) << "no save question, nothing decided";
    EXPECT_EQ(vx::test::readFile(path), "mine\r\n");
    EXPECT_TRUE(frm_profhelp->Button2->isHidden()) << "the question is over";

    EXPECT_FALSE(CloseAnswering([] { frm_profhelp->close(); }));
    EXPECT_TRUE(form->isVisible());

    dialogs.Queue(mrCancel);
    EXPECT_FALSE(CloseAnswering(PressYes)) << "Yes, then Cancel at the save question";
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].text, "Save the changes to your documents before quitting?");
    EXPECT_TRUE(frm_profhelp->isVisible()) << "the assistant stays with the program that goes on";
    EXPECT_TRUE(frm_profhelp->Button2->isHidden()) << "the question is over";

    dialogs.Queue(mrYes);
    EXPECT_TRUE(CloseAnswering(PressYes));
    EXPECT_EQ(vx::test::readFile(path), "edit mine\r\n");
}

TEST_F(QuitTest, TextTypedIntoAnUnnamedSlotOrAWorkspaceIsAskedAboutAndSavedUnderAName)
{
    Type(form->SlotEditor(1), "typed ");
    Type(form->Workspaces()[0], "notes");
    const std::string slotFile = docs.file("typed");
    const std::string notesFile = docs.file("notes.txt");
    dialogs.Queue(mrYes);
    dialogs.Queue(mrOk, slotFile);
    dialogs.Queue(mrOk, notesFile);
    EXPECT_TRUE(CloseAnswering(PressYes));
    ASSERT_EQ(dialogs.requests.size(), 3u);
    EXPECT_EQ(dialogs.requests[1].kind, vx::dialogs::Kind::SaveFile);
    EXPECT_EQ(dialogs.requests[1].defaultExt, "asp");
    EXPECT_NE(vx::test::readFile(slotFile + ".asp").find("\r\ntyped\r\n"), std::string::npos);
    EXPECT_EQ(form->SlotFileName(1), slotFile + ".asp");
    EXPECT_EQ(vx::test::readFile(notesFile), "notes\r\n") << "typed blanks at a line end are not kept";
}

// A workspace's save writes its recovery copy first, as a document's does:
// a save that fails, or is killed, leaves the text offered at the next start.
TEST_F(QuitTest, AWorkspacesTextIsInItsRecoveryCopyTheMomentItsSaveFails)
{
    Type(form->Workspaces()[0], "notes");
    dialogs.Queue(mrYes);
    dialogs.Queue(mrOk, docs.file("missing/notes.txt"));
    EXPECT_FALSE(CloseAnswering(PressYes)) << "the save failed: the program goes on";
    ASSERT_EQ(dialogs.requests.size(), 3u);
    EXPECT_EQ(dialogs.requests[2].type, mtError);
    ASSERT_FALSE(form->RecoveryFolder().empty()) << "no recovery copy was written before the save";
    const auto kept = vx::shell::ParseRecovery(vx::test::readFile(form->RecoveryFolder() + "/workspace-1.vxr"));
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->Text, "notes\r\n");
}

TEST_F(QuitTest, CancellingTheNameForUnnamedTextCancelsTheQuit)
{
    Type(form->SlotEditor(1), "typed ");
    dialogs.Queue(mrYes);
    dialogs.Queue(mrCancel);
    EXPECT_FALSE(CloseAnswering(PressYes));
    EXPECT_TRUE(form->SlotEditor(1)->Model().Modified());
}

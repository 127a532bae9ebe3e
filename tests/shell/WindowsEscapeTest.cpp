// Every window a menu item opens, as a user meets it: it comes up on the
// screen, Escape closes it, the document is as it was, and the keys typed
// next go into the document again.
#include "tests/shell/ShellFixture.h"
#include "tests/shell/WindowWalker.h"
#include "tests/shell/MenuDriver.h"

#include "controls/edits/ToolEdit.h"
#include "shell/qt/mainwindow/PrefForm.h"
#include "shell/qt/windows/DirSelector.h"

#include <QScreen>

namespace vx::test {
namespace {

class WindowsEscapeTest : public ShellTest {};

TEST_F(WindowsEscapeTest, EveryWindowAMenuItemOpensLiesOnTheScreenAndClosesWithEscape)
{
    StartAndActivate();
    const QRect screen = form->screen()->availableGeometry();
    int opened = 0;
    for (const TWalkedWindow& walked : WalkEveryWindow(*form, dialogs, [&](const std::string& command, QWidget& window) {
             const QRect frame = window.frameGeometry();
             EXPECT_TRUE(screen.contains(frame)) << command << " lies off the screen at " << frame.x() << ","
                                                 << frame.y() << " " << frame.width() << "x" << frame.height();
         })) {
        EXPECT_TRUE(walked.Found) << walked.Command << " opened no window";
        EXPECT_TRUE(walked.ClosedByEscape) << walked.Command << " did not close with Escape";
        EXPECT_FALSE(walked.ChangedDocument) << walked.Command << " changed a document";
        if (walked.ClosedByEscape) {
            EXPECT_TRUE(walked.MainWindowActiveAfter) << walked.Command << " left the main window inactive";
            EXPECT_TRUE(walked.TypingReachedEditor) << walked.Command << " left the keyboard away from the editor";
        }
        opened += walked.Found ? 1 : 0;
    }
    EXPECT_GT(opened, 60);
}

// A window opened from another gives the keyboard back to that one, and
// that one, closed, to the document.
TEST_F(WindowsEscapeTest, AWindowOpenedFromAnotherGivesTheKeyboardBackToIt)
{
    StartAndActivate();
    Focus(form->SlotEditor(1));
    // Each window comes up with the keyboard, as the window system gives it.
    const auto takeKeyboard = [](QWidget& window) {
        window.activateWindow();
        return QTest::qWaitFor([&] { return window.isActiveWindow(); }, kPatienceMs);
    };
    bool preferencesGotItBack = false;
    AnswerNext<Tfrm_pref>([&](Tfrm_pref& preferences) {
        ASSERT_TRUE(takeKeyboard(preferences));
        AnswerNext<Tfrm_dirselector>([&](Tfrm_dirselector& folders) {
            ASSERT_TRUE(takeKeyboard(folders));
            QTest::keyClick(&folders, Qt::Key_Escape);
        });
        // The shared data directory's button opens the folder selector.
        QTest::mouseClick(preferences.ComboEdit2->Button(), Qt::LeftButton);
        preferencesGotItBack = QTest::qWaitFor([&] { return preferences.isActiveWindow(); }, kPatienceMs);
        QTest::keyClick(&preferences, Qt::Key_Escape);
    });
    PickMenuCommand(*form, "Prefferences1");
    EXPECT_TRUE(preferencesGotItBack);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->isActiveWindow(); }, kPatienceMs));
    EXPECT_EQ(QApplication::focusWidget(), form->SlotEditor(1));
}

} // namespace
} // namespace vx::test

// Every window a menu item opens, as a user meets it: it comes up on the
// screen, Escape closes it, and the document is as it was.
#include "tests/shell/ShellFixture.h"
#include "tests/shell/WindowWalker.h"

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
        opened += walked.Found ? 1 : 0;
    }
    EXPECT_GT(opened, 60);
}

} // namespace
} // namespace vx::test

// Every launcher's dialog, the real one, shown and closed without its accept
// button, by Escape and by the window frame: the document stays as it was.
#include "tests/shell/ShellFixture.h"

#include "shell/qt/launch/LauncherTable.h"
#include "shell/qt/launch/Launchers.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QTest>

#include <functional>
#include <utility>

using vx::test::ShellTest;
using namespace vx::shell;

namespace {

class LaunchCloseTest : public ShellTest {
protected:
    void TearDown() override { SetDialogHost({}); }
};

} // namespace

TEST_F(LaunchCloseTest, ADialogClosedAnyWayButItsAcceptButtonChangesNothing)
{
    const std::pair<const char*, std::function<void(QDialog&)>> closings[] = {
        {"Escape", [](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); }},
        {"the window frame", [](QDialog& dialog) { dialog.close(); }},
    };
    const std::string path = WriteDoc("kept.asp", "keep this\r\n");
    StartAndActivate({path});
    TmwCustomEdit* editor = form->SlotEditor(1);
    Focus(editor);
    QApplication::clipboard()->setText("on the clipboard");
    int launched = 0;
    for (const auto& [closing, close] : closings) {
        for (const TLauncherRow& row : LauncherTable()) {
            if (!row.Make)
                continue;
            // The launchers that take the selection out need one.
            vx::test::SelectRange(*editor, 1, 2, 5);
            bool shown = false;
            SetDialogHost([&shown, &close](QDialog& dialog) {
                shown = true;
                dialog.show();
                close(dialog);
                return dialog.result();
            });
            RunLauncher(*form, row.DialogClass);
            launched += shown;
            EXPECT_EQ(Text(editor), "keep this\r\n") << row.DialogClass << " closed by " << closing;
            EXPECT_FALSE(editor->Model().Modified()) << row.DialogClass << " closed by " << closing;
            EXPECT_EQ(form->SlotFileName(1), path) << row.DialogClass;
            Focus(editor);
        }
    }
    EXPECT_GT(launched, 100) << "the dialogs were shown";
}

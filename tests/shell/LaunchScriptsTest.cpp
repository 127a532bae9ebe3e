// The script generators and the RTF export through their commands: the
// real dialogs, answered through their widgets, their results in the
// focused document or on disk.
#include "tests/shell/ShellFixture.h"

#include "controls/flat/TFlatComboBoxUnit.h"
#include "controls/flat/TFlatEditUnit.h"
#include "controls/foldertree/DirTree.h"
#include "shell/launch/Launchers.h"
#include "tests/tools/DialogClicks.h"
#include "tools/AspGenerators.h"
#include "tools/RtfExportDialog.h"

#include <QDialog>

#include <filesystem>
#include <functional>

using vx::test::ShellTest;
using namespace vx::shell;

namespace {

class LaunchScripts : public ShellTest {
protected:
    void SetUp() override
    {
        StartAndActivate();
        editor = form->SlotEditor(1);
        Focus(editor);
        editor->Model().SetText("top");
    }
    void TearDown() override { SetDialogHost({}); }
    // The user fills the dialog and presses the named button.
    void Answer(std::function<void(QDialog&)> fill, const char* button = "SpeedButton1")
    {
        SetDialogHost([fill, button](QDialog& dialog) {
            dialog.show();
            if (fill)
                fill(dialog);
            vx::test::ClickButton(dialog, button);
            return dialog.result();
        });
    }

    TmwCustomEdit* editor = nullptr;
};

} // namespace

TEST_F(LaunchScripts, CookieBlockFollowsOneEmptyLine)
{
    Answer([](QDialog& d) { static_cast<Tfrm_cookie&>(d).edit1->SetText("theme"); });
    RunLauncher(*form, "Tfrm_cookie");
    const std::string text = Text(editor);
    EXPECT_EQ(text.rfind("top\r\n\r\n<%\r\n Response.Cookies(\"theme\") = \"\"\r\n", 0), 0u) << text;
    EXPECT_EQ(text.find('\r' + std::string("\r")), std::string::npos) << "no lone carriage return";
}

TEST_F(LaunchScripts, ResponseStatementGoesToTheCaret)
{
    editor->Model().SetCaretXY(Point(1, 1));
    Answer([](QDialog& d) { static_cast<Tfrm_responsewiz&>(d).ComboBox1->SetItemIndex(5); });
    RunLauncher(*form, "Tfrm_responsewiz");
    EXPECT_EQ(Text(editor), "<% Response.Charset = \"Charset_Name\" %>top\r\n");

    Answer({}, "SpeedButton2");
    RunLauncher(*form, "Tfrm_responsewiz");
    EXPECT_EQ(Text(editor), "<% Response.Charset = \"Charset_Name\" %>top\r\n");
}

TEST_F(LaunchScripts, RtfExportWritesTheDocumentAndInsertsNothing)
{
    editor->Model().SetText("<b>exported</b>");
    Answer([this](QDialog& d) { static_cast<Tfrm_rtfexport&>(d).DirTree1->SetSelectedDir(docs.path().string()); });
    RunLauncher(*form, "Tfrm_rtfexport");
    EXPECT_EQ(Text(editor), "<b>exported</b>\r\n");
    const std::string rtf = vx::test::readFile(docs.file("export.rtf"));
    EXPECT_EQ(rtf.rfind("{\\rtf", 0), 0u);
    EXPECT_NE(rtf.find("exported"), std::string::npos);
}

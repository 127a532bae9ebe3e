// The commands of the text tools reach their dialogs: the beautifier takes the
// focused document and gives it back indented, the HTML-to-ASP converter's
// statements go into the document.
#include "tests/shell/ShellFixture.h"

#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "tests/controls/FlatTestSupport.h"
#include "tests/tools/ClickWidget.h"
#include "shell/qt/launch/Launchers.h"
#include "tools/qt/HtmlToAspWizard.h"
#include "tools/qt/SourceBeautifierDialog.h"
#include "tools/qt/framework/FileChooser.h"

#include <QAction>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

using vx::test::ShellTest;
using namespace vx::shell;

namespace {

void ClickButton(QDialog& dialog, const char* name)
{
    auto* button = dialog.findChild<TFlatSpeedButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    vx::test::Click(*button, button->rect().center());
}

class TextToolLaunchTest : public ShellTest {
protected:
    void SetUp() override { StartAndActivate(); }
    void TearDown() override { SetDialogHost({}); }

    // A command bound the way the menu binds its items.
    QAction* Command(const char* dialogClass)
    {
        auto* action = new QAction(dialogClass, form.get());
        action->setProperty(LauncherProperty, dialogClass);
        BindLaunchers(*form);
        return action;
    }
};

} // namespace

TEST_F(TextToolLaunchTest, EveryTextToolHasItsDialog)
{
    for (const char* dialogClass :
         {"Tfrm_compresshtml", "TFrm_aspb", "Tfrm_cvthtml", "Tfrm_txt2html", "Tfrm_rtfhtml", "TFStart"})
        EXPECT_TRUE(LauncherAvailable(dialogClass)) << dialogClass;
}

TEST_F(TextToolLaunchTest, BeautifySourceIndentsTheFocusedDocument)
{
    TmwCustomEdit* slot = form->SlotEditor(1);
    slot->Model().SetText("For i = 1 To 2\r\nx\r\nNext");
    Focus(slot);
    QAction* command = Command("TFrm_aspb");
    SetDialogHost([](QDialog& dialog) {
        dialog.show();
        ClickButton(dialog, "SpeedButton1");
        ClickButton(dialog, "SpeedButton2");
        return dialog.result();
    });
    command->trigger();
    EXPECT_EQ(Text(slot), "For i = 1 To 2\r\n   x\r\nNext\r\n");
}

TEST_F(TextToolLaunchTest, ConvertedHtmlGoesIntoTheDocument)
{
    const std::string page = WriteDoc("page.htm", "<p class=\"a\">hi</p>\r\n");
    TmwCustomEdit* slot = form->SlotEditor(1);
    slot->Model().SetText("");
    Focus(slot);
    QAction* command = Command("Tfrm_cvthtml");
    SetDialogHost([&page](QDialog& dialog) {
        auto& wizard = static_cast<Tfrm_cvthtml&>(dialog);
        wizard.show();
        vx::test::ChooseFile(*wizard.Files, std::filesystem::path(page).parent_path().string(), "page.htm");
        ClickButton(wizard, "SpeedButton1");
        ClickButton(wizard, "SpeedButton2");
        return wizard.result();
    });
    command->trigger();
    EXPECT_NE(Text(slot).find(" Response.write (\"<p class=\"\"a\"\">hi</p>\")"), std::string::npos) << Text(slot);
}

// The page generators through their commands: the real dialogs, filled and
// confirmed through their widgets, their results in the focused document.
#include "tests/shell/ShellFixture.h"

#include "controls/flat/TFlatComboBoxUnit.h"
#include "controls/flat/TFlatEditUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "controls/foldertree/DirTree.h"
#include "shell/qt/launch/Launchers.h"
#include "tests/controls/FlatTestSupport.h"
#include "tools/qt/AspGenerators.h"
#include "tools/qt/FileGenerators.h"
#include "tools/qt/PageGenerators.h"
#include "tools/qt/RtfExportDialog.h"
#include "tools/qt/framework/FileChooser.h"
#include "tools/qt/framework/RadioGroup.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QListWidget>

#include <functional>

using vx::test::ShellTest;
using namespace vx::shell;

namespace {

class LaunchGenerators : public ShellTest {
protected:
    void SetUp() override
    {
        StartAndActivate();
        editor = form->SlotEditor(1);
        Focus(editor);
        editor->Model().SetText("top");
    }
    void TearDown() override { SetDialogHost({}); }
    // The user fills the dialog (fill) and presses the named button.
    void Answer(std::function<void(QDialog&)> fill, const char* button = "SpeedButton1")
    {
        SetDialogHost([fill, button](QDialog& dialog) {
            dialog.show();
            if (fill)
                fill(dialog);
            auto* pressed = dynamic_cast<TFlatSpeedButton*>(dialog.findChild<QObject*>(button));
            vx::test::Click(*pressed, pressed->rect().center());
            return dialog.result();
        });
    }

    TmwCustomEdit* editor = nullptr;
};

} // namespace

TEST_F(LaunchGenerators, RedirectAppendsItsLine)
{
    Answer([](QDialog& d) { static_cast<Tfrm_redirect&>(d).edit1->SetText("http://x/"); });
    RunLauncher(*form, "Tfrm_redirect");
    EXPECT_EQ(Text(editor), "top\r\n<meta http-equiv=\"refresh\" content=\"1; url=http://x/\">\r\n");
}

TEST_F(LaunchGenerators, CancelAndTheFrameInsertNothing)
{
    for (const char* dialogClass : {"Tfrm_meta", "Tfrm_marquee", "Tfrm_transition", "Tfrm_tablewiz", "Tfrm_incwizard"}) {
        Answer({}, "SpeedButton2");
        RunLauncher(*form, dialogClass);
        SetDialogHost([](QDialog& dialog) {
            dialog.show();
            dialog.close();
            return dialog.result();
        });
        RunLauncher(*form, dialogClass);
        EXPECT_EQ(Text(editor), "top\r\n") << dialogClass;
    }
}

TEST_F(LaunchGenerators, MarqueeReplacesTheSelection)
{
    Answer([](QDialog& d) {
        auto& marquee = static_cast<Tfrm_marquee&>(d);
        marquee.Edit1->SetText("news");
        marquee.RadioGroup2->SetItemIndex(2);
    });
    editor->Model().SelectAll();
    RunLauncher(*form, "Tfrm_marquee");
    EXPECT_EQ(Text(editor), "<marquee  behavior=\"scroll\" >news</marquee>\r\n");
}

TEST_F(LaunchGenerators, TransitionWrapsItsHiddenEditAtTheCaret)
{
    Answer({});
    editor->Model().SetCaretXY(Point(1, 1));
    RunLauncher(*form, "Tfrm_transition");
    EXPECT_EQ(Text(editor),
              "<META http-equiv=\"Page-Enter\" CONTENT=\"RevealTrans(Duration=1.0,Transition=0)\">top\r\n");
}

TEST_F(LaunchGenerators, IncludeIsPastedRelativeToTheDocument)
{
    std::filesystem::create_directories(docs.path() / "inc");
    vx::test::writeFile(docs.file("inc/a.inc"), "");
    form->OpenDocumentInFreeSlot(WriteDoc("page.asp", "x"), false);
    Focus(editor);
    editor->Model().SetCaretXY(Point(2, 1));
    Answer([this](QDialog& d) {
        auto& wizard = static_cast<Tfrm_incwizard&>(d);
        EXPECT_EQ(wizard.Files->Directory(), docs.path().string()) << "the list starts in the document's folder";
        wizard.Files->SetDirectory(docs.file("inc"));
        wizard.Files->FileListBox1->setCurrentRow(0);
    }, "SpeedButton1");
    RunLauncher(*form, "Tfrm_incwizard");
    EXPECT_EQ(Text(editor), "x<!--#include file=\"inc/a.inc\" -->\r\n");
}

TEST_F(LaunchGenerators, NewSavesTheGeneratedPageAndOpensIt)
{
    const std::string target = docs.file("fresh.asp");
    dialogs.Queue(mrOk, target);
    Answer([](QDialog& d) { static_cast<Tfrm_newpage&>(d).Edit1->SetText("Fresh"); });
    form->New1Click();
    ASSERT_TRUE(std::filesystem::exists(target));
    const std::string saved = vx::test::readFile(target);
    EXPECT_EQ(saved.rfind("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\">\r\n<head> \r\n <title>Fresh</title>", 0), 0u)
        << saved;
    EXPECT_EQ(form->SlotFileName(1), target);

    dialogs.requests.clear();
    Answer({}, "SpeedButton2");
    form->New1Click();
    EXPECT_TRUE(dialogs.requests.empty()) << "a cancelled page asks for no file name";
}

TEST_F(LaunchGenerators, CookieBlockFollowsOneEmptyLine)
{
    Answer([](QDialog& d) { static_cast<Tfrm_cookie&>(d).edit1->SetText("theme"); });
    RunLauncher(*form, "Tfrm_cookie");
    const std::string text = Text(editor);
    EXPECT_EQ(text.rfind("top\r\n\r\n<%\r\n Response.Cookies(\"theme\") = \"\"\r\n", 0), 0u) << text;
    EXPECT_EQ(text.find('\r' + std::string("\r")), std::string::npos) << "no lone carriage return";
}

TEST_F(LaunchGenerators, ResponseStatementGoesToTheCaret)
{
    editor->Model().SetCaretXY(Point(1, 1));
    Answer([](QDialog& d) { static_cast<Tfrm_responsewiz&>(d).ComboBox1->SetItemIndex(5); });
    RunLauncher(*form, "Tfrm_responsewiz");
    EXPECT_EQ(Text(editor), "<% Response.Charset = \"Charset_Name\" %>top\r\n");

    Answer({}, "SpeedButton2");
    RunLauncher(*form, "Tfrm_responsewiz");
    EXPECT_EQ(Text(editor), "<% Response.Charset = \"Charset_Name\" %>top\r\n");
}

TEST_F(LaunchGenerators, RtfExportWritesTheDocumentAndInsertsNothing)
{
    editor->Model().SetText("<b>exported</b>");
    Answer([this](QDialog& d) { static_cast<Tfrm_rtfexport&>(d).DirTree1->SetSelectedDir(docs.path().string()); });
    RunLauncher(*form, "Tfrm_rtfexport");
    EXPECT_EQ(Text(editor), "<b>exported</b>\r\n");
    const std::string rtf = vx::test::readFile(docs.file("export.rtf"));
    EXPECT_EQ(rtf.rfind("{\\rtf", 0), 0u);
    EXPECT_NE(rtf.find("exported"), std::string::npos);
}

TEST_F(LaunchGenerators, TheMenusGeneratorItemsRunTheirDialogs)
{
    auto* meta = form->findChild<QAction*>("Metataggenerator1");
    ASSERT_NE(meta, nullptr);
    EXPECT_TRUE(meta->isEnabled());
    for (const char* name : {"Redirectpagewizard1", "TableWizard1", "Marqueewizard1", "Pagetransitionwizard1",
                             "Substitution1", "IncludefileWizard1", "Soundwizard1", "Showdocumentinformation1"}) {
        auto* action = form->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_TRUE(action->isEnabled()) << name;
    }
    Answer({});
    meta->trigger();
    EXPECT_NE(Text(editor).find("<!-- start of meta-tags -->"), std::string::npos);
}

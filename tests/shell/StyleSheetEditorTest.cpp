// The external style-sheet editor's commands as the user reaches them, with
// the test tree's hook library standing for the editor's: usable once the
// library registers, they hand the focused file or style text to it and take
// the edited text back.
#include "tests/shell/MenuDriver.h"
#include "tests/shell/ShellFixture.h"

#include "controls/speedbar/SpeedBar.h"
#include "platform/FileIO.h"
#include "shell/qt/mainwindow/PrefForm.h"
#include "shell/qt/menu/MenuBuilder.h"
#include "shell/TopStyleHook.h"

#include <QLabel>
#include <QTest>

#include <cstdlib>

using vx::shell::TopStyleHook;
using vx::test::ShellTest;

namespace {

class StyleSheetEditorTest : public ShellTest {
protected:
    void SetUp() override
    {
        TopStyleHook().Unload();
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        reg.OpenKey(vx::shell::TTopStyleHook::AppPathsKey, true);
        reg.WriteString("", VX_TSHOOK_LIBRARY);
        reg.CloseKey();
        setenv("VX_TSHOOK_LOG", log.c_str(), 1);
        StartAndActivate();
    }
    void TearDown() override
    {
        unsetenv("VX_TSHOOK_LOG");
        TopStyleHook().Unload();
    }
    // A click on the tool button of the command.
    void ClickTool(const char* name)
    {
        TSpeedItem* item = form->SpeedBar1->FindItemByName(name);
        ASSERT_NE(item, nullptr) << name;
        ASSERT_TRUE(item->Enabled()) << name;
        QTest::mouseClick(item->Button(), Qt::LeftButton);
    }
    std::string Log() const { return vx::FileExists(log) ? vx::test::readFile(log) : ""; }
    std::string LastMessage() const { return dialogs.requests.empty() ? "" : dialogs.requests.back().text; }

    const std::string log = docs.file("tshook.log");
};

} // namespace

TEST_F(StyleSheetEditorTest, TheCommandsAreUsableOnceTheEditorRegisters)
{
    EXPECT_TRUE(TopStyleHook().Registered());
    EXPECT_EQ(frm_pref->TopStyleLabel->text(), "Yes!");
    for (const char* name : {"LaunchStylesheeteditorCSS1", "LaunchStylesheeteditor1", "LaunchStylesheeteditor2",
                             "LaunchTopstyle1", "Editstyleinselectedpartoftext1", "EditstylesheetwithTopStyle1"}) {
        QAction* action = form->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_TRUE(action->isEnabled()) << name;
    }
    // Its website has no address to open.
    QAction* visit = form->findChild<QAction*>("VisitTopstylewebsite1");
    ASSERT_NE(visit, nullptr);
    EXPECT_FALSE(visit->isEnabled());
    EXPECT_EQ(visit->property(vx::shell::menu::DisabledReason).toString(), "no address of the TopStyle website is known");
    for (const char* name : {"LaunchStylesheeteditorCSS1", "LaunchStylesheeteditor2", "Editstyleinselectedpartoftext1"})
        EXPECT_TRUE(form->SpeedBar1->FindItemByName(name)->Enabled()) << name;
}

TEST_F(StyleSheetEditorTest, TheSelectedStyleIsEditedInPlace)
{
    OpenAndFocus(WriteDoc("page.htm", "<style>\r\nh1 { color: red }\r\n</style>\r\n"));
    TmwCustomEdit* editor = form->ActiveEditor();
    ASSERT_NE(editor, nullptr);
    vx::test::SelectRange(*editor, 2, 1, 18);
    ClickTool("Editstyleinselectedpartoftext1");
    EXPECT_EQ(Text(editor), "<style>\r\nH1 { COLOR: RED }\r\n</style>\r\n");
}

TEST_F(StyleSheetEditorTest, EditStylesheetWithTopStyleEditsTheBodyOfTheEnclosingStyleElement)
{
    OpenAndFocus(WriteDoc("page.htm", "<p>Text</p>\r\n<style>\r\np { margin: 0 }\r\n</style>\r\n"));
    TmwCustomEdit* editor = form->ActiveEditor();
    ASSERT_NE(editor, nullptr);
    editor->Model().SetCaretXY(Point(4, 3));
    // An item of the editor's pop-up menu.
    form->findChild<QAction*>("EditstylesheetwithTopStyle1")->trigger();
    EXPECT_EQ(Text(editor), "<p>Text</p>\r\n<style>\r\nP { MARGIN: 0 }\r\n</style>\r\n");

    editor->Model().SetCaretXY(Point(3, 1));
    form->findChild<QAction*>("EditstylesheetwithTopStyle1")->trigger();
    EXPECT_EQ(Text(editor), "<p>Text</p>\r\n<style>\r\nP { MARGIN: 0 }\r\n</style>\r\n")
        << "a block that is no style element is left alone";
}

TEST_F(StyleSheetEditorTest, TheLaunchCommandsHandTheFocusedFileToTheEditor)
{
    const std::string page = WriteDoc("page.htm", "<p>\r\n");
    OpenAndFocus(page);
    ClickTool("LaunchStylesheeteditorCSS1");
    EXPECT_EQ(LastMessage(), " Please open and select a stylesheet file (*.css) first ");
    EXPECT_EQ(Log(), "");

    vx::test::PickMenuItem(*form, {"Insertstatements1", "HTMLStyleSheets1", "LaunchTopstyle1"});
    EXPECT_EQ(Log(), page + "|\n") << "any file for the plain launch";

    const std::string sheet = WriteDoc("main.css", "p {}\r\n");
    OpenAndFocus(sheet);
    ClickTool("LaunchStylesheeteditorCSS1");
    EXPECT_EQ(Log(), page + "|\n" + sheet + "|\n");

    Focus(form->SlotEditor(3));
    ClickTool("LaunchStylesheeteditor2");
    EXPECT_EQ(Log(), page + "|\n" + sheet + "|\n") << "an unnamed document goes nowhere";
}

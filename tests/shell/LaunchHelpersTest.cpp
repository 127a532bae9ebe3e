// The text and link helpers through their commands: the real dialogs,
// answered through their widgets, their results in the focused document.
#include "tests/shell/ShellFixture.h"

#include "controls/flat/TFlatEditUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "platform/qt/QtText.h"
#include "shell/qt/launch/Launchers.h"
#include "tests/controls/FlatTestSupport.h"
#include "tools/qt/ColourPicker.h"
#include "tools/qt/FontDialogs.h"
#include "tools/qt/TextDialogs.h"

#include <QDialog>
#include <QListWidget>

#include <functional>

using vx::test::ShellTest;
using namespace vx::shell;

namespace {

class LaunchHelpers : public ShellTest {
protected:
    void SetUp() override
    {
        StartAndActivate();
        editor = form->SlotEditor(1);
        Focus(editor);
        editor->Model().SetText("one two");
    }
    void TearDown() override { SetDialogHost({}); }
    // The user acts on the shown dialog; the host answers its result.
    void Answer(std::function<void(QDialog&)> act)
    {
        SetDialogHost([act](QDialog& dialog) {
            dialog.show();
            act(dialog);
            if (dialog.isVisible())
                dialog.close();
            return dialog.result();
        });
    }
    void Select(int from, int to)
    {
        editor->Model().SetCaretXY(Point(to, 1));
        editor->Model().SetBlockBegin(Point(from, 1));
        editor->Model().SetBlockEnd(Point(to, 1));
    }
    static void Press(QDialog& dialog, const char* name)
    {
        auto* button = dynamic_cast<TFlatSpeedButton*>(dialog.findChild<QObject*>(name));
        vx::test::Click(*button, button->rect().center());
    }
    static void ClickFirstItem(QListWidget& list)
    {
        vx::test::Click(*list.viewport(), list.visualItemRect(list.item(0)).center());
    }

    TmwCustomEdit* editor = nullptr;
};

} // namespace

TEST_F(LaunchHelpers, EntityReplacesTheSelectionWithTheCaretAfterIt)
{
    Select(5, 8);
    Answer([](QDialog& d) {
        auto& map = static_cast<Tfrm_charmap&>(d);
        const auto found =
            map.lvCharacters->findItems(QString::fromUtf16(u"\u00C6 AE dipthong (ligature)"), Qt::MatchExactly);
        ASSERT_FALSE(found.isEmpty());
        map.lvCharacters->scrollToItem(found.front());
        vx::test::Click(*map.lvCharacters->viewport(), map.lvCharacters->visualItemRect(found.front()).center());
        Press(d, "sbtnPaste");
    });
    RunLauncher(*form, "Tfrm_charmap");
    EXPECT_EQ(Text(editor), "one &AElig;\r\n");
    EXPECT_EQ(editor->Model().CaretX(), 12);

    Answer([](QDialog& d) { Press(d, "sbtnClose"); });
    RunLauncher(*form, "Tfrm_charmap");
    EXPECT_EQ(Text(editor), "one &AElig;\r\n");
}

TEST_F(LaunchHelpers, ColourPickerInsertsOnlyAPickedColour)
{
    editor->Model().SetCaretXY(Point(1, 1));
    Answer([](QDialog& d) {
        auto& picker = static_cast<Tfrm_colorpicker&>(d);
        vx::test::MouseMove(*picker.img216Colors, QPoint(2, 2));
    });
    RunLauncher(*form, "Tfrm_colorpicker");
    EXPECT_EQ(Text(editor), "one two\r\n") << "closing without a choice inserts nothing";

    Answer([](QDialog& d) {
        auto& picker = static_cast<Tfrm_colorpicker&>(d);
        vx::test::Click(*picker.img216Colors, picker.img216Colors->rect().bottomRight() - QPoint(1, 1));
    });
    RunLauncher(*form, "Tfrm_colorpicker");
    EXPECT_EQ(Text(editor), "#FFFFFFone two\r\n");
}

TEST_F(LaunchHelpers, DateAndTimeInsertTheSelectedItemsOnOk)
{
    editor->Model().SetCaretXY(Point(1, 1));
    Answer([](QDialog& d) {
        auto& dates = static_cast<Tfrm_datetime&>(d);
        ClickFirstItem(*dates.ListBox2);
        Press(d, "SpeedButton2");
    });
    RunLauncher(*form, "Tfrm_datetime");
    EXPECT_EQ(Text(editor), "one two\r\n") << "Cancel inserts nothing";

    std::string time;
    Answer([&time](QDialog& d) {
        auto& dates = static_cast<Tfrm_datetime&>(d);
        ClickFirstItem(*dates.ListBox2);
        time = vx::FromQString(dates.ListBox2->item(0)->text());
        Press(d, "SpeedButton1");
    });
    RunLauncher(*form, "Tfrm_datetime");
    EXPECT_EQ(Text(editor), " " + time + " one two\r\n");
}

TEST_F(LaunchHelpers, MakeFunctionReplacesTheSelectionOnlyWithAResult)
{
    Select(1, 4);
    Answer([](QDialog& d) { Press(d, "SpeedButton2"); });
    RunLauncher(*form, "Tfrm_makefunction");
    EXPECT_EQ(Text(editor), "one two\r\n") << "a cancelled function keeps the selected text";

    Select(1, 4);
    Answer([](QDialog& d) {
        static_cast<Tfrm_makefunction&>(d).Edit1->SetText("F");
        Press(d, "SpeedButton1");
    });
    RunLauncher(*form, "Tfrm_makefunction");
    const std::string text = Text(editor);
    EXPECT_EQ(text.rfind("<%\r\n", 0), 0u) << text;
    EXPECT_NE(text.find("function F\r\n response.write (\"one\")\r\nend function\r\n%> two"), std::string::npos) << text;
}

// Beautify Source (F12) on an indented page: the window opens on the focused
// document, its "Beautify" button re-indents the page by its real nesting, and
// Close puts the result into the document with the indentation kept.
//
// With $VX_BEAUTIFY_SHOT naming a PNG file, the window is saved there after
// the beautification. Run it on a (virtual) display, for instance:
//   VX_BEAUTIFY_SHOT=$PWD/beautify.png QT_QPA_PLATFORM=xcb xvfb-run -a build/test/tests/test_shell
//     --gtest_filter='BeautifySourceTest.*'
#include "tests/shell/ShellFixture.h"

#include "shell/qt/launch/Launchers.h"
#include "tests/tools/DialogClicks.h"
#include "tools/qt/SourceBeautifierDialog.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

#include <cstdlib>

using vx::test::ClickButton;
using vx::test::ShellTest;

namespace {

class BeautifySourceTest : public ShellTest {
protected:
    void SetUp() override { StartAndActivate(); }
    void TearDown() override { vx::shell::SetDialogHost({}); }
};

} // namespace

TEST_F(BeautifySourceTest, F12BeautifiesAnIndentedPageKeepingItsIndentation)
{
    const char* const page = "<html>\r\n"
                             "  <body>\r\n"
                             "    <table border=\"1\">\r\n"
                             "      <tr><th>Name<th>Notes</tr>\r\n"
                             "      <% Do While Not rs.EOF %>\r\n"
                             "      <tr>\r\n"
                             "        <td><%= rs(\"name\") %>\r\n"
                             "        <td><%= rs(\"notes\") %>\r\n"
                             "      </tr>\r\n"
                             "      <% rs.MoveNext : Loop %>\r\n"
                             "    </table>\r\n"
                             "    <!--[if IE]><p>Old  browser</p><![endif]-->\r\n"
                             "    <pre>\r\n"
                             "  kept   as   written\r\n"
                             "    </pre>\r\n"
                             "  </body>\r\n"
                             "</html>\r\n";
    const vx::tools::TClockReading when{2026, 12, 7, 1, 14, 30, 0};
    TmwCustomEdit* slot = form->SlotEditor(1);
    slot->Model().SetText(page);
    Focus(slot);
    bool shown = false;
    vx::shell::SetDialogHost([&](QDialog& dialog) {
        auto& beautifier = static_cast<TFrm_aspb&>(dialog);
        beautifier.Clock = [when] { return when; };
        beautifier.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&beautifier));
        EXPECT_EQ(beautifier.memo1->toPlainText().toStdString().substr(0, 8), "<html>\n ") << "the document is handed in";
        ClickButton(beautifier, "SpeedButton1");
        if (const char* shot = std::getenv("VX_BEAUTIFY_SHOT")) {
            beautifier.memo1->verticalScrollBar()->setValue(0);
            QTest::qWait(200);
            EXPECT_TRUE(beautifier.grab().save(shot, "PNG")) << shot;
        }
        shown = true;
        ClickButton(beautifier, "SpeedButton2");
        return beautifier.result();
    });
    QTest::keyClick(slot, Qt::Key_F12);
    ASSERT_TRUE(shown) << "F12 opens the beautifier";
    EXPECT_EQ(Text(slot), vx::tools::BeautifyBanner(vx::tools::ShortDateLongTime(when)) +
                              "\r\n"
                              "\r\n"
                              "<html>\r\n"
                              "   <body>\r\n"
                              "      <table border=\"1\">\r\n"
                              "         <tr><th>Name<th>Notes</tr>\r\n"
                              "         <% Do While Not rs.EOF %>\r\n"
                              "            <tr>\r\n"
                              "               <td><%= rs(\"name\") %>\r\n"
                              "               <td><%= rs(\"notes\") %>\r\n"
                              "            </tr>\r\n"
                              "         <% rs.MoveNext : Loop %>\r\n"
                              "      </table>\r\n"
                              "      <!--[if IE]><p>Old  browser</p><![endif]-->\r\n"
                              "      <pre>\r\n"
                              "  kept   as   written\r\n"
                              "    </pre>\r\n"
                              "   </body>\r\n"
                              "</html>\r\n");
}

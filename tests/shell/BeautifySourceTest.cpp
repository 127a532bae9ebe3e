// Beautify Source (F12) on an ASP page: the window opens on the focused
// document, its "Beautify" button re-indents the page by its real nesting and
// the VBScript of its server blocks by their blocks, and Close puts the result
// into the document; what the browser reads as written stays as it was.
//
// With $VX_BEAUTIFY_SHOT naming a PNG file, the window is saved there after
// the beautification, scrolled to the page's table. Run it on a (virtual)
// display, for instance:
//   VX_BEAUTIFY_SHOT=$PWD/beautify.png QT_QPA_PLATFORM=xcb LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
//     xvfb-run -a -s "-screen 0 1280x1024x24" build/test/tests/test_shell --gtest_filter='BeautifySourceTest.*'
#include "tests/shell/ShellFixture.h"

#include "shell/qt/launch/Launchers.h"
#include "tests/tools/BeautifiedLines.h"
#include "tests/tools/DialogClicks.h"
#include "tools/qt/SourceBeautifierDialog.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTest>

#include <cstdlib>

using vx::test::ClickButton;
using vx::tools::test::JoinedLines;
using vx::test::ShellTest;

namespace {

class BeautifySourceTest : public ShellTest {
protected:
    void SetUp() override { StartAndActivate(); }
    void TearDown() override { vx::shell::SetDialogHost({}); }
};

} // namespace

TEST_F(BeautifySourceTest, F12IndentsTheScriptOfAnAspPageAndKeepsWhatIsReadAsWritten)
{
    const std::string page = JoinedLines({
        "<%@ Language=VBScript %>",
        "<%",
        "' The orders of the day",
        "Dim rs, total, i",
        "Set rs = Conn.Execute(\"SELECT  name, qty  FROM orders\")",
        "%>",
        "<html>",
        "  <head>",
        "    <style type=\"text/css\">",
        "      td  { padding: 2px }",
        "    </style>",
        "    <script language=\"JavaScript\">",
        "      function check() {  return  true; }",
        "    </script>",
        "  </head>",
        "  <body>",
        "    <!--[if IE]><p>Old  browser</p><![endif]-->",
        "    <table border=\"1\">",
        "      <% Do While Not rs.EOF %>",
        "      <tr>",
        "        <td><%= rs(\"name\") %>",
        "        <%",
        "        If rs(\"qty\") > 0 Then",
        "        total = total + rs(\"qty\")   ' counted",
        "        Else",
        "        Response.Write \"none  here\"",
        "        EndIf",
        "        For i = 1 To 3 : total = total + i : Next",
        "        rs.MoveNext",
        "        Loop",
        "        %>",
        "    </table>",
        "    <pre>",
        "  kept   as   written",
        "    </pre>",
        "  </body>",
        "</html>",
    });
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
        EXPECT_EQ(beautifier.memo1->toPlainText().toStdString().substr(0, 27), "<%@ Language=VBScript %>\n<%")
            << "the document is handed in";
        ClickButton(beautifier, "SpeedButton1");
        if (const char* shot = std::getenv("VX_BEAUTIFY_SHOT")) {
            // From the table on: the lines the script's blocks indent.
            const QTextBlock table = beautifier.memo1->document()->find("<table").block();
            beautifier.memo1->verticalScrollBar()->setValue(table.blockNumber());
            QTest::qWait(200);
            EXPECT_TRUE(beautifier.grab().save(shot, "PNG")) << shot;
        }
        shown = true;
        ClickButton(beautifier, "SpeedButton2");
        return beautifier.result();
    });
    QTest::keyClick(slot, Qt::Key_F12);
    ASSERT_TRUE(shown) << "F12 opens the beautifier";
    EXPECT_EQ(Text(slot), vx::tools::BeautifyBanner(when) + "\r\n\r\n" +
                              JoinedLines({
                                  "<%@ Language=VBScript %>",
                                  "<%",
                                  "' The orders of the day",
                                  "Dim rs, total, i",
                                  "Set rs = Conn.Execute(\"SELECT  name, qty  FROM orders\")",
                                  "%>",
                                  "<html>",
                                  "   <head>",
                                  "   <style type=\"text/css\">",
                                  "      td  { padding: 2px }",
                                  "    </style>",
                                  "   <script language=\"JavaScript\">",
                                  "      function check() {  return  true; }",
                                  "    </script>",
                                  "   </head>",
                                  "   <body>",
                                  "      <!--[if IE]><p>Old  browser</p><![endif]-->",
                                  "      <table border=\"1\">",
                                  "         <%",
                                  "         Do While Not rs.EOF",
                                  "         %>",
                                  "            <tr>",
                                  "               <td><%= rs(\"name\") %>",
                                  "               <%",
                                  "                  If rs(\"qty\") > 0 Then",
                                  "                     total = total + rs(\"qty\") ' counted",
                                  "                  Else",
                                  "                     Response.Write \"none  here\"",
                                  "                  end if",
                                  "                  For i = 1 To 3 : total = total + i : Next",
                                  "                  rs.MoveNext",
                                  "               Loop",
                                  "               %>",
                                  "      </table>",
                                  "      <pre>",
                                  "  kept   as   written",
                                  "    </pre>",
                                  "   </body>",
                                  "</html>",
                              }));
}

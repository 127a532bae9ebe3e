// The source beautifier: keys, replacing, indentation of HTML and VBScript.
#include "tests/support/FormatSettingsScope.h"
#include "tests/tools/BeautifiedLines.h"

#include <gtest/gtest.h>

using namespace vx::tools;
using vx::tools::test::BeautifyLines;
using vx::tools::test::JoinedLines;
using vx::tools::test::Marked;
using vx::tools::test::ShippedOptions;

namespace {

using TLines = std::vector<std::string>;

TBeautifyOptions Shipped(TIndentUnit unit = TIndentUnit::Space3)
{
    return ShippedOptions(unit);
}

} // namespace

TEST(SourceBeautifier, Keys)
{
    const std::pair<const char*, const char*> words[] = {
        {"For  i = 1", "FOR||I|=|1"},
        {"x = \"it's\" ' For", "X|=||"},
        {"Rem For", ""},
        {"x = 1 : rem For", "X|=|1|:|"},
        {"Remark = \"a b\"", "REMARK|=|"},
        {"If s = \"a\"\"b\" Then", "IF|S|=||THEN"},
    };
    for (const auto& [line, key] : words)
        EXPECT_EQ(MakeWordKey(line), Marked(key)) << line;
    EXPECT_EQ(MakeLineKey("<td>x</td>"), Marked("||<TD>|X|</TD>||"));
    EXPECT_EQ(WordKeys({Marked(" |for| ")}), TLines{Marked("|FOR|")}) << "lists are trimmed and upper-cased";
}

TEST(SourceBeautifier, ReplaceAll)
{
    EXPECT_EQ(ReplaceAllText("aAaa", "aa", "a"), "a") << "a shrinking replacement collapses runs";
    EXPECT_EQ(ReplaceAllText("abAB", "ab", "xab"), "xabxab") << "one pass when the replacement holds the search";
    EXPECT_EQ(ReplaceAllText("EndIf", "endif", "end if"), "end if");
    EXPECT_EQ(ReplaceOutsideQuotes("a  \"b  c\"  d", "  ", " "), "a \"b  c\" d");
    EXPECT_EQ(ReplaceOutsideQuotes("\"x\ny\"  z", "  ", " "), "\"x\ny\" z") << "quotes pair across line ends";
}

TEST(SourceBeautifier, IndentUnits)
{
    EXPECT_EQ(IndentOf(1, TIndentUnit::Space3), "   ");
    EXPECT_EQ(IndentOf(2, TIndentUnit::Space1), "  ");
    EXPECT_EQ(IndentOf(2, TIndentUnit::Space2), "    ");
    EXPECT_EQ(IndentOf(3, TIndentUnit::Tab1), "\t\t\t");
    EXPECT_EQ(IndentOf(2, TIndentUnit::Tab2), "\t\t\t\t");
    EXPECT_EQ(IndentOf(50, TIndentUnit::Tab2), std::string(80, '\t'));
    EXPECT_EQ(IndentOf(50, TIndentUnit::Space3), std::string(129, ' '));
    EXPECT_EQ(IndentOf(0, TIndentUnit::Space3), "");
    EXPECT_EQ(IndentOf(-2, TIndentUnit::Space3), "");
}

TEST(SourceBeautifier, ScriptNesting)
{
    struct Case {
        const char* name;
        TLines in;
        TLines out;
    };
    const Case cases[] = {
        {"for and next", {"For i = 1 To 10", "x = i", "Next"}, {"For i = 1 To 10", "   x = i", "Next"}},
        {"if else", {"If a Then", "b", "Else", "c", "End If"}, {"If a Then", "   b", "Else", "   c", "End If"}},
        {"end function does not raise", {"Function f(x)", "f = x", "End Function", "y = 1"},
         {"Function f(x)", "   f = x", "End Function", "y = 1"}},
        {"sub and select",
         {"Sub s", "Select Case x", "Case 1", "y", "End Select", "End Sub"},
         {"Sub s", "   Select Case x", "      Case 1", "      y", "   End Select", "End Sub"}},
        {"one-line if", {"If a Then b = 1", "c"}, {"If a Then b = 1 end if", "c"}},
        {"exit for is no block", {"For i = 1 To 2", "Exit For", "Next", "x"},
         {"For i = 1 To 2", "   Exit For", "Next", "x"}},
        {"loop while is one unit", {"Do", "x", "Loop While x < 3", "y"}, {"Do", "   x", "Loop While x < 3", "y"}},
        {"do while", {"Do While x", "x", "Loop"}, {"Do While x", "   x", "Loop"}},
        {"while and wend", {"While x", "x", "Wend"}, {"While x", "   x", "Wend"}},
        {"whole words only", {"Doc = 1", "Format = 2", "x"}, {"Doc = 1", "Format = 2", "x"}},
        {"apostrophe inside a string", {"If s = \"it's\" Then", "x", "End If"},
         {"If s = \"it's\" Then", "   x", "End If"}},
        {"comment names a keyword", {"x = 1 ' For each", "Rem Next", "y"}, {"x = 1 ' For each", "Rem Next", "y"}},
        {"continued lines", {"If a And _", "b Then", "c", "End If"}, {"If a And _", "b Then", "   c", "End If"}},
        {"continued one-line if", {"If a Then _", "b = 1", "c"}, {"If a Then _", "b = 1 end if", "c"}},
        {"blanks outside quotes", {"  x   =\t\"a    b\"  "}, {"x = \"a    b\""}},
        {"endif as a word", {"sendif = 1", "EndIf"}, {"sendif = 1", "end if"}},
        {"nested", {"For i = 1 To 2", "If a Then", "b", "End If", "Next"},
         {"For i = 1 To 2", "   If a Then", "      b", "   End If", "Next"}},
    };
    for (const Case& c : cases) {
        const TLines once = BeautifyLines(JoinedLines(c.in), Shipped());
        EXPECT_EQ(once, c.out) << c.name;
        EXPECT_EQ(BeautifyLines(JoinedLines(once), Shipped()), once) << c.name << ": stable when run twice";
    }
}

TEST(SourceBeautifier, ScriptWithDelimiters)
{
    // A text that does not open with "<" is a script, even with delimiters in it.
    const TLines script = {"x = 1", "<html>", "<body>", "<% For i = 1 To 2 %>", "<p><%= i %></p>", "<% Next %>",
                           "</body>", "</html>"};
    const TLines expected = {"x = 1",      "<html>",      "   <body>",     "      <%",
                             "      For i = 1 To 2",      "         %>", "         <p><%= i %></p>",
                             "         <%", "      Next", "      %>",     "   </body>",
                             "</html>"};
    const TLines once = BeautifyLines(JoinedLines(script), Shipped());
    EXPECT_EQ(once, expected);
    EXPECT_EQ(BeautifyLines(JoinedLines(once), Shipped()), once);
    EXPECT_TRUE(HasScriptBlocks(JoinedLines(script)));
    EXPECT_FALSE(HasScriptBlocks("For i = 1 To 2\r\nNext"));
}

TEST(SourceBeautifier, DelimitersGetLinesOfTheirOwn)
{
    const struct {
        const char* in;
        TLines out;
    } cases[] = {
        {"a<%<% b%>c", {"a", "<%", "<%", "b", "%>", "c"}},
        {"x <%>y", {"x <", "%>", "y"}},
        {"p\r\n \"a\r\n \r\n b\" \r\n<p>", {"p", "\"a", "b\"", "<p>"}},
        {"x<% If a Then %><b>", {"x", "<%", "If a Then", "   %>", "   <b>"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BeautifyLines(c.in, Shipped()), c.out) << c.in;
}

TEST(SourceBeautifier, SwitchesAndProgress)
{
    TBeautifyOptions options = Shipped(TIndentUnit::Tab1);
    options.Script = false;
    EXPECT_EQ(BeautifyLines("For i = 1 To 2\nx\nNext\n", options), (TLines{"For i = 1 To 2", "x", "Next"}));
    options = Shipped(TIndentUnit::Tab1);
    options.Html = false;
    EXPECT_EQ(BeautifyLines("table\n<%\nIf a Then\nb\nEnd If\n%>\n<tr>", options),
              (TLines{"table", "<%", "If a Then", "\tb", "End If", "%>", "<tr>"}));
    for (const char* text : {"x", "<p>"}) {
        std::vector<int> steps;
        BeautifyLines(text, Shipped(), [&steps](int step) { steps.push_back(step); });
        EXPECT_EQ(steps, (std::vector<int>{1, 2, 3, 6})) << text;
    }
    EXPECT_EQ(BeautifyLines("", Shipped()), TLines{});
    EXPECT_EQ(BeautifyText("<p>\r\nx\ry", Shipped()), "<p>\nx\ny\n") << "every line ends in LF, the last too";
    // The date is code of the page: one form in every language.
    const std::string banner = "<!--code beautified 1/2/2026 1:02:03 PM by Vellumix Professional 1.0-->";
    EXPECT_EQ(BeautifyBanner({2026, 1, 2, 5, 13, 2, 3}), banner);
    const vx::test::TFormatSettingsScope dutch(vx::test::DutchFormats());
    EXPECT_EQ(BeautifyBanner({2026, 1, 2, 5, 13, 2, 3}), banner) << "with Dutch chosen";
}

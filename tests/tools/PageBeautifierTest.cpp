// The source beautifier on pages: lines indented by the elements HTML keeps
// open and by the VBScript blocks of the server blocks, and what the server
// and the browser read as written copied unchanged.
#include "tests/tools/BeautifiedLines.h"
#include "tests/tools/PageChecks.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vx::tools;
using vx::tools::test::BeautifyLines;
using vx::tools::test::JoinedLines;
using vx::tools::test::Marked;
using vx::tools::test::ShippedOptions;

namespace {

using TLines = std::vector<std::string>;

std::vector<std::string> Keys(std::initializer_list<const char*> words)
{
    std::vector<std::string> lines;
    for (const char* word : words)
        lines.push_back(Marked(word));
    return WordKeys(lines);
}

TBeautifyOptions Shipped()
{
    return ShippedOptions(TIndentUnit::Space1);
}

// The shipped lists with more elements that indent, and their end tags.
TBeautifyOptions With(std::initializer_list<const char*> names)
{
    TBeautifyOptions options = Shipped();
    for (const char* name : names) {
        options.IndentHtml.push_back(Keys({("|<" + std::string(name)).c_str()}).front());
        options.OutdentHtml.push_back(Keys({("|</" + std::string(name)).c_str()}).front());
    }
    return options;
}

// What the browser or a server other than VBScript reads as written; blocks
// of statements are re-indented.
bool KeptUnchanged(vx::test::TRegionKind kind)
{
    return kind != vx::test::TRegionKind::Statements;
}

} // namespace

TEST(PageBeautifier, LinesStandAtTheNestingHtmlGivesThem)
{
    struct Case {
        const char* name;
        TBeautifyOptions options;
        TLines in;
        TLines out;
    };
    const Case cases[] = {
        {"unclosed cells and rows", Shipped(),
         {"<table>", "<tr>", "<td>a", "<td>b", "<th>c", "<tr>", "<td>d", "</table>", "<p>e"},
         {"<table>", " <tr>", "  <td>a", "  <td>b", "  <th>c", " <tr>", "  <td>d", "</table>", "<p>e"}},
        {"rows on one line", Shipped(),
         {"<table>", "<tr><td>a<td>b", "<tr><td>c</td></tr>", "<tr><td>d</td>", "</tr>", "</table>"},
         {"<table>", " <tr><td>a<td>b", " <tr><td>c</td></tr>", " <tr><td>d</td>", " </tr>", "</table>"}},
        {"table sections", Shipped(),
         {"<table>", "<thead>", "<tr><th>h", "<tbody>", "<tr>", "<td>x", "<tfoot>", "<tr><td>f", "</table>"},
         {"<table>", " <thead>", " <tr><th>h", " <tbody>", " <tr>", "  <td>x", " <tfoot>", " <tr><td>f", "</table>"}},
        {"a cell's table", Shipped(),
         {"<table><tr><td>", "<table>", "<tr><td>a<td>b", "</table>", "<td>c", "</table>"},
         {"<table><tr><td>", "   <table>", "    <tr><td>a<td>b", "   </table>", "  <td>c", "</table>"}},
        {"an open font ends with its cell", Shipped(),
         {"<table><tr><td><font size=1>", "x", "<td>y", "</table>"},
         {"<table><tr><td><font size=1>", "    x", "  <td>y", "</table>"}},
        {"list items", With({"ul", "li"}),
         {"<ul>", "<li>a", "<li>b", "<ul>", "<li>c", "</ul>", "<li>d", "</ul>"},
         {"<ul>", " <li>a", " <li>b", "  <ul>", "   <li>c", "  </ul>", " <li>d", "</ul>"}},
        {"paragraphs", With({"p", "div"}),
         {"<p>", "a", "<p>b", "<div>c</div>", "<p>", "d", "<table>", "</table>"},
         {"<p>", " a", "<p>b", "<div>c</div>", "<p>", " d", "<table>", "</table>"}},
        {"terms and definitions", With({"dl", "dt", "dd"}),
         {"<dl>", "<dt>a", "<dd>b", "c", "<dt>d", "</dl>"}, {"<dl>", " <dt>a", " <dd>b", "  c", " <dt>d", "</dl>"}},
        {"options", With({"select", "option"}),
         {"<select>", "<option>a", "<option>b", "</select>"}, {"<select>", " <option>a", " <option>b", "</select>"}},
        {"stray table tags outside a table", Shipped(), {"</td>", "<tr>", "<td>x", "y"}, {"</td>", "<tr>", "<td>x", "y"}},
        {"an end tag off the outdent list stays in", [] {
             TBeautifyOptions o = Shipped();
             o.OutdentHtml = Keys({"|</table"});
             return o;
         }(),
         {"<table>", "<tr>", "<td>", "x", "</td>", "</table>"},
         {"<table>", " <tr>", "  <td>", "   x", "   </td>", "</table>"}},
        {"an entry naming an attribute", [] {
             TBeautifyOptions o = Shipped();
             o.IndentHtml = Keys({"|<table|border"});
             return o;
         }(),
         {"<table border=1>", "<tr>", "</table>", "<table>", "<tr>", "</table>"},
         {"<table border=1>", " <tr>", "</table>", "<table>", "<tr>", "</table>"}},
        {"html indention off", [] {
             TBeautifyOptions o = Shipped();
             o.Html = false;
             return o;
         }(),
         {"<table>", "<tr>", "<% If a Then %>", "<td>x", "<% End If %>"},
         {"<table>", "<tr>", "<%", "If a Then", "%>", " <td>x", "<%", "End If", "%>"}},
    };
    for (const Case& c : cases) {
        const TLines once = BeautifyLines(JoinedLines(c.in), c.options);
        EXPECT_EQ(once, c.out) << c.name;
        EXPECT_EQ(BeautifyLines(JoinedLines(once), c.options), once) << c.name << ": stable when run twice";
    }
}

TEST(PageBeautifier, ServerBlocksOpenScriptLevels)
{
    struct Case {
        const char* name;
        TLines in;
        TLines out;
    };
    const Case cases[] = {
        {"a loop around rows", {"<table>", "<% For Each r In rs %>", "<tr><td>x</td></tr>", "<% Next %>", "</table>"},
         {"<table>", " <%", " For Each r In rs", " %>", "  <tr><td>x</td></tr>", " <%", " Next", " %>", "</table>"}},
        {"if and else", {"<p>", "<% If a Then %>", "<b>x</b>", "<% Else %>", "<i>y</i>", "<% End If %>"},
         {"<p>", "<%", "If a Then", "%>", " <b>x</b>", "<%", "Else", "%>", " <i>y</i>", "<%", "End If", "%>"}},
        {"statements parted by colons",
         {"<% For i = 1 To 3 : x = x + i : Next %>", "<p>", "<% Do : Loop %>", "<% Do While a %>", "<p>",
          "<% a.MoveNext : Loop %>"},
         {"<%", "For i = 1 To 3 : x = x + i : Next", "%>", "<p>", "<%", "Do : Loop", "%>", "<%", "Do While a", "%>",
          " <p>", "<%", "a.MoveNext : Loop", "%>"}},
        {"a block over lines",
         {"<table>", "<%", "  Do While Not rs.EOF", "%>", "<tr>", "<%", "  rs.MoveNext", "  Loop", "%>", "</table>"},
         {"<table>", " <%", " Do While Not rs.EOF", " %>", "  <tr>", "  <%", "   rs.MoveNext", "  Loop", "  %>",
          "</table>"}},
        {"blocks nested in one server block",
         {"<%", "For i = 1 To 3", "x = i", "If x > 1 Then", "Do While y", "y = y - 1", "Loop", "Else",
          "Select Case x", "Case 1", "z = 1", "End Select", "End If", "Next", "%>"},
         {"<%", "For i = 1 To 3", " x = i", " If x > 1 Then", "  Do While y", "   y = y - 1", "  Loop", " Else",
          "  Select Case x", "   Case 1", "   z = 1", "  End Select", " End If", "Next", "%>"}},
        {"subs and functions", {"<%", "Sub Show(a)", "Response.Write a", "End Sub", "Function Twice(b)",
                                "Twice = 2 * b", "End Function", "%>"},
         {"<%", "Sub Show(a)", " Response.Write a", "End Sub", "Function Twice(b)", " Twice = 2 * b", "End Function",
          "%>"}},
        {"code beside the delimiters", {"<% If a Then", "b = 1", "End If %>", "<p>"},
         {"<%", "If a Then", " b = 1", "End If", "%>", "<p>"}},
        {"exit, end and loop while are one unit each",
         {"<%", "Do", "If a Then Exit Do", "Exit Do", "Loop While x < 3", "For i = 1 To 2", "Exit For", "Next",
          "%>", "<p>"},
         {"<%", "Do", " If a Then Exit Do end if", " Exit Do", "Loop While x < 3", "For i = 1 To 2", " Exit For",
          "Next", "%>", "<p>"}},
        {"one-line ifs are closed",
         {"<% If a Then b = 1 : c = 2 %>", "<p>", "<%", "If a Then b = 1 End If", "If a Then b ' note", "%>"},
         {"<%", "If a Then b = 1 : c = 2 end if", "%>", "<p>", "<%", "If a Then b = 1 End If",
          "If a Then b end if ' note", "%>"}},
        {"endif is written end if outside strings",
         {"<%", "If a Then", "s = \"endif\" & myendif", "EndIf", "%>", "<p>"},
         {"<%", "If a Then", " s = \"endif\" & myendif", "end if", "%>", "<p>"}},
        {"blank runs outside strings",
         {"<%", "   x   =\t\"a  \tb\"  &  y   ", "", "  ", "z  =  1  '  as   written", "%>"},
         {"<%", "x = \"a  \tb\" & y", "z = 1 '  as   written", "%>"}},
        {"comments", {"<%", "For i = 1 To 2 ' Next", "s = \"it's\"", "REM Next i", "x = 1 : rem For", "Remark = 1",
                      "' a \"quote", "y  =  \"b  c\"", "Next", "%>"},
         {"<%", "For i = 1 To 2 ' Next", " s = \"it's\"", " REM Next i", " x = 1 : rem For", " Remark = 1",
          " ' a \"quote", " y = \"b  c\"", "Next", "%>"}},
        {"continued statements",
         {"<% If a And _", "   b Then %>", "<p>", "<%", "Response.Write a & _", "  b", "If c Then _", "d = 1",
          "End If", "%>"},
         {"<%", "If a And _", "b Then", "%>", " <p>", "<%", " Response.Write a & _", " b", " If c Then _",
          " d = 1 end if", "End If", "%>"}},
        {"an unbalanced end never goes below zero", {"<% End With %>", "<% End Class %>", "<% For i = 1 To 2 %>", "<p>"},
         {"<%", "End With", "%>", "<%", "End Class", "%>", "<%", "For i = 1 To 2", "%>", " <p>"}},
        {"a block with no statements", {"<table>", "<%", "", "%>", "<%%>", "<tr>"},
         {"<table>", " <%", " %>", " <%", " %>", " <tr>"}},
        {"an unclosed block", {"<p>", "<% For i = 1 To 2", "x"}, {"<p>", "<%", "For i = 1 To 2", " x"}},
        {"blocks sharing a line with markup are copied",
         {"<table>", "<% For Each r In rs %><tr>", "<td><%  x  =  1  %></td>", "<%", " Next", "%>  <p>"},
         {"<table>", " <% For Each r In rs %><tr>", "   <td><%  x  =  1  %></td>", "   <%", " Next", "%>  <p>"}},
        {"output expressions and directives", {"<%@ Language=VBScript %>", "<%= For %>", "<p>"},
         {"<%@ Language=VBScript %>", "<%= For %>", "<p>"}},
        {"JScript pages", {"<%@ Language=JScript %>", "<% for (i = 0; i < 3; i++) { %>", "<p>", "<% } %>"},
         {"<%@ Language=JScript %>", "<% for (i = 0; i < 3; i++) { %>", "<p>", "<% } %>"}},
        {"PHP blocks", {"<?php foreach ($a as $b) { ?>", "<p>", "<?php } ?>"},
         {"<?php foreach ($a as $b) { ?>", "<p>", "<?php } ?>"}},
    };
    for (const Case& c : cases) {
        const TLines once = BeautifyLines(JoinedLines(c.in), Shipped());
        EXPECT_EQ(once, c.out) << c.name;
        EXPECT_EQ(BeautifyLines(JoinedLines(once), Shipped()), once) << c.name << ": stable when run twice";
    }
}

TEST(PageBeautifier, ServerBlocksFollowTheSwitchesAndUnits)
{
    const std::string page = JoinedLines({"<table>", "<% For i = 1 To 2", "If a Then b", "Next %>", "<tr>"});
    struct Case {
        const char* name;
        bool script;
        TIndentUnit unit;
        TLines out;
    };
    const Case cases[] = {
        {"three blanks", true, TIndentUnit::Space3,
         {"<table>", "   <%", "   For i = 1 To 2", "      If a Then b end if", "   Next", "   %>", "   <tr>"}},
        {"two tabs", true, TIndentUnit::Tab2,
         {"<table>", "\t\t<%", "\t\tFor i = 1 To 2", "\t\t\t\tIf a Then b end if", "\t\tNext", "\t\t%>", "\t\t<tr>"}},
        {"vbscript indention off", false, TIndentUnit::Space1,
         {"<table>", " <%", " For i = 1 To 2", " If a Then b end if", " Next", " %>", " <tr>"}},
    };
    for (const Case& c : cases) {
        TBeautifyOptions options = ShippedOptions(c.unit);
        options.Script = c.script;
        EXPECT_EQ(BeautifyLines(page, options), c.out) << c.name;
    }
}

TEST(PageBeautifier, WhatIsReadAsWrittenIsCopiedUnchanged)
{
    struct Case {
        const char* name;
        std::string in;
        TLines out;
    };
    const Case cases[] = {
        {"conditional comments", "<table>\r\n  <!--[if IE]>\r\n    <tr><td>x\r\n  <![endif]-->\r\n<tr>",
         {"<table>", " <!--[if IE]>", "    <tr><td>x", "  <![endif]-->", " <tr>"}},
        {"endif stays endif", "<p>\r\n<!--[if IE]><b>a</b><![endif]-->  endif   x", {"<p>", "<!--[if IE]><b>a</b><![endif]--> endif x"}},
        {"comments", "<table>\r\n  <!--  a   b\r\n\r\n   c -->   <tr>\r\n", {"<table>", " <!--  a   b", "", "   c -->   <tr>"}},
        {"scripts and styles", "<table>\r\n   <script>\r\n  if (a  <  b) {}\r\n   </script>\r\n<style>\r\n p  { }\r\n</style>",
         {"<table>", " <script>", "  if (a  <  b) {}", "   </script>", " <style>", " p  { }", "</style>"}},
        {"pre and textarea", "<table>\r\n  <pre>  a\r\n\r\n    b  </pre>  <textarea>\r\n  x  \r\n</textarea>",
         {"<table>", " <pre>  a", "", "    b  </pre>  <textarea>", "  x  ", "</textarea>"}},
        {"a server block inside a value", "<a   href=\"<%= rs(\"a  b\") %>\"   title='x  y'>   go",
         {"<a href=\"<%= rs(\"a  b\") %>\" title='x  y'> go"}},
        {"a PHP line comment ends at a lone CR", "<?php // note\r$s = \"?>\";\r?>   <p>  x",
         {"<?php // note", "$s = \"?>\";", "?>   <p>  x"}},
        {"a tag over lines", "<table\r\n     width=\"1\">\r\n   <tr>", {"<table", "     width=\"1\">", " <tr>"}},
        {"text blanks and empty lines", "<p>  a \t  b  \r\n\r\n   \r\n  c", {"<p> a b", "c"}},
    };
    for (const Case& c : cases) {
        const TLines once = BeautifyLines(c.in, Shipped());
        EXPECT_EQ(once, c.out) << c.name;
    }
}

TEST(PageBeautifier, GeneratedPagesKeepTheirRegionsAndNesting)
{
    vx::test::TPageCorpus writer(60);
    std::mt19937 sizes(61);
    const TBeautifyOptions options = ShippedOptions();
    int pairs = 0;
    for (int i = 0; i < 30; ++i) {
        const vx::test::TCorpusPage page = writer.Page(1024 + sizes() % 16384);
        const std::string out = BeautifyText(page.Text, options);
        // Lines come out ended by LF.
        vx::test::TCorpusPage lfPage = page;
        for (vx::test::TRegion& region : lfPage.Regions)
            region.Text.erase(std::remove(region.Text.begin(), region.Text.end(), '\r'), region.Text.end());
        ASSERT_EQ(vx::test::FirstRegionChanged(lfPage, out, KeptUnchanged), "") << "page " << i;
        EXPECT_EQ(vx::test::ScriptStatements(out), vx::test::ScriptStatements(page.Text)) << "page " << i;
        EXPECT_LE(out.size(), page.Text.size() * 13 / 10) << "page " << i;
        EXPECT_EQ(BeautifyText(out, options), out) << "page " << i << ": stable when run twice";

        // Each container's closing line stands where its opening line does,
        // and no line stands deeper than the page nests.
        std::vector<std::pair<std::string, std::size_t>> open;
        for (const std::string_view line : SplitLines(out)) {
            const std::size_t indent = line.find_first_not_of(' ');
            if (indent == std::string_view::npos)
                continue;
            EXPECT_LE(static_cast<int>(indent / 3), page.MaxDepth) << line;
            const std::string_view text = line.substr(indent);
            for (const char* name : {"html", "body", "table", "ul", "dl", "select", "form"}) {
                const std::string opener = std::string("<") + name;
                if (text.starts_with(opener) && (text[opener.size()] == '>' || text[opener.size()] == ' '))
                    open.emplace_back(name, indent);
                if (text.starts_with(std::string("</") + name + ">")) {
                    ASSERT_FALSE(open.empty()) << line;
                    EXPECT_EQ(open.back().first, name) << line;
                    EXPECT_EQ(open.back().second, indent) << "page " << i << ": " << line;
                    open.pop_back();
                    ++pairs;
                }
            }
        }
        EXPECT_TRUE(open.empty()) << "page " << i;
    }
    EXPECT_GT(pairs, 300);
}

TEST(PageBeautifier, TheBenchmarkCorpusKeepsWhatIsReadAsWritten)
{
    const TBeautifyOptions options = ShippedOptions();
    std::size_t in = 0;
    std::size_t out = 0;
    std::size_t blocks = 0;
    for (vx::test::TCorpusPage& page : vx::test::Corpus(200)) {
        const std::string beautified = BeautifyText(page.Text, options);
        for (vx::test::TRegion& region : page.Regions) {
            region.Text.erase(std::remove(region.Text.begin(), region.Text.end(), '\r'), region.Text.end());
            blocks += region.Kind == vx::test::TRegionKind::Statements;
        }
        ASSERT_EQ(vx::test::FirstRegionChanged(page, beautified, KeptUnchanged), "");
        ASSERT_EQ(vx::test::ScriptStatements(beautified), vx::test::ScriptStatements(page.Text));
        in += page.Text.size();
        out += beautified.size();
    }
    EXPECT_LE(out * 10, in * 13) << "the output stays within 1.3 times the input";
    EXPECT_GT(blocks, 1000u) << "the corpus holds blocks of statements to re-indent";
}

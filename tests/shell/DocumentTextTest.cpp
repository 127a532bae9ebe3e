#include "shell/CsvHtml.h"
#include "shell/DocumentText.h"
#include "shell/TagBlock.h"

#include <gtest/gtest.h>

using namespace vx::shell;

namespace {

TStringList Lines(std::initializer_list<const char*> items)
{
    TStringList lines;
    for (const char* item : items)
        lines.Add(item);
    return lines;
}

std::string Block(std::string_view text, std::size_t at)
{
    const auto block = FindTagBlock(text, at);
    return block ? std::string(text.substr(block->Begin, block->End - block->Begin)) : "<none>";
}

} // namespace

TEST(TagBlock, Cases)
{
    const std::string table = "<table><tr><td>x</td></tr></table>";
    EXPECT_EQ(Block(table, table.find('x')), "<td>x</td>") << "the innermost element";
    EXPECT_EQ(Block(table, table.find("<td>")), "<td>x</td>") << "the caret on the opening bracket";
    EXPECT_EQ(Block("<table>ab</tr>", 8), "<none>") << "a missing close";
    EXPECT_EQ(Block("<TD>a<br>b</td>", 10), "<TD>a<br>b</td>") << "line breaks are passed over";
    EXPECT_EQ(Block("<b>bold</B> rest", 5), "<b>bold</B>") << "one-letter tags";
    EXPECT_EQ(Block("<p class=x>text</P>", 12), "<p class=x>text</P>");
    EXPECT_EQ(Block("plain text", 4), "<none>");
    EXPECT_EQ(Block("", 0), "<none>");
    EXPECT_EQ(Block("<td>x</td", 5), "<none>") << "a closing tag without its bracket";
    EXPECT_EQ(Block("x<", 5), "<none>") << "a position past the end";
}

TEST(Csv, FieldsAndPage)
{
    EXPECT_EQ(SplitCsvLine("a,b,,c"), (std::vector<std::string>{"a", "b", "", "c"}));
    EXPECT_EQ(SplitCsvLine(R"~("Smith, John",42,"say ""hi""")~"),
              (std::vector<std::string>{"Smith, John", "42", "say \"hi\""}));
    EXPECT_EQ(SplitCsvLine(" x , y"), (std::vector<std::string>{" x ", " y"})) << "fields are not trimmed";
    EXPECT_EQ(EscapeHtml("a<b>&c"), "a&lt;b&gt;&amp;c");

    const std::vector<std::string> page = CsvToHtml({"a,<b>", "", "c"}, "data.csv", "Vellumix 1.0", "1-2-2026 10:00:00");
    const std::vector<std::string> expected = {
        "<html>", "", "<meta charset=\"UTF-8\">", "<meta name=\"generator\" content=\"Vellumix 1.0\">",
        "<meta name=\"date_time\" content=\"1-2-2026 10:00:00\">", "", "<head>", " <title>data.csv</title>", "</head>",
        "", "<body>", "", "<Table border=1 width=\"100%\">", "    <Tr>", "      <td>", "      a", "      </td>",
        "      <td>", "      &lt;b&gt;", "      </td>", "    </tr>", "    <Tr>", "      <td>", "      c", "      </td>",
        "    </tr>", "</table>", "</body>", "</html>"};
    EXPECT_EQ(page, expected);
}

TEST(DocumentText, LineEndsAndHeader)
{
    EXPECT_EQ(JoinLines(Lines({"a", "b"}), "\n"), "a\nb\n");
    EXPECT_EQ(JoinLines(Lines({"a", "\xe9\xff"}), "\r"), "a\r\xe9\xff\r") << "bytes above 127 as they are";
    EXPECT_EQ(JoinLines(Lines({}), "\n"), "");
    const auto header = PrintHeaderLines("07-12-2026", "13:45:00");
    ASSERT_EQ(header.size(), 3u);
    EXPECT_EQ(header[0], "Printed at : 07-12-2026 13:45:00");
    EXPECT_EQ(header[1], std::string(105, '-'));
    EXPECT_EQ(header[2], "");
}

TEST(DocumentText, ImageSources)
{
    const auto sources = ImageSources(Lines({"<p><IMG SRC=\"a.gif\" alt=x>", "<img src=b.png><img src=\"\">",
                                             "<a href=\"c.gif\">c</a><img alt=none>"}));
    EXPECT_EQ(sources, (std::vector<std::string>{"a.gif", "b.png", "TAG: <IMG"}));
}

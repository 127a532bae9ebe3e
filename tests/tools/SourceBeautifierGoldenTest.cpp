// The source beautifier's script engine over a large generated text: its
// output is pinned by fingerprints taken from an earlier, slower engine that
// read the text as Windows-1252, so any rewrite keeps every byte: the output,
// written in Windows-1252, is what that engine gave.
#include "platform/Cp1252.h"
#include "tests/tools/BeautifiedLines.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using namespace vx::tools;
using vx::tools::test::BeautifyLines;

namespace {

// Pieces that stress every step: mixed line breaks, blank runs, quotes that
// span lines, masked output expressions, continuations, comments, the word
// mark, one-line ifs and "endif".
constexpr const char* Pieces[] = {
    "<html>\r\n", "<BODY bgcolor=\"#fff\">\n", "<table>\r", "<tr><td>  cell \t text  </td></tr>\r\n",
    "</table>\r\n", "</body></html>\n", "<% ", "<%\r\n", "%>", "%>\r\n", "<%= Now() %>", "<%=x",
    "  If a = 1 Then b = 2\r\n", "If x Then\r\n", "ElSe\r\n", "endif\r\n", "End If\r\n",
    "For i = 1 To 10 ' loop\r\n", "Next\r\n", "Do While y\r\n", "Loop\r\n", "Response.Write \"a  \"\"b\" & _\r\n",
    "  \"c\"\r\n", "REM a comment\r\n", "x = 1 : rem again\r\n", "\"open quote\r\n", "close\" here\r\n",
    "\r\n\r\n", "   \t  \r\n", "\xB3\xB3\xB3", " \n ", "\r \r", "Sub Foo()\r\n", "End Sub\r\n",
    "Select Case z\r\n", "End Select\r\n", "While q\r\n", "Wend\r\n", "<font size=2>", "</font>",
    "myendif = 3\r\n", "\"endif\"\r\n", "Function F\r\n", "End Function\r\n", "<p>text</p>\r\n",
};

// A page of about size bytes of Windows-1252 drawn from the pieces by a fixed
// generator, as a document holds it: in UTF-8.
std::string Page(std::size_t size)
{
    std::string text;
    std::uint32_t state = 12345;
    while (text.size() < size) {
        state = state * 1103515245u + 12345u;
        text += Pieces[(state >> 16) % std::size(Pieces)];
    }
    return vx::Cp1252ToUtf8(text);
}

std::uint64_t Fingerprint(const std::vector<std::string>& lines)
{
    std::uint64_t hash = 1469598103934665603ull;
    const auto add = [&hash](unsigned char c) {
        hash ^= c;
        hash *= 1099511628211ull;
    };
    for (const std::string& line : lines) {
        for (const char c : vx::Utf8ToCp1252(line).value_or("not Windows-1252"))
            add(static_cast<unsigned char>(c));
        add('\n');
    }
    return hash;
}

TBeautifyOptions Options(bool html, bool script, TIndentUnit unit)
{
    TBeautifyOptions options = vx::tools::test::ShippedOptions(unit);
    options.Html = html;
    options.Script = script;
    return options;
}

TEST(SourceBeautifierGolden, LargeMixedTextKeepsEveryByte)
{
    struct TCase {
        bool html;
        bool script;
        TIndentUnit unit;
        std::size_t lines;
        std::uint64_t fingerprint;
    };
    const TCase cases[] = {
        {true, true, TIndentUnit::Space3, 30055, 15015825515538142182ull},
        {false, true, TIndentUnit::Tab2, 30055, 9352867108644867438ull},
        {true, false, TIndentUnit::Space1, 30055, 6859742754565156478ull},
    };
    const std::string page = Page(400000);
    for (const TCase& c : cases) {
        const std::string out = BeautifyScript(page, Options(c.html, c.script, c.unit));
        std::vector<std::string> lines;
        for (const std::string_view line : SplitLines(out))
            lines.emplace_back(line);
        EXPECT_EQ(lines.size(), c.lines) << "html " << c.html << " script " << c.script;
        EXPECT_EQ(Fingerprint(lines), c.fingerprint) << "html " << c.html << " script " << c.script;
    }
}

TEST(SourceBeautifierGolden, PlainScriptKeepsEveryByte)
{
    std::string script;
    for (int i = 0; i < 2000; ++i)
        script += "If a Then\r\n  x = \"<%\" : endif\r\nFor i = 1 To 2\nNext\rIf b Then c\r\n";
    const std::vector<std::string> lines = BeautifyLines(script, Options(true, true, TIndentUnit::Space2));
    EXPECT_EQ(lines.size(), 10000u);
    EXPECT_EQ(Fingerprint(lines), 3640716931182402449ull);
}

} // namespace

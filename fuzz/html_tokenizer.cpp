// Fuzz target: the HTML tokenizer. Its tokens tile the page byte for byte, each
// token's text is what the page holds there, and the only error is EParserError
// for a page that ends inside a tag or a comment.
#include "fuzz/FuzzCheck.h"
#include "internet/HTMLParser.h"

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

namespace {

// Where the last token stopped must be where the next one starts, and the line
// count must match the line feeds read so far.
void CheckToken(const THTMLParser& parser, std::string_view page, std::size_t& expectedStart)
{
    const std::size_t start = parser.TokenPos(), end = parser.Position();
    VX_FUZZ_CHECK(start == expectedStart);
    VX_FUZZ_CHECK(end <= page.size());
    VX_FUZZ_CHECK(parser.Line() == 1 + std::count(page.begin(), page.begin() + end, '\n'));
    expectedStart = end;
    const std::string_view token = page.substr(start, end - start);
    const std::string& text = parser.Text();
    switch (parser.TokenKind()) {
    case ptEOF:
        VX_FUZZ_CHECK(token.empty() && end == page.size());
        break;
    case ptText:
        VX_FUZZ_CHECK(!token.empty() && token == text);
        break;
    case ptComment:
        VX_FUZZ_CHECK(token.size() >= 7 && token.starts_with("<!--") && token.ends_with("-->"));
        VX_FUZZ_CHECK(token.substr(4, token.size() - 7) == text);
        break;
    case ptTag: {
        VX_FUZZ_CHECK(token.size() >= 2 && token.front() == '<' && token.back() == '>');
        VX_FUZZ_CHECK(token.substr(parser.EndTag() ? 2 : 1).starts_with(text));
        const TStringList& attributes = parser.Attributes();
        for (int i = 0; i < attributes.Count(); ++i) {
            const std::string& line = attributes[i];
            const std::size_t eq = line.find('=');
            VX_FUZZ_CHECK(eq != std::string::npos);
            for (int j = 0; j < i; ++j)
                VX_FUZZ_CHECK(!attributes[j].starts_with(line.substr(0, eq + 1)));
        }
        break;
    }
    default:
        VX_FUZZ_CHECK(!"a token kind outside the enumeration");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string page(reinterpret_cast<const char*>(data), size);
    std::istringstream stream(page);
    std::size_t expectedStart = 0;
    try {
        THTMLParser parser(stream);
        CheckToken(parser, page, expectedStart);
        while (parser.TokenKind() != ptEOF) {
            parser.NextToken();
            CheckToken(parser, page, expectedStart);
        }
        VX_FUZZ_CHECK(parser.NextToken() == ptEOF && parser.Position() == page.size());
    } catch (const EParserError&) {
        // Only a tag or comment that the page ends inside is an error.
        const std::string_view rest = std::string_view(page).substr(expectedStart);
        VX_FUZZ_CHECK(!rest.empty() && rest.front() == '<');
    }
    return 0;
}

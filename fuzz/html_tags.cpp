// Fuzz target: the tag parser behind the document lists. It reports no errors,
// so any exception is a fault; what it keeps of each tag and text run, read in
// order, is the page without its angle brackets and line breaks.
#include "fuzz/FuzzCheck.h"
#include "shell/HTMLPars.h"

#include <cstdint>
#include <string>
#include <variant>

namespace {

std::string Without(const std::string& text, const char* drop)
{
    std::string kept;
    for (char c : text)
        if (!std::char_traits<char>::find(drop, std::char_traits<char>::length(drop), c))
            kept.push_back(c);
    return kept;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string page(reinterpret_cast<const char*>(data), size);
    HTMLPars::THTMLParser parser;
    std::size_t start = 0;
    while (start <= page.size() && !page.empty()) {
        std::size_t end = page.find('\n', start);
        if (end == std::string::npos)
            end = page.size();
        parser.Lines().Add(page.substr(start, end - start));
        start = end + 1;
    }
    parser.Execute();

    std::string raw;
    bool lastWasText = false;
    for (const HTMLPars::THTMLElement& element : parser.Parsed()) {
        if (const auto* tag = std::get_if<HTMLPars::THTMLTag>(&element)) {
            raw += tag->Raw;
            for (const HTMLPars::THTMLParam& param : tag->Params)
                VX_FUZZ_CHECK(!param.Raw.empty());
            lastWasText = false;
        } else {
            const auto& text = std::get<HTMLPars::THTMLText>(element);
            VX_FUZZ_CHECK(!text.Raw.empty() && text.Text.size() <= text.Raw.size());
            VX_FUZZ_CHECK(!lastWasText);
            raw += text.Raw;
            lastWasText = true;
        }
    }
    VX_FUZZ_CHECK(Without(raw, "\n") == Without(page, "<>\n"));

    // Parsing again gives the same result.
    const std::size_t count = parser.Parsed().size();
    parser.Execute();
    VX_FUZZ_CHECK(parser.Parsed().size() == count);
    return 0;
}

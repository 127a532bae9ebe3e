// Fuzz target: the page title read from a saved document. The title is a run
// of the page's text with its line breaks taken out, and never holds the
// closing tag it stops at.
#include "fuzz/FuzzCheck.h"
#include "platform/AnsiText.h"
#include "tools/DocumentInfo.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string page(reinterpret_cast<const char*>(data), size);
    const std::string title = vx::tools::GetHtmlTitle(page);
    std::string joined;
    for (char c : page)
        if (c != '\r' && c != '\n')
            joined.push_back(c);
    VX_FUZZ_CHECK(joined.find(title) != std::string::npos);
    VX_FUZZ_CHECK(vx::AnsiUpperCase(title).find("</TITLE>") == std::string::npos);
    return 0;
}

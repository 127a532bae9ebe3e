// Fuzz target: the RTF-to-HTML converter over any text. It rejects nothing, so
// any exception is a fault; no "<" of the text reaches the HTML unescaped.
#include "fuzz/FuzzCheck.h"
#include "tools/RtfToHtml.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view rtf(reinterpret_cast<const char*>(data), size);
    const std::string html = vx::tools::RtfToHtml(rtf);
    // Every tag the converter writes is upper case; text "<" becomes "&lt;".
    for (std::size_t pos = html.find('<'); pos != std::string::npos; pos = html.find('<', pos + 1))
        VX_FUZZ_CHECK(pos + 1 < html.size() && (html[pos + 1] == '/' || (html[pos + 1] >= 'A' && html[pos + 1] <= 'Z')));
    return 0;
}

// Fuzz target: the HTML compressor and the source beautifier over any text.
// The compressor never lengthens the text and a second Compress changes
// nothing; the beautifier's output of a page is stable when beautified again.
#include "fuzz/FuzzCheck.h"
#include "tools/HTMLCompressor.h"
#include "tools/SourceBeautifier.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the options, the rest is the page.
    const std::uint8_t options = data[0];
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    vx::tools::THTMLCompressor compressor;
    compressor.SimpleTags = options & 1;
    compressor.Center = options & 2;
    compressor.InvCommas = options & 4;
    compressor.Spaces = options & 8;
    compressor.Returns = options & 16;
    compressor.AllReturns = options & 32;
    compressor.Webbots = options & 64;
    compressor.SetText(text);
    compressor.Compress();
    const std::string once = compressor.Text();
    VX_FUZZ_CHECK(once.size() <= text.size());
    VX_FUZZ_CHECK(compressor.CompressedSize() == static_cast<std::int64_t>(once.size()));
    compressor.Compress();
    VX_FUZZ_CHECK(compressor.Text() == once);

    if (options & 128) {
        vx::tools::TBeautifyOptions beautify;
        const vx::tools::TShippedLists& lists = vx::tools::ShippedWordLists();
        beautify.IndentScript = vx::tools::WordKeys(lists.IndentScript);
        beautify.OutdentScript = vx::tools::WordKeys(lists.OutdentScript);
        beautify.IndentHtml = vx::tools::WordKeys(lists.IndentHtml);
        beautify.OutdentHtml = vx::tools::WordKeys(lists.OutdentHtml);
        const std::string beautified = vx::tools::BeautifyText(text, beautify);
        if (vx::tools::IsPage(text))
            VX_FUZZ_CHECK(vx::tools::BeautifyText(beautified, beautify) == beautified);
    }
    return 0;
}

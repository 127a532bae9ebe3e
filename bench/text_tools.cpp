// The HTML compressor and the source beautifier over generated ASP pages of
// 2 and 20 MB with every option on, to show both stay linear in the size.
// Bytes are those of the page handed in.
#include "tools/core/HTMLCompressor.h"
#include "tools/core/SourceBeautifier.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr const char* Page =
    "<html>\r\n<body>\r\n<table border=\"0\" width=\"100%\">\r\n"
    "<tr><td><strong>Fish   &amp;   chips</strong></td><td align=right>4.50</td></tr>\r\n\r\n"
    "<p align=center>Prices <em>include</em> tax</p>\r\n"
    "<!--webbot bot=\"Timestamp\" s-type=\"EDITED\" -->\r\n"
    "<% For i = 1 To 10\r\n   If total > 0 Then\r\n      Response.Write \"total: \" & total ' running\r\n"
    "   Else\r\n      total = 0\r\n   End If\r\nNext %>\r\n"
    "<input type=\"text\" name=\"q\" value=\"two words\">\r\n"
    "<pre>  kept   as   is\r\n\r\n</pre>\r\n"
    "<script language=\"javascript\">var s = \"<strong>\";</script>\r\n"
    "<p><%= Now() %></p>\r\n</table>\r\n</body>\r\n</html>\r\n";

std::string Pages(std::size_t bytes)
{
    std::string text;
    text.reserve(bytes + 1024);
    while (text.size() < bytes)
        text += Page;
    return text;
}

void BM_Compress(benchmark::State& state)
{
    const std::string text = Pages(static_cast<std::size_t>(state.range(0)) << 20);
    for (auto _ : state) {
        vx::tools::THTMLCompressor compressor;
        compressor.SetText(text);
        compressor.Compress();
        benchmark::DoNotOptimize(compressor.Text().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_Compress)->Arg(2)->Arg(20)->Unit(benchmark::kMillisecond);

void BM_Beautify(benchmark::State& state)
{
    const std::string text = Pages(static_cast<std::size_t>(state.range(0)) << 20);
    const vx::tools::TShippedLists& lists = vx::tools::ShippedWordLists();
    vx::tools::TBeautifyOptions options;
    options.IndentHtml = vx::tools::WordKeys(lists.IndentHtml);
    options.OutdentHtml = vx::tools::WordKeys(lists.OutdentHtml);
    options.IndentScript = vx::tools::WordKeys(lists.IndentScript);
    options.OutdentScript = vx::tools::WordKeys(lists.OutdentScript);
    for (auto _ : state)
        benchmark::DoNotOptimize(vx::tools::BeautifyText(text, options).size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_Beautify)->Arg(2)->Arg(20)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

// Throughput of the HTML tokenizer over a 10 MB page of ordinary markup.
#include "internet/HTMLParser.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

namespace {

std::string MakePage(size_t size)
{
    const std::string block = R"(<tr class="row"><td valign=top><a href="products/item.asp?id=42&amp;lang=en" title='Item 42'>Item 42</a></td>
<td align=right>12.50</td><td><img src="img/star.gif" alt="" width=12 height=12 border=0></td></tr>
<!-- price list generated from the catalogue -->
<p>Plain running text of a paragraph, with some <b>bold</b> and <i>italic</i> words, and a line end.
</p>
)";
    std::string page = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\n<html><body><table>\n";
    while (page.size() < size)
        page += block;
    return page + "</table></body></html>\n";
}

void BM_TokenizePage(benchmark::State& state)
{
    const std::string page = MakePage(10 * 1024 * 1024);
    for (auto _ : state) {
        std::istringstream in(page);
        THTMLParser parser(in);
        size_t tokens = 0;
        while (parser.NextToken() != ptEOF)
            ++tokens;
        benchmark::DoNotOptimize(tokens);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}
BENCHMARK(BM_TokenizePage)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

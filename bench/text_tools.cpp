// The HTML compressor and the source beautifier over a corpus of 200 realistic
// ASP pages (the tests' page generator), and over one page of 5 MB. Bytes are
// those of the pages handed in; "ratio" is the output's size over the input's.
#include "tests/tools/BeautifiedLines.h"
#include "tests/tools/PageCorpus.h"
#include "tools/HTMLCompressor.h"
#include "tools/SourceBeautifier.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

const std::vector<std::string>& Pages(int which)
{
    static const std::vector<std::string> corpus = [] {
        std::vector<std::string> texts;
        for (vx::test::TCorpusPage& page : vx::test::Corpus(200))
            texts.push_back(std::move(page.Text));
        return texts;
    }();
    static const std::vector<std::string> large{vx::test::TPageCorpus(7).Page(5 << 20).Text};
    return which == 0 ? corpus : large;
}

std::int64_t Bytes(const std::vector<std::string>& pages)
{
    std::int64_t bytes = 0;
    for (const std::string& page : pages)
        bytes += static_cast<std::int64_t>(page.size());
    return bytes;
}

void Report(benchmark::State& state, std::int64_t in, std::int64_t out)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * in);
    state.counters["ratio"] = static_cast<double>(out) / static_cast<double>(in);
}

// range(0): 0 the corpus, 1 the large page; range(1): 1 every option, 0 the wizard's (short tags only).
void BM_Compress(benchmark::State& state)
{
    const std::vector<std::string>& pages = Pages(static_cast<int>(state.range(0)));
    const bool all = state.range(1) != 0;
    std::int64_t out = 0;
    for (auto _ : state) {
        out = 0;
        for (const std::string& page : pages) {
            vx::tools::THTMLCompressor compressor;
            compressor.Center = compressor.InvCommas = compressor.Spaces = compressor.Returns =
                compressor.AllReturns = compressor.Webbots = all;
            compressor.SetText(page);
            compressor.Compress();
            out += compressor.CompressedSize();
        }
    }
    Report(state, Bytes(pages), out);
}
BENCHMARK(BM_Compress)->ArgNames({"large", "all"})->Args({0, 1})->Args({0, 0})->Args({1, 1})->Unit(benchmark::kMillisecond);

void BM_Beautify(benchmark::State& state)
{
    const std::vector<std::string>& pages = Pages(static_cast<int>(state.range(0)));
    const vx::tools::TBeautifyOptions options = vx::tools::test::ShippedOptions();
    std::int64_t out = 0;
    for (auto _ : state) {
        out = 0;
        for (const std::string& page : pages)
            out += static_cast<std::int64_t>(vx::tools::BeautifyText(page, options).size());
    }
    Report(state, Bytes(pages), out);
}
BENCHMARK(BM_Beautify)->ArgNames({"large"})->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

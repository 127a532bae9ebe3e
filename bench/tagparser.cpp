// The tag parser's text decoding over runs of "&" of growing length: the time
// per byte stays flat when decoding is linear.
#include "shell/HTMLPars.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void BM_DecodeAmpersandRun(benchmark::State& state)
{
    const std::string run(static_cast<size_t>(state.range(0)), '&');
    for (auto _ : state) {
        HTMLPars::THTMLParser parser;
        parser.Lines().Add(run);
        parser.Execute();
        benchmark::DoNotOptimize(parser.Parsed().size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_DecodeAmpersandRun)->RangeMultiplier(4)->Range(16 << 10, 1 << 20)->Complexity()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

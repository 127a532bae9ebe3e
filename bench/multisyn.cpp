// Throughput of the multi-language highlighter set up as the main window sets
// it up, on generated 10 MB ASP and PHP pages like real ones, scanned line by
// line with the range carried as the editor's rescans carry it (the ASP page
// also in UTF-8, a fifth of its letters outside ASCII); and loading
// the ASP page into the editor's model with every range scanned.
#include "bench/BenchPages.h"
#include "bench/Utf8Text.h"
#include "editor/mwCustomEditModel.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

const std::vector<std::string>& AspPage()
{
    static const auto lines = vx::bench::SplitLines(vx::bench::TPageWriter(4321).Page(vx::bench::TPageWriter::kAsp, 10 * vx::bench::kMB));
    return lines;
}

const std::vector<std::string>& PhpPage()
{
    static const auto lines = vx::bench::SplitLines(vx::bench::TPageWriter(4322).Page(vx::bench::TPageWriter::kPhp, 10 * vx::bench::kMB));
    return lines;
}

using vx::bench::TPageHighlighters;

void ScanPage(benchmark::State& state, const std::vector<std::string>& lines)
{
    TPageHighlighters h;
    size_t bytes = 0;
    for (const auto& line : lines)
        bytes += line.size();
    for (auto _ : state) {
        h.multi.ResetRange();
        std::int32_t range = h.multi.GetRange();
        int tokens = 0;
        for (size_t i = 0; i < lines.size(); ++i) {
            h.multi.SetRange(range);
            h.multi.SetLine(lines[i], static_cast<int>(i));
            while (!h.multi.GetEol()) {
                benchmark::DoNotOptimize(h.multi.GetTokenAttribute());
                ++tokens;
                h.multi.Next();
            }
            range = h.multi.GetRange();
        }
        benchmark::DoNotOptimize(tokens);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
}

void BM_MultiSynAspPage(benchmark::State& state) { ScanPage(state, AspPage()); }
BENCHMARK(BM_MultiSynAspPage)->Unit(benchmark::kMillisecond);

void BM_MultiSynPhpPage(benchmark::State& state) { ScanPage(state, PhpPage()); }
BENCHMARK(BM_MultiSynPhpPage)->Unit(benchmark::kMillisecond);

// The ASP page with a fifth of its letters outside ASCII.
void BM_MultiSynAspPageUtf8(benchmark::State& state)
{
    static const auto lines = vx::bench::WithLettersOutsideAscii(AspPage());
    ScanPage(state, lines);
}
BENCHMARK(BM_MultiSynAspPageUtf8)->Unit(benchmark::kMillisecond);

// The ASP page as a file with CR LF, loaded into the model: every line's
// start range is scanned and stored.
void BM_LoadAspPageIntoEditor(benchmark::State& state)
{
    static const std::string text = [] {
        std::string t;
        for (const auto& line : AspPage())
            t += line + "\r\n";
        return t;
    }();
    TPageHighlighters h;
    for (auto _ : state) {
        state.PauseTiming();
        {
            std::istringstream in(text);
            TmwCustomEditModel model;
            model.SetHighLighter(&h.multi);
            state.ResumeTiming();
            model.Lines().LoadFromStream(in);
            state.PauseTiming();
            benchmark::DoNotOptimize(model.Lines().Range(model.LineCount() - 1));
            model.SetHighLighter(nullptr);
        }
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_LoadAspPageIntoEditor)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();

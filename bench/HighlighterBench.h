// Shared parts of the highlighter throughput benchmarks: a generated text of
// about 10 MB from sample lines, and a scan of it line by line with the range
// carried from line to line, as the editor's rescans do.
#pragma once

#include "editor/mwHighlighter.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

namespace vx::bench {

constexpr size_t kTextSize = 10 * 1024 * 1024;

// Lines drawn from the samples, with numbers varied so the text is not periodic.
inline std::vector<std::string> GenerateText(const std::vector<std::string>& samples)
{
    std::mt19937 rng(1234);
    std::vector<std::string> lines;
    size_t size = 0;
    while (size < kTextSize) {
        std::string line = samples[rng() % samples.size()];
        line += std::to_string(rng() % 100000);
        size += line.size() + 2;
        lines.push_back(std::move(line));
    }
    return lines;
}

// Reads each token's position, attribute and kind, as painting does.
inline void ScanText(benchmark::State& state, TmwCustomHighLighter& hl, const std::vector<std::string>& lines)
{
    size_t bytes = 0;
    for (const auto& line : lines)
        bytes += line.size();
    long tokens = 0;
    for (auto _ : state) {
        hl.ResetRange();
        tokens = 0;
        for (const auto& line : lines) {
            hl.SetLine(line, 0);
            while (!hl.GetEol()) {
                benchmark::DoNotOptimize(hl.GetTokenPos());
                benchmark::DoNotOptimize(hl.GetTokenAttribute());
                benchmark::DoNotOptimize(hl.GetTokenKind());
                ++tokens;
                hl.Next();
            }
        }
        benchmark::DoNotOptimize(tokens);
    }
    state.counters["tokens"] = double(tokens);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

} // namespace vx::bench

// Search and replace over 500 files, 50 MB in all, on a temporary folder: one
// occurrence in every few lines, the files written back each round.
#include "tools/MultiFileReplace.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int FileCount = 500;
constexpr std::size_t FileSize = 100 * 1024;

struct Folder {
    Folder()
    {
        path = std::filesystem::temp_directory_path() / ("vx-bench-replace-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        std::string text;
        while (text.size() < FileSize)
            text += "<tr><td class=\"item\">Fish and chips</td><td>4.50</td></tr>\r\n<p>menu of the day</p>\r\n";
        for (int i = 0; i < FileCount; ++i) {
            files.push_back((path / ("page" + std::to_string(i) + ".htm")).string());
            std::ofstream(files.back(), std::ios::binary) << text;
        }
    }
    ~Folder() { std::filesystem::remove_all(path); }
    std::filesystem::path path;
    std::vector<std::string> files;
};

void Replace(benchmark::State& state, bool findOnly)
{
    Folder folder;
    bool forth = true;
    for (auto _ : state) {
        // Replacing back and forth keeps the files the same size every round.
        vx::tools::TReplaceOptions options;
        options.Find = forth ? "chips" : "fries";
        options.Replacement = forth ? "fries" : "chips";
        options.FindOnly = findOnly;
        forth = !forth;
        vx::tools::TMultiFileReplace run(options, nullptr);
        for (const std::string& file : folder.files)
            benchmark::DoNotOptimize(run.ReplaceInFile(file));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * FileCount *
                            static_cast<std::int64_t>(FileSize));
}

void BM_ReplaceAcrossFiles(benchmark::State& state)
{
    Replace(state, false);
}
BENCHMARK(BM_ReplaceAcrossFiles)->Unit(benchmark::kMillisecond);

void BM_FindAcrossFiles(benchmark::State& state)
{
    Replace(state, true);
}
BENCHMARK(BM_FindAcrossFiles)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

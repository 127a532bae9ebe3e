// Optimising the corpus of GIF files with all options beside `gifsicle -O3` on
// the same files; both output totals are reported as counters (bytes).
#include "bench/GIFCorpus.h"
#include "images/GIFImage.h"
#include "images/GIFStream.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <string>
#include <vector>

namespace {

struct Corpus {
    std::filesystem::path folder;
    std::vector<std::string> files;
    std::int64_t bytes = 0;
};

const Corpus& TheCorpus()
{
    static const Corpus corpus = [] {
        Corpus c;
        c.folder = std::filesystem::temp_directory_path() / ("vellumix-gifopt-" + std::to_string(::getpid()));
        std::filesystem::create_directories(c.folder);
        for (const gifcorpus::File& file : gifcorpus::Files()) {
            const std::string path = (c.folder / file.name).string();
            std::ofstream(path, std::ios::binary) << file.bytes;
            c.files.push_back(path);
            c.bytes += static_cast<std::int64_t>(file.bytes.size());
        }
        return c;
    }();
    return corpus;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void OptimizeOurs(benchmark::State& state)
{
    const Corpus& corpus = TheCorpus();
    std::vector<std::string> inputs;
    for (const std::string& file : corpus.files)
        inputs.push_back(ReadFile(file));
    std::int64_t total = 0;
    for (auto _ : state) {
        total = 0;
        for (const std::string& input : inputs) {
            TGIFImage image;
            TMemoryByteStream in(input);
            image.LoadFromStream(in);
            image.Optimize(ooAll, 0, 0, 8);
            TMemoryByteStream out;
            image.SaveToStream(out);
            total += static_cast<std::int64_t>(out.Data().size());
        }
    }
    state.counters["input_bytes"] = static_cast<double>(corpus.bytes);
    state.counters["output_bytes"] = static_cast<double>(total);
}

void OptimizeGifsicle(benchmark::State& state)
{
    if (std::system("command -v gifsicle >/dev/null 2>&1") != 0) {
        state.SkipWithError("gifsicle is not installed");
        return;
    }
    const Corpus& corpus = TheCorpus();
    std::int64_t total = 0;
    for (auto _ : state) {
        total = 0;
        for (const std::string& file : corpus.files) {
            const std::string out = file + ".O3";
            if (std::system(("gifsicle -O3 '" + file + "' -o '" + out + "' 2>/dev/null").c_str()) != 0) {
                state.SkipWithError("gifsicle failed");
                return;
            }
            total += static_cast<std::int64_t>(std::filesystem::file_size(out));
        }
    }
    state.counters["input_bytes"] = static_cast<double>(corpus.bytes);
    state.counters["output_bytes"] = static_cast<double>(total);
}

} // namespace

BENCHMARK(OptimizeOurs)->Unit(benchmark::kMillisecond);
BENCHMARK(OptimizeGifsicle)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(TheCorpus().folder);
    return 0;
}

// Optimising a corpus of animations with all options beside `gifsicle -O3` on
// the same files; both output totals are reported as counters (bytes).
#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"
#include "images/GIFStream.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <random>
#include <string>
#include <vector>

namespace {

struct Corpus {
    std::filesystem::path folder;
    std::vector<std::string> files;
    std::int64_t bytes = 0;
};

// An animation of a sprite moving over a still, grainy background: most of each
// frame repeats the one before, as in typical web banners.
std::string Animation(int width, int height, int frames, unsigned seed)
{
    TGIFImage image;
    for (int i = 0; i < 256; ++i)
        image.Header().ColorMap().Add(TGIFColor{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i * 7),
                                                static_cast<std::uint8_t>(255 - i)});
    std::mt19937 random(seed);
    std::vector<std::uint8_t> background(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            background[static_cast<size_t>(y * width + x)] =
                static_cast<std::uint8_t>(static_cast<int>(100 + 60 * std::sin(x / 17.0) + 40 * std::cos(y / 11.0)) + random() % 3);
    for (int f = 0; f < frames; ++f) {
        TGIFSubImage& frame = image.Add(std::make_unique<TGIFSubImage>(&image));
        frame.SetBounds(0, 0, width, height);
        frame.MutableData() = background;
        const int sx = (f * 13) % (width - 32), sy = (f * 7) % (height - 24);
        for (int y = sy; y < sy + 24; ++y)
            for (int x = sx; x < sx + 32; ++x)
                frame.ScanLine(y)[x] = static_cast<std::uint8_t>(250 + (x + y + f) % 5);
        auto control = std::make_unique<TGIFGraphicControlExtension>(frame);
        control->SetDelay(8);
        frame.Extensions().Add(std::move(control));
    }
    TMemoryByteStream out;
    image.SaveToStream(out);
    return out.Data();
}

const Corpus& TheCorpus()
{
    static const Corpus corpus = [] {
        Corpus c;
        c.folder = std::filesystem::temp_directory_path() / ("vellumix-gifopt-" + std::to_string(::getpid()));
        std::filesystem::create_directories(c.folder);
        const int sizes[][3] = {{320, 200, 12}, {468, 60, 20}, {160, 120, 30}, {640, 480, 6}, {120, 90, 40}};
        unsigned seed = 1;
        for (const auto& s : sizes) {
            const std::string bytes = Animation(s[0], s[1], s[2], seed++);
            const std::string path = (c.folder / ("anim" + std::to_string(seed) + ".gif")).string();
            std::ofstream(path, std::ios::binary) << bytes;
            c.files.push_back(path);
            c.bytes += static_cast<std::int64_t>(bytes.size());
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
            if (std::system(("gifsicle -O3 '" + file + "' -o '" + out + "'").c_str()) != 0) {
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

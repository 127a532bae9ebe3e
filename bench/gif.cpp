// GIF decoding and encoding speed against giflib on the same images, and the
// pixel throughput of colour reduction with every dither mode.
#include "images/GIFBitmap.h"
#include "images/GIFImage.h"
#include "images/GIFReduce.h"
#include "images/GIFStream.h"

#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

enum Kind { kPhoto, kLineArt, kNoise, kSmooth64, kSmooth128 };

// 8-bit pixels of a kind of picture: a smooth photo-like field with grain, flat
// two-colour line art, pure noise, or a smooth picture of 64 or 128 colours
// (shaded areas as a colour reduction leaves them: bands with dithered edges).
std::vector<std::uint8_t> Pixels(Kind kind)
{
    std::vector<std::uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight);
    std::mt19937 random(7);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            int v = 0;
            switch (kind) {
            case kPhoto:
                v = static_cast<int>(128 + 90 * std::sin(x / 60.0) * std::cos(y / 45.0) + (random() % 9));
                break;
            case kLineArt: v = ((x / 16 + y / 16) % 7 == 0 || (x * x + y * y) % 997 < 40) ? 1 : 0; break;
            case kNoise: v = static_cast<int>(random() & 0xFF); break;
            case kSmooth64:
            case kSmooth128: {
                const int colours = kind == kSmooth64 ? 64 : 128;
                const double shade = (0.5 + 0.5 * std::sin(x / 150.0 + y / 210.0)) * (colours - 1);
                v = static_cast<int>(shade + (random() % 100) / 100.0);
                break;
            }
            }
            pixels[static_cast<size_t>(y) * kWidth + x] = static_cast<std::uint8_t>(std::clamp(v, 0, 255));
        }
    return pixels;
}

int BitsOf(Kind kind)
{
    switch (kind) {
    case kLineArt: return 1;
    case kSmooth64: return 6;
    case kSmooth128: return 7;
    default: return 8;
    }
}

ColorMapObject* GiflibMap(int bits)
{
    std::vector<GifColorType> colours(static_cast<size_t>(1) << bits);
    for (size_t i = 0; i < colours.size(); ++i)
        colours[i] = GifColorType{static_cast<GifByteType>(i), static_cast<GifByteType>(255 - i),
                                  static_cast<GifByteType>(i * 3)};
    return GifMakeMapObject(static_cast<int>(colours.size()), colours.data());
}

int WriteMemory(GifFileType* gif, const GifByteType* data, int count)
{
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), static_cast<size_t>(count));
    return count;
}

std::string GiflibEncode(std::vector<std::uint8_t>& pixels, int bits)
{
    std::string out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteMemory, &error);
    ColorMapObject* map = GiflibMap(bits);
    EGifPutScreenDesc(gif, kWidth, kHeight, bits, 0, map);
    EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, false, nullptr);
    EGifPutLine(gif, pixels.data(), static_cast<int>(pixels.size()));
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

struct Reader {
    const std::string* bytes;
    size_t position;
};

int ReadMemory(GifFileType* gif, GifByteType* buffer, int count)
{
    auto* reader = static_cast<Reader*>(gif->UserData);
    const size_t n = std::min<size_t>(static_cast<size_t>(count), reader->bytes->size() - reader->position);
    std::memcpy(buffer, reader->bytes->data() + reader->position, n);
    reader->position += n;
    return static_cast<int>(n);
}

void OurImage(TGIFImage& image, const std::vector<std::uint8_t>& pixels, int bits)
{
    for (int i = 0; i < (1 << bits); ++i)
        image.Header().ColorMap().Add(TGIFColor{static_cast<std::uint8_t>(i), 0, 0});
    TGIFSubImage& frame = image.Add(std::make_unique<TGIFSubImage>(&image));
    frame.SetBounds(0, 0, kWidth, kHeight);
    frame.MutableData() = pixels;
}

void DecodeOurs(benchmark::State& state)
{
    const auto kind = static_cast<Kind>(state.range(0));
    std::vector<std::uint8_t> pixels = Pixels(kind);
    const std::string file = GiflibEncode(pixels, BitsOf(kind));
    for (auto _ : state) {
        TGIFImage image;
        TMemoryByteStream stream(file);
        image.LoadFromStream(stream);
        benchmark::DoNotOptimize(image.Images().SubImage(0).Data().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * kHeight);
}

void DecodeGiflib(benchmark::State& state)
{
    const auto kind = static_cast<Kind>(state.range(0));
    std::vector<std::uint8_t> pixels = Pixels(kind);
    const std::string file = GiflibEncode(pixels, BitsOf(kind));
    for (auto _ : state) {
        Reader reader{&file, 0};
        int error = 0;
        GifFileType* gif = DGifOpen(&reader, ReadMemory, &error);
        DGifSlurp(gif);
        benchmark::DoNotOptimize(gif->SavedImages[0].RasterBits);
        DGifCloseFile(gif, &error);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * kHeight);
}

void EncodeOurs(benchmark::State& state)
{
    const auto kind = static_cast<Kind>(state.range(0));
    TGIFImage image;
    image.Compression = static_cast<std::uint8_t>(state.range(1));
    OurImage(image, Pixels(kind), BitsOf(kind));
    for (auto _ : state) {
        TMemoryByteStream stream;
        image.SaveToStream(stream);
        benchmark::DoNotOptimize(stream.Data().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * kHeight);
}

void EncodeGiflib(benchmark::State& state)
{
    const auto kind = static_cast<Kind>(state.range(0));
    std::vector<std::uint8_t> pixels = Pixels(kind);
    for (auto _ : state)
        benchmark::DoNotOptimize(GiflibEncode(pixels, BitsOf(kind)));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * kHeight);
}

void Dither(benchmark::State& state)
{
    TGIFBitmap source(512, 512, TPixelFormat::pf24bit);
    std::mt19937 random(3);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512 * 3; ++x)
            source.ScanLine(y)[x] = static_cast<std::uint8_t>((x * 5 + y * 3 + random() % 32) & 0xFF);
    const auto reduction = static_cast<int>(state.range(1));
    for (auto _ : state)
        benchmark::DoNotOptimize(ReduceColors(source, reduction, static_cast<int>(state.range(0)), {}, 8));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 512 * 512);
}

} // namespace

// Argument: 0 photo-like, 1 line art (2 colours), 2 noise, 3 and 4 smooth pictures of 64 and 128 colours.
BENCHMARK(DecodeOurs)->Arg(kPhoto)->Arg(kLineArt)->Arg(kNoise)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeGiflib)->Arg(kPhoto)->Arg(kLineArt)->Arg(kNoise)->Unit(benchmark::kMillisecond);
// Second argument: 0 LZW, 1 run-length encoder.
BENCHMARK(EncodeOurs)
    ->ArgsProduct({{kPhoto, kLineArt, kNoise, kSmooth64, kSmooth128}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(EncodeGiflib)
    ->Arg(kPhoto)
    ->Arg(kLineArt)
    ->Arg(kNoise)
    ->Arg(kSmooth64)
    ->Arg(kSmooth128)
    ->Unit(benchmark::kMillisecond);
// Dither modes 0..6 to the web palette, and to an octree palette (reduction 7).
BENCHMARK(Dither)->ArgsProduct({{0, 1, 2, 3, 4, 5, 6}, {rmNetscape}})->Args({1, rmQuantize})->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

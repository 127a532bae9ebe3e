// The animator's GIF decoding beside giflib's on the same files: a large still
// photo-like picture (plain and interlaced), two-colour line art, noise and a
// 12-frame animation. Each run reads the file and decodes every frame.
#include "images/GIFStream.h"
#include "images/RxGIF.h"

#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

namespace {

enum Corpus { kPhoto, kPhotoInterlaced, kLineArt, kNoise, kAnimation };

TGIFBitmap Picture(int width, int height, int colours, unsigned seed, double phase)
{
    TGIFBitmap bitmap(width, height, colours == 2 ? TPixelFormat::pf1bit : TPixelFormat::pf8bit);
    for (int i = 0; i < colours; ++i)
        bitmap.Palette.push_back(TGIFColor{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), 40});
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (colours == 2) {
                if ((x / 16 + y / 16) % 7 == 0 || (x * x + y * y) % 997 < 40)
                    bitmap.ScanLine(y)[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
                continue;
            }
            const double wave = std::sin(x / 60.0 + phase) * std::cos(y / 45.0);
            const int v = seed == 0 ? static_cast<int>(random() & 0xFF)
                                    : static_cast<int>(128 + 90 * wave) + static_cast<int>(random() % 9);
            bitmap.ScanLine(y)[x] = static_cast<std::uint8_t>(std::clamp(v, 0, colours - 1));
        }
    return bitmap;
}

// The file of a corpus entry, written by the animator's own writer.
std::string File(Corpus corpus)
{
    RxGIF::TGIFImage image;
    switch (corpus) {
    case kPhoto:
    case kPhotoInterlaced: image.AddFrame(Picture(1024, 768, 256, 7, 0)); break;
    case kLineArt: image.AddFrame(Picture(1024, 768, 2, 7, 0)); break;
    case kNoise: image.AddFrame(Picture(1024, 768, 256, 0, 0)); break;
    case kAnimation:
        for (int i = 0; i < 12; ++i)
            image.AddFrame(Picture(320, 240, 256, static_cast<unsigned>(i + 1), i * 0.5));
        break;
    }
    TMemoryByteStream out;
    image.SaveToStream(out);
    if (corpus != kPhotoInterlaced)
        return out.Data();
    // Interlacing comes from a file: read, mark the frame interlaced and encode again through giflib's rows.
    RxGIF::TGIFImage read;
    TMemoryByteStream in(out.Data());
    read.LoadFromStream(in);
    const TGIFBitmap& bitmap = read.Frame(0).Bitmap();
    int error = 0;
    std::string interlaced;
    GifFileType* gif = EGifOpen(&interlaced, [](GifFileType* g, const GifByteType* data, int count) {
        static_cast<std::string*>(g->UserData)->append(reinterpret_cast<const char*>(data), static_cast<size_t>(count));
        return count;
    }, &error);
    std::vector<GifColorType> colours(256);
    for (size_t i = 0; i < bitmap.Palette.size(); ++i)
        colours[i] = GifColorType{bitmap.Palette[i].Red, bitmap.Palette[i].Green, bitmap.Palette[i].Blue};
    ColorMapObject* map = GifMakeMapObject(256, colours.data());
    EGifPutScreenDesc(gif, bitmap.Width(), bitmap.Height(), 8, 0, map);
    EGifPutImageDesc(gif, 0, 0, bitmap.Width(), bitmap.Height(), true, nullptr);
    static constexpr int kStart[] = {0, 4, 2, 1};
    static constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kStart[pass]; y < bitmap.Height(); y += kStep[pass])
            EGifPutLine(gif, const_cast<GifByteType*>(bitmap.ScanLine(y)), bitmap.Width());
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return interlaced;
}

std::int64_t Pixels(Corpus corpus)
{
    return corpus == kAnimation ? 12 * 320 * 240 : 1024 * 768;
}

struct Source {
    const std::string* bytes;
    size_t at;
};

int ReadSource(GifFileType* gif, GifByteType* buffer, int count)
{
    auto* source = static_cast<Source*>(gif->UserData);
    const size_t n = std::min<size_t>(static_cast<size_t>(count), source->bytes->size() - source->at);
    std::memcpy(buffer, source->bytes->data() + source->at, n);
    source->at += n;
    return static_cast<int>(n);
}

void DecodeAnimator(benchmark::State& state)
{
    const auto corpus = static_cast<Corpus>(state.range(0));
    const std::string file = File(corpus);
    for (auto _ : state) {
        RxGIF::TGIFImage image;
        TMemoryByteStream stream(file);
        image.LoadFromStream(stream);
        for (int i = 0; i < image.Count(); ++i)
            benchmark::DoNotOptimize(image.Frame(i).Bitmap().ScanLine(0));
    }
    state.SetItemsProcessed(state.iterations() * Pixels(corpus));
}

void DecodeGiflib(benchmark::State& state)
{
    const auto corpus = static_cast<Corpus>(state.range(0));
    const std::string file = File(corpus);
    for (auto _ : state) {
        Source source{&file, 0};
        int error = 0;
        GifFileType* gif = DGifOpen(&source, ReadSource, &error);
        DGifSlurp(gif);
        benchmark::DoNotOptimize(gif->SavedImages[gif->ImageCount - 1].RasterBits);
        DGifCloseFile(gif, &error);
    }
    state.SetItemsProcessed(state.iterations() * Pixels(corpus));
}

} // namespace

// Argument: 0 photo, 1 photo interlaced, 2 line art, 3 noise, 4 animation.
BENCHMARK(DecodeAnimator)->DenseRange(kPhoto, kAnimation)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeGiflib)->DenseRange(kPhoto, kAnimation)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

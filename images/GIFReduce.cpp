// Colour reduction: palette choice, look-up, dithering row by row.
#include "images/GIFReduce.h"

#include "images/GIFBitmap.h"
#include "images/GIFColorLookup.h"
#include "images/GIFDIB.h"
#include "images/GIFDither.h"
#include "images/GIFPalettes.h"
#include "images/GIFQuantizer.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr std::int64_t kLargePixels = 500000;

TGIFPalette ChoosePalette(const TGIFBitmap& rgb, int reduction, const TGIFPalette& given, int bits)
{
    switch (reduction) {
    case rmWindows20: return SystemPalette20();
    case rmWindows256: return HalftonePalette();
    case rmWindowsGray: return FourGrayPalette();
    case rmMonochrome: return MonochromePalette();
    case rmGrayScale: return GrayScalePalette();
    case rmNetscape: return WebPalette();
    case rmQuantize: return CreateOptimizedPaletteFromBitmap(rgb, 1 << bits, 8, false);
    case rmQuantizeWindows: return CreateOptimizedPaletteFromBitmap(rgb, 236, 8, true);
    default: return TGIFPalette(given.begin(), given.begin() + std::min<size_t>(given.size(), 256));
    }
}

std::unique_ptr<TColorLookup> CreateLookup(int reduction, const TGIFPalette& palette)
{
    switch (reduction) {
    case rmMonochrome: return std::make_unique<TMonochromeLookup>();
    case rmGrayScale: return std::make_unique<TGrayScaleLookup>();
    case rmNetscape: return std::make_unique<TNetscapeColorLookup>();
    default: return std::make_unique<TFastColorLookup>(palette);
    }
}

} // namespace

std::unique_ptr<TGIFBitmap> ReduceColors(const TGIFBitmap& bitmap, int reduction, int ditherMode,
                                         const TGIFPalette& palette, int reductionBits)
{
    auto result = std::make_unique<TGIFBitmap>();
    if (reduction == rmNone) {
        *result = bitmap;
        result->SetPixelFormat(TPixelFormat::pf24bit);
        return result;
    }
    if (reduction < rmNone || reduction > rmPalette || bitmap.Empty())
        return result;
    // A large result starts as small as a bitmap can be; the 8-bit picture replaces
    // it at the end, and a reduction that gives up leaves it so.
    if (std::int64_t{bitmap.Width()} * bitmap.Height() > kLargePixels)
        result->SetPixelFormat(TPixelFormat::pf1bit);
    // The caller's bitmap keeps its own format; rows are read from a 24-bit copy.
    TGIFBitmap source = bitmap;
    TDIBReader reader(source, TPixelFormat::pf24bit);
    const TGIFPalette colors = ChoosePalette(source, reduction, palette, std::clamp(reductionBits, 1, 8));
    std::unique_ptr<TColorLookup> lookup = CreateLookup(reduction, colors);
    std::unique_ptr<TDitherEngine> ditherer = CreateDitherer(ditherMode, source.Width(), *lookup);
    if (!ditherer || lookup->Colors() == 0)
        return result;
    TDIBWriter writer(*result, TPixelFormat::pf8bit, source.Width(), source.Height(), colors);
    const int width = source.Width();
    for (int y = 0; y < source.Height(); ++y) {
        const std::uint8_t* src = reader.ScanLine(y);
        std::uint8_t* dst = writer.ScanLine(y);
        for (int x = ditherer->Column(); x >= 0 && x < width; x = ditherer->Column())
            dst[x] = ditherer->Dither(src[x * 3 + 2], src[x * 3 + 1], src[x * 3]);
        ditherer->NextLine();
    }
    writer.Finish();
    return result;
}

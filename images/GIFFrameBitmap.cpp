// Frame bitmaps and masks.
#include "images/GIFFrameBitmap.h"

#include "images/GIFColorLookup.h"
#include "images/GIFDither.h"
#include "images/GIFPalettes.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kProgressRows = 32;

TGIFColor ColorOf(const TGIFPalette& colors, std::uint8_t index)
{
    return index < colors.size() ? colors[index] : TGIFColor{};
}

void DitherRow(const TFrameSource& source, const std::uint8_t* src, std::uint8_t* dst, TDitherEngine& ditherer,
               TColorLookup& lookup)
{
    for (int x = ditherer.Column(); x >= 0 && x < source.Width; x = ditherer.Column()) {
        const TGIFColor c = ColorOf(source.Colors, src[x]);
        if (src[x] == source.TransparentIndex) {
            TGIFColor nearest;
            dst[x] = static_cast<std::uint8_t>(lookup.Lookup(c.Red, c.Green, c.Blue, nearest));
            ditherer.Skip();
        } else {
            dst[x] = ditherer.Dither(c.Red, c.Green, c.Blue);
        }
    }
    ditherer.NextLine();
}

std::unique_ptr<TGIFBitmap> BuildMask(const TFrameSource& source)
{
    if (!source.Pixels || source.TransparentIndex < 0)
        return nullptr;
    auto mask = std::make_unique<TGIFBitmap>(source.Width, source.Height, TPixelFormat::pf1bit);
    bool any = false;
    for (int y = 0; y < source.Height; ++y) {
        const std::uint8_t* src = source.Pixels + static_cast<size_t>(y) * source.Width;
        std::uint8_t* dst = mask->ScanLine(y);
        for (int x = 0; x < source.Width; ++x)
            if (src[x] == source.TransparentIndex) {
                dst[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
                any = true;
            }
    }
    return any ? std::move(mask) : nullptr;
}

} // namespace

TFrameBitmap RenderFrameBitmap(const TFrameSource& source, const TGIFPalette& palette, bool dither,
                               const std::function<void(int rowsDone)>& rowsDone)
{
    TFrameBitmap result;
    result.Bitmap = TGIFBitmap(source.Width, source.Height, TPixelFormat::pf8bit);
    result.Bitmap.Palette = dither ? WebPalette() : palette;
    if (!source.Pixels)
        return result;
    TNetscapeColorLookup lookup;
    TFloydSteinbergDitherer ditherer(source.Width, lookup);
    for (int y = 0; y < source.Height; ++y) {
        const std::uint8_t* src = source.Pixels + static_cast<size_t>(y) * source.Width;
        std::uint8_t* dst = result.Bitmap.ScanLine(y);
        if (dither)
            DitherRow(source, src, dst, ditherer, lookup);
        else
            std::memcpy(dst, src, static_cast<size_t>(source.Width));
        if ((y + 1) % kProgressRows == 0 && rowsDone)
            rowsDone(y + 1);
    }
    result.Mask = BuildMask(source);
    return result;
}

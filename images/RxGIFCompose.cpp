// Composing animation frames by their disposal methods.
#include "images/RxGIFCompose.h"

#include "images/RxGIF.h"

#include <algorithm>

namespace RxGIF {

namespace {

constexpr int kRestoreBackground = 2;

TGIFColor PixelColour(const TGIFBitmap& bitmap, int x, int y, int& index)
{
    const std::uint8_t* row = bitmap.ScanLine(y);
    switch (bitmap.PixelFormat()) {
    case TPixelFormat::pf24bit:
        index = -1;
        return TGIFColor{row[x * 3 + 2], row[x * 3 + 1], row[x * 3]};
    case TPixelFormat::pf1bit: index = (row[x >> 3] >> (7 - (x & 7))) & 1; break;
    case TPixelFormat::pf8bit: index = row[x]; break;
    }
    return index < static_cast<int>(bitmap.Palette.size()) ? bitmap.Palette[static_cast<size_t>(index)] : TGIFColor{};
}

void Fill(TGIFBitmap& target, int left, int top, int width, int height, TGIFColor colour)
{
    for (int y = std::max(0, top); y < std::min(target.Height(), top + height); ++y)
        for (int x = std::max(0, left); x < std::min(target.Width(), left + width); ++x) {
            std::uint8_t* p = target.ScanLine(y) + x * 3;
            p[0] = colour.Blue;
            p[1] = colour.Green;
            p[2] = colour.Red;
        }
}

// The frame at its position, its transparent pixels (by index when it has one) left out.
void Draw(TGIFBitmap& target, TGIFFrame& frame)
{
    const TGIFBitmap& bitmap = frame.Bitmap();
    const TColor transparent = frame.TransparentColor();
    const int transparentIndex = bitmap.PixelFormat() == TPixelFormat::pf24bit ? -1 : frame.TransparentIndex();
    for (int y = 0; y < bitmap.Height(); ++y) {
        const int ty = frame.Top() + y;
        if (ty < 0 || ty >= target.Height())
            continue;
        for (int x = 0; x < bitmap.Width(); ++x) {
            const int tx = frame.Left() + x;
            if (tx < 0 || tx >= target.Width())
                continue;
            int index = -1;
            const TGIFColor c = PixelColour(bitmap, x, y, index);
            if (transparent != clNone &&
                (transparentIndex >= 0 ? index == transparentIndex : ColorOf(c) == transparent))
                continue;
            std::uint8_t* p = target.ScanLine(ty) + tx * 3;
            p[0] = c.Blue;
            p[1] = c.Green;
            p[2] = c.Red;
        }
    }
}

} // namespace

TComposedFrame ComposeFrame(TGIFImage& image, int index, TColor windowColor, bool keyBackground)
{
    TComposedFrame out;
    if (image.Count() == 0 || image.ScreenWidth() < 1 || image.ScreenHeight() < 1)
        return out;
    const int last = std::clamp(index, 0, image.Count() - 1);
    TGIFFrame& shown = image.Frame(last);
    TColor background = windowColor;
    if (keyBackground && shown.TransparentColor() != clNone) {
        background = shown.TransparentColor();
        out.Transparent = background;
    } else if (image.BackgroundColor() != clNone && image.Transparent()) {
        background = image.BackgroundColor();
    }
    out.Bitmap = TGIFBitmap(image.ScreenWidth(), image.ScreenHeight(), TPixelFormat::pf24bit);
    const TGIFColor fill = GIFColorOf(background);
    Fill(out.Bitmap, 0, 0, out.Bitmap.Width(), out.Bitmap.Height(), fill);
    int start = 0;
    for (int i = last - 1; i >= 1; --i) {
        TGIFFrame& f = image.Frame(i);
        if (f.Disposal() == kRestoreBackground && f.Width() == image.ScreenWidth() && f.Height() == image.ScreenHeight()) {
            start = i;
            break;
        }
    }
    for (int i = start; i < last; ++i) {
        TGIFFrame& f = image.Frame(i);
        if (f.Disposal() == 0 || f.Disposal() == 1)
            Draw(out.Bitmap, f);
        else if (f.Disposal() == kRestoreBackground && i > start)
            Fill(out.Bitmap, f.Left(), f.Top(), f.Width(), f.Height(), fill);
    }
    Draw(out.Bitmap, shown);
    return out;
}

} // namespace RxGIF

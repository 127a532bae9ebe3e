// Nearest-colour look-ups.
#include "images/GIFColorLookup.h"

#include <algorithm>
#include <cstdlib>

TFastColorLookup::TFastColorLookup(const TGIFPalette& palette)
    : TColorLookup(static_cast<int>(std::min<size_t>(palette.size(), 256))),
      palette_(palette.begin(), palette.begin() + Colors()), cache_(32768, kEmpty)
{
    for (int i = 0; i < Colors(); ++i) {
        const TGIFColor& c = palette_[static_cast<size_t>(i)];
        std::uint16_t& slot = cache_[static_cast<size_t>(Key(c.Red, c.Green, c.Blue))];
        if (slot == kEmpty)
            slot = static_cast<std::uint16_t>(i);
    }
}

int TFastColorLookup::Lookup(int red, int green, int blue, TGIFColor& color)
{
    if (Colors() == 0) {
        color = TGIFColor{};
        return 0;
    }
    std::uint16_t& slot = cache_[static_cast<size_t>(Key(red, green, blue))];
    if (slot == kEmpty) {
        int best = 0;
        int bestDistance = 1 << 30;
        for (int i = 0; i < Colors(); ++i) {
            const TGIFColor& c = palette_[static_cast<size_t>(i)];
            const int distance = std::abs(c.Red - red) + std::abs(c.Green - green) + std::abs(c.Blue - blue);
            if (distance < bestDistance) {
                bestDistance = distance;
                best = i;
            }
        }
        slot = static_cast<std::uint16_t>(best);
    }
    color = palette_[slot];
    return slot;
}

int TNetscapeColorLookup::Lookup(int red, int green, int blue, TGIFColor& color)
{
    const int r = (red + 3) / 51;
    const int g = (green + 3) / 51;
    const int b = (blue + 3) / 51;
    color = TGIFColor{static_cast<std::uint8_t>(r * 51), static_cast<std::uint8_t>(g * 51),
                      static_cast<std::uint8_t>(b * 51)};
    return 36 * r + 6 * g + b;
}

int TGrayScaleLookup::Lookup(int red, int green, int blue, TGIFColor& color)
{
    const auto grey = static_cast<std::uint8_t>((77 * red + 150 * green + 29 * blue) >> 8);
    color = TGIFColor{grey, grey, grey};
    return grey;
}

int TMonochromeLookup::Lookup(int red, int green, int blue, TGIFColor& color)
{
    if (77 * red + 150 * green + 29 * blue < 32513) {
        color = TGIFColor{0, 0, 0};
        return 0;
    }
    color = TGIFColor{255, 255, 255};
    return 1;
}

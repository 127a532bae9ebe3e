// Finding a colour no opaque pixel uses, in steps of 17 per component.
#include "images/KeyColor.h"

#include "images/GIFBitmap.h"

#include <vector>

namespace RxGIF {

TColor UnusedColor(const TGIFBitmap& source, const std::function<bool(int x, int y)>& transparent, TColor preferred)
{
    TGIFBitmap bitmap = source;
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    // Colours by their top four bits a component: a free bucket holds no pixel at all.
    std::vector<bool> used(1 << 12);
    bool preferredUsed = false;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if (!transparent(x, y)) {
                const std::uint8_t* p = bitmap.ScanLine(y) + x * 3;
                used[static_cast<size_t>((p[2] >> 4) << 8 | (p[1] >> 4) << 4 | p[0] >> 4)] = true;
                preferredUsed = preferredUsed || ColorOf(TGIFColor{p[2], p[1], p[0]}) == preferred;
            }
    if (!preferredUsed)
        return preferred;
    for (size_t i = used.size(); i-- > 0;)
        if (!used[i])
            return ColorOf(TGIFColor{static_cast<std::uint8_t>((i >> 8) * 17), static_cast<std::uint8_t>((i >> 4 & 15) * 17),
                                     static_cast<std::uint8_t>((i & 15) * 17)});
    return preferred;
}

} // namespace RxGIF

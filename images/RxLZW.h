// The animator's LZW codec: decoding a frame's compressed data into its bitmap
// rows and encoding bitmap rows into compressed data.
#pragma once

#include "images/Graphic.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class TGIFBitmap;

namespace RxGIF {

using TLZWProgress = std::function<void(TProgressStage stage, int percent)>;

// Fills the bitmap (already sized; 1 or 8 bits per pixel, zero-filled) from
// compressed data: the code size byte and the data sub-blocks. Pixels are masked
// with pixelMask. Answers false when the data is broken or ends before the last
// row (the pixels not reached keep index 0); without tolerateErrors broken data
// raises "GIF encoded data is corrupt" instead. A code size outside 2..9 raises
// "GIF code size not in range 2 to 9".
bool RxLZWDecode(std::string_view compressed, TGIFBitmap& target, bool interlaced, int pixelMask,
                 bool tolerateErrors, const TLZWProgress& progress = {});

// The compressed data of the bitmap's pixel indices (1 or 8 bits per pixel):
// minimum code size 2 for depth 1, else depth (4 or 8), then the sub-blocks and
// the closing empty block. depth says how many bits the indices use.
std::string RxLZWEncode(const TGIFBitmap& source, int depth, bool interlaced, const TLZWProgress& progress = {});

// Visits the rows of a picture of the given height in stored order: top to
// bottom, or the four interlace passes (every 8th from 0, every 8th from 4,
// every 4th from 2, every 2nd from 1).
template <class F>
void ForEachStoredRow(int height, bool interlaced, F&& visit)
{
    if (!interlaced) {
        for (int y = 0; y < height; ++y)
            visit(y);
        return;
    }
    static constexpr int kStart[] = {0, 4, 2, 1};
    static constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kStart[pass]; y < height; y += kStep[pass])
            visit(y);
}

} // namespace RxGIF

// The picture an animation shows at a frame: the frames before it laid down and
// undrawn by their disposal methods, then the frame itself.
#pragma once

#include "images/GIFBitmap.h"
#include "images/RxGIFTypes.h"

namespace RxGIF {

class TGIFImage;

struct TComposedFrame {
    TGIFBitmap Bitmap; // 24 bits per pixel, the image's screen size
    TColor Transparent = clNone; // the background when the frame is transparent
};

// The frame at index (clamped to the last frame) on a screen-sized bitmap. The
// background is the frame's transparent colour when it has one (unless
// keyBackground is off), otherwise the image's background colour when set and
// the image is transparent, otherwise windowColor. An image without frames or
// screen gives an empty bitmap.
TComposedFrame ComposeFrame(TGIFImage& image, int index, TColor windowColor, bool keyBackground = true);

} // namespace RxGIF

// The bitmap of a frame: its colour indices as an 8-bit bitmap, copied as they are
// or dithered to the web palette, and the mask of its transparent pixels.
#pragma once

#include "images/GIFBitmap.h"

#include <cstdint>
#include <functional>
#include <memory>

struct TFrameBitmap {
    TGIFBitmap Bitmap;
    // One bit per pixel, most significant first, set where the pixel is transparent;
    // null when no pixel is.
    std::unique_ptr<TGIFBitmap> Mask;
};

struct TFrameSource {
    // width x height colour indices, rows top to bottom; null for a frame without pixels.
    const std::uint8_t* Pixels = nullptr;
    int Width = 0;
    int Height = 0;
    // The colours the indices stand for; an index past them reads as black.
    TGIFPalette Colors;
    // -1 when the frame has no transparent colour.
    int TransparentIndex = -1;
};

// Without dithering the indices are copied and the bitmap takes `palette`. With
// dithering the colours go through the Floyd-Steinberg ditherer onto the web
// palette; transparent pixels take their nearest web colour without spreading error.
// rowsDone is called every 32 rows with the number of rows drawn.
TFrameBitmap RenderFrameBitmap(const TFrameSource& source, const TGIFPalette& palette, bool dither,
                               const std::function<void(int rowsDone)>& rowsDone);

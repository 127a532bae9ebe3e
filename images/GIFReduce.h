// Colour reduction of a bitmap to an 8-bit bitmap with a palette.
#pragma once

#include "images/GIFColor.h"

#include <memory>

class TGIFBitmap;

// The reduction methods: which palette the result gets.
enum TColorReduction {
    rmNone = 0,            // a 24-bit copy
    rmWindows20 = 1,       // the 20 static system colours
    rmWindows256 = 2,      // the halftone palette
    rmWindowsGray = 3,     // four greys
    rmMonochrome = 4,      // black and white
    rmGrayScale = 5,       // 256 greys
    rmNetscape = 6,        // the 216 web colours
    rmQuantize = 7,        // octree of 2^bits colours
    rmQuantizeWindows = 8, // octree of 236 colours inside the 20 static ones
    rmPalette = 9          // the given palette
};

// Dither modes 0 (nearest colour) to 6, see CreateDitherer.
// Reduction bits are clamped to 1..8. An unknown reduction or dither mode, or an
// empty palette, answers an empty bitmap; past 500,000 source pixels an empty answer
// to a known reduction has 1 bit per pixel.
std::unique_ptr<TGIFBitmap> ReduceColors(const TGIFBitmap& bitmap, int reduction, int ditherMode,
                                         const TGIFPalette& palette, int reductionBits);

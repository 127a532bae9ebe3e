// A bitmap as an in-memory BMP file of a chosen depth, its colours reduced to at
// most 256 by one of six methods.
#pragma once

#include <cstdint>
#include <string>

class TGIFBitmap;

enum TMappingMethod : std::uint8_t {
    mmFrequency = 0,    // the 256 most used colours
    mmMedianCut = 1,    // boxes split at the median of their longest side
    mmTruncate784 = 2,  // 7 x 8 x 4 levels
    mmTruncate666 = 3,  // 6 x 6 x 6 levels
    mmTripel = 4,       // one component per pixel, in three ramps
    mmGrayscale = 5     // 256 greys
};

// The method used when no other is named; the animator window lets the user pick it.
inline TMappingMethod DefaultMappingMethod = mmFrequency;

// A complete BMP file of the bitmap at 1, 4, 8 or 24 bits per pixel. An empty bitmap
// raises EInvalidGraphic "Bitmap image is not valid"; another depth raises
// EInvalidGraphicOperation "Function not yet implemented". 8 bits reduce by the
// method; 1 and 4 bits map to the bitmap's own palette when it is small enough,
// else to black and white or the 16 standard colours; 24 bits give the plain colours.
std::string BitmapToReducedDIB(const TGIFBitmap& bitmap, int bitsPerPixel, TMappingMethod method);

// The depth that holds the colour count (2: 1 bit, 16: 4, 256: 8, more: 24), by DefaultMappingMethod.
std::string BitmapToReducedDIBForColors(const TGIFBitmap& bitmap, int colors);

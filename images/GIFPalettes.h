// The fixed palettes colour reduction chooses from.
#pragma once

#include "images/GIFColor.h"

// Entry 36r + 6g + b = (51r, 51g, 51b) for r, g, b in 0..5.
TGIFPalette WebPalette();
// 0x00, 0x80, 0xC0, 0xFF.
TGIFPalette FourGrayPalette();
TGIFPalette MonochromePalette();
// Entry i = (i, i, i).
TGIFPalette GrayScalePalette();
// The 20 static colours of the system palette, the first ten then the last ten.
TGIFPalette SystemPalette20();
// 256 entries: the first ten static colours at 0-9, the last ten at 246-255, black between.
TGIFPalette SystemPalette256();
// A fixed 256-colour palette for showing true colour on palette screens: the 20
// static colours around the web cube and a ramp of greys.
TGIFPalette HalftonePalette();

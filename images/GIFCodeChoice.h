// Pixels that may show either of two indices (one drawn over an identical colour
// may be left transparent, or a transparent one may repeat the colour below)
// take the one that lets the LZW encoder match longer strings: the encoder
// itself chooses as it builds its dictionary.
#pragma once

#include <cstdint>
#include <vector>

class TLZWEncoder;

// The indices one way of choosing gives, and the size of the image data the
// encoder wrote for them.
struct TChosenIndices {
    std::vector<std::uint8_t> pixels;
    std::int64_t bytes = 0;
};

// `pixels` holds each pixel's preferred index; `alternative` the other index it
// may take instead, or -1. Pixels are taken in the order the encoder takes them
// (interlace passes when interlaced), with codes for bitsPerPixel, which covers
// both indices of every pixel. Where the dictionary has no say (neither index,
// or both, go on with the string), one way takes the preferred index, the
// other the index more of the following pixels may take in a row; the second
// is left out when it would choose as the first.
std::vector<TChosenIndices> ChooseIndicesForLZW(TLZWEncoder& encoder, const std::vector<std::uint8_t>& pixels,
                                                const std::vector<std::int16_t>& alternative, int width, int height,
                                                int bitsPerPixel, bool interlaced);

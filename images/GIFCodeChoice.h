// Pixels that may show either of two indices (one drawn over an identical colour
// may be left transparent, or a transparent one may repeat the colour below)
// take the one that lets the LZW encoder match longer strings: the encoder
// itself chooses as it builds its dictionary.
#pragma once

#include <cstdint>
#include <vector>

class TLZWEncoder;

// Where the dictionary has no say (neither index, or both, go on with the string):
enum class TIndexChoice {
    icPreferred, // the preferred index
    icLongerRun  // the index more of the following pixels may take in a row
};

// `pixels` holds each pixel's preferred index; `alternative` the other index it
// may take instead, or -1. Pixels are taken in the order the encoder takes them
// (interlace passes when interlaced); the chosen index is written back. Answers
// the size of the image data the encoder writes for them with codes for
// bitsPerPixel, which covers both indices of every pixel.
std::int64_t ChooseIndicesForLZW(TLZWEncoder& encoder, std::vector<std::uint8_t>& pixels,
                                 const std::vector<std::int16_t>& alternative, int width, int height, int bitsPerPixel,
                                 bool interlaced, TIndexChoice rule);

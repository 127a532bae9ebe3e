// A colour entry as GIF colour tables store it, and a palette made of such entries.
#pragma once

#include <cstdint>
#include <vector>

struct TGIFColor {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
    bool operator==(const TGIFColor&) const = default;
};

static_assert(sizeof(TGIFColor) == 3, "colour tables are read and written as packed entries");

using TGIFPalette = std::vector<TGIFColor>;

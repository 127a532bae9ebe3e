// Fixed palettes.
#include "images/GIFPalettes.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace {

constexpr TGIFColor kStaticColors[20] = {
    {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
    {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
    {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
    {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};

TGIFColor Grey(int level)
{
    const auto v = static_cast<std::uint8_t>(level);
    return TGIFColor{v, v, v};
}

} // namespace

TGIFPalette WebPalette()
{
    TGIFPalette palette;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette.push_back(TGIFColor{static_cast<std::uint8_t>(51 * r), static_cast<std::uint8_t>(51 * g),
                                            static_cast<std::uint8_t>(51 * b)});
    return palette;
}

TGIFPalette FourGrayPalette()
{
    return {Grey(0x00), Grey(0x80), Grey(0xC0), Grey(0xFF)};
}

TGIFPalette MonochromePalette()
{
    return {Grey(0), Grey(255)};
}

TGIFPalette GrayScalePalette()
{
    TGIFPalette palette;
    for (int i = 0; i < 256; ++i)
        palette.push_back(Grey(i));
    return palette;
}

TGIFPalette SystemPalette20()
{
    return TGIFPalette(std::begin(kStaticColors), std::end(kStaticColors));
}

TGIFPalette SystemPalette256()
{
    TGIFPalette palette(256);
    for (int i = 0; i < 10; ++i) {
        palette[static_cast<size_t>(i)] = kStaticColors[i];
        palette[static_cast<size_t>(246 + i)] = kStaticColors[10 + i];
    }
    return palette;
}

TGIFPalette HalftonePalette()
{
    TGIFPalette palette = SystemPalette256();
    const TGIFPalette cube = WebPalette();
    std::copy(cube.begin(), cube.end(), palette.begin() + 10);
    // The 20 entries left between the cube and the upper static colours hold greys
    // that the cube lacks (it has six levels only).
    for (int i = 0; i < 20; ++i)
        palette[static_cast<size_t>(226 + i)] = Grey(12 * (i + 1) + (i >= 4 ? 3 : 0));
    return palette;
}

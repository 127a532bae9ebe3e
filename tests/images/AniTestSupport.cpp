// Animated cursor files built by the tests.
#include "tests/images/AniTestSupport.h"

namespace anitest {

std::string U32(std::uint32_t v)
{
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
}

std::string U16(int v)
{
    return {static_cast<char>(v), static_cast<char>(v >> 8)};
}

TGIFColor PaletteEntry(int i)
{
    return TGIFColor{static_cast<std::uint8_t>(i * 9), static_cast<std::uint8_t>(255 - i), 50};
}

TGIFColor Expected(int bits, int x, int y)
{
    if (bits <= 8)
        return PaletteEntry((x + 2 * y) % (1 << bits));
    return TGIFColor{static_cast<std::uint8_t>(x * 10), static_cast<std::uint8_t>(y * 10), 77};
}

std::string Ico(int w, int h, int bits, int type, int hotX, int hotY)
{
    std::string image = U32(40) + U32(static_cast<std::uint32_t>(w)) + U32(static_cast<std::uint32_t>(2 * h)) + U16(1) +
                        U16(bits) + U32(0) + U32(0) + U32(0) + U32(0) + U32(0) + U32(0);
    if (bits <= 8)
        for (int i = 0; i < 1 << bits; ++i) {
            const TGIFColor c = PaletteEntry(i);
            image += {static_cast<char>(c.Blue), static_cast<char>(c.Green), static_cast<char>(c.Red), 0};
        }
    const int stride = (w * bits + 31) / 32 * 4;
    for (int y = h - 1; y >= 0; --y) {
        std::string row(static_cast<size_t>(stride), '\0');
        for (int x = 0; x < w; ++x) {
            if (bits <= 8) {
                const int index = (x + 2 * y) % (1 << bits);
                row[static_cast<size_t>(x * bits / 8)] |= static_cast<char>(index << (8 - bits - (x * bits) % 8));
            } else {
                const TGIFColor c = Expected(bits, x, y);
                const size_t at = static_cast<size_t>(x * bits / 8);
                row[at] = static_cast<char>(c.Blue);
                row[at + 1] = static_cast<char>(c.Green);
                row[at + 2] = static_cast<char>(c.Red);
                if (bits == 32)
                    row[at + 3] = '\xFF';
            }
        }
        image += row;
    }
    const int maskStride = (w + 31) / 32 * 4;
    for (int y = h - 1; y >= 0; --y) {
        std::string row(static_cast<size_t>(maskStride), '\0');
        if (y == 0)
            row[0] = '\x80';
        image += row;
    }
    return U16(0) + U16(type) + U16(1) + std::string{static_cast<char>(w), static_cast<char>(h), 0, 0} + U16(hotX) +
           U16(type == 1 ? bits : hotY) + U32(static_cast<std::uint32_t>(image.size())) + U32(22) + image;
}

std::string Chunk(const std::string& tag, const std::string& data)
{
    return tag + U32(static_cast<std::uint32_t>(data.size())) + data + (data.size() % 2 ? std::string(1, '\0') : "");
}

std::string Anih(std::uint32_t frames, std::uint32_t steps, std::uint32_t rate, std::uint32_t flags)
{
    return Chunk("anih", U32(36) + U32(frames) + U32(steps) + U32(0) + U32(0) + U32(0) + U32(0) + U32(rate) + U32(flags));
}

std::string Words(const std::vector<std::uint32_t>& values)
{
    std::string out;
    for (std::uint32_t v : values)
        out += U32(v);
    return out;
}

std::string Fram(const std::vector<std::string>& icons)
{
    std::string list = "fram";
    for (const std::string& icon : icons)
        list += Chunk("icon", icon);
    return Chunk("LIST", list);
}

std::string Riff(const std::string& chunks)
{
    return "RIFF" + U32(static_cast<std::uint32_t>(chunks.size() + 4)) + "ACON" + chunks;
}

} // namespace anitest

// Reducing a 24-bit picture to an 8-bit palette picture, and the simpler depths.
#include "images/ReducedDIB.h"

#include "images/BMPFile.h"
#include "images/GIFBitmap.h"
#include "images/GraphicException.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace {

const TWording NotImplemented{"Function not yet implemented"};

constexpr TGIFColor kFiller{128, 128, 128};

struct TRGB {
    std::uint8_t r, g, b;
};

// The pixels of a bitmap as colours, top row first.
std::vector<TRGB> Colours(const TGIFBitmap& bitmap)
{
    TGIFBitmap wide = bitmap;
    wide.SetPixelFormat(TPixelFormat::pf24bit);
    std::vector<TRGB> out;
    out.reserve(static_cast<size_t>(wide.Width()) * static_cast<size_t>(wide.Height()));
    for (int y = 0; y < wide.Height(); ++y) {
        const std::uint8_t* row = wide.ScanLine(y);
        for (int x = 0; x < wide.Width(); ++x)
            out.push_back(TRGB{row[x * 3 + 2], row[x * 3 + 1], row[x * 3]});
    }
    return out;
}

// Index of the nearest level for every component value (the lower one on a tie).
template <size_t N>
std::array<std::uint8_t, 256> NearestLevels(const std::array<int, N>& levels)
{
    std::array<std::uint8_t, 256> nearest{};
    for (int v = 0; v < 256; ++v) {
        int best = 0;
        for (size_t i = 1; i < N; ++i)
            if (std::abs(levels[i] - v) < std::abs(levels[static_cast<size_t>(best)] - v))
                best = static_cast<int>(i);
        nearest[static_cast<size_t>(v)] = static_cast<std::uint8_t>(best);
    }
    return nearest;
}

constexpr std::array<int, 4> kLevels4{0, 85, 170, 255};
constexpr std::array<int, 6> kLevels6{0, 51, 102, 153, 204, 255};
constexpr std::array<int, 7> kLevels7{0, 43, 85, 128, 170, 213, 255};
constexpr std::array<int, 8> kLevels8{0, 36, 73, 109, 146, 182, 219, 255};

const std::array<std::uint8_t, 256>& Nearest4()
{
    static const auto table = NearestLevels(kLevels4);
    return table;
}
const std::array<std::uint8_t, 256>& Nearest6()
{
    static const auto table = NearestLevels(kLevels6);
    return table;
}
const std::array<std::uint8_t, 256>& Nearest7()
{
    static const auto table = NearestLevels(kLevels7);
    return table;
}
const std::array<std::uint8_t, 256>& Nearest8()
{
    static const auto table = NearestLevels(kLevels8);
    return table;
}

struct TReduced {
    TGIFPalette palette;
    std::vector<std::uint8_t> indices; // one per pixel
    std::uint32_t important = 0;
};

int Distance(TGIFColor a, TRGB b)
{
    const int dr = a.Red - b.r, dg = a.Green - b.g, db = a.Blue - b.b;
    return dr * dr + dg * dg + db * db;
}

int NearestEntry(const TGIFPalette& palette, TRGB colour)
{
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (size_t i = 0; i < palette.size(); ++i) {
        const int d = Distance(palette[i], colour);
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

// Counts colours in a fixed table through an open-addressing hash; when the
// table would overflow, counting starts over with one low bit fewer on a component.
TReduced ByFrequency(const std::vector<TRGB>& pixels)
{
    constexpr int kSlots = 5191;
    constexpr int kCapacity = 2049;
    struct TEntry {
        TRGB colour;
        std::uint32_t count;
        int index;
    };
    std::uint8_t masks[3] = {0xFF, 0xFF, 0xFF};
    std::vector<TEntry> entries;
    std::vector<std::uint16_t> slots;
    auto masked = [&](TRGB c) { return TRGB{std::uint8_t(c.r & masks[0]), std::uint8_t(c.g & masks[1]), std::uint8_t(c.b & masks[2])}; };
    auto find = [&](TRGB c) {
        size_t slot = static_cast<size_t>((c.r + c.g) * (c.g + c.b) * (c.b + c.r) % kSlots);
        while (slots[slot] != 0xFFFF) {
            const TRGB& e = entries[slots[slot]].colour;
            if (e.r == c.r && e.g == c.g && e.b == c.b)
                break;
            slot = (slot + 1) % kSlots;
        }
        return slot;
    };
    for (bool counted = false; !counted;) {
        entries.clear();
        slots.assign(kSlots, 0xFFFF);
        counted = true;
        for (const TRGB& pixel : pixels) {
            const TRGB c = masked(pixel);
            const size_t slot = find(c);
            if (slots[slot] != 0xFFFF) {
                ++entries[slots[slot]].count;
                continue;
            }
            if (static_cast<int>(entries.size()) == kCapacity) {
                int which = masks[0] < masks[1] ? 1 : masks[0] <= masks[2] ? 2 : 0;
                masks[which] = static_cast<std::uint8_t>(masks[which] << 1);
                counted = false;
                break;
            }
            slots[slot] = static_cast<std::uint16_t>(entries.size());
            entries.push_back(TEntry{c, 1, -1});
        }
    }
    TReduced result;
    result.palette.assign(256, kFiller);
    const size_t chosen = std::min<size_t>(256, entries.size());
    std::vector<std::uint32_t> counts(entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        counts[i] = entries[i].count;
    for (size_t n = 0; n < chosen; ++n) {
        const size_t best = static_cast<size_t>(std::max_element(counts.begin(), counts.end()) - counts.begin());
        entries[best].index = static_cast<int>(n);
        result.palette[n] = TGIFColor{entries[best].colour.r, entries[best].colour.g, entries[best].colour.b};
        counts[best] = 0;
    }
    const TGIFPalette used(result.palette.begin(), result.palette.begin() + static_cast<std::ptrdiff_t>(chosen));
    for (TEntry& e : entries)
        if (e.index < 0)
            e.index = NearestEntry(used, e.colour);
    result.indices.reserve(pixels.size());
    for (const TRGB& pixel : pixels)
        result.indices.push_back(static_cast<std::uint8_t>(entries[slots[find(masked(pixel))]].index));
    return result;
}

// Boxes over colours quantised to 4 bits a component, split at the median of
// their pixels along the axis of the widest extent.
TReduced ByMedianCut(const std::vector<TRGB>& pixels)
{
    struct TBox {
        std::vector<std::uint16_t> keys;
        int lower[3] = {0, 0, 0};
        int extent[3] = {255, 255, 255};
        std::uint64_t count = 0;
    };
    auto value = [](std::uint16_t key, int axis) { return axis == 0 ? key >> 8 : axis == 1 ? (key >> 4) & 15 : key & 15; };
    std::vector<std::uint64_t> perKey(4096, 0);
    std::vector<std::uint16_t> pixelKeys;
    pixelKeys.reserve(pixels.size());
    for (const TRGB& p : pixels) {
        const auto key = static_cast<std::uint16_t>((p.r >> 4) * 256 + (p.g >> 4) * 16 + (p.b >> 4));
        pixelKeys.push_back(key);
        ++perKey[key];
    }
    std::vector<TBox> boxes(1);
    for (std::uint16_t k = 0; k < 4096; ++k)
        if (perKey[k])
            boxes[0].keys.push_back(k);
    boxes[0].count = pixels.size();
    while (boxes.size() < 256) {
        int chosenBox = -1, axis = 0, widest = -1;
        for (size_t b = 0; b < boxes.size(); ++b)
            for (int a = 0; a < 3 && boxes[b].keys.size() >= 2; ++a)
                if (boxes[b].extent[a] > widest) {
                    widest = boxes[b].extent[a];
                    chosenBox = static_cast<int>(b);
                    axis = a;
                }
        if (chosenBox < 0)
            break;
        TBox& box = boxes[static_cast<size_t>(chosenBox)];
        std::sort(box.keys.begin(), box.keys.end(), [&](std::uint16_t x, std::uint16_t y) {
            return value(x, axis) != value(y, axis) ? value(x, axis) < value(y, axis) : x < y;
        });
        size_t lowerKeys = 1;
        std::uint64_t running = perKey[box.keys[0]];
        while (lowerKeys + 1 < box.keys.size() && running + perKey[box.keys[lowerKeys]] <= box.count / 2)
            running += perKey[box.keys[lowerKeys++]];
        TBox upper;
        upper.keys.assign(box.keys.begin() + static_cast<std::ptrdiff_t>(lowerKeys), box.keys.end());
        box.keys.resize(lowerKeys);
        std::copy(std::begin(box.lower), std::end(box.lower), upper.lower);
        std::copy(std::begin(box.extent), std::end(box.extent), upper.extent);
        upper.lower[axis] = 16 * value(upper.keys.front(), axis);
        upper.extent[axis] -= upper.lower[axis] - box.lower[axis];
        box.extent[axis] = 16 * value(box.keys.back(), axis) - box.lower[axis];
        upper.count = box.count - running;
        box.count = running;
        boxes.push_back(std::move(upper));
    }
    TReduced result;
    result.palette.assign(256, TGIFColor{});
    std::vector<std::uint8_t> boxOfKey(4096, 0);
    for (size_t b = 0; b < boxes.size(); ++b) {
        int sums[3] = {0, 0, 0};
        for (std::uint16_t k : boxes[b].keys) {
            boxOfKey[k] = static_cast<std::uint8_t>(b);
            for (int a = 0; a < 3; ++a)
                sums[a] += value(k, a);
        }
        const int n = static_cast<int>(boxes[b].keys.size());
        if (n == 0)
            continue;
        int c[3];
        for (int a = 0; a < 3; ++a)
            c[a] = (16 * sums[a] + 15) / n;
        if (c[0] > 16 || c[1] > 16 || c[2] > 16)
            result.palette[b] = TGIFColor{std::uint8_t(c[0]), std::uint8_t(c[1]), std::uint8_t(c[2])};
    }
    result.important = boxes.front().keys.empty() ? 0 : static_cast<std::uint32_t>(boxes.size());
    result.indices.reserve(pixels.size());
    for (std::uint16_t key : pixelKeys)
        result.indices.push_back(boxOfKey[key]);
    return result;
}

TReduced ByTruncation784(const std::vector<TRGB>& pixels)
{
    TReduced result;
    for (int r : kLevels7)
        for (int g : kLevels8)
            for (int b : kLevels4)
                result.palette.push_back(TGIFColor{std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)});
    result.palette.resize(256, kFiller);
    result.important = 224;
    for (const TRGB& p : pixels)
        result.indices.push_back(static_cast<std::uint8_t>((Nearest7()[p.r] * 8 + Nearest8()[p.g]) * 4 + Nearest4()[p.b]));
    return result;
}

TReduced ByTruncation666(const std::vector<TRGB>& pixels)
{
    TReduced result;
    for (int r : kLevels6)
        for (int g : kLevels6)
            for (int b : kLevels6)
                result.palette.push_back(TGIFColor{std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)});
    result.palette.resize(256, kFiller);
    result.important = 216;
    for (const TRGB& p : pixels)
        result.indices.push_back(static_cast<std::uint8_t>((Nearest6()[p.r] * 6 + Nearest6()[p.g]) * 6 + Nearest6()[p.b]));
    return result;
}

TReduced ByTripel(const std::vector<TRGB>& pixels, int width)
{
    TReduced result;
    result.palette.assign(256, TGIFColor{});
    for (int i = 0; i < 64; ++i) {
        result.palette[static_cast<size_t>(i)].Red = static_cast<std::uint8_t>(4 * i);
        result.palette[static_cast<size_t>(i + 64)].Green = static_cast<std::uint8_t>(4 * i);
        result.palette[static_cast<size_t>(i + 128)].Blue = static_cast<std::uint8_t>(4 * i);
    }
    for (size_t i = 0; i < pixels.size(); ++i) {
        const int x = static_cast<int>(i % static_cast<size_t>(width));
        const int y = static_cast<int>(i / static_cast<size_t>(width));
        const TRGB& p = pixels[i];
        const int component = (x + y) % 3;
        result.indices.push_back(static_cast<std::uint8_t>(component == 0 ? p.r >> 2 : component == 1 ? (p.g >> 2) + 64 : (p.b >> 2) + 128));
    }
    return result;
}

TReduced ByGrey(const std::vector<TRGB>& pixels)
{
    TReduced result;
    for (int i = 0; i < 256; ++i)
        result.palette.push_back(TGIFColor{std::uint8_t(i), std::uint8_t(i), std::uint8_t(i)});
    for (const TRGB& p : pixels)
        result.indices.push_back(static_cast<std::uint8_t>((p.r * 77 + p.g * 150 + p.b * 29) >> 8));
    return result;
}

TReduced Reduce(const std::vector<TRGB>& pixels, int width, TMappingMethod method)
{
    switch (method) {
    case mmMedianCut: return ByMedianCut(pixels);
    case mmTruncate784: return ByTruncation784(pixels);
    case mmTruncate666: return ByTruncation666(pixels);
    case mmTripel: return ByTripel(pixels, width);
    case mmGrayscale: return ByGrey(pixels);
    case mmFrequency: break;
    }
    return ByFrequency(pixels);
}

const TGIFPalette& StandardPalette(int bits)
{
    static const TGIFPalette mono{{0, 0, 0}, {255, 255, 255}};
    static const TGIFPalette vga{{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                 {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                 {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                 {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    return bits == 1 ? mono : vga;
}

// Packs one index per pixel into rows of the given depth.
std::vector<std::uint8_t> PackRows(const std::vector<std::uint8_t>& indices, int width, int height, int bits)
{
    const size_t stride = static_cast<size_t>((bits * width + 31) / 32 * 4);
    std::vector<std::uint8_t> rows(stride * static_cast<size_t>(height), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint8_t v = indices[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
            std::uint8_t* row = rows.data() + static_cast<size_t>(y) * stride;
            if (bits == 8)
                row[x] = v;
            else if (bits == 4)
                row[x / 2] |= static_cast<std::uint8_t>(x % 2 ? v & 15 : v << 4);
            else if (v & 1)
                row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
    return rows;
}

std::string ToPalette(const TGIFBitmap& bitmap, const std::vector<TRGB>& pixels, int bits)
{
    const bool own = bitmap.PixelFormat() != TPixelFormat::pf24bit && !bitmap.Palette.empty() &&
                     bitmap.Palette.size() <= (size_t{1} << bits);
    const TGIFPalette& palette = own ? bitmap.Palette : StandardPalette(bits);
    std::vector<std::uint8_t> indices;
    indices.reserve(pixels.size());
    for (const TRGB& p : pixels)
        indices.push_back(static_cast<std::uint8_t>(NearestEntry(palette, p)));
    return BuildBMP(bitmap.Width(), bitmap.Height(), bits, palette, TGIFColor{}, 0,
                    PackRows(indices, bitmap.Width(), bitmap.Height(), bits));
}

} // namespace

std::string BitmapToReducedDIB(const TGIFBitmap& bitmap, int bitsPerPixel, TMappingMethod method)
{
    if (bitmap.Empty())
        throw EInvalidGraphic(TMessage(BitmapNotValid, {}));
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 24)
        throw EInvalidGraphicOperation(TMessage(NotImplemented, {}));
    if (static_cast<int>(bitmap.PixelFormat()) == bitsPerPixel && method != mmGrayscale)
        return BitmapToBMP(bitmap);
    if (bitsPerPixel == 24) {
        TGIFBitmap wide = bitmap;
        wide.SetPixelFormat(TPixelFormat::pf24bit);
        return BitmapToBMP(wide);
    }
    const std::vector<TRGB> pixels = Colours(bitmap);
    if (bitsPerPixel != 8)
        return ToPalette(bitmap, pixels, bitsPerPixel);
    const TReduced reduced = Reduce(pixels, bitmap.Width(), method);
    return BuildBMP(bitmap.Width(), bitmap.Height(), 8, reduced.palette, kFiller, reduced.important,
                    PackRows(reduced.indices, bitmap.Width(), bitmap.Height(), 8));
}

std::string BitmapToReducedDIBForColors(const TGIFBitmap& bitmap, int colors)
{
    const int bits = colors <= 2 ? 1 : colors <= 16 ? 4 : colors <= 256 ? 8 : 24;
    return BitmapToReducedDIB(bitmap, bits, DefaultMappingMethod);
}

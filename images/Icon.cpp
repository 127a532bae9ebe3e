// Reading icon files: the directory, and each image's colour bitmap and mask.
#include "images/Icon.h"

#include "images/LittleEndian.h"

#include <optional>

namespace {

constexpr int kMaxIconSide = 1024;

struct TDecoded {
    TGIFBitmap image;
    std::vector<bool> mask;
};

size_t Stride(int width, int bits)
{
    return static_cast<size_t>((width * bits + 31) / 32 * 4);
}

// One image of an icon: a BITMAPINFOHEADER of twice the height, palette, colour rows, mask rows.
std::optional<TDecoded> DecodeImage(std::string_view image)
{
    if (image.size() < 40)
        return std::nullopt;
    const std::uint32_t headerSize = le::Get32(image, 0);
    const auto width = static_cast<std::int32_t>(le::Get32(image, 4));
    const auto doubleHeight = static_cast<std::int32_t>(le::Get32(image, 8));
    const int bits = le::Get16(image, 14);
    const std::uint32_t compression = le::Get32(image, 16);
    std::uint32_t colours = le::Get32(image, 32);
    if (headerSize < 40 || headerSize > image.size() || width <= 0 || width > kMaxIconSide || doubleHeight <= 0 ||
        doubleHeight / 2 > kMaxIconSide || doubleHeight < 2 || compression != 0 ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32))
        return std::nullopt;
    const int height = doubleHeight / 2;
    if (bits <= 8 && (colours == 0 || colours > (1u << bits)))
        colours = 1u << bits;
    if (bits > 8)
        colours = 0;
    const size_t paletteAt = headerSize;
    const size_t xorAt = paletteAt + colours * 4;
    const size_t xorStride = Stride(width, bits);
    const size_t andStride = Stride(width, 1);
    const size_t andAt = xorAt + xorStride * static_cast<size_t>(height);
    // 32-bit images may leave the mask out: their alpha says what is transparent.
    const bool hasMask = image.size() >= andAt + andStride * static_cast<size_t>(height);
    if (image.size() < andAt || (bits != 32 && !hasMask))
        return std::nullopt;
    TDecoded out{TGIFBitmap(width, height, TPixelFormat::pf24bit),
                 std::vector<bool>(static_cast<size_t>(width) * static_cast<size_t>(height))};
    for (int y = 0; y < height; ++y) {
        const size_t fileRow = static_cast<size_t>(height - 1 - y);
        const char* row = image.data() + xorAt + fileRow * xorStride;
        const char* maskRow = hasMask ? image.data() + andAt + fileRow * andStride : nullptr;
        std::uint8_t* dst = out.image.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            std::uint8_t b = 0, g = 0, r = 0;
            bool clear = maskRow && (static_cast<std::uint8_t>(maskRow[x >> 3]) >> (7 - (x & 7)) & 1);
            if (bits <= 8) {
                const auto byte = static_cast<std::uint8_t>(row[x * bits / 8]);
                const int shift = 8 - bits - (x * bits) % 8;
                const size_t index = static_cast<size_t>((byte >> shift) & ((1 << bits) - 1));
                if (index < colours) {
                    const size_t at = paletteAt + index * 4;
                    b = static_cast<std::uint8_t>(image[at]);
                    g = static_cast<std::uint8_t>(image[at + 1]);
                    r = static_cast<std::uint8_t>(image[at + 2]);
                }
            } else {
                const size_t at = static_cast<size_t>(x) * static_cast<size_t>(bits / 8);
                b = static_cast<std::uint8_t>(row[at]);
                g = static_cast<std::uint8_t>(row[at + 1]);
                r = static_cast<std::uint8_t>(row[at + 2]);
                if (bits == 32 && !hasMask)
                    clear = static_cast<std::uint8_t>(row[at + 3]) < 128;
            }
            if (clear)
                r = g = b = 0;
            dst[x * 3] = b;
            dst[x * 3 + 1] = g;
            dst[x * 3 + 2] = r;
            out.mask[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = clear;
        }
    }
    return out;
}

} // namespace

TIcon TIcon::FromICO(std::string_view file)
{
    TIcon icon;
    if (file.size() < 6)
        return icon;
    const int count = le::Get16(file, 4);
    for (int i = 0; i < count; ++i) {
        const size_t entry = 6 + static_cast<size_t>(i) * 16;
        if (entry + 16 > file.size())
            break;
        const std::uint32_t size = le::Get32(file, entry + 8);
        const std::uint32_t offset = le::Get32(file, entry + 12);
        if (offset > file.size() || size > file.size() - offset)
            continue;
        std::optional<TDecoded> decoded = DecodeImage(file.substr(offset, size));
        if (!decoded)
            continue;
        icon.entries_.push_back(TIconEntryInfo{decoded->image.Width(), decoded->image.Height(),
                                               le::Get16(file, offset + 14), le::Get16(file, entry + 4),
                                               le::Get16(file, entry + 6)});
        if (icon.image_.Empty()) {
            icon.image_ = std::move(decoded->image);
            icon.mask_ = std::move(decoded->mask);
        }
    }
    if (!icon.image_.Empty())
        icon.data_ = std::string(file);
    return icon;
}

TGIFBitmap TIcon::Composed(std::uint32_t background) const
{
    TGIFBitmap out = image_;
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x)
            if (Transparent(x, y)) {
                std::uint8_t* p = out.ScanLine(y) + x * 3;
                p[0] = static_cast<std::uint8_t>(background >> 16);
                p[1] = static_cast<std::uint8_t>(background >> 8);
                p[2] = static_cast<std::uint8_t>(background);
            }
    return out;
}

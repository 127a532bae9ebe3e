// In-memory BMP files.
#include "images/BMPFile.h"

#include "images/GIFBitmap.h"
#include "images/LittleEndian.h"

std::string BuildBMP(int width, int height, int bitCount, const TGIFPalette& palette, TGIFColor filler,
                     std::uint32_t importantColors, const std::vector<std::uint8_t>& rows)
{
    const size_t stride = static_cast<size_t>((bitCount * width + 31) / 32 * 4);
    const std::uint32_t entries = bitCount <= 8 ? 1u << bitCount : 0;
    const std::uint32_t offset = 14 + 40 + entries * 4;
    const auto imageSize = static_cast<std::uint32_t>(stride * static_cast<size_t>(height));
    std::string out = "BM";
    out.reserve(offset + imageSize);
    le::Put32(out, offset + imageSize);
    le::Put32(out, 0);
    le::Put32(out, offset);
    le::Put32(out, 40);
    le::Put32(out, static_cast<std::uint32_t>(width));
    le::Put32(out, static_cast<std::uint32_t>(height));
    le::Put16(out, 1);
    le::Put16(out, bitCount);
    le::Put32(out, 0);
    le::Put32(out, imageSize);
    le::Put32(out, 0);
    le::Put32(out, 0);
    le::Put32(out, 0);
    le::Put32(out, importantColors);
    for (std::uint32_t i = 0; i < entries; ++i) {
        const TGIFColor c = i < palette.size() ? palette[i] : filler;
        out.push_back(static_cast<char>(c.Blue));
        out.push_back(static_cast<char>(c.Green));
        out.push_back(static_cast<char>(c.Red));
        out.push_back(0);
    }
    for (int y = height - 1; y >= 0; --y)
        out.append(reinterpret_cast<const char*>(rows.data()) + static_cast<size_t>(y) * stride, stride);
    return out;
}

std::string BitmapToBMP(const TGIFBitmap& bitmap)
{
    const int bits = static_cast<int>(bitmap.PixelFormat());
    std::vector<std::uint8_t> rows;
    rows.reserve(static_cast<size_t>(bitmap.Stride()) * static_cast<size_t>(bitmap.Height()));
    for (int y = 0; y < bitmap.Height(); ++y)
        rows.insert(rows.end(), bitmap.ScanLine(y), bitmap.ScanLine(y) + bitmap.Stride());
    // The important-colour count keeps the palette's own size through a load.
    const size_t entries = bits <= 8 ? size_t{1} << bits : 0;
    const auto important = static_cast<std::uint32_t>(bitmap.Palette.size() < entries ? bitmap.Palette.size() : 0);
    return BuildBMP(bitmap.Width(), bitmap.Height(), bits, bitmap.Palette, TGIFColor{}, important, rows);
}

int BMPBitCount(std::string_view bmp)
{
    if (bmp.size() < 30)
        return 0;
    return static_cast<std::uint8_t>(bmp[28]) | static_cast<std::uint8_t>(bmp[29]) << 8;
}

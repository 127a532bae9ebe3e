// The library's own bitmap: size, pixel format conversion, rows and BMP loading.
#include "images/GIFBitmap.h"

#include "images/GIFException.h"
#include "images/LittleEndian.h"

#include <cstring>

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;

[[noreturn]] void InvalidBitmap()
{
    throw EInvalidGraphic(TMessage(BitmapNotValid, {}));
}

} // namespace

TGIFBitmap::TGIFBitmap(int width, int height, TPixelFormat format) : format_(format)
{
    SetSize(width, height);
}

int TGIFBitmap::Stride(int width, TPixelFormat format)
{
    return (width * static_cast<int>(format) + 31) / 32 * 4;
}

void TGIFBitmap::SetSize(int width, int height)
{
    if (width < 0 || height < 0)
        throw GIFException(TMessage(InvalidImageDimensions, {}));
    width_ = width;
    height_ = height;
    bits_.assign(static_cast<size_t>(Stride()) * static_cast<size_t>(height), 0);
}

void TGIFBitmap::SetPixelFormat(TPixelFormat format)
{
    if (format == format_)
        return;
    if (Empty()) {
        format_ = format;
        SetSize(width_, height_);
        return;
    }
    if (format != TPixelFormat::pf24bit)
        throw GIFException(TMessage(UnsupportedPixelFormat, {}));
    TGIFBitmap converted(width_, height_, format);
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* src = ScanLine(y);
        std::uint8_t* dst = converted.ScanLine(y);
        for (int x = 0; x < width_; ++x) {
            const int index = format_ == TPixelFormat::pf8bit ? src[x] : (src[x >> 3] >> (7 - (x & 7))) & 1;
            const TGIFColor color =
                index < static_cast<int>(Palette.size()) ? Palette[static_cast<size_t>(index)] : TGIFColor{};
            dst[x * 3] = color.Blue;
            dst[x * 3 + 1] = color.Green;
            dst[x * 3 + 2] = color.Red;
        }
    }
    format_ = format;
    bits_ = std::move(converted.bits_);
}

std::uint8_t* TGIFBitmap::ScanLine(int y)
{
    return const_cast<std::uint8_t*>(static_cast<const TGIFBitmap*>(this)->ScanLine(y));
}

const std::uint8_t* TGIFBitmap::ScanLine(int y) const
{
    if (y < 0 || y >= height_)
        throw EInvalidGraphicOperation(TMessage(ScanLineOutOfRange, {}));
    return bits_.data() + static_cast<size_t>(y) * Stride();
}

void TGIFBitmap::LoadFromBMP(std::string_view bmp)
{
    if (bmp.size() < kFileHeaderSize + kInfoHeaderSize || bmp[0] != 'B' || bmp[1] != 'M')
        InvalidBitmap();
    const std::uint32_t pixelOffset = le::Get32(bmp, 10);
    const std::uint32_t infoSize = le::Get32(bmp, kFileHeaderSize);
    const auto width = static_cast<std::int32_t>(le::Get32(bmp, kFileHeaderSize + 4));
    const auto height = static_cast<std::int32_t>(le::Get32(bmp, kFileHeaderSize + 8));
    const int bitCount = le::Get16(bmp, kFileHeaderSize + 14);
    const std::uint32_t compression = le::Get32(bmp, kFileHeaderSize + 16);
    std::uint32_t colorsUsed = le::Get32(bmp, kFileHeaderSize + 32);
    if (infoSize < kInfoHeaderSize || width <= 0 || height == 0 || width > 32768 || height > 32768 ||
        height < -32768 || compression != 0 ||
        (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24))
        InvalidBitmap();
    // 4-bit files are held with one byte per pixel.
    const auto format = bitCount == 4 ? TPixelFormat::pf8bit : static_cast<TPixelFormat>(bitCount);
    const int rows = height < 0 ? -height : height;
    const size_t stride = static_cast<size_t>((width * bitCount + 31) / 32 * 4);
    if (pixelOffset > bmp.size() || bmp.size() - pixelOffset < stride * static_cast<size_t>(rows))
        InvalidBitmap();
    TGIFPalette palette;
    if (bitCount != 24) {
        if (colorsUsed == 0 || colorsUsed > (1u << bitCount))
            colorsUsed = 1u << bitCount;
        const size_t table = kFileHeaderSize + infoSize;
        if (table + colorsUsed * 4 > pixelOffset)
            InvalidBitmap();
        // The important-colour count tells how many entries the palette really has.
        const std::uint32_t important = le::Get32(bmp, kFileHeaderSize + 36);
        for (std::uint32_t i = 0; i < (important > 0 && important < colorsUsed ? important : colorsUsed); ++i) {
            const size_t at = table + i * 4;
            palette.push_back(TGIFColor{static_cast<std::uint8_t>(bmp[at + 2]), static_cast<std::uint8_t>(bmp[at + 1]),
                                        static_cast<std::uint8_t>(bmp[at])});
        }
    }
    format_ = format;
    SetSize(width, rows);
    Palette = std::move(palette);
    for (int y = 0; y < rows; ++y) {
        const int fileRow = height > 0 ? rows - 1 - y : y;
        const char* src = bmp.data() + pixelOffset + static_cast<size_t>(fileRow) * stride;
        if (bitCount == 4) {
            std::uint8_t* dst = ScanLine(y);
            for (int x = 0; x < width; ++x)
                dst[x] = static_cast<std::uint8_t>(static_cast<std::uint8_t>(src[x / 2]) >> (x % 2 ? 0 : 4) & 0x0F);
        } else {
            std::memcpy(ScanLine(y), src, stride);
        }
    }
}

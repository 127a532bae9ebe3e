// A small device-independent bitmap: 1, 8 or 24 bits per pixel with a palette,
// rows padded to 32 bits, 24-bit pixels stored blue, green, red.
#pragma once

#include "images/GIFColor.h"

#include <cstdint>
#include <string_view>
#include <vector>

enum class TPixelFormat { pf1bit = 1, pf8bit = 8, pf24bit = 24 };

class TGIFBitmap {
public:
    TGIFBitmap() = default;
    TGIFBitmap(int width, int height, TPixelFormat format);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    TPixelFormat PixelFormat() const { return format_; }
    // Bytes per row: width x bits rounded up to 32 bits.
    int Stride() const { return Stride(width_, format_); }
    static int Stride(int width, TPixelFormat format);

    // A new size clears the pixels.
    void SetSize(int width, int height);
    // Converts the pixels: to 24 bits from any format; an empty bitmap takes any
    // format. Other conversions raise "Unsupported PixelFormat".
    void SetPixelFormat(TPixelFormat format);

    // Rows top to bottom; outside the bitmap raises EInvalidGraphicOperation
    // "Scan line index out of range".
    std::uint8_t* ScanLine(int y);
    const std::uint8_t* ScanLine(int y) const;

    // Takes the picture from an in-memory BMP file (uncompressed, 1, 4, 8 or 24 bits;
    // 4-bit pixels are held as 8-bit ones).
    // Raises EInvalidGraphic "Bitmap image is not valid" for anything else.
    void LoadFromBMP(std::string_view bmp);

    TGIFPalette Palette;

private:
    int width_ = 0;
    int height_ = 0;
    TPixelFormat format_ = TPixelFormat::pf24bit;
    std::vector<std::uint8_t> bits_;
};

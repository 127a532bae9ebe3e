// Row access to bitmaps for colour reduction: a reader that hands out rows in a
// chosen pixel format and a writer that builds a new 8- or 24-bit picture.
#pragma once

#include "images/GIFBitmap.h"

#include <cstdint>
#include <string>
#include <vector>

class TDIB {
public:
    TDIB(TGIFBitmap& bitmap, TPixelFormat format) : bitmap_(bitmap), format_(format) {}
    virtual ~TDIB() = default;
    TDIB(const TDIB&) = delete;
    TDIB& operator=(const TDIB&) = delete;

protected:
    TGIFBitmap& bitmap_;
    TPixelFormat format_;
};

// Switches the bitmap to the requested pixel format and hands out its rows.
class TDIBReader : public TDIB {
public:
    TDIBReader(TGIFBitmap& bitmap, TPixelFormat format);
    const std::uint8_t* ScanLine(int y) const { return bitmap_.ScanLine(y); }
};

// Builds a bitmap information block and pixel bits of its own and hands them to
// the bitmap as an in-memory BMP file on Finish. Only 8 and 24 bits are accepted
// ("Unsupported PixelFormat"); a zero size raises "Invalid image dimensions".
class TDIBWriter : public TDIB {
public:
    TDIBWriter(TGIFBitmap& bitmap, TPixelFormat format, int width, int height, const TGIFPalette& palette);
    // Rows top to bottom; the bits are made on the first request. Outside the
    // picture raises EInvalidGraphicOperation "Scan line index out of range".
    std::uint8_t* ScanLine(int y);
    // The information block: a 40-byte header, then 256 colours for 8 bits.
    const std::string& Info() const { return info_; }
    void Finish();

private:
    int width_;
    int height_;
    int stride_;
    std::string info_;
    std::vector<std::uint8_t> bits_;
};

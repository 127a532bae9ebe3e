// DIB row reader and writer.
#include "images/GIFDIB.h"

#include "images/GIFException.h"
#include "images/LittleEndian.h"

#include <algorithm>

TDIBReader::TDIBReader(TGIFBitmap& bitmap, TPixelFormat format) : TDIB(bitmap, format)
{
    bitmap.SetPixelFormat(format);
}

TDIBWriter::TDIBWriter(TGIFBitmap& bitmap, TPixelFormat format, int width, int height, const TGIFPalette& palette)
    : TDIB(bitmap, format), width_(width), height_(height), stride_(TGIFBitmap::Stride(width, format))
{
    if (format != TPixelFormat::pf8bit && format != TPixelFormat::pf24bit)
        throw GIFException(TMessage(UnsupportedPixelFormat, {}));
    if (width <= 0 || height <= 0)
        throw GIFException(TMessage(InvalidImageDimensions, {}));
    const int bits = static_cast<int>(format);
    le::Put32(info_, 40);
    le::Put32(info_, static_cast<std::uint32_t>(width));
    le::Put32(info_, static_cast<std::uint32_t>(height));
    le::Put16(info_, 1);
    le::Put16(info_, bits);
    le::Put32(info_, 0);
    le::Put32(info_, static_cast<std::uint32_t>(stride_) * static_cast<std::uint32_t>(height));
    le::Put32(info_, 0);
    le::Put32(info_, 0);
    if (format == TPixelFormat::pf8bit) {
        const auto important = static_cast<std::uint32_t>(std::min<size_t>(palette.size(), 256));
        le::Put32(info_, 256);
        le::Put32(info_, important);
        for (std::uint32_t i = 0; i < 256; ++i) {
            const TGIFColor color = i < important ? palette[i] : TGIFColor{};
            info_.push_back(static_cast<char>(color.Blue));
            info_.push_back(static_cast<char>(color.Green));
            info_.push_back(static_cast<char>(color.Red));
            info_.push_back(0);
        }
    } else {
        le::Put32(info_, 0);
        le::Put32(info_, 0);
    }
}

std::uint8_t* TDIBWriter::ScanLine(int y)
{
    if (y < 0 || y >= height_)
        throw EInvalidGraphicOperation(TMessage(ScanLineOutOfRange, {}));
    if (bits_.empty())
        bits_.assign(static_cast<size_t>(stride_) * static_cast<size_t>(height_), 0);
    // The bits are stored bottom-up, as a BMP with a positive height holds them.
    return bits_.data() + static_cast<size_t>(height_ - 1 - y) * stride_;
}

void TDIBWriter::Finish()
{
    if (bits_.empty())
        bits_.assign(static_cast<size_t>(stride_) * static_cast<size_t>(height_), 0);
    std::string file = "BM";
    const auto offset = static_cast<std::uint32_t>(14 + info_.size());
    le::Put32(file, offset + static_cast<std::uint32_t>(bits_.size()));
    le::Put32(file, 0);
    le::Put32(file, offset);
    file += info_;
    file.append(reinterpret_cast<const char*>(bits_.data()), bits_.size());
    bitmap_.LoadFromBMP(file);
}

// Sub-images: bounds, pixel access, and their part of the GIF stream.
#include "images/GIFSubImage.h"

#include "images/GIFDecoder.h"
#include "images/GIFEncoder.h"
#include "images/GIFException.h"
#include "images/GIFFrameBitmap.h"
#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"
#include "images/GIFPalettes.h"
#include "images/GIFStream.h"
#include "images/GIFTextExtension.h"

#include <algorithm>

namespace {

const TWording ImageEmpty{"Image is empty"};
const TWording InvalidPixel{"Invalid pixel coordinates"};

constexpr int kMaxSide = 32768;
constexpr std::int64_t kMaxPixels = std::int64_t{kMaxSide} * kMaxSide;
// One byte of LZW data holds at most four codes of at least two bits, and one
// code stands for at most 4096 pixels; the floor keeps small truncated frames readable.
constexpr std::int64_t kPixelsPerDataByte = 4 * 4096;
constexpr std::int64_t kPixelFloor = std::int64_t{1} << 20;

constexpr std::uint8_t kLocalTable = 0x80;
constexpr std::uint8_t kInterlaced = 0x40;
constexpr std::uint8_t kSorted = 0x20;

void Put16(std::uint8_t* p, int v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

int Get16(const std::uint8_t* p)
{
    return p[0] | p[1] << 8;
}

} // namespace

void CheckFrameSize(int width, int height, std::int64_t maxPixels)
{
    if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide ||
        std::int64_t{width} * height > std::min(maxPixels, kMaxPixels))
        throw GIFException(TMessage(InvalidImageDimensions, {}));
}

TGIFSubImage::TGIFSubImage(TGIFImage* image) : TGIFItem(image), colorMap_(*this), extensions_(*this) {}

TGIFSubImage::~TGIFSubImage()
{
    extensions_.Clear();
}

void TGIFSubImage::Clear()
{
    extensions_.Clear();
    colorMap_.Clear();
    data_.clear();
    data_.shrink_to_fit();
    descriptor_ = TGIFImageDescriptor{};
    transparent_ = false;
    FreeBitmap();
    palette_.reset();
}

bool TGIFSubImage::Empty() const
{
    return data_.empty() || Width() == 0 || Height() == 0;
}

void TGIFSubImage::SetBounds(int left, int top, int width, int height)
{
    left = std::clamp(left, 0, 0xFFFF);
    top = std::clamp(top, 0, 0xFFFF);
    if (width != Width() || height != Height()) {
        CheckFrameSize(width, height, kMaxPixels);
        FreeBitmap();
        data_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    }
    descriptor_.Left = static_cast<std::uint16_t>(left);
    descriptor_.Top = static_cast<std::uint16_t>(top);
    descriptor_.Width = static_cast<std::uint16_t>(width);
    descriptor_.Height = static_cast<std::uint16_t>(height);
    TGIFImage* image = Image();
    if (!image)
        return;
    TGIFHeader& header = image->Header();
    bool warned = false;
    const int right = std::min(left + width, 0xFFFF);
    if (right > header.LogicalScreenWidth) {
        if (header.LogicalScreenWidth != 0) {
            Warning(TGIFSeverity::gsWarning, ImageWidthTooSmall.English());
            warned = true;
        }
        header.LogicalScreenWidth = static_cast<std::uint16_t>(right);
    }
    const int bottom = std::min(top + height, 0xFFFF);
    if (bottom > header.LogicalScreenHeight) {
        if (header.LogicalScreenHeight != 0) {
            Warning(TGIFSeverity::gsWarning, ImageHeightTooSmall.English());
            warned = true;
        }
        header.LogicalScreenHeight = static_cast<std::uint16_t>(bottom);
    }
    if (warned)
        Warning(TGIFSeverity::gsWarning, "Image exceeds Logical Screen size");
}

void TGIFSubImage::SetInterlaced(bool value)
{
    descriptor_.Packed = static_cast<std::uint8_t>(value ? descriptor_.Packed | kInterlaced
                                                         : descriptor_.Packed & ~kInterlaced);
}

TGIFColorMap& TGIFSubImage::ActiveColorMap()
{
    if (colorMap_.Count() > 0 || !Image())
        return colorMap_;
    return Image()->Header().ColorMap();
}

const TGIFColorMap& TGIFSubImage::ActiveColorMap() const
{
    return const_cast<TGIFSubImage*>(this)->ActiveColorMap();
}

void TGIFSubImage::CheckPixel(int x, int y) const
{
    if (data_.empty())
        throw GIFException(TMessage(ImageEmpty, {}));
    if (x < 0 || y < 0 || x >= Width() || y >= Height())
        throw GIFException(TMessage(InvalidPixel, {}));
}

std::uint8_t TGIFSubImage::Pixels(int x, int y) const
{
    CheckPixel(x, y);
    return data_[static_cast<size_t>(y) * Width() + x];
}

void TGIFSubImage::SetPixels(int x, int y, std::uint8_t value)
{
    CheckPixel(x, y);
    data_[static_cast<size_t>(y) * Width() + x] = value;
}

std::uint8_t* TGIFSubImage::ScanLine(int y)
{
    CheckPixel(0, y);
    return data_.data() + static_cast<size_t>(y) * Width();
}

const TGIFBitmap& TGIFSubImage::Bitmap()
{
    if (bitmap_)
        return *bitmap_;
    TGIFImage* image = Image();
    const bool dither = image && image->Dithering();
    TFrameSource source;
    source.Pixels = Empty() ? nullptr : data_.data();
    source.Width = Width();
    source.Height = Height();
    if (dither)
        source.Colors = ActiveColorMap().ExportPalette();
    if (transparent_ && graphicControl_)
        source.TransparentIndex = graphicControl_->TransparentColorIndex();
    const TGIFPalette palette = dither ? TGIFPalette{} : Palette();
    const std::string message = "Rendering...";
    auto progress = [&](TProgressStage stage, int percent) {
        if (image)
            image->Progress(stage, percent, message);
    };
    progress(TProgressStage::psStarting, 0);
    TFrameBitmap built;
    try {
        built = RenderFrameBitmap(source, palette, dither, [&](int rows) {
            progress(TProgressStage::psRunning, rows * 100 / source.Height);
        });
    } catch (...) {
        progress(TProgressStage::psEnding, 0);
        throw;
    }
    progress(TProgressStage::psEnding, 100);
    bitmap_ = std::make_unique<TGIFBitmap>(std::move(built.Bitmap));
    mask_ = std::move(built.Mask);
    needMask_ = false;
    return *bitmap_;
}

const TGIFBitmap* TGIFSubImage::Mask()
{
    if (needMask_ || !bitmap_)
        Bitmap();
    return mask_.get();
}

void TGIFSubImage::FreeBitmap()
{
    bitmap_.reset();
    mask_.reset();
    needMask_ = true;
}

TGIFPalette TGIFSubImage::Palette()
{
    if (bitmap_)
        return bitmap_->Palette;
    if (palette_)
        return *palette_;
    TGIFImage* image = Image();
    if (image && image->Dithering())
        palette_ = WebPalette();
    else if (colorMap_.Count() > 0)
        palette_ = colorMap_.ExportPalette();
    else
        return image ? image->Palette() : TGIFPalette{};
    return *palette_;
}

void TGIFSubImage::SetPalette(std::optional<TGIFPalette> palette)
{
    if (bitmap_ && (!palette || *palette != bitmap_->Palette))
        FreeBitmap();
    palette_ = std::move(palette);
}

void TGIFSubImage::Assign(const TGIFSubImage& source)
{
    if (&source == this)
        return;
    Clear();
    descriptor_.Separator = source.descriptor_.Separator;
    descriptor_.Packed = source.descriptor_.Packed;
    SetBounds(source.Left(), source.Top(), source.Width(), source.Height());
    data_ = source.data_;
    colorMap_.Assign(source.colorMap_);
    // Each extension is made anew from its own bytes, so it belongs to this frame.
    TMemoryByteStream extensions;
    // Writing leaves the extensions as they are; only the list's signature is not const.
    const_cast<TGIFExtensionList&>(source.extensions_).SaveToStream(extensions);
    extensions.SetPosition(0);
    extensions_.LoadFromStream(extensions);
    transparent_ = source.transparent_;
    if (source.bitmap_)
        Bitmap();
}

void TGIFSubImage::AssignTo(TGIFBitmap& bitmap)
{
    bitmap = Bitmap();
}

int TGIFSubImage::Version() const
{
    return colorMap_.Optimized() || extensions_.Count() > 0 ? 2 : 1;
}

// A graphic control extension of a frame without pixels would govern the next
// frame of the file instead; it is written only in front of a plain text block.
bool TGIFSubImage::WritesExtension(int index) const
{
    if (!Empty() || &extensions_.Extension(index) != static_cast<const TGIFExtension*>(graphicControl_))
        return true;
    for (int i = index + 1; i < extensions_.Count(); ++i)
        if (extensions_.Extension(i).Label() == TGIFTextExtension::Class().Label)
            return true;
    return false;
}

void TGIFSubImage::SaveToStream(TByteStream& stream)
{
    for (int i = 0; i < extensions_.Count(); ++i)
        if (WritesExtension(i))
            extensions_.Extension(i).SaveToStream(stream);
    if (Empty())
        return;
    const int localBits = std::max(colorMap_.BitsPerPixel(), 1);
    if (colorMap_.Count() > 0)
        descriptor_.Packed = static_cast<std::uint8_t>(kLocalTable | (colorMap_.Optimized() ? kSorted : 0) |
                                                       (localBits - 1));
    else
        descriptor_.Packed &= kInterlaced | 0x10 | 0x08;
    std::uint8_t record[10] = {descriptor_.Separator};
    Put16(record + 1, Left());
    Put16(record + 3, Top());
    Put16(record + 5, Width());
    Put16(record + 7, Height());
    record[9] = descriptor_.Packed;
    stream.Write(record, 10);
    if (descriptor_.Packed & kLocalTable)
        colorMap_.SaveToStream(stream, 1 << localBits);
    Compress(*this, stream);
}

void TGIFSubImage::LoadFromStream(TByteStream& stream)
{
    Clear();
    extensions_.LoadFromStream(stream);
    const int next = ReadByte(stream);
    if (next < 0)
        return;
    stream.Seek(-1, TSeekOrigin::soCurrent);
    if (next == 0x3B || next == 0)
        return;
    std::uint8_t record[10];
    ReadCheck(stream, record, 10);
    int width = Get16(record + 5);
    int height = Get16(record + 7);
    if ((width == 0 || height == 0) && Image()) {
        const TGIFHeader& header = Image()->Header();
        if (width == 0)
            width = header.LogicalScreenWidth;
        if (height == 0)
            height = header.LogicalScreenHeight;
        Warning(TGIFSeverity::gsWarning, "Image exceeds Logical Screen size");
    }
    CheckFrameSize(width, height, kPixelFloor + stream.Remaining() * kPixelsPerDataByte);
    descriptor_.Separator = record[0];
    descriptor_.Packed = record[9];
    SetBounds(Get16(record + 1), Get16(record + 3), width, height);
    if (descriptor_.Packed & kLocalTable) {
        colorMap_.LoadFromStream(stream, 2 << (descriptor_.Packed & 7));
        colorMap_.SetOptimized(descriptor_.Packed & kSorted);
    }
    Decompress(*this, stream);
    if (GIFImageRenderOnLoad)
        Bitmap();
}

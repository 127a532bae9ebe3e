// Writing the animator's image: frames that exist only as bitmaps are reduced
// and encoded, each frame's graphic control block is rebuilt from its fields,
// and the blocks go out in file order.
#include "images/RxGIF.h"

#include "images/BMPFile.h"
#include "images/GIFStream.h"
#include "images/GraphicException.h"
#include "images/ReducedDIB.h"
#include "images/RxLZW.h"

#include <algorithm>
#include <cstring>

namespace RxGIF {

namespace {

constexpr std::int32_t kMaxDelayHundredths = 65535;

// The depth the bitmap's indices need: 1, 4 or 8.
int PaletteDepth(const TGIFBitmap& bitmap)
{
    if (bitmap.PixelFormat() == TPixelFormat::pf1bit)
        return 1;
    int highest = static_cast<int>(bitmap.Palette.size()) - 1;
    for (int y = 0; y < bitmap.Height() && highest < 16; ++y) {
        const std::uint8_t* row = bitmap.ScanLine(y);
        highest = std::max(highest, static_cast<int>(*std::max_element(row, row + bitmap.Width())));
    }
    return highest < 16 ? 4 : 8;
}

void PutWord(std::string& out, int value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8 & 0xFF));
}

void PutTable(std::string& out, const TGIFColorTable& table)
{
    out.append(reinterpret_cast<const char*>(table.Colors.data()), static_cast<size_t>(table.Count) * 3);
}

// Each string as sub-blocks of at most 255 bytes (a longer one is split, not cut), then the empty block.
void PutSubBlocks(std::string& out, const std::vector<std::string>& strings)
{
    for (const std::string& s : strings)
        for (size_t at = 0; at < s.size(); at += 255) {
            const size_t n = std::min<size_t>(255, s.size() - at);
            out.push_back(static_cast<char>(n));
            out.append(s, at, n);
        }
    out.push_back('\0');
}

std::vector<std::string> Lines(const TStringList& list)
{
    std::vector<std::string> lines;
    for (int i = 0; i < list.Count(); ++i)
        lines.push_back(list[i]);
    return lines;
}

bool IsTransparentPixel(const TGIFBitmap& bitmap, int x, int y, int index, TColor color)
{
    const std::uint8_t* row = bitmap.ScanLine(y);
    switch (bitmap.PixelFormat()) {
    case TPixelFormat::pf24bit: return ColorOf(TGIFColor{row[x * 3 + 2], row[x * 3 + 1], row[x * 3]}) == color;
    case TPixelFormat::pf1bit: {
        const int v = (row[x >> 3] >> (7 - (x & 7))) & 1;
        return index >= 0 ? v == index : v < static_cast<int>(bitmap.Palette.size()) && ColorOf(bitmap.Palette[static_cast<size_t>(v)]) == color;
    }
    case TPixelFormat::pf8bit: break;
    }
    return index >= 0 ? row[x] == index
                      : row[x] < bitmap.Palette.size() && ColorOf(bitmap.Palette[row[x]]) == color;
}

} // namespace

void TGIFFrame::Encode(bool redecode)
{
    if (!HasBitmap())
        throw EInvalidGraphicOperation(TMessage(SNoGIFData, {}));
    TGIFBitmap indexed;
    int depth = 0;
    if (bitmap_->PixelFormat() != TPixelFormat::pf24bit) {
        indexed = *bitmap_;
        depth = PaletteDepth(indexed);
    } else {
        const std::string bmp = BitmapToReducedDIB(*bitmap_, 8, GrayScale ? mmGrayscale : DefaultMappingMethod);
        if (DefaultMappingMethod == mmGrayscale)
            GrayScale = true;
        depth = BMPBitCount(bmp);
        if (depth != 1 && depth != 4 && depth != 8)
            throw EInvalidGraphicOperation(TMessage(SGIFEncodeError, {}));
        indexed.LoadFromBMP(bmp);
    }
    auto item = std::make_shared<TGIFItem>();
    item->ColorTable.Count = 1 << depth;
    for (size_t i = 0; i < indexed.Palette.size() && i < 256; ++i)
        item->ColorTable.Colors[i] = indexed.Palette[i];
    Interlaced = false;
    TGIFImage* image = owner_;
    item->CompressedData = RxLZWEncode(indexed, depth, false, [image](TProgressStage stage, int percent) {
        if (image)
            image->ReportProgress(stage, percent);
    });
    item->BitsPerPixel = static_cast<std::uint8_t>(depth);
    item->Width = indexed.Width();
    item->Height = indexed.Height();
    if (owner_ && owner_->imageData_->ColorTable.Count == 0) {
        owner_->UniqueImageData();
        owner_->imageData_->ColorTable = item->ColorTable;
        owner_->imageData_->BitsPerPixel = item->BitsPerPixel;
        LocalColors = false;
    } else {
        LocalColors = true;
    }
    data_ = std::move(item);
    if (owner_) {
        owner_->screenWidth_ = std::max(owner_->screenWidth_, left_ + data_->Width);
        owner_->screenHeight_ = std::max(owner_->screenHeight_, top_ + data_->Height);
    }
    if (redecode && bitmap_->PixelFormat() == TPixelFormat::pf24bit) {
        bitmap_.reset();
        Bitmap();
    }
}

void TGIFFrame::RebuildGraphicControl()
{
    auto isControl = [](const TExtension& e) { return e.Kind == TExtensionKind::ekGraphicControl; };
    auto control = std::find_if(extensions_.begin(), extensions_.end(), isControl);
    if (control != extensions_.end()) {
        // One graphic control block per frame: later ones would override the rebuilt one.
        extensions_.erase(std::remove_if(control + 1, extensions_.end(), isControl), extensions_.end());
    } else if (delay_ > 0 || transparentColor_ != clNone || disposal_ != 0) {
        TExtension added;
        added.Kind = TExtensionKind::ekGraphicControl;
        extensions_.push_back(added);
        control = extensions_.end() - 1;
    }
    if (control != extensions_.end()) {
        std::array<std::uint8_t, 14>& h = control->Header;
        h[0] = 4;
        const std::int32_t hundredths = std::min(delay_ / 10, kMaxDelayHundredths);
        h[2] = static_cast<std::uint8_t>(hundredths & 0xFF);
        h[3] = static_cast<std::uint8_t>(hundredths >> 8);
        const TGIFColorTable& table = data_->ColorTable;
        int index = -1;
        if (transparentColor_ != clNone) {
            const bool kept = transparentIndex_ >= 0 && transparentIndex_ < table.Count &&
                              ColorOf(table.Colors[static_cast<size_t>(transparentIndex_)]) == transparentColor_;
            index = kept ? transparentIndex_ : table.IndexOf(transparentColor_);
        }
        if (index >= 0) {
            h[4] = static_cast<std::uint8_t>(index);
            h[1] |= 1;
        } else {
            h[1] &= static_cast<std::uint8_t>(~1);
        }
        h[1] = static_cast<std::uint8_t>((h[1] & ~0x1C) | disposal_ << 2);
        h[5] = 0;
        control->Data.clear();
    }
    extensions_.erase(std::remove_if(extensions_.begin(), extensions_.end(),
                                     [](const TExtension& e) {
                                         return e.Kind == TExtensionKind::ekComment &&
                                                std::all_of(e.Data.begin(), e.Data.end(),
                                                            [](const std::string& s) { return s.empty(); });
                                     }),
                      extensions_.end());
    if (!extensions_.empty() && owner_)
        owner_->version_ = 2;
}

void TGIFImage::EncodeFrames(bool redecode)
{
    for (auto& frame : frames_)
        if (!frame->data_->HasData())
            frame->Encode(redecode);
    for (auto& frame : frames_)
        frame->RebuildGraphicControl();
}

void TGIFImage::EncodeAllFrames()
{
    EncodeFrames(true);
}

void TGIFImage::WriteStream(TByteStream& stream, bool writeSize)
{
    if (frames_.empty())
        throw EInvalidGraphicOperation(TMessage(SNoGIFData, {}));
    EncodeFrames(false);
    if (!imageData_->CommentLines.Empty())
        version_ = 2;
    std::string out = version_ == 2 ? "GIF89a" : "GIF87a";
    GrowScreenSize();
    PutWord(out, screenWidth_);
    PutWord(out, screenHeight_);
    const TGIFColorTable& global = imageData_->ColorTable;
    if (global.Count > 0) {
        const int bits = ColorsToBits(global.Count);
        out.push_back(static_cast<char>(0x80 | (bits - 1) << 4 | (bits - 1)));
        out.push_back(static_cast<char>(backgroundColor_ == clNone ? 0 : std::max(0, global.IndexOf(backgroundColor_))));
    } else {
        out.push_back('\0');
        out.push_back('\0');
    }
    out.push_back(static_cast<char>(imageData_->AspectRatio));
    PutTable(out, global);
    if (looping_ && frames_.size() > 1) {
        out.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01", 16);
        PutWord(out, repeatCount_);
        out.push_back('\0');
    }
    for (const auto& frame : frames_) {
        for (const TExtension& e : frame->extensions_) {
            out.push_back('\x21');
            out.push_back(static_cast<char>(ExtensionLabel(e.Kind)));
            switch (e.Kind) {
            case TExtensionKind::ekGraphicControl:
                out.append(reinterpret_cast<const char*>(e.Header.data()), 6);
                continue;
            case TExtensionKind::ekPlainText:
            case TExtensionKind::ekApplication: {
                // The fixed part as read: its size byte and as many of its bytes as were kept.
                const size_t size = std::min<size_t>(e.Header[0], 13);
                out.push_back(static_cast<char>(size));
                out.append(reinterpret_cast<const char*>(e.Header.data()) + 1, size);
                break;
            }
            case TExtensionKind::ekComment: break;
            }
            PutSubBlocks(out, e.Data);
        }
        const TGIFItem& item = *frame->data_;
        out.push_back(',');
        PutWord(out, frame->left_);
        PutWord(out, frame->top_);
        PutWord(out, item.Width);
        PutWord(out, item.Height);
        std::uint8_t flags = frame->Interlaced ? 0x40 : 0;
        if (frame->LocalColors)
            flags |= static_cast<std::uint8_t>(0x80 | (ColorsToBits(item.ColorTable.Count) - 1));
        out.push_back(static_cast<char>(flags));
        if (frame->LocalColors)
            PutTable(out, item.ColorTable);
        out.append(*item.CompressedData);
    }
    if (!imageData_->CommentLines.Empty()) {
        out.append("\x21\xFE", 2);
        PutSubBlocks(out, Lines(imageData_->CommentLines));
    }
    out.push_back(';');
    if (writeSize) {
        const auto size = static_cast<std::uint32_t>(out.size());
        const std::uint8_t prefix[4] = {static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size >> 8),
                                        static_cast<std::uint8_t>(size >> 16), static_cast<std::uint8_t>(size >> 24)};
        stream.Write(prefix, 4);
    }
    stream.Write(out.data(), static_cast<std::int64_t>(out.size()));
}

void TGIFImage::MakeGrayScale(bool forceEncoding)
{
    if (frames_.empty())
        throw EInvalidGraphicOperation(TMessage(SNoGIFData, {}));
    for (auto& frame : frames_) {
        if (frame->GrayScale)
            continue;
        const TGIFBitmap& source = frame->Bitmap();
        TGIFBitmap grey;
        grey.LoadFromBMP(BitmapToReducedDIB(source, 8, mmGrayscale));
        if (frame->transparentColor_ != clNone) {
            // Transparent pixels get an index of their own, one no opaque pixel uses,
            // so that turning grey makes no opaque pixel transparent.
            std::vector<bool> clear(static_cast<size_t>(grey.Width()) * static_cast<size_t>(grey.Height()));
            std::array<bool, 256> opaqueUse{};
            for (int y = 0; y < grey.Height(); ++y)
                for (int x = 0; x < grey.Width(); ++x) {
                    const bool isClear = IsTransparentPixel(source, x, y, frame->transparentIndex_, frame->transparentColor_);
                    clear[static_cast<size_t>(y) * static_cast<size_t>(grey.Width()) + static_cast<size_t>(x)] = isClear;
                    if (!isClear)
                        opaqueUse[grey.ScanLine(y)[x]] = true;
                }
            int dedicated = GreyValue(GIFColorOf(frame->transparentColor_));
            if (opaqueUse[static_cast<size_t>(dedicated)]) {
                const auto unused = std::find(opaqueUse.begin(), opaqueUse.end(), false);
                if (unused != opaqueUse.end())
                    dedicated = static_cast<int>(unused - opaqueUse.begin());
            }
            for (int y = 0; y < grey.Height(); ++y)
                for (int x = 0; x < grey.Width(); ++x)
                    if (clear[static_cast<size_t>(y) * static_cast<size_t>(grey.Width()) + static_cast<size_t>(x)])
                        grey.ScanLine(y)[x] = static_cast<std::uint8_t>(dedicated);
            frame->transparentColor_ = ColorOf(grey.Palette[static_cast<size_t>(dedicated)]);
            frame->transparentIndex_ = dedicated;
        }
        frame->data_ = std::make_shared<TGIFItem>();
        frame->bitmap_ = std::make_unique<TGIFBitmap>(std::move(grey));
        frame->GrayScale = true;
        if (forceEncoding)
            frame->Encode(false);
    }
    if (backgroundColor_ != clNone) {
        const std::uint8_t v = GreyValue(GIFColorOf(backgroundColor_));
        backgroundColor_ = ColorOf(TGIFColor{v, v, v});
    }
    PaletteModified = true;
    Changed();
}

} // namespace RxGIF

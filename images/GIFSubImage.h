// One image (frame) of a GIF file: extensions, descriptor, local colour table and pixels.
#pragma once

#include "images/GIFBitmap.h"
#include "images/GIFColorMap.h"
#include "images/GIFExtension.h"
#include "images/GIFItem.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class TGIFGraphicControlExtension;

struct TGIFImageDescriptor {
    std::uint8_t Separator = 0x2C;
    std::uint16_t Left = 0;
    std::uint16_t Top = 0;
    std::uint16_t Width = 0;
    std::uint16_t Height = 0;
    // Bit 7 local table, bit 6 interlaced, bit 5 sorted, bits 0-2 table size.
    std::uint8_t Packed = 0;
};

class TGIFSubImage : public TGIFItem {
public:
    explicit TGIFSubImage(TGIFImage* image);
    ~TGIFSubImage() override;

    // Empties extensions, local table, pixels, size, transparency and the bitmaps.
    void Clear();
    // No pixel data, or a width or height of 0.
    bool Empty() const;

    int Left() const { return descriptor_.Left; }
    int Top() const { return descriptor_.Top; }
    int Width() const { return descriptor_.Width; }
    int Height() const { return descriptor_.Height; }
    void SetLeft(int value) { SetBounds(value, Top(), Width(), Height()); }
    void SetTop(int value) { SetBounds(Left(), value, Width(), Height()); }
    void SetWidth(int value) { SetBounds(Left(), Top(), value, Height()); }
    void SetHeight(int value) { SetBounds(Left(), Top(), Width(), value); }
    // A new width or height drops the bitmaps and reallocates the pixels (cleared
    // to 0); a frame that passes
    // the logical screen grows the screen, with a warning when the screen was set.
    // Raises "Invalid image dimensions" for a frame too large to hold.
    void SetBounds(int left, int top, int width, int height);

    bool Interlaced() const { return descriptor_.Packed & 0x40; }
    void SetInterlaced(bool value);
    const TGIFImageDescriptor& Descriptor() const { return descriptor_; }

    TGIFLocalColorMap& ColorMap() { return colorMap_; }
    // The local table when it has entries, else the image's global table.
    TGIFColorMap& ActiveColorMap();
    const TGIFColorMap& ActiveColorMap() const;
    // Bits per pixel of the local table.
    int BitsPerPixel() const { return colorMap_.BitsPerPixel(); }

    // Outside the frame: "Invalid pixel coordinates"; without pixels: "Image is empty".
    std::uint8_t Pixels(int x, int y) const;
    void SetPixels(int x, int y, std::uint8_t value);
    std::uint8_t* ScanLine(int y);
    const std::vector<std::uint8_t>& Data() const { return data_; }
    std::vector<std::uint8_t>& MutableData() { return data_; }

    TGIFExtensionList& Extensions() { return extensions_; }
    const TGIFExtensionList& Extensions() const { return extensions_; }
    bool Transparent() const { return transparent_; }
    void SetTransparentFlag(bool value) { transparent_ = value; }
    TGIFGraphicControlExtension* GraphicControlExtension() const { return graphicControl_; }
    void SetGraphicControlExtension(TGIFGraphicControlExtension* extension) { graphicControl_ = extension; }

    // The frame as an 8-bit bitmap, built on first use (with "Rendering..." progress)
    // and kept: its colour indices with its palette, or dithered to the web palette
    // when the image dithers.
    const TGIFBitmap& Bitmap();
    bool HasBitmap() const { return bitmap_ != nullptr; }
    // The transparent pixels of a transparent frame (built with the bitmap); null
    // when the frame is not transparent or no pixel is.
    const TGIFBitmap* Mask();
    // Drops the bitmap and the mask; the next use builds them again.
    void FreeBitmap();
    // The bitmap's palette, else the palette set, else (kept) the web palette when
    // the image dithers or the local table's colours, else the image's palette.
    TGIFPalette Palette();
    // A palette other than the bitmap's drops the bitmap; none works it out anew.
    void SetPalette(std::optional<TGIFPalette> palette);
    bool HasPalette() const { return palette_.has_value(); }

    // Becomes a copy of the source frame: descriptor, transparency, pixels, local
    // table, and extensions re-created from their bytes; a source with a bitmap
    // gives this frame its bitmap too. The bounds go through SetBounds.
    void Assign(const TGIFSubImage& source);
    // The bitmap receives this frame's bitmap.
    void AssignTo(TGIFBitmap& bitmap);

    // 2 when the local table is optimised or the frame has an extension.
    int Version() const override;
    void SaveToStream(TByteStream& stream) override;
    void LoadFromStream(TByteStream& stream) override;

private:
    void CheckPixel(int x, int y) const;
    bool WritesExtension(int index) const;

    std::unique_ptr<TGIFBitmap> bitmap_;
    std::unique_ptr<TGIFBitmap> mask_;
    // Cleared once a built mask turned out to have no transparent pixel.
    bool needMask_ = true;
    std::optional<TGIFPalette> palette_;
    TGIFImageDescriptor descriptor_;
    std::vector<std::uint8_t> data_;
    TGIFLocalColorMap colorMap_;
    bool transparent_ = false;
    TGIFGraphicControlExtension* graphicControl_ = nullptr;
    TGIFExtensionList extensions_;
};

// The largest frame the library will hold: each side at most 32768 and the
// pixel count at most `maxPixels` (the data present can decode to no more).
// Raises "Invalid image dimensions" otherwise.
void CheckFrameSize(int width, int height, std::int64_t maxPixels);

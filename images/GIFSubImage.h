// One image (frame) of a GIF file: extensions, descriptor, local colour table and pixels.
#pragma once

#include "images/GIFColorMap.h"
#include "images/GIFExtension.h"
#include "images/GIFItem.h"

#include <cstdint>
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

    // Empties extensions, local table, pixels, size and transparency.
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
    // A new width or height reallocates the pixels (cleared to 0); a frame that passes
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

    // 2 when the local table is optimised or the frame has an extension.
    int Version() const override;
    void SaveToStream(TByteStream& stream) override;
    void LoadFromStream(TByteStream& stream) override;

private:
    void CheckPixel(int x, int y) const;
    bool WritesExtension(int index) const;

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

// The GIF header block: signature, logical screen descriptor and the global colour table.
#pragma once

#include "images/GIFColorMap.h"
#include "images/GIFItem.h"

#include <cstdint>

class TGIFHeader : public TGIFItem {
public:
    explicit TGIFHeader(TGIFImage* image);

    std::uint16_t LogicalScreenWidth = 0;
    std::uint16_t LogicalScreenHeight = 0;
    std::uint8_t Packed = 0;
    std::uint8_t BackgroundColorIndex = 0;
    std::uint8_t AspectRatio = 0;

    TGIFGlobalColorMap& ColorMap() { return colorMap_; }
    const TGIFGlobalColorMap& ColorMap() const { return colorMap_; }

    // 2 when the global table is optimised or an aspect ratio is set.
    int Version() const override;
    // Recomputes the packed byte from the global table and the frames' local tables.
    void Prepare();
    // The bit count of the global table: its size field, and the code size of the
    // frames drawn with it. Padding it to the largest local table would only add
    // black entries and widen those frames' codes.
    int BitsPerPixel() const;
    // The largest bit count of the global table and of every local table, less one.
    int ColorResolution() const;

    // Writes the signature (version of the image), the screen and the padded global table.
    void SaveToStream(TByteStream& stream) override;
    // Raises "Invalid GIF signature" without "GIF" (after a 4-byte prefix at
    // most); the version letters are not examined.
    void LoadFromStream(TByteStream& stream) override;
    void Clear();

private:
    TGIFGlobalColorMap colorMap_;
};

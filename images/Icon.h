// An icon: the bytes of an icon file and the picture of its first readable image.
#pragma once

#include "images/GIFBitmap.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TIconEntryInfo {
    int width = 0;
    int height = 0;
    int bitCount = 0;
    int hotX = 0;
    int hotY = 0;
};

class TIcon {
public:
    TIcon() = default;
    // An icon file (resource type 1). Directory entries whose size or offset
    // passes the data, or whose image is no readable bitmap, are skipped; the
    // first readable one is the picture. No readable entry gives an empty icon.
    static TIcon FromICO(std::string_view file);

    bool Empty() const { return image_.Empty(); }
    int Width() const { return image_.Width(); }
    int Height() const { return image_.Height(); }
    // The colours, 24 bits per pixel; transparent pixels hold black.
    const TGIFBitmap& Image() const { return image_; }
    bool Transparent(int x, int y) const { return mask_[static_cast<size_t>(y) * static_cast<size_t>(Width()) + static_cast<size_t>(x)]; }
    // The icon file as given; empty for an empty icon.
    const std::string& Data() const { return data_; }
    // The readable entries of the directory, in file order.
    const std::vector<TIconEntryInfo>& Entries() const { return entries_; }

    // The picture over a background colour (red in the low byte), 24 bits per pixel.
    TGIFBitmap Composed(std::uint32_t background) const;

private:
    std::string data_;
    TGIFBitmap image_;
    std::vector<bool> mask_;
    std::vector<TIconEntryInfo> entries_;
};

// Nearest-colour look-ups: from an RGB colour to a palette index and its colour.
#pragma once

#include "images/GIFColor.h"

#include <cstdint>
#include <vector>

class TColorLookup {
public:
    explicit TColorLookup(int colors) : colors_(colors) {}
    virtual ~TColorLookup() = default;
    // 0 means the look-up is unusable.
    int Colors() const { return colors_; }
    virtual int Lookup(int red, int green, int blue, TGIFColor& color) = 0;

private:
    int colors_;
};

// Nearest entry of a palette (least sum of channel differences, lower index on a
// tie), remembered per 15-bit colour key so each key is searched once.
class TFastColorLookup : public TColorLookup {
public:
    explicit TFastColorLookup(const TGIFPalette& palette);
    int Lookup(int red, int green, int blue, TGIFColor& color) override;

private:
    static constexpr std::uint16_t kEmpty = 0xFFFF;
    static int Key(int red, int green, int blue) { return (red >> 3) | (green >> 3) << 5 | (blue >> 3) << 10; }
    TGIFPalette palette_;
    std::vector<std::uint16_t> cache_;
};

// The 216-colour web cube: each channel to level (c + 3) div 51.
class TNetscapeColorLookup : public TColorLookup {
public:
    TNetscapeColorLookup() : TColorLookup(216) {}
    int Lookup(int red, int green, int blue, TGIFColor& color) override;
};

// 256 greys by the weighted sum (77 R + 150 G + 29 B) >> 8.
class TGrayScaleLookup : public TColorLookup {
public:
    TGrayScaleLookup() : TColorLookup(256) {}
    int Lookup(int red, int green, int blue, TGIFColor& color) override;
};

// Black below the weighted sum 32513, white from there.
class TMonochromeLookup : public TColorLookup {
public:
    TMonochromeLookup() : TColorLookup(2) {}
    int Lookup(int red, int green, int blue, TGIFColor& color) override;
};

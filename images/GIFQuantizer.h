// Octree colour quantiser: builds a palette of at most N colours for a picture.
#pragma once

#include "images/GIFColor.h"

#include <array>
#include <cstdint>
#include <memory>

class TGIFBitmap;

struct TOctreeNode {
    bool Leaf = false;
    std::uint32_t PixelCount = 0;
    std::uint64_t RedSum = 0;
    std::uint64_t GreenSum = 0;
    std::uint64_t BlueSum = 0;
    TOctreeNode* NextReducible = nullptr;
    std::array<std::unique_ptr<TOctreeNode>, 8> Children;
};

class TColorQuantizer {
public:
    // The tree is reduced after every colour, so it never holds more than maxColors leaves.
    explicit TColorQuantizer(int maxColors, int colorBits = 8);
    void AddColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    int LeafCount() const { return leafCount_; }
    // One entry per leaf, depth first, children 0 to 7: the mean colour of its pixels.
    TGIFPalette ColorTable() const;

private:
    void Reduce();
    static void Walk(const TOctreeNode& node, TGIFPalette& palette);

    std::unique_ptr<TOctreeNode> root_;
    int leafCount_ = 0;
    std::array<TOctreeNode*, 8> reducible_{};
    int maxColors_;
    int colorBits_;
};

// The octree palette of a 24-bit bitmap. With system colours the palette has 256
// entries: the first and last ten static colours around up to 236 computed ones;
// without, exactly `colors` entries (black past the last computed one).
TGIFPalette CreateOptimizedPaletteFromBitmap(const TGIFBitmap& bitmap, int colors, int colorBits,
                                             bool systemColors);

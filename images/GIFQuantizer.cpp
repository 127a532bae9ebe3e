// Octree colour quantisation.
#include "images/GIFQuantizer.h"

#include "images/GIFBitmap.h"
#include "images/GIFPalettes.h"

#include <algorithm>

TColorQuantizer::TColorQuantizer(int maxColors, int colorBits)
    : maxColors_(std::max(maxColors, 1)), colorBits_(std::clamp(colorBits, 1, 8))
{
}

void TColorQuantizer::AddColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    std::unique_ptr<TOctreeNode>* slot = &root_;
    for (int level = 0;; ++level) {
        if (!*slot) {
            *slot = std::make_unique<TOctreeNode>();
            if (level == colorBits_) {
                (*slot)->Leaf = true;
                ++leafCount_;
            } else {
                (*slot)->NextReducible = reducible_[static_cast<size_t>(level)];
                reducible_[static_cast<size_t>(level)] = slot->get();
            }
        }
        TOctreeNode& node = **slot;
        if (node.Leaf) {
            ++node.PixelCount;
            node.RedSum += red;
            node.GreenSum += green;
            node.BlueSum += blue;
            break;
        }
        const int shift = 7 - level;
        const int index = ((red >> shift) & 1) << 2 | ((green >> shift) & 1) << 1 | ((blue >> shift) & 1);
        slot = &node.Children[static_cast<size_t>(index)];
    }
    while (leafCount_ > maxColors_)
        Reduce();
}

void TColorQuantizer::Reduce()
{
    int level = colorBits_ - 1;
    while (level > 0 && !reducible_[static_cast<size_t>(level)])
        --level;
    TOctreeNode* node = reducible_[static_cast<size_t>(level)];
    if (!node) {
        // Nothing left to fold: a single leaf remains.
        leafCount_ = std::min(leafCount_, maxColors_);
        return;
    }
    reducible_[static_cast<size_t>(level)] = node->NextReducible;
    int children = 0;
    for (auto& child : node->Children) {
        if (!child)
            continue;
        node->PixelCount += child->PixelCount;
        node->RedSum += child->RedSum;
        node->GreenSum += child->GreenSum;
        node->BlueSum += child->BlueSum;
        child.reset();
        ++children;
    }
    node->Leaf = true;
    leafCount_ -= children - 1;
}

void TColorQuantizer::Walk(const TOctreeNode& node, TGIFPalette& palette)
{
    if (node.Leaf) {
        const std::uint64_t n = node.PixelCount;
        palette.push_back(n == 0 ? TGIFColor{}
                                 : TGIFColor{static_cast<std::uint8_t>(node.RedSum / n),
                                             static_cast<std::uint8_t>(node.GreenSum / n),
                                             static_cast<std::uint8_t>(node.BlueSum / n)});
        return;
    }
    for (const auto& child : node.Children)
        if (child)
            Walk(*child, palette);
}

TGIFPalette TColorQuantizer::ColorTable() const
{
    TGIFPalette palette;
    if (root_)
        Walk(*root_, palette);
    return palette;
}

TGIFPalette CreateOptimizedPaletteFromBitmap(const TGIFBitmap& bitmap, int colors, int colorBits, bool systemColors)
{
    TGIFBitmap converted;
    if (bitmap.PixelFormat() != TPixelFormat::pf24bit) {
        converted = bitmap;
        converted.SetPixelFormat(TPixelFormat::pf24bit);
    }
    const TGIFBitmap& rgb = bitmap.PixelFormat() == TPixelFormat::pf24bit ? bitmap : converted;
    TColorQuantizer quantizer(colors, colorBits);
    for (int y = 0; y < rgb.Height(); ++y) {
        const std::uint8_t* row = rgb.ScanLine(y);
        for (int x = 0; x < rgb.Width(); ++x)
            quantizer.AddColor(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
    }
    TGIFPalette computed = quantizer.ColorTable();
    if (systemColors) {
        TGIFPalette palette = SystemPalette256();
        std::copy_n(computed.begin(), std::min<size_t>(computed.size(), 236), palette.begin() + 10);
        return palette;
    }
    computed.resize(static_cast<size_t>(std::max(colors, 0)));
    return computed;
}

// GIF colour tables: the global one of the header and the local one of a sub-image.
#pragma once

#include "images/GIFColor.h"
#include "images/GIFException.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TByteStream;
class TGIFHeader;
class TGIFSubImage;

using TColorHistogram = std::array<std::uint32_t, 256>;
using TColorRemap = std::array<std::uint8_t, 256>;

// A table of at most 256 colours. The optimised flag (written as the GIF sort flag)
// says the entries are ordered by use; every change clears it.
class TGIFColorMap {
public:
    virtual ~TGIFColorMap() = default;

    int Count() const { return count_; }
    int Capacity() const { return capacity_; }
    bool Optimized() const { return optimized_; }
    void SetOptimized(bool value) { optimized_ = value; }

    // An index outside the table warns "Invalid color index" and reads entry 0;
    // an empty table raises "Color table is empty".
    TGIFColor Colors(int index);
    // Sets an entry, growing the table up to the index (at most 256 entries).
    void SetColors(int index, TGIFColor color);
    // Raises "Color table overflow" when 256 colours are in use.
    int Add(TGIFColor color);
    // Raises "Invalid color index" outside 0..Count-1; later entries move down.
    void Delete(int index);
    void Clear();
    // -1 when absent. Optimised tables are searched from the top, others from the bottom.
    int IndexOf(TGIFColor color) const;
    int AddUnique(TGIFColor color);
    // 0 for an empty table, 1 for up to 2 entries, else the smallest b with 2^b >= Count.
    int BitsPerPixel() const;
    static int BitsFor(int count);
    const TGIFColor* Data() const { return colors_.data(); }
    void Assign(const TGIFColorMap& source);

    // Reads count entries; raises "Premature end of data" when they are not all there.
    void LoadFromStream(TByteStream& stream, int count);
    // Writes the entries padded with black up to `entries`.
    void SaveToStream(TByteStream& stream, int entries) const;

    TGIFPalette ExportPalette() const;
    void ImportPalette(const TGIFPalette& palette);
    // DIB colour tables hold blue, green, red and a reserved byte per entry.
    void ImportDIBColors(const std::uint8_t* quads, int count);

    virtual void Warning(TGIFSeverity severity, const std::string& message) = 0;
    // Histogram of the pixel indices of the pixels that use this table.
    virtual void CountUse(TColorHistogram& histogram) = 0;
    // Rewrites those pixels, and the transparent index of their graphic control
    // extension, through an old-to-new index table.
    virtual void Remap(const TColorRemap& map) = 0;
    // Sorts the entries by descending use and drops the unused tail; answers whether it ran.
    virtual bool Optimize();
    // Every change clears the optimised flag and drops the palettes made from the table.
    virtual void Changed() { optimized_ = false; }

private:
    void EnsureCapacity(int needed);

    std::vector<TGIFColor> colors_;
    int count_ = 0;
    int capacity_ = 0;
    bool optimized_ = false;
};

class TGIFGlobalColorMap : public TGIFColorMap {
public:
    explicit TGIFGlobalColorMap(TGIFHeader& header) : header_(header) {}
    void Warning(TGIFSeverity severity, const std::string& message) override;
    void CountUse(TColorHistogram& histogram) override;
    void Remap(const TColorRemap& map) override;
    // Runs only when the image has at least one sub-image.
    bool Optimize() override;
    // The image's palette goes; so do the bitmaps of the frames drawn with this table.
    void Changed() override;

private:
    TGIFHeader& header_;
};

class TGIFLocalColorMap : public TGIFColorMap {
public:
    explicit TGIFLocalColorMap(TGIFSubImage& subImage) : subImage_(subImage) {}
    void Warning(TGIFSeverity severity, const std::string& message) override;
    void CountUse(TColorHistogram& histogram) override;
    void Remap(const TColorRemap& map) override;
    // The sub-image's palette goes, and with it a bitmap drawn in the old colours.
    void Changed() override;

private:
    TGIFSubImage& subImage_;
};

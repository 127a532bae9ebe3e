// Ways to lay out an image's colour tables: which frames draw with the global
// table, which colours each table holds in which order, and what each way costs
// in bytes. The optimiser weighs several and applies the cheapest.
#pragma once

#include "images/GIFCanvas.h"

#include <bitset>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class TEncodedSizes;
class TGIFEncoder;
class TGIFImage;
class TGIFSubImage;

using TColorKey = TCanvasPixel;
// A colour the frames show, numbered in the order of its key: an index into TColorUse::keys.
using TColorId = int;

// What one frame asks of a colour table.
struct TFrameColors {
    TGIFSubImage* frame = nullptr;
    bool onGlobal = false;
    int clear = -1;
    // The indices its pixels hold.
    std::bitset<256> held;
    // The colours its pixels show, with how many show each, ordered by colour.
    std::vector<std::pair<TColorId, std::uint32_t>> shown;
    bool Shows(TColorId colour) const;
    // The entries of a table of its own: its colours and its transparency.
    int LocalCount() const { return static_cast<int>(shown.size()) + (clear >= 0 ? 1 : 0); }
};

// The frames the tables serve. A frame with pixels past its table is left as it
// is, and so is the global table (with the frames on it) when such a frame is
// drawn with it.
struct TColorUse {
    std::vector<TFrameColors> frames;
    // Every colour the frames or the background show, ascending.
    std::vector<TColorKey> keys;
    bool globalFixed = false;
    // The global table's colour the background shows in, when it shows at all.
    std::optional<TColorId> background;
    // The background shows where the file names no colour: no global table may be made.
    bool backgroundUnnamed = false;

    static TColorUse Of(TGIFImage& image);
    std::vector<bool> AsTheyAre() const;
};

enum class TColorOrder {
    coByPixels,      // the colour most pixels show first
    coByFrames,      // the colour most frames show first
    coBySmallFrames, // the colours of the frames of fewest colours first: they get low indices
    coPacked         // as many frames as fit below each power of two, frame by frame
};

// A table to be made: its colours, then one entry that only serves as transparency.
class TTable {
public:
    TTable() = default;
    // allColours: how many colours the use numbers.
    TTable(std::vector<TColorId> colours, size_t allColours);
    const std::vector<TColorId>& Colours() const { return colours_; }
    bool clearEntry = false;
    int Count() const { return static_cast<int>(colours_.size()) + (clearEntry ? 1 : 0); }
    int Bytes() const { return BytesFor(Count()); }
    // The bytes of a table of count entries.
    static int BytesFor(int count);
    // -1 when the table does not hold the colour.
    int IndexOf(TColorId colour) const { return index_[static_cast<size_t>(colour)]; }
    // The first entry whose colour the frame does not show: its transparent index.
    int ClearIndexFor(const TFrameColors& frame) const;

private:
    std::vector<TColorId> colours_;
    std::vector<std::int16_t> index_; // per colour of the use
};

// The local tables are left to be made when the plan is applied: what a frame
// costs on its own table does not depend on the order of its entries.
struct TPlan {
    TColorOrder order = TColorOrder::coByPixels;
    std::vector<bool> onGlobal; // per frame of the use
    TTable global;
    std::vector<int> clearOf; // per frame: its new transparent index, -1 for none
    bool Fits(const TColorUse& use) const;
};

TPlan MakePlan(const TColorUse& use, std::vector<bool> onGlobal, TColorOrder order);

// How a frame's image data is written: the code size, and whether interlaced.
struct TDataLayout {
    int codeBits = 0;
    bool interlaced = false;
    bool operator==(const TDataLayout&) const = default;
};

// The bytes a plan writes: its tables, and each frame's image data laid out as given.
struct TPlanBytes {
    std::int64_t tables = 0;
    std::vector<TDataLayout> data; // per frame of the use
};

// The bytes of the tables and of the frames' image data under a plan. A frame's
// image data depends only on which of its pixels are equal, on the code size and
// on interlacing, so each frame is encoded once per layout it is asked for,
// unless `sizes` holds it already.
class TPlanCost {
public:
    TPlanCost(TGIFImage& image, const TColorUse& use, TEncodedSizes& sizes);
    ~TPlanCost();
    TPlanBytes Of(const TPlan& plan) const;
    // The layout of the frame's image data on the global table with the transparent index given.
    TDataLayout OnGlobal(const TTable& global, size_t frame, int clear) const;
    // The layout of the frame's image data on a table of its own.
    TDataLayout OnItsOwn(size_t frame) const;
    std::int64_t DataBytes(size_t frame, const TDataLayout& layout);

private:
    const TColorUse& use_;
    std::unique_ptr<TGIFEncoder> encoder_;
    TEncodedSizes& sizes_;
};

// Rewrites the tables, pixels and transparent indices as the plan lays them out.
void ApplyPlan(TGIFImage& image, const TColorUse& use, const TPlan& plan);

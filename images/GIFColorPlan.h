// Ways to lay out an image's colour tables: which frames draw with the global
// table, which colours each table holds in which order, and what each way costs
// in bytes. The optimiser weighs several and applies the cheapest.
#pragma once

#include "images/GIFCanvas.h"

#include <cstdint>
#include <map>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

class TGIFImage;
class TGIFSubImage;

using TColorKey = TCanvasPixel;

// What one frame asks of a colour table.
struct TFrameColors {
    TGIFSubImage* frame = nullptr;
    bool onGlobal = false;
    int clear = -1;
    // The colours its pixels show, with how many show each, ordered by colour.
    std::vector<std::pair<TColorKey, std::uint32_t>> shown;
    bool Shows(TColorKey key) const;
};

// The frames the tables serve. A frame with pixels past its table is left as it
// is, and so is the global table (with the frames on it) when such a frame is
// drawn with it.
struct TColorUse {
    std::vector<TFrameColors> frames;
    bool globalFixed = false;
    // The global table's colour the background shows in, when it shows at all.
    std::optional<TColorKey> background;
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
    explicit TTable(std::vector<TColorKey> colours);
    const std::vector<TColorKey>& Colours() const { return colours_; }
    bool clearEntry = false;
    int Count() const { return static_cast<int>(colours_.size()) + (clearEntry ? 1 : 0); }
    int Bytes() const;
    // -1 when the table does not hold the colour.
    int IndexOf(TColorKey key) const;
    // The first entry whose colour the frame does not show: its transparent index.
    int ClearIndexFor(const TFrameColors& frame) const;

private:
    std::vector<TColorKey> colours_;
    std::unordered_map<TColorKey, int> index_;
};

struct TPlan {
    std::vector<bool> onGlobal; // per frame of the use
    TTable global;
    std::vector<TTable> local; // per frame; empty for frames on the global table
    std::vector<int> clearOf;  // per frame: its new transparent index, -1 for none
    bool Fits() const;
    const TTable& TableOf(size_t frame) const { return onGlobal[frame] ? global : local[frame]; }
};

TPlan MakePlan(const TColorUse& use, std::vector<bool> onGlobal, TColorOrder order);
// The frame's own table: the colours it shows, and an entry for its transparency.
TTable LocalTable(const TFrameColors& frame, TColorOrder order);

// The bytes of the tables and of the frames' image data under a plan. A frame's
// image data depends only on which of its pixels are equal, on the code size and
// on interlacing, so each frame is encoded once per code size it is asked for.
class TPlanCost {
public:
    TPlanCost(TGIFImage& image, const TColorUse& use);
    std::int64_t operator()(const TPlan& plan);
    // The frame's table (when local) and image data under the plan.
    std::int64_t FrameBytes(const TPlan& plan, size_t frame);

private:
    std::int64_t DataBytes(size_t frame, int codeBits, bool interlaced);

    TGIFImage& image_;
    const TColorUse& use_;
    std::vector<std::map<int, std::int64_t>> sizes_;
};

// Rewrites the tables, pixels and transparent indices as the plan lays them out.
void ApplyPlan(TGIFImage& image, const TColorUse& use, const TPlan& plan);

// Colour table layouts: building them from the frames, costing and applying them.
#include "images/GIFColorPlan.h"

#include "images/GIFEncodedSizes.h"
#include "images/GIFEncoder.h"
#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdint>

namespace {

constexpr int kMaxColors = 256;

TGIFColor ColorOfKey(TColorKey key)
{
    return TGIFColor{static_cast<std::uint8_t>(key >> 16), static_cast<std::uint8_t>(key >> 8),
                     static_cast<std::uint8_t>(key)};
}

int TableBits(int count)
{
    return std::max(TGIFColorMap::BitsFor(count), 1);
}

// The code size of a frame whose highest index is the one given.
int CodeBits(int highest)
{
    return std::max(TGIFColorMap::BitsFor(highest + 1), 2);
}

// How much each colour is used: by how many frames and pixels, in the order first met.
class TWeights {
public:
    explicit TWeights(size_t colours) : weights_(colours) {}
    // A frame showing `colours` colours shows this one in that many pixels.
    void Add(TColorId colour, std::uint64_t pixels, size_t colours)
    {
        TWeight& w = weights_[static_cast<size_t>(colour)];
        if (w.frames++ == 0)
            met_.push_back(colour);
        w.pixels += pixels;
        w.fewest = std::min(w.fewest, colours);
    }
    bool Has(TColorId colour) const { return weights_[static_cast<size_t>(colour)].frames > 0; }
    std::vector<TColorId> Ordered(TColorOrder order) const
    {
        std::vector<TColorId> sorted = met_;
        std::stable_sort(sorted.begin(), sorted.end(), [&](TColorId x, TColorId y) {
            const TWeight& a = weights_[static_cast<size_t>(x)];
            const TWeight& b = weights_[static_cast<size_t>(y)];
            if (order == TColorOrder::coByFrames && a.frames != b.frames)
                return a.frames > b.frames;
            if (order == TColorOrder::coBySmallFrames && a.fewest != b.fewest)
                return a.fewest < b.fewest;
            return a.pixels > b.pixels;
        });
        return sorted;
    }

private:
    struct TWeight {
        std::uint64_t pixels = 0;
        int frames = 0;
        size_t fewest = SIZE_MAX;
    };
    std::vector<TWeight> weights_; // per colour of the use
    std::vector<TColorId> met_;
};

// The frame's own table: the colours it shows, and an entry for its transparency.
TTable LocalTable(const TColorUse& use, const TFrameColors& frame, TColorOrder order)
{
    TWeights weights(use.keys.size());
    for (const auto& [colour, n] : frame.shown)
        weights.Add(colour, n, frame.shown.size());
    TTable table(weights.Ordered(order), use.keys.size());
    table.clearEntry = frame.clear >= 0;
    return table;
}

// Old index to new index of a frame under a plan.
std::array<std::uint8_t, kMaxColors> IndexMap(const TColorUse& use, const TFrameColors& frame, const TTable& table,
                                              int clear)
{
    const TIndexColors colors = FrameColors(*frame.frame);
    std::array<std::uint8_t, kMaxColors> map{};
    for (int index = 0; index < kMaxColors; ++index) {
        if (index == frame.clear) {
            map[static_cast<size_t>(index)] = static_cast<std::uint8_t>(clear);
            continue;
        }
        const auto key = std::lower_bound(use.keys.begin(), use.keys.end(), colors[static_cast<size_t>(index)]);
        if (key == use.keys.end() || *key != colors[static_cast<size_t>(index)])
            continue;
        if (const int at = table.IndexOf(static_cast<TColorId>(key - use.keys.begin())); at >= 0)
            map[static_cast<size_t>(index)] = static_cast<std::uint8_t>(at);
    }
    return map;
}

// The colours of a table arranged so that as many frames as can come first,
// frame after frame, each taking the fewest new entries: a frame whose colours
// (with its transparent index) all lie below 2^b entries is encoded with
// codes of b bits, however large the table is.
std::vector<TColorId> Packed(const TColorUse& use, const std::vector<bool>& onGlobal,
                             const std::vector<TColorId>& byPixels)
{
    if (byPixels.size() > static_cast<size_t>(kMaxColors))
        return byPixels;
    std::vector<int> position(use.keys.size(), -1);
    for (size_t i = 0; i < byPixels.size(); ++i)
        position[static_cast<size_t>(byPixels[i])] = static_cast<int>(i);
    using TColorSet = std::bitset<kMaxColors>;
    std::vector<TColorSet> waiting;
    for (size_t f = 0; f < use.frames.size(); ++f)
        if (onGlobal[f]) {
            TColorSet colours;
            for (const auto& [colour, n] : use.frames[f].shown)
                colours.set(static_cast<size_t>(position[static_cast<size_t>(colour)]));
            waiting.push_back(colours);
        }
    TColorSet placed;
    std::vector<TColorId> order;
    while (!waiting.empty()) {
        const auto fresh = [&](const TColorSet& colours) { return (colours & ~placed).count(); };
        const auto next = std::min_element(waiting.begin(), waiting.end(),
                                           [&](const TColorSet& a, const TColorSet& b) { return fresh(a) < fresh(b); });
        // Past half the largest table every frame needs the widest codes: the rest go by use.
        // One entry is left for the frame's transparent index.
        if (order.size() + fresh(*next) + 1 > kMaxColors / 2)
            break;
        // New colours in order of use, which is the order of their positions.
        const TColorSet added = *next & ~placed;
        for (size_t i = 0; i < byPixels.size(); ++i)
            if (added.test(i))
                order.push_back(byPixels[i]);
        placed |= added;
        std::erase_if(waiting, [&](const TColorSet& colours) { return fresh(colours) == 0; });
    }
    for (size_t i = 0; i < byPixels.size(); ++i)
        if (!placed.test(i))
            order.push_back(byPixels[i]);
    return order;
}

void Fill(TGIFColorMap& map, const TTable& table, const std::vector<TColorKey>& keys)
{
    map.Clear();
    for (TColorId colour : table.Colours())
        map.Add(ColorOfKey(keys[static_cast<size_t>(colour)]));
    if (table.clearEntry)
        map.Add(TGIFColor{});
    // Entries are ordered by use: written as the sorted flag.
    map.SetOptimized(true);
}

// How many pixels hold each index. Four counts a pixel in turn: runs of one
// index then add to four counters, not wait each on the one before.
std::array<std::uint32_t, kMaxColors> Histogram(const std::vector<std::uint8_t>& pixels)
{
    std::array<std::array<std::uint32_t, kMaxColors>, 4> counts{};
    const size_t whole = pixels.size() / 4 * 4;
    for (size_t i = 0; i < whole; i += 4) {
        ++counts[0][pixels[i]];
        ++counts[1][pixels[i + 1]];
        ++counts[2][pixels[i + 2]];
        ++counts[3][pixels[i + 3]];
    }
    for (size_t i = whole; i < pixels.size(); ++i)
        ++counts[0][pixels[i]];
    std::array<std::uint32_t, kMaxColors> histogram{};
    for (size_t index = 0; index < histogram.size(); ++index)
        histogram[index] = counts[0][index] + counts[1][index] + counts[2][index] + counts[3][index];
    return histogram;
}

// The colours a frame shows with how many pixels show each, ordered by colour.
std::vector<std::pair<TColorKey, std::uint32_t>> ShownColours(const TGIFSubImage& frame, int clear,
                                                              const std::array<std::uint32_t, kMaxColors>& histogram)
{
    const TIndexColors colors = FrameColors(frame);
    std::vector<std::pair<TColorKey, std::uint32_t>> shown;
    for (int index = 0; index < kMaxColors; ++index)
        if (histogram[static_cast<size_t>(index)] > 0 && index != clear)
            shown.emplace_back(colors[static_cast<size_t>(index)], histogram[static_cast<size_t>(index)]);
    std::sort(shown.begin(), shown.end());
    // A colour the table holds twice is one colour shown.
    size_t kept = 0;
    for (size_t i = 0; i < shown.size(); ++i) {
        if (kept > 0 && shown[kept - 1].first == shown[i].first)
            shown[kept - 1].second += shown[i].second;
        else
            shown[kept++] = shown[i];
    }
    shown.resize(kept);
    return shown;
}

} // namespace

bool TFrameColors::Shows(TColorId colour) const
{
    const auto at =
        std::lower_bound(shown.begin(), shown.end(), colour, [](const auto& s, TColorId c) { return s.first < c; });
    return at != shown.end() && at->first == colour;
}

TColorUse TColorUse::Of(TGIFImage& image)
{
    TColorUse use;
    const bool shows = BackgroundShows(image);
    const TGIFColorMap& global = image.Header().ColorMap();
    std::optional<TColorKey> background;
    if (shows && image.Header().BackgroundColorIndex < global.Count())
        background = TableColor(global, image.Header().BackgroundColorIndex);
    use.backgroundUnnamed = shows && global.Count() == 0;
    std::vector<std::vector<std::pair<TColorKey, std::uint32_t>>> shownKeys;
    for (int i = 0; i < image.Images().Count(); ++i) {
        TGIFSubImage& frame = image.Images().SubImage(i);
        if (frame.Empty())
            continue;
        const bool onGlobal = frame.ColorMap().Count() == 0;
        if (!FrameIsSound(frame)) {
            use.globalFixed = use.globalFixed || onGlobal;
            continue;
        }
        TFrameColors colours;
        colours.frame = &frame;
        colours.onGlobal = onGlobal;
        colours.clear = FrameTransparentIndex(frame);
        const std::array<std::uint32_t, kMaxColors> histogram = Histogram(frame.Data());
        for (size_t index = 0; index < histogram.size(); ++index)
            colours.held[index] = histogram[index] > 0;
        shownKeys.push_back(ShownColours(frame, colours.clear, histogram));
        use.frames.push_back(std::move(colours));
    }
    if (use.globalFixed)
        for (size_t f = use.frames.size(); f-- > 0;)
            if (use.frames[f].onGlobal) {
                use.frames.erase(use.frames.begin() + static_cast<std::ptrdiff_t>(f));
                shownKeys.erase(shownKeys.begin() + static_cast<std::ptrdiff_t>(f));
            }
    for (const auto& shown : shownKeys)
        for (const auto& [key, n] : shown)
            use.keys.push_back(key);
    if (background)
        use.keys.push_back(*background);
    std::sort(use.keys.begin(), use.keys.end());
    use.keys.erase(std::unique(use.keys.begin(), use.keys.end()), use.keys.end());
    auto idOf = [&](TColorKey key) {
        return static_cast<TColorId>(std::lower_bound(use.keys.begin(), use.keys.end(), key) - use.keys.begin());
    };
    for (size_t f = 0; f < use.frames.size(); ++f)
        for (const auto& [key, n] : shownKeys[f])
            use.frames[f].shown.emplace_back(idOf(key), n);
    if (background)
        use.background = idOf(*background);
    return use;
}

std::vector<bool> TColorUse::AsTheyAre() const
{
    std::vector<bool> onGlobal;
    for (const TFrameColors& frame : frames)
        onGlobal.push_back(frame.onGlobal);
    return onGlobal;
}

int TTable::BytesFor(int count)
{
    return count > 0 ? 3 << TableBits(count) : 0;
}

TTable::TTable(std::vector<TColorId> colours, size_t allColours)
    : colours_(std::move(colours)), index_(allColours, -1)
{
    for (size_t i = 0; i < colours_.size(); ++i)
        if (std::int16_t& at = index_[static_cast<size_t>(colours_[i])]; at < 0)
            at = static_cast<std::int16_t>(i);
}

int TTable::ClearIndexFor(const TFrameColors& frame) const
{
    const auto free = std::find_if(colours_.begin(), colours_.end(), [&](TColorId c) { return !frame.Shows(c); });
    return static_cast<int>(free - colours_.begin());
}

bool TPlan::Fits(const TColorUse& use) const
{
    if (global.Count() > kMaxColors)
        return false;
    for (size_t f = 0; f < use.frames.size(); ++f)
        if (!onGlobal[f] && use.frames[f].LocalCount() > kMaxColors)
            return false;
    return true;
}

TPlan MakePlan(const TColorUse& use, std::vector<bool> onGlobal, TColorOrder order)
{
    TPlan plan;
    plan.order = order;
    plan.onGlobal = std::move(onGlobal);
    const size_t count = use.frames.size();
    plan.clearOf.assign(count, -1);
    TWeights globalWeights(use.keys.size());
    for (size_t f = 0; f < count; ++f) {
        const TFrameColors& frame = use.frames[f];
        if (!plan.onGlobal[f]) {
            if (frame.clear >= 0)
                plan.clearOf[f] = static_cast<int>(frame.shown.size());
            continue;
        }
        for (const auto& [colour, n] : frame.shown)
            globalWeights.Add(colour, n, frame.shown.size());
    }
    if (use.background && !globalWeights.Has(*use.background))
        globalWeights.Add(*use.background, 0, SIZE_MAX);
    std::vector<TColorId> colours = order == TColorOrder::coPacked
                                        ? Packed(use, plan.onGlobal, globalWeights.Ordered(TColorOrder::coByPixels))
                                        : globalWeights.Ordered(order);
    plan.global = TTable(std::move(colours), use.keys.size());
    // A transparent index on the global table is a colour the frame does not show.
    for (size_t f = 0; f < count; ++f) {
        const TFrameColors& frame = use.frames[f];
        if (!plan.onGlobal[f] || frame.clear < 0)
            continue;
        plan.clearOf[f] = plan.global.ClearIndexFor(frame);
        if (plan.clearOf[f] == static_cast<int>(plan.global.Colours().size()))
            plan.global.clearEntry = true;
    }
    return plan;
}

TPlanCost::TPlanCost(TGIFImage& image, const TColorUse& use, TEncodedSizes& sizes)
    : use_(use), encoder_(MakeEncoder(&image)), sizes_(sizes)
{
}

TPlanCost::~TPlanCost() = default;

std::int64_t TPlanCost::DataBytes(size_t frame, const TDataLayout& layout)
{
    const TGIFSubImage& source = *use_.frames[frame].frame;
    if (const std::optional<std::int64_t> known = sizes_.Find(source, layout.codeBits, layout.interlaced))
        return *known;
    // Any numbering that keeps equal pixels equal encodes to the same size.
    std::array<int, kMaxColors> rank;
    rank.fill(-1);
    int next = 0;
    std::vector<std::uint8_t> pixels = source.Data();
    for (std::uint8_t& pixel : pixels) {
        int& r = rank[pixel];
        if (r < 0)
            r = next++;
        pixel = static_cast<std::uint8_t>(r);
    }
    TMemoryByteStream data;
    encoder_->Encode(data, layout.codeBits, 1 << layout.codeBits, pixels.data(), layout.interlaced, source.Width(),
                     source.Height());
    const auto bytes = static_cast<std::int64_t>(data.Data().size());
    sizes_.Add(source, layout.codeBits, layout.interlaced, bytes);
    return bytes;
}

TDataLayout TPlanCost::OnGlobal(const TTable& global, size_t frame, int clear) const
{
    const TFrameColors& colours = use_.frames[frame];
    int highest = clear;
    for (const auto& [colour, n] : colours.shown)
        highest = std::max(highest, global.IndexOf(colour));
    return TDataLayout{CodeBits(highest), colours.frame->Interlaced()};
}

TDataLayout TPlanCost::OnItsOwn(size_t frame) const
{
    // Its table holds its colours first, then the transparent entry; frames on
    // a table of their own are written without interlacing.
    return TDataLayout{CodeBits(use_.frames[frame].LocalCount() - 1), false};
}

TPlanBytes TPlanCost::Of(const TPlan& plan) const
{
    TPlanBytes bytes;
    bytes.tables = plan.global.Bytes();
    for (size_t f = 0; f < use_.frames.size(); ++f) {
        if (!plan.onGlobal[f])
            bytes.tables += TTable::BytesFor(use_.frames[f].LocalCount());
        bytes.data.push_back(plan.onGlobal[f] ? OnGlobal(plan.global, f, plan.clearOf[f]) : OnItsOwn(f));
    }
    return bytes;
}

void ApplyPlan(TGIFImage& image, const TColorUse& use, const TPlan& plan)
{
    std::vector<TTable> tables(use.frames.size());
    std::vector<std::array<std::uint8_t, kMaxColors>> maps;
    for (size_t f = 0; f < use.frames.size(); ++f) {
        if (!plan.onGlobal[f])
            tables[f] = LocalTable(use, use.frames[f], plan.order);
        maps.push_back(IndexMap(use, use.frames[f], plan.onGlobal[f] ? plan.global : tables[f], plan.clearOf[f]));
    }
    if (!use.globalFixed) {
        Fill(image.Header().ColorMap(), plan.global, use.keys);
        image.Header().BackgroundColorIndex =
            static_cast<std::uint8_t>(use.background ? plan.global.IndexOf(*use.background) : 0);
    }
    for (size_t f = 0; f < use.frames.size(); ++f) {
        TGIFSubImage& frame = *use.frames[f].frame;
        if (plan.onGlobal[f])
            frame.ColorMap().Clear();
        else
            Fill(frame.ColorMap(), tables[f], use.keys);
        // A copy of its own: a pixel written could otherwise be part of the vector's bookkeeping.
        const std::array<std::uint8_t, kMaxColors> map = maps[f];
        bool moves = false;
        for (size_t index = 0; index < map.size(); ++index)
            moves = moves || (use.frames[f].held[index] && map[index] != index);
        if (moves)
            for (std::uint8_t& pixel : frame.MutableData())
                pixel = map[pixel];
        if (plan.clearOf[f] >= 0)
            frame.GraphicControlExtension()->SetTransparentColorIndexUnchecked(static_cast<std::uint8_t>(plan.clearOf[f]));
        frame.FreeBitmap();
    }
}

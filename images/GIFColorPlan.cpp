// Colour table layouts: building them from the frames, costing and applying them.
#include "images/GIFColorPlan.h"

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

// How much each colour is used: by how many frames and pixels, in the order first met.
class TWeights {
public:
    // A frame showing `colours` colours shows the key in that many pixels.
    void Add(TColorKey key, std::uint64_t pixels, size_t colours)
    {
        const auto [at, added] = index_.try_emplace(key, weights_.size());
        if (added)
            weights_.push_back(TWeight{key});
        TWeight& w = weights_[at->second];
        w.pixels += pixels;
        ++w.frames;
        w.fewest = std::min(w.fewest, colours);
    }
    bool Has(TColorKey key) const { return index_.count(key) > 0; }
    std::vector<TColorKey> Ordered(TColorOrder order) const
    {
        std::vector<TWeight> sorted = weights_;
        std::stable_sort(sorted.begin(), sorted.end(), [&](const TWeight& a, const TWeight& b) {
            if (order == TColorOrder::coByFrames && a.frames != b.frames)
                return a.frames > b.frames;
            if (order == TColorOrder::coBySmallFrames && a.fewest != b.fewest)
                return a.fewest < b.fewest;
            return a.pixels > b.pixels;
        });
        std::vector<TColorKey> keys;
        for (const TWeight& w : sorted)
            keys.push_back(w.key);
        return keys;
    }

private:
    struct TWeight {
        TColorKey key;
        std::uint64_t pixels = 0;
        int frames = 0;
        size_t fewest = SIZE_MAX;
    };
    std::vector<TWeight> weights_;
    std::unordered_map<TColorKey, size_t> index_;
};

// Old index to new index of a frame under a plan.
std::array<std::uint8_t, kMaxColors> IndexMap(const TFrameColors& frame, const TTable& table, int clear)
{
    std::array<std::uint8_t, kMaxColors> map{};
    for (int index = 0; index < kMaxColors; ++index)
        if (index == frame.clear)
            map[static_cast<size_t>(index)] = static_cast<std::uint8_t>(clear);
        else if (const int at = table.IndexOf(FrameColor(*frame.frame, index)); at >= 0)
            map[static_cast<size_t>(index)] = static_cast<std::uint8_t>(at);
    return map;
}

// The colours of a table arranged so that as many frames as can come first,
// frame after frame, each taking the fewest new entries: a frame whose colours
// (with its transparent index) all lie below 2^b entries is encoded with
// codes of b bits, however large the table is.
std::vector<TColorKey> Packed(const TColorUse& use, const std::vector<bool>& onGlobal, const std::vector<TColorKey>& byPixels)
{
    if (byPixels.size() > static_cast<size_t>(kMaxColors))
        return byPixels;
    std::unordered_map<TColorKey, size_t> position;
    for (size_t i = 0; i < byPixels.size(); ++i)
        position[byPixels[i]] = i;
    using TColorSet = std::bitset<kMaxColors>;
    std::vector<TColorSet> waiting;
    for (size_t f = 0; f < use.frames.size(); ++f)
        if (onGlobal[f]) {
            TColorSet colours;
            for (const auto& [key, n] : use.frames[f].shown)
                colours.set(position.at(key));
            waiting.push_back(colours);
        }
    TColorSet placed;
    std::vector<TColorKey> order;
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

void Fill(TGIFColorMap& map, const TTable& table)
{
    map.Clear();
    for (TColorKey key : table.Colours())
        map.Add(ColorOfKey(key));
    if (table.clearEntry)
        map.Add(TGIFColor{});
    // Entries are ordered by use: written as the sorted flag.
    map.SetOptimized(true);
}

} // namespace

bool TFrameColors::Shows(TColorKey key) const
{
    const auto at = std::lower_bound(shown.begin(), shown.end(), key, [](const auto& s, TColorKey k) { return s.first < k; });
    return at != shown.end() && at->first == key;
}

TColorUse TColorUse::Of(TGIFImage& image)
{
    TColorUse use;
    // Frames too far apart to compose are taken to show the background.
    const bool shows = WalkFrames(image, [](int, const TGIFCanvas&) {}).value_or(true);
    const TGIFColorMap& global = image.Header().ColorMap();
    if (shows && image.Header().BackgroundColorIndex < global.Count())
        use.background = TableColor(global, image.Header().BackgroundColorIndex);
    use.backgroundUnnamed = shows && global.Count() == 0;
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
        std::array<std::uint32_t, kMaxColors> histogram{};
        for (std::uint8_t index : frame.Data())
            ++histogram[index];
        std::map<TColorKey, std::uint32_t> shown;
        for (int index = 0; index < kMaxColors; ++index)
            if (histogram[static_cast<size_t>(index)] > 0 && index != colours.clear)
                shown[FrameColor(frame, index)] += histogram[static_cast<size_t>(index)];
        colours.shown.assign(shown.begin(), shown.end());
        use.frames.push_back(std::move(colours));
    }
    if (use.globalFixed)
        std::erase_if(use.frames, [](const TFrameColors& frame) { return frame.onGlobal; });
    return use;
}

std::vector<bool> TColorUse::AsTheyAre() const
{
    std::vector<bool> onGlobal;
    for (const TFrameColors& frame : frames)
        onGlobal.push_back(frame.onGlobal);
    return onGlobal;
}

int TTable::Bytes() const
{
    return Count() > 0 ? 3 << TableBits(Count()) : 0;
}

TTable::TTable(std::vector<TColorKey> colours) : colours_(std::move(colours))
{
    for (size_t i = 0; i < colours_.size(); ++i)
        index_.try_emplace(colours_[i], static_cast<int>(i));
}

int TTable::IndexOf(TColorKey key) const
{
    const auto found = index_.find(key);
    return found == index_.end() ? -1 : found->second;
}

int TTable::ClearIndexFor(const TFrameColors& frame) const
{
    const auto free = std::find_if(colours_.begin(), colours_.end(), [&](TColorKey key) { return !frame.Shows(key); });
    return static_cast<int>(free - colours_.begin());
}

bool TPlan::Fits() const
{
    return global.Count() <= kMaxColors &&
           std::all_of(local.begin(), local.end(), [](const TTable& t) { return t.Count() <= kMaxColors; });
}

TPlan MakePlan(const TColorUse& use, std::vector<bool> onGlobal, TColorOrder order)
{
    TPlan plan;
    plan.onGlobal = std::move(onGlobal);
    const size_t count = use.frames.size();
    plan.local.resize(count);
    plan.clearOf.assign(count, -1);
    TWeights globalWeights;
    for (size_t f = 0; f < count; ++f) {
        const TFrameColors& frame = use.frames[f];
        if (!plan.onGlobal[f]) {
            plan.local[f] = LocalTable(frame, order);
            if (frame.clear >= 0)
                plan.clearOf[f] = static_cast<int>(frame.shown.size());
            continue;
        }
        for (const auto& [key, n] : frame.shown)
            globalWeights.Add(key, n, frame.shown.size());
    }
    if (use.background && !globalWeights.Has(*use.background))
        globalWeights.Add(*use.background, 0, SIZE_MAX);
    std::vector<TColorKey> colours = globalWeights.Ordered(TColorOrder::coByPixels);
    plan.global = TTable(order == TColorOrder::coPacked ? Packed(use, plan.onGlobal, colours) : globalWeights.Ordered(order));
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

TTable LocalTable(const TFrameColors& frame, TColorOrder order)
{
    TWeights weights;
    for (const auto& [key, n] : frame.shown)
        weights.Add(key, n, frame.shown.size());
    TTable table(weights.Ordered(order));
    table.clearEntry = frame.clear >= 0;
    return table;
}

TPlanCost::TPlanCost(TGIFImage& image, const TColorUse& use) : image_(image), use_(use), sizes_(use.frames.size()) {}

std::int64_t TPlanCost::DataBytes(size_t frame, int codeBits, bool interlaced)
{
    const int key = codeBits * 2 + (interlaced ? 1 : 0);
    auto& sizes = sizes_[frame];
    if (const auto found = sizes.find(key); found != sizes.end())
        return found->second;
    // Any numbering that keeps equal pixels equal encodes to the same size.
    const TGIFSubImage& source = *use_.frames[frame].frame;
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
    MakeEncoder(&image_)->Encode(data, codeBits, 1 << codeBits, pixels.data(), interlaced, source.Width(),
                                 source.Height());
    return sizes[key] = static_cast<std::int64_t>(data.Data().size());
}

std::int64_t TPlanCost::FrameBytes(const TPlan& plan, size_t frame)
{
    const TFrameColors& colours = use_.frames[frame];
    const TTable& table = plan.TableOf(frame);
    int highest = plan.clearOf[frame];
    for (const auto& [key, n] : colours.shown)
        highest = std::max(highest, table.IndexOf(key));
    const int codeBits = std::max(TGIFColorMap::BitsFor(highest + 1), 2);
    // Frames on a local table are written without interlacing.
    const bool onGlobal = plan.onGlobal[frame];
    return DataBytes(frame, codeBits, onGlobal && colours.frame->Interlaced()) + (onGlobal ? 0 : table.Bytes());
}

std::int64_t TPlanCost::operator()(const TPlan& plan)
{
    std::int64_t bytes = plan.global.Bytes();
    for (size_t f = 0; f < use_.frames.size(); ++f)
        bytes += FrameBytes(plan, f);
    return bytes;
}

void ApplyPlan(TGIFImage& image, const TColorUse& use, const TPlan& plan)
{
    std::vector<std::array<std::uint8_t, kMaxColors>> maps;
    for (size_t f = 0; f < use.frames.size(); ++f)
        maps.push_back(IndexMap(use.frames[f], plan.TableOf(f), plan.clearOf[f]));
    if (!use.globalFixed) {
        Fill(image.Header().ColorMap(), plan.global);
        image.Header().BackgroundColorIndex =
            static_cast<std::uint8_t>(use.background ? plan.global.IndexOf(*use.background) : 0);
    }
    for (size_t f = 0; f < use.frames.size(); ++f) {
        TGIFSubImage& frame = *use.frames[f].frame;
        if (plan.onGlobal[f])
            frame.ColorMap().Clear();
        else
            Fill(frame.ColorMap(), plan.local[f]);
        for (std::uint8_t& pixel : frame.MutableData())
            pixel = maps[f][pixel];
        if (plan.clearOf[f] >= 0)
            frame.GraphicControlExtension()->SetTransparentColorIndexUnchecked(static_cast<std::uint8_t>(plan.clearOf[f]));
        frame.FreeBitmap();
    }
}

// Optimisation of the colour tables: each keeps the colours its frames show,
// and the frames are spread over the global and local tables as encodes smallest.
#include "images/GIFColorPlan.h"
#include "images/GIFImage.h"
#include "images/GIFOptimizePhases.h"

#include <algorithm>
#include <numeric>
#include <set>
#include <utility>

namespace {

constexpr int kMaxColors = 256;

constexpr size_t kMostSeeds = 16;

// The frames with the most pixels first.
std::vector<size_t> LargestFirst(const TColorUse& use)
{
    std::vector<size_t> order(use.frames.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return use.frames[a].frame->Data().size() > use.frames[b].frame->Data().size();
    });
    return order;
}

// The global table grown from one frame's colours by every other frame that
// still fits, the largest first.
std::vector<bool> GrownFrom(const TColorUse& use, size_t seed)
{
    std::vector<bool> onGlobal(use.frames.size(), false);
    std::vector<bool> taken(use.keys.size(), false);
    int colours = 0;
    if (use.background) {
        taken[static_cast<size_t>(*use.background)] = true;
        ++colours;
    }
    auto take = [&](size_t f) {
        int fresh = 0;
        for (const auto& [colour, n] : use.frames[f].shown)
            fresh += taken[static_cast<size_t>(colour)] ? 0 : 1;
        // One entry stays free for a frame that needs a transparent index of its own.
        if (colours + fresh >= kMaxColors)
            return;
        for (const auto& [colour, n] : use.frames[f].shown)
            taken[static_cast<size_t>(colour)] = true;
        colours += fresh;
        onGlobal[f] = true;
    };
    take(seed);
    for (size_t f : LargestFirst(use))
        if (f != seed)
            take(f);
    return onGlobal;
}

// Each frame whose colours the plan's global table holds goes where it costs less.
std::vector<bool> Cheaper(const TColorUse& use, const TPlan& plan, TPlanCost& cost)
{
    std::vector<bool> onGlobal = plan.onGlobal;
    for (size_t f = 0; f < use.frames.size(); ++f) {
        const TFrameColors& frame = use.frames[f];
        const bool fits = std::all_of(frame.shown.begin(), frame.shown.end(),
                                      [&](const auto& s) { return plan.global.IndexOf(s.first) >= 0; });
        if (!fits)
            continue;
        const int clear = frame.clear >= 0 ? std::min(plan.global.ClearIndexFor(frame), kMaxColors - 1) : -1;
        const TDataLayout global = cost.OnGlobal(plan.global, f, clear), own = cost.OnItsOwn(f);
        // Laid out alike, the image data is as large either way and a table of its own only adds.
        onGlobal[f] = global == own ||
                      cost.DataBytes(f, global) <= cost.DataBytes(f, own) + TTable::BytesFor(frame.LocalCount());
    }
    return onGlobal;
}

} // namespace

void ShrinkColorMaps(TGIFImage& image, const TFrameDone& done)
{
    const TColorUse use = TColorUse::Of(image);
    const TPlan plan = MakePlan(use, use.AsTheyAre(), TColorOrder::coByPixels);
    for (size_t f = 0; f < use.frames.size(); ++f)
        done();
    if (plan.Fits(use))
        ApplyPlan(image, use, plan);
}

void ArrangeColorMaps(TGIFImage& image, TEncodedSizes& sizes, const TFrameDone& done)
{
    const TColorUse use = TColorUse::Of(image);
    const size_t frames = use.frames.size();
    std::vector<std::vector<bool>> layouts{use.AsTheyAre()};
    if (!use.globalFixed) {
        layouts.emplace_back(frames, false);
        if (!use.backgroundUnnamed) {
            layouts.emplace_back(frames, true);
            // When not all colours fit one table, the largest frames each seed one.
            if (!MakePlan(use, layouts.back(), TColorOrder::coByPixels).Fits(use)) {
                const std::vector<size_t> largest = LargestFirst(use);
                for (size_t i = 0; i < largest.size() && i < kMostSeeds; ++i)
                    layouts.push_back(GrownFrom(use, largest[i]));
            }
        }
    }
    TPlanCost cost(image, use, sizes);
    struct TCandidate {
        std::vector<bool> onGlobal;
        TColorOrder order;
        TPlanBytes bytes;
    };
    std::vector<TCandidate> candidates;
    auto consider = [&](const TPlan& plan) {
        if (plan.Fits(use))
            candidates.push_back(TCandidate{plan.onGlobal, plan.order, cost.Of(plan)});
    };
    // A layout met again in the same order makes the same plan, which costs as
    // much as the first and so never wins over it; from the same plan Cheaper
    // makes the same layout again.
    std::set<std::pair<std::vector<bool>, TColorOrder>> tried, made;
    for (const std::vector<bool>& layout : layouts)
        for (TColorOrder order : {TColorOrder::coByPixels, TColorOrder::coByFrames, TColorOrder::coBySmallFrames,
                                  TColorOrder::coPacked}) {
            if (!tried.emplace(layout, order).second)
                continue;
            const TPlan plan = MakePlan(use, layout, order);
            if (made.emplace(layout, order).second)
                consider(plan);
            if (!plan.Fits(use) || use.globalFixed || use.backgroundUnnamed)
                continue;
            if (std::vector<bool> cheaper = Cheaper(use, plan, cost); made.emplace(cheaper, order).second)
                consider(MakePlan(use, std::move(cheaper), order));
        }
    for (size_t f = 0; f < frames; ++f)
        done();
    if (candidates.empty())
        return;
    // A frame whose image data every candidate lays out alike adds as much to
    // each: it need not be encoded to find the smallest.
    std::vector<bool> differs(frames, false);
    for (const TCandidate& candidate : candidates)
        for (size_t f = 0; f < frames; ++f)
            differs[f] = differs[f] || candidate.bytes.data[f] != candidates.front().bytes.data[f];
    const TCandidate* best = nullptr;
    std::int64_t bestBytes = 0;
    for (const TCandidate& candidate : candidates) {
        std::int64_t bytes = candidate.bytes.tables;
        for (size_t f = 0; f < frames; ++f)
            if (differs[f])
                bytes += cost.DataBytes(f, candidate.bytes.data[f]);
        if (!best || bytes < bestBytes) {
            best = &candidate;
            bestBytes = bytes;
        }
    }
    ApplyPlan(image, use, MakePlan(use, best->onGlobal, best->order));
}

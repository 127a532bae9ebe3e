// Choosing between two equally good-looking indices by the LZW dictionary.
#include "images/GIFCodeChoice.h"

#include "images/GIFEncoder.h"

#include <algorithm>
#include <memory>

namespace {

constexpr int kInterlaceStart[4] = {0, 4, 2, 1};
constexpr int kInterlaceStep[4] = {8, 8, 4, 2};
constexpr int kLastCode = 4095;

std::vector<int> RowOrder(int height, bool interlaced)
{
    std::vector<int> rows;
    rows.reserve(static_cast<size_t>(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y)
            rows.push_back(y);
        return rows;
    }
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kInterlaceStart[pass]; y < height; y += kInterlaceStep[pass])
            rows.push_back(y);
    return rows;
}

// The encoder's dictionary: strings as (prefix code, pixel), cleared when full.
class TDictionary {
public:
    explicit TDictionary(int bitsPerPixel) : firstFree_((1 << std::clamp(bitsPerPixel, 2, 8)) + 2) { Clear(); }
    int Lookup(int prefix, int pixel) const { return table_->Lookup(Key(prefix, pixel)); }
    // A string that is not there: added, or the dictionary is cleared when it is full.
    void Add(int prefix, int pixel)
    {
        if (nextFree_ >= kLastCode)
            Clear();
        else
            table_->Insert(Key(prefix, pixel), nextFree_++);
    }

private:
    static std::uint32_t Key(int prefix, int pixel)
    {
        return static_cast<std::uint32_t>(prefix) << 8 | static_cast<std::uint32_t>(pixel);
    }
    void Clear()
    {
        table_->Clear();
        nextFree_ = firstFree_;
    }
    std::unique_ptr<THashTable> table_ = std::make_unique<THashTable>();
    int firstFree_;
    int nextFree_ = 0;
};

} // namespace

void ChooseIndicesForLZW(std::vector<std::uint8_t>& pixels, const std::vector<std::int16_t>& alternative, int width,
                         int height, int bitsPerPixel, bool interlaced, TIndexChoice rule)
{
    if (width <= 0 || height <= 0)
        return;
    std::vector<size_t> order;
    order.reserve(pixels.size());
    for (int y : RowOrder(height, interlaced))
        for (int x = 0; x < width; ++x)
            order.push_back(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x));
    // How many pixels from step k on may take each of its two indices in a row.
    const size_t n = order.size();
    std::vector<std::uint32_t> runOfPreferred(n + 1, 0), runOfOther(n + 1, 0);
    auto runFrom = [&](size_t k, int index) -> std::uint32_t {
        if (k >= n)
            return 0;
        if (pixels[order[k]] == index)
            return runOfPreferred[k];
        return alternative[order[k]] == index ? runOfOther[k] : 0;
    };
    for (size_t k = n; k-- > 0;) {
        runOfPreferred[k] = 1 + runFrom(k + 1, pixels[order[k]]);
        if (alternative[order[k]] >= 0)
            runOfOther[k] = 1 + runFrom(k + 1, alternative[order[k]]);
    }
    TDictionary dictionary(bitsPerPixel);
    int prefix = -1;
    for (size_t k = 0; k < n; ++k) {
        const size_t at = order[k];
        const int preferred = pixels[at];
        const int other = alternative[at];
        // Of two indices, the one the following pixels can repeat the longer.
        const bool otherRunsLonger =
            rule == TIndexChoice::icLongerRun && other >= 0 && runOfOther[k] > runOfPreferred[k];
        if (prefix < 0) {
            pixels[at] = static_cast<std::uint8_t>(otherRunsLonger ? other : preferred);
            prefix = pixels[at];
            continue;
        }
        const int preferredCode = dictionary.Lookup(prefix, preferred);
        const int otherCode = other >= 0 ? dictionary.Lookup(prefix, other) : -1;
        if (preferredCode >= 0 || otherCode >= 0) {
            // The string goes on; when both can, with the index that runs the longer.
            const bool takeOther = preferredCode < 0 || (otherCode >= 0 && otherRunsLonger);
            pixels[at] = static_cast<std::uint8_t>(takeOther ? other : preferred);
            prefix = takeOther ? otherCode : preferredCode;
            continue;
        }
        const int chosen = otherRunsLonger ? other : preferred;
        pixels[at] = static_cast<std::uint8_t>(chosen);
        dictionary.Add(prefix, chosen);
        prefix = chosen;
    }
}

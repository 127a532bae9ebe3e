// Choosing between two equally good-looking indices by the LZW dictionary.
#include "images/GIFCodeChoice.h"

#include "images/GIFEncoder.h"

namespace {

constexpr int kInterlaceStart[4] = {0, 4, 2, 1};
constexpr int kInterlaceStep[4] = {8, 8, 4, 2};

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

} // namespace

std::vector<TChosenIndices> ChooseIndicesForLZW(TLZWEncoder& encoder, const std::vector<std::uint8_t>& pixels,
                                                const std::vector<std::int16_t>& alternative, int width, int height,
                                                int bitsPerPixel, bool interlaced)
{
    if (width <= 0 || height <= 0)
        return {};
    // How many pixels from each on may take each of its two indices in a row,
    // counted back from the last pixel the encoder takes. The next pixel's
    // indices and runs are carried along rather than read back.
    std::vector<std::uint32_t> runOfHeld(pixels.size()), runOfOther(pixels.size());
    const std::vector<int> rows = RowOrder(height, interlaced);
    int nextHeld = -1, nextOther = -1;
    std::uint32_t nextHeldRun = 0, nextOtherRun = 0;
    auto runFrom = [&](int index) {
        return index == nextHeld ? nextHeldRun : index == nextOther ? nextOtherRun : 0;
    };
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        for (int x = width - 1; x >= 0; --x) {
            const size_t at = static_cast<size_t>(*row) * static_cast<size_t>(width) + static_cast<size_t>(x);
            const int held = pixels[at], other = alternative[at];
            const std::uint32_t heldRun = 1 + runFrom(held);
            const std::uint32_t otherRun = other >= 0 ? 1 + runFrom(other) : 0;
            runOfHeld[at] = heldRun;
            runOfOther[at] = otherRun;
            nextHeld = held;
            nextOther = other;
            nextHeldRun = heldRun;
            nextOtherRun = otherRun;
        }
    TLZWChoices choices;
    choices.alternative = alternative.data();
    choices.runOfHeld = runOfHeld.data();
    choices.runOfOther = runOfOther.data();
    std::vector<TChosenIndices> ways;
    for (bool longerRuns : {false, true}) {
        TChosenIndices way;
        way.pixels.resize(pixels.size());
        choices.longerRuns = longerRuns;
        choices.chosen = way.pixels.data();
        TMemoryByteStream data;
        const bool runsWouldDiffer =
            encoder.EncodeChoosing(data, bitsPerPixel, pixels.data(), choices, interlaced, width, height);
        way.bytes = static_cast<std::int64_t>(data.Data().size());
        ways.push_back(std::move(way));
        if (!longerRuns && !runsWouldDiffer)
            break;
    }
    return ways;
}

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

std::int64_t ChooseIndicesForLZW(TLZWEncoder& encoder, std::vector<std::uint8_t>& pixels,
                                 const std::vector<std::int16_t>& alternative, int width, int height, int bitsPerPixel,
                                 bool interlaced, TIndexChoice rule)
{
    if (width <= 0 || height <= 0)
        return 0;
    std::vector<std::uint8_t> chosen(pixels.size());
    TLZWChoices choices;
    choices.alternative = alternative.data();
    choices.chosen = chosen.data();
    // How many pixels from each on may take each of its two indices in a row,
    // counted back from the last pixel the encoder takes.
    std::vector<std::uint32_t> runOfHeld, runOfOther;
    if (rule == TIndexChoice::icLongerRun) {
        runOfHeld.assign(pixels.size(), 0);
        runOfOther.assign(pixels.size(), 0);
        const std::vector<int> rows = RowOrder(height, interlaced);
        size_t next = pixels.size(); // none yet
        auto runFrom = [&](int index) -> std::uint32_t {
            if (next == pixels.size())
                return 0;
            if (pixels[next] == index)
                return runOfHeld[next];
            return alternative[next] == index ? runOfOther[next] : 0;
        };
        for (auto row = rows.rbegin(); row != rows.rend(); ++row)
            for (int x = width - 1; x >= 0; --x) {
                const size_t at = static_cast<size_t>(*row) * static_cast<size_t>(width) + static_cast<size_t>(x);
                runOfHeld[at] = 1 + runFrom(pixels[at]);
                if (alternative[at] >= 0)
                    runOfOther[at] = 1 + runFrom(alternative[at]);
                next = at;
            }
        choices.runOfHeld = runOfHeld.data();
        choices.runOfOther = runOfOther.data();
    }
    TMemoryByteStream data;
    encoder.EncodeChoosing(data, bitsPerPixel, pixels.data(), choices, interlaced, width, height);
    pixels = std::move(chosen);
    return static_cast<std::int64_t>(data.Data().size());
}

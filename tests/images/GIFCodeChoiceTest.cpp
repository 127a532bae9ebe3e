// The LZW encoder choosing between two indices per pixel: what it writes is
// exactly the data of the indices it chose, and a second way of choosing is
// left out only when it would choose the same.
#include "images/GIFCodeChoice.h"
#include "images/GIFEncoder.h"
#include "images/GIFStream.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

struct TChoiceCase {
    int bits;
    int width, height;
    bool interlaced;
    unsigned seed;
};

// Runs of a few indices, so that strings repeat, and an alternative for about
// half the pixels, often the same for a stretch.
struct TPixels {
    std::vector<std::uint8_t> held;
    std::vector<std::int16_t> alternative;
};

TPixels MakePixels(const TChoiceCase& c)
{
    std::mt19937 random(c.seed);
    const int colours = 1 << c.bits;
    TPixels p;
    const size_t n = static_cast<size_t>(c.width) * static_cast<size_t>(c.height);
    while (p.held.size() < n) {
        const auto index = static_cast<std::uint8_t>(random() % std::min(colours, 6));
        const auto other = static_cast<std::int16_t>(random() % 2 ? -1 : static_cast<int>(random() % colours));
        for (size_t run = 1 + random() % 9; run > 0 && p.held.size() < n; --run) {
            p.held.push_back(index);
            p.alternative.push_back(other);
        }
    }
    return p;
}

std::string Encoded(TGIFEncoder& encoder, const TChoiceCase& c, const std::vector<std::uint8_t>& pixels)
{
    TMemoryByteStream data;
    encoder.Encode(data, c.bits, 1 << c.bits, pixels.data(), c.interlaced, c.width, c.height);
    return data.Data();
}

// Rows in the order the encoder takes them.
std::vector<int> RowsEncoded(const TChoiceCase& c)
{
    constexpr int kStart[4] = {0, 4, 2, 1};
    constexpr int kStep[4] = {8, 8, 4, 2};
    std::vector<int> rows;
    for (int pass = 0; pass < (c.interlaced ? 4 : 1); ++pass)
        for (int y = c.interlaced ? kStart[pass] : 0; y < c.height; y += c.interlaced ? kStep[pass] : 1)
            rows.push_back(y);
    return rows;
}

const TChoiceCase kCases[] = {
    {2, 40, 30, false, 1}, {3, 64, 9, true, 2},    {4, 100, 50, false, 3}, {4, 7, 13, true, 4},
    {5, 90, 70, false, 5}, {8, 300, 200, false, 6}, {8, 33, 21, true, 7},   {1, 16, 16, false, 8},
};

} // namespace

TEST(GIFCodeChoice, EachWayWritesExactlyTheDataOfTheIndicesItChose)
{
    TLZWEncoder chooser(nullptr), plain(nullptr);
    bool anyOther = false, bothWays = false;
    for (const TChoiceCase& c : kCases) {
        const TPixels p = MakePixels(c);
        const std::vector<TChosenIndices> ways =
            ChooseIndicesForLZW(chooser, p.held, p.alternative, c.width, c.height, c.bits, c.interlaced);
        ASSERT_FALSE(ways.empty()) << c.seed;
        bothWays = bothWays || ways.size() == 2;
        for (const TChosenIndices& way : ways) {
            ASSERT_EQ(way.pixels.size(), p.held.size());
            for (size_t i = 0; i < p.held.size(); ++i) {
                ASSERT_TRUE(way.pixels[i] == p.held[i] || way.pixels[i] == p.alternative[i])
                    << "case " << c.seed << " pixel " << i;
                anyOther = anyOther || way.pixels[i] != p.held[i];
            }
            EXPECT_EQ(way.bytes, static_cast<std::int64_t>(Encoded(plain, c, way.pixels).size())) << c.seed;
        }
    }
    EXPECT_TRUE(anyOther) << "no pixel ever took its alternative";
    EXPECT_TRUE(bothWays) << "no case chose a second way";
}

TEST(GIFCodeChoice, TheSecondWayIsLeftOutOnlyWhenItWouldChooseTheSame)
{
    TLZWEncoder chooser(nullptr);
    int leftOut = 0;
    for (const TChoiceCase& c : kCases)
        for (bool sparse : {false, true}) {
            TPixels p = MakePixels(c);
            // Few alternatives leave the runs little to decide.
            if (sparse)
                for (size_t i = 0; i < p.alternative.size(); ++i)
                    p.alternative[i] = i % 97 == 0 ? p.alternative[i] : std::int16_t{-1};
            const std::vector<TChosenIndices> ways =
                ChooseIndicesForLZW(chooser, p.held, p.alternative, c.width, c.height, c.bits, c.interlaced);
            if (ways.size() == 2)
                continue;
            ++leftOut;
            // The runs, counted back from the last pixel encoded, as their definition has them.
            std::vector<std::uint32_t> runOfHeld(p.held.size(), 0), runOfOther(p.held.size(), 0);
            std::vector<size_t> order;
            for (int y : RowsEncoded(c))
                for (int x = 0; x < c.width; ++x)
                    order.push_back(static_cast<size_t>(y) * static_cast<size_t>(c.width) + static_cast<size_t>(x));
            for (size_t k = order.size(); k-- > 0;) {
                auto canTake = [&](size_t at, int index) {
                    return p.held[at] == index || p.alternative[at] == index;
                };
                auto runFrom = [&](int index) -> std::uint32_t {
                    if (k + 1 == order.size() || !canTake(order[k + 1], index))
                        return 0;
                    return p.held[order[k + 1]] == index ? runOfHeld[order[k + 1]] : runOfOther[order[k + 1]];
                };
                runOfHeld[order[k]] = 1 + runFrom(p.held[order[k]]);
                if (p.alternative[order[k]] >= 0)
                    runOfOther[order[k]] = 1 + runFrom(p.alternative[order[k]]);
            }
            std::vector<std::uint8_t> byRuns(p.held.size());
            TLZWChoices choices;
            choices.alternative = p.alternative.data();
            choices.runOfHeld = runOfHeld.data();
            choices.runOfOther = runOfOther.data();
            choices.longerRuns = true;
            choices.chosen = byRuns.data();
            TMemoryByteStream data;
            chooser.EncodeChoosing(data, c.bits, p.held.data(), choices, c.interlaced, c.width, c.height);
            EXPECT_EQ(byRuns, ways.front().pixels) << "case " << c.seed << (sparse ? " sparse" : "");
        }
    EXPECT_GT(leftOut, 0) << "no case left the second way out";
}

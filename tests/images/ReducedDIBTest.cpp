// Reducing bitmaps to BMP files of a chosen depth by each of the six methods.
#include "images/BMPFile.h"
#include "images/GIFBitmap.h"
#include "images/GraphicException.h"
#include "images/ReducedDIB.h"
#include "tests/images/GIFTestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct Reduced {
    TGIFBitmap bitmap;
    int bitCount;
    std::uint32_t important;
    TGIFColor At(int x, int y) const { return bitmap.Palette.at(bitmap.ScanLine(y)[x]); }
    int Index(int x, int y) const { return bitmap.ScanLine(y)[x]; }
};

Reduced Reduce(const TGIFBitmap& bitmap, int bits, TMappingMethod method)
{
    const std::string bmp = BitmapToReducedDIB(bitmap, bits, method);
    Reduced r{TGIFBitmap{}, BMPBitCount(bmp), 0};
    r.important = static_cast<std::uint8_t>(bmp[50]) | static_cast<std::uint8_t>(bmp[51]) << 8;
    r.bitmap.LoadFromBMP(bmp);
    return r;
}

TEST(ReducedDIB, FrequencyKeepsUpTo256ColoursExactly)
{
    const TGIFBitmap bitmap = giftest::Make24(40, 30, [](int x, int y) {
        const int i = (x * 7 + y * 3) % 250;
        return TGIFColor{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i * 3)};
    });
    const Reduced r = Reduce(bitmap, 8, mmFrequency);
    EXPECT_EQ(r.bitCount, 8);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const int i = (x * 7 + y * 3) % 250;
            ASSERT_EQ(r.At(x, y), (TGIFColor{std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i * 3)}));
        }
}

TEST(ReducedDIB, FrequencyCoarsensBlueFirst)
{
    // 3000 colours with odd red values; dropping blue's low bit leaves 1500 of them.
    const TGIFBitmap bitmap = giftest::Make24(100, 30, [](int x, int y) {
        const int i = y * 100 + x;
        return TGIFColor{static_cast<std::uint8_t>(i / 256 * 16 + 1), 0, static_cast<std::uint8_t>(i % 256)};
    });
    const Reduced r = Reduce(bitmap, 8, mmFrequency);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x) {
            EXPECT_EQ(r.At(x, y).Blue % 2, 0);
            EXPECT_EQ(r.At(x, y).Red % 2, 1) << "red is untouched";
        }
}

TEST(ReducedDIB, SameDepthComesBackUnlessGrey)
{
    TGIFBitmap indexed(3, 2, TPixelFormat::pf8bit);
    indexed.Palette = {{200, 10, 10}, {0, 0, 0}};
    indexed.ScanLine(0)[1] = 1;
    EXPECT_EQ(BitmapToReducedDIB(indexed, 8, mmFrequency), BitmapToBMP(indexed));
    const Reduced grey = Reduce(indexed, 8, mmGrayscale);
    EXPECT_EQ(grey.Index(0, 0), (200 * 77 + 10 * 150 + 10 * 29) >> 8);
    EXPECT_EQ(grey.Index(1, 0), 0);
}

TEST(ReducedDIB, MedianCutMakesDarkBoxesBlack)
{
    const TGIFColor dark[] = {{0, 0, 0}, {15, 15, 15}, {10, 0, 5}, {5, 12, 3}, {200, 40, 90}};
    const TGIFBitmap bitmap = giftest::Make24(10, 10, [&](int x, int y) { return dark[(x + y) % 5]; });
    const Reduced r = Reduce(bitmap, 8, mmMedianCut);
    EXPECT_GE(r.important, 2u);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const TGIFColor c = dark[(x + y) % 5];
            if (c.Red <= 16 && c.Green <= 16 && c.Blue <= 16)
                EXPECT_EQ(r.At(x, y), (TGIFColor{0, 0, 0}));
            else
                EXPECT_EQ(r.At(x, y), (TGIFColor{207, 47, 95})) << "the mean of its one key";
        }
}

TEST(ReducedDIB, TruncationAndTripelIndices)
{
    const TGIFBitmap white = giftest::Make24(6, 3, [](int, int) { return TGIFColor{255, 255, 255}; });
    const Reduced tripel = Reduce(white, 8, mmTripel);
    const int ramps[] = {63, 127, 191};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(tripel.Index(x, y), ramps[(x + y) % 3]);

    struct Case {
        TMappingMethod method;
        TGIFColor colour;
        int index;
        std::uint32_t important;
    };
    const Case cases[] = {
        {mmTruncate784, {255, 255, 255}, 223, 224}, {mmTruncate784, {43, 36, 85}, (1 * 8 + 1) * 4 + 1, 224},
        {mmTruncate666, {255, 0, 51}, 5 * 36 + 1, 216}, {mmTruncate666, {26, 25, 0}, 1 * 36, 216},
    };
    for (const Case& c : cases) {
        const Reduced r = Reduce(giftest::Make24(1, 1, [&](int, int) { return c.colour; }), 8, c.method);
        EXPECT_EQ(r.Index(0, 0), c.index) << int(c.method);
        EXPECT_EQ(r.important, c.important);
    }
}

TEST(ReducedDIB, OtherDepths)
{
    const TGIFBitmap colours = giftest::Make24(5, 2, [](int x, int) { return TGIFColor{std::uint8_t(x * 60), 0, 0}; });
    const Reduced one = Reduce(colours, 1, mmFrequency);
    EXPECT_EQ(one.bitCount, 1);
    EXPECT_EQ(one.bitmap.PixelFormat(), TPixelFormat::pf1bit);
    const Reduced four = Reduce(colours, 4, mmFrequency);
    EXPECT_EQ(four.bitCount, 4);
    EXPECT_EQ(four.At(4, 0), (TGIFColor{255, 0, 0}));

    TGIFBitmap indexed(2, 1, TPixelFormat::pf8bit);
    indexed.Palette = {{1, 2, 3}, {4, 5, 6}};
    indexed.ScanLine(0)[1] = 1;
    const std::string wide = BitmapToReducedDIBForColors(indexed, 1000);
    EXPECT_EQ(BMPBitCount(wide), 24) << "a plain 24-bit image of a bitmap of another depth";
    TGIFBitmap back;
    back.LoadFromBMP(wide);
    EXPECT_EQ(back.ScanLine(0)[3], 6);
    EXPECT_EQ(back.ScanLine(0)[5], 4);

    EXPECT_THROW(BitmapToReducedDIB(TGIFBitmap{}, 8, mmFrequency), EInvalidGraphic);
    EXPECT_THROW(BitmapToReducedDIB(colours, 2, mmFrequency), EInvalidGraphicOperation);
}

} // namespace

// Colour look-ups, fixed and octree palettes, ditherers and reduce colours.
#include "images/GIFBitmap.h"
#include "images/GIFColorLookup.h"
#include "images/GIFDIB.h"
#include "images/GIFDither.h"
#include "images/GIFException.h"
#include "images/GIFPalettes.h"
#include "images/GIFQuantizer.h"
#include "images/GIFReduce.h"

#include "tests/images/GIFTestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TGIFColor Grey(int v)
{
    return TGIFColor{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v)};
}

} // namespace

TEST(GIFColorLookup, MonochromeThreshold)
{
    TMonochromeLookup mono;
    TGIFColor color;
    EXPECT_EQ(mono.Lookup(255, 255, 255, color), 1);
    EXPECT_EQ(color, Grey(255));
    // Find colours whose weighted sums are exactly 32512 and 32513.
    for (int target : {32512, 32513}) {
        bool found = false;
        for (int r = 0; r < 256 && !found; ++r)
            for (int g = 0; g < 256 && !found; ++g) {
                const int rest = target - 77 * r - 150 * g;
                if (rest >= 0 && rest % 29 == 0 && rest / 29 < 256) {
                    EXPECT_EQ(mono.Lookup(r, g, rest / 29, color), target == 32512 ? 0 : 1);
                    found = true;
                }
            }
        EXPECT_TRUE(found);
    }
}

TEST(GIFColorLookup, WebLevelsUseTheFloorOfTheShiftedChannel)
{
    TNetscapeColorLookup web;
    TGIFColor color;
    EXPECT_EQ(web.Lookup(47, 0, 0, color), 0);
    EXPECT_EQ(web.Lookup(48, 0, 0, color), 36);
    EXPECT_EQ(color, (TGIFColor{51, 0, 0}));
    EXPECT_EQ(web.Lookup(255, 255, 255, color), 215);
    EXPECT_EQ(WebPalette()[215], Grey(255));
    EXPECT_EQ(WebPalette()[36 * 2 + 6 * 3 + 4], (TGIFColor{102, 153, 204}));
    TGrayScaleLookup grey;
    EXPECT_EQ(grey.Lookup(100, 100, 100, color), (256 * 100) >> 8);
    EXPECT_EQ(grey.Lookup(255, 0, 0, color), (77 * 255) >> 8);
}

TEST(GIFColorLookup, NearestEntryWithLowerIndexOnTies)
{
    TFastColorLookup lookup({Grey(0), Grey(100), Grey(200), Grey(100)});
    TGIFColor color;
    EXPECT_EQ(lookup.Lookup(50, 50, 50, color), 0) << "0 and 100 are equally far";
    EXPECT_EQ(lookup.Lookup(100, 100, 100, color), 1) << "the first of two equal entries";
    EXPECT_EQ(lookup.Lookup(190, 180, 210, color), 2);
    EXPECT_EQ(color, Grey(200));
    EXPECT_EQ(TFastColorLookup(TGIFPalette{}).Colors(), 0);
}

TEST(GIFPalettes, FixedPalettes)
{
    EXPECT_EQ(WebPalette().size(), 216u);
    EXPECT_EQ(FourGrayPalette(), (TGIFPalette{Grey(0), Grey(0x80), Grey(0xC0), Grey(0xFF)}));
    EXPECT_EQ(GrayScalePalette()[77], Grey(77));
    EXPECT_EQ(SystemPalette20().size(), 20u);
    const TGIFPalette system = SystemPalette256();
    EXPECT_EQ(system[9], SystemPalette20()[9]);
    EXPECT_EQ(system[246], SystemPalette20()[10]);
    EXPECT_EQ(system[255], Grey(255));
    const TGIFPalette halftone = HalftonePalette();
    ASSERT_EQ(halftone.size(), 256u);
    std::set<int> distinct;
    for (const TGIFColor& c : halftone)
        distinct.insert(c.Red << 16 | c.Green << 8 | c.Blue);
    EXPECT_GT(distinct.size(), 230u);
}

TEST(GIFQuantizer, ExactColoursSurviveAndLeavesStayBounded)
{
    const TGIFColor colours[5] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {10, 20, 30}, {200, 200, 200}};
    TGIFBitmap five = giftest::Make24(10, 10, [&](int x, int y) { return colours[(x + y) % 5]; });
    TGIFPalette palette = CreateOptimizedPaletteFromBitmap(five, 8, 8, false);
    ASSERT_EQ(palette.size(), 8u);
    for (const TGIFColor& c : colours)
        EXPECT_NE(std::find(palette.begin(), palette.end(), c), palette.end());

    TColorQuantizer quantizer(4);
    for (int i = 0; i < 5000; ++i) {
        quantizer.AddColor(static_cast<std::uint8_t>(i * 7), static_cast<std::uint8_t>(i * 13),
                           static_cast<std::uint8_t>(i * 29));
        ASSERT_LE(quantizer.LeafCount(), 4);
    }
    // Folding runs deepest level first, so a small maximum may fold up to the root.
    EXPECT_LE(quantizer.ColorTable().size(), 4u);
    EXPECT_GE(quantizer.ColorTable().size(), 1u);

    const TGIFPalette withSystem = CreateOptimizedPaletteFromBitmap(five, 236, 8, true);
    ASSERT_EQ(withSystem.size(), 256u);
    EXPECT_EQ(withSystem[0], SystemPalette256()[0]);
    EXPECT_EQ(withSystem[255], SystemPalette256()[255]);
}

TEST(GIFReduce, ReductionChoosesThePalette)
{
    TGIFBitmap source = giftest::Make24(16, 8, [](int x, int y) {
        return TGIFColor{static_cast<std::uint8_t>(x * 16), static_cast<std::uint8_t>(y * 32), 90};
    });
    for (int dither : {0, 1, 6}) {
        auto copy = ReduceColors(source, rmNone, dither, {}, 8);
        EXPECT_EQ(copy->PixelFormat(), TPixelFormat::pf24bit);
        EXPECT_EQ(copy->ScanLine(3)[5 * 3 + 2], 80);
    }
    struct Case {
        int reduction;
        size_t colours;
    };
    for (Case c : {Case{rmWindows20, 20}, {rmWindows256, 256}, {rmWindowsGray, 4}, {rmMonochrome, 2},
                   {rmGrayScale, 256}, {rmNetscape, 216}, {rmQuantizeWindows, 256}}) {
        auto reduced = ReduceColors(source, c.reduction, 1, {}, 8);
        ASSERT_EQ(reduced->PixelFormat(), TPixelFormat::pf8bit) << c.reduction;
        EXPECT_EQ(reduced->Palette.size(), c.colours) << c.reduction;
        EXPECT_EQ(reduced->Width(), 16);
        EXPECT_EQ(reduced->Height(), 8);
    }
    EXPECT_EQ(ReduceColors(source, rmQuantize, 0, {}, 3)->Palette.size(), 8u);
    EXPECT_EQ(ReduceColors(source, rmQuantize, 0, {}, 0)->Palette.size(), 2u) << "bits are clamped to 1";
    EXPECT_EQ(ReduceColors(source, rmQuantize, 0, {}, 40)->Palette.size(), 256u) << "bits are clamped to 8";
    auto given = ReduceColors(source, rmPalette, 0, {Grey(0), Grey(255), {255, 0, 0}}, 8);
    EXPECT_EQ(given->Palette.size(), 3u);
    EXPECT_TRUE(ReduceColors(source, 10, 0, {}, 8)->Empty());
    EXPECT_TRUE(ReduceColors(source, rmNetscape, 7, {}, 8)->Empty());
    EXPECT_TRUE(ReduceColors(source, rmPalette, 0, {}, 8)->Empty());
}

TEST(GIFReduce, LargeResultsStartAtOneBitPerPixel)
{
    const TGIFBitmap large = giftest::Make24(1000, 501, [](int x, int) { return Grey(x % 256); });
    const TGIFBitmap limit = giftest::Make24(1000, 500, [](int x, int) { return Grey(x % 256); });
    auto givenUp = ReduceColors(large, rmNetscape, 7, {}, 8);
    EXPECT_TRUE(givenUp->Empty());
    EXPECT_EQ(givenUp->PixelFormat(), TPixelFormat::pf1bit) << "past 500,000 pixels";
    EXPECT_EQ(ReduceColors(large, rmPalette, 0, {}, 8)->PixelFormat(), TPixelFormat::pf1bit);
    EXPECT_EQ(ReduceColors(limit, rmNetscape, 7, {}, 8)->PixelFormat(), TPixelFormat::pf24bit)
        << "500,000 pixels exactly is not large";
    EXPECT_EQ(ReduceColors(large, 10, 0, {}, 8)->PixelFormat(), TPixelFormat::pf24bit)
        << "an unknown reduction gives up before";
    auto reduced = ReduceColors(large, rmMonochrome, 0, {}, 8);
    EXPECT_EQ(reduced->PixelFormat(), TPixelFormat::pf8bit) << "the reduced picture replaces the 1-bit start";
    EXPECT_EQ(reduced->ScanLine(500)[255], 1);
}

TEST(GIFReduce, RowsKeepTheirOrderAndNearestColour)
{
    // Top half red, bottom half blue: the bottom-up DIB must not turn it over.
    TGIFBitmap source = giftest::Make24(5, 4, [](int, int y) { return y < 2 ? TGIFColor{255, 0, 0} : TGIFColor{0, 0, 250}; });
    auto reduced = ReduceColors(source, rmNetscape, 0, {}, 8);
    EXPECT_EQ(reduced->ScanLine(0)[4], 180);
    EXPECT_EQ(reduced->ScanLine(3)[0], 4) << "250 is web level (250 + 3) div 51 = 4";
}

TEST(GIFReduce, ErrorDiffusionKeepsTheMeanBrightness)
{
    // A flat grey of 100 in black and white: plain look-up gives all black, every
    // error-diffusion kernel gives about 100/255 white pixels.
    TGIFBitmap grey = giftest::Make24(64, 64, [](int, int) { return Grey(100); });
    for (int mode = 0; mode <= 6; ++mode) {
        auto reduced = ReduceColors(grey, rmMonochrome, mode, {}, 8);
        int white = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                white += reduced->ScanLine(y)[x];
        const double share = white / 4096.0;
        if (mode == 0)
            EXPECT_EQ(white, 0);
        else
            EXPECT_NEAR(share, 100.0 / 255.0, 0.03) << "dither mode " << mode;
    }
}

TEST(GIFDither, SerpentineColumnsAndDirection)
{
    TGrayScaleLookup lookup;
    std::unique_ptr<TDitherEngine> engine = CreateDitherer(3, 4, lookup);
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(engine->Column(), 0);
    for (int i = 0; i < 4; ++i)
        engine->Dither(10, 10, 10);
    engine->NextLine();
    EXPECT_EQ(engine->Direction(), -1);
    EXPECT_EQ(engine->Column(), 3);
    EXPECT_EQ(CreateDitherer(7, 4, lookup), nullptr);
}

TEST(GIFDIB, WriterChecksAndBitmapFormats)
{
    TGIFBitmap target;
    try {
        TDIBWriter writer(target, TPixelFormat::pf1bit, 2, 2, {});
        ADD_FAILURE();
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Unsupported PixelFormat");
    }
    try {
        TDIBWriter writer(target, TPixelFormat::pf8bit, 0, 2, {});
        ADD_FAILURE();
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Invalid image dimensions");
    }
    TDIBWriter writer(target, TPixelFormat::pf8bit, 3, 2, {Grey(0), Grey(9)});
    EXPECT_EQ(writer.Info().size(), 40u + 1024u);
    EXPECT_THROW(writer.ScanLine(2), EInvalidGraphicOperation);
    writer.ScanLine(1)[2] = 1;
    writer.Finish();
    EXPECT_EQ(target.Palette, (TGIFPalette{Grey(0), Grey(9)}));
    EXPECT_EQ(target.ScanLine(1)[2], 1);
    EXPECT_EQ(target.ScanLine(0)[2], 0);

    target.SetPixelFormat(TPixelFormat::pf24bit);
    EXPECT_EQ(target.ScanLine(1)[2 * 3], 9);
    EXPECT_THROW(target.SetPixelFormat(TPixelFormat::pf8bit), GIFException);
    EXPECT_THROW(target.LoadFromBMP("BM not really"), EInvalidGraphic);
}

TEST(GIFReduce, PaletteBitmapsAreReadThroughTheirPalette)
{
    TGIFBitmap indexed(4, 2, TPixelFormat::pf8bit);
    indexed.Palette = {{10, 20, 30}, {200, 100, 50}};
    indexed.ScanLine(1)[3] = 1;
    const TGIFPalette palette = CreateOptimizedPaletteFromBitmap(indexed, 4, 8, false);
    EXPECT_NE(std::find(palette.begin(), palette.end(), TGIFColor{200, 100, 50}), palette.end());
    auto reduced = ReduceColors(indexed, rmQuantize, 0, {}, 2);
    EXPECT_EQ(indexed.PixelFormat(), TPixelFormat::pf8bit) << "the caller's bitmap keeps its format";
    EXPECT_EQ(reduced->Palette[reduced->ScanLine(1)[3]], (TGIFColor{200, 100, 50}));
    EXPECT_EQ(reduced->Palette[reduced->ScanLine(0)[0]], (TGIFColor{10, 20, 30}));

    TGIFBitmap mono(9, 1, TPixelFormat::pf1bit);
    mono.Palette = {{0, 0, 0}, {255, 255, 255}};
    mono.ScanLine(0)[1] = 0x80; // pixel 8
    auto fromMono = ReduceColors(mono, rmMonochrome, 0, {}, 8);
    EXPECT_EQ(fromMono->ScanLine(0)[8], 1);
    EXPECT_EQ(fromMono->ScanLine(0)[7], 0);
}

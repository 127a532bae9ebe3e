// The flat gauge: range clamping, the text shown and the bar's painted width.
#include "controls/flat/TFlatGaugeUnit.h"
#include "tests/controls/FlatTestSupport.h"

#include <gtest/gtest.h>

using namespace vx::test;

TEST(FlatGauge, Defaults)
{
    TFlatGauge g;
    EXPECT_EQ(g.size(), QSize(145, 25));
    EXPECT_EQ(g.MinValue(), 0);
    EXPECT_EQ(g.MaxValue(), 100);
    EXPECT_EQ(g.Progress(), 25);
    EXPECT_TRUE(g.ShowText());
    EXPECT_EQ(g.Color(), 0x00E0E9EFu);
    EXPECT_EQ(g.BorderColor(), 0x00555E66u);
    EXPECT_EQ(g.BarColor(), 0x00996633u);
    EXPECT_EQ(g.AdvColorBorder(), 0);
    EXPECT_EQ(g.PercentText(), "25 %");
}

TEST(FlatGauge, RangeClampsProgress)
{
    TFlatGauge g;
    g.SetMaxValue(20);
    EXPECT_EQ(g.Progress(), 20);
    g.SetMinValue(30);
    EXPECT_EQ(g.MinValue(), 20);
    g.SetMaxValue(-5);
    EXPECT_EQ(g.MaxValue(), 20);
    g.SetMinValue(10);
    g.SetProgress(500);
    EXPECT_EQ(g.Progress(), 20);
    g.SetProgress(-500);
    EXPECT_EQ(g.Progress(), 10);
    g.SetMaxValue(110);
    g.SetMinValue(15);
    EXPECT_EQ(g.Progress(), 15);
    EXPECT_EQ(g.PercentText(), "0 %");
    g.SetProgress(110);
    EXPECT_EQ(g.PercentText(), "100 %");
    g.SetProgress(61);
    EXPECT_EQ(g.PercentText(), "48 %");
}

TEST(FlatGauge, EmptyRangeShowsError)
{
    TFlatGauge g;
    g.SetMaxValue(0);
    EXPECT_EQ(g.Progress(), 0);
    EXPECT_EQ(g.PercentText(), "error");
    EXPECT_EQ(g.BarLength(141), 0);
    Render(g);
}

TEST(FlatGauge, ExtremeRangeDoesNotOverflow)
{
    TFlatGauge g;
    g.SetMinValue(-2000000000);
    g.SetMaxValue(2000000000);
    g.SetProgress(1000000000);
    EXPECT_EQ(g.PercentText(), "75 %");
    EXPECT_EQ(g.BarLength(100), 75);
}

TEST(FlatGauge, BarCoversItsShareOfTheDrawingArea)
{
    TFlatGauge g;
    g.SetShowText(false);
    QImage quarter = Render(g);
    EXPECT_EQ(PixelAt(quarter, 0, 0), 0x00555E66u);
    EXPECT_EQ(PixelAt(quarter, 144, 24), 0x00555E66u);
    // A quarter of the 141-pixel picture is 35 columns, drawn 2 narrower from x = 3.
    EXPECT_EQ(PixelAt(quarter, 3, 12), 0x00996633u);
    EXPECT_EQ(PixelAt(quarter, 35, 12), 0x00996633u);
    EXPECT_EQ(PixelAt(quarter, 36, 12), 0x00E0E9EFu);
    EXPECT_EQ(PixelAt(quarter, 100, 12), 0x00E0E9EFu);

    g.SetProgress(100);
    QImage full = Render(g);
    EXPECT_EQ(PixelAt(full, 141, 12), 0x00996633u);
    EXPECT_EQ(PixelAt(full, 142, 12), 0x00E0E9EFu);

    g.SetProgress(0);
    EXPECT_EQ(PixelAt(Render(g), 3, 12), 0x00E0E9EFu);
}

TEST(FlatGauge, TextIsInvertedOverTheBar)
{
    TFlatGauge g;
    g.SetProgress(100);
    QImage img = Render(g);
    bool background = false;
    for (int x = 40; x < 105 && !background; ++x)
        for (int y = 5; y < 20 && !background; ++y)
            background = PixelAt(img, x, y) == 0x00E0E9EFu;
    EXPECT_TRUE(background);

    g.SetProgress(0);
    img = Render(g);
    bool bar = false;
    for (int x = 40; x < 105 && !bar; ++x)
        for (int y = 5; y < 20 && !bar; ++y)
            bar = PixelAt(img, x, y) == 0x00996633u;
    EXPECT_TRUE(bar);
}

// Colour arithmetic, system-colour resolution, layout and disabled-glyph
// routines shared by the flat-look controls.
#include "controls/common/SysColors.h"
#include "controls/flat/FlatUtilitys.h"
#include "controls/flat/HSLUtils.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPalette>

#include <gtest/gtest.h>

using namespace vx;

TEST(HSLUtils, HueChannelCoversEverySegment)
{
    EXPECT_EQ(HueToRGB(0, 1, 0.1), 153);  // rising edge
    EXPECT_EQ(HueToRGB(0, 1, 0.3), 255);  // plateau
    EXPECT_EQ(HueToRGB(0, 1, 0.6), 102);  // falling edge
    EXPECT_EQ(HueToRGB(0, 1, 0.9), 0);    // floor
    EXPECT_EQ(HueToRGB(0, 1, -0.1), 0);   // wrapped to 0.9
    EXPECT_EQ(HueToRGB(0, 1, 1.2), 255);  // wrapped to 0.2
}

TEST(HSLUtils, PrimaryAndGreyConversions)
{
    EXPECT_EQ(HSLtoRGB(0, 1, 0.5), 0x0000FFu);
    EXPECT_EQ(HSLtoRGB(1.0 / 3.0, 1, 0.5), 0x00FF00u);
    EXPECT_EQ(HSLtoRGB(2.0 / 3.0, 1, 0.5), 0xFF0000u);
    EXPECT_EQ(HSLtoRGB(0.5, 0, 1), 0xFFFFFFu);
    // 127.5 rounds to the even neighbour.
    EXPECT_EQ(HSLRangeToRGB(0, 0, 120), 0x808080u);

    double h = -1, s = -1, l = -1;
    RGBtoHSL(0x808080, h, s, l);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(s, 0);
    EXPECT_NEAR(l, 128 / 255.0, 1e-9);

    RGBtoHSL(0x0000FF, h, s, l);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(s, 1);
    EXPECT_EQ(l, 0.5);
}

TEST(HSLUtils, RangeFormOfTheFlatBackground)
{
    int h, s, l;
    RGBtoHSLRange(clFlatBackground, h, s, l);
    EXPECT_EQ(h, 36);
    EXPECT_EQ(s, 48);
    EXPECT_EQ(l, 216);
}

TEST(HSLUtils, RoundTripKeepsColours)
{
    for (TColor c : {0x000000u, 0xFFFFFFu, 0x8396A0u, 0xE1EAEBu, 0xC5D6D9u, 0x555E66u, 0x996633u, 0x123456u, 0xFF00FFu}) {
        double h, s, l;
        RGBtoHSL(c, h, s, l);
        EXPECT_EQ(HSLtoRGB(h, s, l), c) << std::hex << c;
    }
}

TEST(HSLUtils, OutOfRangeInputStaysAColour)
{
    EXPECT_EQ(HSLtoRGB(0, 0, 1.5), 0xFFFFFFu);
    EXPECT_EQ(HSLtoRGB(0, 0, -0.5), 0u);
    EXPECT_EQ(HSLRangeToRGB(0, 0, 300) & 0xFF000000u, 0u);
}

TEST(CalcAdvancedColor, ZeroPercentKeepsTheOriginalUntouched)
{
    EXPECT_EQ(CalcAdvancedColor(clWhite, clBtnFace, 0, false), clBtnFace);
    EXPECT_EQ(CalcAdvancedColor(clBlack, 0x123456, 0, true), 0x123456u);
}

TEST(CalcAdvancedColor, LighteningStopsAtAHundredOfTheScale)
{
    struct Row {
        TColor parent;
        int percent;
        int lightness;
    };
    // Lightness of the parent + 10 + percent, but at most 100 of 240.
    for (const Row& row : {Row{clWhite, 10, 100}, Row{clFlatBackground, 10, 100}, Row{clBlack, 10, 20}, Row{0x404040, 30, 100}}) {
        int h, s, l;
        RGBtoHSLRange(CalcAdvancedColor(row.parent, clBlack, row.percent, false), h, s, l);
        EXPECT_EQ(l, row.lightness) << std::hex << row.parent;
    }
    EXPECT_EQ(CalcAdvancedColor(clWhite, clBlack, 10, false), 0x6A6A6Au);
}

TEST(CalcAdvancedColor, DarkeningBelowZeroGivesBlackAndAboveTheTopStaysWhite)
{
    EXPECT_EQ(CalcAdvancedColor(clMaroon, clWhite, 100, true), 0u);
    EXPECT_EQ(CalcAdvancedColor(clWhite, clBlack, 5, true), 0xFFFFFFu);
    // 240 + 10 - 60 = 190 of 240: a light grey.
    EXPECT_EQ(CalcAdvancedColor(clWhite, clBlack, 60, true), 0xCACACAu);
}

TEST(CalcAdvancedColor, SystemParentColourIsResolvedFirst)
{
    QColor face = QApplication::palette().color(QPalette::Active, QPalette::Button);
    EXPECT_EQ(CalcAdvancedColor(clBtnFace, 0, 30, true), CalcAdvancedColor(FromQColor(face), 0, 30, true));
}

TEST(SysColors, ResolvesThroughTheApplicationPalette)
{
    EXPECT_EQ(ColorToRGB(clRed), clRed);
    EXPECT_EQ(ColorToRGB(0x02123456), 0x123456u);
    EXPECT_EQ(ColorToRGB(clHighlight), FromQColor(QApplication::palette().color(QPalette::Active, QPalette::Highlight)));
    EXPECT_EQ(ColorToRGB(clWindow), FromQColor(QApplication::palette().color(QPalette::Active, QPalette::Base)));
    EXPECT_EQ(ColorToRGB(0x800000FF), clBlack);
    QColor c = ToQColor(0x00336699);
    EXPECT_EQ(c.red(), 0x99);
    EXPECT_EQ(c.green(), 0x66);
    EXPECT_EQ(c.blue(), 0x33);
}

TEST(FlatUtilitys, RectInRectMeansIntersecting)
{
    EXPECT_TRUE(RectInRect(WinRect(0, 0, 10, 10), WinRect(9, 9, 20, 20)));
    EXPECT_FALSE(RectInRect(WinRect(0, 0, 10, 10), WinRect(10, 0, 20, 10)));
}

TEST(FlatUtilitys, FontHeightAddsAnEighth)
{
    QFont f = QApplication::font();
    f.setPixelSize(24);
    int h = QFontMetrics(f).height();
    EXPECT_EQ(GetFontHeight(f), (h * 9 + 4) / 8);
}

class ButtonLayout : public ::testing::Test {
protected:
    QFontMetrics fm{QApplication::font()};
    QImage glyph16{16, 16, QImage::Format_RGB32};
    QPoint glyph;
    QRect text;
};

TEST_F(ButtonLayout, NothingToPlaceCentres)
{
    CalcButtonLayout(fm, QRect(0, 0, 25, 25), QPoint(), "", TButtonLayout::blGlyphTop, -1, 4, glyph, text, 1, QImage());
    EXPECT_EQ(glyph, QPoint(13, 13));
    EXPECT_EQ(text, QRect(13, 13, 0, 0));
}

TEST_F(ButtonLayout, GlyphAloneIsCentredAndPressShiftsIt)
{
    CalcButtonLayout(fm, QRect(0, 0, 25, 25), QPoint(1, 1), "", TButtonLayout::blGlyphLeft, -1, 4, glyph, text, 1, glyph16);
    EXPECT_EQ(glyph, QPoint(6, 6));
}

TEST_F(ButtonLayout, GlyphLeftCentresGlyphSpacingAndText)
{
    const int tw = fm.boundingRect(QRect(0, 0, 100, 0), Qt::TextSingleLine, "OK").width();
    CalcButtonLayout(fm, QRect(0, 0, 100, 25), QPoint(), "&OK", TButtonLayout::blGlyphLeft, -1, 4, glyph, text, 1, glyph16);
    const int margin = (100 - (16 + 4 + tw) + 1) / 2;
    EXPECT_EQ(glyph, QPoint(margin, 5));
    EXPECT_EQ(text.left(), margin + 16 + 4);
    EXPECT_EQ(text.width(), tw);
}

TEST_F(ButtonLayout, GlyphRightWithMarginSpreadsTheSpacing)
{
    const int tw = fm.boundingRect(QRect(0, 0, 100, 0), Qt::TextSingleLine, "Go").width();
    CalcButtonLayout(fm, QRect(0, 0, 100, 25), QPoint(), "Go", TButtonLayout::blGlyphRight, 2, -1, glyph, text, 1, glyph16);
    EXPECT_EQ(glyph.x(), 100 - 2 - 16);
    const int spacing = (100 - (2 + 16) - tw) / 2;
    EXPECT_EQ(text.left(), glyph.x() - spacing - tw);
}

TEST_F(ButtonLayout, BothFreeSplitIntoThirds)
{
    const int tw = fm.boundingRect(QRect(0, 0, 100, 0), Qt::TextSingleLine, "Go").width();
    CalcButtonLayout(fm, QRect(0, 0, 100, 25), QPoint(), "Go", TButtonLayout::blGlyphLeft, -1, -1, glyph, text, 1, glyph16);
    const int margin = (100 - (16 + tw)) / 3;
    EXPECT_EQ(glyph.x(), margin);
    EXPECT_EQ(text.left(), margin + 16 + margin);
}

TEST_F(ButtonLayout, VerticalLayoutsWorkOnHeightsAndImageWidth)
{
    QImage strip(64, 16, QImage::Format_RGB32);
    const int th = fm.height();
    CalcButtonLayout(fm, QRect(10, 20, 40, 60), QPoint(), "Go", TButtonLayout::blGlyphBottom, 3, 4, glyph, text, 4, strip);
    EXPECT_EQ(glyph, QPoint(10 + (40 - 16 + 1) / 2, 20 + 60 - 3 - 16));
    EXPECT_EQ(text.top(), glyph.y() - 4 - th);
}

TEST(FlatUtilitys, DisabledBitmapEmbossesTheForm)
{
    QImage src(4, 4, QImage::Format_RGB32);
    src.fill(Qt::black);
    src.setPixel(1, 1, qRgb(255, 0, 0));
    QImage out = CreateDisabledBitmap(src, clBlack, 0x00C0C0C0, true, 0x00808080, 0x00FFFFFF);
    EXPECT_EQ(out.size(), src.size());
    EXPECT_EQ(out.pixel(1, 1) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(out.pixel(2, 2) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(out.pixel(0, 0) & 0xFFFFFF, 0xC0C0C0u);
    EXPECT_EQ(out.pixel(3, 3) & 0xFFFFFF, 0xC0C0C0u);

    QImage plain = CreateDisabledBitmap(src, clBlack, 0x00C0C0C0, false, 0x00808080, 0x00FFFFFF);
    EXPECT_EQ(plain.pixel(2, 2) & 0xFFFFFF, 0xC0C0C0u);
}

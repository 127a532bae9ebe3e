// The speed button of the extended controls: glyph cells and their cache,
// the inactive grey mapping, layout, states, groups and repaint by style.
#include "controls/SysColors.h"
#include "controls/rx/RXCtrls.h"
#include "tests/controls/FlatTestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>

#include <gtest/gtest.h>

#include <memory>

using namespace vx;
using namespace vx::test;

namespace {

QImage Strip(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(0, 128, 0));
    if (height > 0)
        image.setPixel(0, height - 1, qRgb(255, 0, 255));
    return image;
}

struct RxWindow {
    QWidget window;
    TRxSpeedButton* b[2];
    int clicks[2] = {0, 0};

    RxWindow()
    {
        window.resize(100, 50);
        for (int i = 0; i < 2; ++i) {
            b[i] = new TRxSpeedButton(&window);
            b[i]->move(30 * i, 0);
            b[i]->OnClick = [this, i](QObject*) { ++clicks[i]; };
        }
        Activate(window);
    }
};

} // namespace

TEST(RxButtonGlyph, CellCountFromTheBitmap)
{
    EXPECT_EQ(GlyphCellCount(Strip(64, 16), 5), 4);
    EXPECT_EQ(GlyphCellCount(Strip(80, 16), 5), 5);
    EXPECT_EQ(GlyphCellCount(Strip(112, 16), 5), 1);
    EXPECT_EQ(GlyphCellCount(Strip(50, 16), 5), 1);
    EXPECT_EQ(GlyphCellCount(QImage(), 5), 0);
    EXPECT_EQ(GlyphCellCount(QImage(16, 0, QImage::Format_RGB32), 5), 0);
}

TEST(RxButtonGlyph, CellShownPerState)
{
    // Down with fewer than three cells shows the up cell.
    EXPECT_EQ(GlyphCellIndex(rbsDown, 2), 0);
    EXPECT_EQ(GlyphCellIndex(rbsDown, 3), 2);
    EXPECT_EQ(GlyphCellIndex(rbsDisabled, 2), 1);
    EXPECT_EQ(GlyphCellIndex(rbsDisabled, 1), 0);
    EXPECT_EQ(GlyphCellIndex(rbsExclusive, 3), 0);
    EXPECT_EQ(GlyphCellIndex(rbsExclusive, 4), 3);
    EXPECT_EQ(GlyphCellIndex(rbsInactive, 4), 0);
    EXPECT_EQ(GlyphCellIndex(rbsInactive, 5), 4);
}

TEST(RxButtonGlyph, ZeroHeightMeansNoGlyph)
{
    TRxButtonGlyph glyph;
    glyph.SetGlyph(QImage(16, 0, QImage::Format_RGB32));
    EXPECT_TRUE(glyph.Glyph().isNull());
    EXPECT_EQ(glyph.GlyphSize(), QSize(0, 0));
    EXPECT_TRUE(glyph.GlyphFor(rbsUp).isNull());
    glyph.SetGlyph(Strip(50, 16));
    EXPECT_EQ(glyph.NumGlyphs(), 1);
    EXPECT_EQ(glyph.GlyphSize(), QSize(50, 16));
}

TEST(RxButtonGlyph, StatesAreRenderedOnceAndShareTheCache)
{
    {
        TRxButtonGlyph a, b;
        QImage strip = Strip(32, 16);
        for (int x = 16; x < 32; ++x)
            for (int y = 0; y < 15; ++y)
                strip.setPixel(x, y, qRgb(0, 0, 255));
        a.SetGlyph(strip);
        b.SetGlyph(Strip(16, 16));
        EXPECT_EQ(a.NumGlyphs(), 2);
        EXPECT_EQ(a.TransparentColor() & 0xFFFFFF, 0xFF00FFu);

        QImage down = a.GlyphFor(rbsDown);
        EXPECT_TRUE(a.Cached(rbsDown));
        EXPECT_EQ(down.pixel(5, 5) & 0xFFFFFF, 0x008000u);
        EXPECT_EQ(qAlpha(down.pixel(0, 15)), 0);
        EXPECT_EQ(a.GlyphFor(rbsDisabled).pixel(5, 5) & 0xFFFFFF, 0x0000FFu);

        b.GlyphFor(rbsUp);
        ASSERT_NE(TGlyphCache::Instance(), nullptr);
        EXPECT_EQ(TGlyphCache::Instance()->GetList(16, 16)->Count(), 3);
        a.Invalidate();
        EXPECT_FALSE(a.Cached(rbsDown));
        EXPECT_EQ(TGlyphCache::Instance()->GetList(16, 16)->Count(), 1);
    }
    EXPECT_EQ(TGlyphCache::Instance(), nullptr);
}

TEST(RxButtonGlyph, InactiveCellIsGrey)
{
    QImage cell(2, 1, QImage::Format_RGB32);
    cell.setPixel(0, 0, qRgb(200, 100, 50));
    cell.setPixel(1, 0, qRgb(255, 0, 255));
    QImage grey = GrayedGlyph(cell, qRgb(255, 0, 255));
    const int level = (77 * 200 + 150 * 100 + 29 * 50) / 256;
    EXPECT_EQ(grey.pixel(0, 0) & 0xFFFFFF, static_cast<QRgb>(level * 0x010101));
    EXPECT_EQ(grey.pixel(1, 0) & 0xFFFFFF, 0xFF00FFu);
}

TEST(RxButtonGlyph, LayoutCentresAndPlacesTheDropDownMark)
{
    TRxButtonGlyph glyph;
    glyph.SetGlyph(Strip(16, 16));
    QFontMetrics fm(QApplication::font());
    QPoint pos;
    QRect text;
    QString shown;
    glyph.CalcLayout(fm, QRect(0, 0, 25, 25), QPoint(1, 1), "", TRxButtonLayout::blGlyphTop, -1, 1, false, pos, text,
                     shown);
    // Margin (25 - 16 - 1 - 0) / 2 = 4, centred across: (25 - 16 + 1) / 2 = 5.
    EXPECT_EQ(pos, QPoint(6, 5));

    glyph.CalcLayout(fm, QRect(0, 0, 80, 25), QPoint(), "", TRxButtonLayout::blGlyphTop, -1, -1, true, pos, text,
                     shown);
    // The mark widens the glyph by 6.
    EXPECT_EQ(pos.x(), (80 - 22 + 1) / 2);

    glyph.CalcLayout(fm, QRect(0, 0, 40, 25), QPoint(), "A very long caption", TRxButtonLayout::blGlyphLeft, 2, 1,
                     false, pos, text, shown);
    EXPECT_TRUE(shown.endsWith("..."));
    EXPECT_LT(shown.size(), 19);
}

TEST(RxSpeedButton, ClickRepeatAndRelease)
{
    RxWindow w;
    TRxSpeedButton& b = *w.b[0];
    EXPECT_EQ(b.size(), QSize(25, 25));
    EXPECT_EQ(b.Spacing(), 1);
    MousePress(b, QPoint(5, 5));
    EXPECT_EQ(b.State(), rbsDown);
    MouseMove(b, QPoint(60, 5), true);
    EXPECT_EQ(b.State(), rbsUp);
    MouseRelease(b, QPoint(60, 5));
    EXPECT_EQ(w.clicks[0], 0);
    Click(b, QPoint(24, 24));
    EXPECT_EQ(w.clicks[0], 1);
    Click(b, QPoint(5, 25));
    EXPECT_EQ(w.clicks[0], 1);
    b.ButtonClick();
    EXPECT_EQ(w.clicks[0], 2);
    EXPECT_EQ(b.State(), rbsUp);
}

TEST(RxSpeedButton, GroupsReleaseEachOther)
{
    RxWindow w;
    w.b[0]->SetDown(true);
    EXPECT_FALSE(w.b[0]->Down());
    for (TRxSpeedButton* b : w.b)
        b->SetGroupIndex(4);
    Click(*w.b[0], QPoint(5, 5));
    EXPECT_TRUE(w.b[0]->Down());
    Click(*w.b[0], QPoint(5, 5));
    EXPECT_TRUE(w.b[0]->Down());
    Click(*w.b[1], QPoint(5, 5));
    EXPECT_FALSE(w.b[0]->Down());
    EXPECT_TRUE(w.b[1]->Down());
    w.b[0]->SetAllowAllUp(true);
    EXPECT_TRUE(w.b[1]->AllowAllUp());
    w.b[1]->ButtonClick();
    EXPECT_FALSE(w.b[1]->Down());
}

TEST(RxSpeedButton, RepeatTimerExistsOnlyWhileAllowed)
{
    RxWindow w;
    TRxSpeedButton& b = *w.b[0];
    b.SetAllowTimer(true);
    MousePress(b, QPoint(5, 5));
    MouseRelease(b, QPoint(5, 5));
    EXPECT_EQ(w.clicks[0], 1);
    b.SetAllowTimer(false);
    EXPECT_FALSE(b.AllowTimer());
}

TEST(RxSpeedButton, FramesByStyleAndFlatness)
{
    RxWindow w;
    TRxSpeedButton& b = *w.b[0];
    QImage up = Render(b);
    EXPECT_EQ(PixelAt(up, 0, 0), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(PixelAt(up, 24, 24), ColorToRGB(clWindowFrame));
    EXPECT_EQ(PixelAt(up, 23, 23), ColorToRGB(clBtnShadow));

    b.SetStyle(TRxButtonStyle::bsWin31);
    QImage old = Render(b);
    EXPECT_EQ(PixelAt(old, 0, 0), ColorToRGB(clWindowFrame));
    EXPECT_EQ(PixelAt(old, 1, 1), ColorToRGB(clBtnHighlight));

    b.SetFlat(true);
    QImage flat = Render(b);
    EXPECT_EQ(PixelAt(flat, 0, 0), ColorToRGB(clBtnFace));
    EXPECT_EQ(PixelAt(flat, 24, 24), ColorToRGB(clBtnFace));

    b.SetStyle(TRxButtonStyle::bsNew);
    b.SetFlat(false);
    MousePress(b, QPoint(5, 5));
    QImage pressed = Render(b);
    EXPECT_EQ(PixelAt(pressed, 0, 0), ColorToRGB(clWindowFrame));
    EXPECT_EQ(PixelAt(pressed, 1, 1), ColorToRGB(clBtnShadow));
    MouseRelease(b, QPoint(5, 5));
}

TEST(RxSpeedButton, MouseEnterAndLeaveEvents)
{
    RxWindow w;
    TRxSpeedButton& b = *w.b[0];
    int enters = 0, leaves = 0;
    b.OnMouseEnter = [&](QObject*) { ++enters; };
    b.OnMouseLeave = [&](QObject*) { ++leaves; };
    MouseEnter(b);
    EXPECT_TRUE(b.MouseInControl());
    MousePress(b, QPoint(5, 5));
    MouseLeave(b);
    EXPECT_EQ(leaves, 0);
    MouseRelease(b, QPoint(50, 50));
    MouseLeave(b);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(leaves, 1);
}

TEST(RxSpeedButton, ModalResultEndsTheDialog)
{
    QDialog dialog;
    auto* b = new TRxSpeedButton(&dialog);
    b->SetModalResult(1);
    dialog.show();
    b->Click();
    EXPECT_EQ(dialog.result(), 1);
}

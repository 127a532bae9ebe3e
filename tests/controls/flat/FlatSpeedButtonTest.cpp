// The flat speed button: clicks and state changes, groups and the down
// state, glyph counts, the dialog result, and the frame and face by state.
#include "controls/common/SysColors.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "tests/controls/FlatTestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QMouseEvent>

#include <gtest/gtest.h>

using namespace vx;
using namespace vx::test;

namespace {

constexpr TColor kFace = 0x00D0D0D0;

struct ButtonWindow {
    QWidget window;
    TFlatSpeedButton* b[3];
    int clicks[3] = {0, 0, 0};

    ButtonWindow()
    {
        QPalette pal = window.palette();
        pal.setColor(QPalette::Window, ToQColor(kFace));
        window.setPalette(pal);
        window.resize(200, 100);
        for (int i = 0; i < 3; ++i) {
            b[i] = new TFlatSpeedButton(&window);
            b[i]->move(30 * i, 0);
            b[i]->OnClick = [this, i](QObject*) { ++clicks[i]; };
        }
        Activate(window);
    }

    void Group(int index)
    {
        for (TFlatSpeedButton* button : b)
            button->SetGroupIndex(index);
    }
};

} // namespace

TEST(FlatSpeedButton, Defaults)
{
    ButtonWindow w;
    TFlatSpeedButton& b = *w.b[0];
    EXPECT_EQ(b.size(), QSize(25, 25));
    EXPECT_EQ(b.ColorFocused(), 0x00E1EAEBu);
    EXPECT_EQ(b.ColorDown(), 0x00C5D6D9u);
    EXPECT_EQ(b.ColorBorder(), 0x008396A0u);
    EXPECT_EQ(b.ColorHighLight(), 0x00FFFFFFu);
    EXPECT_EQ(b.ColorShadow(), 0u);
    EXPECT_EQ(b.Color(), kFace);
    EXPECT_EQ(b.Layout(), TButtonLayout::blGlyphTop);
    EXPECT_EQ(b.Margin(), -1);
    EXPECT_EQ(b.Spacing(), 4);
    EXPECT_EQ(b.NumGlyphs(), 1);
    EXPECT_EQ(b.State(), bsUp);
}

TEST(FlatSpeedButton, ClickInsideAndReleaseOutside)
{
    ButtonWindow w;
    TFlatSpeedButton& b = *w.b[0];
    MousePress(b, QPoint(5, 5));
    EXPECT_EQ(b.State(), bsDown);
    MouseMove(b, QPoint(40, 5));
    EXPECT_EQ(b.State(), bsUp);
    MouseMove(b, QPoint(5, 5));
    EXPECT_EQ(b.State(), bsDown);
    MouseRelease(b, QPoint(5, 5));
    EXPECT_EQ(b.State(), bsUp);
    EXPECT_EQ(w.clicks[0], 1);

    MousePress(b, QPoint(5, 5));
    MouseRelease(b, QPoint(60, 60));
    EXPECT_EQ(b.State(), bsUp);
    EXPECT_EQ(w.clicks[0], 1);
}

TEST(FlatSpeedButton, UngroupedButtonNeverStaysDown)
{
    ButtonWindow w;
    w.b[0]->SetDown(true);
    EXPECT_FALSE(w.b[0]->Down());
    EXPECT_EQ(w.b[0]->State(), bsUp);
}

TEST(FlatSpeedButton, GroupKeepsOneDown)
{
    ButtonWindow w;
    w.Group(1);
    w.b[0]->SetDown(true);
    EXPECT_TRUE(w.b[0]->Down());
    EXPECT_EQ(w.b[0]->State(), bsExclusive);
    w.b[1]->SetDown(true);
    EXPECT_FALSE(w.b[0]->Down());
    EXPECT_EQ(w.b[0]->State(), bsUp);
    EXPECT_TRUE(w.b[1]->Down());

    // Without AllowAllUp the down button cannot be released directly.
    w.b[1]->SetDown(false);
    EXPECT_TRUE(w.b[1]->Down());

    // AllowAllUp spreads through the group.
    w.b[2]->SetAllowAllUp(true);
    EXPECT_TRUE(w.b[0]->AllowAllUp());
    EXPECT_TRUE(w.b[1]->AllowAllUp());
    w.b[1]->SetDown(false);
    EXPECT_FALSE(w.b[1]->Down());
    EXPECT_EQ(w.b[1]->State(), bsUp);
}

TEST(FlatSpeedButton, OtherGroupsAreUntouched)
{
    ButtonWindow w;
    w.b[0]->SetGroupIndex(1);
    w.b[1]->SetGroupIndex(2);
    w.b[0]->SetDown(true);
    w.b[1]->SetDown(true);
    EXPECT_TRUE(w.b[0]->Down());
    EXPECT_TRUE(w.b[1]->Down());
}

TEST(FlatSpeedButton, ClickingLatchesAGroupedButton)
{
    ButtonWindow w;
    w.Group(1);
    Click(*w.b[0], QPoint(5, 5));
    EXPECT_TRUE(w.b[0]->Down());
    EXPECT_EQ(w.clicks[0], 1);
    Click(*w.b[0], QPoint(5, 5));
    EXPECT_TRUE(w.b[0]->Down());
    EXPECT_EQ(w.clicks[0], 2);
    Click(*w.b[2], QPoint(5, 5));
    EXPECT_FALSE(w.b[0]->Down());
    EXPECT_TRUE(w.b[2]->Down());

    // Pressed and released outside, a down button shows as exclusive again.
    MousePress(*w.b[2], QPoint(5, 5));
    MouseRelease(*w.b[2], QPoint(80, 80));
    EXPECT_EQ(w.b[2]->State(), bsExclusive);
    EXPECT_TRUE(w.b[2]->Down());
}

TEST(FlatSpeedButton, DoubleClickFiresOnlyWhileDown)
{
    ButtonWindow w;
    int doubles = 0;
    w.b[0]->OnDblClick = [&](QObject*) { ++doubles; };
    DoubleClick(*w.b[0], QPoint(5, 5));
    EXPECT_EQ(doubles, 0);
    w.b[0]->SetGroupIndex(3);
    w.b[0]->SetDown(true);
    DoubleClick(*w.b[0], QPoint(5, 5));
    EXPECT_EQ(doubles, 1);
}

TEST(FlatSpeedButton, GlyphWidthSetsTheImageCount)
{
    ButtonWindow w;
    TFlatSpeedButton& b = *w.b[0];
    b.SetGlyph(QImage(64, 16, QImage::Format_RGB32));
    EXPECT_EQ(b.NumGlyphs(), 4);
    b.SetGlyph(QImage(80, 16, QImage::Format_RGB32));
    EXPECT_EQ(b.NumGlyphs(), 1);
    b.SetNumGlyphs(2);
    b.SetGlyph(QImage(50, 16, QImage::Format_RGB32));
    EXPECT_EQ(b.NumGlyphs(), 2);
    b.SetGlyph(QImage(50, 0, QImage::Format_RGB32));
    EXPECT_EQ(b.NumGlyphs(), 2);
    Render(b);
    b.SetMargin(-2);
    EXPECT_EQ(b.Margin(), -1);
    b.SetMargin(3);
    EXPECT_EQ(b.Margin(), 3);
}

TEST(FlatSpeedButton, ModalResultEndsTheDialog)
{
    QDialog dialog;
    auto* b = new TFlatSpeedButton(&dialog);
    b->SetModalResult(2);
    bool clicked = false;
    b->OnClick = [&](QObject*) { clicked = true; };
    dialog.show();
    b->Click();
    EXPECT_TRUE(clicked);
    EXPECT_EQ(dialog.result(), 2);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(FlatSpeedButton, TheRowJustBelowTheFaceStillCountsAsInside)
{
    ButtonWindow w;
    TFlatSpeedButton& b = *w.b[0];
    const int h = b.height();
    MousePress(b, QPoint(5, 5));
    MouseMove(b, QPoint(5, h));
    EXPECT_EQ(b.State(), bsDown) << "dragged to y = height";
    MouseRelease(b, QPoint(5, h));
    EXPECT_EQ(w.clicks[0], 1) << "released at y = height";
    MousePress(b, QPoint(5, 5));
    MouseRelease(b, QPoint(5, h + 1));
    EXPECT_EQ(w.clicks[0], 1) << "released below it";
    MousePress(b, QPoint(5, 5));
    MouseRelease(b, QPoint(b.width(), 5));
    EXPECT_EQ(w.clicks[0], 1) << "x = width is outside";
}

TEST(FlatSpeedButton, FrameAndFaceByState)
{
    ButtonWindow w;
    TFlatSpeedButton& b = *w.b[0];
    QImage up = Render(b);
    EXPECT_EQ(PixelAt(up, 0, 0), 0x008396A0u);
    EXPECT_EQ(PixelAt(up, 24, 24), 0x008396A0u);
    EXPECT_EQ(PixelAt(up, 12, 12), kFace);

    MouseMove(b, QPoint(5, 5));
    ASSERT_TRUE(b.MouseInControl());
    QImage hot = Render(b);
    EXPECT_EQ(PixelAt(hot, 0, 0), 0x00FFFFFFu);
    EXPECT_EQ(PixelAt(hot, 24, 24), 0u);
    EXPECT_EQ(PixelAt(hot, 12, 12), 0x00E1EAEBu);

    MousePress(b, QPoint(5, 5));
    QImage pressed = Render(b);
    EXPECT_EQ(PixelAt(pressed, 0, 0), 0u);
    EXPECT_EQ(PixelAt(pressed, 24, 24), 0x00FFFFFFu);
    EXPECT_EQ(PixelAt(pressed, 12, 12), 0x00C5D6D9u);
    MouseRelease(b, QPoint(5, 5));

    b.setEnabled(false);
    EXPECT_EQ(b.State(), bsDisabled);
    EXPECT_FALSE(b.MouseInControl());
    QImage disabled = Render(b);
    EXPECT_EQ(PixelAt(disabled, 0, 0), 0x008396A0u);
    EXPECT_EQ(PixelAt(disabled, 12, 12), kFace);
    b.setEnabled(true);
    EXPECT_EQ(b.State(), bsUp);
}

TEST(FlatSpeedButton, GlyphIsDrawnWithItsTransparentColour)
{
    ButtonWindow w;
    TFlatSpeedButton& b = *w.b[0];
    QImage glyph(16, 16, QImage::Format_RGB32);
    glyph.fill(qRgb(0, 160, 0));
    for (int x = 0; x < 16; ++x)
        glyph.setPixel(x, 15, qRgb(255, 0, 255));
    b.SetGlyph(glyph);
    QImage img = Render(b);
    // Centred: (25 - 16 + 1) / 2 = 5 on both axes.
    EXPECT_EQ(PixelAt(img, 8, 8), 0x0000A000u);
    EXPECT_EQ(PixelAt(img, 8, 5 + 15), kFace);

    // Two images: the second one stands for the disabled state.
    QImage two(32, 16, QImage::Format_RGB32);
    two.fill(qRgb(0, 160, 0));
    for (int y = 0; y < 16; ++y)
        for (int x = 16; x < 32; ++x)
            two.setPixel(x, y, qRgb(0, 0, 200));
    two.setPixel(0, 15, qRgb(255, 0, 255));
    b.SetGlyph(two);
    EXPECT_EQ(b.NumGlyphs(), 2);
    b.setEnabled(false);
    EXPECT_EQ(PixelAt(Render(b), 8, 8), 0x00C80000u);
}

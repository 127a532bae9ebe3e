// The shadow label: auto size, shadow by position and state, layout, the
// accelerator's focus control and mouse events; and the button picture.
#include "controls/common/SysColors.h"
#include "controls/display/RxLabel.h"
#include "tests/controls/FlatTestSupport.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPainter>
#include <QShortcutEvent>

#include <gtest/gtest.h>

using namespace vx;
using namespace vx::test;

TEST(RxLabel, DefaultsAndAutoSize)
{
    TRxLabel label;
    EXPECT_EQ(label.size(), QSize(65, 17));
    EXPECT_EQ(label.ShadowSize(), 1);
    EXPECT_EQ(label.ShadowPos(), TShadowPosition::spLeftTop);
    EXPECT_EQ(label.ShadowColor(), clBtnHighlight);
    const QFontMetrics fm(label.font());
    label.SetCaption("&");
    EXPECT_EQ(label.width(), fm.horizontalAdvance(' ') + 2);
    EXPECT_EQ(label.height(), fm.height() + 1);
    label.SetCaption("Loop &animation");
    EXPECT_EQ(label.width(), fm.boundingRect(QRect(0, 0, 0x7FFF, 0x7FFF), Qt::TextShowMnemonic, "Loop &animation").width() + 2);
    label.SetShadowSize(0);
    EXPECT_EQ(label.height(), fm.height());
}

TEST(RxLabel, RightAlignedAutoSizeKeepsTheRightEdge)
{
    QWidget parent;
    auto* label = new TRxLabel(&parent);
    label->setGeometry(100, 10, 65, 17);
    label->SetAlignment(TRxAlignment::taRightJustify);
    label->SetCaption("Wide caption text");
    EXPECT_EQ(label->x() + label->width(), 165);
}

TEST(RxLabel, ShadowOffsets)
{
    EXPECT_EQ(ShadowOffset(TShadowPosition::spLeftTop, 2), QPoint(-2, -2));
    EXPECT_EQ(ShadowOffset(TShadowPosition::spLeftBottom, 1), QPoint(-1, 1));
    EXPECT_EQ(ShadowOffset(TShadowPosition::spRightBottom, 3), QPoint(3, 3));
    EXPECT_EQ(ShadowOffset(TShadowPosition::spRightTop, 1), QPoint(1, -1));
}

TEST(RxLabel, DisabledLabelWithoutShadowStillShowsOne)
{
    QWidget parent;
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, QColor(10, 20, 30));
    parent.setPalette(pal);
    auto* label = new TRxLabel(&parent);
    QFont sharp = label->font();
    sharp.setStyleStrategy(QFont::NoAntialias);
    label->setFont(sharp);
    label->SetCaption("|||||");
    label->SetShadowSize(0);
    const QSize enabled = label->size();
    label->setEnabled(false);
    EXPECT_EQ(label->height(), enabled.height() + 1);
    QImage img = Render(*label);
    bool highlight = false;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            highlight |= PixelAt(img, x, y) == ColorToRGB(clBtnHighlight);
    EXPECT_TRUE(highlight);
    EXPECT_EQ(PixelAt(img, 0, 0), 0x001E140Au);
}

TEST(RxLabel, LayoutMovesTheTextDown)
{
    TRxLabel label;
    label.SetAutoSize(false);
    QFont sharp = label.font();
    sharp.setStyleStrategy(QFont::NoAntialias);
    label.setFont(sharp);
    label.resize(60, 60);
    label.SetShadowSize(0);
    label.SetCaption("HHH");
    label.SetColor(clWhite);
    auto firstInkRow = [&] {
        QImage img = Render(label);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (PixelAt(img, x, y) != clWhite)
                    return y;
        return -1;
    };
    const int top = firstInkRow();
    label.SetLayout(TTextLayout::tlBottom);
    const int bottom = firstInkRow();
    label.SetLayout(TTextLayout::tlCenter);
    const int centre = firstInkRow();
    EXPECT_LT(top, centre);
    EXPECT_LT(centre, bottom);
    EXPECT_EQ(bottom - top, 60 - label.TextExtent(58).height());
}

TEST(RxLabel, AcceleratorFocusesItsControl)
{
    QWidget window;
    auto* edit = new QLineEdit(&window);
    auto* other = new QLineEdit(&window);
    auto* label = new TRxLabel(&window);
    label->SetCaption("&Name");
    label->SetFocusControl(edit);
    Activate(window);
    other->setFocus();
    // Widget shortcut ids count down from -1: the label's grab was the one before this probe's.
    QWidget probe;
    const int labelId = probe.grabShortcut(QKeySequence("Ctrl+Shift+F12")) + 1;
    QShortcutEvent e(QKeySequence("Alt+N"), labelId);
    QApplication::sendEvent(label, &e);
    EXPECT_TRUE(edit->hasFocus());
}

TEST(RxLabel, MouseEvents)
{
    QWidget window;
    auto* label = new TRxLabel(&window);
    label->SetCaption("Loop");
    Activate(window);
    int enters = 0, leaves = 0, downs = 0, clicks = 0;
    label->OnMouseEnter = [&](QObject*) { ++enters; };
    label->OnMouseLeave = [&](QObject*) { ++leaves; };
    label->OnMouseDown = [&](QObject*) { ++downs; };
    label->OnClick = [&](QObject*) { ++clicks; };
    MouseEnter(*label);
    EXPECT_TRUE(label->MouseInControl());
    MousePress(*label, QPoint(2, 2));
    MouseLeave(*label);
    EXPECT_EQ(leaves, 0);
    MouseRelease(*label, QPoint(2, 2));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(downs, 1);
    MouseLeave(*label);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(leaves, 1);
}

TEST(ButtonImage, DrawsFaceFrameAndGlyph)
{
    TButtonImage image;
    EXPECT_EQ(image.ButtonSize(), QSize(24, 23));
    QImage glyph(16, 16, QImage::Format_RGB32);
    glyph.fill(qRgb(0, 0, 200));
    glyph.setPixel(0, 15, qRgb(255, 0, 255));
    image.SetGlyph(glyph);
    QImage canvas(30, 30, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter p(&canvas);
        image.Draw(p, QPoint(2, 3), rbsUp, QFont());
    }
    EXPECT_EQ(PixelAt(canvas, 2, 3), ColorToRGB(clBtnShadow));
    EXPECT_EQ(PixelAt(canvas, 3, 4), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(PixelAt(canvas, 25, 25), ColorToRGB(clWindowFrame));
    EXPECT_EQ(PixelAt(canvas, 14, 14), 0x00C80000u);
    EXPECT_EQ(PixelAt(canvas, 0, 0), clWhite);
}

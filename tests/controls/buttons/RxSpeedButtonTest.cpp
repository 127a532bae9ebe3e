// The speed button of the extended controls: glyph cells and their cache,
// the inactive grey mapping, layout, states, groups and repaint by style.
#include "controls/common/SysColors.h"
#include "controls/buttons/RXCtrls.h"
#include "controls/menus/PopupAlignment.h"
#include "tests/controls/FlatTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QIcon>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

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

// A picture with clear pixels and black lines: the lines stay in every state,
// only the clear pixels are transparent, and a half-clear edge meets the face.
TEST(RxButtonGlyph, ClearPixelsOfAnAlphaPictureAreTheTransparentOnes)
{
    QImage picture(3, 3, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    picture.setPixel(0, 0, qRgba(0, 0, 0, 255));
    picture.setPixel(1, 0, qRgba(0, 0, 0, 0));
    picture.setPixel(2, 0, qRgba(255, 0, 255, 255)); // the usual mask colour, used by the picture itself
    TRxButtonGlyph glyph;
    glyph.SetGlyph(picture);
    for (TRxButtonState state : {rbsUp, rbsInactive, rbsDown}) {
        const QImage shown = glyph.GlyphFor(state);
        ASSERT_EQ(shown.width(), 3) << state;
        EXPECT_EQ(qAlpha(shown.pixel(0, 0)), 255) << "the black line stays, state " << state;
        EXPECT_EQ(qAlpha(shown.pixel(1, 0)), 0) << "the clear pixel is transparent, state " << state;
        EXPECT_EQ(qAlpha(shown.pixel(2, 0)), 255) << "a picture's own magenta stays, state " << state;
    }
    EXPECT_EQ(glyph.GlyphFor(rbsUp).pixel(0, 0) & 0xFFFFFF, 0u);
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
    MouseMove(b, QPoint(60, 5));
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

namespace {

// Lets a test fire the repeat timer's ticks instead of waiting for them. Its
// own pause and interval are longer than any test, so the timer never ticks
// of itself while the mouse helpers run the event loop, however slowly.
class TickedButton : public TRxSpeedButton {
public:
    explicit TickedButton(QWidget* parent) : TRxSpeedButton(parent)
    {
        SetInitPause(kNeverMs);
        SetRepeatInterval(kNeverMs / 2);
    }
    using TRxSpeedButton::TimerExpired;
    static constexpr int kNeverMs = 600000;
};

} // namespace

TEST(RxSpeedButton, HoldingRepeatsClicksUntilRelease)
{
    RxWindow w;
    auto* b = new TickedButton(&w.window);
    b->show();
    b->move(60, 0);
    int clicks = 0;
    b->OnClick = [&](QObject*) { ++clicks; };
    b->SetAllowTimer(true);

    MousePress(*b, QPoint(5, 5));
    ASSERT_NE(b->RepeatTimer(), nullptr);
    EXPECT_TRUE(b->RepeatTimer()->isActive());
    EXPECT_EQ(b->RepeatTimer()->interval(), TickedButton::kNeverMs);
    EXPECT_EQ(clicks, 0);
    // The first tick ends the pause and clicks; later ticks come at RepeatInterval.
    b->TimerExpired();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b->RepeatTimer()->interval(), TickedButton::kNeverMs / 2);
    b->TimerExpired();
    b->TimerExpired();
    EXPECT_EQ(clicks, 3);

    // Dragged off the button it stops repeating, and repeats again when back on it.
    MouseMove(*b, QPoint(60, 5));
    b->TimerExpired();
    EXPECT_EQ(clicks, 3);
    MouseMove(*b, QPoint(5, 5));
    b->TimerExpired();
    EXPECT_EQ(clicks, 4);

    // The release clicks once more and stops the timer; stray ticks click nothing.
    MouseRelease(*b, QPoint(5, 5));
    EXPECT_EQ(clicks, 5);
    EXPECT_FALSE(b->RepeatTimer()->isActive());
    b->TimerExpired();
    EXPECT_EQ(clicks, 5);

    // A new press starts with the pause again.
    MousePress(*b, QPoint(5, 5));
    EXPECT_EQ(b->RepeatTimer()->interval(), TickedButton::kNeverMs);
    MouseRelease(*b, QPoint(5, 5));

    b->SetAllowTimer(false);
    EXPECT_EQ(b->RepeatTimer(), nullptr);
    MousePress(*b, QPoint(5, 5));
    EXPECT_EQ(b->RepeatTimer(), nullptr);
    MouseRelease(*b, QPoint(5, 5));
    EXPECT_EQ(clicks, 7);
}

TEST(RxSpeedButton, RepeatStopsWhenTheClickFails)
{
    RxWindow w;
    auto* b = new TickedButton(&w.window);
    b->show();
    b->SetAllowTimer(true);
    b->OnClick = [](QObject*) { throw std::runtime_error("click failed"); };
    MousePress(*b, QPoint(5, 5));
    EXPECT_THROW(b->TimerExpired(), std::runtime_error);
    EXPECT_FALSE(b->RepeatTimer()->isActive());
    b->OnClick = nullptr;
    MouseRelease(*b, QPoint(5, 5));
}

TEST(RxSpeedButton, KeyboardClickDoesNothingWhenTheMenuDropsDown)
{
    RxWindow w;
    QMenu menu;
    menu.addAction("Item");
    w.b[0]->SetDropDownMenu(&menu);
    QTimer::singleShot(0, &menu, &QMenu::close);
    w.b[0]->ButtonClick();
    EXPECT_EQ(w.clicks[0], 0);
    w.b[0]->SetDropDownMenu(nullptr);
    w.b[0]->ButtonClick();
    EXPECT_EQ(w.clicks[0], 1);
}

TEST(RxSpeedButton, DoubleClickOnADownButtonKeepsItDown)
{
    RxWindow w;
    TRxSpeedButton& b = *w.b[0];
    b.SetGroupIndex(1);
    b.SetAllowAllUp(true);
    int doubles = 0;
    b.OnDblClick = [&](QObject*) { ++doubles; };
    DoubleClick(b, QPoint(5, 5));
    EXPECT_EQ(doubles, 1);
    EXPECT_TRUE(b.Down());
    EXPECT_EQ(w.clicks[0], 1);
    // A button that never stays down fires no double click.
    w.b[1]->OnDblClick = [&](QObject*) { ++doubles; };
    DoubleClick(*w.b[1], QPoint(5, 5));
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(w.clicks[1], 1) << "the second press of a double click presses nothing";
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

namespace {

// A 16 x 16 icon: blue everywhere but a transparent top-left quarter.
QIcon BlueIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::blue);
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            image.setPixel(x, y, qRgba(0, 0, 0, 0));
    return QIcon(QPixmap::fromImage(image));
}

} // namespace

TEST(RxSpeedButtonAction, FollowsTheActionsStateAndTriggersIt)
{
    RxWindow w;
    TRxSpeedButton& b = *w.b[0];
    b.OnClick = nullptr;
    QAction action("&Open");
    action.setToolTip("Open a file");
    int triggered = 0;
    QObject::connect(&action, &QAction::triggered, [&] { ++triggered; });
    b.SetAction(&action);
    EXPECT_EQ(b.Action(), &action);
    EXPECT_EQ(b.Caption(), "&Open");
    EXPECT_EQ(b.toolTip(), "Open a file");
    EXPECT_TRUE(b.isEnabled());

    action.setEnabled(false);
    EXPECT_FALSE(b.isEnabled());
    action.setEnabled(true);
    action.setText("Save");
    EXPECT_EQ(b.Caption(), "Save");

    Click(b, QPoint(5, 5));
    EXPECT_EQ(triggered, 1);
    // An OnClick handler of its own takes the click instead.
    int own = 0;
    b.OnClick = [&](QObject*) { ++own; };
    Click(b, QPoint(5, 5));
    EXPECT_EQ(own, 1);
    EXPECT_EQ(triggered, 1);
    b.OnClick = nullptr;

    // Once unlinked, the action's changes no longer reach the button.
    b.SetAction(nullptr);
    action.setText("Other");
    EXPECT_EQ(b.Caption(), "Save");
    Click(b, QPoint(5, 5));
    EXPECT_EQ(triggered, 1);
}

TEST(RxSpeedButtonAction, CheckedSetsDownOnlyInAGroup)
{
    RxWindow w;
    QAction action("Bold");
    action.setCheckable(true);
    action.setChecked(true);
    w.b[1]->SetAction(&action);
    EXPECT_FALSE(w.b[1]->Down());

    w.b[0]->SetGroupIndex(2);
    w.b[1]->SetGroupIndex(2);
    w.b[1]->SetAllowAllUp(true);
    w.b[1]->SetAction(nullptr);
    w.b[1]->SetAction(&action);
    EXPECT_TRUE(w.b[1]->Down());
    action.setChecked(false);
    EXPECT_FALSE(w.b[1]->Down());

    // Clicking the button checks the action and keeps the button down with it.
    w.b[1]->OnClick = nullptr;
    Click(*w.b[1], QPoint(5, 5));
    EXPECT_TRUE(action.isChecked());
    EXPECT_TRUE(w.b[1]->Down());
}

TEST(RxSpeedButtonAction, IconBecomesTheGlyphOnFuchsia)
{
    RxWindow w;
    TRxSpeedButton& b = *w.b[0];
    QAction action(BlueIcon(), "Find");
    b.SetAction(&action);
    ASSERT_EQ(b.Glyph().size(), QSize(16, 16));
    EXPECT_EQ(b.Glyph().pixel(2, 2) & 0xFFFFFF, 0xFF00FFu);
    EXPECT_EQ(b.Glyph().pixel(12, 12) & 0xFFFFFF, 0x0000FFu);
    // Fuchsia is the transparent colour even though the bitmap's corner is blue.
    EXPECT_EQ(b.ButtonGlyph().TransparentColor() & 0xFFFFFF, 0xFF00FFu);
    const QImage up = b.ButtonGlyph().GlyphFor(rbsUp);
    EXPECT_EQ(qAlpha(up.pixel(2, 2)), 0);
    EXPECT_EQ(up.pixel(0, 15) & 0xFFFFFF, 0x0000FFu);

    // A button with a glyph of its own keeps it.
    TRxSpeedButton& other = *w.b[1];
    other.SetGlyph(Strip(16, 16));
    other.SetAction(&action);
    EXPECT_EQ(other.Glyph().pixel(12, 12) & 0xFFFFFF, 0x008000u);
}

TEST(RxSpeedButtonAction, DeletedActionLeavesTheButtonAlone)
{
    RxWindow w;
    auto action = std::make_unique<QAction>("Gone");
    w.b[0]->SetAction(action.get());
    action.reset();
    EXPECT_EQ(w.b[0]->Action(), nullptr);
    w.b[0]->OnClick = nullptr;
    Click(*w.b[0], QPoint(5, 5));
    EXPECT_EQ(w.b[0]->Caption(), "Gone");
}

TEST(RxSpeedButton, DropDownMenuOpensWhereItsAlignmentPutsIt)
{
    struct Row {
        TDropDownMenuPos position;
        TPopupAlignment alignment;
        QPoint point;      // in the button, for a 25 x 25 button
        int shiftByWidth;  // how much of the menu's width lies left of the point, in halves
    };
    const Row rows[] = {
        {TDropDownMenuPos::dmpBottom, paLeft, {-1, 25}, 0},   {TDropDownMenuPos::dmpBottom, paRight, {26, 25}, 2},
        {TDropDownMenuPos::dmpBottom, paCenter, {12, 25}, 1}, {TDropDownMenuPos::dmpRight, paLeft, {25, -1}, 0},
        {TDropDownMenuPos::dmpRight, paRight, {-1, -1}, 2},   {TDropDownMenuPos::dmpRight, paCenter, {12, 25}, 1},
    };
    QWidget window;
    // Room on the screen for the menu on every side of the button.
    window.setGeometry(100, 100, 500, 200);
    auto* button = new TRxSpeedButton(&window);
    button->setGeometry(240, 60, 25, 25);
    Activate(window);
    for (const Row& row : rows) {
        QMenu menu;
        menu.addAction("A wide enough item");
        SetPopupAlignment(menu, row.alignment);
        button->SetMenuPosition(row.position);
        button->SetDropDownMenu(&menu);
        QPoint opened(-1000, -1000);
        QObject::connect(&menu, &QMenu::aboutToShow, &menu, [&] {
            QTimer::singleShot(0, &menu, [&] {
                opened = menu.pos();
                menu.close();
            });
        });
        MousePress(*button, QPoint(5, 5));
        MouseRelease(*button, QPoint(5, 5));
        const QPoint expected = button->mapToGlobal(row.point) - QPoint(menu.sizeHint().width() * row.shiftByWidth / 2, 0);
        EXPECT_EQ(opened, expected) << int(row.position) << " " << row.alignment;
        button->SetDropDownMenu(nullptr);
    }
}

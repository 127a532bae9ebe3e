// The flat hint: placement by screen quadrant, size by wrapping, painting of
// strip and arrow, the look taken from the main form, and the show-hint event.
#include "controls/common/SysColors.h"
#include "controls/flat/TFlatHintUnit.h"
#include "tests/controls/FlatTestSupport.h"
#include "tests/controls/WaitFor.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>

#include <gtest/gtest.h>

using namespace vx;
using namespace vx::test;

namespace {

const QSize kScreen(1000, 800);
const QSize kHint(100, 40);

struct MainFormScope {
    explicit MainFormScope(QWidget* form) { TFlatHint::SetMainForm(form); }
    ~MainFormScope() { TFlatHint::SetMainForm(nullptr); }
};

} // namespace

TEST(FlatHintPlacement, QuadrantsDecideSideAndGap)
{
    THintPlacement p = CalcHintPlacement(QPoint(100, 100), kScreen, kHint);
    EXPECT_EQ(p.ArrowPos, apTopLeft);
    EXPECT_EQ(p.Bounds, QRect(112, 112, 100, 40));

    p = CalcHintPlacement(QPoint(900, 100), kScreen, kHint);
    EXPECT_EQ(p.ArrowPos, apTopRight);
    EXPECT_EQ(p.Bounds, QRect(795, 105, 100, 40));

    p = CalcHintPlacement(QPoint(100, 700), kScreen, kHint);
    EXPECT_EQ(p.ArrowPos, apBottomLeft);
    EXPECT_EQ(p.Bounds, QRect(105, 655, 100, 40));

    p = CalcHintPlacement(QPoint(900, 700), kScreen, kHint);
    EXPECT_EQ(p.ArrowPos, apBottomRight);
    EXPECT_EQ(p.Bounds, QRect(795, 655, 100, 40));

    // The dividing lines belong to the right and lower quadrants.
    EXPECT_EQ(CalcHintPlacement(QPoint(500, 399), kScreen, kHint).ArrowPos, apTopRight);
    EXPECT_EQ(CalcHintPlacement(QPoint(499, 400), kScreen, kHint).ArrowPos, apBottomLeft);
}

TEST(FlatHintPlacement, WrapsAtTheWidthLimit)
{
    QFont f = QApplication::font();
    const QFontMetrics fm(f);
    const QSize shortSize = CalcHintSize(f, 200, "Save");
    EXPECT_LE(shortSize.width(), fm.horizontalAdvance("Save") + 22 + 1);
    EXPECT_EQ(shortSize.height(), fm.height() + 6);

    const QString longText = "Saves every named document slot to its file without asking first";
    const QSize longSize = CalcHintSize(f, 200, longText);
    EXPECT_LE(longSize.width(), 200);
    EXPECT_GE(longSize.height(), 2 * fm.height() + 6);

    // An ampersand is text, not an accelerator mark.
    EXPECT_GT(CalcHintSize(f, 200, "A&B").width(), CalcHintSize(f, 200, "AB").width());
}

TEST(FlatHintWindow, PaintsInitialLookWithoutAMainFormComponent)
{
    MainFormScope scope(nullptr);
    TFlatHintWindow w;
    w.ActivateHintAt(QPoint(10, 10), "Open file");
    EXPECT_EQ(w.ArrowPos(), apTopLeft);
    EXPECT_EQ(w.pos(), QPoint(22, 22));
    QImage img = Render(w);
    const int h = w.height(), wd = w.width();
    EXPECT_EQ(PixelAt(img, 0, 0), 0u);
    EXPECT_EQ(PixelAt(img, wd - 1, h - 1), 0u);
    EXPECT_EQ(PixelAt(img, 12, h - 3), 0x0053D2FFu);
    EXPECT_EQ(PixelAt(img, wd - 2, h - 2), 0x00FFFFFFu);
    // Arrow origin two pixels into the strip, pointing up-left.
    EXPECT_EQ(PixelAt(img, 3, 3), 0u);
    EXPECT_EQ(PixelAt(img, 3, 9), 0u);
    EXPECT_EQ(PixelAt(img, 9, 3), 0u);
}

TEST(FlatHintWindow, LookComesFromTheMainFormsFirstHint)
{
    QWidget form;
    auto* first = new TFlatHint(&form);
    auto* second = new TFlatHint(&form);
    first->SetColorArrowBackground(clRed);
    first->SetColorBackground(clYellow);
    first->SetColorArrow(clBlue);
    second->SetColorArrowBackground(clLime);
    MainFormScope scope(&form);
    EXPECT_EQ(TFlatHintWindow::HintComponent(), first);

    TFlatHintWindow w;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QPoint bottomRight = screen->geometry().bottomRight() - QPoint(10, 10);
    w.ActivateHintAt(bottomRight, "Close");
    EXPECT_EQ(w.ArrowPos(), apBottomRight);
    QImage img = Render(w);
    const int h = w.height(), wd = w.width();
    EXPECT_EQ(PixelAt(img, wd - 3, 1), clRed);
    EXPECT_EQ(PixelAt(img, 3, h - 3), clYellow);
    // Mirrored on both axes: origin at the strip's lower right.
    EXPECT_EQ(PixelAt(img, wd - 4, h - 4), clBlue);
    EXPECT_EQ(PixelAt(img, wd - 10, h - 4), clBlue);
}

TEST(FlatHint, Defaults)
{
    TFlatHint hint;
    EXPECT_EQ(hint.ColorBackground(), 0x00FFFFFFu);
    EXPECT_EQ(hint.ColorBorder(), 0u);
    EXPECT_EQ(hint.ColorArrowBackground(), 0x0053D2FFu);
    EXPECT_EQ(hint.ColorArrow(), 0u);
    EXPECT_EQ(hint.MaxHintWidth(), 200);
}

TEST(FlatHint, ShowHintEventCanChangeTheText)
{
    QWidget form;
    form.resize(200, 100);
    auto* hint = new TFlatHint(&form);
    MainFormScope scope(&form);
    auto* target = new QWidget(&form);
    target->resize(50, 50);
    target->setToolTip("Original");
    int calls = 0;
    hint->OnShowHint = [&](std::string& text, bool& canShow, THintInfo& info) {
        ++calls;
        EXPECT_EQ(text, "Original");
        EXPECT_TRUE(canShow);
        EXPECT_EQ(info.HintControl, target);
        text = "Changed";
    };
    Activate(form);
    MouseMove(*target, QPoint(5, 5));

    TFlatHintWindow* shown = nullptr;
    WaitFor([&] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* w = dynamic_cast<TFlatHintWindow*>(top); w && w->isVisible())
                shown = w;
        return shown != nullptr;
    });
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(shown->Text(), "Changed");

    MousePress(*target, QPoint(5, 5));
    EXPECT_FALSE(shown->isVisible());
    MouseRelease(*target, QPoint(5, 5));
}

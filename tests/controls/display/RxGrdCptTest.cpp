// The gradient caption bar: which pieces fit, the gradient's bands, the
// inactive look, fonts of the pieces, activation events and the popup menu.
#include "controls/common/SysColors.h"
#include "controls/display/RxGrdCpt.h"
#include "tests/controls/FlatTestSupport.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace vx;
using namespace vx::test;

TEST(RxGradientCaption, GluedPiecesAreDroppedTogetherFromTheLeft)
{
    // "A" glued to "B", then "C"; the form caption is 40 wide.
    const std::vector<TCaptionPiece> pieces = {{30, true, true}, {30, true, false}, {30, true, false}};
    EXPECT_EQ(CaptionPiecesShown(pieces, 40, 2 + 90 + 40, hdLeftToRight), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(CaptionPiecesShown(pieces, 40, 2 + 90 + 39, hdLeftToRight), (std::vector<int>{2}));
    EXPECT_EQ(CaptionPiecesShown(pieces, 40, 2 + 30 + 39, hdLeftToRight), (std::vector<int>{}));
    EXPECT_EQ(CaptionPiecesShown(pieces, 500, 100, hdLeftToRight), (std::vector<int>{}))
        << "a caption wider than the bar leaves it alone, shortened";

    // From the right: whole groups from the left while they fit.
    EXPECT_EQ(CaptionPiecesShown(pieces, 40, 2 + 59, hdRightToLeft), (std::vector<int>{}));
    EXPECT_EQ(CaptionPiecesShown(pieces, 40, 2 + 60, hdRightToLeft), (std::vector<int>{0, 1}));
    EXPECT_EQ(CaptionPiecesShown(pieces, 40, 2 + 90, hdRightToLeft), (std::vector<int>{0, 1, 2}));

    // A hidden piece takes no room and breaks no glue of its own.
    const std::vector<TCaptionPiece> hidden = {{30, false, true}, {30, true, false}, {30, true, false}};
    EXPECT_EQ(CaptionPiecesShown(hidden, 0, 2 + 45, hdLeftToRight), (std::vector<int>{2}));
}

namespace {

struct CaptionWindow {
    QWidget form;
    TRxGradientCaption* bar;
    CaptionWindow()
    {
        auto* layout = new QVBoxLayout(&form);
        bar = new TRxGradientCaption(&form);
        layout->addWidget(bar);
        layout->addStretch();
        form.resize(420, 200);
    }
};

// Band i of n from start to end, each channel within one step of rounding.
bool IsBand(TColor color, TColor start, TColor end, int i, int bands)
{
    for (int shift : {0, 8, 16}) {
        const int s = (start >> shift) & 0xFF, e = (end >> shift) & 0xFF, c = (color >> shift) & 0xFF;
        if (std::abs(c - (s + (e - s) * i / (bands - 1))) > 1)
            return false;
    }
    return true;
}

} // namespace

TEST(RxGradientCaption, GradientStartsAQuarterIntoTheRamp)
{
    CaptionWindow w;
    w.bar->SetStartColor(clAqua);
    Activate(w.form);
    w.bar->setFixedSize(400, 24);
    ASSERT_TRUE(w.bar->FormActive());
    const QImage image = Render(*w.bar);
    const TColor end = ColorToRGB(clActiveCaption);
    // The ramp is 500 wide from x = -100: 64 bands of 7, the last 52 pixels in the end colour.
    const int y = image.height() - 1;
    EXPECT_TRUE(IsBand(PixelAt(image, 0, y), clAqua, end, 100 / 7, 64));
    EXPECT_TRUE(IsBand(PixelAt(image, 200, y), clAqua, end, 300 / 7, 64));
    EXPECT_TRUE(IsBand(PixelAt(image, 447 - 100, y), clAqua, end, 63, 64));
    // Band 15 covers ramp pixels 105 to 111, bar pixels 5 to 11.
    EXPECT_NE(PixelAt(image, 4, y), PixelAt(image, 5, y));
    EXPECT_EQ(PixelAt(image, 5, y), PixelAt(image, 11, y));
    EXPECT_NE(PixelAt(image, 11, y), PixelAt(image, 12, y));
    EXPECT_EQ(PixelAt(image, 448 - 100, y), end);
    EXPECT_EQ(PixelAt(image, 399, y), end);

    w.bar->SetGradientSteps(1);
    EXPECT_EQ(PixelAt(Render(*w.bar), 10, y), clAqua) << "one band in the start colour";
}

TEST(RxGradientCaption, InactiveLook)
{
    CaptionWindow w;
    QWidget other;
    Activate(w.form);
    Activate(other);
    ASSERT_FALSE(w.bar->FormActive());
    w.bar->setFixedSize(300, 24);
    const int y = w.bar->height() - 1;
    EXPECT_EQ(PixelAt(Render(*w.bar), 0, y), ColorToRGB(clInactiveCaption)) << "flat without GradientInactive";
    w.bar->SetGradientInactive(true);
    EXPECT_NE(PixelAt(Render(*w.bar), 0, y), ColorToRGB(clInactiveCaption));
}

TEST(RxGradientCaption, BorderlessWindowIsNeverPainted)
{
    CaptionWindow w;
    w.form.setWindowFlags(Qt::FramelessWindowHint);
    w.bar->setFixedSize(200, 24);
    const QImage image = Render(*w.bar);
    EXPECT_EQ(PixelAt(image, 150, 20), PixelAt(Render(w.form), w.bar->x() + 150, w.bar->y() + 20));
    EXPECT_NE(PixelAt(image, 150, 20), ColorToRGB(clInactiveCaption));
}

TEST(RxGradientCaption, FontsOfThePieces)
{
    TRxGradientCaption bar;
    EXPECT_TRUE(bar.DefaultFont());
    EXPECT_TRUE(bar.Font().bold());
    TRxCaption& own = bar.Captions().Add();
    TRxCaption& parent = bar.Captions().Add();
    EXPECT_EQ(own.Font(), bar.Font()) << "a new piece starts with the caption's font";
    QFont italic = own.Font();
    italic.setItalic(true);
    own.SetFont(italic);
    EXPECT_FALSE(own.ParentFont());

    QFont big = bar.Font();
    big.setPointSize(big.pointSize() + 4);
    bar.SetFont(big);
    EXPECT_FALSE(bar.DefaultFont());
    EXPECT_EQ(parent.Font(), big);
    EXPECT_TRUE(own.Font().italic()) << "a piece with its own font keeps it";
    EXPECT_NE(own.Font().pointSize(), big.pointSize());

    bar.SetDefaultFont(true);
    EXPECT_NE(bar.Font(), big);
    EXPECT_EQ(parent.Font(), bar.Font());
    own.SetParentFont(true);
    EXPECT_EQ(own.Font(), bar.Font());

    bar.Captions().Delete(0);
    EXPECT_EQ(bar.Captions().Count(), 1);
    EXPECT_THROW(bar.Captions().Delete(5), std::out_of_range);
}

TEST(RxGradientCaption, ActiveFiresItsEventsAndHidesTheBar)
{
    CaptionWindow w;
    w.form.show();
    int activated = 0, deactivated = 0;
    w.bar->OnActivate = [&](QObject* sender) { activated += sender == w.bar; };
    w.bar->OnDeactivate = [&](QObject* sender) { deactivated += sender == w.bar; };
    w.bar->SetActive(true);
    EXPECT_EQ(activated + deactivated, 0) << "no change, no event";
    w.bar->SetActive(false);
    EXPECT_EQ(deactivated, 1);
    EXPECT_FALSE(w.bar->isVisible());
    w.bar->SetActive(true);
    EXPECT_EQ(activated, 1);
    EXPECT_TRUE(w.bar->isVisible());
}

TEST(RxGradientCaption, RightClickShowsThePopupMenu)
{
    CaptionWindow w;
    w.form.show();
    QMenu menu;
    menu.addAction("Close");
    auto right = [&](QEvent::Type type) {
        if (type == QEvent::MouseButtonPress)
            MousePress(*w.bar, QPoint(5, 5), Qt::RightButton);
        else
            MouseRelease(*w.bar, QPoint(5, 5), Qt::RightButton);
    };
    right(QEvent::MouseButtonPress);
    right(QEvent::MouseButtonRelease);
    EXPECT_FALSE(menu.isVisible()) << "no menu set";
    w.bar->SetPopupMenu(&menu);
    right(QEvent::MouseButtonPress);
    EXPECT_FALSE(menu.isVisible()) << "the menu waits for the release";
    right(QEvent::MouseButtonRelease);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
}

TEST(RxGradientCaption, TextsAreDrawnInTheirColours)
{
    CaptionWindow w;
    Activate(w.form);
    w.bar->setFixedSize(400, 24);
    w.bar->SetGradientActive(false);
    w.bar->SetFontColor(clRed);
    w.bar->SetFormCaption("MMMM");
    TRxCaption& piece = w.bar->Captions().Add();
    piece.SetCaption("MMMM");
    piece.SetFontColor(clLime);
    const QImage image = Render(*w.bar);
    bool red = false, lime = false;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y) {
            red = red || PixelAt(image, x, y) == clRed;
            lime = lime || PixelAt(image, x, y) == clLime;
        }
    EXPECT_TRUE(red);
    EXPECT_TRUE(lime);
}

TEST(RxGradientCaption, RightToLeftWindowReadsFromTheRight)
{
    CaptionWindow w;
    Activate(w.form);
    w.bar->setFixedSize(400, 24);
    w.bar->SetGradientActive(false);
    w.bar->SetFontColor(clRed);
    w.bar->SetFormCaption("MMMM");
    auto textColumns = [&] {
        const QImage image = Render(*w.bar);
        int first = image.width(), last = -1;
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                if (PixelAt(image, x, y) == clRed) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
        return std::make_pair(first, last);
    };
    const auto [left, leftEnd] = textColumns();
    EXPECT_LT(leftEnd, 200);
    w.form.setLayoutDirection(Qt::RightToLeft);
    const auto [right, rightEnd] = textColumns();
    EXPECT_GT(right, 200);
    EXPECT_LT(std::abs((400 - 1 - rightEnd) - left), 3) << "the same distance from the other edge";
}

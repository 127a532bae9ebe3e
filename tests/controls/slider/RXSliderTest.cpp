// The image slider: range and step rules, value and thumb offsets in both
// orientations, the built ruler, keyboard, dragging, click-repeat and ticks.
#include "controls/common/SysColors.h"
#include "controls/slider/RXSlider.h"
#include "platform/Exception.h"
#include "tests/controls/FlatTestSupport.h"
#include "tests/controls/WaitFor.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace vx;
using namespace vx::test;

TEST(RxSlider, Defaults)
{
    TRxSlider slider;
    EXPECT_EQ(slider.size(), QSize(150, 40));
    EXPECT_EQ(slider.MinValue(), 0);
    EXPECT_EQ(slider.MaxValue(), 100);
    EXPECT_EQ(slider.Increment(), 10);
    EXPECT_EQ(slider.Options(), TSliderOptions(soShowFocus | soShowPoints | soSmooth));
    EXPECT_EQ(slider.NumThumbStates(), 2);
    EXPECT_EQ(slider.EdgeSize(), 2);
    EXPECT_EQ(slider.UserImages(), 0u);
    EXPECT_EQ(slider.focusPolicy(), Qt::StrongFocus);
}

TEST(RxSlider, RangeAndStepRules)
{
    TRxSlider slider;
    int changes = 0;
    slider.OnChange = [&](QObject* sender) { changes += sender == &slider; };
    try {
        slider.SetIncrement(0);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Value must be between 1 and 100");
    }
    EXPECT_THROW(slider.SetIncrement(101), Exception);
    EXPECT_EQ(slider.Increment(), 10);

    slider.SetValue(60);
    EXPECT_EQ(changes, 1);
    slider.SetValue(60);
    EXPECT_EQ(changes, 1) << "no change, no event";
    slider.SetMaxValue(5);
    EXPECT_EQ(slider.Increment(), 5) << "a step longer than the range shrinks to it";
    EXPECT_EQ(slider.Value(), 5) << "the value is clamped into the new range";
    EXPECT_EQ(changes, 2);

    slider.SetMaxValue(0);
    EXPECT_EQ(slider.MaxValue(), 5) << "an empty range is ignored";
    slider.SetMinValue(7);
    EXPECT_EQ(slider.MinValue(), 0);

    slider.SetMaxValue(10);
    slider.SetIncrement(1);
    slider.SetValue(11);
    EXPECT_EQ(slider.Value(), 10);
    slider.SetValue(-3);
    EXPECT_EQ(slider.Value(), 0);
}

TEST(RxSlider, OffsetsAlongATrack)
{
    TRxSlider slider; // 150 wide: ruler 138, thumb 11, track 127 from x 6
    EXPECT_EQ(slider.Ruler().width(), 138);
    EXPECT_EQ(slider.OffsetOfValue(0), 6);
    EXPECT_EQ(slider.OffsetOfValue(100), 133);
    EXPECT_EQ(slider.OffsetOfValue(50), 64 + 6) << "63.5 rounds to even";
    EXPECT_EQ(slider.ValueOfOffset(70), 50);
    EXPECT_EQ(slider.ValueOfOffset(0), 0) << "left of the track is the minimum";
    EXPECT_EQ(slider.ValueOfOffset(500), 100);
    slider.SetValue(50);
    EXPECT_EQ(slider.ThumbRect().left(), 70);
    EXPECT_EQ(slider.ThumbRect().size(), QSize(11, 21));

    slider.SetOptions(soShowPoints);
    EXPECT_EQ(slider.ValueOfOffset(6 + 19), 20) << "15 snaps to a multiple of the step";

    slider.SetBevelStyle(TBevelCut::bvLowered);
    EXPECT_EQ(slider.OffsetOfValue(0), 7) << "the bevel moves the track in";
    EXPECT_EQ(slider.contentsRect(), QRect(1, 1, 148, 38)) << "and children inside it";
}

TEST(RxSlider, VerticalShowsTheMaximumAtTheTop)
{
    TRxSlider slider;
    slider.SetOrientation(soVertical);
    EXPECT_EQ(slider.size(), QSize(40, 150));
    EXPECT_EQ(slider.ThumbRect().size(), QSize(21, 11));
    EXPECT_EQ(slider.OffsetOfValue(100), 6);
    EXPECT_EQ(slider.OffsetOfValue(0), 150 - 6 - 11);
    EXPECT_EQ(slider.ValueOfOffset(6), 100);
    EXPECT_EQ(slider.ValueOfOffset(133), 0);

    KeyPress(slider, Qt::Key_Up);
    EXPECT_EQ(slider.Value(), 10);
    KeyPress(slider, Qt::Key_Right);
    EXPECT_EQ(slider.Value(), 10) << "Right does nothing on a vertical slider";
    KeyPress(slider, Qt::Key_Down);
    EXPECT_EQ(slider.Value(), 0);
}

TEST(RxSlider, KeyboardStepsAndReports)
{
    TRxSlider slider;
    int changed = 0;
    slider.OnChanged = [&](QObject*) { ++changed; };
    KeyPress(slider, Qt::Key_End);
    EXPECT_EQ(slider.Value(), 100);
    KeyPress(slider, Qt::Key_Left);
    EXPECT_EQ(slider.Value(), 90);
    slider.SetValue(44);
    KeyPress(slider, Qt::Key_Right);
    EXPECT_EQ(slider.Value(), 50) << "steps go from the nearest multiple of the step";
    KeyPress(slider, Qt::Key_Home);
    EXPECT_EQ(slider.Value(), 0);
    EXPECT_EQ(changed, 4);
    KeyPress(slider, Qt::Key_Up);
    EXPECT_EQ(changed, 4) << "Up is not a step of a horizontal slider";
}

TEST(RxSlider, DraggingSnapsWithoutSmooth)
{
    TRxSlider slider;
    slider.SetMaxValue(10);
    slider.SetIncrement(1);
    slider.SetOptions(0);
    int changes = 0, changed = 0;
    slider.OnChange = [&](QObject*) { ++changes; };
    slider.OnChanged = [&](QObject*) { ++changed; };
    const QPoint grab = slider.ThumbRect().center();
    MousePress(slider, grab);
    MouseMove(slider, grab + QPoint(40, 0));
    // 40 pixels of a 127-pixel track over 10 values: 3.1 steps, snapped to 3.
    EXPECT_EQ(slider.Value(), 3);
    EXPECT_EQ(slider.ThumbRect().left(), slider.OffsetOfValue(3));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(changed, 0) << "reported when the drag ends";
    MouseMove(slider, grab + QPoint(1000, 0));
    EXPECT_EQ(slider.Value(), 10);
    EXPECT_EQ(slider.ThumbRect().left(), 6 + 127) << "the thumb stops at the track's end";
    MouseRelease(slider, grab + QPoint(1000, 0));
    EXPECT_EQ(changed, 1);
    MouseMove(slider, grab);
    EXPECT_EQ(slider.Value(), 10) << "no drag after the release";
}

TEST(RxSlider, HoldingBesideTheThumbRepeatsUntilItPasses)
{
    TRxSlider slider;
    slider.SetIncrement(25);
    int changed = 0;
    slider.OnChanged = [&](QObject*) { ++changed; };
    const QPoint ruler = slider.RulerOrigin() + QPoint(0, slider.Ruler().height() / 2);
    const QPoint target(slider.OffsetOfValue(60), ruler.y());
    MousePress(slider, target);
    EXPECT_EQ(slider.Value(), 25) << "one step at once";
    EXPECT_TRUE(WaitFor([&] { return slider.Value() == 75; }));
    Pump(900);
    EXPECT_EQ(slider.Value(), 75) << "the thumb has passed the mouse";
    EXPECT_EQ(changed, 0);
    MouseRelease(slider, target);
    EXPECT_EQ(changed, 1);

    MousePress(slider, QPoint(slider.OffsetOfValue(60), slider.height() - 1));
    EXPECT_EQ(slider.Value(), 75) << "below the ruler's reach nothing steps";
}

TEST(RxSlider, ImagesAndRuler)
{
    // A ruler image whose columns carry their own index in the red channel.
    QImage image(10, 3, QImage::Format_RGB32);
    for (int x = 0; x < 10; ++x)
        for (int y = 0; y < 3; ++y)
            image.setPixel(x, y, qRgb(x, 0, 0));
    const QImage ruler = BuildRuler(image, 2, 23, false);
    ASSERT_EQ(ruler.size(), QSize(23, 3));
    std::vector<int> columns;
    for (int x = 0; x < 23; ++x)
        columns.push_back(qRed(ruler.pixel(x, 1)));
    // 8 from the head, middles 2..7 while more than edge + middle remains, the image's tail last.
    EXPECT_EQ(columns, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 2, 3, 4, 5, 6, 7, 2, 3, 4, 5, 6, 7, 7, 8, 9}));
    EXPECT_EQ(BuildRuler(image, 2, 5, false).width(), 5) << "a short ruler is the head as far as it goes";

    TRxSlider slider;
    slider.SetImages(siHRuler, &image);
    EXPECT_EQ(slider.UserImages(), 1u << siHRuler);
    slider.SetEdgeSize(5);
    EXPECT_EQ(slider.EdgeSize(), 2) << "twice the edge must stay below the image length";
    slider.SetEdgeSize(4);
    EXPECT_EQ(slider.EdgeSize(), 4);
    slider.SetImages(siHRuler, nullptr);
    EXPECT_EQ(slider.UserImages(), 0u);

    const int thumbWidth = slider.Images(siHThumb).width();
    slider.SetNumThumbStates(1);
    EXPECT_EQ(slider.ThumbRect().width(), thumbWidth) << "one state uses the whole image";
}

TEST(RxSlider, PaintsTicksOrLetsTheOwnerDrawThem)
{
    TRxSlider slider;
    slider.SetColor(clWhite);
    slider.SetOptions(soShowPoints);
    const QImage image = Render(slider);
    const int strip = std::max(slider.RulerOrigin().y() + slider.Ruler().height(), slider.ThumbRect().bottom() + 1) + 1;
    auto tickAt = [&](const QImage& picture, int value) {
        return PixelAt(picture, slider.OffsetOfValue(value) + slider.ThumbRect().width() / 2, strip) ==
               ColorToRGB(clWindowText);
    };
    EXPECT_TRUE(tickAt(image, 0));
    EXPECT_TRUE(tickAt(image, 50));
    EXPECT_TRUE(tickAt(image, 100));
    EXPECT_EQ(PixelAt(image, slider.ThumbRect().left(), slider.ThumbRect().bottom()), clWhite)
        << "the thumb's corner shows the control's colour";

    int drawn = 0;
    slider.OnDrawPoints = [&](QObject*, QPainter&) { ++drawn; };
    EXPECT_FALSE(tickAt(Render(slider), 50));
    EXPECT_EQ(drawn, 1);
}

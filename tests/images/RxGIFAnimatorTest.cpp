// Frame composition by disposal method, and the animation control playing on
// the offscreen platform.
#include "images/RxGIF.h"
#include "images/RxGIFCompose.h"
#include "images/qt/RxGIFAnimator.h"
#include "tests/controls/WaitFor.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr RxGIF::TColor kWindow = 0xFFFFFF;
const TGIFColor kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255};

TGIFBitmap Solid(int width, int height, TGIFColor colour)
{
    TGIFBitmap bitmap(width, height, TPixelFormat::pf8bit);
    bitmap.Palette = {colour, TGIFColor{1, 2, 3}};
    return bitmap;
}

void AddSolid(RxGIF::TGIFImage& image, int left, int width, TGIFColor colour, int disposal, int delay = 10)
{
    image.AddFrame(Solid(width, 1, colour));
    RxGIF::TGIFFrame& frame = image.Frame(image.Count() - 1);
    frame.SetLeft(left);
    frame.SetDisposal(disposal);
    frame.SetDelay(delay);
}

std::vector<TGIFColor> Row(const TGIFBitmap& bitmap)
{
    std::vector<TGIFColor> row;
    for (int x = 0; x < bitmap.Width(); ++x) {
        const std::uint8_t* p = bitmap.ScanLine(0) + x * 3;
        row.push_back(TGIFColor{p[2], p[1], p[0]});
    }
    return row;
}

TEST(RxGIFCompose, EachDisposalMethod)
{
    struct Case {
        const char* what;
        int secondDisposal;
        int secondWidth;
        std::vector<TGIFColor> expected;
    };
    const Case cases[] = {
        {"undefined", 0, 1, {kRed, kGreen, kBlue, kRed}},
        {"leave", 1, 1, {kRed, kGreen, kBlue, kRed}},
        {"restore background", 2, 1, {kRed, kWhite, kBlue, kRed}},
        {"restore previous", 3, 1, {kRed, kRed, kBlue, kRed}},
        {"full-screen restore starts afresh", 2, 4, {kWhite, kWhite, kBlue, kWhite}},
    };
    for (const Case& c : cases) {
        RxGIF::TGIFImage image;
        AddSolid(image, 0, 4, kRed, 0);
        AddSolid(image, c.secondWidth == 4 ? 0 : 1, c.secondWidth, kGreen, c.secondDisposal);
        AddSolid(image, 2, 1, kBlue, 0);
        const RxGIF::TComposedFrame composed = RxGIF::ComposeFrame(image, 2, kWindow);
        EXPECT_EQ(Row(composed.Bitmap), c.expected) << c.what;
        EXPECT_EQ(composed.Transparent, RxGIF::clNone);
    }
}

TEST(RxGIFCompose, TransparentFrameKeepsWhatLiesBelow)
{
    RxGIF::TGIFImage image;
    AddSolid(image, 0, 4, kRed, 1);
    TGIFBitmap holes(4, 1, TPixelFormat::pf8bit);
    holes.Palette = {kBlue, kGreen};
    holes.ScanLine(0)[1] = 1;
    image.AddFrame(holes, RxGIF::ColorOf(kBlue));
    const RxGIF::TComposedFrame composed = RxGIF::ComposeFrame(image, 5, kWindow);
    EXPECT_EQ(Row(composed.Bitmap), (std::vector<TGIFColor>{kRed, kGreen, kRed, kRed})) << "index past the end shows the last";
    EXPECT_EQ(composed.Transparent, RxGIF::ColorOf(kBlue));
    EXPECT_TRUE(RxGIF::ComposeFrame(*std::make_unique<RxGIF::TGIFImage>(), 0, kWindow).Bitmap.Empty());
}

class RxGIFAnimatorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        animator_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&animator_));
        animator_.OnFrameChanged = [this](TRxGIFAnimator* a) { shown_.push_back(a->FrameIndex()); };
    }
    TRxGIFAnimator animator_;
    std::vector<int> shown_;
};

TEST_F(RxGIFAnimatorTest, PlaysOnceWithoutLoopAndStopsOnFrameZero)
{
    RxGIF::TGIFImage image;
    for (TGIFColor c : {kRed, kGreen, kBlue})
        AddSolid(image, 0, 4, c, 0, 5);
    image.SetFrameIndex(0);
    animator_.SetImage(image);
    EXPECT_EQ(animator_.size(), QSize(4, 1)) << "sized to the screen";
    animator_.SetLoop(false);
    int started = 0, stopped = 0;
    animator_.OnStart = [&](TRxGIFAnimator*) { ++started; };
    animator_.OnStop = [&](TRxGIFAnimator*) { ++stopped; };
    animator_.SetAnimate(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !animator_.Animate(); }, vx::test::kPatienceMs));
    EXPECT_EQ(shown_, (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(started, 1);
    EXPECT_EQ(stopped, 1);
}

TEST_F(RxGIFAnimatorTest, LoopsUntilStopped)
{
    RxGIF::TGIFImage image;
    AddSolid(image, 0, 2, kRed, 0, 0);
    AddSolid(image, 0, 2, kGreen, 0, 0);
    image.SetFrameIndex(0);
    animator_.SetImage(image);
    EXPECT_EQ(animator_.FrameDelay(), 1) << "a delay of 0 ticks every millisecond";
    animator_.SetAnimate(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown_.size() >= 5; }, vx::test::kPatienceMs));
    animator_.SetAnimate(false);
    const size_t seen = shown_.size();
    QTest::qWait(30);
    EXPECT_EQ(shown_.size(), seen) << "stopped";
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(shown_[i], static_cast<int>((i + 1) % 2));
}

TEST_F(RxGIFAnimatorTest, OneFrameNeverTicksAndBadIndicesAreIgnored)
{
    RxGIF::TGIFImage image;
    AddSolid(image, 0, 3, kRed, 0, 10);
    animator_.SetImage(image);
    animator_.SetAnimate(true);
    EXPECT_EQ(animator_.FrameDelay(), 0);
    QTest::qWait(40);
    EXPECT_TRUE(shown_.empty());
    animator_.SetFrameIndex(1);
    animator_.SetFrameIndex(-1);
    EXPECT_EQ(animator_.FrameIndex(), 0);
    EXPECT_TRUE(shown_.empty());
}

TEST_F(RxGIFAnimatorTest, PaintsTheComposedFrame)
{
    RxGIF::TGIFImage image;
    AddSolid(image, 0, 4, kRed, 1);
    AddSolid(image, 1, 1, kGreen, 0);
    image.SetFrameIndex(0);
    animator_.SetImage(image);
    animator_.SetFrameIndex(1);
    EXPECT_EQ(shown_, std::vector<int>{1});
    const QImage shot = animator_.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(0, 0)), QColor(Qt::red));
    EXPECT_EQ(QColor(shot.pixel(1, 0)), QColor(Qt::green));
}

} // namespace

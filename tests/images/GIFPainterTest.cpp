// The animation painter: its timing rules, loops, and the painted control
// started, stopped, given a new picture and closed while its thread paints.
// Also built into the thread-sanitizer suite.
#include "images/GIFAppExtension.h"
#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"
#include "images/GIFPainter.h"
#include "images/qt/GIFPaintBox.h"

#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>

namespace {

TGIFPaintFrame Step(int delay, bool control = true, int loops = -1)
{
    TGIFPaintFrame frame;
    frame.hasControl = control;
    frame.delay = delay;
    frame.loops = loops;
    return frame;
}

TEST(GIFPainter, FrameWaits)
{
    struct Case {
        TGIFPaintFrame frame;
        bool threaded;
        int speed;
        int wait;
    };
    const Case cases[] = {
        {Step(0), true, 100, 120},      {Step(5, false), true, 100, 120}, {Step(1), true, 100, 36},
        {Step(2), false, 100, 36},      {Step(50), true, 200, 300},       {Step(5000), false, 100, 12000},
        {Step(5000), true, 100, 60000}, {Step(10), true, 0, -1},          {Step(10), false, 0, 12000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TGIFPainter::FrameWait(c.frame, c.threaded, c.speed), c.wait)
            << c.frame.delay << " " << c.threaded << " " << c.speed;
}

// Runs an unthreaded painter to its end; answers the frames drawn in order.
std::vector<int> Drawn(std::vector<TGIFPaintFrame> plan, std::uint16_t options, int limit = 50)
{
    std::vector<int> drawn;
    TGIFPainter painter(std::move(plan), options, 100, [](TGIFPainter::TStep step) { step(); },
                        [&](int index) { drawn.push_back(index); });
    for (int i = 0; i < limit && painter.Next() != -2; ++i) {
    }
    return drawn;
}

TEST(GIFPainter, TheEndComesWithTheLastFrameNotAfterItsDelay)
{
    struct Case {
        std::vector<TGIFPaintFrame> plan;
        std::uint16_t options;
        std::vector<int> drawn;
    };
    const std::uint16_t animate = goAnimate | goLoop;
    const Case cases[] = {
        {{Step(1), Step(500)}, animate, {0, 1}},
        {{Step(1, true, 2), Step(500)}, animate, {0, 1, 0, 1}},
        {{Step(500), Step(500)}, goLoop, {0}},
        {{Step(500)}, animate, {0}},
    };
    for (const Case& c : cases) {
        std::vector<int> drawn;
        std::vector<std::string> events;
        TGIFPainter painter(c.plan, c.options, 100, [](TGIFPainter::TStep step) { step(); },
                            [&](int index) { drawn.push_back(index); });
        painter.OnLoop = [&] { events.push_back("loop after " + std::to_string(drawn.size())); };
        painter.OnEndPaint = [&] { events.push_back("end after " + std::to_string(drawn.size())); };
        // Every step but the last waits the delay of the frame it drew; the last ends at once.
        for (size_t step = 1; step < c.drawn.size(); ++step)
            EXPECT_GE(painter.Next(), 0) << "step " << step;
        EXPECT_EQ(painter.Next(), -2);
        EXPECT_TRUE(painter.Ended());
        EXPECT_EQ(drawn, c.drawn);
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events.back(), "end after " + std::to_string(c.drawn.size()));
        EXPECT_EQ(std::count(events.begin(), events.end(), "loop after 2"), c.drawn.size() == 4 ? 1 : 0);
    }
}

TEST(GIFPainter, ItsThreadRunsAtThePriorityGiven)
{
    std::atomic<int> nice{-100};
    TGIFPainter painter({Step(3), Step(3)}, goThreaded | goAnimate, 100, [](TGIFPainter::TStep step) { step(); },
                        [&](int) { nice = getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid))); },
                        tpIdle);
    painter.Start();
    painter.WaitFor();
    EXPECT_EQ(nice, 19);
}

TEST(GIFPainter, LoopsAndAnimation)
{
    const std::uint16_t animate = goAnimate | goLoop;
    EXPECT_EQ(Drawn({Step(1), Step(1)}, animate), (std::vector<int>{0, 1})) << "no loop extension: once";
    EXPECT_EQ(Drawn({Step(1, true, 2), Step(1)}, animate), (std::vector<int>{0, 1, 0, 1})) << "a count of 2: twice";
    EXPECT_EQ(Drawn({Step(1, true, 0), Step(1)}, animate), (std::vector<int>{0, 1})) << "0 loops endlessly only threaded";
    EXPECT_EQ(Drawn({Step(1), Step(1)}, animate | goLoopContinously, 6).size(), 6u) << "or when told to";
    EXPECT_EQ(Drawn({Step(1), Step(1)}, goLoop), (std::vector<int>{0})) << "not animated: the first frame";
    EXPECT_EQ(Drawn({Step(1)}, animate | goThreaded), (std::vector<int>{0}));
}

std::shared_ptr<TGIFImage> Animation(int frames, int delay, int loops = -1)
{
    auto image = std::make_shared<TGIFImage>();
    image->Header().ColorMap().Add(TGIFColor{255, 0, 0});
    image->Header().ColorMap().Add(TGIFColor{0, 0, 255});
    for (int i = 0; i < frames; ++i) {
        TGIFSubImage& frame = image->Add(std::make_unique<TGIFSubImage>(image.get()));
        frame.SetBounds(0, 0, 4, 4);
        std::fill(frame.MutableData().begin(), frame.MutableData().end(), static_cast<std::uint8_t>(i % 2));
        auto control = std::make_unique<TGIFGraphicControlExtension>(frame);
        control->SetDelay(static_cast<std::uint16_t>(delay));
        frame.Extensions().Add(std::move(control));
        if (i == 0 && loops >= 0) {
            auto loop = std::make_unique<TGIFAppExtNSLoop>(frame);
            loop->Loops = static_cast<std::uint16_t>(loops);
            frame.Extensions().Add(std::move(loop));
        }
    }
    return image;
}

class GIFPaintBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        box_ = std::make_unique<TGIFPaintBox>();
        box_->resize(40, 40);
        box_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(box_.get()));
    }
    std::unique_ptr<TGIFPaintBox> box_;
};

TEST_F(GIFPaintBoxTest, ThreadedPainterPaintsUntilStopped)
{
    box_->SetImage(Animation(3, 1, 0));
    EXPECT_TRUE(box_->Painting());
    EXPECT_TRUE(QTest::qWaitFor([&] { return box_->FramesDrawn() >= 7; }, 20000)) << "loops endlessly on its thread";
    box_->StopDrawing();
    EXPECT_FALSE(box_->Painting());
    const int drawn = box_->FramesDrawn();
    QTest::qWait(50);
    EXPECT_EQ(box_->FramesDrawn(), drawn) << "nothing is drawn after stopping";
}

TEST_F(GIFPaintBoxTest, ReplacingThePictureWhilePainting)
{
    box_->SetImage(Animation(4, 1, 0));
    EXPECT_TRUE(QTest::qWaitFor([&] { return box_->FramesDrawn() >= 3; }, 20000));
    box_->SetImage(Animation(2, 1, 1));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !box_->Painting() && box_->FramesDrawn() == 2; }, 20000));
    QTest::qWait(30);
    EXPECT_EQ(box_->FramesDrawn(), 2) << "no step of the old painter reaches the new picture";
    EXPECT_EQ(box_->LastFrame(), 1);
    EXPECT_EQ(box_->Picture().pixel(0, 0), qRgb(0, 0, 255));
}

TEST_F(GIFPaintBoxTest, ClosingTheWindowWhilePainting)
{
    box_->SetImage(Animation(5, 2, 0));
    EXPECT_TRUE(QTest::qWaitFor([&] { return box_->FramesDrawn() >= 2; }, 20000));
    box_->close();
    box_.reset();
    QTest::qWait(50);
}

TEST_F(GIFPaintBoxTest, OneFrameIsDrawnOnceWithoutAThread)
{
    auto image = Animation(1, 10);
    image->DrawOptions = goThreaded | goAnimate | goLoop | goTransparent;
    box_->SetImage(image);
    EXPECT_EQ(box_->FramesDrawn(), 1) << "drawn at once on the caller's thread";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !box_->Painting(); }, 20000));
    EXPECT_EQ(box_->FramesDrawn(), 1);
}

TEST_F(GIFPaintBoxTest, TilingRepeatsThePicture)
{
    auto image = Animation(1, 0);
    image->Images().SubImage(0).SetPixels(0, 0, 1);
    image->DrawOptions = goTile;
    box_->SetImage(image);
    const QImage shot = box_->grab().toImage();
    EXPECT_EQ(shot.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(shot.pixel(4, 4), qRgb(0, 0, 255)) << "the 4 x 4 picture again";
    EXPECT_EQ(shot.pixel(5, 4), qRgb(255, 0, 0));
}

TEST_F(GIFPaintBoxTest, UnthreadedPainterIsDrivenByATimer)
{
    auto image = Animation(3, 1, 2);
    image->DrawOptions = goAnimate | goLoop;
    box_->SetImage(image);
    EXPECT_EQ(box_->FramesDrawn(), 1) << "the first frame at once, the rest from the timer";
    EXPECT_TRUE(QTest::qWaitFor([&] { return box_->FramesDrawn() == 6 && !box_->Painting(); }, 20000));
}

TEST_F(GIFPaintBoxTest, ThreadedPaintingEndsWithTheLastFrame)
{
    auto image = Animation(2, 1);
    // 720 seconds after the last frame: the end must not wait for them.
    image->Images().SubImage(1).GraphicControlExtension()->SetDelay(60000);
    box_->SetImage(image);
    EXPECT_TRUE(QTest::qWaitFor([&] { return box_->FramesDrawn() == 2 && !box_->Painting(); }, 20000));
}

TEST_F(GIFPaintBoxTest, TheImageGivesSpeedAndBackground)
{
    auto image = Animation(3, 1, 0);
    image->AnimationSpeed = 0;
    image->Header().ColorMap().Add(TGIFColor{0, 255, 0});
    image->Images().SubImage(0).SetPixels(1, 1, 2);
    auto& control = *image->Images().SubImage(0).GraphicControlExtension();
    control.SetTransparent(true);
    control.SetTransparentColorIndex(2);
    image->BackgroundColor = 0x000080FF;
    box_->SetImage(image);
    ASSERT_TRUE(QTest::qWaitFor([&] { return box_->FramesDrawn() == 1; }, 20000));
    EXPECT_EQ(box_->Picture().pixel(1, 1), qRgb(255, 128, 0)) << "the image's background shows through";
    EXPECT_EQ(box_->Picture().pixel(0, 0), qRgb(255, 0, 0));
    QTest::qWait(300);
    EXPECT_EQ(box_->FramesDrawn(), 1) << "speed 0 waits on the first frame until stopped";
    EXPECT_TRUE(box_->Painting());
}

// A canvas of the caller's, grey, that the box paints into at 2, 2 (8 x 8).
std::shared_ptr<QImage> Canvas()
{
    auto canvas = std::make_shared<QImage>(12, 12, QImage::Format_RGB32);
    canvas->fill(qRgb(128, 128, 128));
    return canvas;
}

TEST_F(GIFPaintBoxTest, DirectPaintDrawsEveryFrameOntoTheCallersImage)
{
    for (const bool direct : {true, false}) {
        auto image = Animation(2, 1, 0);
        image->DrawOptions = static_cast<std::uint16_t>(goThreaded | goAnimate | goLoop | (direct ? goDirectDraw : 0));
        box_->SetImage(image);
        const auto canvas = Canvas();
        box_->DrawTo(canvas, QRect(2, 2, 8, 8));
        EXPECT_EQ(canvas->pixel(3, 3), qRgb(255, 0, 0)) << "the picture of the moment at once";
        EXPECT_EQ(canvas->pixel(0, 0), qRgb(128, 128, 128));
        ASSERT_TRUE(QTest::qWaitFor([&] { return box_->LastFrame() == 1; }, 20000));
        EXPECT_EQ(canvas->pixel(3, 3), direct ? qRgb(0, 0, 255) : qRgb(255, 0, 0)) << "direct: " << direct;
        box_->StopDrawing();
    }
}

TEST_F(GIFPaintBoxTest, ValidatingTheCanvasStopsWhenItsOwnerLetsItGo)
{
    for (const bool validate : {true, false}) {
        auto image = Animation(2, 1, 0);
        image->DrawOptions =
            static_cast<std::uint16_t>(goThreaded | goAnimate | goLoop | goDirectDraw | (validate ? goValidateCanvas : 0));
        box_->SetImage(image);
        auto canvas = Canvas();
        const std::weak_ptr<QImage> watch = canvas;
        box_->DrawTo(canvas, QRect(2, 2, 8, 8));
        canvas.reset();
        EXPECT_EQ(watch.expired(), validate) << "without validation the box keeps the image";
        if (validate) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return !box_->Painting(); }, 20000));
        } else {
            const int drawn = box_->FramesDrawn();
            EXPECT_TRUE(QTest::qWaitFor([&] { return box_->FramesDrawn() >= drawn + 3; }, 20000));
            EXPECT_TRUE(box_->Painting());
        }
        box_->StopDrawing();
    }
}

} // namespace

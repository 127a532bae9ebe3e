// Optimising GIF images: every option bit on animations made by the tests and by
// ImageMagick and gifsicle must leave the shown animation unchanged, frame by
// frame and pixel by pixel; and the cases where a naive optimiser goes wrong.
#include "tests/images/GIFTestSupport.h"

#include "images/GIFAppExtension.h"
#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"
#include "images/GIFStream.h"
#include "images/GIFTextExtension.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <random>

using namespace giftest;

namespace {

const std::uint8_t kOptionSets[] = {0, ooCrop, ooMerge, ooCleanup, ooColorMap, ooReduceColors, 29, 31};

TEST(GIFOptimize, EveryOptionKeepsTheShownAnimation)
{
    for (unsigned seed : {1u, 2u, 3u}) {
        const std::string original = OptimizableAnimation(seed);
        const std::vector<Shown> reference = Timeline(original);
        for (std::uint8_t options : kOptionSets) {
            const std::string optimized = Optimized(original, options);
            EXPECT_EQ(Timeline(optimized), reference) << "seed " << seed << ", options " << int(options);
            DescribeWithGiflib(optimized);
        }
        EXPECT_LT(Optimized(original, 31).size(), original.size());
    }
}

TEST(GIFOptimize, ToolFilesKeepTheirAnimation)
{
    if (!HaveTool("convert") && !HaveTool("gifsicle"))
        GTEST_SKIP() << "neither convert nor gifsicle is installed";
    vx::test::TempDir dir;
    for (const ToolFile& file : MakeToolCorpus(dir.path().string()))
        for (std::uint8_t options : {std::uint8_t{29}, std::uint8_t{31}})
            EXPECT_EQ(Timeline(Optimized(file.bytes, options)), Timeline(file.bytes)) << file.name << " " << int(options);
}

TEST(GIFOptimize, OptionsZeroChangeNothing)
{
    DescribeWithGiflib(OptimizableAnimation(4));
    const std::string original = OptimizableAnimation(4);
    EXPECT_EQ(Optimized(original, 0), original);
}

TEST(GIFOptimize, InvisibleFramesGoButTheirTimeStays)
{
    // An invisible frame's delay joins the 65000 of the frame before only while
    // the sum fits the 16-bit delay, and only when browsers keep the delay as it
    // is (they show one below 2 for 10); otherwise the frame stays. A leading
    // invisible frame stays too: browsers show its blank screen for a moment.
    for (const int delay : {500, 1000, 1}) {
        TGIFImage image;
        for (const TGIFColor& c : Colours(4))
            image.Header().ColorMap().Add(c);
        TGIFSubImage& lead = AddControlledFrame(image, 0, 0, 4, 4, 0, 1, 3);
        std::fill(lead.MutableData().begin(), lead.MutableData().end(), 3);
        auto loop = std::make_unique<TGIFAppExtNSLoop>(lead);
        loop->Loops = 7;
        lead.Extensions().Add(std::move(loop));
        AddControlledFrame(image, 0, 0, 4, 4, 65000, 1).MutableData().assign(16, 1);
        TGIFSubImage& gone = AddControlledFrame(image, 0, 0, 4, 4, delay, 1, 3);
        std::fill(gone.MutableData().begin(), gone.MutableData().end(), 3);
        TGIFSubImage& clearing = AddControlledFrame(image, 0, 0, 4, 4, 5, 2, 3);
        std::fill(clearing.MutableData().begin(), clearing.MutableData().end(), 3);
        AddControlledFrame(image, 1, 1, 2, 2, 5, 1).MutableData().assign(4, 2);
        const std::string original = SaveToString(image);

        image.Optimize(ooCrop, 0, 0, 8);
        const bool joins = delay == 500;
        ASSERT_EQ(image.Images().Count(), joins ? 4 : 5) << delay;
        const Picture picture = DescribeWithGiflib(SaveToString(image));
        EXPECT_EQ(picture.loops, 7);
        EXPECT_EQ(picture.frames[1].delay, joins ? 65500 : 65000) << delay;
        EXPECT_EQ(picture.frames[joins ? 2 : 3].disposal, 2) << "a frame that clears the background stays";
        EXPECT_EQ(ComposeWithGiflib(SaveToString(image)), ComposeWithGiflib(original)) << delay;
    }
}

TEST(GIFOptimize, MergingNeverMakesAnOpaqueColourTransparent)
{
    TGIFImage image;
    for (const TGIFColor& c : Colours(4))
        image.Header().ColorMap().Add(c);
    AddControlledFrame(image, 0, 0, 4, 1, 5, 1).MutableData() = {0, 1, 2, 1};
    // Transparent on index 2.
    AddControlledFrame(image, 0, 0, 4, 1, 5, 1, 2).MutableData() = {1, 2, 2, 0};
    // Shows index 2 as a colour, and repeats pixel 3 of what is below.
    TGIFSubImage& third = AddControlledFrame(image, 0, 0, 4, 1, 5, 1);
    third.MutableData() = {2, 2, 3, 0};
    const std::string original = SaveToString(image);
    image.Optimize(ooMerge, 0, 0, 8);
    ASSERT_TRUE(third.GraphicControlExtension()->Transparent());
    EXPECT_NE(third.GraphicControlExtension()->TransparentColorIndex(), 2);
    EXPECT_EQ(Timeline(SaveToString(image)), Timeline(original));
}

TEST(GIFOptimize, TransparencyIsSettledBeforeTablesAreCut)
{
    TGIFImage image;
    for (const TGIFColor& c : Colours(8))
        image.Header().ColorMap().Add(c);
    TGIFSubImage& frame = AddControlledFrame(image, 0, 0, 2, 2, 0, 0, 7);
    frame.MutableData() = {0, 1, 1, 0};
    AddControlledFrame(image, 0, 0, 2, 2, 0, 0).MutableData() = {2, 2, 2, 2};

    TGIFImage tablesOnly;
    LoadFromString(tablesOnly, SaveToString(image));
    tablesOnly.Optimize(ooColorMap, 0, 0, 8);
    const TGIFSubImage& kept = tablesOnly.Images().SubImage(0);
    ASSERT_TRUE(kept.GraphicControlExtension()->Transparent());
    EXPECT_LT(kept.GraphicControlExtension()->TransparentColorIndex(), kept.ActiveColorMap().Count())
        << "the transparent entry is not cut away under the frame";

    image.Optimize(ooCleanup | ooColorMap, 0, 0, 8);
    EXPECT_FALSE(image.Images().SubImage(0).Transparent()) << "never used: transparency goes";
    EXPECT_EQ(image.Header().ColorMap().Count(), 3);
}

TEST(GIFOptimize, SingleFrameLosesNeedlessExtensions)
{
    TGIFImage image;
    for (const TGIFColor& c : Colours(2))
        image.Header().ColorMap().Add(c);
    TGIFSubImage& frame = AddControlledFrame(image, 0, 0, 2, 2, 0, 0);
    auto loop = std::make_unique<TGIFAppExtNSLoop>(frame);
    frame.Extensions().Add(std::move(loop));
    image.Optimize(ooCleanup, 0, 0, 8);
    EXPECT_EQ(frame.Extensions().Count(), 0);
    EXPECT_EQ(frame.GraphicControlExtension(), nullptr);
}

// What a frame is made of in the files of the delay test below.
struct FrameSpec {
    int left, top, width, height;
    int delay;
    int disposal;
    int transparent; // -1: opaque
    std::vector<std::uint8_t> pixels;
};

std::string FramesFile(const std::vector<FrameSpec>& frames, bool loop)
{
    TGIFImage image;
    for (const TGIFColor& c : Colours(4))
        image.Header().ColorMap().Add(c);
    for (const FrameSpec& spec : frames) {
        TGIFSubImage& frame = AddControlledFrame(image, spec.left, spec.top, spec.width, spec.height, spec.delay,
                                                 spec.disposal, spec.transparent);
        frame.MutableData() = spec.pixels;
        if (loop && image.Images().Count() == 1)
            frame.Extensions().Add(std::make_unique<TGIFAppExtNSLoop>(frame));
    }
    return SaveToString(image);
}

std::vector<int> Delays(const std::string& bytes)
{
    std::vector<int> delays;
    for (const Frame& frame : DescribeWithGiflib(bytes).frames)
        delays.push_back(frame.delay);
    return delays;
}

// Whatever the optimiser rewrites, a frame that stays shows as long as it did,
// the one frame of a still too.
TEST(GIFOptimize, EveryFrameKeepsItsDelay)
{
    const std::vector<std::uint8_t> square{0, 1, 1, 0, 1, 2, 2, 1, 1, 2, 2, 1, 0, 1, 1, 0};
    const std::vector<std::uint8_t> holed{3, 0, 0, 3, 0, 3, 3, 0, 0, 3, 3, 0, 3, 0, 0, 3};
    const struct {
        const char* name;
        std::vector<FrameSpec> frames;
        bool loop;
        std::vector<int> delays;
    } rows[] = {
        {"a still with a delay", {{0, 0, 4, 4, 10, 0, -1, square}}, false, {10}},
        {"a still with a delay and the loop extension", {{0, 0, 4, 4, 10, 1, -1, square}}, true, {10}},
        {"a still with a delay and transparency", {{0, 0, 4, 4, 25, 0, 3, holed}}, false, {25}},
        {"a still that restores the background", {{0, 0, 4, 4, 7, 2, -1, square}}, true, {7}},
        {"a still that restores what was below", {{0, 0, 4, 4, 65535, 3, 3, holed}}, false, {65535}},
        {"a still of a hundredth", {{0, 0, 4, 4, 1, 0, -1, square}}, false, {1}},
        {"a still without a delay", {{0, 0, 4, 4, 0, 2, -1, square}}, true, {0}},
        {"an animation",
         {{0, 0, 4, 4, 10, 1, -1, square},
          {1, 1, 2, 2, 0, 0, -1, {3, 3, 3, 3}},
          {0, 0, 4, 4, 30, 2, 3, holed},
          {0, 0, 4, 4, 1, 3, -1, {2, 2, 2, 2, 2, 0, 0, 2, 2, 0, 0, 2, 2, 2, 2, 2}},
          {0, 0, 4, 4, 500, 0, 3, holed}},
         true,
         {10, 0, 30, 1, 500}},
    };
    for (const auto& row : rows) {
        const std::string original = FramesFile(row.frames, row.loop);
        ASSERT_EQ(Delays(original), row.delays) << row.name;
        for (std::uint8_t options : kOptionSets)
            EXPECT_EQ(Delays(Optimized(original, options)), row.delays) << row.name << ", options " << int(options);
    }
}

TEST(GIFOptimize, OptionsWithoutMergingNeverAddTransparency)
{
    const std::string original = OptimizableAnimation(5);
    TGIFImage before, after;
    LoadFromString(before, original);
    LoadFromString(after, Optimized(original, 29));
    int transparentBefore = 0, transparentAfter = 0;
    for (int i = 0; i < before.Images().Count(); ++i)
        transparentBefore += before.Images().SubImage(i).Transparent();
    for (int i = 0; i < after.Images().Count(); ++i)
        transparentAfter += after.Images().SubImage(i).Transparent();
    EXPECT_LE(transparentAfter, transparentBefore);
}

TEST(GIFOptimize, ProgressAndTheReductionCheck)
{
    TGIFImage image;
    LoadFromString(image, OptimizableAnimation(6));
    std::vector<int> seen;
    image.OnProgress = [&](TProgressStage stage, int percent, const std::string& message) {
        EXPECT_EQ(message, "Optimizing...");
        if (stage != TProgressStage::psRunning)
            seen.push_back(percent);
    };
    image.Optimize(31, 0, 0, 8);
    EXPECT_EQ(seen, (std::vector<int>{0, 100}));
    seen.clear();
    try {
        image.Optimize(ooReduceColors, 9, 0, 8);
        ADD_FAILURE();
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Invalid reduction method");
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 0}));
}

} // namespace

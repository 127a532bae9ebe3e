// Copying GIF images and making frames of bitmaps.
#include "tests/images/GIFTestSupport.h"

#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"
#include "images/GIFPainter.h"

#include <gtest/gtest.h>

using namespace giftest;

namespace {

TEST(GIFImageAssign, CopyKeepsFramesButNoHandlers)
{
    TGIFImage source;
    LoadFromString(source, OptimizableAnimation(21));
    std::vector<std::string> messages;
    source.OnProgress = [&](TProgressStage, int, const std::string& message) { messages.push_back(message); };
    TGIFImage copy;
    copy.Assign(source);
    EXPECT_EQ(Describe(copy), Describe(source));
    EXPECT_EQ(SaveToString(copy), SaveToString(source));
    EXPECT_FALSE(copy.OnProgress);
    EXPECT_FALSE(copy.OnWarning);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.front(), "Copying...");
    copy.Assign(copy);
    EXPECT_EQ(Describe(copy), Describe(source)) << "assigning itself changes nothing";
}

TEST(GIFImageAssign, CopyTakesTheSettingsThatGoWithThePicture)
{
    TGIFImage source;
    LoadFromString(source, OptimizableAnimation(22));
    source.DrawOptions = goThreaded | goLoop;
    source.ColorReduction = rmGrayScale;
    source.DitherMode = 3;
    source.ThreadPriority = tpLowest;
    source.BackgroundColor = 0x00123456;
    source.AnimationSpeed = 250;
    source.ReductionBits = 3;
    source.Compression = 1;
    TGIFImage copy;
    copy.AnimationSpeed = 50;
    copy.Assign(source);
    EXPECT_EQ(copy.DrawOptions, source.DrawOptions);
    EXPECT_EQ(copy.ColorReduction, rmGrayScale);
    EXPECT_EQ(copy.DitherMode, 3);
    EXPECT_EQ(copy.ThreadPriority, tpLowest);
    EXPECT_EQ(copy.BackgroundColor, 0x00123456u);
    // How fast it plays, how finely it reduces and how it compresses stay the copy's own.
    EXPECT_EQ(copy.AnimationSpeed, 50);
    EXPECT_EQ(copy.ReductionBits, 8);
    EXPECT_EQ(copy.Compression, 0);
}

TEST(GIFImageAssign, OptimizeAndBitmapsTakeTheImagesReduction)
{
    TGIFImage image;
    LoadFromString(image, OptimizableAnimation(23));
    image.ColorReduction = rmPalette;
    try {
        image.Optimize(ooReduceColors);
        ADD_FAILURE() << "a palette of the caller's is no reduction to optimise with";
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Invalid reduction method");
    }
    image.ColorReduction = rmNetscape;
    EXPECT_NO_THROW(image.Optimize(ooReduceColors));

    // 1,600 colours: reduced by the image's own reduction, here to greys.
    const TGIFBitmap many = Make24(40, 40, [](int x, int y) {
        return TGIFColor{static_cast<std::uint8_t>(x * 6), static_cast<std::uint8_t>(y * 6), 77};
    });
    TGIFImage grey;
    grey.ColorReduction = rmGrayScale;
    TGIFSubImage& frame = grey.AddBitmap(many);
    ASSERT_GT(frame.ColorMap().Count(), 0);
    for (int i = 0; i < frame.ColorMap().Count(); ++i) {
        const TGIFColor c = frame.ColorMap().Data()[i];
        EXPECT_TRUE(c.Red == c.Green && c.Green == c.Blue) << i;
    }
    grey.ColorReduction = rmPalette;
    EXPECT_THROW(grey.AddBitmap(many), GIFException) << "nothing to reduce with";
}

TEST(GIFImageAssign, BitmapsBecomeFrames)
{
    const TGIFPalette colours = Colours(5);
    TGIFImage image;
    TGIFSubImage& few = image.AddBitmap(Make24(6, 4, [&](int x, int y) { return colours[static_cast<size_t>(x + y) % 5]; }));
    EXPECT_EQ(few.ColorMap().Count(), 5);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(few.ColorMap().Data()[few.Pixels(x, y)], colours[static_cast<size_t>(x + y) % 5]);

    TGIFSubImage& many = image.AddBitmap(Make24(40, 40, [](int x, int y) {
        return TGIFColor{static_cast<std::uint8_t>(x * 6), static_cast<std::uint8_t>(y * 6), 77};
    }));
    EXPECT_LE(many.ColorMap().Count(), 256) << "past 256 colours the bitmap is reduced first";

    TGIFBitmap mask(6, 4, TPixelFormat::pf1bit);
    mask.ScanLine(1)[0] = 0x80;
    TGIFSubImage& holed = image.AddBitmap(Make24(6, 4, [](int, int) { return TGIFColor{9, 9, 9}; }), &mask);
    ASSERT_NE(holed.GraphicControlExtension(), nullptr);
    EXPECT_TRUE(holed.Transparent());
    EXPECT_EQ(holed.Pixels(0, 1), holed.GraphicControlExtension()->TransparentColorIndex());
    EXPECT_NE(holed.Pixels(1, 1), holed.GraphicControlExtension()->TransparentColorIndex());

    TGIFBitmap empty(6, 4, TPixelFormat::pf1bit);
    TGIFSubImage& whole = image.AddBitmap(Make24(6, 4, [](int, int) { return TGIFColor{9, 9, 9}; }), &empty);
    EXPECT_EQ(whole.GraphicControlExtension(), nullptr) << "nothing masked: no transparency";
    EXPECT_EQ(whole.ColorMap().Count(), 1);

    const Picture written = DescribeWithGiflib(SaveToString(image));
    EXPECT_EQ(written.frames.size(), 4u);
}

} // namespace

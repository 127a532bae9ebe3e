// Copying GIF images and making frames of bitmaps.
#include "tests/images/GIFTestSupport.h"

#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"

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

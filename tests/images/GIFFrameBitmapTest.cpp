// Frame bitmaps, masks and palettes, what drops them, and copying frames.
#include "tests/images/GIFTestSupport.h"

#include "images/GIFAppExtension.h"
#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"
#include "images/GIFPalettes.h"
#include "images/GIFTextExtension.h"

#include <gtest/gtest.h>

#include <set>

using namespace giftest;

namespace {

const TGIFPalette kFour = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};

// A frame whose pixel (x, y) is (x + y) mod 4 on a four-colour local table.
TGIFSubImage& DiagonalFrame(TGIFImage& image, int width, int height)
{
    TGIFSubImage& frame = AddFrame(image, width, height);
    frame.ColorMap().ImportPalette(kFour);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            frame.SetPixels(x, y, static_cast<std::uint8_t>((x + y) % 4));
    return frame;
}

bool MaskBit(const TGIFBitmap& mask, int x, int y)
{
    return mask.ScanLine(y)[x >> 3] & (0x80 >> (x & 7));
}

void MakeTransparent(TGIFSubImage& frame, int index)
{
    auto& gce = AddExtension<TGIFGraphicControlExtension>(frame);
    gce.SetTransparent(true);
    gce.SetTransparentColorIndex(index);
}

// Sets a library-wide flag for one test and puts it back.
class TFlag {
public:
    TFlag(bool& flag, bool value) : flag_(flag), old_(flag) { flag = value; }
    ~TFlag() { flag_ = old_; }

private:
    bool& flag_;
    bool old_;
};

} // namespace

TEST(GIFFrameBitmap, IndicesWithTheFramePaletteAndAMaskOfTransparentPixels)
{
    TGIFImage image;
    std::vector<std::string> progress;
    image.OnProgress = [&](TProgressStage stage, int percent, const std::string& message) {
        progress.push_back(std::to_string(static_cast<int>(stage)) + ":" + std::to_string(percent) + ":" + message);
    };
    TGIFSubImage& frame = DiagonalFrame(image, 13, 70);
    MakeTransparent(frame, 2);
    EXPECT_FALSE(frame.HasBitmap()) << "built on first use only";
    const TGIFBitmap& bitmap = frame.Bitmap();
    EXPECT_EQ(&frame.Bitmap(), &bitmap) << "the bitmap is kept";
    ASSERT_EQ(bitmap.PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_EQ(bitmap.Palette, kFour);
    ASSERT_EQ(bitmap.Width(), 13);
    ASSERT_EQ(bitmap.Height(), 70);
    const TGIFBitmap* mask = frame.Mask();
    ASSERT_NE(mask, nullptr);
    EXPECT_EQ(mask->PixelFormat(), TPixelFormat::pf1bit);
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 13; ++x) {
            ASSERT_EQ(bitmap.ScanLine(y)[x], (x + y) % 4) << x << "," << y;
            ASSERT_EQ(MaskBit(*mask, x, y), (x + y) % 4 == 2) << x << "," << y;
        }
    EXPECT_EQ(progress, (std::vector<std::string>{"0:0:Rendering...", "1:45:Rendering...", "1:91:Rendering...",
                                                  "2:100:Rendering..."}));
}

TEST(GIFFrameBitmap, MaskOnlyWhenAPixelIsTransparent)
{
    TGIFImage image;
    TGIFSubImage& opaque = DiagonalFrame(image, 4, 4);
    EXPECT_EQ(opaque.Mask(), nullptr) << "a frame without transparency has no mask";
    TGIFSubImage& unused = AddFrame(image, 2, 2);
    unused.ColorMap().ImportPalette(kFour);
    MakeTransparent(unused, 3);
    EXPECT_EQ(unused.Mask(), nullptr) << "no pixel holds the transparent index";
    unused.SetPixels(1, 0, 3);
    unused.FreeBitmap();
    ASSERT_NE(unused.Mask(), nullptr);
    EXPECT_TRUE(MaskBit(*unused.Mask(), 1, 0));
    EXPECT_FALSE(MaskBit(*unused.Mask(), 0, 0));

    TGIFSubImage& empty = AddFrame(image, 0, 0);
    empty.ColorMap().ImportPalette(kFour);
    const TGIFBitmap& bitmap = empty.Bitmap();
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Palette, kFour) << "an empty frame still gives its palette";
}

TEST(GIFFrameBitmap, DitheringFollowsTheDrawOptionsAndKeepsTransparentPixels)
{
    TGIFImage image;
    TGIFSubImage& frame = AddFrame(image, 32, 32);
    frame.ColorMap().ImportPalette({{100, 100, 100}, {255, 0, 255}});
    frame.SetPixels(5, 5, 1);
    MakeTransparent(frame, 1);

    EXPECT_FALSE(image.Dithering()) << "auto dither on a true-colour screen";
    EXPECT_EQ(frame.Bitmap().Palette.size(), 2u);
    {
        TFlag paletteDisplay(GIFPaletteDisplay, true);
        EXPECT_TRUE(image.Dithering());
    }
    image.DrawOptions = goDither;
    ASSERT_TRUE(image.Dithering());
    frame.FreeBitmap();
    frame.SetPalette(std::nullopt);
    const TGIFBitmap& bitmap = frame.Bitmap();
    EXPECT_EQ(bitmap.Palette, WebPalette());
    std::set<int> used;
    long long sum = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (x != 5 || y != 5) {
                const int index = bitmap.ScanLine(y)[x];
                used.insert(index);
                sum += bitmap.Palette[static_cast<size_t>(index)].Red;
            }
    EXPECT_GE(used.size(), 2u) << "the grey lies between two web levels";
    EXPECT_NEAR(static_cast<double>(sum) / (32 * 32 - 1), 100.0, 2.0) << "error diffusion keeps the mean";
    EXPECT_EQ(bitmap.ScanLine(5)[5], 36 * 5 + 5) << "a transparent pixel takes its nearest web colour";
    ASSERT_NE(frame.Mask(), nullptr);
    EXPECT_TRUE(MaskBit(*frame.Mask(), 5, 5));
    EXPECT_EQ(frame.Palette(), WebPalette());
}

TEST(GIFFramePalette, ChangesToATableDropThePalettesAndBitmapsMadeFromIt)
{
    TGIFImage image;
    image.Header().ColorMap().ImportPalette({{1, 1, 1}, {2, 2, 2}});
    TGIFSubImage& global = AddFrame(image, 2, 2);
    TGIFSubImage& local = DiagonalFrame(image, 2, 2);

    EXPECT_EQ(image.Palette(), (TGIFPalette{{1, 1, 1}, {2, 2, 2}}));
    EXPECT_EQ(global.Palette(), image.Palette());
    EXPECT_EQ(local.Palette(), kFour);
    EXPECT_TRUE(image.HasPalette());
    EXPECT_TRUE(local.HasPalette());
    global.Bitmap();
    local.Bitmap();

    local.ColorMap().SetColors(1, {9, 9, 9});
    EXPECT_FALSE(local.HasBitmap()) << "a bitmap in the old colours goes";
    EXPECT_EQ(local.Palette()[1], (TGIFColor{9, 9, 9}));
    EXPECT_EQ(local.Bitmap().Palette[1], (TGIFColor{9, 9, 9}));
    EXPECT_TRUE(global.HasBitmap()) << "the global table did not change";
    EXPECT_TRUE(image.HasPalette());

    image.Header().ColorMap().Add({3, 3, 3});
    EXPECT_FALSE(image.HasPalette());
    EXPECT_FALSE(global.HasBitmap());
    EXPECT_TRUE(local.HasBitmap()) << "a frame with its own table keeps its bitmap";
    EXPECT_EQ(image.Palette().size(), 3u);
    EXPECT_EQ(global.Bitmap().Palette.size(), 3u);

    local.SetPalette(local.Bitmap().Palette);
    EXPECT_TRUE(local.HasBitmap()) << "the bitmap's own palette changes nothing";
    local.SetPalette(WebPalette());
    EXPECT_FALSE(local.HasBitmap());
    EXPECT_EQ(local.Palette(), WebPalette());
}

TEST(GIFFramePalette, NoTableAnywhereRaises)
{
    TGIFImage image;
    TGIFSubImage& frame = AddFrame(image, 1, 1);
    for (auto ask : {+[](TGIFImage& i) { i.Palette(); }, +[](TGIFImage& i) { i.Images().SubImage(0).Bitmap(); }}) {
        try {
            ask(image);
            ADD_FAILURE() << "no table to take colours from";
        } catch (const GIFException& e) {
            EXPECT_STREQ(e.what(), "No global or local color table defined");
        }
    }
    frame.ColorMap().ImportPalette(kFour);
    EXPECT_EQ(image.Palette(), kFour) << "frame 0's palette, once it has one";
    EXPECT_FALSE(image.HasPalette()) << "frame 0's palette is not kept";
    image.DrawOptions = goDither;
    EXPECT_EQ(image.Palette(), WebPalette());
}

TEST(GIFFrameBitmap, NewSizeAndClearDropTheBitmap)
{
    TGIFImage image;
    TGIFSubImage& frame = DiagonalFrame(image, 3, 3);
    frame.Bitmap();
    frame.SetLeft(4);
    EXPECT_TRUE(frame.HasBitmap()) << "moving keeps it";
    frame.SetHeight(2);
    EXPECT_FALSE(frame.HasBitmap());
    EXPECT_EQ(frame.Bitmap().Height(), 2);
    frame.Clear();
    EXPECT_FALSE(frame.HasBitmap());
    EXPECT_FALSE(frame.HasPalette());
}

TEST(GIFFrameBitmap, RenderOnLoadBuildsEveryFrameBitmap)
{
    TGIFImage source;
    DiagonalFrame(source, 5, 4);
    DiagonalFrame(source, 2, 2);
    const std::string bytes = SaveToString(source);
    TGIFImage lazy;
    LoadFromString(lazy, bytes);
    EXPECT_FALSE(lazy.Images().SubImage(0).HasBitmap());
    TFlag renderOnLoad(GIFImageRenderOnLoad, true);
    TGIFImage eager;
    LoadFromString(eager, bytes);
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(eager.Images().SubImage(i).HasBitmap()) << i;
    EXPECT_EQ(eager.Images().SubImage(0).Bitmap().ScanLine(3)[4], (4 + 3) % 4);
}

TEST(GIFSubImageAssign, CopiesEverythingAndTheCopyOwnsItsExtensions)
{
    TGIFImage image;
    TGIFSubImage& source = DiagonalFrame(image, 6, 5);
    source.SetLeft(2);
    source.SetInterlaced(true);
    auto& gce = AddExtension<TGIFGraphicControlExtension>(source);
    gce.SetDelay(25);
    gce.SetDisposal(2);
    gce.SetTransparent(true);
    gce.SetTransparentColorIndex(3);
    AddExtension<TGIFCommentExtension>(source).Text.Add("made by the test");
    AddExtension<TGIFAppExtNSLoop>(source).Loops = 7;

    TGIFImage other;
    TGIFSubImage& copy = AddFrame(other, 1, 1);
    copy.Assign(source);
    EXPECT_EQ(copy.Left(), 2);
    EXPECT_EQ(copy.Width(), 6);
    EXPECT_EQ(other.Width(), 8) << "the copy's screen grows to hold it";
    EXPECT_TRUE(copy.Interlaced());
    EXPECT_EQ(copy.Data(), source.Data());
    EXPECT_EQ(copy.ColorMap().ExportPalette(), kFour);
    EXPECT_TRUE(copy.Transparent());
    ASSERT_EQ(copy.Extensions().Count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(&copy.Extensions().Extension(i).SubImage(), &copy) << i;
    ASSERT_NE(copy.GraphicControlExtension(), nullptr);
    EXPECT_NE(copy.GraphicControlExtension(), &gce);
    EXPECT_EQ(copy.GraphicControlExtension()->Delay(), 25);
    EXPECT_EQ(copy.GraphicControlExtension()->Disposal(), 2);
    EXPECT_EQ(copy.GraphicControlExtension()->TransparentColorIndex(), 3);
    EXPECT_EQ(static_cast<TGIFCommentExtension&>(copy.Extensions().Extension(1)).Text[0], "made by the test");
    EXPECT_EQ(static_cast<TGIFAppExtNSLoop&>(copy.Extensions().Extension(2)).Loops, 7);
    EXPECT_FALSE(copy.HasBitmap()) << "the source had no bitmap";

    copy.SetPixels(0, 0, 1);
    copy.ColorMap().SetColors(0, {7, 7, 7});
    EXPECT_EQ(source.Pixels(0, 0), 0) << "the copy shares nothing";
    EXPECT_EQ(source.ColorMap().Colors(0), (TGIFColor{0, 0, 0}));

    source.Bitmap();
    TGIFSubImage again(&image);
    again.Assign(source);
    EXPECT_TRUE(again.HasBitmap()) << "a source with a bitmap gives the copy one";
    source.Assign(source);
    EXPECT_EQ(source.Extensions().Count(), 3) << "assigning a frame to itself changes nothing";
}

TEST(GIFSubImageAssign, CopyWritesTheSameBytes)
{
    TGIFImage image;
    TGIFSubImage& frame = DiagonalFrame(image, 9, 7);
    MakeTransparent(frame, 1);
    AddExtension<TGIFCommentExtension>(frame).Text.Add("x");
    TGIFImage copy;
    copy.Add(std::make_unique<TGIFSubImage>(&copy)).Assign(frame);
    EXPECT_EQ(SaveToString(copy), SaveToString(image));
}

TEST(GIFSubImageAssign, AssignToABitmapGivesTheFrameBitmap)
{
    TGIFImage image;
    TGIFSubImage& frame = DiagonalFrame(image, 5, 3);
    TGIFBitmap bitmap(1, 1, TPixelFormat::pf24bit);
    frame.AssignTo(bitmap);
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_EQ(bitmap.Palette, kFour);
    ASSERT_EQ(bitmap.Width(), 5);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(bitmap.ScanLine(y)[x], frame.Pixels(x, y));
}

// The animator's reader and writer against giflib: files made by ImageMagick,
// gifsicle and the project's other GIF library read to the same pixels, and
// whatever the animator writes giflib reads back the same.
#include "tests/images/GIFTestSupport.h"

#include "images/GIFImage.h"
#include "images/GIFStream.h"
#include "images/RxGIF.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <random>

using namespace giftest;

namespace {

void Load(RxGIF::TGIFImage& image, const std::string& bytes)
{
    TMemoryByteStream stream(bytes);
    image.LoadFromStream(stream);
}

std::string Save(RxGIF::TGIFImage& image)
{
    TMemoryByteStream out;
    image.SaveToStream(out);
    return out.Data();
}

// giflib keeps the loop count as stored; the animator caps it.
Picture Capped(Picture picture)
{
    if (picture.loops > 30000)
        picture.loops = 30000;
    return picture;
}

void ExpectSameAsGiflib(const std::string& name, const std::string& bytes)
{
    RxGIF::TGIFImage image;
    Load(image, bytes);
    const Picture reference = Capped(DescribeWithGiflib(bytes));
    EXPECT_EQ(Describe(image), reference) << name << ": read";
    EXPECT_EQ(Capped(DescribeWithGiflib(Save(image))), reference) << name << ": written again";
}

TEST(RxGIFInterop, ToolFilesReadAndWriteLikeGiflib)
{
    if (!HaveTool("convert") && !HaveTool("gifsicle"))
        GTEST_SKIP() << "neither convert nor gifsicle is installed";
    vx::test::TempDir dir;
    const std::vector<ToolFile> files = MakeToolCorpus(dir.path().string());
    ASSERT_FALSE(files.empty());
    for (const ToolFile& file : files)
        ExpectSameAsGiflib(file.name, file.bytes);
}

TEST(RxGIFInterop, FilesOfTheOtherLibraryReadLikeGiflib)
{
    struct Case {
        int bits, width, height;
        bool interlaced;
        int runLength;
    };
    const Case cases[] = {{1, 33, 7, false, 1}, {2, 16, 16, true, 3}, {4, 100, 9, false, 1},
                          {8, 64, 64, true, 1},  {8, 300, 200, false, 40}, {8, 1, 1, false, 1}};
    unsigned seed = 1;
    for (const Case& c : cases) {
        TGIFImage other;
        for (int i = 0; i < (1 << c.bits); ++i)
            other.Header().ColorMap().Add(TGIFColor{static_cast<std::uint8_t>(i * 7), static_cast<std::uint8_t>(i),
                                                    static_cast<std::uint8_t>(255 - i)});
        TGIFSubImage& frame = AddFrame(other, c.width, c.height);
        frame.SetInterlaced(c.interlaced);
        std::mt19937 random(seed++);
        int pixel = 0;
        for (size_t i = 0; i < frame.Data().size(); ++i) {
            if (i % static_cast<size_t>(c.runLength) == 0)
                pixel = static_cast<int>(random() % (1u << c.bits));
            frame.MutableData()[i] = static_cast<std::uint8_t>(pixel);
        }
        ExpectSameAsGiflib("bits " + std::to_string(c.bits), SaveToString(other));
    }
}

TEST(RxGIFInterop, EncoderOutputReadsBackThroughGiflib)
{
    // Long runs, noise and sizes that pass the 4094-code reset many times.
    struct Case {
        int width, height, colours, runLength;
    };
    const Case cases[] = {{1, 1, 2, 1}, {17, 3, 2, 1}, {256, 256, 256, 1}, {640, 480, 200, 7}, {123, 77, 16, 1000}};
    unsigned seed = 9;
    for (const Case& c : cases) {
        TGIFPalette palette;
        for (int i = 0; i < c.colours; ++i)
            palette.push_back(TGIFColor{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i * 3),
                                        static_cast<std::uint8_t>(i * 5)});
        TGIFBitmap bitmap(c.width, c.height, c.colours == 2 ? TPixelFormat::pf1bit : TPixelFormat::pf8bit);
        bitmap.Palette = palette;
        std::mt19937 random(seed++);
        int value = 0;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                if ((y * c.width + x) % c.runLength == 0)
                    value = static_cast<int>(random() % static_cast<unsigned>(c.colours));
                if (c.colours == 2)
                    bitmap.ScanLine(y)[x >> 3] |= static_cast<std::uint8_t>(value << (7 - (x & 7)));
                else
                    bitmap.ScanLine(y)[x] = static_cast<std::uint8_t>(value);
            }
        RxGIF::TGIFImage image;
        image.AddFrame(bitmap);
        image.Frame(0).SetDelay(30);
        image.Frame(0).SetDisposal(2);
        const std::string bytes = Save(image);
        const Picture written = DescribeWithGiflib(bytes);
        ASSERT_EQ(written.frames.size(), 1u);
        EXPECT_EQ(written.frames[0].delay, 3);
        EXPECT_EQ(written.frames[0].disposal, 2);
        EXPECT_EQ(written, Describe(image)) << c.width << "x" << c.height;
        RxGIF::TGIFImage again;
        Load(again, bytes);
        EXPECT_EQ(Describe(again), written);
    }
}

} // namespace

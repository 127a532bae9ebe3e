// Reading files made by other GIF tools and writing files that giflib reads back identically.
#include "tests/images/GIFTestSupport.h"

#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <random>

using namespace giftest;

namespace {

// An image of the given frames with random pixels below 2^bits, on a global table.
std::unique_ptr<TGIFImage> RandomImage(int bits, int width, int height, bool interlaced, unsigned seed,
                                       int runLength = 1)
{
    auto image = std::make_unique<TGIFImage>();
    for (int i = 0; i < (1 << bits); ++i)
        image->Header().ColorMap().Add(TGIFColor{static_cast<std::uint8_t>(i * 37), static_cast<std::uint8_t>(i),
                                                 static_cast<std::uint8_t>(255 - i)});
    TGIFSubImage& frame = image->Add(std::make_unique<TGIFSubImage>(image.get()));
    frame.SetBounds(0, 0, width, height);
    frame.SetInterlaced(interlaced);
    std::mt19937 random(seed);
    int pixel = 0;
    for (size_t i = 0; i < frame.Data().size(); ++i) {
        if (i % static_cast<size_t>(runLength) == 0)
            pixel = static_cast<int>(random() % (1u << bits));
        frame.MutableData()[i] = static_cast<std::uint8_t>(pixel);
    }
    return image;
}

void ExpectRoundTrip(TGIFImage& image, const std::string& what)
{
    const Picture original = Describe(image);
    const std::string bytes = SaveToString(image);
    EXPECT_EQ(DescribeWithGiflib(bytes), original) << what << ": giflib reads something else";
    TGIFImage again;
    LoadFromString(again, bytes);
    EXPECT_EQ(Describe(again), original) << what << ": our reader reads something else";
}

class GIFToolFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveTool("convert") && !HaveTool("gifsicle"))
            GTEST_SKIP() << "neither convert nor gifsicle is installed";
        files_ = MakeToolCorpus(dir_.path().string());
        ASSERT_FALSE(files_.empty());
        if (HaveTool("convert") && HaveTool("gifsicle")) {
            ASSERT_EQ(files_.size(), 11u) << "a tool failed to make its file";
        }
    }
    vx::test::TempDir dir_;
    std::vector<ToolFile> files_;
};

} // namespace

TEST_F(GIFToolFiles, ReadTheSameAsGiflib)
{
    for (const ToolFile& file : files_) {
        TGIFImage image;
        std::vector<std::string> warnings;
        image.OnWarning = [&](TGIFItem*, TGIFSeverity, const std::string& m) { warnings.push_back(m); };
        LoadFromString(image, file.bytes);
        EXPECT_TRUE(warnings.empty()) << file.name << ": " << (warnings.empty() ? "" : warnings[0]);
        const Picture ours = Describe(image);
        EXPECT_EQ(ours, DescribeWithGiflib(file.bytes)) << file.name;
        EXPECT_FALSE(ours.frames.empty()) << file.name;
    }
}

TEST_F(GIFToolFiles, WriteWhatGiflibReadsBackIdentically)
{
    for (const ToolFile& file : files_)
        for (int compression : {0, 1}) {
            TGIFImage image;
            LoadFromString(image, file.bytes);
            image.Compression = static_cast<std::uint8_t>(compression);
            ExpectRoundTrip(image, file.name + " compression " + std::to_string(compression));
        }
}

TEST_F(GIFToolFiles, CoverAnimationInterlaceTransparencyAndBothVersions)
{
    bool animated = false, interlaced = false, transparent = false, v87 = false, v89 = false, loops = false;
    for (const ToolFile& file : files_) {
        TGIFImage image;
        LoadFromString(image, file.bytes);
        animated |= image.Images().Count() > 1;
        loops |= Describe(image).loops >= 0;
        v87 |= file.bytes.compare(0, 6, "GIF87a") == 0;
        v89 |= file.bytes.compare(0, 6, "GIF89a") == 0;
        for (int i = 0; i < image.Images().Count(); ++i) {
            interlaced |= image.Images().SubImage(i).Interlaced();
            transparent |= image.Images().SubImage(i).Transparent();
        }
    }
    if (!HaveTool("convert") || !HaveTool("gifsicle"))
        GTEST_SKIP() << "part of the corpus needs the missing tool";
    EXPECT_TRUE(animated && interlaced && transparent && v87 && v89 && loops);
}

TEST(GIFRoundTrip, EveryBitDepthAndSizeWithBothEncoders)
{
    unsigned seed = 1;
    for (int bits = 1; bits <= 8; ++bits)
        for (auto [w, h] : {std::pair{1, 1}, {3, 2}, {17, 5}, {64, 64}})
            for (int compression : {0, 1})
                for (int run : {1, 7}) {
                    auto image = RandomImage(bits, w, h, false, seed++, run);
                    image->Compression = static_cast<std::uint8_t>(compression);
                    ExpectRoundTrip(*image, "bits " + std::to_string(bits) + " size " + std::to_string(w) + "x" +
                                                std::to_string(h) + " compression " + std::to_string(compression));
                }
}

TEST(GIFRoundTrip, InterlacedFramesOfEveryShortHeightKeepEveryRow)
{
    for (int height = 1; height <= 9; ++height)
        for (int compression : {0, 1}) {
            auto image = RandomImage(4, 5, height, true, static_cast<unsigned>(height));
            image->Compression = static_cast<std::uint8_t>(compression);
            ExpectRoundTrip(*image, "interlaced height " + std::to_string(height));
            EXPECT_TRUE(image->Images().SubImage(0).Interlaced());
        }
}

TEST(GIFRoundTrip, LargeNoisyFramesForceClearCodes)
{
    // Random 8-bit noise makes a new string for nearly every pixel: thousands of
    // strings, so the table fills and the encoder must clear it several times.
    for (int compression : {0, 1}) {
        auto image = RandomImage(8, 300, 200, false, 99);
        image->Compression = static_cast<std::uint8_t>(compression);
        ExpectRoundTrip(*image, "noise");
    }
    // Long runs exercise the run-length encoder's table reuse and its clears.
    for (int run : {2, 3, 50, 1000, 100000}) {
        auto image = RandomImage(3, 400, 300, false, 5, run);
        image->Compression = 1;
        ExpectRoundTrip(*image, "runs of " + std::to_string(run));
    }
}

TEST(GIFRoundTrip, AnimationKeepsDelaysDisposalTransparencyAndLoops)
{
    TGIFImage image;
    image.Header().ColorMap().ImportPalette({{0, 0, 0}, {255, 0, 0}, {0, 255, 0}});
    for (int i = 0; i < 3; ++i) {
        auto frame = std::make_unique<TGIFSubImage>(&image);
        auto* gce = new TGIFGraphicControlExtension(*frame);
        frame->Extensions().Add(std::unique_ptr<TGIFExtension>(gce));
        frame->SetBounds(i, i * 2, 6, 4);
        std::fill(frame->MutableData().begin(), frame->MutableData().end(), static_cast<std::uint8_t>(i));
        gce->SetDelay(static_cast<std::uint16_t>(10 * (i + 1)));
        gce->SetDisposal(i);
        gce->SetTransparent(i == 1);
        gce->SetTransparentColorIndex(2);
        image.Add(std::move(frame));
    }
    ExpectRoundTrip(image, "animation");
}

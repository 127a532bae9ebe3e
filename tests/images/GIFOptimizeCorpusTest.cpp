// The optimiser on the benchmarks' corpora and on the animator's own files:
// every file shows the same animation afterwards, composed by giflib as a
// browser composes it, and the files shrink as far as gifsicle -O3 takes them.
#include "bench/GIFCorpus.h"
#include "bench/GIFMagickCorpus.h"
#include "tests/images/GIFTestSupport.h"
#include "tests/support/TempDir.h"

#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace giftest;

namespace {

// The size gifsicle -O3 gives the file; -1 when gifsicle is missing.
std::int64_t GifsicleSize(const std::string& bytes)
{
    if (!HaveTool("gifsicle"))
        return -1;
    vx::test::TempDir dir;
    const std::string in = dir.file("in.gif"), out = dir.file("out.gif");
    vx::test::writeFile(in, bytes);
    if (std::system(("gifsicle -O3 '" + in + "' -o '" + out + "' 2>/dev/null").c_str()) != 0)
        return -1;
    return static_cast<std::int64_t>(std::filesystem::file_size(out));
}

// ImageMagick's corpus, made once for the tests that read it; empty without convert.
const std::vector<gifcorpus::File>& MagickFiles()
{
    static const std::vector<gifcorpus::File> files = [] {
        if (!gifcorpus::HaveConvert())
            return std::vector<gifcorpus::File>{};
        vx::test::TempDir dir;
        return gifcorpus::MagickFiles(dir.path().string());
    }();
    return files;
}

TEST(GIFOptimizeCorpus, EveryFileShowsTheSameUnderEveryOption)
{
    const std::uint8_t options[] = {ooAll, ooAll & ~ooMerge, ooCrop, ooMerge, ooColorMap};
    for (const gifcorpus::File& file : gifcorpus::Files()) {
        const Animation shown = ComposeWithGiflib(file.bytes);
        ASSERT_FALSE(shown.pictures.empty()) << file.name;
        for (std::uint8_t o : options)
            EXPECT_EQ(ComposeWithGiflib(Optimized(file.bytes, o)), shown) << file.name << ", options " << int(o);
    }
}

TEST(GIFOptimizeCorpus, EveryImageMagickFileShowsTheSame)
{
    if (MagickFiles().empty())
        GTEST_SKIP() << "convert is not installed";
    EXPECT_EQ(MagickFiles().size(), 30u);
    for (const gifcorpus::File& file : MagickFiles()) {
        const Animation shown = ComposeWithGiflib(file.bytes);
        ASSERT_FALSE(shown.pictures.empty()) << file.name;
        EXPECT_EQ(ComposeWithGiflib(Optimized(file.bytes, ooAll)), shown) << file.name;
    }
}

TEST(GIFOptimizeCorpus, EachCorpusShrinksAsFarAsGifsicleTakesIt)
{
    if (!HaveTool("gifsicle"))
        GTEST_SKIP() << "gifsicle is not installed";
    const std::vector<gifcorpus::File> own = gifcorpus::Files();
    const std::pair<const char*, const std::vector<gifcorpus::File>*> corpora[] = {{"own", &own},
                                                                                   {"ImageMagick's", &MagickFiles()}};
    for (const auto& [name, files] : corpora) {
        std::int64_t ours = 0, theirs = 0;
        for (const gifcorpus::File& file : *files) {
            ours += static_cast<std::int64_t>(Optimized(file.bytes, ooAll).size());
            theirs += GifsicleSize(file.bytes);
        }
        EXPECT_LE(ours, theirs) << name;
    }
}

TEST(GIFOptimizeCorpus, TheAnimatorsThreeColourFramesShrinkToGifsiclesSize)
{
    const std::string original = gifcorpus::AnimatorColours(40, 30, {{255, 0, 0}, {0, 128, 0}, {0, 0, 255}});
    const Picture before = DescribeWithGiflib(original);
    ASSERT_EQ(before.frames.size(), 3u);
    ASSERT_GT(original.size(), 2000u) << "a global and two local tables of 256 entries";
    const std::string optimized = Optimized(original, ooAll);
    EXPECT_EQ(ComposeWithGiflib(optimized), ComposeWithGiflib(original));
    TGIFImage image;
    LoadFromString(image, optimized);
    EXPECT_LE(image.Header().ColorMap().Count(), 4) << "the three colours on one table";
    for (int i = 0; i < image.Images().Count(); ++i)
        EXPECT_EQ(image.Images().SubImage(i).ColorMap().Count(), 0) << "frame " << i << " keeps no table of its own";
    const std::int64_t gifsicle = GifsicleSize(original);
    if (gifsicle < 0)
        GTEST_SKIP() << "gifsicle is not installed";
    EXPECT_LE(static_cast<std::int64_t>(optimized.size()), gifsicle);
}

// Pixels of one colour per frame: the frame before (index - 1) and the block
// the frame changes, at left, top.
std::string Still(const std::vector<int>& changed, int delay)
{
    TGIFImage image;
    for (const TGIFColor& c : Colours(4))
        image.Header().ColorMap().Add(c);
    for (size_t f = 0; f < changed.size(); ++f) {
        TGIFSubImage& frame = AddControlledFrame(image, 0, 0, 8, 6, delay, 1);
        std::fill(frame.MutableData().begin(), frame.MutableData().end(), 0);
        for (int y = 2; y < 4; ++y)
            for (int x = 3; x < 6; ++x)
                frame.ScanLine(y)[x] = static_cast<std::uint8_t>(changed[f]);
    }
    return SaveToString(image);
}

TEST(GIFOptimizeCorpus, FramesShrinkToWhatChangesAndRepeatsJoinTheFrameBefore)
{
    // Frames 1 and 3 change the block; frame 2 repeats frame 1.
    const std::string original = Still({1, 2, 2, 3}, 25);
    TGIFImage image;
    LoadFromString(image, original);
    image.Optimize(ooCrop, 0, 0, 8);
    ASSERT_EQ(image.Images().Count(), 3);
    const TGIFSubImage& changed = image.Images().SubImage(1);
    EXPECT_EQ((std::vector<int>{changed.Left(), changed.Top(), changed.Width(), changed.Height()}),
              (std::vector<int>{3, 2, 3, 2}));
    EXPECT_FALSE(changed.GraphicControlExtension()->Transparent()) << "cropping adds no transparency";
    EXPECT_EQ(changed.GraphicControlExtension()->Delay(), 50) << "the repeat's time joined it";
    EXPECT_EQ(ComposeWithGiflib(SaveToString(image)), ComposeWithGiflib(original));
}

TEST(GIFOptimizeCorpus, IdenticalPalettesBecomeTheGlobalOne)
{
    const std::string original = gifcorpus::SamePalettes(40, 20, 4);
    TGIFImage image;
    LoadFromString(image, original);
    ASSERT_GT(image.Images().SubImage(1).ColorMap().Count(), 0);
    image.Optimize(ooColorMap, 0, 0, 8);
    for (int i = 0; i < image.Images().Count(); ++i)
        EXPECT_EQ(image.Images().SubImage(i).ColorMap().Count(), 0) << "frame " << i;
    EXPECT_EQ(image.Header().ColorMap().Count(), 10) << "the colours the frames show";
    EXPECT_EQ(ComposeWithGiflib(SaveToString(image)), ComposeWithGiflib(original));
}

} // namespace

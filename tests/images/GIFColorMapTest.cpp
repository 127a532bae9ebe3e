// Colour tables: growth, limits, search order, use counts and optimisation.
#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"

#include <gtest/gtest.h>

namespace {

TGIFColor Grey(int v)
{
    return TGIFColor{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v)};
}

} // namespace

TEST(GIFColorMap, CapacityGrowsInStepsAndStopsAt256)
{
    TGIFSubImage frame(nullptr);
    TGIFColorMap& map = frame.ColorMap();
    EXPECT_EQ(map.Capacity(), 0);
    map.Add(Grey(1));
    EXPECT_EQ(map.Capacity(), 16);
    map.SetColors(16, Grey(2));
    EXPECT_EQ(map.Capacity(), 32);
    EXPECT_EQ(map.Count(), 17);
    map.SetColors(40, Grey(3));
    EXPECT_EQ(map.Capacity(), 64);
    map.SetColors(255, Grey(4));
    EXPECT_EQ(map.Capacity(), 256);
    try {
        map.Add(Grey(5));
        ADD_FAILURE();
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Color table overflow");
    }
}

TEST(GIFColorMap, IndexErrorsAndWarnings)
{
    TGIFImage image;
    std::vector<std::string> warnings;
    image.OnWarning = [&](TGIFItem*, TGIFSeverity, const std::string& m) { warnings.push_back(m); };
    TGIFColorMap& map = image.Header().ColorMap();
    try {
        map.Colors(0);
        ADD_FAILURE();
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Color table is empty");
    }
    map.ImportPalette({Grey(10), Grey(20), Grey(30)});
    EXPECT_EQ(map.Colors(7), Grey(10));
    EXPECT_EQ(warnings, std::vector<std::string>{"Invalid color index"});
    EXPECT_THROW(map.Delete(3), GIFException);
    map.Delete(0);
    EXPECT_EQ(map.Count(), 2);
    EXPECT_EQ(map.Colors(0), Grey(20));
    EXPECT_EQ(map.BitsPerPixel(), 1);
    map.Add(Grey(40));
    EXPECT_EQ(map.BitsPerPixel(), 2);
    EXPECT_EQ(TGIFColorMap::BitsFor(0), 0);
    EXPECT_EQ(TGIFColorMap::BitsFor(5), 3);
    EXPECT_EQ(TGIFColorMap::BitsFor(256), 8);
}

TEST(GIFColorMap, SearchDirectionDependsOnOptimisation)
{
    TGIFSubImage frame(nullptr);
    TGIFColorMap& map = frame.ColorMap();
    map.ImportPalette({Grey(1), Grey(2), Grey(1)});
    EXPECT_EQ(map.IndexOf(Grey(1)), 2);
    map.SetOptimized(true);
    EXPECT_EQ(map.IndexOf(Grey(1)), 0);
    EXPECT_EQ(map.IndexOf(Grey(9)), -1);
    EXPECT_EQ(map.AddUnique(Grey(2)), 1);
    EXPECT_TRUE(map.Optimized()) << "finding changes nothing";
    EXPECT_EQ(map.AddUnique(Grey(9)), 3);
    EXPECT_FALSE(map.Optimized()) << "adding does";
    const std::uint8_t quads[8] = {1, 2, 3, 0, 4, 5, 6, 0};
    map.ImportDIBColors(quads, 2);
    EXPECT_EQ(map.Colors(1), (TGIFColor{6, 5, 4}));
}

TEST(GIFColorMap, OptimiseSortsByUseRemapsAndCutsTheUnused)
{
    TGIFImage image;
    image.Header().ColorMap().ImportPalette({Grey(0), Grey(1), Grey(2), Grey(3)});
    EXPECT_FALSE(image.Header().ColorMap().Optimize()) << "no frames: the global table is left alone";
    TGIFSubImage& a = image.Add(std::make_unique<TGIFSubImage>(&image));
    a.SetBounds(0, 0, 4, 1);
    a.MutableData() = {2, 2, 3, 2};
    auto gce = std::make_unique<TGIFGraphicControlExtension>(a);
    gce->SetTransparent(true);
    gce->SetTransparentColorIndex(3);
    a.Extensions().Add(std::move(gce));
    TGIFSubImage& b = image.Add(std::make_unique<TGIFSubImage>(&image));
    b.SetBounds(0, 0, 2, 1);
    b.MutableData() = {3, 2};
    TGIFSubImage& local = image.Add(std::make_unique<TGIFSubImage>(&image));
    local.SetBounds(0, 0, 2, 1);
    local.ColorMap().ImportPalette({Grey(7), Grey(8)});
    local.MutableData() = {1, 1};

    ASSERT_TRUE(image.Header().ColorMap().Optimize());
    const TGIFColorMap& global = image.Header().ColorMap();
    EXPECT_TRUE(global.Optimized());
    ASSERT_EQ(global.Count(), 2);
    EXPECT_EQ(global.Data()[0], Grey(2));
    EXPECT_EQ(global.Data()[1], Grey(3));
    EXPECT_EQ(a.Data(), (std::vector<std::uint8_t>{0, 0, 1, 0}));
    EXPECT_EQ(b.Data(), (std::vector<std::uint8_t>{1, 0}));
    EXPECT_EQ(a.GraphicControlExtension()->TransparentColorIndex(), 1);
    EXPECT_EQ(local.Data(), (std::vector<std::uint8_t>{1, 1})) << "frames on their own table are not touched";
    EXPECT_EQ(image.Version(), 2);

    ASSERT_TRUE(local.ColorMap().Optimize());
    EXPECT_EQ(local.Data(), (std::vector<std::uint8_t>{0, 0}));
    EXPECT_EQ(local.ColorMap().Count(), 1);
    EXPECT_FALSE(local.ColorMap().Optimize()) << "one entry is left alone";
}

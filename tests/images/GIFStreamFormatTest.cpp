// The block layout the library writes, what it accepts when reading, and its messages.
#include "tests/images/GIFTestSupport.h"

#include "images/GIFAppExtension.h"
#include "images/GIFExtensionRegistry.h"
#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"
#include "images/GIFStream.h"
#include "images/GIFTextExtension.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace giftest;

namespace {

// A 2x2 frame of pixels 0..3 on a 4-colour global table.
std::string SmallGif(bool trailer = true)
{
    BitPacker codes;
    for (int code : {4, 0, 1, 2})
        codes.Put(code, 3);
    // The third code filled entry 7, so codes grow to 4 bits.
    codes.Put(3, 4);
    codes.Put(5, 4);
    return MakeGif(2, 2, codes.ImageData(2), trailer);
}

// Inserts raw blocks in front of the image descriptor of SmallGif.
std::string WithBlocks(const std::string& blocks)
{
    std::string gif = SmallGif();
    gif.insert(13 + 12, blocks);
    return gif;
}

struct Loaded {
    TGIFImage image;
    std::vector<std::string> warnings;
    explicit Loaded(const std::string& bytes)
    {
        image.OnWarning = [this](TGIFItem*, TGIFSeverity, const std::string& m) { warnings.push_back(m); };
        LoadFromString(image, bytes);
    }
};

std::string LoadError(const std::string& bytes)
{
    TGIFImage image;
    try {
        LoadFromString(image, bytes);
    } catch (const GIFException& e) {
        return e.what();
    }
    return "";
}

} // namespace

// The signature may follow four bytes but not five and is read in any case,
// the version whatever it is; a header that no frame or trailer follows is
// damaged data.
TEST(GIFStreamFormat, WhatTheHeaderAndTheFirstBlockMayBe)
{
    const std::string header = SmallGif().substr(0, 13 + 12);
    const std::pair<std::string, std::string> cases[] = {
        {"\x01\x02\x03\x04" + SmallGif(), ""},
        {"gif89A" + SmallGif().substr(6), ""},
        {"GIF87a" + SmallGif().substr(6), ""},
        {header + ";", ""},
        {"\x01\x02\x03\x04\x05" + SmallGif(), "Invalid GIF signature"},
        {"GIF90a" + SmallGif().substr(6), ""},
        {header + " not a picture", "Invalid GIF data"},
        {header, "Invalid GIF data"},
        {header + std::string(3, '\0'), "Invalid GIF data"},
    };
    for (const auto& [bytes, error] : cases)
        EXPECT_EQ(LoadError(bytes), error) << bytes;
    EXPECT_EQ(Loaded("\x01\x02\x03\x04" + SmallGif()).image.Images().Count(), 1);
}

TEST(GIFStreamFormat, ZeroBytesBetweenBlocksAndMissingTrailerAreAccepted)
{
    std::string gif = SmallGif(false);
    Loaded noTrailer(gif);
    EXPECT_EQ(noTrailer.image.Images().Count(), 1);
    EXPECT_TRUE(noTrailer.warnings.empty());
    gif += std::string(3, '\0') + gif.substr(13 + 12) + ";";
    Loaded padded(gif);
    EXPECT_EQ(padded.image.Images().Count(), 2);
    EXPECT_EQ(padded.image.Images().SubImage(1).Data(), (std::vector<std::uint8_t>{0, 1, 2, 3}));
}

TEST(GIFStreamFormat, UnknownBlocksAndTrailersWarn)
{
    std::string gif = SmallGif(false) + "\x99";
    Loaded loaded(gif);
    EXPECT_EQ(loaded.image.Images().Count(), 1);
    EXPECT_EQ(loaded.warnings, (std::vector<std::string>{"Unknown GIF block type", "Invalid Image trailer"}));
}

TEST(GIFStreamFormat, UnregisteredApplicationDataSurvivesByteForByte)
{
    const std::string block = std::string("\x21\xFF\x0B", 3) + "XMP DataXMP" + "\x03" + "abc" + "\x01" + "z" + '\0';
    Loaded loaded(WithBlocks(block));
    auto* unknown = dynamic_cast<TGIFUnknownAppExtension*>(&loaded.image.Images().SubImage(0).Extensions().Extension(0));
    ASSERT_NE(unknown, nullptr);
    ASSERT_EQ(unknown->Blocks.size(), 2u);
    EXPECT_NE(SaveToString(loaded.image).find(block), std::string::npos);
}

TEST(GIFStreamFormat, LoopExtensionsKeepTheirIdentifierAndCount)
{
    for (const char* id : {"NETSCAPE2.0", "ANIMEXTS1.0"}) {
        const std::string block = std::string("\x21\xFF\x0B", 3) + id + std::string("\x03\x01\x07\x00\x00", 5);
        Loaded loaded(WithBlocks(block));
        auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(&loaded.image.Images().SubImage(0).Extensions().Extension(0));
        ASSERT_NE(loop, nullptr) << id;
        EXPECT_EQ(loop->Loops, 7);
        EXPECT_NE(SaveToString(loaded.image).find(block), std::string::npos) << id;
    }
    // A buffer-size sub-block is read and written back only when non-zero.
    const std::string withBuffer =
        std::string("\x21\xFF\x0B", 3) + "NETSCAPE2.0" + std::string("\x03\x01\x00\x00\x05\x02\x10\x20\x00\x00\x00", 11);
    Loaded buffered(WithBlocks(withBuffer));
    auto& loop = dynamic_cast<TGIFAppExtNSLoop&>(buffered.image.Images().SubImage(0).Extensions().Extension(0));
    EXPECT_EQ(loop.BufferSize, 0x2010u);
    EXPECT_NE(SaveToString(buffered.image).find(withBuffer), std::string::npos);
}

TEST(GIFStreamFormat, ApplicationBlockSizes)
{
    const std::string data = std::string("\x02xy", 3) + '\0';
    EXPECT_EQ(LoadError(WithBlocks(std::string("\x21\xFF\x05", 3) + "ABCDE" + data)),
              "Unsupported Application Extension block size");
    // A block of 12 is kept as a bare application extension; reading goes on after its data.
    Loaded twelve(WithBlocks(std::string("\x21\xFF\x0C", 3) + "NETSCAPE2.0+" + data));
    ASSERT_EQ(twelve.image.Images().SubImage(0).Extensions().Count(), 1);
    EXPECT_EQ(twelve.image.Images().SubImage(0).Data(), (std::vector<std::uint8_t>{0, 1, 2, 3}));
    // A block of 10 reads as an unknown application.
    Loaded ten(WithBlocks(std::string("\x21\xFF\x0A", 3) + "ABCDEFGHIJ" + data));
    EXPECT_NE(dynamic_cast<TGIFUnknownAppExtension*>(&ten.image.Images().SubImage(0).Extensions().Extension(0)),
              nullptr);
    EXPECT_EQ(ten.image.Images().SubImage(0).Data(), (std::vector<std::uint8_t>{0, 1, 2, 3}));
    // A loop sub-block too short for its count.
    EXPECT_EQ(LoadError(WithBlocks(std::string("\x21\xFF\x0B", 3) + "NETSCAPE2.0" + std::string("\x02\x01\x05\x00", 4))),
              "Invalid GIF data");
}

TEST(GIFStreamFormat, ExtensionErrors)
{
    EXPECT_EQ(LoadError(WithBlocks(std::string("\x21\x55\x00", 3))), "Unknown extension type");
    // A stray byte where an extension should start warns, then the extension refuses it.
    TGIFImage image;
    std::vector<std::string> warnings;
    image.OnWarning = [&](TGIFItem*, TGIFSeverity, const std::string& m) { warnings.push_back(m); };
    TMemoryByteStream stream(WithBlocks(std::string("\x21\xFE\x00\x07\xFE\x00", 6)));
    EXPECT_THROW(image.LoadFromStream(stream), GIFException);
    EXPECT_EQ(warnings, std::vector<std::string>{"Invalid extension introducer"});
    EXPECT_EQ(stream.Position(), 0) << "a failed load leaves the stream where it began";

    TGIFSubImage frame(nullptr);
    TGIFCommentExtension comment(frame);
    TMemoryByteStream wrongLabel(std::string("\x21\xF9\x00", 3));
    try {
        comment.LoadFromStream(wrongLabel);
        ADD_FAILURE();
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Internal error: Extension Instance does not match Extension Label");
    }
}

TEST(GIFStreamFormat, ShortGraphicControlBlockWarns)
{
    std::string gif = SmallGif(false);
    gif += std::string("\x21\xF9\x04\x01", 4);
    Loaded loaded(gif);
    EXPECT_EQ(loaded.image.Images().Count(), 2);
    EXPECT_FALSE(loaded.image.Images().SubImage(1).Transparent());
    EXPECT_NE(std::find(loaded.warnings.begin(), loaded.warnings.end(), "Premature end of data"), loaded.warnings.end());
}

TEST(GIFStreamFormat, CommentsSplitLongLinesAndDropEmptyOnes)
{
    TGIFImage image;
    TGIFSubImage& frame = AddFrame(image, 1, 1);
    image.Header().ColorMap().Add({});
    auto& comment = AddExtension<TGIFCommentExtension>(frame);
    comment.Text.Add(std::string(600, 'x'));
    comment.Text.Add("");
    comment.Text.Add("end");
    auto& text = AddExtension<TGIFTextExtension>(frame);
    text.GridWidth = 300;
    text.CharHeight = 9;
    text.Text.Add("plain");
    Loaded loaded(SaveToString(image));
    const auto& extensions = loaded.image.Images().SubImage(0).Extensions();
    const auto& lines = dynamic_cast<const TGIFCommentExtension&>(extensions.Extension(0)).Text;
    ASSERT_EQ(lines.Count(), 4);
    EXPECT_EQ(lines[0].size(), 255u);
    EXPECT_EQ(lines[1].size(), 255u);
    EXPECT_EQ(lines[2].size(), 90u);
    EXPECT_EQ(lines[3], "end");
    const auto& plain = dynamic_cast<const TGIFTextExtension&>(extensions.Extension(1));
    EXPECT_EQ(plain.GridWidth, 300);
    EXPECT_EQ(plain.CharHeight, 9);
    EXPECT_EQ(plain.Text[0], "plain");
}

TEST(GIFStreamFormat, VersionFollowsTheFrames)
{
    TGIFImage image;
    EXPECT_THROW(
        {
            try {
                SaveToString(image);
            } catch (const GIFException& e) {
                EXPECT_STREQ(e.what(), "Unsupported GIF version");
                throw;
            }
        },
        GIFException);
    image.Header().ColorMap().ImportPalette({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    TGIFSubImage& frame = AddFrame(image, 3, 1);
    EXPECT_EQ(SaveToString(image).substr(0, 6), "GIF87a");
    AddExtension<TGIFGraphicControlExtension>(frame);
    const std::string bytes = SaveToString(image);
    EXPECT_EQ(bytes.substr(0, 6), "GIF89a");
    // The global table of three colours is padded to the four its size field declares.
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[10]) & 0x87, 0x81);
    EXPECT_EQ(bytes.substr(13, 12), std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x00\x00\x00", 12));
}

TEST(GIFStreamFormat, InterlaceIsDroppedOnlyForFramesWithALocalTable)
{
    TGIFImage image;
    image.Header().ColorMap().ImportPalette({{0, 0, 0}, {9, 9, 9}});
    TGIFSubImage& global = AddFrame(image, 2, 5);
    global.SetInterlaced(true);
    TGIFSubImage& local = image.Add(std::make_unique<TGIFSubImage>(&image));
    local.SetBounds(0, 0, 2, 5);
    local.SetInterlaced(true);
    local.ColorMap().ImportPalette({{1, 1, 1}, {2, 2, 2}, {3, 3, 3}});
    local.SetPixels(1, 4, 2);
    Loaded loaded(SaveToString(image));
    EXPECT_TRUE(loaded.image.Images().SubImage(0).Interlaced());
    EXPECT_FALSE(loaded.image.Images().SubImage(1).Interlaced());
    EXPECT_EQ(loaded.image.Images().SubImage(1).Pixels(1, 4), 2);
    EXPECT_EQ(loaded.image.Images().SubImage(1).ColorMap().Count(), 4);
}

TEST(GIFStreamFormat, EmptyFrameWritesNoGraphicControlForTheNextFrame)
{
    TGIFImage image;
    image.Header().ColorMap().ImportPalette({{0, 0, 0}, {9, 9, 9}});
    TGIFSubImage& carrier = image.Add(std::make_unique<TGIFSubImage>(&image));
    auto& gce = AddExtension<TGIFGraphicControlExtension>(carrier);
    gce.SetDelay(50);
    gce.SetTransparent(true);
    AddExtension<TGIFCommentExtension>(carrier).Text.Add("kept");
    AddFrame(image, 2, 2);
    const std::string bytes = SaveToString(image);
    EXPECT_EQ(bytes.find("\x21\xF9"), std::string::npos);
    Loaded loaded(bytes);
    ASSERT_EQ(loaded.image.Images().Count(), 1);
    EXPECT_EQ(loaded.image.Images().SubImage(0).GraphicControlExtension(), nullptr);
    EXPECT_EQ(loaded.image.Images().SubImage(0).Extensions().Count(), 1) << "the comment stays";
    EXPECT_EQ(DescribeWithGiflib(bytes).frames.at(0).delay, 0);
}

TEST(GIFStreamFormat, ZeroSizedDescriptorTakesTheScreenSize)
{
    std::string gif = SmallGif();
    gif[13 + 12 + 5] = 0; // frame width 0
    gif[13 + 12 + 7] = 0; // frame height 0
    Loaded loaded(gif);
    EXPECT_EQ(loaded.warnings, std::vector<std::string>{"Image exceeds Logical Screen size"});
    EXPECT_EQ(loaded.image.Images().SubImage(0).Width(), 2);
    EXPECT_EQ(loaded.image.Images().SubImage(0).Data(), (std::vector<std::uint8_t>{0, 1, 2, 3}));
}

TEST(GIFStreamFormat, FrameOutsideTheScreenGrowsItWithWarnings)
{
    std::string gif = SmallGif();
    gif[13 + 12 + 1] = 3; // frame left 3 on a screen 2 wide
    Loaded loaded(gif);
    EXPECT_EQ(loaded.warnings, (std::vector<std::string>{"Image width too small for contained frames",
                                                         "Image exceeds Logical Screen size"}));
    EXPECT_EQ(loaded.image.Width(), 5);
    EXPECT_EQ(loaded.image.Images().SubImage(0).Data(), (std::vector<std::uint8_t>{0, 1, 2, 3}));
}

TEST(GIFSubImage, BoundsGrowTheScreenAndResizeThePixels)
{
    TGIFImage image;
    std::vector<std::string> warnings;
    image.OnWarning = [&](TGIFItem*, TGIFSeverity, const std::string& m) { warnings.push_back(m); };
    TGIFSubImage& frame = AddFrame(image, 4, 3);
    EXPECT_TRUE(warnings.empty()) << "an unset screen just takes the frame's size";
    EXPECT_EQ(image.Width(), 4);
    frame.SetPixels(3, 2, 7);
    frame.SetLeft(2);
    EXPECT_EQ(frame.Pixels(3, 2), 7) << "moving keeps the pixels";
    EXPECT_EQ(warnings, (std::vector<std::string>{"Image width too small for contained frames",
                                                  "Image exceeds Logical Screen size"}));
    EXPECT_EQ(image.Width(), 6);
    frame.SetHeight(5);
    EXPECT_EQ(frame.Pixels(3, 2), 0) << "a new size starts with fresh pixels";
    EXPECT_EQ(image.Height(), 5);
    EXPECT_THROW(image.SetWidth(5), GIFException);
    EXPECT_THROW(image.SetHeight(4), GIFException);
    image.SetWidth(10);
    EXPECT_EQ(image.Width(), 10);
    EXPECT_THROW(frame.Pixels(4, 0), GIFException);
    EXPECT_THROW(frame.ScanLine(-1), GIFException);
    EXPECT_THROW(frame.SetBounds(0, 0, 40000, 1), GIFException);
    TGIFSubImage empty(&image);
    try {
        empty.Pixels(0, 0);
        ADD_FAILURE();
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Image is empty");
    }
}

TEST(GIFSubImage, GraphicControlExtensionGovernsTransparency)
{
    TGIFImage image;
    std::vector<std::string> warnings;
    image.OnWarning = [&](TGIFItem*, TGIFSeverity, const std::string& m) { warnings.push_back(m); };
    TGIFSubImage& frame = AddFrame(image, 1, 1);
    frame.ColorMap().ImportPalette({{0, 0, 0}, {1, 1, 1}});
    auto& gce = AddExtension<TGIFGraphicControlExtension>(frame);
    auto& second = AddExtension<TGIFGraphicControlExtension>(frame);
    EXPECT_EQ(frame.GraphicControlExtension(), &gce);
    second.SetTransparent(true);
    EXPECT_FALSE(frame.Transparent()) << "only the first one is in force";
    gce.SetTransparent(true);
    EXPECT_TRUE(frame.Transparent());
    gce.SetTransparentColorIndex(5);
    EXPECT_EQ(warnings, std::vector<std::string>{"Invalid color index"});
    EXPECT_EQ(gce.TransparentColorIndex(), 0);
    gce.SetTransparentColorIndex(1);
    EXPECT_EQ(gce.TransparentColorIndex(), 1);
    frame.Extensions().Delete(0);
    EXPECT_FALSE(frame.Transparent());
    EXPECT_EQ(frame.GraphicControlExtension(), nullptr);
}

TEST(GIFStreams, GIFStreamRefusesAndWriterChopsSubBlocks)
{
    TGIFStream refusing(nullptr);
    char byte = 0;
    EXPECT_THROW(refusing.Read(&byte, 1), GIFException);
    EXPECT_THROW(refusing.Write(&byte, 1), GIFException);
    EXPECT_THROW(refusing.Seek(0, TSeekOrigin::soBeginning), GIFException);

    TMemoryByteStream target;
    TGIFWriter writer(target, nullptr);
    const std::string data(300, 'q');
    writer.Write(data.data(), 300);
    writer.Close();
    ASSERT_EQ(target.Data().size(), 302u);
    EXPECT_EQ(static_cast<std::uint8_t>(target.Data()[0]), 255);
    EXPECT_EQ(static_cast<std::uint8_t>(target.Data()[256]), 45);

    TMemoryByteStream shortStream(std::string("ab"));
    char buffer[3];
    EXPECT_THROW(ReadCheck(shortStream, buffer, 3), GIFException);
}

namespace {
struct TProbeExtension : TGIFCommentExtension {
    using TGIFCommentExtension::TGIFCommentExtension;
    static const TGIFExtensionClass& Class(std::uint8_t label)
    {
        static TGIFExtensionClass first{"first", 0, nullptr, nullptr};
        static TGIFExtensionClass second{"second", 0, nullptr, nullptr};
        first.Label = second.Label = label;
        return label == 0x33 ? first : second;
    }
};
} // namespace

TEST(GIFStreams, LaterRegistrationsWin)
{
    RegisterExtension(TProbeExtension::Class(0x33));
    EXPECT_STREQ(FindExtensionLabel(0x33)->Name, "first");
    RegisterExtension(TProbeExtension::Class(0x34));
    static TGIFExtensionClass later{"later", 0x33, nullptr, nullptr};
    RegisterExtension(later);
    EXPECT_STREQ(FindExtensionLabel(0x33)->Name, "later");
    EXPECT_EQ(FindExtensionLabel(0xF9), &TGIFGraphicControlExtension::Class());
    EXPECT_EQ(FindAppExtension("ANIMEXTS1.0"), &TGIFAppExtNSLoop::Class());
    TMemoryByteStream stream(std::string("\xFF\x0BNETSCAPE2.0", 13));
    EXPECT_EQ(FindExtension(stream), &TGIFAppExtNSLoop::Class());
    EXPECT_EQ(stream.Position(), 0);
}

TEST(GIFImageFile, SavesAndLoadsFilesWithProgress)
{
    vx::test::TempDir dir;
    TGIFImage image;
    image.Header().ColorMap().ImportPalette({{0, 0, 0}, {255, 255, 255}});
    AddFrame(image, 3, 2).SetPixels(2, 1, 1);
    AddFrame(image, 3, 2).SetPixels(0, 0, 1);
    std::vector<std::string> reports;
    auto record = [&](TProgressStage stage, int percent, const std::string& message) {
        reports.push_back(message + std::to_string(static_cast<int>(stage)) + ":" + std::to_string(percent));
    };
    image.OnProgress = record;
    image.SaveToFile(dir.file("two.gif"));
    EXPECT_EQ(reports, (std::vector<std::string>{"Saving...0:0", "Saving...1:50", "Saving...1:100", "Saving...2:100"}));

    TGIFImage loaded;
    reports.clear();
    loaded.OnProgress = record;
    loaded.LoadFromFile(dir.file("two.gif"));
    ASSERT_EQ(loaded.Images().Count(), 2);
    EXPECT_EQ(loaded.Images().SubImage(0).Pixels(2, 1), 1);
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_EQ(reports.front(), "Loading...0:0");
    EXPECT_EQ(reports.back(), "Loading...2:100");

    // A single block saves and loads on its own too.
    loaded.Images().SubImage(1).SaveToFile(dir.file("frame.bin"));
    TGIFSubImage frame(&loaded);
    frame.LoadFromFile(dir.file("frame.bin"));
    EXPECT_EQ(frame.Pixels(0, 0), 1);

    loaded.Images().Delete(0);
    EXPECT_EQ(loaded.Images().Count(), 1);
    EXPECT_THROW(loaded.Images().Delete(1), EListError);
    std::unique_ptr<TGIFItem> removed = loaded.Images().Remove(&loaded.Images().SubImage(0));
    EXPECT_NE(removed, nullptr);
    EXPECT_TRUE(loaded.Empty());
}

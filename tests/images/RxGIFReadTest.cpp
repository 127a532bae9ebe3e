// Reading GIF files into the animator's image: block mapping, frame fields,
// decoding, and what damaged or lying files do.
#include "tests/images/GIFTestSupport.h"

#include "images/GIFStream.h"
#include "images/GraphicException.h"
#include "images/RxGIF.h"
#include "images/RxLZW.h"

#include <gtest/gtest.h>

using namespace giftest;
using namespace giftest::block;
using RxGIF::clNone;

namespace {

const TGIFPalette kFour{{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};

void Load(RxGIF::TGIFImage& image, const std::string& bytes)
{
    TMemoryByteStream stream(bytes);
    image.LoadFromStream(stream);
}

std::string OnePixel(int index = 1)
{
    return Image(0, 0, 1, 1, Literals({index}, 2));
}

std::vector<int> Pixels(RxGIF::TGIFImage& image, int frame)
{
    const Picture picture = Describe(image);
    const std::vector<std::uint8_t>& pixels = picture.frames.at(static_cast<size_t>(frame)).pixels;
    return std::vector<int>(pixels.begin(), pixels.end());
}

TEST(RxGIFRead, ExtensionsBeforeAnImageSetItsFields)
{
    struct Case {
        const char* what;
        std::string extensions;
        int delay;
        RxGIF::TColor transparent;
        int disposal;
    };
    const Case cases[] = {
        {"none", "", 0, clNone, 0},
        {"one control", GraphicControl(0x09, 25, 2), 250, RxGIF::ColorOf(kFour[2]), 2},
        {"plain text drops the control before it",
         GraphicControl(0x09, 25, 2) + "\x21\x01\x0C" + std::string(12, 'p') + std::string("\x02hi\x00", 4), 0,
         clNone, 0},
        {"two controls: larger delay, later transparency and disposal",
         GraphicControl(0x05, 40, 1) + GraphicControl(0x0C, 10, 0), 400, clNone, 3},
        {"transparent index past the table leaves the frame opaque", GraphicControl(0x01, 0, 9), 0, clNone, 0},
    };
    for (const Case& c : cases) {
        RxGIF::TGIFImage image;
        Load(image, Header(1, 1, kFour) + c.extensions + OnePixel() + ";");
        ASSERT_EQ(image.Count(), 1) << c.what;
        EXPECT_EQ(image.Frame(0).Delay(), c.delay) << c.what;
        EXPECT_EQ(image.Frame(0).TransparentColor(), c.transparent) << c.what;
        EXPECT_EQ(image.Frame(0).Disposal(), c.disposal) << c.what;
    }
}

TEST(RxGIFRead, LoopExtensionNeedsItsExactIdentifier)
{
    struct Case {
        const char* what;
        std::string extension;
        bool looping;
        int repeat;
    };
    const Case cases[] = {
        {"plain loop", Loop(7), true, 7},
        {"count capped", Loop(65535), true, 30000},
        {"block size 10 is no loop", Application("NETSCAPE2.", {std::string("\x01\x07\x00", 3)}), false, 1},
        {"block size 12 is skipped whole",
         Application("NETSCAPE2.0X", {std::string("\x01\x07\x00", 3)}), false, 1},
        {"sub-function other than 1", Application("NETSCAPE2.0", {std::string("\x02\x07\x00", 3)}), false, 1},
        {"short data", Application("NETSCAPE2.0", {std::string("\x01\x07", 2)}), false, 1},
    };
    for (const Case& c : cases) {
        RxGIF::TGIFImage image;
        Load(image, Header(1, 1, kFour) + c.extension + OnePixel(3) + ";");
        EXPECT_EQ(image.Looping(), c.looping) << c.what;
        EXPECT_EQ(image.RepeatCount(), c.repeat) << c.what;
        ASSERT_EQ(image.Count(), 1) << c.what << ": the frame after the extension is read";
        EXPECT_EQ(Pixels(image, 0), std::vector<int>{3}) << c.what;
    }
}

TEST(RxGIFRead, CommentsGoWithTheFrameOrTheImage)
{
    RxGIF::TGIFImage image;
    Load(image, Header(1, 1, kFour) + Comment({"frame"}) + OnePixel() + Comment({"one", "two"}) +
                    GraphicControl(0, 0, 0) + Comment({"three"}) + ";");
    ASSERT_EQ(image.Count(), 1);
    EXPECT_EQ(image.Frame(0).Comment().Text(), "frame\r\n");
    EXPECT_EQ(image.Comment().Text(), "one\r\ntwo\r\n\r\n\r\n\r\nthree\r\n");
}

TEST(RxGIFRead, HeaderAndScreen)
{
    RxGIF::TGIFImage lower;
    Load(lower, Header(3, 2, kFour, "gif87A") + OnePixel() + ";");
    EXPECT_EQ(lower.Version(), 1);
    EXPECT_EQ(lower.Count(), 1);

    RxGIF::TGIFImage empty;
    Load(empty, Header(30, 20, kFour) + ";");
    EXPECT_TRUE(empty.Empty());
    EXPECT_EQ(empty.FrameIndex(), -1);

    RxGIF::TGIFImage single;
    Load(single, Header(5, 4, kFour) + Loop(0) + OnePixel() + ";");
    EXPECT_TRUE(single.Looping()) << "a loop extension in a one-frame file still counts";
    EXPECT_EQ(single.ScreenWidth(), 5);
    EXPECT_EQ(single.FrameIndex(), 0);

    for (const std::string& bad : {std::string("GIF90a"), std::string("PNG89a"), std::string("GI")}) {
        RxGIF::TGIFImage image;
        try {
            Load(image, bad + std::string(20, '\0'));
            ADD_FAILURE() << bad;
        } catch (const EInvalidGraphicOperation& e) {
            EXPECT_STREQ(e.what(), "Unknown GIF version");
        }
    }
}

TEST(RxGIFRead, DamagedBlocks)
{
    RxGIF::TGIFImage unknown;
    try {
        Load(unknown, Header(1, 1, kFour) + OnePixel() + "\x21\x33\x00" + OnePixel() + ";");
        ADD_FAILURE();
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_STREQ(e.what(), "Unrecognized extension block: 33");
    }
    EXPECT_EQ(unknown.Count(), 1) << "the frames read before the error stay";

    RxGIF::TGIFImage garbage;
    Load(garbage, Header(1, 1, kFour) + OnePixel() + "Z" + OnePixel() + ";");
    EXPECT_EQ(garbage.Count(), 1) << "garbage after a frame ends the block loop";

    RxGIF::TGIFImage noTrailer;
    Load(noTrailer, Header(1, 1, kFour) + OnePixel() + OnePixel());
    EXPECT_EQ(noTrailer.Count(), 2);
}

TEST(RxGIFRead, TruncatedDataDecodesWhatIsThereAndIsCorrupted)
{
    std::vector<int> pixels(40, 2);
    std::string data = Literals(pixels, 2);
    const std::string file = Header(8, 5, kFour) + Image(0, 0, 8, 5, data);
    RxGIF::TGIFImage image;
    Load(image, file.substr(0, file.size() - data.size() / 2));
    ASSERT_EQ(image.Count(), 1);
    EXPECT_TRUE(image.Frame(0).Corrupted);
    const std::vector<int> got = Pixels(image, 0);
    EXPECT_EQ(got.front(), 2);
    EXPECT_EQ(got.back(), 0) << "pixels never reached stay index 0";

    // Written again, the frame's data is closed, so a following block stays readable.
    image.AddFrame(image.Frame(0));
    TMemoryByteStream out;
    image.SaveToStream(out);
    RxGIF::TGIFImage again;
    Load(again, out.Data());
    EXPECT_EQ(again.Count(), 2);
}

TEST(RxGIFRead, InterlacedRowsFollowThePasses)
{
    // Six rows whose pixel is the order they come in the data.
    const std::string data = Literals({0, 1, 2, 3, 0, 1}, 2);
    RxGIF::TGIFImage image;
    Load(image, Header(1, 6, kFour) + Image(0, 0, 1, 6, data, {}, true) + ";");
    EXPECT_EQ(Pixels(image, 0), (std::vector<int>{0, 3, 2, 0, 1, 1})) << "rows 0, 4, 2, 1, 3, 5 in that order";
}

TEST(RxGIFRead, ClearCodesAddNoPixel)
{
    struct Case {
        const char* what;
        std::vector<std::pair<int, int>> codes; // code, width
        std::vector<int> pixels;
    };
    const Case cases[] = {
        {"clear then end", {{4, 3}, {3, 3}, {4, 3}, {5, 3}}, {3, 0, 0}},
        {"clear then clear", {{4, 3}, {4, 3}, {1, 3}, {2, 3}, {5, 3}}, {1, 2, 0}},
        {"not-yet-defined code", {{4, 3}, {1, 3}, {6, 3}, {5, 3}}, {1, 1, 1}},
    };
    for (const Case& c : cases) {
        BitPacker packer;
        for (auto [code, width] : c.codes)
            packer.Put(code, width);
        RxGIF::TGIFImage image;
        Load(image, Header(3, 1, kFour) + Image(0, 0, 3, 1, packer.ImageData(2)) + ";");
        EXPECT_EQ(Pixels(image, 0), c.pixels) << c.what;
    }
}

TEST(RxGIFRead, FramesWithoutAreaDecodeToNothing)
{
    RxGIF::TGIFImage image;
    Load(image, Header(4, 3, kFour) + Image(0, 0, 0, 3, Literals({1, 2}, 2)) + Image(0, 0, 4, 0, Literals({1}, 2)) + ";");
    ASSERT_EQ(image.Count(), 2);
    EXPECT_TRUE(image.Frame(0).Bitmap().Empty());
    EXPECT_TRUE(image.Frame(1).Bitmap().Empty());
}

TEST(RxGIFRead, CodeSizeOutOfRange)
{
    for (char size : {'\x01', '\x0A'}) {
        RxGIF::TGIFImage image;
        try {
            Load(image, Header(1, 1, kFour) + Image(0, 0, 1, 1, std::string{size, '\x01', '\x00', '\x00'}) + ";");
            ADD_FAILURE() << int(size);
        } catch (const EInvalidGraphicOperation& e) {
            EXPECT_STREQ(e.what(), "GIF code size not in range 2 to 9");
        }
        EXPECT_EQ(image.Count(), 1);
    }
}

TEST(RxGIFRead, OversizedFrameIsRefusedClearly)
{
    RxGIF::TGIFImage image;
    try {
        Load(image, Header(1, 1, kFour) + Image(0, 0, 65535, 65535, Literals({1}, 2)) + ";");
        ADD_FAILURE();
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_STREQ(e.what(), "GIF image is too large");
    }
    EXPECT_EQ(image.Count(), 1);
    EXPECT_EQ(image.Width(), 65535);
}

TEST(RxGIFRead, ByteCountsAreCheckedAgainstTheData)
{
    const std::string gif = Header(1, 1, kFour) + OnePixel() + ";";
    auto counted = [&](std::uint32_t count) {
        std::string bytes(4, '\0');
        for (int i = 0; i < 4; ++i)
            bytes[static_cast<size_t>(i)] = static_cast<char>(count >> (8 * i));
        return bytes + gif;
    };
    RxGIF::TGIFImage image;
    TMemoryByteStream exact(counted(static_cast<std::uint32_t>(gif.size())));
    image.ReadData(exact);
    EXPECT_EQ(image.Count(), 1);

    TMemoryByteStream lying(counted(0xFFFFFFF0u));
    EXPECT_THROW(image.ReadData(lying), EInvalidGraphicOperation);

    EXPECT_FALSE(image.LoadFromClipboardPayload(counted(static_cast<std::uint32_t>(gif.size() + 1))));
    EXPECT_FALSE(image.LoadFromClipboardPayload(std::string("\x03\0\0\0PNG", 7)));
    EXPECT_EQ(image.Count(), 1) << "a refused payload leaves the image";
    ASSERT_TRUE(image.LoadFromClipboardPayload(counted(static_cast<std::uint32_t>(gif.size()))));
    EXPECT_FALSE(image.Frame(0).HasBitmap()) << "the clipboard's GIF is not decoded at once";
}

TEST(RxGIFRead, DamagedCodeChainsRaiseWithoutTolerance)
{
    BitPacker packer;
    packer.Put(4, 3);
    packer.Put(7, 3); // a table code right after a clear
    packer.Put(5, 3);
    const std::string data = packer.ImageData(2);
    TGIFBitmap target(2, 1, TPixelFormat::pf8bit);
    EXPECT_THROW(RxGIF::RxLZWDecode(data, target, false, 3, false), EInvalidGraphicOperation);
    EXPECT_FALSE(RxGIF::RxLZWDecode(data, target, false, 3, true));
}

} // namespace

// Writing the animator's image, the graphic control rebuild, frame editing,
// grey scale, the clipboard payload and the picture-format registration.
#include "tests/images/GIFTestSupport.h"

#include "images/GIFClipboard.h"
#include "images/GIFImage.h"
#include "images/GIFStream.h"
#include "images/GraphicException.h"
#include "images/PictureFormats.h"
#include "images/RxGIF.h"
#include "images/qt/RxGIFPicture.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>

#include <gtest/gtest.h>

using namespace giftest;
using namespace giftest::block;
using RxGIF::clNone;
using RxGIF::ColorOf;

namespace {

const TGIFPalette kFour{{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};

std::string Save(RxGIF::TGIFImage& image)
{
    TMemoryByteStream out;
    image.SaveToStream(out);
    return out.Data();
}

void Load(RxGIF::TGIFImage& image, const std::string& bytes)
{
    TMemoryByteStream stream(bytes);
    image.LoadFromStream(stream);
}

// A 24-bit bitmap whose pixel (x, y) has colour colours[(x + y) % size].
TGIFBitmap Colourful(int width, int height, const TGIFPalette& colours)
{
    return Make24(width, height, [&](int x, int y) { return colours[static_cast<size_t>(x + y) % colours.size()]; });
}

TGIFColor ColourAt(const Frame& frame, int x, int y)
{
    return frame.palette[frame.pixels[static_cast<size_t>(y * frame.width + x)]];
}

size_t Count(const std::string& haystack, const std::string& needle)
{
    size_t n = 0;
    for (size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1))
        ++n;
    return n;
}

TEST(RxGIFWrite, GraphicControlIsRebuiltFromTheFrame)
{
    const std::string plain = Header(1, 1, kFour) + Image(0, 0, 1, 1, Literals({1}, 2)) + ";";
    RxGIF::TGIFImage image;
    Load(image, plain);
    EXPECT_EQ(Count(Save(image), "\x21\xF9"), 0u) << "no delay, transparency or disposal: no block";

    image.Frame(0).SetDelay(250);
    Picture picture = DescribeWithGiflib(Save(image));
    ASSERT_EQ(picture.frames.size(), 1u);
    EXPECT_EQ(picture.frames[0].delay, 25);

    image.Frame(0).SetDelay(1'000'000);
    EXPECT_EQ(image.Frame(0).Delay(), 1'000'000) << "delays are 32-bit";
    EXPECT_EQ(DescribeWithGiflib(Save(image)).frames[0].delay, 65535) << "clamped when written";

    RxGIF::TGIFImage read;
    Load(read, Header(1, 1, kFour) + GraphicControl(0xE1, 5, 2) + Image(0, 0, 1, 1, Literals({1}, 2)) + ";");
    read.Frame(0).SetDisposal(1);
    const std::string saved = Save(read);
    const size_t at = saved.find("\x21\xF9\x04");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(static_cast<std::uint8_t>(saved[at + 3]), 0xE5) << "only bits 2..4 change";

    read.Frame(0).SetTransparentColor(ColorOf(TGIFColor{1, 2, 3}));
    EXPECT_EQ(DescribeWithGiflib(Save(read)).frames[0].transparent, -1) << "a colour not in the table";
}

TEST(RxGIFWrite, PlainOpenAndSaveKeepsTheTransparentIndexAndOneControlBlock)
{
    // Entries 0 and 2 have the same colour; index 2 is the transparent one.
    const TGIFPalette twins{{9, 9, 9}, {255, 0, 0}, {9, 9, 9}, {0, 0, 255}};
    RxGIF::TGIFImage image;
    Load(image, Header(3, 1, twins) + GraphicControl(0x01, 3, 2) + GraphicControl(0x01, 7, 2) +
                    Image(0, 0, 3, 1, Literals({0, 2, 1}, 2)) + ";");
    const std::string saved = Save(image);
    EXPECT_EQ(Count(saved, "\x21\xF9"), 1u);
    const Picture picture = DescribeWithGiflib(saved);
    ASSERT_EQ(picture.frames.size(), 1u);
    EXPECT_EQ(picture.frames[0].transparent, 2);
    EXPECT_EQ(picture.frames[0].delay, 7);
    EXPECT_EQ(picture.frames[0].pixels, (std::vector<std::uint8_t>{0, 2, 1}));
}

TEST(RxGIFWrite, LongCommentsAreSplitIntoSubBlocks)
{
    RxGIF::TGIFImage image;
    Load(image, Header(1, 1, kFour, "GIF87a") + Image(0, 0, 1, 1, Literals({1}, 2)) + ";");
    TStringList lines;
    lines.Add(std::string(300, 'c'));
    image.SetComment(lines);
    const std::string saved = Save(image);
    EXPECT_EQ(saved.substr(0, 6), "GIF89a") << "a comment needs 89a";
    EXPECT_NE(saved.find(std::string("\x21\xFE\xFF") + std::string(255, 'c') + "\x2D" + std::string(45, 'c') + '\0'),
              std::string::npos);
    RxGIF::TGIFImage again;
    Load(again, saved);
    EXPECT_EQ(again.Comment()[0] + again.Comment()[1], std::string(300, 'c'));
}

TEST(RxGIFWrite, LoopExtensionOnlyForAnimations)
{
    RxGIF::TGIFImage image;
    image.AddFrame(Colourful(2, 2, kFour));
    image.SetLooping(true);
    image.SetRepeatCount(4);
    EXPECT_EQ(Count(Save(image), "NETSCAPE2.0"), 0u);
    image.AddFrame(Colourful(2, 2, kFour));
    EXPECT_EQ(DescribeWithGiflib(Save(image)).loops, 4);
    image.SetRepeatCount(90000);
    EXPECT_EQ(image.RepeatCount(), 30000);
}

TEST(RxGIFWrite, BitmapFramesAreEncodedWithGlobalThenLocalTables)
{
    const TGIFPalette colours{{10, 20, 30}, {200, 100, 0}, {0, 0, 0}, {255, 255, 255}, {1, 2, 3}};
    RxGIF::TGIFImage image;
    image.AddFrame(Colourful(7, 5, colours));
    image.AddFrame(Colourful(7, 5, colours));
    image.Frame(1).SetLeft(3);
    image.Frame(1).SetDelay(120);
    const std::string saved = Save(image);
    EXPECT_EQ(image.Version(), 2);
    EXPECT_FALSE(image.Frame(0).LocalColors);
    EXPECT_TRUE(image.Frame(1).LocalColors) << "even with the same colours";
    const Picture picture = DescribeWithGiflib(saved);
    EXPECT_EQ(picture.width, 10);
    ASSERT_EQ(picture.frames.size(), 2u);
    EXPECT_EQ(picture.frames[1].left, 3);
    EXPECT_EQ(picture.frames[1].delay, 12);
    for (const Frame& f : picture.frames)
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                EXPECT_EQ(ColourAt(f, x, y), colours[static_cast<size_t>(x + y) % colours.size()]);
}

TEST(RxGIFWrite, TransparentBitmapColourBecomesTheTransparentIndex)
{
    RxGIF::TGIFImage image;
    image.AddFrame(Colourful(4, 4, kFour), ColorOf(kFour[3]));
    const Picture picture = DescribeWithGiflib(Save(image));
    ASSERT_EQ(picture.frames.size(), 1u);
    ASSERT_GE(picture.frames[0].transparent, 0);
    EXPECT_EQ(picture.frames[0].palette[static_cast<size_t>(picture.frames[0].transparent)], kFour[3]);
}

TEST(RxGIFWrite, NothingToWrite)
{
    RxGIF::TGIFImage image;
    try {
        Save(image);
        ADD_FAILURE();
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_STREQ(e.what(), "No GIF Data to write");
    }
    EXPECT_THROW(image.MakeGrayScale(false), EInvalidGraphicOperation);
    EXPECT_THROW(image.SetWidth(3), EInvalidGraphicOperation);
    image.Bitmap();
    EXPECT_EQ(image.Count(), 1) << "asking for the bitmap of an empty image makes a frame";
    EXPECT_THROW(Save(image), EInvalidGraphicOperation) << "a frame without a picture";
}

TEST(RxGIFWrite, FrameListEditing)
{
    RxGIF::TGIFImage image;
    int changes = 0;
    image.OnChange = [&](TGraphic*) { ++changes; };
    for (int i = 0; i < 3; ++i)
        image.AddFrame(Colourful(2 + i, 2, {kFour[static_cast<size_t>(i)]}));
    EXPECT_EQ(image.FrameIndex(), 2);
    EXPECT_EQ(image.ScreenWidth(), 4);
    image.MoveFrame(2, 0);
    EXPECT_EQ(image.FrameIndex(), 0);
    EXPECT_EQ(image.Frame(0).Width(), 4);
    image.SetFrameIndex(2);
    image.DeleteFrame(2);
    EXPECT_EQ(image.FrameIndex(), 1) << "steps back from the end";
    image.DeleteFrame(0);
    EXPECT_EQ(image.ScreenWidth(), 2) << "screen size recomputed";
    image.SetFrameIndex(99);
    EXPECT_EQ(image.FrameIndex(), 0);
    EXPECT_GE(changes, 7);
    EXPECT_THROW(image.DeleteFrame(5), EInvalidGraphicOperation);
}

TEST(RxGIFWrite, AssignSharesDataAndCopiesFrames)
{
    RxGIF::TGIFImage source;
    Load(source, Header(2, 1, kFour) + Loop(3) + GraphicControl(0, 9, 0) + Image(0, 0, 2, 1, Literals({1, 2}, 2)) +
                     Image(0, 0, 2, 1, Literals({3, 0}, 2)) + ";");
    RxGIF::TGIFImage copy;
    copy.Assign(source);
    EXPECT_TRUE(copy.Equals(source));
    EXPECT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.Frame(0).FrameData(), source.Frame(0).FrameData());
    EXPECT_EQ(copy.Frame(0).Delay(), 90);
    EXPECT_EQ(Describe(copy), Describe(source));

    TStringList lines;
    lines.Add("mine");
    copy.SetComment(lines);
    EXPECT_FALSE(copy.Equals(source)) << "a comment change takes a private copy";
    EXPECT_TRUE(source.Comment().Empty());

    RxGIF::TGIFImage one;
    one.Assign(source.Frame(1));
    EXPECT_EQ(one.Count(), 1);
    EXPECT_EQ(one.Version(), 1);
    EXPECT_TRUE(one.Frame(0).LocalColors);
    EXPECT_EQ(Describe(one).frames[0].pixels, (std::vector<std::uint8_t>{3, 0}));

    TGIFBitmap out;
    RxGIF::TColor transparent = 0;
    RxGIF::TGIFImage().AssignTo(out, &transparent);
    EXPECT_TRUE(out.Empty());
    source.AssignTo(out, &transparent);
    EXPECT_EQ(out.Width(), 2);
    EXPECT_EQ(transparent, clNone);
}

TEST(RxGIFWrite, GreyScaleKeepsADedicatedTransparentIndex)
{
    // An opaque red and a transparent green that turn to the same grey.
    const TGIFColor red{255, 0, 0};
    const TGIFColor twin{0, 130, 0};
    ASSERT_EQ(RxGIF::GreyValue(red), 76);
    ASSERT_EQ(RxGIF::GreyValue(twin), 76);
    RxGIF::TGIFImage image;
    const TGIFBitmap bitmap = Colourful(4, 1, {red, twin});
    image.AddFrame(bitmap, ColorOf(twin));
    image.SetBackgroundColor(ColorOf(red));
    image.MakeGrayScale(true);
    EXPECT_TRUE(image.Frame(0).GrayScale);
    EXPECT_EQ(image.BackgroundColor(), ColorOf(TGIFColor{76, 76, 76}));
    const Picture picture = DescribeWithGiflib(Save(image));
    ASSERT_EQ(picture.frames.size(), 1u);
    const Frame& f = picture.frames[0];
    ASSERT_GE(f.transparent, 0);
    EXPECT_EQ(ColourAt(f, 0, 0), (TGIFColor{76, 76, 76}));
    EXPECT_NE(f.pixels[0], f.transparent) << "the opaque red stays opaque";
    EXPECT_EQ(f.pixels[1], f.transparent);
}

TEST(RxGIFWrite, ClipboardPayloadAndRegistration)
{
    RxGIF::TGIFImage image;
    image.AddFrame(Colourful(3, 3, kFour));
    EXPECT_FALSE(image.ClipboardPayload()) << "a frame that is only a bitmap";
    image.EncodeAllFrames();
    const std::optional<std::string> payload = image.ClipboardPayload();
    ASSERT_TRUE(payload);
    const std::optional<std::string_view> gif = GIFFromClipboardPayload(*payload);
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->substr(0, 3), "GIF");
    RxGIF::TGIFImage pasted;
    ASSERT_TRUE(pasted.LoadFromClipboardPayload(*payload));
    EXPECT_EQ(Describe(pasted), Describe(image));
    EXPECT_STREQ(GIFClipboardFormatName, "GIF Image");

    const TPictureFormat* format = PictureFormats().Find(".GIF");
    ASSERT_NE(format, nullptr);
    EXPECT_EQ(format->Description, "CompuServe GIF Image") << "the animator's class, registered last";
    EXPECT_EQ(PictureFormats().Formats().front().ClassName, "TGIFImage") << "the library's class, registered first";

    // Either class reads the other's payload.
    TGIFImage library;
    ASSERT_TRUE(library.LoadFromClipboardPayload(*payload));
    EXPECT_EQ(library.Width(), 3);
    const std::optional<std::string> back = library.ClipboardPayload();
    ASSERT_TRUE(back);
    RxGIF::TGIFImage animator;
    ASSERT_TRUE(animator.LoadFromClipboardPayload(*back));
    EXPECT_EQ(Describe(animator).frames[0].pixels, Describe(image).frames[0].pixels);
    EXPECT_FALSE(library.LoadFromClipboardPayload(MakeGIFClipboardPayload("BMP...")));
    vx::test::TempDir dir;
    image.SaveToFile(dir.file("a.gif"));
    std::unique_ptr<TGraphic> loaded = LoadPicture(dir.file("a.gif"));
    ASSERT_NE(dynamic_cast<RxGIF::TGIFImage*>(loaded.get()), nullptr);
    EXPECT_EQ(loaded->Width(), 3);
    EXPECT_THROW(LoadPicture(dir.file("a.xyz")), EInvalidGraphic);

    TPictureFormats table;
    table.Register({"gif", "first", "A", {}});
    table.Register({"gif", "second", "B", {}});
    EXPECT_EQ(table.Find("gif")->Description, "second") << "the later registration wins";
    table.Unregister("B");
    EXPECT_EQ(table.Find("gif")->Description, "first");
}

TEST(GIFClipboard, BothClassesOnTheDesktopClipboard)
{
    RxGIF::TGIFImage animator;
    animator.AddFrame(Colourful(3, 2, kFour));
    animator.EncodeAllFrames();
    CopyGIFImageToClipboard(animator);
    const std::unique_ptr<TGIFImage> library = GIFLibraryImageFromClipboard();
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(library->Width(), 3);
    TGIFBitmap picture;
    library->AssignTo(picture);
    EXPECT_EQ(picture.ScanLine(1)[2], kFour[1].Red) << "pixel (0, 1) shows colour 1, red";

    library->Images().SubImage(0).SetPixels(0, 0, 2);
    CopyGIFImageToClipboard(*library);
    const std::unique_ptr<RxGIF::TGIFImage> back = GIFImageFromClipboard();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(Describe(*back).frames[0].pixels[0], 2);

    QApplication::clipboard()->setImage(QImage(4, 4, QImage::Format_RGB32));
    const std::unique_ptr<TGIFImage> fromPicture = GIFLibraryImageFromClipboard();
    ASSERT_NE(fromPicture, nullptr);
    EXPECT_EQ(fromPicture->Images().Count(), 1);
}

} // namespace

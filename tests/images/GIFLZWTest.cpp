// LZW decoding of hand-made code streams and the exact output of both encoders.
#include "tests/images/GIFTestSupport.h"

#include "images/GIFEncoder.h"
#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"
#include "images/GIFRLEEncoder.h"
#include "images/GIFStream.h"

#include <gtest/gtest.h>

using namespace giftest;

namespace {

struct Decoded {
    TGIFImage image;
    std::vector<std::string> warnings;
    std::string error;
    explicit Decoded(const std::string& bytes)
    {
        image.OnWarning = [this](TGIFItem*, TGIFSeverity, const std::string& m) { warnings.push_back(m); };
        try {
            LoadFromString(image, bytes);
        } catch (const GIFException& e) {
            error = e.what();
        }
    }
    std::vector<std::uint8_t> Pixels(int frame = 0) { return image.Images().SubImage(frame).Data(); }
    bool Warned(const std::string& message) const
    {
        return std::find(warnings.begin(), warnings.end(), message) != warnings.end();
    }
};

// Image data of 3-bit codes (minimum code size 2: clear 4, end 5).
std::string Codes3(std::initializer_list<int> codes)
{
    BitPacker packer;
    for (int code : codes)
        packer.Put(code, 3);
    return packer.ImageData(2);
}

std::string Encode(TGIFEncoder& encoder, int bits, int colors, const std::vector<std::uint8_t>& pixels, int width,
                   int height)
{
    TMemoryByteStream stream;
    encoder.Encode(stream, bits, colors, pixels.data(), false, width, height);
    return stream.Data();
}

} // namespace

TEST(GIFDecoder, MinimumCodeSizeOneIsAccepted)
{
    // Clear 2, end 3, codes of 2 bits: pixels 1 0, then the end code.
    BitPacker packer;
    for (int code : {2, 1, 0})
        packer.Put(code, 2);
    packer.Put(3, 3); // the entry made by the second pixel took the codes to 3 bits
    Decoded decoded(MakeGif(2, 1, packer.ImageData(1)));
    EXPECT_EQ(decoded.error, "");
    EXPECT_EQ(decoded.Pixels(), (std::vector<std::uint8_t>{1, 0}));
    EXPECT_TRUE(decoded.warnings.empty());
}

TEST(GIFDecoder, TruncatedDataKeepsTheFillValueAndWarns)
{
    std::string gif = MakeGif(4, 1, Codes3({4, 1, 1}));
    // Cut inside the only data sub-block: its length promises two bytes, one follows,
    // which holds the clear code and the first pixel.
    gif.resize(13 + 12 + 10 + 3);
    Decoded plain(gif);
    EXPECT_EQ(plain.error, "");
    EXPECT_EQ(plain.Pixels(), (std::vector<std::uint8_t>{1, 0, 0, 0}));
    EXPECT_TRUE(plain.Warned("Premature end of data"));

    // With a transparent graphic control the rest is the transparent index.
    std::string transparent = MakeGif(4, 1, Codes3({4, 1, 1}));
    transparent.insert(13 + 12, std::string("\x21\xF9\x04\x01\x00\x00\x03\x00", 8));
    transparent.resize(13 + 12 + 8 + 10 + 3);
    Decoded withGce(transparent);
    EXPECT_EQ(withGce.Pixels(), (std::vector<std::uint8_t>{1, 3, 3, 3}));
}

TEST(GIFDecoder, CircularTableEntryRaises)
{
    // Code 7 arrives while the next free code is 6: the decoder makes entry 6 and
    // takes 7 as the previous code, so entry 7 then points at itself.
    BitPacker packer;
    for (int code : {4, 0, 7, 7})
        packer.Put(code, 3);
    packer.Put(7, 4);
    packer.Put(5, 4);
    Decoded decoded(MakeGif(20, 1, packer.ImageData(2)));
    EXPECT_EQ(decoded.error, "Circular decoder table entry");
}

TEST(GIFDecoder, CodesPastTheTableNeverHang)
{
    BitPacker packer;
    packer.Put(4, 3);
    packer.Put(0, 3);
    for (int i = 0; i < 3000; ++i)
        packer.Put(7, i < 2 ? 3 : 4); // keeps pointing past the table
    Decoded decoded(MakeGif(200, 200, packer.ImageData(2)));
    // Either the table turns circular (an error) or the frame decodes: never a hang or overrun.
    if (decoded.error.empty())
        EXPECT_EQ(decoded.image.Images().Count(), 1);
    else
        EXPECT_EQ(decoded.error, "Circular decoder table entry");
}

TEST(GIFDecoder, AfterAClearTheEntriesMadeBeforeItReadAsNotMadeYet)
{
    // Minimum code size 3: clear 8, end 9, first free code 10, codes of 4 bits.
    // Before the clear, entries 10-12 are made of 3s; after it, code 12
    // comes while the next free code is 10, and code 11 then spells entry 12
    // again, which must read as an entry not made yet ("0 0"), not as "3 3 3".
    BitPacker packer;
    for (int code : {8, 3, 3, 10, 11, 8, 0, 12, 11, 9})
        packer.Put(code, 4);
    Decoded decoded(MakeGif(12, 1, packer.ImageData(3)));
    EXPECT_EQ(decoded.error, "");
    EXPECT_EQ(decoded.Pixels(), (std::vector<std::uint8_t>{3, 3, 3, 3, 3, 3, 0, 0, 0, 0, 0, 0}));
}

TEST(GIFDecoder, EndCodeAfterClearIsNotAPixel)
{
    Decoded decoded(MakeGif(2, 1, Codes3({4, 1, 4, 5})));
    EXPECT_EQ(decoded.error, "");
    EXPECT_EQ(decoded.Pixels(), (std::vector<std::uint8_t>{1, 0}));
}

TEST(GIFDecoder, TrailingCodesDoNotStopTheNextFrame)
{
    // The first frame holds two pixels but its data carries more codes and no end code.
    std::string first = MakeGif(2, 1, Codes3({4, 2, 2, 1, 0, 3, 3, 3, 3, 1, 2}), false);
    std::string second = MakeGif(2, 1, Codes3({4, 3, 2, 5}));
    Decoded decoded(first + second.substr(13 + 12));
    EXPECT_EQ(decoded.error, "");
    ASSERT_EQ(decoded.image.Images().Count(), 2);
    EXPECT_EQ(decoded.Pixels(0), (std::vector<std::uint8_t>{2, 2}));
    EXPECT_EQ(decoded.Pixels(1), (std::vector<std::uint8_t>{3, 2}));
    EXPECT_TRUE(decoded.warnings.empty());
}

TEST(GIFDecoder, CodesSpanningTinySubBlocks)
{
    // One-byte sub-blocks make 9-bit codes straddle three blocks.
    TGIFImage image;
    for (int i = 0; i < 256; ++i)
        image.Header().ColorMap().Add(TGIFColor{static_cast<std::uint8_t>(i), 0, 0});
    TGIFSubImage& frame = image.Add(std::make_unique<TGIFSubImage>(&image));
    frame.SetBounds(0, 0, 50, 3);
    for (size_t i = 0; i < frame.Data().size(); ++i)
        frame.MutableData()[i] = static_cast<std::uint8_t>(i * 7);
    BitPacker packer;
    packer.Put(256, 9);
    for (std::uint8_t p : frame.Data())
        packer.Put(p, 9); // stays below 512 entries: 150 codes
    packer.Put(257, 9);
    std::string gif = SaveToString(image);
    const size_t data = 13 + 256 * 3 + 10;
    gif = gif.substr(0, data) + packer.ImageData(8, 1) + ";";
    Decoded decoded(gif);
    EXPECT_EQ(decoded.error, "");
    EXPECT_EQ(decoded.Pixels(), frame.Data());
}

TEST(GIFDecoder, MissingTerminatorWarnsUnderRun)
{
    std::string gif = MakeGif(8, 1, Codes3({4, 1, 1}));
    gif.resize(gif.size() - 2); // no zero-length block, no trailer
    Decoded decoded(gif);
    EXPECT_EQ(decoded.error, "");
    EXPECT_TRUE(decoded.Warned("Premature end of data") || decoded.Warned("Decoder bit buffer under-run"));
    EXPECT_EQ(decoded.Pixels(), (std::vector<std::uint8_t>{1, 1, 0, 0, 0, 0, 0, 0}));
}

TEST(GIFDecoder, MinimumCodeSizeOutOfRangeRaises)
{
    for (int size : {0, 9, 12, 255}) {
        std::string data = Codes3({4, 1, 5});
        data[0] = static_cast<char>(size);
        EXPECT_EQ(Decoded(MakeGif(1, 1, data)).error, "Invalid GIF data") << size;
    }
}

TEST(GIFEncoders, ExactBytesOfASmallFrame)
{
    // Bits per pixel 1 is written as minimum code size 2; codes clear 4, 1, 1, end 5
    // at 3 bits, least significant bit first.
    TLZWEncoder lzw(nullptr);
    EXPECT_EQ(Encode(lzw, 1, 2, {1, 1}, 2, 1), std::string("\x02\x02\x4C\x0A\x00", 5));
    TRLEEncoder rle(nullptr);
    EXPECT_EQ(Encode(rle, 1, 2, {1, 1}, 2, 1), std::string("\x02\x02\x4C\x0A\x00", 5));
    // No pixels: only the clear-less end code.
    TLZWEncoder empty(nullptr);
    EXPECT_EQ(Encode(empty, 8, 256, {}, 0, 0), std::string("\x08\x02\x01\x01\x00", 5));
}

TEST(GIFEncoders, PixelsPastTheColourCountRaise)
{
    for (int compression : {0, 1}) {
        TGIFImage image;
        image.Compression = static_cast<std::uint8_t>(compression);
        TGIFSubImage& frame = image.Add(std::make_unique<TGIFSubImage>(&image));
        frame.SetBounds(0, 0, 2, 1);
        frame.ColorMap().ImportPalette({{0, 0, 0}, {1, 1, 1}, {2, 2, 2}});
        frame.SetPixels(1, 0, 3);
        try {
            SaveToString(image);
            ADD_FAILURE() << compression;
        } catch (const GIFException& e) {
            EXPECT_STREQ(e.what(), "Color not in color table");
        }
    }
}

TEST(GIFEncoders, ColourCountNeverPassesTheClearCode)
{
    // Two bits per pixel cannot carry pixel 4, however many colours the caller claims.
    for (bool lzw : {true, false}) {
        std::unique_ptr<TGIFEncoder> encoder;
        if (lzw)
            encoder = std::make_unique<TLZWEncoder>(nullptr);
        else
            encoder = std::make_unique<TRLEEncoder>(nullptr);
        EXPECT_THROW(Encode(*encoder, 2, 256, {1, 4}, 2, 1), GIFException);
    }
}

TEST(GIFEncoders, LZWClearsWhenTheTableFills)
{
    // Every pair of a 256-colour walk is a new string: far more than 4096 entries.
    std::vector<std::uint8_t> pixels;
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 40; ++b) {
            pixels.push_back(static_cast<std::uint8_t>(a));
            pixels.push_back(static_cast<std::uint8_t>((a * 13 + b * 7) & 0xFF));
        }
    TLZWEncoder encoder(nullptr);
    const std::string data = Encode(encoder, 8, 256, pixels, static_cast<int>(pixels.size()), 1);
    TGIFImage image;
    for (int i = 0; i < 256; ++i)
        image.Header().ColorMap().Add({});
    TGIFSubImage& frame = image.Add(std::make_unique<TGIFSubImage>(&image));
    frame.SetBounds(0, 0, static_cast<int>(pixels.size()), 1);
    frame.MutableData() = pixels;
    std::string gif = SaveToString(image);
    EXPECT_NE(gif.find(data), std::string::npos);
    EXPECT_EQ(DescribeWithGiflib(gif).frames.at(0).pixels, pixels);
}

TEST(GIFEncoders, HashTableInsertLookupClear)
{
    THashTable table;
    EXPECT_EQ(table.Lookup(0), -1);
    // Keys chosen to collide on the first probe.
    table.Insert(5, 300);
    table.Insert(5 + 8009 * 16, 301);
    table.Insert(0xFFFFE, 4094);
    EXPECT_EQ(table.Lookup(5), 300);
    EXPECT_EQ(table.Lookup(5 + 8009 * 16), 301);
    EXPECT_EQ(table.Lookup(0xFFFFE), 4094);
    EXPECT_EQ(table.Lookup(6), -1);
    table.Clear();
    EXPECT_EQ(table.Lookup(5), -1);
}

// The picture size readers on files made for the test: GIFs with extensions
// before the first image, baseline and progressive JPEGs, a JPEG whose EXIF
// block carries a thumbnail of another size, PNGs wider than 16 bits hold,
// and every file cut short at every length.
#include "tests/support/TempDir.h"
#include "tools/ImageSize.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <gtest/gtest.h>

#include <sstream>

using vx::tools::TImageSize;
using Reader = std::optional<TImageSize> (*)(std::istream&);

namespace {

std::string Le16(unsigned v)
{
    return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}

std::string Be16(unsigned v)
{
    return {static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)};
}

std::string Be32(std::uint32_t v)
{
    return Be16(v >> 16) + Be16(v & 0xFFFF);
}

// A GIF of one width x height image; blocks go between the header (and a
// global table of 2^(bits) colours) and the image descriptor.
std::string Gif(unsigned width, unsigned height, const std::string& blocks, int tableBits = 1, bool interlaced = false)
{
    std::string gif = "GIF89a" + Le16(width) + Le16(height);
    gif += static_cast<char>(0x80 | (tableBits - 1));
    gif += std::string(2, '\0');
    gif += std::string(3u << tableBits, '\x2C'); // a table full of image separators
    gif += blocks;
    gif += "\x2C" + Le16(0) + Le16(0) + Le16(width) + Le16(height) + std::string(1, interlaced ? '\x40' : '\0');
    gif += std::string("\x02\x02\x44\x01\x00\x3B", 6);
    return gif;
}

// A graphic control block whose delay and transparent index are 0x2C, an
// application block with a loop count of 0x2C2C, and a comment holding commas.
const std::string GifExtensions = std::string("\x21\xF9\x04\x00\x2C\x2C\x2C\x00", 8) +
                                  std::string("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x2C\x2C\x00", 19) +
                                  std::string("\x21\xFE\x05,,,,,\x00", 9);

std::string Encoded(const QImage& image, const char* format, bool progressive = false)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return buffer.data().toStdString();
}

QImage Picture(int width, int height, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(width, height, format);
    image.fill(Qt::darkCyan);
    return image;
}

std::string Jpeg(int width, int height, bool progressive = false)
{
    return Encoded(Picture(width, height), "jpeg", progressive);
}

// The JPEG with an EXIF block right after its start marker: the block holds
// a whole JPEG thumbnail of another size, start-of-frame and all.
std::string JpegWithExif(int width, int height)
{
    const std::string thumbnail = Jpeg(16, 12);
    const std::string exif = std::string("Exif\0\0", 6) + "MM" + std::string(6, '\0') + thumbnail;
    const std::string main = Jpeg(width, height);
    return main.substr(0, 2) + "\xFF\xE1" + Be16(static_cast<unsigned>(exif.size() + 2)) + exif + main.substr(2);
}

// A JPEG whose first marker after the start is preceded by fill bytes.
std::string JpegWithFill(int width, int height)
{
    const std::string main = Jpeg(width, height);
    return main.substr(0, 2) + std::string(5, '\xFF') + main.substr(2);
}

std::string PngHeader(std::uint32_t width, std::uint32_t height)
{
    return std::string("\x89PNG\r\n\x1A\n", 8) + Be32(13) + "IHDR" + Be32(width) + Be32(height) +
           std::string("\x08\x02\x00\x00\x00", 5) + Be32(0);
}

std::optional<TImageSize> Read(Reader reader, const std::string& bytes)
{
    std::istringstream in(bytes);
    return reader(in);
}

struct SizeCase {
    const char* name;
    Reader reader;
    std::string bytes;
    std::optional<TImageSize> size;
};

std::vector<SizeCase> Cases()
{
    using vx::tools::GetGifSize, vx::tools::GetJpegSize, vx::tools::GetPngSize;
    return {
        {"gif plain", GetGifSize, Gif(100, 50, {}), TImageSize{100, 50}},
        {"gif extensions before the image", GetGifSize, Gif(100, 50, GifExtensions), TImageSize{100, 50}},
        {"gif 256-colour table", GetGifSize, Gif(300, 200, {}, 8), TImageSize{300, 200}},
        {"gif interlaced", GetGifSize, Gif(17, 9, GifExtensions, 2, true), TImageSize{17, 9}},
        {"gif lower-case signature", GetGifSize, "gif" + Gif(1, 1, {}).substr(3), std::nullopt},
        {"gif trailer before any image", GetGifSize, Gif(1, 1, {}).substr(0, 19) + ";", std::nullopt},
        {"jpeg baseline", GetJpegSize, Jpeg(120, 45), TImageSize{120, 45}},
        {"jpeg progressive", GetJpegSize, Jpeg(64, 200, true), TImageSize{64, 200}},
        {"jpeg exif thumbnail", GetJpegSize, JpegWithExif(90, 30), TImageSize{90, 30}},
        {"jpeg fill bytes", GetJpegSize, JpegWithFill(33, 44), TImageSize{33, 44}},
        {"jpeg not a jpeg", GetJpegSize, Gif(5, 5, {}), std::nullopt},
        {"png small", GetPngSize, Encoded(Picture(7, 3), "png"), TImageSize{7, 3}},
        {"png 70000 wide", GetPngSize, Encoded(Picture(70000, 1, QImage::Format_Mono), "png"), TImageSize{70000, 1}},
        {"png 32-bit height", GetPngSize, PngHeader(1, 0x12345678), TImageSize{1, 0x12345678}},
        {"png other first chunk", GetPngSize, PngHeader(1, 1).replace(12, 4, "IDAT"), std::nullopt},
    };
}

} // namespace

TEST(ImageSize, ReadsEachFormatsOwnSize)
{
    for (const SizeCase& c : Cases())
        EXPECT_EQ(Read(c.reader, c.bytes), c.size) << c.name;
}

TEST(ImageSize, AFileCutShortHasNoSize)
{
    for (const SizeCase& c : Cases()) {
        if (!c.size)
            continue;
        // The shortest prefix that still gives the size is where reading stops.
        std::size_t needed = c.bytes.size();
        while (needed > 0 && Read(c.reader, c.bytes.substr(0, needed - 1)) == c.size)
            --needed;
        for (std::size_t length = 0; length < needed; ++length)
            EXPECT_EQ(Read(c.reader, c.bytes.substr(0, length)), std::nullopt) << c.name << " cut at " << length;
        EXPECT_LT(needed, std::size_t{4096} + 1) << c.name << " reads only the bytes it needs";
    }
}

TEST(ImageSize, TheReadersStopAtTheirSize)
{
    // A reader that read more than its size needs would see the garbage.
    for (const SizeCase& c : Cases()) {
        if (!c.size)
            continue;
        std::istringstream in(c.bytes);
        c.reader(in);
        EXPECT_LT(static_cast<std::size_t>(in.tellg()), c.bytes.size()) << c.name;
    }
}

TEST(ImageSize, FilesAreReadByTheirExtension)
{
    vx::test::TempDir dir;
    const std::string gif = Gif(100, 50, GifExtensions);
    const std::string jpeg = Jpeg(20, 10);
    struct {
        const char* name;
        std::string bytes;
        std::optional<TImageSize> size;
    } files[] = {
        {"a.gif", gif, TImageSize{100, 50}},  {"A.GIF", gif, TImageSize{100, 50}},
        {"b.jpg", jpeg, TImageSize{20, 10}},  {"b.JPEG", jpeg, TImageSize{20, 10}},
        {"b.jpe", jpeg, TImageSize{20, 10}},  {"c.png", PngHeader(3, 4), TImageSize{3, 4}},
        {"a.bmp", gif, std::nullopt},         {"noext", gif, std::nullopt},
    };
    for (const auto& f : files) {
        vx::test::writeFile(dir.file(f.name), f.bytes);
        EXPECT_EQ(vx::tools::ImageFileSize(dir.file(f.name)), f.size) << f.name;
    }
    EXPECT_EQ(vx::tools::ImageFileSize(dir.file("missing.gif")), std::nullopt);
    EXPECT_EQ(vx::tools::ImageFileSize(""), std::nullopt);
    EXPECT_THROW(vx::tools::ImageFileSize(dir.file("missing.jpg")), vx::tools::EImageOpenError);
    EXPECT_THROW(vx::tools::ImageFileSize(dir.file("missing.png")), vx::tools::EImageOpenError);
}

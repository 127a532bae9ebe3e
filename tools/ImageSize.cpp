// The picture size readers.
#include "tools/ImageSize.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>

namespace vx::tools {

namespace {

const TWording CannotOpen{"Cannot open file \"%1\""};

// Reads n bytes; false when the input ends first.
template <std::size_t N> bool ReadBytes(std::istream& in, std::array<std::uint8_t, N>& bytes)
{
    in.read(reinterpret_cast<char*>(bytes.data()), N);
    return in.gcount() == static_cast<std::streamsize>(N);
}

std::optional<std::uint8_t> ReadByte(std::istream& in)
{
    const int c = in.get();
    if (c == std::char_traits<char>::eof())
        return std::nullopt;
    return static_cast<std::uint8_t>(c);
}

bool Skip(std::istream& in, std::uint32_t count)
{
    in.ignore(count);
    return in.gcount() == static_cast<std::streamsize>(count);
}

std::uint32_t Little16(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8);
}

std::uint32_t Big16(const std::uint8_t* p)
{
    return (p[0] << 8) | p[1];
}

std::uint32_t Big32(const std::uint8_t* p)
{
    return (std::uint32_t{p[0]} << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

// Skips the data sub-blocks of an extension up to its zero terminator.
bool SkipSubBlocks(std::istream& in)
{
    for (;;) {
        const std::optional<std::uint8_t> length = ReadByte(in);
        if (!length)
            return false;
        if (*length == 0)
            return true;
        if (!Skip(in, *length))
            return false;
    }
}

bool ColourTableFollows(std::uint8_t packed)
{
    return (packed & 0x80) != 0;
}

std::uint32_t ColourTableBytes(std::uint8_t packed)
{
    return 3u << ((packed & 7) + 1);
}

// JPEG markers that stand for a frame header: SOF0..SOF15 but for DHT,
// JPG and DAC, which share the range.
bool IsStartOfFrame(std::uint8_t marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers that stand alone, without a length: TEM, RST0..RST7.
bool HasNoLength(std::uint8_t marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

std::string UpperExtension(const std::string& path)
{
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::toupper(c); });
    return ext;
}

} // namespace

std::optional<TImageSize> GetGifSize(std::istream& in)
{
    std::array<std::uint8_t, 13> header;
    if (!ReadBytes(in, header) || header[0] != 'G' || header[1] != 'I' || header[2] != 'F')
        return std::nullopt;
    if (ColourTableFollows(header[10]) && !Skip(in, ColourTableBytes(header[10])))
        return std::nullopt;
    for (;;) {
        const std::optional<std::uint8_t> introducer = ReadByte(in);
        if (!introducer)
            return std::nullopt;
        if (*introducer == 0x2C) {
            std::array<std::uint8_t, 9> descriptor;
            if (!ReadBytes(in, descriptor))
                return std::nullopt;
            return TImageSize{Little16(&descriptor[4]), Little16(&descriptor[6])};
        }
        // Only extensions may stand before the first image; a trailer or
        // anything else means there is no image.
        if (*introducer != 0x21 || !ReadByte(in) || !SkipSubBlocks(in))
            return std::nullopt;
    }
}

std::optional<TImageSize> GetJpegSize(std::istream& in)
{
    std::array<std::uint8_t, 2> soi;
    if (!ReadBytes(in, soi) || soi[0] != 0xFF || soi[1] != 0xD8)
        return std::nullopt;
    std::optional<std::uint8_t> byte = ReadByte(in);
    while (byte == 0xFF) {
        const std::optional<std::uint8_t> marker = ReadByte(in);
        if (!marker)
            return std::nullopt;
        if (*marker == 0xFF || HasNoLength(*marker))
            continue; // a fill byte, or a marker with nothing after it
        if (*marker == 0xD9 || *marker == 0xDA)
            return std::nullopt; // end of image or scan data before any frame
        std::array<std::uint8_t, 2> length;
        if (!ReadBytes(in, length) || Big16(length.data()) < 2)
            return std::nullopt;
        if (IsStartOfFrame(*marker)) {
            std::array<std::uint8_t, 5> frame; // precision, height, width
            if (!ReadBytes(in, frame))
                return std::nullopt;
            return TImageSize{Big16(&frame[3]), Big16(&frame[1])};
        }
        if (!Skip(in, Big16(length.data()) - 2))
            return std::nullopt;
        byte = ReadByte(in);
    }
    return std::nullopt;
}

std::optional<TImageSize> GetPngSize(std::istream& in)
{
    static constexpr std::array<std::uint8_t, 8> signature{0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
    std::array<std::uint8_t, 24> head; // signature, IHDR length and type, width, height
    if (!ReadBytes(in, head) || !std::equal(signature.begin(), signature.end(), head.begin()))
        return std::nullopt;
    if (head[12] != 'I' || head[13] != 'H' || head[14] != 'D' || head[15] != 'R')
        return std::nullopt;
    return TImageSize{Big32(&head[16]), Big32(&head[20])};
}

std::optional<TImageSize> ImageFileSize(const std::string& path)
{
    using TReader = std::optional<TImageSize> (*)(std::istream&);
    const std::string ext = UpperExtension(path);
    TReader reader = nullptr;
    if (ext == ".GIF")
        reader = GetGifSize;
    else if (ext == ".JPG" || ext == ".JPEG" || ext == ".JPE")
        reader = GetJpegSize;
    else if (ext == ".PNG")
        reader = GetPngSize;
    if (!reader || path.empty())
        return std::nullopt;
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in) {
        if (reader == GetGifSize)
            return std::nullopt;
        throw EImageOpenError(TMessage(CannotOpen, {path}));
    }
    return reader(in);
}

} // namespace vx::tools

// The header block: signature, logical screen descriptor and global colour table.
#include "images/GIFHeader.h"

#include "images/GIFException.h"
#include "images/GIFImage.h"
#include "images/GIFStream.h"
#include "images/GIFSubImage.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string_view>

namespace {

const TWording UnsupportedGIFVersion{"Unsupported GIF version"};
const TWording InvalidGIFSignature{"Invalid GIF signature"};

constexpr std::uint8_t kGlobalTable = 0x80;
constexpr std::uint8_t kSorted = 0x08;

// Whether text reads as the upper-case expected, in any case.
bool SameLetters(std::string_view text, std::string_view expected)
{
    return std::equal(text.begin(), text.end(), expected.begin(), expected.end(),
                      [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; });
}

// Applies f to the bit count of every local table of the image.
template <class F>
void ForEachLocalBits(const TGIFImage* image, F f)
{
    if (!image)
        return;
    for (int i = 0; i < image->Images().Count(); ++i)
        f(image->Images().SubImage(i).BitsPerPixel());
}

} // namespace

TGIFHeader::TGIFHeader(TGIFImage* image) : TGIFItem(image), colorMap_(*this) {}

int TGIFHeader::Version() const
{
    return colorMap_.Optimized() || AspectRatio != 0 ? 2 : 1;
}

int TGIFHeader::BitsPerPixel() const
{
    return colorMap_.BitsPerPixel();
}

int TGIFHeader::ColorResolution() const
{
    int resolution = colorMap_.BitsPerPixel() - 1;
    ForEachLocalBits(Image(), [&](int b) { resolution = std::max(resolution, b - 1); });
    return std::max(resolution, 0);
}

void TGIFHeader::Prepare()
{
    std::uint8_t packed = 0;
    if (colorMap_.Count() > 0) {
        packed |= kGlobalTable;
        if (colorMap_.Optimized())
            packed |= kSorted;
    }
    packed |= static_cast<std::uint8_t>((ColorResolution() & 7) << 4);
    packed |= static_cast<std::uint8_t>((std::max(BitsPerPixel(), 1) - 1) & 7);
    Packed = packed;
}

void TGIFHeader::SaveToStream(TByteStream& stream)
{
    const int version = Image() ? Image()->Version() : 1;
    if (version < 1)
        throw GIFException(TMessage(UnsupportedGIFVersion, {}));
    stream.Write(version == 1 ? "GIF87a" : "GIF89a", 6);
    Prepare();
    std::uint8_t screen[7] = {
        static_cast<std::uint8_t>(LogicalScreenWidth), static_cast<std::uint8_t>(LogicalScreenWidth >> 8),
        static_cast<std::uint8_t>(LogicalScreenHeight), static_cast<std::uint8_t>(LogicalScreenHeight >> 8),
        Packed, BackgroundColorIndex, AspectRatio};
    stream.Write(screen, 7);
    if (Packed & kGlobalTable)
        colorMap_.SaveToStream(stream, 1 << ((Packed & 7) + 1));
}

void TGIFHeader::LoadFromStream(TByteStream& stream)
{
    const std::int64_t start = stream.Position();
    auto hasSignature = [&] {
        char signature[6];
        ReadCheck(stream, signature, 6);
        return SameLetters(std::string_view(signature, 3), "GIF");
    };
    if (!hasSignature()) {
        // Some files carry a 4-byte prefix in front of the signature.
        stream.SetPosition(start + 4);
        if (!hasSignature())
            throw GIFException(TMessage(InvalidGIFSignature, {}));
    }
    std::uint8_t screen[7];
    ReadCheck(stream, screen, 7);
    LogicalScreenWidth = static_cast<std::uint16_t>(screen[0] | screen[1] << 8);
    LogicalScreenHeight = static_cast<std::uint16_t>(screen[2] | screen[3] << 8);
    Packed = screen[4];
    BackgroundColorIndex = screen[5];
    AspectRatio = screen[6];
    if (Packed & kGlobalTable) {
        colorMap_.LoadFromStream(stream, 2 << (Packed & 7));
        colorMap_.SetOptimized(Packed & kSorted);
    } else {
        colorMap_.Clear();
    }
}

void TGIFHeader::Clear()
{
    colorMap_.Clear();
    LogicalScreenWidth = 0;
    LogicalScreenHeight = 0;
    BackgroundColorIndex = 0;
    AspectRatio = 0;
    Prepare();
}

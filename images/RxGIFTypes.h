// The parts of the animator's GIF image: colour tables, the shared image data,
// the shared compressed frame data and the extension blocks kept with a frame.
#pragma once

#include "images/GIFColor.h"
#include "platform/TStringList.h"
#include "platform/Wording.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace RxGIF {

// Red in the low byte, as the picture system's colours.
using TColor = std::uint32_t;
constexpr TColor clNone = 0x1FFFFFFF;

constexpr TColor ColorOf(TGIFColor c)
{
    return static_cast<TColor>(c.Red) | static_cast<TColor>(c.Green) << 8 | static_cast<TColor>(c.Blue) << 16;
}
constexpr TGIFColor GIFColorOf(TColor c)
{
    return TGIFColor{static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>(c >> 8 & 0xFF),
                     static_cast<std::uint8_t>(c >> 16 & 0xFF)};
}
// The grey a colour becomes in a grey-scale frame: the same value in all three components.
constexpr std::uint8_t GreyValue(TGIFColor c)
{
    return static_cast<std::uint8_t>((c.Red * 77 + c.Green * 150 + c.Blue * 29) >> 8);
}

struct TGIFColorTable {
    int Count = 0; // 0: no table
    std::array<TGIFColor, 256> Colors{};
    // The first entry below Count of the colour, or -1.
    int IndexOf(TColor color) const;
    bool operator==(const TGIFColorTable&) const = default;
};

// 2, 4, ... 256 -> 1..8; any other count raises "Wrong number of colors; must be a power of 2".
int ColorsToBits(int count);

// The reasons the picture exceptions are raised with; data that ends early
// gives the class library's StreamReadError.
extern const TWording SNoGIFData;
extern const TWording SWrongColors;
extern const TWording SGIFEncodeError;
extern const TWording SChangeGIFSize;
extern const TWording SGIFVersion;
extern const TWording SCodeSize;
extern const TWording SGIFCorrupt;
// Beyond what a 32-bit program could hold as one bitmap; frames past it are refused.
extern const TWording SGIFTooLarge;
constexpr std::int64_t kMaxFramePixels = std::int64_t{1} << 26;

// The image data two copies of an image share: global table, screen flags, comment.
struct TGIFData {
    TStringList CommentLines;
    std::uint8_t AspectRatio = 0;
    std::uint8_t BitsPerPixel = 0;
    std::uint8_t ColorResolution = 0;
    TGIFColorTable ColorTable;
};

// A frame's compressed data and descriptor values, shared between frame copies.
struct TGIFItem {
    // The minimum code size byte and every data sub-block with the closing empty block.
    std::optional<std::string> CompressedData;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::uint8_t Flags = 0;
    std::uint8_t BitsPerPixel = 0;
    TGIFColorTable ColorTable;
    bool HasData() const { return CompressedData && !CompressedData->empty(); }
};

enum class TExtensionKind : std::uint8_t { ekGraphicControl = 0, ekPlainText = 1, ekApplication = 2, ekComment = 3 };

std::uint8_t ExtensionLabel(TExtensionKind kind);

struct TExtension {
    TExtensionKind Kind = TExtensionKind::ekComment;
    // One string per data sub-block.
    std::vector<std::string> Data;
    // The fixed part as read, beginning with its block-size byte.
    std::array<std::uint8_t, 14> Header{};
};

} // namespace RxGIF

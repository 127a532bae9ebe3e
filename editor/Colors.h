// Colours and font styles as the editor and its highlighters keep them: a
// 32-bit colour (RGB with red in the low byte, or a system colour resolved
// only when drawing) and a set of four font-style bits.
#pragma once

#include <cstdint>

using TColor = std::uint32_t;

// System colours: 0x80000000 plus the platform's system colour index.
constexpr TColor clScrollBar = 0x80000000;
constexpr TColor clBackground = 0x80000001;
constexpr TColor clActiveCaption = 0x80000002;
constexpr TColor clInactiveCaption = 0x80000003;
constexpr TColor clMenu = 0x80000004;
constexpr TColor clWindow = 0x80000005;
constexpr TColor clWindowFrame = 0x80000006;
constexpr TColor clMenuText = 0x80000007;
constexpr TColor clWindowText = 0x80000008;
constexpr TColor clCaptionText = 0x80000009;
constexpr TColor clActiveBorder = 0x8000000A;
constexpr TColor clInactiveBorder = 0x8000000B;
constexpr TColor clAppWorkSpace = 0x8000000C;
constexpr TColor clHighlight = 0x8000000D;
constexpr TColor clHighlightText = 0x8000000E;
constexpr TColor clBtnFace = 0x8000000F;
constexpr TColor clBtnShadow = 0x80000010;
constexpr TColor clGrayText = 0x80000011;
constexpr TColor clBtnText = 0x80000012;
constexpr TColor clInactiveCaptionText = 0x80000013;
constexpr TColor clBtnHighlight = 0x80000014;
constexpr TColor cl3DDkShadow = 0x80000015;
constexpr TColor cl3DLight = 0x80000016;
constexpr TColor clInfoText = 0x80000017;
constexpr TColor clInfoBk = 0x80000018;

constexpr bool IsSystemColor(TColor c) { return (c & 0xFF000000u) == 0x80000000u; }

// Plain colours, 0x00BBGGRR.
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// A set of font styles; its integer form is the bit values above, and any
// other bit is dropped.
class TFontStyles {
public:
    constexpr TFontStyles() = default;
    constexpr TFontStyles(TFontStyle style) : bits_(style) {}
    static constexpr TFontStyles FromBits(unsigned bits)
    {
        TFontStyles s;
        s.bits_ = static_cast<std::uint8_t>(bits & 0x0Fu);
        return s;
    }

    constexpr unsigned Bits() const { return bits_; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr bool Contains(TFontStyle style) const { return (bits_ & style) != 0; }

    constexpr TFontStyles operator|(TFontStyles other) const { return FromBits(bits_ | other.bits_); }
    constexpr TFontStyles& operator|=(TFontStyles other) { return *this = *this | other; }
    constexpr TFontStyles operator-(TFontStyles other) const { return FromBits(bits_ & ~other.bits_); }
    constexpr bool operator==(const TFontStyles&) const = default;

private:
    std::uint8_t bits_ = 0;
};

constexpr TFontStyles operator|(TFontStyle a, TFontStyle b) { return TFontStyles(a) | TFontStyles(b); }

// The program's text is UTF-8: a character is a lead byte and its trail
// bytes. These routines step over, decode and measure characters. A byte that
// begins no well-formed sequence (an overlong form, a surrogate, a stray
// trail byte, a sequence cut short) is a character of its own, one byte long,
// so that every byte of any text lies in exactly one character and no walk
// over text can stall or skip.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vx::utf8 {

// What a byte that begins no well-formed sequence decodes to.
constexpr char32_t kReplacement = 0xFFFD;

inline bool IsTrail(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The bytes of the character that begins at pos (pos < text.size()).
std::size_t CharLength(std::string_view text, std::size_t pos);
// The code point of the character at pos, kReplacement for a lone byte;
// length, when given, receives CharLength.
char32_t Decode(std::string_view text, std::size_t pos, std::size_t* length = nullptr);
// Where the character holding byte pos begins (pos itself at a character's
// start or at the end of the text).
std::size_t CharStart(std::string_view text, std::size_t pos);
// The character boundary after pos (pos must be a boundary below the end).
inline std::size_t NextChar(std::string_view text, std::size_t pos)
{
    return static_cast<unsigned char>(text[pos]) < 0x80 ? pos + 1 : pos + CharLength(text, pos);
}
// The character boundary before pos (pos > 0).
inline std::size_t PrevChar(std::string_view text, std::size_t pos) { return CharStart(text, pos - 1); }

// Whether the whole text is well-formed UTF-8.
bool IsValid(std::string_view text);
// The first byte at or after from that is not ASCII, or the text's length.
std::size_t SkipAscii(std::string_view text, std::size_t from);
// How many characters text holds.
std::size_t CountChars(std::string_view text);
// The byte offset of the character with the given index (0-based), or the
// text's length when it has fewer characters.
std::size_t OffsetOfChar(std::string_view text, std::size_t index);

void Append(std::string& out, char32_t codePoint);
std::string Encode(char32_t codePoint);

// Whether the bytes from pos to the text's end are the first bytes of a
// well-formed sequence that the end cuts short: a character that the text
// after them may still complete.
bool CutShort(std::string_view text, std::size_t pos);

// Characters that take no cell of their own: combining marks (general
// categories Mn and Me), the zero-width space, joiners and direction marks,
// the word joiner and invisible operators, and the variation selectors.
bool IsZeroWidth(char32_t codePoint);
// Cells a character takes in the editor's grid: two for East Asian wide and
// full-width characters and emoji, none for a zero-width character, one for
// every other.
int CellWidth(char32_t codePoint);

// A cluster is a character with the zero-width characters that follow it:
// the editor shows it in the first one's cells, the font composing them, and
// the caret passes over it as one. A zero-width character with nothing
// before it in its line (at offset 0 of text, which these routines take for
// a line's start) begins a cluster of its own and takes one cell, so that it
// can be seen and reached.

// Whether a zero-width character can begin at pos: every one is U+0300 or
// above, whose lead bytes are 0xCC and up. Saves decoding the common text.
inline bool MayBeZeroWidth(std::string_view text, std::size_t pos)
{
    return pos < text.size() && static_cast<unsigned char>(text[pos]) >= 0xCC;
}
// The first character boundary at or after pos (a boundary) that begins no
// zero-width character.
std::size_t SkipZeroWidth(std::string_view text, std::size_t pos);
// CellsAt where the character at pos may lie outside ASCII or be followed by
// a zero-width one.
int CellsOfCluster(std::string_view text, std::size_t pos, std::size_t* length);
// The cells of the cluster at pos (a boundary), and its bytes in length.
// Where text continues a cluster at pos (zero-width characters that follow a
// character), those characters and no cells: a whole cluster takes a cell or two.
inline int CellsAt(std::string_view text, std::size_t pos, std::size_t* length)
{
    if (static_cast<unsigned char>(text[pos]) < 0x80 && !MayBeZeroWidth(text, pos + 1)) {
        *length = 1;
        return 1;
    }
    return CellsOfCluster(text, pos, length);
}
// The boundary after the cluster at pos.
inline std::size_t ClusterEnd(std::string_view text, std::size_t pos)
{
    std::size_t length = 0;
    CellsAt(text, pos, &length);
    return pos + length;
}
// Where the cluster holding byte pos begins (pos itself at the end of the text).
std::size_t ClusterStart(std::string_view text, std::size_t pos);
// How many characters text holds that are not zero-width ones: the columns
// it takes as the user counts them.
std::size_t CountSpacingChars(std::string_view text);
// The byte offset of the character that is not zero-width with the given
// index (0-based), or the text's length when it has fewer: the zero-width
// characters before it lie before the offset.
std::size_t OffsetOfSpacingChar(std::string_view text, std::size_t index);

} // namespace vx::utf8

namespace vx {

// The text of a file the program reads (settings, language and data files):
// its bytes when they are well-formed UTF-8, otherwise Windows-1252 as
// earlier versions wrote them, turned into UTF-8.
std::string TextFromFileBytes(std::string_view bytes);

} // namespace vx

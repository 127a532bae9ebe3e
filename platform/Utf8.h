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

// Cells a character takes in the editor's grid: two for East Asian wide and
// full-width characters and emoji, one for every other.
int CellWidth(char32_t codePoint);
// The cells of the character at pos, and its length.
int CellsAt(std::string_view text, std::size_t pos, std::size_t* length);

} // namespace vx::utf8

namespace vx {

// The text of a file the program reads (settings, language and data files):
// its bytes when they are well-formed UTF-8, otherwise Windows-1252 as
// earlier versions wrote them, turned into UTF-8.
std::string TextFromFileBytes(std::string_view bytes);

} // namespace vx

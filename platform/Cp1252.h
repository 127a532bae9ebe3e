// The Windows-1252 code page as a table: byte to Unicode code point and back.
// The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// map to the control characters of the same number, so that every byte
// survives a trip through Unicode.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vx {

char32_t Cp1252ToUnicode(unsigned char byte);
// The byte for a code point, or -1 when the code page has none.
int UnicodeToCp1252(char32_t codePoint);

// Documents that are not UTF-8, and files written by earlier versions, are
// Windows-1252; the program's own text is UTF-8.
std::string Cp1252ToUtf8(std::string_view text);
// Nothing when the bytes are not well-formed UTF-8 (overlong forms and
// surrogates included) or hold a character the code page has no byte for;
// badOffset then tells the byte offset of the offending sequence.
std::optional<std::string> Utf8ToCp1252(std::string_view text, std::size_t* badOffset = nullptr);

} // namespace vx

// The Windows-1252 code page as a table: byte to Unicode code point and back.
// The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// map to the control characters of the same number, so that every byte
// survives a trip through Unicode.
#pragma once

namespace vx {

char32_t Cp1252ToUnicode(unsigned char byte);
// The byte for a code point, or -1 when the code page has none.
int UnicodeToCp1252(char32_t codePoint);

} // namespace vx

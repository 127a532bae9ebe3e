// Case and letter classes of the Windows-1252 code page, the one code page of
// the program's 8-bit text. No byte is a lead byte of a double-byte character.
#pragma once

#include <string>
#include <string_view>

namespace vx {

unsigned char AnsiUpper(unsigned char c);
unsigned char AnsiLower(unsigned char c);
bool IsAnsiLetter(unsigned char c);
bool IsAnsiUpper(unsigned char c);
bool IsAnsiLower(unsigned char c);

std::string AnsiUpperCase(std::string_view s);
std::string AnsiLowerCase(std::string_view s);
// ASCII-only case change, as the class library's UpperCase/LowerCase.
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);

// The value of c as a digit of base 10 or 16 (either case), or -1 when it is none.
int DigitValue(char c, int base);

std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);

} // namespace vx

// Case, comparison and trimming of the program's 8-bit text, which is UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vx {

// Letters changed by their simple case mapping (platform/CaseMap.h); every
// other character, and every byte that begins no character, stays as it is,
// so each character keeps its byte offset. "ß" has no single upper-case
// partner and stays.
std::string AnsiUpperCase(std::string_view s);
std::string AnsiLowerCase(std::string_view s);
// ASCII-only case change, as the class library's UpperCase/LowerCase.
inline char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
inline char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
// Whether text at pos starts with pattern, the ASCII letter case of text
// ignored; pattern is lower case. Scanners of markup call it at every byte.
inline bool StartsNoCase(std::string_view text, std::size_t pos, std::string_view pattern)
{
    if (pos > text.size() || text.size() - pos < pattern.size())
        return false;
    for (std::size_t i = 0; i < pattern.size(); ++i)
        if (AsciiLower(text[pos + i]) != pattern[i])
            return false;
    return true;
}
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);

enum class TCaseFold { Upper, Lower };
// Compares character by character, each as its upper-case (or lower-case)
// partner's code point; a byte that begins no character sorts after every
// character, by its value. Answers -1, 0 or 1.
int CompareIgnoringCase(std::string_view a, std::string_view b, TCaseFold fold = TCaseFold::Upper);

// The value of c as a digit of base 10 or 16 (either case), or -1 when it is none.
int DigitValue(char c, int base);

std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);

} // namespace vx

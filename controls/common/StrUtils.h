// String scanning and replacement on 8-bit text. A set of characters is passed
// as a string holding each member once (order does not matter).
#pragma once

#include <string>
#include <string_view>

namespace vx {

// True when every character of text is in chars (and for an empty text).
bool IsEmptyStr(std::string_view text, std::string_view chars);
// Every occurrence of search, left to right and case-sensitive, replaced;
// inserted text is not searched again. An empty search changes nothing.
std::string ReplaceStr(std::string_view text, std::string_view search, std::string_view replacement);
std::string MakeStr(char c, int count);
// Each tab becomes count blanks (0 removes tabs).
std::string TabsToSpaces(std::string_view text, int count);
int WordCount(std::string_view text, std::string_view delimiters);
// 1-based position of the n-th word, 0 when there is none.
int WordPosition(int n, std::string_view text, std::string_view delimiters);
std::string ExtractWord(int n, std::string_view text, std::string_view delimiters);

} // namespace vx

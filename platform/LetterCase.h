// Letter case of characters for comparisons that ignore it: the letters of
// ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic. Only pairs whose two
// letters take the same number of bytes in UTF-8 are paired (the Turkish
// dotted and dotless i and the long s are left alone), so folded text lines up
// byte for byte with the text it came from.
#pragma once

#include <string>
#include <string_view>

namespace vx {

// The lower-case partner of an upper-case letter; any other code point as it is.
char32_t LowerLetter(char32_t codePoint);
// The upper-case partner of a lower-case letter; any other code point as it is.
char32_t UpperLetter(char32_t codePoint);

// The UTF-8 text with every upper-case letter lower-cased; always as long as
// text. A byte that begins no well-formed sequence stays as it is.
std::string FoldLetterCase(std::string_view text);

} // namespace vx

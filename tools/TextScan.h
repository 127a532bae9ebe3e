// Case-blind scanning of 8-bit text for lower-case patterns, the one match the
// compressor, the beautifier and the converters use (with StartsNoCase of
// platform/AnsiText.h for a match at one place).
#pragma once

#include "platform/AnsiText.h"

#include <cstddef>
#include <string_view>

namespace vx::tools {

// The first place at or after from where pattern starts (case of text ignored), or npos.
std::size_t FindNoCase(std::string_view text, std::string_view pattern, std::size_t from);

// The word-boundary mark of the beautifier's keys. The user sees it as "³";
// inside keys it is a byte that UTF-8 text never holds, so that no letter of
// a line (the "ó" of "ó", whose last byte is 0xB3) can pass for it.
inline constexpr char WordMark = '\xFF';
inline constexpr std::string_view ShownWordMark = "\xC2\xB3";

// The first place at or after from where part starts, exactly; looked for by
// one of its rarer characters (not a blank, "<" or the word mark).
std::size_t FindExact(std::string_view text, std::string_view part, std::size_t from = 0);

} // namespace vx::tools

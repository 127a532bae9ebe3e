// Small text helpers the protocol code shares.
#pragma once

#include "platform/AnsiText.h"

#include <string>
#include <string_view>
#include <vector>

namespace vx::net {

// Without leading and trailing blanks and control characters (bytes up to 32).
std::string Trim(std::string_view text);
// Each run of CR and LF becomes one blank: a value that goes into a header or a
// protocol command cannot start a line of its own.
std::string OneLine(std::string_view text);
// The text cut at every line break (CR LF, a lone CR or a lone LF); a text
// without one is one piece.
std::vector<std::string_view> LinePieces(std::string_view text);
// ASCII letters only: protocol words and tag names, whatever the machine's locale.
using vx::LowerCase;
using vx::UpperCase;
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
// "&", "<", ">" and the double quote as character references, for text placed in markup.
std::string HtmlEscape(std::string_view text);

} // namespace vx::net

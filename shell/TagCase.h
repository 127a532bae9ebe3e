// The tag-case modes of insertion: "NORMAL" leaves a text alone, "UP" and "LO"
// change the case of its letters, "CAPS" capitalises the words that follow a
// blank. The whole text is converted, attribute values, literal text and
// script included; only the ASCII letters change.
#pragma once

#include <string>
#include <string_view>

namespace vx::shell {

// Every a..z that directly follows a blank becomes A..Z; the first character,
// characters after tabs or line breaks and everything else stay as they are.
std::string CapitalizeWords(std::string_view text);

// The text converted by mode ("NORMAL", "UP", "LO" or "CAPS", compared exactly;
// anything else changes nothing).
std::string ApplyTagCase(std::string_view text, std::string_view mode);

} // namespace vx::shell

// The tag-case modes of insertion: "NORMAL" leaves a text alone, "UP" and "LO"
// change the case of the tag and attribute names in it, "CAPS" capitalises the
// attribute names that follow a blank. Literal text, attribute values, comments
// and script (inside <% %>, <? ?> and <script> elements) keep their case.
#pragma once

#include <string>
#include <string_view>

namespace vx::shell {

// Every a..z that directly follows a blank becomes A..Z; the first character,
// characters after tabs or line breaks and everything else stay as they are.
std::string CapitalizeWords(std::string_view text);

// The text converted by mode ("NORMAL", "UP", "LO" or "CAPS", compared exactly;
// anything else changes nothing), only in tag and attribute names.
std::string ApplyTagCase(std::string_view text, std::string_view mode);

} // namespace vx::shell

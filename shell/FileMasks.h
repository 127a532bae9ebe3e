// File-name masks of the file panel: a mask text such as "*.asp;*.inc" cut
// into lower-case masks, and the match of a name against them. "*" stands for
// any run of characters, "?" for one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vx::shell {

// The masks of text, cut at ";" and ",", trimmed, lower-cased and sorted;
// empty pieces are dropped and an empty text gives "*". In loose mode a mask
// without "*", "?" and "." matches any name containing it, and a mask without
// "." that does not end in "*" gets one.
std::vector<std::string> ParseMasks(std::string_view text, bool loose);

// Both in lower case. In strict mode a mask without wildcards matches only the
// equal name, else any name containing it. Stars match by backtracking, so
// "*.txt" matches "a.txt.txt".
bool MatchesMask(std::string_view name, std::string_view mask, bool strict);

// The name lower-cased against every mask; an empty name matches, an empty
// list matches nothing.
bool MatchesAnyMask(std::string_view name, const std::vector<std::string>& masks, bool strict);

} // namespace vx::shell

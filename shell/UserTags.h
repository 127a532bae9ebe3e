// The user's own tags: one entry per line, the start tag upper-cased, then
// ":" and the upper-cased end tag when the tag has one.
#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace vx::shell {

// The per-user tag file, seeded from the program's copy on first use.
std::string UserTagsPath();

std::string UserTagEntry(std::string_view startTag, std::string_view endTag);
// Start and end tag of an entry, split at its last ":"; without one the whole
// entry is the start tag.
std::pair<std::string, std::string> SplitUserTag(std::string_view entry);

} // namespace vx::shell

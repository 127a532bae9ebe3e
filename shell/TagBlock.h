// The tag block around a position of a page: from the nearest opening tag
// before it to the end of the first closing tag after it whose name begins
// the same way.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace vx::shell {

struct TTagBlock {
    std::size_t Begin; // the "<" of the opening tag
    std::size_t End;   // one past the ">" of the closing tag
};

// Searches back from position for a "<" that opens a tag other than an end
// tag or a line break ("<br", any case), then forward from position for
// "</" and the first two letters of its name (any case) and on to the next
// ">". None when either is missing.
std::optional<TTagBlock> FindTagBlock(std::string_view text, std::size_t position);

} // namespace vx::shell

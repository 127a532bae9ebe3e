// Lines of a text file as the program reads them: ended by CR LF, CR or LF.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace vx::tools {

// Where the line at pos ends: its CR or LF, or the end of the text.
std::size_t LineEnd(std::string_view text, std::size_t pos);

// The lines of text, views into it; a last line without its end counts, an
// empty text has none.
std::vector<std::string_view> SplitLines(std::string_view text);

} // namespace vx::tools

// Splitting text into lines.
#include "tools/core/TextLines.h"

namespace vx::tools {

std::size_t LineEnd(std::string_view text, std::size_t pos)
{
    // A plain byte loop: lines are short, and a set search costs a call per byte.
    while (pos < text.size() && text[pos] != '\r' && text[pos] != '\n')
        ++pos;
    return pos;
}

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = LineEnd(text, start);
        lines.push_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

} // namespace vx::tools

// Splitting text into lines.
#include "tools/TextLines.h"

#include <cstdint>
#include <cstring>

namespace vx::tools {

std::size_t LineEnd(std::string_view text, std::size_t pos)
{
    // Eight bytes at a time while none of them is a CR or LF; a set search
    // would cost a call per byte.
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t highs = 0x8080808080808080ULL;
    while (pos + 8 <= text.size()) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + pos, sizeof word);
        const std::uint64_t cr = word ^ (ones * '\r');
        const std::uint64_t lf = word ^ (ones * '\n');
        if ((((cr - ones) & ~cr) | ((lf - ones) & ~lf)) & highs)
            break;
        pos += 8;
    }
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

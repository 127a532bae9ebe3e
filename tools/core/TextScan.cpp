#include "tools/core/TextScan.h"

#include <cstring>

namespace vx::tools {

namespace {

// The next place at or after from holding c, or the end.
std::size_t NextOf(std::string_view text, char c, std::size_t from)
{
    if (from >= text.size())
        return text.size();
    const void* hit = std::memchr(text.data() + from, c, text.size() - from);
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) : text.size();
}

} // namespace

std::size_t FindNoCase(std::string_view text, std::string_view pattern, std::size_t from)
{
    if (pattern.empty())
        return from <= text.size() ? from : std::string_view::npos;
    const char first = pattern[0];
    if (first >= 'a' && first <= 'z') {
        // Either case may open a match: look at every character, never past the match.
        for (std::size_t pos = from; pos < text.size(); ++pos)
            if (AsciiLower(text[pos]) == first && StartsNoCase(text, pos, pattern))
                return pos;
        return std::string_view::npos;
    }
    for (std::size_t pos = NextOf(text, first, from); pos < text.size(); pos = NextOf(text, first, pos + 1))
        if (StartsNoCase(text, pos, pattern))
            return pos;
    return std::string_view::npos;
}

} // namespace vx::tools

#include "tools/TextScan.h"

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
        // Setting the 0x20 bit folds only the two cases of a letter onto it.
        const char* data = text.data();
        for (std::size_t pos = from; pos < text.size(); ++pos)
            if ((data[pos] | 0x20) == first && StartsNoCase(text, pos, pattern))
                return pos;
        return std::string_view::npos;
    }
    // Look for the first character that is neither a letter nor a blank:
    // blanks are common, and letters come in two cases.
    std::size_t anchor = 0;
    for (std::size_t i = 1; i < pattern.size() && pattern[anchor] == ' '; ++i)
        if (!(pattern[i] >= 'a' && pattern[i] <= 'z'))
            anchor = i;
    const char key = pattern[anchor];
    for (std::size_t at = NextOf(text, key, from + anchor); at < text.size(); at = NextOf(text, key, at + 1))
        if (StartsNoCase(text, at - anchor, pattern))
            return at - anchor;
    return std::string_view::npos;
}

std::size_t FindExact(std::string_view text, std::string_view part, std::size_t from)
{
    if (part.empty())
        return from <= text.size() ? from : std::string_view::npos;
    std::size_t anchor = 0;
    while (anchor + 1 < part.size() && (part[anchor] == ' ' || part[anchor] == '<' || part[anchor] == WordMark))
        ++anchor;
    const char key = part[anchor];
    for (std::size_t at = NextOf(text, key, from + anchor); at < text.size(); at = NextOf(text, key, at + 1))
        if (text.size() - (at - anchor) >= part.size() && text.compare(at - anchor, part.size(), part) == 0)
            return at - anchor;
    return std::string_view::npos;
}

} // namespace vx::tools

#include "shell/FileMasks.h"

#include "platform/AnsiText.h"

#include <algorithm>

namespace vx::shell {

namespace {

bool HasWildcard(std::string_view mask)
{
    return mask.find_first_of("*?") != std::string_view::npos;
}

// Wildcard match with the usual single backtrack point: a star remembers where
// it stood, and a later mismatch lets it swallow one more character.
bool WildcardMatch(std::string_view name, std::string_view mask)
{
    std::size_t n = 0, m = 0;
    std::size_t starMask = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || mask[m] == name[n])) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (starMask != std::string_view::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

} // namespace

std::vector<std::string> ParseMasks(std::string_view text, bool loose)
{
    std::vector<std::string> masks;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find_first_of(";,", start), text.size());
        const std::string piece = vx::Trim(text.substr(start, end - start));
        if (!piece.empty()) {
            std::string mask = vx::AnsiLowerCase(piece);
            if (loose && !HasWildcard(mask) && mask.find('.') == std::string::npos)
                mask = "*" + mask + "*";
            else if (loose && mask.find('.') == std::string::npos && mask.back() != '*')
                mask += '*';
            masks.push_back(std::move(mask));
        }
        start = end + 1;
    }
    if (masks.empty())
        masks.emplace_back("*");
    std::sort(masks.begin(), masks.end());
    return masks;
}

bool MatchesMask(std::string_view name, std::string_view mask, bool strict)
{
    if (mask == "*")
        return true;
    if (mask == "*.*")
        return name.find('.') != std::string_view::npos;
    if (!HasWildcard(mask))
        return strict ? name == mask : name.find(mask) != std::string_view::npos;
    return WildcardMatch(name, mask);
}

bool MatchesAnyMask(std::string_view name, const std::vector<std::string>& masks, bool strict)
{
    if (name.empty())
        return true;
    const std::string lower = vx::AnsiLowerCase(name);
    return std::any_of(masks.begin(), masks.end(),
                       [&](const std::string& mask) { return MatchesMask(lower, mask, strict); });
}

} // namespace vx::shell

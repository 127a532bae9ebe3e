// The line search and the jump number.
#include "shell/TextSearch.h"

#include "localisation/RunTimeText.h"

#include <algorithm>
#include <climits>

namespace {

const TRunTimeText FoundAt{"Found \"%1\" at line %2"};

} // namespace

namespace vx::shell {

std::vector<TTextHit> FindTextInLines(const TStrings& lines, std::string_view text, int first)
{
    std::vector<TTextHit> hits;
    if (text.empty())
        return hits;
    for (int i = std::max(first, 0); i < lines.Count(); ++i) {
        const std::size_t at = lines.View(i).find(text);
        if (at != std::string::npos)
            hits.push_back({i + 1, static_cast<int>(at) + 1});
    }
    return hits;
}

std::string FoundMessage(std::string_view text, int line, bool fifthSlot)
{
    std::string message = FoundAt({text, std::to_string(line)});
    return fifthSlot ? "\r " + message + "\r" : message;
}

int LeadingNumber(std::string_view text)
{
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = std::min<long long>(value * 10 + (c - '0'), INT_MAX);
    }
    return static_cast<int>(value);
}

} // namespace vx::shell

// Scheme, root and base of web addresses and local paths.
#include "internet/URLHelpers.h"

#include <algorithm>

namespace {

constexpr std::string_view kSeparators = "/\\";

bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsSchemeChar(char c)
{
    return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

} // namespace

std::string GetURLProtocol(std::string_view url)
{
    size_t colon = url.find(':');
    if (colon == std::string_view::npos || colon == 0 || !IsAsciiLetter(url[0]))
        return "HTTP";
    std::string_view scheme = url.substr(0, colon);
    if (!std::all_of(scheme.begin(), scheme.end(), IsSchemeChar))
        return "HTTP";
    return std::string(scheme);
}

std::string GetURLRoot(std::string_view url)
{
    size_t run = url.find_first_of(kSeparators);
    if (run == std::string_view::npos)
        return std::string(url);
    size_t host = url.find_first_not_of(kSeparators, run);
    if (host == std::string_view::npos)
        return std::string(url);
    return std::string(url.substr(0, url.find_first_of(kSeparators, host)));
}

std::string GetURLBase(std::string_view url)
{
    size_t last = url.find_last_of("/:\\");
    size_t length = last == std::string_view::npos ? 0 : last + 1;
    // Behind a run of two separators ("//", "\\") stands a host, never a file, so
    // the base reaches at least to the end of the host.
    size_t run = url.find_first_of(kSeparators);
    if (run != std::string_view::npos && run + 1 < url.size()
        && kSeparators.find(url[run + 1]) != std::string_view::npos)
        length = std::max(length, GetURLRoot(url).size());
    return std::string(url.substr(0, length));
}

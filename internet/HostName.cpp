// Telling a host name from a host with more around it.
#include "internet/HostName.h"

#include "internet/TextUtil.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace vx::net {

namespace {

bool IsHexDigitOrSeparator(char c)
{
    return std::isxdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.';
}

// "::1", "fe80::2": an IPv6 address has two colons at least, and nothing but
// hexadecimal digits and separators (its last part may be written as IPv4).
bool IsIPv6Address(std::string_view text)
{
    return std::count(text.begin(), text.end(), ':') >= 2 && std::all_of(text.begin(), text.end(), IsHexDigitOrSeparator);
}

} // namespace

bool IsHostNameAlone(std::string_view entry)
{
    const std::string host = Trim(entry);
    const bool inside = std::any_of(host.begin(), host.end(), [](char c) {
        return c == '/' || c == '\\' || c == '@' || c == '[' || std::isspace(static_cast<unsigned char>(c)) ||
               static_cast<unsigned char>(c) < 32;
    });
    if (inside)
        return false;
    return host.find(':') == std::string::npos || IsIPv6Address(host);
}

} // namespace vx::net

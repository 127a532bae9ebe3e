// Addresses as the mail component reads them from its fields.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vx::net {

// One entry of an address list: the name shown (quotes and escapes taken
// off) and the address.
struct TMailbox {
    std::string Name;
    std::string Address;
};

// The text between the first "<" and the following ">", or the whole trimmed text.
std::string BareAddress(std::string_view text);
// The entries of a comma-separated list such as "\"Doe, J\" <j@x>, k@y";
// entries without an address are skipped.
std::vector<TMailbox> Mailboxes(std::string_view text);
// The addresses of a comma-separated list such as "\"Doe, J\" <j@x>, k@y":
// quoted names (with backslash escapes) are dropped, empty parts skipped.
std::vector<std::string> AddressList(std::string_view text);
// A display name in double quotes, with quotes and backslashes escaped.
std::string QuotedName(std::string_view name);
// Exactly four dot-separated decimal parts, each from 1 to 254.
bool IsDottedIPAddress(std::string_view text);

} // namespace vx::net

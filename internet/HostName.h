// Whether a field that takes a server's host name holds one. The publishing
// window and the mail sender know their protocol and port themselves (FTP on
// 21, SMTP on 25); what a user copies from elsewhere often carries more:
// "127.0.0.1:2121", "ftp://ftp.example.com/www", "mail.example.com 25".
#pragma once

#include <string_view>

namespace vx::net {

// True for a host name or address alone ("ftp.example.com", "127.0.0.1",
// "::1"), and for an empty field, which the callers report themselves;
// false for an entry with a port, a protocol, a folder or a blank inside.
// Leading and trailing blanks do not count.
bool IsHostNameAlone(std::string_view entry);

} // namespace vx::net

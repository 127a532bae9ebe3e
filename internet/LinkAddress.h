// Turning a link value into the address the link checker queues.
#pragma once

#include <string>
#include <string_view>

namespace vx::net {

// True when the value starts with a scheme and its colon ("http:", "mailto:",
// "c:" of a drive path); "http.html" and "page.asp?t=1:2" have none.
bool HasScheme(std::string_view value);
// A value with a scheme stays as it is; one starting with "/" or "\" goes
// after the page's root; any other after the page base.
std::string ResolveLink(std::string_view value, std::string_view pageAddress, std::string_view pageBase);
// Without its fragment, and with "." and ".." segments of the path removed
// (never above the host or the top folder).
std::string NormalizeAddress(std::string_view address);
// Without query and fragment: the file a local address names.
std::string LocalFilePart(std::string_view address);
bool IsHttpAddress(std::string_view address);

} // namespace vx::net

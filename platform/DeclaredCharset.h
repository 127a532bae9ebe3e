// The character set an HTML page declares for itself in a meta element,
// <meta charset="..."> or <meta http-equiv="Content-Type" content="...;
// charset=...">, looked for as browsers look for it before they parse the
// page: comments and other tags are stepped over whole, so a declaration in a
// comment or in an attribute's value does not count.
#pragma once

#include <optional>
#include <string_view>

namespace vx {

// The name of the character set the page declares (as CharsetOfLabel names
// it); nothing when it declares none or names one browsers do not know. A
// page read that far was ASCII, so a declaration of UTF-16 stands for UTF-8,
// and one of x-user-defined for windows-1252, as browsers take them.
std::optional<std::string_view> DeclaredCharset(std::string_view page);

} // namespace vx

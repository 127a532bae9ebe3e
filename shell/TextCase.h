// Case changes of the editing commands: only the letters a..z and A..Z
// change; every other byte stays as it is.
#pragma once

#include <string>
#include <string_view>

namespace vx::shell {

std::string AsciiUpperCase(std::string_view text);
std::string AsciiLowerCase(std::string_view text);
// The text in lower case with its first character upper-cased; empty stays empty.
std::string CapitalizeFirst(std::string_view text);

} // namespace vx::shell

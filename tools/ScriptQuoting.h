// Texts put inside the string literals of generated scripts, quoted so that
// the literal ends where the generator meant it to.
#pragma once

#include <string>
#include <string_view>

namespace vx::tools {

// VBScript: a double quote is written twice.
std::string VBQuoted(std::string_view text);
// Perl double-quoted strings: \ $ @ and " are escaped with a backslash.
std::string PerlQuoted(std::string_view text);
// Perl single-quoted strings: \ and ' are escaped with a backslash.
std::string PerlSingleQuoted(std::string_view text);

} // namespace vx::tools

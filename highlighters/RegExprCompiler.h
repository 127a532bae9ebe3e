// Turns the text of a regular expression into its byte program.
#pragma once

#include "highlighters/RegExprProgram.h"

#include <string_view>

namespace vx::regexpr {

// Raises Exception with the fixed message of the first syntax error found.
// With extendedCharClasses the set ranges 0xE0-0xFF, 0xC0-0xDF and 0xE0-0xDF
// stand for the lower-case, upper-case and all letters of Windows-1252's
// upper half, as the Unicode characters they are.
Program CompileRegExpr(std::string_view expression, bool extendedCharClasses);

} // namespace vx::regexpr

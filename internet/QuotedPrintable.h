// Quoted-printable (RFC 2045): bytes outside printable ASCII as "=XX", lines
// kept to 76 characters by soft breaks, so that text of any bytes and any
// line length crosses a mail server that carries only 7-bit lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vx::net {

// One line of text (without its line break) as encoded lines: every line but
// the last ends in the soft break "=", which a reader removes with the break.
std::vector<std::string> QuotedPrintableLines(std::string_view line);

} // namespace vx::net

// A strict checker of the RTF the exporter writes: one balanced top-level
// group opened by \rtf1, only known control words, well-formed escapes,
// colour and font references that exist, no stray control characters.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vx::test {

// Every fault found, each with its byte offset; empty for a valid document.
std::vector<std::string> CheckRtf(std::string_view rtf);

} // namespace vx::test

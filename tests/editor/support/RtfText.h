// The text a word processor reads from the exporter's RTF, for tests that
// check every character arrives: the body's characters as UTF-8, each
// paragraph mark as a line feed. The header's groups (font and colour tables,
// information, \* destinations) are skipped; \uN is read with its one
// fallback character (\uc1) skipped, \'hh as a Windows-1252 byte.
#pragma once

#include <string>
#include <string_view>

namespace vx::test {

std::string RtfText(std::string_view rtf);

} // namespace vx::test

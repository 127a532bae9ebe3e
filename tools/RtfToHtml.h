// Converts RTF text into HTML: paragraphs with alignment, bullet lists, bold,
// italic and underline, font face, colour and size, tabs, and entities for
// "<", ">" and "&". Only the control words a simple rich-edit control writes
// are understood; other words are ignored and destination groups skipped.
#pragma once

#include <string>
#include <string_view>

namespace vx::tools {

// The whole text is converted at once, so groups, tables and styles may span lines.
std::string RtfToHtml(std::string_view rtf);

} // namespace vx::tools

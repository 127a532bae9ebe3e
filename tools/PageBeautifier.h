// The beautifier's work on a page (rather than a plain script): each line is
// indented by the open elements of its place (HTML level) and by the VBScript
// blocks its server blocks have opened (script level). A server block that
// stands on lines of its own is rewritten: its delimiters on lines of their
// own, its statements tidied and indented by the script level. What the
// browser reads as written is copied unchanged: comments and conditional
// comments, scripts, style sheets, pre and textarea, server blocks that
// share their line with markup, and every line that starts inside one of
// them or inside a tag.
#pragma once

#include "tools/SourceBeautifier.h"

#include <string>
#include <string_view>

namespace vx::tools {

// The lines of the page indented, each ended by LF, appended to out.
void BeautifyPage(std::string_view text, const TBeautifyOptions& options, std::string& out);

} // namespace vx::tools

// How the beautifier tidies the words of VBScript, in plain scripts and in the
// server blocks of pages alike: blank runs and "endif" are rewritten only
// outside double-quoted strings, and a comment is never taken for code.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vx::tools {

// Writes text to out with each run of blanks and tabs outside double-quoted
// strings as one blank; inside says whether a string is open, before and
// after. out may write into text's own bytes, as it never gets ahead of
// the reading.
template <class Out> Out CollapseBlanksTo(std::string_view text, Out out, bool& inside)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    for (std::size_t read = 0; read < text.size(); ++read) {
        const char c = text[read];
        if (c == '"') {
            inside = !inside;
        } else if (!inside && blank(c)) {
            while (read + 1 < text.size() && blank(text[read + 1]))
                ++read;
            *out++ = ' ';
            continue;
        }
        *out++ = c;
    }
    return out;
}

// Cuts text into pieces alternating outside and inside double quotes, the
// first inside when a string runs on into the text; each piece keeps the
// quote that ends it.
template <class F> void ForEachQuotePiece(std::string_view text, F&& piece, bool inside = false)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t quote = text.find('"', pos);
        const std::size_t end = quote == std::string_view::npos ? text.size() : quote + 1;
        piece(text.substr(pos, end - pos), inside);
        inside = !inside;
        pos = end;
    }
}

// A piece of code outside strings appended to out with "endif", where it is a
// word of its own, written "end if".
void AppendSplitEndIf(std::string& out, std::string_view piece);

// A line of a server block appended to out as the beautifier writes a
// statement line: without blanks at either end, blank runs of its code
// outside strings as one blank and "endif" split there; its comment as
// written, one blank after the code. Strings end with the line, as VBScript's
// do. Answers where the code ends in out (before the blank and the comment).
std::size_t AppendTidyScriptLine(std::string& out, std::string_view line);

} // namespace vx::tools

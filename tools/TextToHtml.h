// Turns the lines of a plain text into a simple HTML page: fixed head lines,
// a title, blanks as non-breaking spaces and optional line breaks.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vx::tools {

struct TTextToHtmlOptions {
    // "Convert returns to <br>"
    bool Breaks = false;
    // "Convert first line to title"
    bool FirstLineTitle = false;
};

// The page's lines up to and without the closing "</html>"; onLine is told
// the index of each text line before it is converted.
std::vector<std::string> TextToHtmlLines(const std::vector<std::string>& text, const TTextToHtmlOptions& options,
                                         const std::function<void(std::size_t)>& onLine = {});

// "&", "<" and ">" as entities, then every blank as "&nbsp;".
std::string HtmlTextLine(const std::string& line);

} // namespace vx::tools

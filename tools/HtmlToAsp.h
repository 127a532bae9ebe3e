// Turns the lines of an HTML page into VBScript output statements, optionally
// wrapped as one function, so that a static page can go into a server script.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vx::tools {

// " Response.write ("...")" with the line's double quotes doubled, as VBScript
// writes a quote inside a string.
std::string ResponseWriteLine(std::string_view line);

// The banner, an empty line, and one output statement per source line;
// between "Function <name>" and "end function" when functionName is set.
// onLine is told the index of each source line before it is converted.
std::vector<std::string> HtmlToAspLines(const std::vector<std::string>& source, bool asFunction,
                                        const std::string& functionName,
                                        const std::function<void(std::size_t)>& onLine = {});

} // namespace vx::tools

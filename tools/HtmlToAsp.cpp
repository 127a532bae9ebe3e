#include "tools/HtmlToAsp.h"

#include "tools/Banner.h"

namespace vx::tools {

std::string ResponseWriteLine(std::string_view line)
{
    std::string out = " Response.write (\"";
    out.reserve(out.size() + line.size() + 4);
    for (const char c : line) {
        out.push_back(c);
        if (c == '"')
            out.push_back('"');
    }
    out += "\")";
    return out;
}

std::vector<std::string> HtmlToAspLines(const std::vector<std::string>& source, bool asFunction,
                                        const std::string& functionName,
                                        const std::function<void(std::size_t)>& onLine)
{
    std::vector<std::string> lines;
    lines.reserve(source.size() + 4);
    lines.push_back(std::string("<% rem file converted from html to asp/vbs by Vellumix professional") + VersionTag +
                    " %>");
    lines.emplace_back();
    if (asFunction)
        lines.push_back("Function " + functionName);
    for (std::size_t i = 0; i < source.size(); ++i) {
        if (onLine)
            onLine(i);
        lines.push_back(ResponseWriteLine(source[i]));
    }
    if (asFunction)
        lines.emplace_back("end function");
    return lines;
}

} // namespace vx::tools

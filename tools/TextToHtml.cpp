#include "tools/TextToHtml.h"

#include "tools/Banner.h"

namespace vx::tools {

namespace {

std::string Escaped(const std::string& line, bool hardBlanks)
{
    std::string out;
    out.reserve(line.size() + line.size() / 4);
    for (const char c : line) {
        if (c == ' ' && !hardBlanks) {
            out.push_back(c);
            continue;
        }
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case ' ':
            out += "&nbsp;";
            break;
        default:
            out.push_back(c);
        }
    }
    return out;
}

} // namespace

std::string HtmlTextLine(const std::string& line)
{
    return Escaped(line, true);
}

std::vector<std::string> TextToHtmlLines(const std::vector<std::string>& text, const TTextToHtmlOptions& options,
                                         const std::function<void(std::size_t)>& onLine)
{
    // The document type must stand before everything else to count.
    std::vector<std::string> page = {
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\">",
        "<HTML>",
        std::string("<Meta name=\"generator\" content=\"Vellumix Professional") + VersionTag + "\">",
        "<head>",
    };
    const bool titled = options.FirstLineTitle && !text.empty();
    page.push_back(titled ? "<title>" + Escaped(text.front(), false) + "</title>" : "<title>Document name here</title>");
    page.emplace_back("</head>");
    const std::string lineEnd = options.Breaks ? "<br>" : "";
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (onLine)
            onLine(i);
        // A first line that became the title leaves only its line break behind.
        page.push_back((i == 0 && titled ? std::string() : HtmlTextLine(text[i])) + lineEnd);
    }
    return page;
}

} // namespace vx::tools

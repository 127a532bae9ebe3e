#include "shell/CsvHtml.h"

namespace vx::shell {

std::vector<std::string> SplitCsvLine(std::string_view line)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c != '"')
                fields.back() += c;
            else if (i + 1 < line.size() && line[i + 1] == '"')
                fields.back() += line[++i];
            else
                quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

std::string EscapeHtml(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': result += "&amp;"; break;
        case '<': result += "&lt;"; break;
        case '>': result += "&gt;"; break;
        default: result += c;
        }
    }
    return result;
}

std::vector<std::string> CsvToHtml(const std::vector<std::string>& lines, std::string_view title,
                                   std::string_view generator, std::string_view dateTime)
{
    std::vector<std::string> page{"<html>",
                                  "",
                                  "<meta charset=\"UTF-8\">",
                                  "<meta name=\"generator\" content=\"" + std::string(generator) + "\">",
                                  "<meta name=\"date_time\" content=\"" + std::string(dateTime) + "\">",
                                  "",
                                  "<head>",
                                  " <title>" + EscapeHtml(title) + "</title>",
                                  "</head>",
                                  "",
                                  "<body>",
                                  "",
                                  "<Table border=1 width=\"100%\">"};
    for (const std::string& line : lines) {
        if (line.empty())
            continue;
        page.emplace_back("    <Tr>");
        for (const std::string& field : SplitCsvLine(line)) {
            page.emplace_back("      <td>");
            page.push_back("      " + EscapeHtml(field));
            page.emplace_back("      </td>");
        }
        page.emplace_back("    </tr>");
    }
    for (const char* end : {"</table>", "</body>", "</html>"})
        page.emplace_back(end);
    return page;
}

} // namespace vx::shell

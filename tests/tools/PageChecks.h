// What the page tools' tests check on a generated page: that its regions come
// through unchanged, and what a browser shows of a page.
#pragma once

#include "tests/tools/PageCorpus.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

namespace vx::test {

// The first region of the kinds asked for that the output does not hold, in
// page order, unchanged; empty when all are there.
template <class Kinds> std::string FirstRegionChanged(const TCorpusPage& page, std::string_view output, Kinds&& kinds)
{
    std::size_t from = 0;
    for (const TRegion& region : page.Regions) {
        if (!kinds(region.Kind))
            continue;
        const std::size_t at = output.find(region.Text, from);
        if (at == std::string_view::npos)
            return region.Text;
        from = at + region.Text.size();
    }
    return {};
}

// The statements of a page's server blocks (not its output expressions and
// directives) reduced to what the beautifier must keep of them: each line
// without white space outside its strings, empty lines left out.
inline std::vector<std::string> ScriptStatements(std::string_view page)
{
    std::vector<std::string> lines;
    for (std::size_t open = page.find("<%"); open != std::string_view::npos; open = page.find("<%", open + 2)) {
        if (open + 2 < page.size() && (page[open + 2] == '=' || page[open + 2] == '@'))
            continue;
        const std::size_t close = std::min(page.find("%>", open + 2), page.size());
        std::string line;
        bool inside = false;
        for (std::size_t at = open + 2; at <= close; ++at) {
            const char c = at < close ? page[at] : '\n';
            if (c == '\r' || c == '\n') {
                if (!line.empty())
                    lines.push_back(line);
                line.clear();
                inside = false;
                continue;
            }
            inside = inside != (c == '"');
            if (inside || (c != ' ' && c != '\t'))
                line += c;
        }
        open = close;
    }
    return lines;
}

// What a browser shows of a page, reduced to what white space can change:
// the text with each run of white space as one blank, no blank beside a block
// boundary (written "\n"), server output and the content of pre and textarea
// as "$" and that content; and, apart, the quoted attribute values holding
// white space. Comments, scripts, style sheets and inline tags show nothing
// and part no white space.
struct TShown {
    std::string Text;
    std::vector<std::string> Values;
    bool operator==(const TShown&) const = default;
};

inline TShown Shown(std::string_view page)
{
    static const std::string_view blocks[] = {"html", "head", "title", "meta", "link", "body", "p", "div", "table",
                                         "thead", "tbody", "tfoot", "tr", "td", "th", "ul", "ol", "li", "dl",
                                         "dt", "dd", "form", "option", "br", "hr", "pre", "blockquote", "center",
                                         "h1", "h2", "h3"};
    TShown shown;
    bool blank = false;
    bool boundary = true;
    const auto text = [&](std::string_view what) {
        if (blank && !boundary)
            shown.Text += ' ';
        shown.Text += what;
        blank = boundary = false;
    };
    const auto block = [&] {
        if (!boundary)
            shown.Text += '\n';
        blank = false;
        boundary = true;
    };
    const auto past = [&](std::size_t from, std::string_view close) {
        const std::size_t at = page.find(close, from);
        return at == std::string_view::npos ? page.size() : at + close.size();
    };
    std::size_t pos = 0;
    while (pos < page.size()) {
        const char c = page[pos];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            blank = true;
            ++pos;
            continue;
        }
        if (c != '<' || pos + 1 == page.size()) {
            text(std::string_view(&page[pos], 1));
            ++pos;
            continue;
        }
        const char next = page[pos + 1];
        if (next == '%' || next == '?') {
            const std::size_t end = past(pos, next == '%' ? "%>" : "?>");
            text("$" + std::string(page.substr(pos, end - pos)));
            pos = end;
        } else if (page.compare(pos, 7, "<!--[if") == 0) {
            const std::size_t end = past(pos, "<![endif]-->");
            text("$" + std::string(page.substr(pos, end - pos)));
            pos = end;
        } else if (page.compare(pos, 4, "<!--") == 0) {
            pos = past(pos, "-->");
        } else if (next == '!') {
            pos = past(pos, ">");
            block();
        } else if (std::isalpha(static_cast<unsigned char>(next)) || next == '/') {
            const bool closing = next == '/';
            std::size_t end = pos + (closing ? 2 : 1);
            std::string name;
            while (end < page.size() && std::isalnum(static_cast<unsigned char>(page[end])))
                name += static_cast<char>(std::tolower(static_cast<unsigned char>(page[end++])));
            // Through the tag's ">", over quoted values and server blocks.
            while (end < page.size() && page[end] != '>') {
                if (page.compare(end, 2, "<%") == 0) {
                    end = past(end, "%>");
                } else if ((page[end] == '"' || page[end] == '\'') && page[end - 1] == '=') {
                    std::size_t close = end + 1;
                    while (close < page.size() && page[close] != page[end])
                        close = page.compare(close, 2, "<%") == 0 ? past(close, "%>") : close + 1;
                    const std::string value(page.substr(end + 1, close - end - 1));
                    if (value.find_first_of(" \t\r\n") != std::string::npos)
                        shown.Values.push_back(value);
                    end = close + 1;
                } else {
                    ++end;
                }
            }
            pos = std::min(end + 1, page.size());
            const bool isBlock = std::find(std::begin(blocks), std::end(blocks), name) != std::end(blocks);
            if (isBlock)
                block();
            if (!closing && (name == "script" || name == "style" || name == "pre" || name == "textarea")) {
                const std::size_t close = past(pos, "</" + name + ">");
                if (name == "pre" || name == "textarea")
                    text("$" + std::string(page.substr(pos, close - pos)));
                pos = close;
                if (isBlock)
                    block();
            }
        } else {
            text("<");
            ++pos;
        }
    }
    return shown;
}

} // namespace vx::test

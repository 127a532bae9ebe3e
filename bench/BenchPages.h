// Pages like the ones the program is opened on, generated for the benchmarks:
// mixed ASP and PHP pages, HTML with scripts and style sheets, style sheets of
// short lines, and minified pages of one line. Words, numbers, names and the
// order of the page's parts vary (seeded), so no page is a few lines repeated.
#pragma once

#include "highlighters/wmPageHighlighterSet.h"

#include <cstddef>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace vx::bench {

constexpr std::size_t kKB = 1024;
constexpr std::size_t kMB = 1024 * 1024;

// The multi-language highlighter with the schemes the main window gives it.
using TPageHighlighters = TwmPageHighlighterSet;

class TPageWriter {
public:
    enum Kind { kAsp, kPhp, kHtml };

    explicit TPageWriter(unsigned seed) : rng_(seed) {}

    // A page of at least bytes bytes; lineBreak "" gives a minified page of one line.
    std::string Page(Kind kind, std::size_t bytes, const std::string& lineBreak = "\r\n")
    {
        std::string page;
        page.reserve(bytes + 4096);
        br_ = lineBreak;
        Head(page);
        while (page.size() < bytes) {
            switch (Pick(kind == kHtml ? 6 : 9)) {
            case 0: Table(page, kind); break;
            case 1: Paragraph(page); break;
            case 2: Comment(page); break;
            case 3: ClientScript(page); break;
            case 4: Style(page); break;
            case 5: Form(page); break;
            default: ServerBlock(page, kind); break;
            }
        }
        page += "</body></html>" + br_;
        return page;
    }

    // A style sheet of short lines, at least bytes bytes.
    std::string StyleSheet(std::size_t bytes, const std::string& lineBreak = "\r\n")
    {
        br_ = lineBreak;
        std::string css;
        css.reserve(bytes + 1024);
        while (css.size() < bytes)
            Rule(css, "");
        return css;
    }

private:
    int Pick(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }
    const char* Of(std::initializer_list<const char*> choices)
    {
        return choices.begin()[Pick(static_cast<int>(choices.size()))];
    }
    std::string Number() { return std::to_string(rng_() % 10000); }
    std::string Name()
    {
        static const char* const parts[] = {"order", "item", "total", "cust", "price", "row", "name", "qty",
                                            "tax", "user", "id", "date", "list", "count", "sum", "page"};
        std::string n = parts[Pick(16)];
        if (Pick(2))
            n += char('A' + Pick(26)) + std::string(parts[Pick(16)]);
        return n;
    }
    std::string Words(int count)
    {
        static const char* const words[] = {"the", "order", "was", "shipped", "to", "our", "customer", "within",
                                            "two", "days", "and", "all", "items", "arrived", "in", "good",
                                            "shape", "please", "contact", "us", "for", "questions", "about"};
        std::string w;
        for (int i = 0; i < count; ++i)
            w += (i ? " " : "") + std::string(words[Pick(23)]);
        return w;
    }
    void Line(std::string& page, const std::string& indent, const std::string& text)
    {
        page += (br_.empty() ? std::string() : indent) + text + br_;
    }

    void Head(std::string& page)
    {
        Line(page, "", "<html><head><title>" + Words(3) + "</title>");
        Line(page, "", "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">");
        Style(page);
        Line(page, "", "</head><body bgcolor=\"#FFFFFF\" onload=\"init" + Name() + "()\">");
    }
    void Table(std::string& page, Kind kind)
    {
        Line(page, "", "<table width=\"" + Number() + "\" border=\"0\" cellpadding=\"2\" class=\"" + Name() + "\">");
        for (int r = Pick(6) + 2; r > 0; --r) {
            std::string row = "<tr><td class=\"" + Name() + "\">" + Words(Pick(4) + 1) + "</td><td align=\"right\">";
            if (kind == kAsp)
                row += "<%= rs(\"" + Name() + "\") %>";
            else if (kind == kPhp)
                row += "<?php echo $row['" + Name() + "']; ?>";
            else
                row += Number() + "." + Number();
            Line(page, "  ", row + "</td><td>&nbsp;<a href=\"" + Name() + ".asp?id=" + Number() + "\">" + Words(1) +
                                 "</a></td></tr>");
        }
        Line(page, "", "</table>");
    }
    void Paragraph(std::string& page)
    {
        Line(page, "", "<p>" + Words(Pick(12) + 4) + " <b>" + Words(2) + "</b> &amp; <i>" + Words(3) + "</i> &copy; " +
                           Number() + "</p>");
    }
    void Comment(std::string& page)
    {
        Line(page, "", "<!-- " + Words(Pick(6) + 2));
        Line(page, "     ", Words(Pick(5) + 2) + " -->");
    }
    void ClientScript(std::string& page)
    {
        Line(page, "", "<script language=\"JavaScript\">");
        Line(page, "  ", "function init" + Name() + "() { // " + Words(3));
        Line(page, "    ", "var " + Name() + " = new Array(" + Number() + ", " + Number() + ", '" + Words(2) + "');");
        Line(page, "    ", "for (var i = 0; i < " + Name() + ".length; i++) { total += " + Name() + "[i] * 1.5; }");
        Line(page, "    ", "/* " + Words(4) + " */ document.write(\"<b>\" + total + \"</b>\");");
        Line(page, "  ", "}");
        Line(page, "", "</script>");
    }
    void Rule(std::string& css, const std::string& indent)
    {
        Line(css, indent, std::string(Of({".", "#", ""})) + Name() + (Pick(2) ? " " + std::string(Of({"td", "a", "p", "div"})) : "") + " {");
        for (int p = Pick(4) + 1; p > 0; --p)
            Line(css, indent + "  ", std::string(Of({"color", "margin", "padding", "font-family", "border", "width"})) +
                                         ": " + Of({"#336699", "0px", "2px 4px", "Verdana, Arial", "1px solid black", "100%"}) + ";");
        Line(css, indent, Pick(4) ? "}" : "} /* " + Words(3) + " */");
    }
    void Style(std::string& page)
    {
        Line(page, "", "<style type=\"text/css\">");
        for (int r = Pick(3) + 1; r > 0; --r)
            Rule(page, "  ");
        Line(page, "", "</style>");
    }
    void Form(std::string& page)
    {
        Line(page, "", "<form method=\"post\" action=\"" + Name() + ".asp\"><input type=\"text\" name=\"" + Name() +
                           "\" value=\"" + Words(1) + "\" size=\"" + Number() + "\"><select name=\"" + Name() +
                           "\"><option value=\"1\">" + Words(2) + "</option></select></form>");
    }
    void ServerBlock(std::string& page, Kind kind)
    {
        if (kind == kPhp) {
            Line(page, "", "<?php");
            Line(page, "  ", "function " + Name() + "($" + Name() + ", $tax = 0." + Number() + ") { // " + Words(2));
            Line(page, "    ", "$sum = 0; foreach ($" + Name() + " as $i) { $sum += $i * " + Number() + "; }");
            Line(page, "    ", "return sprintf(\"%.2f " + Words(2) + "\", $sum * (1 + $tax)); /* " + Words(3) + " */");
            Line(page, "  ", "}");
            Line(page, "", "?>");
            return;
        }
        if (kind == kAsp) {
            Line(page, "", "<%");
            Line(page, "  ", "Dim " + Name() + ", " + Name() + " ' " + Words(3));
            Line(page, "  ", "Set rs = Conn.Execute(\"SELECT " + Name() + " FROM " + Name() + " WHERE id = " + Number() + "\")");
            Line(page, "  ", "Do While Not rs.EOF : total = total + rs(\"" + Name() + "\") * " + Number() + " : rs.MoveNext : Loop");
            Line(page, "  ", "If total > " + Number() + " Then Response.Write \"<b>" + Words(2) + "</b>\" End If");
            Line(page, "", "%>");
            return;
        }
        ClientScript(page);
    }

    std::mt19937 rng_;
    std::string br_;
};

// A page as its lines, without their line breaks.
inline std::vector<std::string> SplitLines(const std::string& page)
{
    std::vector<std::string> lines;
    std::istringstream in(page);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace vx::bench

// Realistic ASP pages for the page tools' tests and benchmarks: server blocks
// (directives, output expressions in text and attribute values, loops that
// repeat table rows), client scripts, style sheets, conditional comments,
// webbot and ordinary comments, pre and textarea blocks, and the optional end
// tags old pages leave out (tables without closing cells, paragraphs, list
// items, options, table sections). Lines are indented two blanks per level and
// end in CR LF. The generator keeps what a page tool must copy unchanged.
#pragma once

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

namespace vx::test {

// Server blocks and directives, elements whose content is kept as written,
// comments; Statements is a block of VBScript statements on lines of its own,
// which the beautifier re-indents and every other tool keeps.
enum class TRegionKind { Server, Statements, Script, Style, Pre, Textarea, ConditionalComment, Comment, Webbot };

struct TRegion {
    TRegionKind Kind;
    std::string Text;
};

struct TCorpusPage {
    std::string Text;
    // The outermost regions in page order.
    std::vector<TRegion> Regions;
    // The deepest nesting at a line's start: every element open there (one
    // whose end tag is left out stays open until HTML ends it) and every
    // server loop.
    int MaxDepth = 0;
};

class TPageCorpus {
public:
    explicit TPageCorpus(unsigned seed) : rng_(seed) {}

    // A page of at least bytes bytes; some pages use PHP blocks instead of ASP.
    TCorpusPage Page(std::size_t bytes)
    {
        page_ = {};
        depth_ = 0;
        php_ = Pick(10) == 0;
        Head();
        while (page_.Text.size() < bytes)
            Section();
        Close("</body>");
        Close("</html>");
        Line({php_ ? Server("<?php $db->close(); ?>") : Statements("<% rs.Close : Set rs = Nothing %>")});
        return std::move(page_);
    }

private:
    // One piece of a line: text, or a region the tools keep.
    struct TPiece {
        std::string Text;
        bool Kept = false;
        TRegionKind Kind = TRegionKind::Server;
    };

    int Pick(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }
    const char* Of(std::initializer_list<const char*> choices)
    {
        return choices.begin()[Pick(static_cast<int>(choices.size()))];
    }
    std::string Number() { return std::to_string(rng_() % 10000); }
    std::string Name()
    {
        static const char* const parts[] = {"order", "item", "total", "cust", "price", "notes", "name", "qty"};
        return parts[Pick(8)];
    }
    std::string Words(int count, const char* gap = " ")
    {
        static const char* const words[] = {"the", "order", "was", "shipped", "to", "our", "customer", "within",
                                            "two", "days", "and", "all", "items", "arrived", "in", "good",
                                            "shape", "please", "contact", "us", "for", "questions", "about"};
        std::string w;
        for (int i = 0; i < count; ++i)
            w += (i ? gap : "") + std::string(words[Pick(23)]);
        return w;
    }
    std::string Indent(int extra = 0) const { return std::string(static_cast<std::size_t>(2 * (depth_ + extra)), ' '); }

    static TPiece Text(std::string text) { return {std::move(text)}; }
    static TPiece Kept(TRegionKind kind, std::string text) { return {std::move(text), true, kind}; }
    static TPiece Server(std::string text) { return Kept(TRegionKind::Server, std::move(text)); }
    static TPiece Statements(std::string text) { return Kept(TRegionKind::Statements, std::move(text)); }
    TPiece Expression(const std::string& field)
    {
        return Server(php_ ? "<?php echo $row['" + field + "']; ?>" : "<%= rs(\"" + field + "\") %>");
    }

    void Line(std::initializer_list<TPiece> pieces, const char* trailing = "")
    {
        page_.MaxDepth = std::max(page_.MaxDepth, depth_);
        page_.Text += Indent();
        for (const TPiece& piece : pieces) {
            page_.Text += piece.Text;
            if (piece.Kept)
                page_.Regions.push_back({piece.Kind, piece.Text});
        }
        page_.Text += trailing;
        page_.Text += "\r\n";
    }
    void Line(const std::string& text) { Line({Text(text)}); }
    void Open(const std::string& text)
    {
        Line(text);
        ++depth_;
    }
    void Close(const std::string& text)
    {
        --depth_;
        Line(text);
    }
    // Lines after the first carry their own indentation, relative to the current depth.
    std::string Block(std::initializer_list<std::pair<int, std::string>> lines)
    {
        std::string text;
        bool first = true;
        for (const auto& [extra, line] : lines) {
            text += first ? line : "\r\n" + Indent(extra) + line;
            page_.MaxDepth = std::max(page_.MaxDepth, depth_ + extra);
            first = false;
        }
        return text;
    }

    void Head()
    {
        if (php_) {
            Line({Server(Block({{0, "<?php"}, {1, "$db = new mysqli('localhost', 'shop', '', 'shop');"},
                                {1, "$rows = $db->query(\"SELECT id, name, notes FROM items\");"}, {0, "?>"}}))});
        } else {
            Line({Server("<%@ Language=VBScript %>")});
            Line({Statements("<% Option Explicit %>")});
            Line({Server("<!--#include virtual=\"/inc/conn.asp\"-->")});
            Line({Statements(Block({{0, "<%"}, {0, "Dim rs, sql, total, i, kind"},
                                {0, "Set rs = Server.CreateObject(\"ADODB.Recordset\")"},
                                {0, "sql = \"SELECT id, name, notes FROM items WHERE cat = \" & CLng(Request(\"cat\"))"},
                                {0, "rs.Open sql, conn, 1, 3"}, {0, "%>"}}))});
        }
        Line("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">");
        Open("<html>");
        Open("<head>");
        Line("<title>" + Words(3) + "</title>");
        Line("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">");
        Line({Kept(TRegionKind::Style,
                   Block({{0, "<style type=\"text/css\">"}, {1, "body { font-family: Verdana,  Arial; margin: 0px; }"},
                          {1, "td.price  { text-align: right; }"}, {1, "pre { font-size: 11px; }"}, {0, "</style>"}}))});
        Line({Kept(TRegionKind::ConditionalComment,
                   Block({{0, "<!--[if lt IE 7]>"}, {0, "<link rel=\"stylesheet\" type=\"text/css\" href=\"ie6.css\">"},
                          {0, "<![endif]-->"}}))});
        Line({Kept(TRegionKind::Script,
                   Block({{0, "<script language=\"JavaScript\" type=\"text/javascript\">"}, {0, "<!--"},
                          {1, "function check(f) {"},
                          {2, "if (f.q.value  ==  \"\") { alert(\"Please  enter  a word\"); return false; }"},
                          {2, "document.write(\"<strong>  \" + f.q.value + \"  </strong>\");"},
                          {2, "return f.q.value.length > 0 && f.q.value.length < 40;"}, {1, "}"}, {0, "//-->"},
                          {0, "</script>"}}))});
        if (!php_ && Pick(2))
            Line({Kept(TRegionKind::Script,
                       Block({{0, "<script language=\"VBScript\" runat=\"server\">"}, {0, "Function Money(v)"},
                              {1, "Money  =  FormatCurrency(v,  2)"}, {0, "End Function"}, {0, "</script>"}}))});
        Close("</head>");
        Open("<body bgcolor=\"#FFFFFF\" onload=\"init()\">");
    }

    void Section()
    {
        switch (Pick(12)) {
        case 0: DataTable(); break;
        case 1: SectionTable(); break;
        case 2: Paragraphs(); break;
        case 3: Lists(); break;
        case 4: Form(); break;
        case 5: Preformatted(); break;
        case 6: php_ ? PhpBlock() : ServerBlock(); break;
        case 7: Comments(); break;
        case 8:
            Line({Kept(TRegionKind::Script, "<script>var page = \"" +
                                                std::string(php_ ? "<?php echo $_SERVER['PHP_SELF']; ?>"
                                                                 : "<%= Request.ServerVariables(\"URL\") %>") +
                                                "\";</script>")});
            break;
        case 9: Line("<blockquote>" + Words(Pick(8) + 3, "  ") + "</blockquote>"); break;
        case 10:
            Line({Text("<img src=\"img/" + Name() + ".gif\" alt=\"" + Words(2, "  ") + "\" width=\"" + Number() +
                       "\"><br>")},
                 "  ");
            break;
        default: ServerBlock(); break;
        }
    }

    void DataTable()
    {
        Open("<table width=\"100%\" border=\"0\" cellpadding=\"2\" cellspacing=\"0\">");
        Open("<tr bgcolor=\"#CCCCCC\">");
        Line("<th>Name");
        Line("<th>Notes");
        --depth_;
        if (php_) {
            Line({Server("<?php while ($row = $rows->fetch_assoc()) { ?>")});
        } else {
            Line({Statements("<% Do While Not rs.EOF %>")});
        }
        ++depth_;
        Open("<tr>");
        Line({Text("<td>"), Expression("name")});
        Line({Text("<td class=\"" + Name() + "\">"), Expression(Name())});
        Line({Text("<td><a href=\"detail.asp?id="), Expression("id"), Text("&amp;mode=view\">" + Words(1) + "</a>")});
        // The last cell is still open where the loop closes.
        page_.MaxDepth = std::max(page_.MaxDepth, depth_ + 1);
        depth_ -= 2;
        if (php_)
            Line({Server("<?php } ?>")});
        else
            Line({Statements(Block({{0, "<%"}, {1, "rs.MoveNext"}, {0, "Loop"}, {0, "%>"}}))});
        Close("</table>");
    }

    void SectionTable()
    {
        Open("<table border=\"1\">");
        Open("<thead>");
        Line("<tr><th>" + Words(1) + "<th>" + Words(2));
        Close("<tbody>");
        ++depth_;
        for (int r = Pick(3) + 1; r > 0; --r) {
            Open("<tr>");
            Line("<td>" + Words(Pick(3) + 1, "  "));
            if (Pick(2)) {
                Open("<td>");
                Open("<table>");
                Line("<tr><td>" + Number() + "<td>" + Number());
                Close("</table>");
                --depth_;
            } else {
                Line({Text("<td><font face=\"Verdana\" size=\"2\">"), Expression(Name()), Text("</font>")});
            }
            --depth_;
        }
        Close("<tfoot>");
        ++depth_;
        Line("<tr><td colspan=\"2\">" + Words(3));
        depth_ -= 2;
        Line("</table>");
    }

    void Paragraphs()
    {
        Line("<p>" + Words(Pick(6) + 3, "  ") + " <strong>" + Words(2) + "</strong> and <em>" + Words(1) + "</em>, <a href=\"" +
             Name() + ".asp?id=" + Number() + "\">" + Words(2) + "</a>");
        Line("<p align=\"center\"><font face=\"Verdana\" size=\"2\">" + Words(4) + "</font></p>");
        Line({Text("<p align=center>" + Words(3) + " "), Expression("name"), Text("</p>")});
        Line("<p>" + Words(Pick(10) + 2) + "</p>");
    }

    void Lists()
    {
        Open("<ul>");
        for (int i = Pick(4) + 2; i > 0; --i)
            Line("<li>" + Words(Pick(4) + 1) + (Pick(2) ? " <b>" + Words(1) + "</b>" : ""));
        Close("</ul>");
        Open("<dl>");
        Line("<dt>" + Words(1));
        Line("<dd>" + Words(Pick(5) + 2));
        Close("</dl>");
    }

    void Form()
    {
        Open("<form method=\"post\" action=\"save.asp\" onsubmit=\"return check(this)\">");
        Line("<input type=\"text\" name=\"q\" value=\"" + Words(2, "  ") + "\" size=\"30\">");
        Open("<select name=\"cat\">");
        for (int i = Pick(3) + 2; i > 0; --i)
            Line("<option value=\"" + Number() + "\">" + Words(Pick(2) + 1));
        Close("</select>");
        Line({Kept(TRegionKind::Textarea, "<textarea name=\"notes\" rows=\"5\" cols=\"40\">  Dear  customer,\r\n\r\n  " +
                                              Words(3, "  ") + " <strong>" + Words(1) + "</strong>\r\n</textarea>")});
        Line("<input type=\"submit\" value=\"Send  now\">");
        Close("</form>");
    }

    void Preformatted()
    {
        Line({Kept(TRegionKind::Pre, "<pre>\r\nItem      Qty   Price\r\n" + Name() + "      " + Number() + "    " + Number() +
                                         "\r\n\r\n<strong>Total</strong>     3    12.50\r\n   \r\n</pre>")});
    }

    void ServerBlock()
    {
        Line({Statements(Block({{0, "<%"}, {0, "' Totals for the  report"}, {0, "If rs(\"qty\") > 0 Then"},
                            {1, "total = total + rs(\"qty\") * rs(\"price\")"},
                            {1, "Response.Write \"<td>  \" & rs(\"notes\") & \"  </td>\""}, {0, "Else"},
                            {1, "Response.Write \"<td>&nbsp;</td>\""}, {0, "End If"},
                            {0, "For i = 1 To " + Number() + " : total = total + i : Next"}, {0, "Select Case rs(\"kind\")"},
                            {1, "Case \"a\""}, {2, "kind = \"Alpha\""}, {1, "Case Else"}, {2, "kind = \"Other\""},
                            {0, "End Select"}, {0, "%>"}}))});
    }

    void PhpBlock()
    {
        Line({Server(Block({{0, "<?php"}, {1, "// totals  for the report"},
                            {1, "if ($row['qty'] > 0) { $total += $row['qty'] * " + Number() + "; }"},
                            {1, "echo \"<td>  \" . htmlspecialchars($row[\"notes\"]) . \"  </td>\";"}, {0, "?>"}}))});
    }

    void Comments()
    {
        Line({Kept(TRegionKind::Webbot, "<!--webbot bot=\"Timestamp\" S-Type=\"EDITED\" S-Format=\"%m/%d/%y\" -->")});
        Line({Kept(TRegionKind::Comment, "<!-- " + Words(3, "  ") + " -->")});
        Line({Kept(TRegionKind::ConditionalComment, "<!--[if IE]><p>" + Words(2, "  ") + "</p><![endif]-->")});
    }

    std::mt19937 rng_;
    TCorpusPage page_;
    int depth_ = 0;
    bool php_ = false;
};

// count pages of 4 to 64 KB.
inline std::vector<TCorpusPage> Corpus(int count, unsigned seed = 2026)
{
    TPageCorpus writer(seed);
    std::mt19937 sizes(seed + 1);
    std::vector<TCorpusPage> pages;
    for (int i = 0; i < count; ++i)
        pages.push_back(writer.Page(4096 + sizes() % 61440));
    return pages;
}

} // namespace vx::test

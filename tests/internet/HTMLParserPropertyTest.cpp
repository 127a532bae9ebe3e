// Properties of the tokenizer over real and generated pages: the tokens tile the
// page byte for byte and in order, and a page can only fail where it ends.
#include "internet/HTMLParser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string_view>
#include <vector>

namespace {

const char* const kRealPage = R"(<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN">
<html>
<head>
<title>Products &amp; prices</title>
<meta http-equiv="Content-Type" content="text/html; charset=iso-8859-1">
<link rel=stylesheet href="css/site.css">
<script language="JavaScript"><!--
function go(u) { if (u.length > 0 && u != "-") location = u; }
// --></script>
<style><!-- body { margin: 0 } --></style>
</head>
<body bgcolor="#FFFFFF" onload='go("")' background=img/bg.gif>
<!-- navigation --->
<table width="100%" border=0 cellpadding=2><tr><td valign=top>
<a href="index.htm">Home</a> | <a href='news/'>News</a> | <A HREF=mailto:info@example.com>Mail</A>
<img src="img/logo.gif" alt="" width=120 height=60 ismap>
</td></tr></table>
<form action="/cgi-bin/order.pl" method=post>
<input type=text name=qty value="1"><input type=image src="img/buy.gif" usemap="#m">
</form>
<p>Price: 10 < 20 and 30 > 20<br>
<% Response.Write("<b>" & Now() & "</b>") %>
<?php echo "<i>$x</i>"; ?>
</body>
</html>
)";

std::string Escape(std::string_view s)
{
    std::string out;
    for (unsigned char c : s) {
        if (c >= 32 && c < 127 && c != '\\') {
            out.push_back(static_cast<char>(c));
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        }
    }
    return out;
}

int LineAt(std::string_view page, size_t end)
{
    return 1 + static_cast<int>(std::count(page.begin(), page.begin() + static_cast<long>(end), '\n'));
}

// Describes the first way in which the tokens fail to tile the page; empty when
// they tile it exactly.
std::string TilingFault(const std::string& page)
{
    std::istringstream in(page);
    size_t end = 0;
    size_t tokens = 0;
    try {
        THTMLParser parser(in);
        for (;; parser.NextToken()) {
            if (parser.TokenPos() != end)
                return "token starts at " + std::to_string(parser.TokenPos()) + ", not at " + std::to_string(end);
            if (parser.TokenKind() == ptEOF) {
                if (end != page.size())
                    return "end of input reported at " + std::to_string(end);
                if (parser.NextToken() != ptEOF)
                    return "a token after the end";
                return "";
            }
            if (++tokens > page.size())
                return "more tokens than bytes";
            end = parser.Position();
            if (end <= parser.TokenPos() || end > page.size())
                return "token ends at " + std::to_string(end);
            std::string_view slice(page.data() + parser.TokenPos(), end - parser.TokenPos());
            const std::string& text = parser.Text();
            if (parser.Line() != LineAt(page, end))
                return "line " + std::to_string(parser.Line()) + " at " + std::to_string(end);
            switch (parser.TokenKind()) {
            case ptText:
                if (slice != text || slice.find('<') != std::string_view::npos)
                    return "text token " + Escape(text) + " for " + Escape(slice);
                break;
            case ptComment:
                if (slice != "<!--" + text + "-->")
                    return "comment token " + Escape(text) + " for " + Escape(slice);
                break;
            case ptTag: {
                std::string_view rest = slice.substr(parser.EndTag() ? 2 : 1);
                if (slice.back() != '>' || (parser.EndTag() && slice[1] != '/') || !rest.starts_with(text))
                    return "tag token " + Escape(text) + " for " + Escape(slice);
                if (static_cast<size_t>(parser.Attributes().Count()) > slice.size())
                    return "more attributes than bytes";
                break;
            }
            default:
                return "unknown token kind";
            }
        }
    } catch (const EParserError& e) {
        // Only the end of the page can stop a tag or comment, and the error names
        // the last line.
        std::string_view message = e.what();
        std::string where = " on line " + std::to_string(LineAt(page, page.size()));
        bool known = message.starts_with("End of file encountered in tag")
            || message.starts_with("End of file encountered in comment");
        if (!known || !message.ends_with(where) || end >= page.size() || page[end] != '<')
            return "error " + std::string(message) + " after " + std::to_string(end);
        return "";
    }
}

const char* const kPieces[] = {"<", ">", "!", "-", "--", "<!--", "-->", "\"", "'", "=", " ", "\n",
                               "\r\n", "\t", "a", "B", "img", "/", std::string_view("\0", 1).data(), "x"};

std::string GeneratedPage(std::mt19937& rng)
{
    std::uniform_int_distribution<int> length(0, 60);
    std::uniform_int_distribution<size_t> piece(0, std::size(kPieces) - 1);
    std::string page;
    for (int n = length(rng); n > 0; --n) {
        size_t i = piece(rng);
        if (kPieces[i][0] == '\0')
            page.push_back('\0');
        else
            page += kPieces[i];
    }
    return page;
}

std::string MutatedPage(std::mt19937& rng, std::string page)
{
    std::uniform_int_distribution<int> edits(1, 8);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int n = edits(rng); n > 0 && !page.empty(); --n) {
        size_t at = std::uniform_int_distribution<size_t>(0, page.size() - 1)(rng);
        switch (byte(rng) % 4) {
        case 0: page.erase(at, std::uniform_int_distribution<size_t>(1, 40)(rng)); break;
        case 1: page.insert(at, 1, static_cast<char>(byte(rng))); break;
        case 2: page[at] = static_cast<char>(byte(rng)); break;
        default: page.resize(at); break;
        }
    }
    return page;
}

} // namespace

TEST(THTMLParserProperties, RealPageTilesAndReadsWhole)
{
    EXPECT_EQ(TilingFault(kRealPage), "");
    std::istringstream in(kRealPage);
    THTMLParser parser(in);
    int comments = 0;
    std::vector<std::string> links;
    for (; parser.TokenKind() != ptEOF; parser.NextToken()) {
        comments += parser.TokenKind() == ptComment;
        if (parser.TokenKind() == ptTag && SameText(parser.Text(), "a") && !parser.EndTag())
            links.push_back(parser.Attributes().Values("HREF"));
    }
    EXPECT_EQ(comments, 3);
    EXPECT_EQ(links, (std::vector<std::string>{"index.htm", "news/", "mailto:info@example.com"}));
}

TEST(THTMLParserProperties, EveryPrefixOfARealPageTilesOrFailsAtItsEnd)
{
    std::string page = kRealPage;
    for (size_t n = 0; n <= page.size(); ++n)
        ASSERT_EQ(TilingFault(page.substr(0, n)), "") << "prefix of " << n << " bytes";
}

TEST(THTMLParserProperties, BoundedFuzzOfGeneratedAndMutatedPages)
{
    std::mt19937 rng(20261207);
    for (int i = 0; i < 20000; ++i) {
        std::string page = GeneratedPage(rng);
        ASSERT_EQ(TilingFault(page), "") << Escape(page);
    }
    for (int i = 0; i < 3000; ++i) {
        std::string page = MutatedPage(rng, kRealPage);
        ASSERT_EQ(TilingFault(page), "") << Escape(page);
    }
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 3000; ++i) {
        std::string page(static_cast<size_t>(byte(rng)), '\0');
        for (char& c : page)
            c = static_cast<char>(byte(rng));
        ASSERT_EQ(TilingFault(page), "") << Escape(page);
    }
}

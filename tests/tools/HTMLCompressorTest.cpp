// The HTML compressor's passes, protections, webbots, pair rule and file handling.
#include "tools/PageCompressor.h"
#include "tools/HTMLCompressor.h"

#include "platform/Utf8.h"
#include "tests/support/TempDir.h"
#include "tests/tools/PageChecks.h"

#include <gtest/gtest.h>

#include <random>

using vx::test::TCorpusPage;
using vx::test::TRegionKind;
using vx::tools::THTMLCompressor;

namespace {

struct TOptions {
    bool SimpleTags = false, Center = false, InvCommas = false, Spaces = false, Returns = false,
         AllReturns = false, Webbots = false;
};

std::string Compressed(const std::string& text, const TOptions& o)
{
    THTMLCompressor c;
    c.SimpleTags = o.SimpleTags;
    c.Center = o.Center;
    c.InvCommas = o.InvCommas;
    c.Spaces = o.Spaces;
    c.Returns = o.Returns;
    c.AllReturns = o.AllReturns;
    c.Webbots = o.Webbots;
    c.SetText(text);
    c.Compress();
    EXPECT_EQ(c.CompressedSize(), static_cast<std::int64_t>(c.Text().size()));
    EXPECT_EQ(c.LoadedSize(), static_cast<std::int64_t>(text.size()));
    return c.Text();
}

struct Case {
    const char* name;
    TOptions options;
    std::string in;
    std::string out;
};

} // namespace

TEST(HTMLCompressor, Passes)
{
    const TOptions all{true, true, true, true, false, true, true};
    const Case cases[] = {
        {"pair rule", {.Center = true}, "<p align=center>hi</p>", "<center>hi</center>"},
        {"pair rule quoted, upper case", {.Center = true}, "<P ALIGN=\"center\">x</P><p>y</p>",
         "<center>x</center><p>y</p>"},
        {"an opener without its closer stays", {.Center = true}, "<p align=center>hi", "<p align=center>hi"},
        {"a paragraph HTML ends before its closer stays", {.Center = true},
         "<p align=center>a<p align=\"center\">b</p>c</p></p><p align=center>d<table></table>e</p>",
         "<p align=center>a<center>b</center>c</p></p><p align=center>d<table></table>e</p>"},
        {"inline tags inside a centred paragraph", {.SimpleTags = true, .Center = true},
         "<p align=center>a <strong>b</strong></p>", "<center>a <b>b</b></center>"},
        {"closer before opener stays", {.Center = true}, "</p><p align=center>a</p>", "</p><center>a</center>"},
        {"crlf between letters", {.AllReturns = true}, "a\r\nb", "a\nb"},
        {"crlf between tags", {.AllReturns = true}, "<br>\r\n<p>", "<br><p>"},
        {"a break beside an inline tag stays shown", {.AllReturns = true},
         "word\r\n<a href=x>link</a>\r\nword<img src=a>\r\n<img src=b>", "word\n<a href=x>link</a>\nword<img src=a>\n<img src=b>"},
        {"a break beside a block tag goes", {.Spaces = true, .AllReturns = true},
         "<td>\r\n  x\r\n</td>\r\n<td>y</td>\r\n", "<td> x</td><td>y</td>"},
        {"breaks beside server output stay", {.AllReturns = true}, "<%= a %>\r\n<%= b %>", "<%= a %>\n<%= b %>"},
        {"doubled breaks collapse", {.Returns = true}, "a\r\r\r\n\n\nb", "a\r\nb"},
        {"returns keeps single breaks", {.Returns = true}, "a\r\nb", "a\r\nb"},
        {"breaks inside tags stay", {.AllReturns = true}, "<a\r\nhref=x>", "<a\r\nhref=x>"},
        {"blank runs", {.Spaces = true}, "a          b <i >", "a b <i>"},
        {"a text \">\" keeps its blank", {.Spaces = true}, "a  > b", "a > b"},
        {"quoted values keep their white space", {.Spaces = true, .Returns = true, .AllReturns = true},
         "<img alt=\"two  words\"  title='a\r\n\r\nb' >", "<img alt=\"two  words\" title='a\r\n\r\nb'>"},
        {"comments and declarations lose blank runs", {.Spaces = true}, "<!DOCTYPE  html><!-- a   b -->",
         "<!DOCTYPE html><!-- a b -->"},
        {"short tags upper case", {.SimpleTags = true}, "<STRONG>a</Strong><em>b</em><strike>c</strike>",
         "<b>a</b><i>b</i><s>c</s>"},
        {"blockquote", {.SimpleTags = true}, "<blockquote>q</blockquote>", "<ul>q</ul>"},
        {"pre keeps breaks and blanks", {.Spaces = true, .Returns = true},
         "<pre>a  b\r\r\n</pre>  c\r\r", "<pre>a  b\r\r\n</pre> c\r"},
        {"pre is kept whole", {.SimpleTags = true}, "<pre><strong>x</strong></pre>", "<pre><strong>x</strong></pre>"},
        {"script keeps long tags", {.SimpleTags = true}, "<script>'<em>'</script><em>", "<script>'<em>'</script><i>"},
        {"script keeps blanks", {.Spaces = true}, "<script>a  b</script>  c", "<script>a  b</script> c"},
        {"scripts keep doubled breaks", {.Returns = true}, "<script>a\n\nb</script>", "<script>a\n\nb</script>"},
        {"an unclosed pre runs to the end", {.SimpleTags = true, .Spaces = true}, "a  <pre>b  <em>x",
         "a <pre>b  <em>x"},
        {"server blocks are the server's", all,
         "<% If a  >  b Then\r\n\r\n  Response.Write \"<strong>\" & rs(\"notes\") %>\r\n<?php echo \"a  ?>\"; ?>",
         "<% If a  >  b Then\r\n\r\n  Response.Write \"<strong>\" & rs(\"notes\") %>\n<?php echo \"a  ?>\"; ?>"},
        {"a server block inside a value", all, "<a href=\"d.asp?id=<%= rs(\"id\") %>\"  class=\"x\" >",
         "<a href=\"d.asp?id=<%= rs(\"id\") %>\" class=x>"},
        {"server scripts, styles and conditional comments", all,
         "<SCRIPT runat=\"server\">\r\nx  =  \"<em>\"\r\n</SCRIPT><style>\r\np  { }\r\n</style>"
         "<!--[if IE]>\r\n<p align=\"center\">  a</p>\r\n<![endif]-->",
         "<SCRIPT runat=\"server\">\r\nx  =  \"<em>\"\r\n</SCRIPT><style>\r\np  { }\r\n</style>"
         "<!--[if IE]>\r\n<p align=\"center\">  a</p>\r\n<![endif]-->"},
        {"server directives", {.Spaces = true}, "<!--#include  file=\"a.inc\"-->", "<!--#include  file=\"a.inc\"-->"},
        {"a script end inside a server block", {.Spaces = true}, "<script>x = \"<% = \"</script>\" %>  \"</script>  a",
         "<script>x = \"<% = \"</script>\" %>  \"</script> a"},
        {"textarea protected", {.Spaces = true}, "<textarea>a  b</textarea>", "<textarea>a  b</textarea>"},
        {"quotes go", {.InvCommas = true}, "<a href=\"x.htm\" class=\"c\">\"t\"</a>", "<a href=x.htm class=c>\"t\"</a>"},
        {"value with a blank keeps its quotes", {.InvCommas = true}, "<input value=\"a b\" name=\"n\">",
         "<input value=\"a b\" name=n>"},
        {"value without a blank", {.InvCommas = true}, "<input VALUE=\"ab\">", "<input VALUE=ab>"},
        {"only values a browser reads the same unquoted", {.InvCommas = true},
         "<a href=\"a b.htm\" title=\"\" id=\"x-1.y_z:w\" src=\"/i/p.gif\" alt=\"a>b\" c=\"d\">",
         "<a href=\"a b.htm\" title=\"\" id=x-1.y_z:w src=\"/i/p.gif\" alt=\"a>b\" c=d>"},
        {"an unclosed quote keeps the rest", {.InvCommas = true}, "<a b=\"c\" d=\"e> <i class=\"x\">",
         "<a b=c d=\"e> <i class=\"x\">"},
        {"tag with an apostrophe keeps all", {.InvCommas = true}, "<a href=\"x\" onclick='y'>",
         "<a href=\"x\" onclick='y'>"},
        {"comments and doctype untouched", {.InvCommas = true}, "<!DOCTYPE \"x\"><!-- \"c\" -->",
         "<!DOCTYPE \"x\"><!-- \"c\" -->"},
        {"script untouched by the stripper", {.InvCommas = true}, "<script src=\"a\">\"q\"</script><b class=\"x\">",
         "<script src=\"a\">\"q\"</script><b class=x>"},
        {"webbot removed with returns", {.Returns = true, .Webbots = true}, "a<!--webbot bot=x -->b<!--WEBBOT y-->c",
         "abc"},
        {"webbot kept without returns", {.Spaces = true, .Webbots = true}, "a<!--webbot x-->b", "a<!--webbot x-->b"},
        {"webbot unclosed", {.Returns = true, .Webbots = true}, "a<!--webbot x", "a<!--webbot x"},
        {"webbot inside pre", {.Returns = true, .Webbots = true}, "<pre><!--webbot x--></pre>", "<pre><!--webbot x--></pre>"},
        {"webbot then tag then breaks", {.AllReturns = true, .Webbots = true}, "<!--webbot-->\r\n<p>\r\n\r\nx",
         "<p>x"},
        {"empty", all, "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Compressed(c.in, c.options), c.out) << c.name;
}

TEST(HTMLCompressor, CompressTwiceChangesNothing)
{
    THTMLCompressor c;
    c.SetText("<strong>a   b</strong>\r\n\r\n");
    c.Compress();
    const std::string once = c.Text();
    const auto size = c.CompressedSize();
    c.Compress();
    EXPECT_EQ(c.Text(), once);
    EXPECT_EQ(c.CompressedSize(), size);
    EXPECT_LT(size, c.LoadedSize());
}

namespace {

// The characters outside ASCII of a text, in order.
std::string OutsideAscii(std::string_view text)
{
    std::string kept;
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            kept += c;
    return kept;
}

} // namespace

// Random pages never grow, and no character outside ASCII is split or lost:
// only a removed webbot comment takes any with it.
TEST(HTMLCompressor, RandomAndTruncatedInputNeverGrowNorSplitCharacters)
{
    const std::string page = "<HTML><p align=center><STRONG>x</strong>  </p>\r\n<pre>a  \r\r</pre>"
                             "<script>\"<em>\"</script><input value=\"a b\" x=\"y\"><!--webbot z-->\r\n"
                             "<textarea>  </textarea><p align=\"center\"></p><p title=\"café\">你好 😀</p>";
    std::mt19937 random(7);
    const std::vector<std::string> pieces = {"<", ">", "/", "\"", "'", " ", "\r", "\n", "!", "-", "=", "a", "e",
                                             "p", "r", "s", "t", "v", "x", "P", "C", "é", "你", "😀", "\u00a0"};
    for (int round = 0; round < 3000; ++round) {
        std::string text = page.substr(0, vx::utf8::CharStart(page, random() % (page.size() + 1)));
        for (int i = random() % 40; i > 0; --i)
            text.insert(vx::utf8::CharStart(text, random() % (text.size() + 1)), pieces[random() % pieces.size()]);
        THTMLCompressor c;
        c.Webbots = round % 2 == 0;
        c.SetText(text);
        c.Compress();
        ASSERT_LE(c.Text().size(), text.size()) << text;
        ASSERT_TRUE(vx::utf8::IsValid(c.Text())) << text;
        if (!c.Webbots) {
            ASSERT_EQ(OutsideAscii(c.Text()), OutsideAscii(text)) << text;
        }
    }
}

TEST(HTMLCompressor, Files)
{
    vx::test::TempDir dir;
    const std::string source = dir.file("in.htm");
    vx::test::writeFile(source, "<p align=center>a   b</p>");
    THTMLCompressor c;
    c.AllReturns = c.Returns = c.Webbots = c.InvCommas = false;
    ASSERT_TRUE(c.LoadFromFile(source));
    c.Compress();
    ASSERT_TRUE(c.SaveToFile(dir.file("out.htm")));
    EXPECT_EQ(vx::test::readFile(dir.file("out.htm")), "<center>a b</center>");
    EXPECT_EQ(c.LoadedSize(), 25);
    EXPECT_EQ(c.CompressedSize(), 20);

    // Before a compression nothing compressed is there to write.
    ASSERT_TRUE(c.LoadFromFile(source));
    ASSERT_TRUE(c.SaveToFile(dir.file("early.htm")));
    EXPECT_EQ(vx::test::readFile(dir.file("early.htm")), "");

    // A failed load leaves nothing behind from the last one.
    EXPECT_FALSE(c.LoadFromFile(dir.file("missing.htm")));
    EXPECT_FALSE(c.LastError().empty());
    EXPECT_EQ(c.LoadedSize(), 0);
    EXPECT_EQ(c.CompressedSize(), 0);
    EXPECT_TRUE(c.Text().empty());
    c.Compress();
    EXPECT_FALSE(c.SaveToFile(dir.file("none.htm")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("none.htm")));

    // An empty file gives an empty output and sizes 0, 0.
    vx::test::writeFile(dir.file("empty.htm"), "");
    ASSERT_TRUE(c.LoadFromFile(dir.file("empty.htm")));
    c.Compress();
    EXPECT_TRUE(c.SaveToFile(dir.file("empty-out.htm")));
    EXPECT_EQ(c.LoadedSize(), 0);
    EXPECT_EQ(c.CompressedSize(), 0);

    // A write into a missing folder is reported.
    ASSERT_TRUE(c.LoadFromFile(source));
    EXPECT_FALSE(c.SaveToFile(dir.file("no/such/out.htm")));
    EXPECT_FALSE(c.LastError().empty());
}

TEST(HTMLCompressor, GeneratedPagesKeepWhatServersAndBrowsersReadUnderEveryOption)
{
    vx::test::TPageCorpus writer(50);
    std::mt19937 random(51);
    std::vector<TCorpusPage> pages;
    std::vector<vx::test::TShown> shown;
    for (int i = 0; i < 24; ++i) {
        pages.push_back(writer.Page(1024 + random() % 8192));
        shown.push_back(vx::test::Shown(pages.back().Text));
    }
    std::size_t regions = 0;
    for (unsigned combination = 0; combination < 128; ++combination) {
        const auto on = [combination](unsigned bit) { return (combination >> bit & 1u) != 0; };
        const TOptions options{on(0), on(1), on(2), on(3), on(4), on(5), on(6)};
        const bool webbotsGo = options.Webbots && (options.Returns || options.AllReturns);
        for (int round = 0; round < 3; ++round) {
            const std::size_t which = random() % pages.size();
            const TCorpusPage& page = pages[which];
            const std::string out = Compressed(page.Text, options);
            const std::string changed = vx::test::FirstRegionChanged(page, out, [](TRegionKind kind) {
                return kind != TRegionKind::Comment && kind != TRegionKind::Webbot;
            });
            ASSERT_EQ(changed, "") << "options " << combination << ", page " << which;
            const bool hadWebbot = page.Text.find("<!--webbot") != std::string::npos;
            EXPECT_EQ(hadWebbot && out.find("<!--webbot") == std::string::npos, hadWebbot && webbotsGo)
                << "options " << combination;
            const vx::test::TShown now = vx::test::Shown(out);
            ASSERT_EQ(now.Text, shown[which].Text) << "options " << combination << ", page " << which;
            ASSERT_EQ(now.Values, shown[which].Values) << "options " << combination << ", page " << which;
            ASSERT_LE(out.size(), page.Text.size());
            regions += page.Regions.size();
        }
    }
    EXPECT_GT(regions, 10000u) << "the pages hold regions of every kind";
}

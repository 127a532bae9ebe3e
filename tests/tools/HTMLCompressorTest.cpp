// The HTML compressor's passes, protections, webbots, pair rule and file handling.
#include "tools/core/CompressPasses.h"
#include "tools/core/HTMLCompressor.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <random>

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
        {"opener without closer", {.Center = true}, "<p align=center>hi", "<center>hi"},
        {"the quoted rule pairs what the plain one left", {.Center = true},
         "<p align=center>a<p align=\"center\">b</p>c</p></p>",
         "<center>a<center>b</center>c</center></p>"},
        {"closer before opener stays", {.Center = true}, "</p><p align=center>a</p>", "</p><center>a</center>"},
        {"crlf between letters", {.AllReturns = true}, "a\r\nb", "a\nb"},
        {"crlf between tags", {.AllReturns = true}, "<br>\r\n<p>", "<br><p>"},
        {"doubled breaks collapse", {.Returns = true}, "a\r\r\r\n\n\nb", "a\r\nb"},
        {"returns keeps single breaks", {.Returns = true}, "a\r\nb", "a\r\nb"},
        {"breaks inside tags stay", {.AllReturns = true}, "<a\r\nhref=x>", "<a\r\nhref=x>"},
        {"blank runs", {.Spaces = true}, "a          b <i >", "a b <i>"},
        {"short tags upper case", {.SimpleTags = true}, "<STRONG>a</Strong><em>b</em><strike>c</strike>",
         "<b>a</b><i>b</i><s>c</s>"},
        {"blockquote", {.SimpleTags = true}, "<blockquote>q</blockquote>", "<ul>q</ul>"},
        {"pre keeps breaks and blanks", {.Spaces = true, .Returns = true},
         "<pre>a  b\r\r\n</pre>  c\r\r", "<pre>a  b\r\r\n</pre> c\r"},
        {"short tags inside pre", {.SimpleTags = true}, "<pre><strong>x</strong></pre>", "<pre><b>x</b></pre>"},
        {"script keeps long tags", {.SimpleTags = true}, "<script>'<em>'</script><em>", "<script>'<em>'</script><i>"},
        {"script keeps blanks", {.Spaces = true}, "<script>a  b</script>  c", "<script>a  b</script> c"},
        {"doubled breaks go inside scripts", {.Returns = true}, "<script>a\n\nb</script>", "<script>a\nb</script>"},
        {"unclosed pre ends the pass only", {.SimpleTags = true, .Spaces = true}, "a  <pre>b  <em>x",
         "a <pre>b  <i>x"},
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

TEST(HTMLCompressor, RandomAndTruncatedInputNeverGrow)
{
    const std::string page = "<HTML><p align=center><STRONG>x</strong>  </p>\r\n<pre>a  \r\r</pre>"
                             "<script>\"<em>\"</script><input value=\"a b\" x=\"y\"><!--webbot z-->\r\n"
                             "<textarea>  </textarea><p align=\"center\"></p>";
    std::mt19937 random(7);
    const std::string alphabet = "<>/\"' \r\n!-=aeprstvxPC";
    for (int round = 0; round < 3000; ++round) {
        std::string text = page.substr(0, random() % (page.size() + 1));
        for (int i = random() % 40; i > 0; --i)
            text.insert(random() % (text.size() + 1), 1, alphabet[random() % alphabet.size()]);
        THTMLCompressor c;
        c.SetText(text);
        c.Compress();
        ASSERT_LE(c.Text().size(), text.size()) << text;
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

// The text-to-HTML page.
#include "tools/TextToHtml.h"

#include <gtest/gtest.h>

using namespace vx::tools;

namespace {

const std::vector<std::string> Head = {
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\">",
    "<HTML>",
    "<Meta name=\"generator\" content=\"Vellumix Professional1.0\">",
    "<head>",
};

std::vector<std::string> Page(std::initializer_list<std::string> rest)
{
    std::vector<std::string> page = Head;
    page.insert(page.end(), rest);
    return page;
}

} // namespace

TEST(TextToHtml, Lines)
{
    EXPECT_EQ(HtmlTextLine("a b  c"), "a&nbsp;b&nbsp;&nbsp;c");
    EXPECT_EQ(HtmlTextLine("x<y & z>"), "x&lt;y&nbsp;&amp;&nbsp;z&gt;");
    EXPECT_EQ(HtmlTextLine(""), "");
}

TEST(TextToHtml, Pages)
{
    struct Case {
        const char* name;
        std::vector<std::string> text;
        TTextToHtmlOptions options;
        std::vector<std::string> page;
    };
    const Case cases[] = {
        {"plain", {"First one", "two words"}, {}, Page({"<title>Document name here</title>", "</head>", "First&nbsp;one",
                                                        "two&nbsp;words"})},
        {"title and breaks", {"A & B", "x y"}, {true, true},
         Page({"<title>A &amp; B</title>", "</head>", "<br>", "x&nbsp;y<br>"})},
        {"title only", {"T"}, {false, true}, Page({"<title>T</title>", "</head>", ""})},
        {"empty text", {}, {true, true}, Page({"<title>Document name here</title>", "</head>"})},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextToHtmlLines(c.text, c.options), c.page) << c.name;
    std::vector<std::size_t> seen;
    TextToHtmlLines({"a", "b"}, {}, [&seen](std::size_t i) { seen.push_back(i); });
    EXPECT_EQ(seen, (std::vector<std::size_t>{0, 1}));
}

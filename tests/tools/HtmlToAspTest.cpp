// The HTML-to-ASP converter's output statements.
#include "tools/HtmlToAsp.h"

#include <gtest/gtest.h>

using namespace vx::tools;

TEST(HtmlToAsp, OutputStatements)
{
    const std::pair<const char*, const char*> cases[] = {
        {"<a href=\"x.htm\">", " Response.write (\"<a href=\"\"x.htm\"\">\")"},
        {"", " Response.write (\"\")"},
        {"it's", " Response.write (\"it's\")"},
        {"\"", " Response.write (\"\"\"\")"},
    };
    for (const auto& [line, statement] : cases)
        EXPECT_EQ(ResponseWriteLine(line), statement);
}

TEST(HtmlToAsp, WholeFile)
{
    const std::string banner = "<% rem file converted from html to asp/vbs by Vellumix professional1.0 %>";
    EXPECT_EQ(HtmlToAspLines({"<p>", ""}, false, "ignored"),
              (std::vector<std::string>{banner, "", " Response.write (\"<p>\")", " Response.write (\"\")"}));
    EXPECT_EQ(HtmlToAspLines({"x"}, true, "my_function"),
              (std::vector<std::string>{banner, "", "Function my_function", " Response.write (\"x\")",
                                        "end function"}));
    EXPECT_EQ(HtmlToAspLines({}, false, ""), (std::vector<std::string>{banner, ""}));
}

// Tests of the page schemes of the main window's multi-language highlighter,
// with test highlighters standing for the languages: which texts open and
// close which block, and how the range reads.
#include "highlighters/wmMultiSynSetup.h"

#include "tests/highlighters/MultiSynTestSupport.h"

#include <gtest/gtest.h>

using namespace vx::test;

namespace {

using Strings = std::vector<std::string>;

class PageSchemesTest : public ::testing::Test {
protected:
    PageSchemesTest()
    {
        SetupPageSchemes(multi, {&html, &php, &js, &vbs, &css});
        labels = {{&html, "html"}, {&php, "php"}, {&js, "js"}, {&vbs, "vbs"}, {&css, "css"}};
    }
    Strings scanFrom(std::int32_t range, const std::string& line)
    {
        multi.SetRange(range);
        return Brief(ScanLabelled(multi, labels, line));
    }
    // The range after a line scanned from the default state.
    std::int32_t rangeAfter(const std::string& line)
    {
        scanFrom(0, line);
        return multi.GetRange();
    }

    TTestSyn html, php, js, vbs, css;
    TwmMultiSyn multi;
    Labels labels;
};

TEST_F(PageSchemesTest, FilterDefaultAndSchemeOrder)
{
    EXPECT_EQ(multi.GetDefaultFilter(), "*.asp");
    EXPECT_EQ(multi.DefaultHighlighter(), &html);
    ASSERT_EQ(multi.Schemes().Count(), 4);
    EXPECT_EQ(multi.Schemes().Items(0).Highlighter(), &php);
    EXPECT_EQ(multi.Schemes().Items(1).Highlighter(), &js);
    EXPECT_EQ(multi.Schemes().Items(2).Highlighter(), &vbs);
    EXPECT_EQ(multi.Schemes().Items(3).Highlighter(), &css);
    EXPECT_EQ(multi.Schemes().Items(3).EndExpr(), "</style>");
    // Setting up again replaces the schemes.
    SetupPageSchemes(multi, {&html, &php, &js, &vbs, &css});
    EXPECT_EQ(multi.Schemes().Count(), 4);
}

TEST_F(PageSchemesTest, PhpOpensAtAnyFormOfItsStartTag)
{
    EXPECT_EQ(scanFrom(0, "a <?php b ?> c"), (Strings{"a/html", " /html", "<?php/marker", " /php", "b/php", " /php",
                                                       "?>/marker", " /html", "c/html"}));
    EXPECT_EQ(multi.GetRange(), html.GetRange());
    EXPECT_EQ(scanFrom(0, "<?PhP x"), (Strings{"<?PhP/marker", " /php", "x/php"}));
    EXPECT_EQ(scanFrom(0, "<?x"), (Strings{"<?/marker", "x/php"}));
    EXPECT_EQ(multi.GetRange(), 0x00010000);
    EXPECT_EQ(scanFrom(0x00010000, "1?>"), (Strings{"1/php", "?>/marker"}));
    EXPECT_EQ(multi.GetRange(), 0);
}

TEST_F(PageSchemesTest, ScriptTagsOpenOnlyAsWritten)
{
    EXPECT_EQ(scanFrom(0, "<script language=\"JScript\">"), (Strings{"<script language=\"JScript\">/marker"}));
    EXPECT_EQ(multi.GetRange(), 0x00020000);
    EXPECT_EQ(rangeAfter("<script language=\"javascript\">"), 0x00020000);
    EXPECT_EQ(rangeAfter("<script language=\"JavaScript\">"), 0x00020000);
    EXPECT_EQ(rangeAfter("<script language=\"javscript\">"), 0);
    EXPECT_EQ(rangeAfter("<script language=\"VB\">"), 0x00030000);
    EXPECT_EQ(rangeAfter("<script language=\"vb\">"), 0x00030000);
    EXPECT_EQ(rangeAfter("<style type=\"TEXT/css\">"), 0x00040000);
    // Two blanks, another value, or no quotes open nothing.
    EXPECT_EQ(rangeAfter("<script  language=\"VB\">"), 0);
    EXPECT_EQ(rangeAfter("<script language=\"VBScript\">"), 0);
    EXPECT_EQ(rangeAfter("<script language=VB>"), 0);
    EXPECT_EQ(rangeAfter("<style>"), 0);
}

TEST_F(PageSchemesTest, SharedScriptEndClosesEitherScriptBlock)
{
    EXPECT_EQ(scanFrom(0x00030000, "x</script>y"), (Strings{"x/vbs", "</script>/marker", "y/html"}));
    EXPECT_EQ(scanFrom(0x00020000, "x</script>y"), (Strings{"x/js", "</script>/marker", "y/html"}));
    // Style and PHP ends are text inside a script.
    EXPECT_EQ(scanFrom(0x00020000, "</style>?>"), (Strings{"</js", "//js", "style/js", ">/js", "?/js", ">/js"}));
    EXPECT_EQ(multi.GetRange(), 0x00020000);
}

TEST_F(PageSchemesTest, StoredRangeRestoresSchemeAndInnerRange)
{
    multi.SetRange(0x00030005);
    EXPECT_EQ(vbs.GetRange(), 5);
    EXPECT_EQ(multi.GetRange(), 0x00030005);
}

} // namespace

// The multi-language highlighter with the real language highlighters, set up
// as the main window sets it up, on mixed ASP and PHP pages.
#include "highlighters/wmPageHighlighterSet.h"
#include "tests/highlighters/HighlighterTestSupport.h"
#include "tests/highlighters/MultiSynTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

using namespace vx::test;

namespace {

using Strings = std::vector<std::string>;

class MixedPageTest : public ::testing::Test, protected TwmPageHighlighterSet {
protected:
    MixedPageTest()
    {
        labels = {{&html, "html"}, {&php, "php"}, {&js, "js"}, {&vbs, "vbs"}, {&css, "css"}};
    }
    // The lines scanned top to bottom from the reset range: each line's
    // tokens, and the range at the start of each line and after the last.
    void scanPage(const Strings& lines)
    {
        tokens.clear();
        multi.ResetRange();
        start = {multi.GetRange()};
        for (const auto& line : lines) {
            tokens.push_back(ScanLabelled(multi, labels, line));
            start.push_back(multi.GetRange());
        }
    }
    Strings brief(size_t line) const { return Brief(tokens.at(line)); }

    Labels labels;
    std::vector<std::vector<LTok>> tokens;
    std::vector<std::int32_t> start;
};

TEST_F(MixedPageTest, AspPageWithScriptAndStyleBlocks)
{
    scanPage({
        "<p>Hello <%= name %></p>",                          // 0: server code is the HTML highlighter's
        "<script language=\"VB\">",                          // 1
        "  Dim x : x = \"</style>\" ' comment",              // 2: another block's end is script text
        "</script><b>bold</b>",                              // 3
        "<script language=\"JScript\">var a = 1; /* open",   // 4
        "still comment */ a++; </script> <i>x</i>",          // 5
        "<style type=\"text/css\">body { color: red }</style>", // 6
    });
    for (const auto& t : tokens[0])
        EXPECT_EQ(t.by, "html") << t;
    EXPECT_EQ(tokens[0][4].text, "<%");
    EXPECT_EQ(tokens[0][4].kind, ThkHTMLSyn::tkAsp);

    EXPECT_EQ(brief(1), (Strings{"<script language=\"VB\">/marker"}));
    EXPECT_EQ(start[2], 0x00030000 | TlbVbsSyn::rsNormal);
    for (const auto& t : tokens[2])
        EXPECT_EQ(t.by, "vbs") << t;
    EXPECT_EQ(tokens[2][11].text, "\"</style>\"");
    EXPECT_EQ(tokens[2][11].kind, TlbVbsSyn::tkString);
    EXPECT_EQ(brief(3).front(), "</script>/marker");
    EXPECT_EQ(start[4], html.GetRange());

    EXPECT_EQ(start[5], 0x00020000 | TmwJScriptSyn::rsComment);
    EXPECT_EQ(tokens[5][0].text, "still comment */");
    EXPECT_EQ(tokens[5][0].kind, TmwJScriptSyn::tkComment);
    EXPECT_EQ(tokens[5][6].text, "</script>");
    EXPECT_EQ(tokens[5][6].by, "marker");
    EXPECT_EQ(tokens[5][6].pos, 22);
    EXPECT_EQ(tokens[5][7].by, "html");

    EXPECT_EQ(brief(6).front(), "<style type=\"text/css\">/marker");
    EXPECT_EQ(brief(6)[1], "body/css");
    EXPECT_EQ(brief(6).back(), "</style>/marker");
    EXPECT_EQ(start[7], html.GetRange());
}

TEST_F(MixedPageTest, PhpBlocksOnOneLineAndOverSeveral)
{
    scanPage({
        "a <?php b ?> c",                 // 0
        "<?php /* comment",               // 1
        "still */ $x = 1; ?> <b>",        // 2
        "<a href=\"<?php",                // 3: opens inside an attribute value
        "echo $u ?>\">link</a>",          // 4
    });
    EXPECT_EQ(brief(0), (Strings{"a /html", "<?php/marker", " /php", "b/php", " /php", "?>/marker", " c/html"}));
    EXPECT_EQ(start[1], html.GetRange());
    EXPECT_EQ(start[2], 0x00010000 | TwmPHPSyn::rsComment);
    EXPECT_EQ(tokens[2][0].text, "still */");
    EXPECT_EQ(tokens[2][0].kind, TwmPHPSyn::tkComment);
    EXPECT_EQ(tokens[2][2].kind, TwmPHPSyn::tkVariable);
    EXPECT_EQ(tokens[2][9].text, "?>");
    EXPECT_EQ(tokens[2][9].by, "marker");
    EXPECT_EQ(start[4], 0x00010000 | TwmPHPSyn::rsUnknown);
    // After a block closed on a later line HTML starts afresh, in text.
    EXPECT_EQ(brief(4)[5], "\">link/html");
    EXPECT_EQ(tokens[4][5].kind, ThkHTMLSyn::tkText);
    EXPECT_EQ(start[5], html.GetRange());
}

TEST_F(MixedPageTest, PhpEndTagInAStringOrBlockCommentIsText)
{
    scanPage({
        "<?php echo \"x ?> y\"; ?>",        // 0
        "<?php $a = 'p?>q?>'; /* ?> */ ?>", // 1: several in one token, and in a comment
        "<?php \"?>\"?>",                    // 2: the end tag right after the string closes
    });
    EXPECT_EQ(brief(0), (Strings{"<?php/marker", " /php", "echo/php", " /php", "\"x ?> y\"/php", ";/php", " /php",
                                 "?>/marker"}));
    EXPECT_EQ(tokens[0][4].kind, TwmPHPSyn::tkString);
    EXPECT_EQ(tokens[0][4].pos, 11);
    EXPECT_EQ(tokens[0][5].pos, 19);
    EXPECT_EQ(start[1], html.GetRange());

    EXPECT_EQ(brief(1), (Strings{"<?php/marker", " /php", "$a/php", " /php", "=/php", " /php", "'p?>q?>'/php",
                                 ";/php", " /php", "/* ?> *//php", " /php", "?>/marker"}));
    EXPECT_EQ(tokens[1][6].kind, TwmPHPSyn::tkString);
    EXPECT_EQ(tokens[1][9].kind, TwmPHPSyn::tkComment);
    EXPECT_EQ(brief(2), (Strings{"<?php/marker", " /php", "\"?>\"/php", "?>/marker"}));
    EXPECT_EQ(start[3], html.GetRange());
}

TEST_F(MixedPageTest, PhpEndTagEndsALineComment)
{
    scanPage({"<?php // a ?> <b>", "<?php # a ?> <b>"});
    for (size_t line = 0; line < 2; ++line) {
        ASSERT_EQ(tokens[line].size(), 8u) << line;
        EXPECT_EQ(tokens[line][2].kind, TwmPHPSyn::tkComment);
        EXPECT_EQ(tokens[line][3].text, "?>");
        EXPECT_EQ(tokens[line][3].by, "marker");
        EXPECT_EQ(tokens[line][4].by, "html");
        EXPECT_EQ(tokens[line][5].text, "<");
        EXPECT_EQ(start[line + 1], html.GetRange());
    }
}

TEST_F(MixedPageTest, PhpStringOverLinesHoldsTheEndTag)
{
    scanPage({
        "<?php $s = \"one ?> ",  // 0: open string, end tag in it
        "two ?> three\"; ?> <i>", // 1
        "<?php /* a",             // 2
        "b ?> c */ ?>",           // 3
        "<?php $s = '",           // 4
        "?>'; ?>",                // 5: the end tag first on a line in a string
    });
    EXPECT_EQ(brief(0).back(), "\"one ?> /php");
    EXPECT_EQ(start[1], 0x00010000 | TwmPHPSyn::rsString34);
    EXPECT_EQ(brief(1), (Strings{"two ?> three\"/php", ";/php", " /php", "?>/marker", " /html", "</html", "i/html", ">/html"}));
    EXPECT_EQ(tokens[1][0].kind, TwmPHPSyn::tkString);
    EXPECT_EQ(start[2], html.GetRange());
    EXPECT_EQ(start[3], 0x00010000 | TwmPHPSyn::rsComment);
    EXPECT_EQ(brief(3), (Strings{"b ?> c *//php", " /php", "?>/marker"}));
    EXPECT_EQ(start[4], html.GetRange());
    EXPECT_EQ(start[5], 0x00010000 | TwmPHPSyn::rsString39);
    EXPECT_EQ(brief(5), (Strings{"?>'/php", ";/php", " /php", "?>/marker"}));
    EXPECT_EQ(start[6], html.GetRange());
}

TEST_F(MixedPageTest, ScriptEndTagInAScriptStringStillEndsTheBlock)
{
    scanPage({"<script language=\"JavaScript\">var s = \"a</script>b\";"});
    const Strings b = brief(0);
    const auto end = std::find(b.begin(), b.end(), "</script>/marker");
    ASSERT_NE(end, b.end());
    EXPECT_EQ(*(end - 1), "\"a/js");
    EXPECT_EQ(tokens[0][static_cast<size_t>(end - b.begin()) - 1].kind, TmwJScriptSyn::tkString);
    EXPECT_EQ(*(end + 1), "b\";/html");
    EXPECT_EQ(start[1], html.GetRange());
}

// Lines of every language, markers and unclosed comments and strings among them.
Strings MixedPage(int count, unsigned seed)
{
    const Strings fragments{"<?php", "<?", "?>", "<script language=\"JScript\">", "<script language=\"vb\">",
                            "</script>", "<style type=\"text/css\">", "</style>", "<%", "%>", "<!--", "-->",
                            "/*", "*/", "'", "\"", "<b>", "</b>", "&amp;", "$x", " = ", "1.5e3", "if", "Dim",
                            "{ color: red }", "// c", "#", " ", "=", "<", ">"};
    return RandomLines(fragments, count, seed);
}

TEST_F(MixedPageTest, EveryLineIsCoveredOnceAndScanningIsRepeatable)
{
    ExpectDocumentProperties(multi, MixedPage(1500, 3));
}

TEST_F(MixedPageTest, ColouringInAnyOrderEqualsColouringTopToBottom)
{
    const Strings lines = MixedPage(600, 5);
    scanPage(lines);
    const auto expected = tokens;
    const auto ranges = start;
    // The page has lines starting in each block and outside.
    std::set<int> schemesAtLineStart;
    for (std::int32_t r : ranges)
        schemesAtLineStart.insert(static_cast<int>(static_cast<std::uint32_t>(r) >> 16));
    EXPECT_EQ(schemesAtLineStart, (std::set<int>{0, 1, 2, 3, 4}));

    // Two editors on the shared instances, in random order; one of them also
    // uses the HTML highlighter on its own in between, as a second editor may.
    std::vector<size_t> order(lines.size() * 2);
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i % lines.size();
    std::shuffle(order.begin(), order.end(), std::mt19937(9));
    for (size_t n = 0; n < order.size(); ++n) {
        const size_t i = order[n];
        if (n % 7 == 0) {
            html.SetRange(ThkHTMLSyn::rsComment);
            html.SetLine("<!-- elsewhere", 0);
            html.NextToEol();
        }
        if (i == 0)
            multi.ResetRange();
        else
            multi.SetRange(ranges[i]);
        ASSERT_EQ(ScanLabelled(multi, labels, lines[i]), expected[i]) << "line " << i << ": " << lines[i];
        ASSERT_EQ(multi.GetRange(), ranges[i + 1]) << "line " << i << ": " << lines[i];
    }
}

// Going to a line's end without reading its tokens, as the editor scans
// ranges, ends where reading every token ends: also where a PHP end tag
// stands in a string or comment, cutting the piece its highlighter reads.
TEST_F(MixedPageTest, SkippingToTheLineEndEndsInTheRangeOfTheTokens)
{
    Strings lines = MixedPage(400, 11);
    for (const char* php : {"<?php echo \"x ?> y\"; ?>", "<?php $a = 'p?>q?>'; /* ?> */ ?>", "<?php $s = \"one ?> ",
                            "two ?> three\"; ?> <i>", "<?php /* a", "b ?> c */ ?>", "<?php // a ?> <b>"})
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lines.size() / 2), php);
    scanPage(lines);
    for (size_t i = 0; i < lines.size(); ++i) {
        multi.SetRange(start[i]);
        multi.SetLine(lines[i], static_cast<int>(i));
        multi.NextToEol();
        ASSERT_TRUE(multi.GetEol());
        ASSERT_EQ(multi.GetRange(), start[i + 1]) << "line " << i << ": " << lines[i];
    }
}

class CollectingExporter : public TmwExportTarget {
public:
    void FormatToken(const std::string& token, TmwHighLightAttributes* attribute, bool, bool) override
    {
        calls.emplace_back(token, attribute);
    }
    std::vector<std::pair<std::string, TmwHighLightAttributes*>> calls;
};

TEST_F(MixedPageTest, ExportGivesThePaintedTokens)
{
    const std::string line = "<i>a</i><?php $b = 'c'; ?><style type=\"text/css\">p { }</style>";
    std::vector<std::pair<std::string, TmwHighLightAttributes*>> painted;
    multi.ResetRange();
    multi.SetLine(line, 0);
    for (; !multi.GetEol(); multi.Next())
        painted.emplace_back(multi.GetToken(), multi.GetTokenAttribute());
    painted.emplace_back("", nullptr);

    CollectingExporter exporter;
    multi.SetExporter(&exporter);
    multi.ResetRange();
    multi.SetLineForExport(line);
    while (!multi.GetEol())
        multi.ExportNext();
    EXPECT_EQ(exporter.calls, painted);
}

} // namespace

// The multi-language highlighter with the real language highlighters, set up
// as the main window sets it up, on mixed ASP and PHP pages.
#include "highlighters/hkHTMLSyn.h"
#include "highlighters/lbVBSSyn.h"
#include "highlighters/mwCSSSyn.h"
#include "highlighters/mwJScriptSyn.h"
#include "highlighters/wmMultiSyn.h"
#include "highlighters/wmMultiSynSetup.h"
#include "highlighters/wmPHPSyn.h"
#include "tests/highlighters/HighlighterTestSupport.h"
#include "tests/highlighters/MultiSynTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

using namespace vx::test;

namespace {

using Strings = std::vector<std::string>;

class MixedPageTest : public ::testing::Test {
protected:
    MixedPageTest()
    {
        SetupPageSchemes(multi, {&html, &php, &js, &vbs, &css});
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

    ThkHTMLSyn html;
    TwmPHPSyn php;
    TmwJScriptSyn js;
    TlbVbsSyn vbs;
    TmwCSSSyn css;
    TwmMultiSyn multi;
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

TEST_F(MixedPageTest, PhpEndTagInsideAStringEndsTheBlock)
{
    // The end tag is found in the line, whatever PHP makes of the text
    // around it: the string is cut there and the rest is HTML text.
    scanPage({"<?php echo \"x ?> y\"; ?>"});
    EXPECT_EQ(brief(0), (Strings{"<?php/marker", " /php", "echo/php", " /php", "\"x /php", "?>/marker",
                                 " y\"; ?>/html"}));
    EXPECT_EQ(tokens[0][4].kind, TwmPHPSyn::tkString);
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

// Tests of the multi-language highlighter with small test languages: marker
// relevance, range packing, state across blocks, odd schemes, work per line,
// determinism in any scan order, and export.
#include "highlighters/wmMultiSyn.h"

#include "platform/Exception.h"
#include "tests/highlighters/HighlighterTestSupport.h"
#include "tests/highlighters/MultiSynTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace vx::test;

namespace {

using Strings = std::vector<std::string>;

// Default "html"; scheme 0 "<%" .. "%>" in "a"; schemes 1 and 2 open with
// "<b>" and "<c>" and share the closing "</s>", in "b" and "c".
class MultiSynTest : public ::testing::Test {
protected:
    MultiSynTest()
    {
        multi.SetDefaultHighlighter(&html);
        addScheme("<%", "%>", &a);
        addScheme("<b>", "</s>", &b);
        addScheme("<c>", "</s>", &c);
        labels = {{&html, "html"}, {&a, "a"}, {&b, "b"}, {&c, "c"}};
    }
    TgmScheme& addScheme(const std::string& start, const std::string& end, TmwCustomHighLighter* hl)
    {
        TgmScheme& s = multi.Schemes().Add();
        s.SetStartExpr(start);
        s.SetEndExpr(end);
        s.SetHighlighter(hl);
        return s;
    }
    Strings scan(const std::string& line) { return Brief(ScanLabelled(multi, labels, line)); }
    Strings scanFrom(std::int32_t range, const std::string& line)
    {
        multi.SetRange(range);
        return scan(line);
    }

    TCountingSyn html, a, b, c;
    TwmMultiSyn multi;
    Labels labels;
};

TEST_F(MultiSynTest, BlockOpenedAndClosedOnOneLine)
{
    multi.ResetRange();
    auto tokens = ScanLabelled(multi, labels, "x <% if y %> z");
    EXPECT_EQ(Brief(tokens), (Strings{"x/html", " /html", "<%/marker", " /a", "if/a", " /a", "y/a", " /a", "%>/marker",
                                      " /html", "z/html"}));
    EXPECT_EQ(tokens[2].pos, 2);
    EXPECT_EQ(tokens[4].pos, 5);
    EXPECT_EQ(tokens[4].kind, tkKey);
    EXPECT_EQ(tokens[8].pos, 10);
    EXPECT_EQ(tokens[10].pos, 13);
    EXPECT_TRUE(multi.GetEol());
    EXPECT_EQ(multi.GetTokenPos(), 14);
    EXPECT_EQ(multi.GetRange(), 0);
}

TEST_F(MultiSynTest, MarkersHaveTheirOwnKindAndAttribute)
{
    multi.ResetRange();
    auto tokens = ScanLabelled(multi, labels, "1<%2%>");
    ASSERT_EQ(tokens.size(), 4u);
    EXPECT_EQ(tokens[1].kind, TwmMultiSyn::tkMarker);
    EXPECT_EQ(tokens[3].kind, TwmMultiSyn::tkMarker);
    EXPECT_EQ(tokens[0].kind, tkNumber);
    EXPECT_EQ(multi.MarkerAttri->Name(), "Marker");
    EXPECT_EQ(multi.MarkerAttri->Background(), clYellow);
    EXPECT_EQ(multi.MarkerAttri->Style(), TFontStyles{fsBold});
}

TEST_F(MultiSynTest, RangePacksTheSchemeWithItsHighlightersRange)
{
    multi.ResetRange();
    EXPECT_EQ(scan("<%"), (Strings{"<%/marker"}));
    EXPECT_EQ(multi.GetRange(), 0x00010000);
    scan("<b> {");
    EXPECT_EQ(multi.GetRange(), 0x00020000 | rsComment);
    // The next line goes on in b's comment until it closes.
    EXPECT_EQ(scanFrom(0x00020000 | rsComment, "x } y </s> z"),
              (Strings{"x }/b", " /b", "y/b", " /b", "</s>/marker", " /html", "z/html"}));
    EXPECT_EQ(multi.GetRange(), 0);
    // A whole line inside a block.
    EXPECT_EQ(scanFrom(0x00030000, "if 1"), (Strings{"if/c", " /c", "1/c"}));
    EXPECT_EQ(multi.GetRange(), 0x00030000);
}

TEST_F(MultiSynTest, OnlyMarkersRelevantInTheCurrentStateSwitch)
{
    // Outside a block closing markers are plain text.
    EXPECT_EQ(scanFrom(0, "%></s>"), (Strings{"%/html", ">/html", "</html", "//html", "s/html", ">/html"}));
    // Inside a block the closing markers of the others are its text ...
    EXPECT_EQ(scanFrom(0x00010000, "</s> %>"), (Strings{"</a", "//a", "s/a", ">/a", " /a", "%>/marker"}));
    // ... while another block's opening marker switches to it.
    EXPECT_EQ(scanFrom(0x00010000, "x<b>y</s>"), (Strings{"x/a", "<b>/marker", "y/b", "</s>/marker"}));
    EXPECT_EQ(multi.GetRange(), 0);
    // Its own opening marker does not open it again.
    EXPECT_EQ(scanFrom(0x00010000, "<%"), (Strings{"</a", "%/a"}));
    // A shared closing marker closes whichever block is open.
    EXPECT_EQ(scanFrom(0x00030000, "y</s>z"), (Strings{"y/c", "</s>/marker", "z/html"}));
}

TEST_F(MultiSynTest, DefaultHighlighterGoesOnAfterABlockOnTheSameLine)
{
    // html opens a comment, the block interrupts it, html's comment goes on.
    multi.ResetRange();
    EXPECT_EQ(scan("{ <% x %> } y"), (Strings{"{ /html", "<%/marker", " /a", "x/a", " /a", "%>/marker", " }/html",
                                               " /html", "y/html"}));
}

TEST_F(MultiSynTest, DefaultHighlighterStartsAfreshAfterABlockClosedOnALaterLine)
{
    multi.ResetRange();
    scan("{ <% x");
    const std::int32_t stored = multi.GetRange();
    EXPECT_EQ(stored, 0x00010000);
    // Whether the second line follows at once or after other work, html
    // starts from its reset range after the marker: the comment is gone.
    const Strings expected{"%>/marker", " /html", "}/html"};
    EXPECT_EQ(scan("%> }"), expected);
    scanFrom(0, "{ {");
    EXPECT_EQ(scanFrom(stored, "%> }"), expected);
}

TEST_F(MultiSynTest, ABlockStartsItsHighlighterFromItsResetRange)
{
    multi.ResetRange();
    // a is left inside a comment by the first block; the second starts afresh.
    EXPECT_EQ(scan("<% { %><% if %>"), (Strings{"<%/marker", " /a", "{ /a", "%>/marker", "<%/marker", " /a",
                                                "if/a", " /a", "%>/marker"}));
    // The same when a was left in a comment by another line.
    scanFrom(0x00010000, "{");
    EXPECT_EQ(scanFrom(0, "<% if"), (Strings{"<%/marker", " /a", "if/a"}));
}

TEST_F(MultiSynTest, ResetRangeResetsEveryHighlighter)
{
    html.SetRange(rsComment);
    a.SetRange(rsComment);
    multi.SetRange(0x00010000 | rsComment);
    multi.ResetRange();
    EXPECT_EQ(multi.GetRange(), 0);
    EXPECT_EQ(html.GetRange(), rsNormal);
    EXPECT_EQ(a.GetRange(), rsNormal);
    EXPECT_EQ(b.GetRange(), rsNormal);
    EXPECT_EQ(scan("x"), (Strings{"x/html"}));
}

TEST_F(MultiSynTest, SetRangeRestoresSchemeAndInnerRange)
{
    multi.SetRange(0x00030005);
    EXPECT_EQ(c.GetRange(), 5);
    EXPECT_EQ(multi.GetRange(), 0x00030005);
    multi.SetRange(rsComment);
    EXPECT_EQ(html.GetRange(), rsComment);
    EXPECT_EQ(multi.GetRange(), rsComment);
    EXPECT_EQ(scan("x } y"), (Strings{"x }/html", " /html", "y/html"}));
}

TEST_F(MultiSynTest, RangeNamingNoUsableSchemeIsTheDefaultState)
{
    addScheme("<q>", "</q>", nullptr); // scheme 3 without highlighter
    html.SetRange(rsComment);
    for (std::int32_t range : {0x00040001, 0x00090001, static_cast<std::int32_t>(0xFFFF0001u)}) {
        multi.SetRange(range);
        EXPECT_EQ(multi.GetRange(), 0) << std::hex << range;
        EXPECT_EQ(scan("x"), (Strings{"x/html"})) << std::hex << range;
    }
    // And a scheme without highlighter opens nothing.
    EXPECT_EQ(scanFrom(0, "<q>"), (Strings{"</html", "q/html", ">/html"}));
    // A scheme that loses its highlighter while a stored range names it.
    multi.Schemes().Items(0).SetHighlighter(nullptr);
    EXPECT_EQ(scanFrom(0x00010000, "<%x"), (Strings{"</html", "%/html", "x/html"}));
    EXPECT_EQ(multi.GetRange(), 0);
}

TEST_F(MultiSynTest, TheHighlighterItselfIsNeverHandedAPiece)
{
    addScheme("<s>", "</q>", &multi);
    EXPECT_EQ(scanFrom(0, "<s>x"), (Strings{"</html", "s/html", ">/html", "x/html"}));
    EXPECT_EQ(scanFrom(0x00040000, "x"), (Strings{"x/html"}));
    multi.SetDefaultHighlighter(&multi);
    EXPECT_EQ(multi.DefaultHighlighter(), nullptr);
    EXPECT_EQ(scanFrom(0, "x <% y"), Strings{});
}

TEST_F(MultiSynTest, WithoutDefaultHighlighterNothingIsColoured)
{
    multi.SetDefaultHighlighter(nullptr);
    multi.ResetRange();
    multi.SetLine("a <% b %>", 0);
    EXPECT_TRUE(multi.GetEol());
    EXPECT_EQ(multi.GetToken(), "a <% b %>");
    EXPECT_EQ(multi.GetTokenAttribute(), nullptr);
    EXPECT_EQ(multi.GetTokenKind(), 0);
    EXPECT_EQ(multi.GetRange(), 0);
    multi.Next();
    EXPECT_TRUE(multi.GetEol());
}

TEST_F(MultiSynTest, OverlappingAndAdjacentMarkers)
{
    EXPECT_EQ(scanFrom(0, "<%%>"), (Strings{"<%/marker", "%>/marker"}));
    // "%>" starts inside "<%": the block stays open.
    EXPECT_EQ(scanFrom(0, "<%>1"), (Strings{"<%/marker", ">/a", "1/a"}));
    EXPECT_EQ(multi.GetRange(), 0x00010000);
    EXPECT_EQ(scanFrom(0, "<%<b><c></s>"), (Strings{"<%/marker", "<b>/marker", "<c>/marker", "</s>/marker"}));
}

TEST_F(MultiSynTest, AtOnePositionTheFirstRelevantMarkerInSchemeOrderWins)
{
    addScheme("<%=", "=%>", &b); // scheme 3 matches where scheme 0 does
    EXPECT_EQ(scanFrom(0, "<%= 1"), (Strings{"<%/marker", "=/a", " /a", "1/a"}));
    EXPECT_EQ(multi.GetRange(), 0x00010000);
    // Inside scheme 0 its own opening marker is not relevant; scheme 3's is.
    EXPECT_EQ(scanFrom(0x00010000, "<%= 1"), (Strings{"<%=/marker", " /b", "1/b"}));
    EXPECT_EQ(multi.GetRange(), 0x00040000);
}

TEST_F(MultiSynTest, BadAndEmptyExpressionsFindNothing)
{
    multi.Schemes().Items(1).SetStartExpr("(");   // does not compile
    multi.Schemes().Items(2).SetStartExpr("");    // empty
    addScheme("w*", "v*", &b);                    // matches only empty texts here
    EXPECT_EQ(scanFrom(0, "(<b><c>zz"), (Strings{"(/html", "</html", "b/html", ">/html", "</html", "c/html",
                                                 ">/html", "zz/html"}));
    // The good schemes still work, and the empty matches do not hold them up.
    EXPECT_EQ(scanFrom(0, "zz<%yy%>"), (Strings{"zz/html", "<%/marker", "yy/a", "%>/marker"}));
}

TEST_F(MultiSynTest, EditedSchemesTakeEffectOnTheNextLine)
{
    EXPECT_EQ(scanFrom(0, "[x"), (Strings{"[/html", "x/html"}));
    multi.Schemes().Items(0).SetStartExpr("\\[");
    EXPECT_EQ(scanFrom(0, "[x"), (Strings{"[/marker", "x/a"}));
    multi.Schemes().Delete(0);
    EXPECT_EQ(scanFrom(0, "<b>x"), (Strings{"<b>/marker", "x/b"}));
    EXPECT_EQ(multi.GetRange(), 0x00010000);
}

TEST_F(MultiSynTest, EachPieceIsHandedOverOnceAndScannedToItsEnd)
{
    // A 1 MB line of blocks: every character outside the markers goes to a
    // highlighter exactly once, each piece by one SetLine, each token by one Next.
    std::string line;
    const std::string unit = "ab 12 <% if x; %> cd ";
    while (line.size() < (1u << 20))
        line += unit;
    const std::int64_t units = static_cast<std::int64_t>(line.size() / unit.size());
    multi.ResetRange();
    multi.SetLine(line, 0);
    std::int64_t tokens = 0;
    std::int64_t covered = 0;
    while (!multi.GetEol()) {
        EXPECT_EQ(multi.GetTokenPos(), covered);
        covered += static_cast<std::int64_t>(multi.GetToken().size());
        ++tokens;
        multi.Next();
    }
    EXPECT_EQ(covered, static_cast<std::int64_t>(line.size()));
    const std::int64_t markerChars = units * 4;
    EXPECT_EQ(html.charsGiven + a.charsGiven, static_cast<std::int64_t>(line.size()) - markerChars);
    // Pieces: before each block, inside it, and the final empty piece at most.
    EXPECT_LE(html.setLineCalls + a.setLineCalls, 2 * units + 1);
    // One Next per token, plus one per piece to find its end.
    EXPECT_LE(html.nextCalls + a.nextCalls, tokens + html.setLineCalls + a.setLineCalls);
    EXPECT_EQ(tokens, units * (6 + 2 + 7));
}

TEST_F(MultiSynTest, EndMarkerInsideACommentIsTextWhereTheSchemeSaysSo)
{
    // Unflagged, the marker cuts the comment.
    EXPECT_EQ(scanFrom(0, "<% {%>} %>"), (Strings{"<%/marker", " /a", "{/a", "%>/marker", "}/html", " /html",
                                                  "%/html", ">/html"}));
    multi.Schemes().Items(0).SetEndOutsideStrings(true);
    auto tokens = (multi.SetRange(0), ScanLabelled(multi, labels, "<% {%>%>} %>x"));
    EXPECT_EQ(Brief(tokens), (Strings{"<%/marker", " /a", "{%>%>}/a", " /a", "%>/marker", "x/html"}));
    EXPECT_EQ(tokens[2].pos, 3);
    EXPECT_EQ(tokens[2].kind, tkComment);
    EXPECT_EQ(tokens[4].pos, 10);
    // The comment runs on over the line end and ends on the next line.
    EXPECT_EQ(scanFrom(0, "<% {%>"), (Strings{"<%/marker", " /a", "{%>/a"}));
    EXPECT_EQ(multi.GetRange(), 0x00010000 | rsComment);
    EXPECT_EQ(scanFrom(0x00010000 | rsComment, "%>}%>"), (Strings{"%>}/a", "%>/marker"}));
    // Another scheme's block still opens inside the comment.
    EXPECT_EQ(scanFrom(0, "<% {%><b>x"), (Strings{"<%/marker", " /a", "{%>/a", "<b>/marker", "x/b"}));
}

TEST_F(MultiSynTest, EndMarkersInCommentsCostLinearWork)
{
    multi.Schemes().Items(0).SetEndOutsideStrings(true);
    std::string line = "<%";
    const std::string unit = " {%>%>} x%> <% ";
    while (line.size() < (1u << 20))
        line += unit;
    multi.ResetRange();
    multi.SetLine(line, 0);
    std::int64_t covered = 0;
    std::int64_t tokens = 0;
    while (!multi.GetEol()) {
        ASSERT_EQ(multi.GetTokenPos(), covered);
        covered += static_cast<std::int64_t>(multi.GetToken().size());
        ++tokens;
        multi.Next();
    }
    EXPECT_EQ(covered, static_cast<std::int64_t>(line.size()));
    const auto units = static_cast<std::int64_t>((line.size() - 2) / unit.size());
    // Every character but the counted markers is handed over once; each
    // piece by one SetLine, each token by one Next.
    EXPECT_EQ(html.charsGiven + a.charsGiven, static_cast<std::int64_t>(line.size()) - 2 - units * 4);
    EXPECT_LE(html.setLineCalls + a.setLineCalls, 4 * units + 2);
    EXPECT_LE(html.nextCalls + a.nextCalls, tokens + html.setLineCalls + a.setLineCalls);
}

TEST_F(MultiSynTest, AnyScanOrderGivesTheSameColours)
{
    const Strings fragments{"<%", "%>", "<b>", "<c>", "</s>", "{", "}", "if", "x", " ", "12", "\"s\"", "\"", ";",
                            "<", "%", ">"};
    const Strings lines = RandomLines(fragments, 400, 7);
    ExpectDocumentProperties(multi, lines);

    // Top to bottom, each line going on from the state the previous one left.
    multi.ResetRange();
    std::vector<std::int32_t> start{multi.GetRange()};
    std::vector<std::vector<LTok>> expected;
    for (const auto& line : lines) {
        expected.push_back(ScanLabelled(multi, labels, line));
        start.push_back(multi.GetRange());
    }

    // Two editors sharing the highlighter, lines in random order, each from its stored state.
    std::vector<size_t> order(lines.size() * 2);
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i % lines.size();
    std::shuffle(order.begin(), order.end(), std::mt19937(11));
    for (size_t i : order) {
        if (i == 0)
            multi.ResetRange();
        else
            multi.SetRange(start[i]);
        ASSERT_EQ(ScanLabelled(multi, labels, lines[i]), expected[i]) << "line " << i << ": \"" << lines[i] << "\"";
        ASSERT_EQ(multi.GetRange(), start[i + 1]) << "line " << i;
    }
}

class CollectingExporter : public TmwExportTarget {
public:
    void FormatToken(const std::string& token, TmwHighLightAttributes* attribute, bool needsEscape,
                     bool isSpace) override
    {
        calls.push_back({token, attribute, needsEscape, isSpace});
    }
    struct Call {
        std::string token;
        TmwHighLightAttributes* attribute;
        bool needsEscape;
        bool isSpace;
    };
    std::vector<Call> calls;
};

TEST_F(MultiSynTest, ExportHandsEveryTokenAndTheLineEndToTheExporter)
{
    CollectingExporter exporter;
    multi.SetExporter(&exporter);
    multi.ResetRange();
    const std::string line = "x <% {y} %>";
    multi.SetLineForExport(line);
    while (!multi.GetEol())
        multi.ExportNext();
    ASSERT_EQ(exporter.calls.size(), 8u);
    std::string joined;
    for (size_t i = 0; i + 1 < exporter.calls.size(); ++i)
        joined += exporter.calls[i].token;
    EXPECT_EQ(joined, line);
    ASSERT_EQ(html.GetAttribute(1)->Name(), "Identifier");
    EXPECT_EQ(exporter.calls[0].attribute, html.GetAttribute(1));
    EXPECT_TRUE(exporter.calls[1].isSpace);
    EXPECT_FALSE(exporter.calls[1].needsEscape);
    EXPECT_EQ(exporter.calls[2].attribute, multi.MarkerAttri);
    EXPECT_TRUE(exporter.calls[2].needsEscape);
    EXPECT_EQ(exporter.calls[4].token, "{y}");
    EXPECT_EQ(exporter.calls[4].attribute, a.comment);
    EXPECT_TRUE(exporter.calls[4].needsEscape);
    EXPECT_EQ(exporter.calls[7].token, "");
    EXPECT_EQ(exporter.calls[7].attribute, nullptr);
    EXPECT_NE(multi.GetCapability() & hcExportable, 0u);
}

TEST(MultiSynBasics, NamesFilterAndAttributes)
{
    TwmMultiSyn multi;
    EXPECT_EQ(multi.GetLanguageName(), "General Multi-Highlighter");
    EXPECT_EQ(multi.GetDefaultFilter(), "");
    EXPECT_EQ(multi.GetAttribCount(), 1);
    EXPECT_EQ(multi.GetAttribute(0), multi.MarkerAttri);
    for (int i = -1; i < 4; ++i)
        EXPECT_EQ(multi.GetDefaultAttribute(i), nullptr);
    EXPECT_EQ(multi.Schemes().Owner(), &multi);
    EXPECT_EQ(multi.Schemes().Count(), 0);
}

TEST(MultiSynBasics, SchemeCollection)
{
    TTestSyn hl;
    TgmSchemes source;
    TgmScheme& first = source.Add();
    first.SetStartExpr("<a>");
    first.SetEndExpr("</a>");
    first.SetHighlighter(&hl);
    first.SetEndOutsideStrings(true);
    source.Add().SetStartExpr("<b>");
    EXPECT_EQ(source.Items(1).Index(), 1);
    EXPECT_THROW(source.Items(2), EListError);
    EXPECT_THROW(source.Items(-1), EListError);

    TwmMultiSyn multi;
    multi.SetSchemes(source);
    ASSERT_EQ(multi.Schemes().Count(), 2);
    EXPECT_NE(&multi.Schemes().Items(0), &first);
    EXPECT_EQ(multi.Schemes().Items(0).StartExpr(), "<a>");
    EXPECT_EQ(multi.Schemes().Items(0).EndExpr(), "</a>");
    EXPECT_EQ(multi.Schemes().Items(0).Highlighter(), &hl);
    EXPECT_TRUE(multi.Schemes().Items(0).EndOutsideStrings());
    EXPECT_EQ(multi.Schemes().Items(1).Highlighter(), nullptr);
    EXPECT_FALSE(multi.Schemes().Items(1).EndOutsideStrings());

    const unsigned before = source.Version();
    source.Items(1).SetEndExpr("</b>");
    EXPECT_NE(source.Version(), before);
    source.Delete(0);
    EXPECT_EQ(source.Items(0).Index(), 0);
    EXPECT_EQ(source.Items(0).EndExpr(), "</b>");
}

} // namespace

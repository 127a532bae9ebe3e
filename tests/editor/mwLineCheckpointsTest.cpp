// Rescans of long lines from kept highlighter states, against full scans of
// the line from its start: seeded random edits before, at and after the kept
// states, with comments, strings and blocks opening and closing in the line,
// for every highlighter that resumes a line, the multi-language highlighter
// set up as the main window sets it up among them; and the editor's ranges
// after random changes of a page with a long line.
#include "editor/mwCustomEditModel.h"
#include "editor/mwKeyCmds.h"
#include "editor/mwLineCheckpoints.h"
#include "highlighters/hkHTMLSyn.h"
#include "highlighters/mwJScriptSyn.h"
#include "highlighters/wmMultiSyn.h"
#include "tests/editor/support/ResumingLines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

using vx::test::Fragment;
using vx::test::Pick;
using vx::test::RandomLine;
using vx::test::Resuming;
using vx::test::Rng;
using vx::test::TResuming;

struct TToken {
    int pos;
    int kind;
    std::string text;
    bool operator==(const TToken&) const = default;
};

// A line scanned from its start: its tokens, the point after each, its end range.
struct TFullScan {
    std::vector<TToken> tokens;
    std::vector<TmwScanPoint> points;
    std::int32_t end = 0;
};

TFullScan ScanWhole(TmwCustomHighLighter& hl, const std::string& line, std::int32_t startRange)
{
    TFullScan scan;
    hl.SetRange(startRange);
    hl.SetLine(line, 0);
    while (!hl.GetEol()) {
        scan.tokens.push_back(TToken{hl.GetTokenPos(), hl.GetTokenKind(), hl.GetToken()});
        scan.points.push_back(hl.Resumable()->ScanPoint());
        hl.Next();
    }
    scan.end = hl.GetRange();
    return scan;
}

// The tokens from a kept point on, scanned as the rescan does: from the
// margin before the point.
std::vector<TToken> ScanFrom(TmwCustomHighLighter& hl, const std::string& line, const TmwScanPoint& at)
{
    const int from = std::max(0, at.pos - hl.Resumable()->ResumeMargin());
    TmwScanPoint shifted = at;
    shifted.pos -= from;
    std::vector<TToken> tokens;
    hl.Resumable()->ResumeLine(line.substr(static_cast<size_t>(from)), 0, shifted);
    while (!hl.GetEol()) {
        tokens.push_back(TToken{hl.GetTokenPos() + from, hl.GetTokenKind(), hl.GetToken()});
        hl.Next();
    }
    return tokens;
}

// After every rescan: the end range is the full scan's, and every kept state
// is one the full scan passes through, from which the line's tokens go on as
// the full scan's do.
void ExpectLikeFullScan(TmwCustomHighLighter& hl, const TmwLineCheckpoints& kept, const std::string& line,
                        std::int32_t startRange, std::int32_t got)
{
    const TFullScan full = ScanWhole(hl, line, startRange);
    ASSERT_EQ(got, full.end);
    const auto& points = kept.Points();
    for (size_t i = 0; i < points.size(); ++i) {
        const TmwScanPoint& p = points[i];
        if (i > 0) {
            ASSERT_LT(points[i - 1].pos, p.pos);
        }
        const auto at = std::find_if(full.points.begin(), full.points.end(),
                                     [&](const TmwScanPoint& q) { return q.pos == p.pos; });
        ASSERT_NE(at, full.points.end()) << "no token boundary at kept state " << p.pos;
        ASSERT_EQ(at->range, p.range) << "at " << p.pos;
        ASSERT_EQ(at->extra, p.extra) << "at " << p.pos;
        ASSERT_EQ(at->more, p.more) << "at " << p.pos;
        const std::vector<TToken> expected(full.tokens.begin() + (at - full.points.begin()) + 1, full.tokens.end());
        ASSERT_TRUE(ScanFrom(hl, line, p) == expected) << "tokens after kept state " << p.pos;
    }
}

// A position near a kept state (before, at or after it), or anywhere.
size_t EditPos(Rng& rng, const TmwLineCheckpoints& kept, size_t length, int margin)
{
    const auto& points = kept.Points();
    if (points.empty() || Pick(rng, 0, 2) == 0)
        return static_cast<size_t>(Pick(rng, 0, static_cast<int>(length)));
    const int at = points[static_cast<size_t>(Pick(rng, 0, static_cast<int>(points.size()) - 1))].pos;
    return static_cast<size_t>(std::clamp(at + Pick(rng, -margin - 3, margin + 3), 0, static_cast<int>(length)));
}

void RandomEdits(const TResuming& language, size_t interval, size_t length, int seeds, int edits)
{
    for (int seed = 1; seed <= seeds; ++seed) {
        SCOPED_TRACE(language.name + " seed " + std::to_string(seed));
        Rng rng(static_cast<unsigned>(seed) * 7919u + static_cast<unsigned>(length));
        auto hl = language.make();
        ASSERT_NE(hl->Resumable(), nullptr);
        const int margin = hl->Resumable()->ResumeMargin();
        // Now and then the line starts inside a comment, string or block.
        hl->ResetRange();
        std::int32_t startRange = hl->GetRange();
        if (seed % 2 == 0)
            startRange = ScanWhole(*hl, Fragment(rng), startRange).end;
        TStringList lines;
        lines.Add(RandomLine(rng, length));
        TmwLineCheckpoints kept(interval);
        std::int32_t got = kept.Scan(*hl, lines, 0, startRange);
        ASSERT_EQ(hl->GetRange(), got);
        ExpectLikeFullScan(*hl, kept, lines.Get(0), startRange, got);
        for (int e = 0; e < edits; ++e) {
            SCOPED_TRACE("edit " + std::to_string(e));
            const size_t len = lines.Length(0);
            const size_t pos = EditPos(rng, kept, len, margin);
            size_t removed = 0;
            switch (Pick(rng, 0, 3)) {
            case 0: break;
            case 1: removed = static_cast<size_t>(Pick(rng, 1, 8)); break;
            case 2: removed = static_cast<size_t>(Pick(rng, 1, static_cast<int>(interval) * 2)); break;
            default: removed = static_cast<size_t>(Pick(rng, 0, 2)); break;
            }
            removed = std::min(removed, len - pos);
            const std::string text = Pick(rng, 0, 4) == 0 ? std::string() : Fragment(rng);
            lines.ReplaceText(0, pos, removed, text);
            // The line's start range changes now and then: everything is scanned again.
            if (Pick(rng, 0, 19) == 0)
                startRange = ScanWhole(*hl, Fragment(rng), startRange).end;
            got = kept.Rescan(*hl, lines, 0, startRange, pos, removed, text.size());
            ASSERT_EQ(hl->GetRange(), got);
            ExpectLikeFullScan(*hl, kept, lines.Get(0), startRange, got);
        }
    }
}

TEST(LineCheckpoints, RescanEqualsFullScanForEveryResumingHighlighter)
{
    for (const TResuming& language : Resuming())
        RandomEdits(language, 256, 3000, 25, 40);
}

TEST(LineCheckpoints, RescanEqualsFullScanAtTheEditorsInterval)
{
    for (const TResuming& language : Resuming())
        RandomEdits(language, TmwLineCheckpoints::kInterval, 3 * TmwLineCheckpoints::kInterval, 1, 6);
}

TEST(LineCheckpoints, EditInPlainTextKeepsTheStatesAfterItMoved)
{
    ThkHTMLSyn hl;
    hl.ResetRange();
    const std::int32_t start = hl.GetRange();
    TStringList lines;
    std::string line;
    while (line.size() < 5000)
        line += "<b>word</b> text &amp; more ";
    lines.Add(line);
    TmwLineCheckpoints kept(512);
    kept.Scan(hl, lines, 0, start);
    const std::vector<TmwScanPoint> before = kept.Points();
    ASSERT_GE(before.size(), 8u);
    lines.ReplaceText(0, 2600, 0, "xy");
    kept.Rescan(hl, lines, 0, start, 2600, 0, 2);
    ExpectLikeFullScan(hl, kept, lines.Get(0), start, hl.GetRange());
    // The states well past the edit are the old ones, two characters on.
    std::vector<TmwScanPoint> moved;
    for (TmwScanPoint p : before) {
        if (p.pos >= 2600 + 2 * hl.ResumeMargin()) {
            p.pos += 2;
            moved.push_back(p);
        }
    }
    ASSERT_FALSE(moved.empty());
    for (const TmwScanPoint& p : moved)
        EXPECT_NE(std::find(kept.Points().begin(), kept.Points().end(), p), kept.Points().end()) << p.pos;
}

// The multi-language highlighter resumes a line only where each of its
// parts does: a marker expression with a repeat may match a text of any
// length, which no margin covers. Without resumed scans no states are kept.
TEST(LineCheckpoints, HighlighterWithoutResumedScansKeepsNoStates)
{
    TwmMultiSyn multi;
    ThkHTMLSyn html;
    TmwJScriptSyn js;
    multi.SetDefaultHighlighter(&html);
    EXPECT_NE(multi.Resumable(), nullptr) << "no schemes";
    TgmScheme& scheme = multi.Schemes().Add();
    scheme.SetStartExpr("<js>");
    scheme.SetEndExpr("</js>");
    scheme.SetHighlighter(&js);
    ASSERT_NE(multi.Resumable(), nullptr);
    EXPECT_EQ(multi.ResumeMargin(), html.ResumeMargin() + 5);
    TwmMultiSyn inner;
    inner.SetDefaultHighlighter(&js);
    scheme.SetHighlighter(&inner);
    EXPECT_EQ(multi.Resumable(), nullptr) << "a block handed to another multi-language highlighter";
    scheme.SetHighlighter(&js);
    for (const char* unbounded : {"<js[^>]*>", "<js>+", "^<js>", "<js>$"}) {
        SCOPED_TRACE(unbounded);
        scheme.SetStartExpr(unbounded);
        EXPECT_EQ(multi.Resumable(), nullptr);
        TStringList lines;
        lines.Add(std::string(4000, 'a') + "<!-- open");
        TmwLineCheckpoints kept(256);
        multi.ResetRange();
        const std::int32_t start = multi.GetRange();
        const std::int32_t end = kept.Scan(multi, lines, 0, start);
        EXPECT_EQ(kept.Line(), -1);
        EXPECT_TRUE(kept.Points().empty());
        multi.SetRange(start);
        multi.SetLine(lines.Get(0), 0);
        multi.NextToEol();
        EXPECT_EQ(end, multi.GetRange());
        EXPECT_NE(end, start);
    }
}

TEST(LineCheckpoints, FollowsLinesInsertedAndDeletedAroundTheKeptLine)
{
    ThkHTMLSyn hl;
    hl.ResetRange();
    TStringList lines;
    lines.Add(std::string(2000, 'a'));
    TmwLineCheckpoints kept(256);
    kept.Scan(hl, lines, 0, hl.GetRange());
    const struct {
        bool insert;
        int index;
        int line;
    } steps[] = {{true, 1, 0}, {true, 0, 1}, {false, 0, 0}, {true, 0, 1}, {false, 1, -1}};
    for (const auto& step : steps) {
        if (step.insert)
            kept.LineInserted(step.index);
        else
            kept.LineDeleted(step.index);
        EXPECT_EQ(kept.Line(), step.line);
    }
    EXPECT_TRUE(kept.Points().empty());
}

// The ranges the editor stores for its lines, against a scan of the whole page.
void ExpectRangesOfFullScan(TmwCustomHighLighter& hl, const TmwEditList& lines)
{
    hl.ResetRange();
    std::int32_t range = hl.GetRange();
    for (int i = 0; i < lines.Count(); ++i) {
        ASSERT_EQ(lines.Range(i), range) << "line " << i;
        range = ScanWhole(hl, lines.Get(i), range).end;
    }
}

// For every resuming highlighter: an editor on a page whose second line is
// long, changed step by step by change, its ranges checked after every step.
void ChangePageWithLongLine(unsigned seed, int steps, const std::function<void(Rng&, TmwCustomEditModel&)>& change)
{
    for (const TResuming& language : Resuming()) {
        SCOPED_TRACE(language.name);
        Rng rng(seed);
        auto hl = language.make();
        TmwCustomEditModel model;
        model.SetHighLighter(hl.get());
        model.Lines().SetTextStr("<p>\r\n" + RandomLine(rng, TmwLineCheckpoints::kInterval + 20000) +
                                 "\r\n/* x\r\nend");
        for (int step = 0; step < steps; ++step) {
            SCOPED_TRACE("step " + std::to_string(step));
            change(rng, model);
            ExpectRangesOfFullScan(*hl, model.Lines());
            if (::testing::Test::HasFatalFailure())
                return;
        }
    }
}

TEST(LineCheckpoints, EditorRangesAfterRandomChangesOfAPageWithALongLine)
{
    ChangePageWithLongLine(17, 60, [](Rng& rng, TmwCustomEditModel& model) {
        TmwEditList& lines = model.Lines();
        // Mostly edits of the long line, which may be any line by now;
        // the other lines are put, deleted and inserted around it.
        int longest = 0;
        for (int i = 0; i < lines.Count(); ++i)
            if (lines.Length(i) > lines.Length(longest))
                longest = i;
        const int other = Pick(rng, 0, lines.Count() - 1);
        const int index = Pick(rng, 0, 3) == 0 ? other : longest;
        const auto len = static_cast<int>(lines.Length(index));
        switch (Pick(rng, 0, 9)) {
        case 0: lines.Insert(Pick(rng, 0, lines.Count()), Fragment(rng)); break;
        case 1:
            if (other != longest)
                lines.Delete(other);
            break;
        case 2:
            if (other != longest)
                lines.Put(other, Fragment(rng));
            break;
        default:
            lines.ReplaceText(index, static_cast<size_t>(Pick(rng, 0, len)), static_cast<size_t>(Pick(rng, 0, 6)),
                              Fragment(rng));
            break;
        }
    });
}

TEST(LineCheckpoints, EditorRangesAfterTypingDeletingAndUndoingInALongLine)
{
    ChangePageWithLongLine(29, 80, [](Rng& rng, TmwCustomEditModel& model) {
        static const char typed[] = "/*<>!-%?\"'a &;#";
        static const TmwEditorCommand commands[] = {ecChar,           ecChar, ecChar, ecDeleteChar,
                                                    ecDeleteLastChar, ecUndo, ecRedo};
        model.SetCaretXY(Point(Pick(rng, 1, model.MaxLeftChar()), 2));
        const TmwEditorCommand command = commands[Pick(rng, 0, static_cast<int>(std::size(commands)) - 1)];
        model.CommandProcessor(command, typed[Pick(rng, 0, static_cast<int>(sizeof(typed)) - 2)], nullptr);
    });
}

} // namespace

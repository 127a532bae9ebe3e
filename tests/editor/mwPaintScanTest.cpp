// What a paint shows of a long line, scanned from kept states, against the
// painted line scanned from its start: random views of random lines with
// tabs and characters of several bytes, between random edits, line
// insertions and deletions, changes of the line's start state and of the
// tab width, for every highlighter that resumes a line and the
// multi-language highlighter as the main window sets it up; the model's
// own kept states as a start; and the states' bookkeeping.
#include "editor/mwCustomEditModel.h"
#include "editor/mwKeyCmds.h"
#include "editor/mwPaintScan.h"
#include "editor/mwPaintStates.h"
#include "editor/mwSupportProcs.h"
#include "platform/Utf8.h"
#include "tests/editor/support/ResumingLines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

// How a failing check shows a token (found beside the type).
static void PrintTo(const TmwPaintToken& t, std::ostream* out)
{
    *out << "{" << t.Column << "+" << t.Cells << " '" << t.Text.substr(0, 40) << "'}";
}

namespace {

using vx::test::Fragment;
using vx::test::Pick;
using vx::test::Resuming;
using vx::test::Rng;
using vx::test::TResuming;

// What starts a comment running to the line's end in one language or another.
constexpr const char* kLineComments[] = {"//", "--", "#", "'", "rem", "=pod"};

// A fragment that starts no comment running to the line's end, which
// would leave the rest of the line one token; after a blank, so that no
// such comment starts where two fragments meet either.
std::string OpenFragment(Rng& rng)
{
    for (;;) {
        std::string text = Fragment(rng);
        if (std::none_of(std::begin(kLineComments), std::end(kLineComments),
                         [&](const char* c) { return text.find(c) != std::string::npos; }))
            return " " + text;
    }
}

// Fragments of every language, letters of two, three and four bytes (one
// and two cells), tabs, and long runs of plain text, at least length bytes.
std::string PaintedLine(Rng& rng, std::size_t length, bool tabs)
{
    static const char* const kLetters[] = {"é", "ж", "你", "好", "\xF0\x9D\x84\x9E", "αβ"};
    std::string line;
    while (line.size() < length) {
        switch (Pick(rng, 0, 11)) {
        case 0: line.append(static_cast<size_t>(Pick(rng, 50, 400)), Pick(rng, 0, 1) ? 'w' : ' '); break;
        // Blocks and comments close before long, so that tokens end along the line.
        case 4: line += " */ %> ?> </script> </style> "; break;
        case 1:
        case 2: line += kLetters[Pick(rng, 0, static_cast<int>(std::size(kLetters)) - 1)]; break;
        case 3: line += tabs ? "\t" : "  "; break;
        default: line += OpenFragment(rng); break;
        }
    }
    if (!tabs)
        std::replace(line.begin(), line.end(), '\t', ' ');
    return line;
}

// Line index of the model painted (tabs expanded) and scanned from its
// start: every token at the cells it shows in, and the cells of the line.
struct TFromStart {
    std::vector<TmwPaintToken> tokens;
    std::size_t cells = 0;
};

TFromStart ScanFromStart(TmwCustomEditModel& model, int index)
{
    const std::string painted = ConvertTabs(model.Lines().Get(index), model.TabWidth());
    // The cells before each byte; the inner bytes of a character come after it.
    std::vector<std::size_t> cellAt(painted.size() + 1);
    std::size_t cells = 0;
    for (std::size_t i = 0; i < painted.size();) {
        std::size_t length = 0;
        const int n = vx::utf8::CellsAt(painted, i, &length);
        cellAt[i] = cells;
        cells += static_cast<std::size_t>(n);
        for (std::size_t k = 1; k < length; ++k)
            cellAt[i + k] = cells;
        i += length;
    }
    cellAt[painted.size()] = cells;
    TFromStart scan;
    scan.cells = cells;
    TmwCustomHighLighter* hl = model.HighLighter();
    if (!hl)
        return scan;
    hl->SetRange(model.Lines().Range(index));
    hl->SetLine(painted, index);
    while (!hl->GetEol()) {
        const auto pos = static_cast<std::size_t>(hl->GetTokenPos());
        std::string token = hl->GetToken();
        const std::size_t cell = cellAt[pos];
        const std::size_t end = cellAt[pos + token.size()];
        scan.tokens.push_back(
            TmwPaintToken{static_cast<int>(cell + 1), static_cast<int>(end - cell), std::move(token),
                          hl->GetTokenAttribute()});
        hl->Next();
    }
    return scan;
}

// A paint of cells firstCol..lastCol of line index shows exactly the tokens
// of the scan from the line's start that reach them.
void ExpectPaintLikeScanFromStart(TmwCustomEditModel& model, int index, int firstCol, int lastCol,
                                  const TmwPaintLine& shown)
{
    const TFromStart full = ScanFromStart(model, index);
    std::vector<TmwPaintToken> expected;
    for (const TmwPaintToken& t : full.tokens)
        if (t.Column <= lastCol && t.Column + t.Cells > firstCol)
            expected.push_back(t);
    ASSERT_EQ(shown.Tokens, expected) << "cells " << firstCol << ".." << lastCol << " from byte " << shown.From;
    if (static_cast<int>(full.cells) < lastCol)
        EXPECT_EQ(shown.EndColumn, static_cast<int>(full.cells) + 1);
    else
        EXPECT_GT(shown.EndColumn, lastCol);
}

int LongestLine(const TmwEditList& lines)
{
    int longest = 0;
    for (int i = 1; i < lines.Count(); ++i)
        if (lines.Length(i) > lines.Length(longest))
            longest = i;
    return longest;
}

// A view near the one before, or anywhere on the line, or past its end.
std::pair<int, int> PickView(Rng& rng, int cells, int before)
{
    int first = 1;
    switch (Pick(rng, 0, 5)) {
    case 0: first = Pick(rng, 1, cells + 50); break;
    case 1: first = Pick(rng, 1, 300); break;
    default: first = std::clamp(before + Pick(rng, -200, 200), 1, cells + 50); break;
    }
    return {first, first + Pick(rng, 0, 120)};
}

// One change of the page: mostly of the long line near the view, where no
// comment running to the line's end is typed; the lines before the long
// one change its start state now and then.
void ChangePage(Rng& rng, TmwCustomEditModel& model, int index, int view)
{
    TmwEditList& lines = model.Lines();
    const auto length = static_cast<int>(lines.Length(index));
    const int near = std::clamp(model.CharPoint(view, index + 1).X - 1 + Pick(rng, -150, 150), 0, length);
    switch (Pick(rng, 0, 9)) {
    case 0: lines.Insert(Pick(rng, 0, index), Fragment(rng)); break;
    case 1:
        if (index > 0)
            lines.Delete(Pick(rng, 0, index - 1));
        break;
    case 2: lines.Put(0, Fragment(rng)); break; // the long line's start state may change
    case 3: model.SetTabWidth(Pick(rng, 0, 9)); break;
    case 4: {
        static const char typed[] = "*<>!%?\"a &;\t";
        model.SetCaretXY(Point(near + 1, index + 1));
        model.CommandProcessor(ecChar, typed[Pick(rng, 0, static_cast<int>(sizeof(typed)) - 2)], nullptr);
        break;
    }
    default: {
        const int pos = Pick(rng, 0, 2) == 0 ? Pick(rng, 0, length) : near;
        const int removed = std::min(Pick(rng, 0, 6), length - pos);
        // An edit may cut a character: the line is bytes to the highlighters.
        lines.ReplaceText(index, static_cast<size_t>(pos), static_cast<size_t>(removed), OpenFragment(rng));
        break;
    }
    }
}

TEST(PaintScan, PaintsFromKeptStatesShowWhatAScanFromTheLineStartShows)
{
    for (const TResuming& language : Resuming()) {
        for (unsigned seed = 1; seed <= 3; ++seed) {
            SCOPED_TRACE(language.name + " seed " + std::to_string(seed));
            Rng rng(seed * 104729u);
            auto hl = language.make();
            TmwCustomEditModel model;
            model.SetHighLighter(hl.get());
            model.SetTabWidth(Pick(rng, 1, 8));
            const size_t length = static_cast<size_t>(Pick(rng, 5, 6)) * TmwPaintStates::kInterval;
            model.Lines().SetTextStr("<p>\r\n" + PaintedLine(rng, length, true) + "\r\n/* x\r\nend");
            TmwPaintLine shown;
            int view = Pick(rng, static_cast<int>(2 * TmwPaintStates::kInterval), static_cast<int>(length));
            int far = 0; // paints of a view two intervals or more along the line
            int fromKept = 0;
            for (int step = 0; step < 80; ++step) {
                SCOPED_TRACE("step " + std::to_string(step));
                const int index = LongestLine(model.Lines());
                if (Pick(rng, 0, 2) == 0) {
                    ChangePage(rng, model, index, view);
                    continue;
                }
                const auto cells = static_cast<int>(ScanFromStart(model, index).cells);
                const auto [first, last] = PickView(rng, cells, view);
                view = first;
                TmwPaintScan(model, model.PaintStates()).Scan(index, first, last, shown);
                ExpectPaintLikeScanFromStart(model, index, first, last, shown);
                if (::testing::Test::HasFatalFailure())
                    return;
                if (first > static_cast<int>(2 * TmwPaintStates::kInterval)) {
                    ++far;
                    fromKept += shown.From > 0;
                }
            }
            EXPECT_GE(far, 5);
            EXPECT_GE(2 * fromKept, far) << "paints far along the line that began at a kept state";
        }
    }
}

// The model keeps states along the long line it scanned; a paint far along
// the line starts at one before any paint kept its own, where the line
// holds no tab before it: the model scanned the line with its tabs.
TEST(PaintScan, TheModelsKeptStatesStartAPaintWhereNoTabComesBefore)
{
    for (const TResuming& language : Resuming()) {
        SCOPED_TRACE(language.name);
        Rng rng(7);
        auto hl = language.make();
        TmwCustomEditModel model;
        model.SetHighLighter(hl.get());
        const std::string line = PaintedLine(rng, 3 * TmwLineCheckpoints::kInterval, false);
        const struct {
            const char* name;
            std::string line;
            bool fromModel;
        } cases[] = {
            {"no tab", line, true},
            {"a tab at the start", "\t" + line, false},
            {"a tab past the view", line + "\t", true},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            // Loaded as from a file: the lines are scanned once all are in.
            std::istringstream file("<p>\r\n" + c.line + "\r\nend");
            model.Lines().LoadFromStream(file);
            ASSERT_EQ(model.KeptStates().Line(), 1);
            TmwPaintScan scan(model, model.PaintStates());
            TmwPaintLine shown;
            const int first = static_cast<int>(2 * TmwLineCheckpoints::kInterval);
            scan.Scan(1, first, first + 80, shown);
            ExpectPaintLikeScanFromStart(model, 1, first, first + 80, shown);
            EXPECT_EQ(shown.From > 0, c.fromModel) << shown.From;
            // The view's own state now starts its repaint close to it.
            scan.Scan(1, first, first + 80, shown);
            ExpectPaintLikeScanFromStart(model, 1, first, first + 80, shown);
            EXPECT_GE(shown.From, static_cast<size_t>(first) - 2000);
        }
    }
}

// Without a highlighter a long line is read from the character holding
// the first cell in view.
TEST(PaintScan, LineWithoutHighlighterIsReadWhereTheViewIs)
{
    Rng rng(3);
    TmwCustomEditModel model;
    model.SetTabWidth(4);
    model.Lines().SetTextStr(PaintedLine(rng, 40000, true));
    const std::string painted = ConvertTabs(model.Lines().Get(0), 4);
    TmwPaintScan scan(model, model.PaintStates());
    TmwPaintLine shown;
    for (int round = 0; round < 200; ++round) {
        const auto [first, last] = PickView(rng, 45000, 1);
        scan.Scan(0, first, last, shown);
        ASSERT_EQ(shown.Tokens.size(), 1u);
        const TmwPaintToken& text = shown.Tokens[0];
        EXPECT_EQ(text.Attribute, nullptr);
        // The painted line from where the text starts: it holds the first
        // cell in view, and the text covers the view or reaches the line's end.
        std::size_t at = 0;
        int cell = 1;
        while (at < painted.size() && cell < text.Column) {
            std::size_t length = 0;
            cell += vx::utf8::CellsAt(painted, at, &length);
            at += length;
        }
        ASSERT_EQ(cell, text.Column) << "a character's cell";
        ASSERT_LE(text.Column, first);
        ASSERT_EQ(painted.compare(at, text.Text.size(), text.Text), 0);
        ASSERT_TRUE(text.Column + text.Cells > last || at + text.Text.size() == painted.size());
    }
}

TEST(PaintStates, KeptStatesFollowEditsLinesAndWhatTheyWereScannedWith)
{
    using TKey = TmwPaintStates::TKey;
    const TKey key{0, 8, nullptr, 10};
    const auto state = [](std::size_t pos) { return TmwPaintStates::TState{pos, pos, "", TmwScanPoint{}}; };
    const auto nearest = [&](TmwPaintStates& states, int index, std::size_t cell, const TKey& k) {
        const TmwPaintStates::TState* s = states.Nearest(index, k, cell);
        return s ? static_cast<int>(s->Pos) : -1;
    };
    TmwPaintStates states;
    for (std::size_t pos : {100, 200, 300})
        states.Keep(5, key, state(pos));
    const struct {
        std::size_t cell;
        int expected;
    } lookups[] = {{99, -1}, {100, 100}, {250, 200}, {5000, 300}};
    for (const auto& l : lookups)
        EXPECT_EQ(nearest(states, 5, l.cell, key), l.expected) << l.cell;

    // A state goes when an edit comes within the highlighter's reach of it.
    states.Edited(5, 210);
    EXPECT_EQ(nearest(states, 5, 5000, key), 200);
    states.Edited(5, 209);
    EXPECT_EQ(nearest(states, 5, 5000, key), 100);

    // The anchor stands beside the others, one a line.
    states.Keep(5, key, state(150), true);
    states.Keep(5, key, state(160), true);
    EXPECT_EQ(nearest(states, 5, 5000, key), 160);
    EXPECT_EQ(nearest(states, 5, 155, key), 100);

    states.LineInserted(5);
    EXPECT_EQ(nearest(states, 5, 5000, key), -1);
    EXPECT_EQ(nearest(states, 6, 5000, key), 160);
    states.LineDeleted(2);
    EXPECT_EQ(nearest(states, 5, 5000, key), 160);
    states.LineDeleted(5);
    EXPECT_EQ(nearest(states, 5, 5000, key), -1);

    // Another start state or tab width: the line's states do not hold.
    for (TKey other : {TKey{1, 8, nullptr, 10}, TKey{0, 4, nullptr, 10}}) {
        states.Keep(1, key, state(100));
        EXPECT_EQ(nearest(states, 1, 5000, other), -1);
        EXPECT_EQ(nearest(states, 1, 5000, key), -1);
    }

    // The lines painted last keep theirs.
    for (int line = 0; line < 100; ++line)
        states.Keep(line, key, state(100));
    EXPECT_EQ(nearest(states, 0, 5000, key), -1);
    EXPECT_EQ(nearest(states, 99, 5000, key), 100);
}

} // namespace

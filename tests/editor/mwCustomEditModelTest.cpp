#include "editor/mwCustomEditModel.h"
#include "tests/editor/support/BraceHighlighter.h"
#include "tests/editor/support/FakeEditWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

struct Editor {
    explicit Editor(const std::string& text = "") : model(&window, &window) { model.SetText(text); }
    TFakeEditWindow window;
    TmwCustomEditModel model;
};

std::vector<int> MarkLines(TmwCustomEditModel& m)
{
    std::vector<int> lines;
    for (int i = 0; i < m.Marks().Count(); ++i)
        lines.push_back(m.Marks().Items(i)->Line());
    return lines;
}

void Select(TmwCustomEditModel& m, TSelectionMode mode, TPoint from, TPoint to)
{
    m.SetSelectionMode(mode);
    m.SetCaretXY(to);
    m.SetBlockBegin(from);
    m.SetBlockEnd(to);
}

} // namespace

TEST(TmwCustomEditModel, StartsWithTheDocumentedDefaults)
{
    TmwCustomEditModel m;
    EXPECT_EQ(m.LineCount(), 1);
    EXPECT_EQ(m.Options(), 963);
    EXPECT_EQ(m.MaxUndo(), 1024);
    EXPECT_EQ(m.RedoList().MaxUndo(), 1024);
    EXPECT_EQ(m.TabWidth(), 8);
    EXPECT_EQ(m.RightEdge(), 80);
    EXPECT_EQ(m.RightEdgeColor(), clSilver);
    EXPECT_EQ(m.MaxLeftChar(), 1024);
    EXPECT_TRUE(m.InsertMode());
    EXPECT_EQ(m.InsertCaret(), ctVerticalLine);
    EXPECT_EQ(m.OverwriteCaret(), ctBlock);
    EXPECT_EQ(m.SelectionMode(), smNormal);
    EXPECT_EQ(m.ScrollBars(), ssBoth);
    EXPECT_FALSE(m.WantTabs());
    EXPECT_EQ(m.CaretXY(), Point(1, 1));
}

TEST(TmwCustomEditModel, CaretIsClampedToTheLineOrToMaxLeftChar)
{
    Editor e("0123456789\r\nxy");
    TmwCustomEditModel& m = e.model;
    m.SetOptions(m.Options() & ~mweoScrollPastEol);
    m.SetCaretXY(Point(100, 1));
    EXPECT_EQ(m.CaretXY(), Point(11, 1));
    m.SetCaretXY(Point(100, 9));
    EXPECT_EQ(m.CaretXY(), Point(3, 2)) << "line clamped to the last, column to its end";
    m.SetOptions(m.Options() | mweoScrollPastEol);
    m.SetCaretXY(Point(100, 1));
    EXPECT_EQ(m.CaretX(), 100);
    m.SetCaretXY(Point(5000, 1));
    EXPECT_EQ(m.CaretX(), 1025);
    m.SetCaretXY(Point(-4, -4));
    EXPECT_EQ(m.CaretXY(), Point(1, 1));

    m.SetCaretXY(Point(8, 1));
    m.SetOptions(m.Options() & ~mweoScrollPastEol);
    EXPECT_EQ(m.CaretX(), 8) << "inside the line it stays";
    m.SetOptions(m.Options() | mweoScrollPastEol);
    m.SetCaretXY(Point(30, 2));
    m.SetOptions(m.Options() & ~mweoScrollPastEol);
    EXPECT_EQ(m.CaretX(), 3) << "switching the option off pulls the caret to the line end";
}

TEST(TmwCustomEditModel, CaretMovesReportStatusOnceAndSelectionChangeEachTime)
{
    Editor e("abc\r\ndef");
    TmwCustomEditModel& m = e.model;
    std::vector<TmwStatusChanges> status;
    int selectionChanges = 0;
    m.OnStatusChange = [&](TmwCustomEditModel*, TmwStatusChanges c) { status.push_back(c); };
    m.OnSelectionChange = [&](TmwCustomEditModel*) { ++selectionChanges; };
    m.StatusChanged(0);
    status.clear();
    m.SetCaretXY(Point(2, 2));
    EXPECT_EQ(status, std::vector<TmwStatusChanges>{mwscCaretX | mwscCaretY});
    EXPECT_EQ(selectionChanges, 1);
    m.SetCaretXY(Point(2, 2));
    EXPECT_EQ(selectionChanges, 1) << "no move, no event";

    status.clear();
    m.IncPaintLock();
    m.SetCaretXY(Point(1, 1));
    m.SetInsertMode(false);
    EXPECT_TRUE(status.empty()) << "held back under the paint lock";
    m.DecPaintLock();
    EXPECT_EQ(status, std::vector<TmwStatusChanges>{mwscCaretX | mwscCaretY | mwscInsertMode});
    EXPECT_GT(e.window.caretUpdates, 0);
}

TEST(TmwCustomEditModel, ViewFollowsTheCaret)
{
    Editor e;
    TmwCustomEditModel& m = e.model;
    std::string text;
    for (int i = 1; i <= 100; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    m.SetText(text);
    m.SetCaretXY(Point(1, 30));
    EXPECT_EQ(m.TopLine(), 30 - 24) << "scrolled just enough to show the caret";
    m.SetCaretXY(Point(1, 3));
    EXPECT_EQ(m.TopLine(), 3);
    m.SetCaretXY(Point(200, 3));
    EXPECT_EQ(m.LeftChar(), 200 - 80 + 1);
    m.SetCaretXY(Point(5, 3));
    EXPECT_EQ(m.LeftChar(), 5);

    m.SetTopLine(500);
    EXPECT_EQ(m.TopLine(), 100) << "at most the line count";
    m.SetTopLine(-3);
    EXPECT_EQ(m.TopLine(), 1);
    m.SetLeftChar(5000);
    EXPECT_EQ(m.LeftChar(), 1024 - 80 + 1);

    e.window.scrolled.clear();
    m.SetTopLine(4);
    EXPECT_EQ(e.window.scrolled, std::vector<int>{-3 * TFakeEditWindow::LineH}) << "a short move scrolls";
}

TEST(TmwCustomEditModel, SelAvailDependsOnTheMode)
{
    Editor e("abc\r\ndef");
    TmwCustomEditModel& m = e.model;
    m.SetBlockBegin(Point(2, 1));
    m.SetBlockEnd(Point(2, 2));
    EXPECT_TRUE(m.SelAvail());
    m.SetSelectionMode(smColumn);
    EXPECT_FALSE(m.SelAvail()) << "a column block without width";
    m.SetSelectionMode(smLine);
    EXPECT_TRUE(m.SelAvail());
    EXPECT_EQ(m.BlockBegin(), Point(2, 1));

    m.SetBlockBegin(Point(3, 2));
    m.SetBlockEnd(Point(1, 1));
    EXPECT_EQ(m.BlockBegin(), Point(1, 1)) << "ordered line first, then column";
    EXPECT_EQ(m.BlockEnd(), Point(3, 2));
    EXPECT_EQ(m.RawBlockBegin(), Point(3, 2));

    m.SetSelectionMode(smNormal);
    m.SetBlockBegin(Point(40, 1));
    EXPECT_EQ(m.RawBlockBegin(), Point(4, 1)) << "in normal mode the anchor stays within the line";
    m.SetOptions(m.Options() | mweoNoSelection);
    m.SetBlockEnd(Point(1, 2));
    EXPECT_FALSE(m.SelAvail());
}

TEST(TmwCustomEditModel, SelectedTextInTheThreeModes)
{
    Editor e("abcdef\r\nxy\r\n0123456");
    TmwCustomEditModel& m = e.model;
    Select(m, smNormal, Point(3, 1), Point(2, 3));
    EXPECT_EQ(m.GetSelText(), "cdef\r\nxy\r\n0");
    Select(m, smNormal, Point(5, 1), Point(2, 1));
    EXPECT_EQ(m.GetSelText(), "bcd");
    Select(m, smColumn, Point(5, 3), Point(2, 1));
    EXPECT_EQ(m.GetSelText(), "bcd\r\ny  \r\n123") << "short lines padded to the block width";
    Select(m, smLine, Point(4, 2), Point(1, 1));
    EXPECT_EQ(m.GetSelText(), "abcdef\r\nxy\r\n");
    Select(m, smLine, Point(4, 2), Point(1, 3));
    EXPECT_EQ(m.GetSelText(), "xy\r\n0123456") << "no line break after the last line of the text";
    m.SetBlockBegin(Point(2, 2));
    EXPECT_EQ(m.GetSelText(), "");

    m.SelectAll();
    m.SetSelectionMode(smNormal);
    EXPECT_EQ(m.GetSelText(), "abcdef\r\nxy\r\n0123456");
    EXPECT_EQ(m.CaretXY(), Point(8, 3));
}

TEST(TmwCustomEditModel, NormalInsertionSplitsAtEveryLineBreak)
{
    Editor e("xy");
    TmwCustomEditModel& m = e.model;
    m.SetCaretXY(Point(2, 1));
    m.SetSelTextPrimitive("a\r\nb");
    EXPECT_EQ(m.GetText(), "xa\r\nby\r\n");
    EXPECT_EQ(m.CaretXY(), Point(2, 2));

    m.SetCaretXY(Point(5, 2));
    m.SetSelTextPrimitive("z");
    EXPECT_EQ(m.Lines()[1], "by  z") << "padded up to the caret";
    m.SetCaretXY(Point(1, 1));
    m.SetSelTextPrimitive("1\n2\r3\r\n");
    EXPECT_EQ(m.GetText(), "1\r\n2\r\n3\r\nxa\r\nby  z\r\n");
    EXPECT_EQ(m.CaretXY(), Point(1, 4));
    EXPECT_FALSE(m.SelAvail()) << "the selection collapses to the caret after a change";
}

TEST(TmwCustomEditModel, ColumnInsertionGoesDownFromTheCaretAndAppendsPastTheEnd)
{
    Editor e("abc\r\nd");
    TmwCustomEditModel& m = e.model;
    m.SetCaretXY(Point(3, 1));
    int tag = -1;
    m.SetSelTextPrimitiveEx(smColumn, "12\r\n34\r\n5", &tag);
    EXPECT_EQ(m.GetText(), "ab12c\r\nd 34\r\n  5\r\n");
    EXPECT_EQ(tag, 1);
    EXPECT_EQ(m.CaretXY(), Point(4, 3));
}

TEST(TmwCustomEditModel, LineInsertionPutsLinesAboveTheCaretLine)
{
    Editor e("one\r\ntwo");
    TmwCustomEditModel& m = e.model;
    m.SetCaretXY(Point(3, 2));
    m.SetSelTextPrimitiveEx(smLine, "A\r\nB\r\n", nullptr);
    EXPECT_EQ(m.GetText(), "one\r\nA\r\nB\r\ntwo\r\n");
    EXPECT_EQ(m.CaretXY(), Point(1, 4));
    m.SetSelTextPrimitiveEx(smLine, "C\r\nD", nullptr);
    EXPECT_EQ(m.GetText(), "one\r\nA\r\nB\r\nC\r\nDtwo\r\n");
    EXPECT_EQ(m.CaretXY(), Point(2, 5));
}

TEST(TmwCustomEditModel, DeletingASelectionInEachMode)
{
    Editor e("abcdef\r\nxy  z\r\n0123456\r\nlast");
    TmwCustomEditModel& m = e.model;
    Select(m, smColumn, Point(2, 1), Point(4, 3));
    m.SetSelTextPrimitive("");
    EXPECT_EQ(m.GetText(), "adef\r\nx z\r\n03456\r\nlast\r\n");
    EXPECT_EQ(m.CaretXY(), Point(2, 3)) << "left column, on the line of the stored block end";

    Select(m, smNormal, Point(3, 1), Point(2, 3));
    m.SetSelTextPrimitive("");
    EXPECT_EQ(m.GetText(), "ad3456\r\nlast\r\n");
    EXPECT_EQ(m.CaretXY(), Point(3, 1));

    Select(m, smLine, Point(3, 1), Point(2, 2));
    m.SetSelTextPrimitive("");
    EXPECT_EQ(m.GetText(), "\r\n") << "a line block ending on the last line leaves that line empty";
    EXPECT_EQ(m.CaretXY(), Point(1, 1));
}

TEST(TmwCustomEditModel, MarksFollowTheLinesTheyStandOn)
{
    Editor e("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7");
    TmwCustomEditModel& m = e.model;
    for (int line : {1, 2, 3, 4, 5, 7})
        m.SetBookMark(line - 1, 1, line);
    Select(m, smNormal, Point(1, 2), Point(1, 4));
    m.SetSelTextPrimitive("");
    EXPECT_EQ(MarkLines(m), (std::vector<int>{1, 2, 2, 2, 3, 5}))
        << "marks inside the deleted lines go to its first line, later ones move up";

    Editor f("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7");
    TmwCustomEditModel& n = f.model;
    for (int line : {1, 2, 3, 4, 5, 7})
        n.SetBookMark(line - 1, 1, line);
    Select(n, smLine, Point(1, 2), Point(1, 4));
    n.SetSelTextPrimitive("");
    EXPECT_EQ(n.GetText(), "1\r\n5\r\n6\r\n7\r\n");
    EXPECT_EQ(MarkLines(n), (std::vector<int>{1, 2, 2, 2, 2, 4})) << "moved by the three lines removed";

    Select(n, smLine, Point(1, 3), Point(1, 4));
    n.SetSelTextPrimitive("");
    EXPECT_EQ(n.GetText(), "1\r\n5\r\n\r\n");
    EXPECT_EQ(MarkLines(n), (std::vector<int>{1, 2, 2, 2, 2, 3}))
        << "only one line was removed when the block ended on the last line";

    n.SetCaretXY(Point(1, 2));
    n.SetSelTextPrimitive("a\r\nb\r\n");
    EXPECT_EQ(MarkLines(n), (std::vector<int>{1, 4, 4, 4, 4, 5})) << "insertion moves marks from its line on";
    n.SetCaretXY(Point(1, 1));
    n.SetSelTextPrimitiveEx(smColumn, "x\r\ny", nullptr);
    EXPECT_EQ(MarkLines(n), (std::vector<int>{1, 4, 4, 4, 4, 5})) << "a column block inserts no lines";
}

TEST(TmwCustomEditModel, Bookmarks)
{
    Editor e("a\r\nbb\r\nccc");
    TmwCustomEditModel& m = e.model;
    m.SetBookMark(3, 2, 2);
    int x = 0, y = 0;
    ASSERT_TRUE(m.GetBookMark(3, x, y));
    EXPECT_EQ(Point(x, y), Point(2, 2));
    TMark* mark = m.Marks().Items(0);
    EXPECT_EQ(mark->BookmarkNumber(), 3);
    EXPECT_EQ(mark->ImageIndex(), 3);
    EXPECT_TRUE(mark->Visible());
    EXPECT_TRUE(mark->InternalImage());
    EXPECT_EQ(mark->Edit(), &m);

    m.SetBookMark(5, 1, 2);
    EXPECT_FALSE(m.IsBookmark(3)) << "one bookmark per line";
    EXPECT_EQ(m.Marks().Count(), 1);
    m.SetBookMark(5, 3, 3);
    EXPECT_EQ(m.Marks().Count(), 1) << "setting a slot again moves it";
    m.GotoBookMark(5);
    EXPECT_EQ(m.CaretXY(), Point(3, 3));

    m.SetBookMark(10, 1, 1);
    m.SetBookMark(1, 1, 4);
    m.SetBookMark(1, 1, 0);
    EXPECT_EQ(m.Marks().Count(), 1) << "slot and line out of range are ignored";

    m.OnPlaceBookmark = [](TmwCustomEditModel*, std::unique_ptr<TMark>& mk) { mk.reset(); };
    m.SetBookMark(2, 1, 1);
    EXPECT_FALSE(m.IsBookmark(2)) << "the event may refuse the mark";
    m.OnPlaceBookmark = [](TmwCustomEditModel*, std::unique_ptr<TMark>& mk) { mk->SetColumn(9); };
    m.SetBookMark(2, 1, 1);
    ASSERT_TRUE(m.GetBookMark(2, x, y));
    EXPECT_EQ(x, 9);

    m.ClearBookMark(5);
    m.ClearBookMark(5);
    EXPECT_EQ(m.Marks().Count(), 1);
    m.SetCaretXY(Point(1, 2));
    m.GotoBookMark(5);
    EXPECT_EQ(m.CaretXY(), Point(1, 2)) << "a cleared bookmark goes nowhere";
}

TEST(TmwCustomEditModel, BookmarksGoWithTheirMarks)
{
    Editor e("a\r\nbb\r\nccc");
    TmwCustomEditModel& m = e.model;
    m.SetBookMark(1, 1, 1);
    m.SetBookMark(2, 2, 3);
    m.Marks().Remove(m.Marks().Items(0));
    EXPECT_FALSE(m.IsBookmark(1)) << "a mark taken from the list takes its bookmark";
    int x = 0, y = 0;
    EXPECT_FALSE(m.GetBookMark(1, x, y));
    m.SetCaretXY(Point(2, 2));
    m.GotoBookMark(1);
    EXPECT_EQ(m.CaretXY(), Point(2, 2));
    m.SetBookMark(1, 1, 2);
    EXPECT_EQ(m.Marks().Count(), 2);
    m.Marks().Clear();
    for (int n : {1, 2})
        EXPECT_FALSE(m.IsBookmark(n)) << n;
    m.ClearBookMark(2);
    m.SetBookMark(2, 1, 1);
    EXPECT_TRUE(m.GetBookMark(2, x, y));
    EXPECT_EQ(Point(x, y), Point(1, 1));
}

TEST(TmwCustomEditModel, LinesAssignedWithoutAWindowAreKept)
{
    TmwCustomEditModel m;
    TStringList source;
    source.Add("hidden");
    source.Add("text");
    m.SetLines(source);
    EXPECT_EQ(m.GetText(), "hidden\r\ntext\r\n");
    TFakeEditWindow w;
    w.exists = false;
    TmwCustomEditModel n(&w, &w);
    n.SetLines(source);
    EXPECT_EQ(n.LineCount(), 2);
}

TEST(TmwCustomEditModel, WholeTextReplacementsClearUndoAndRedo)
{
    Editor e("abc");
    TmwCustomEditModel& m = e.model;
    auto edit = [&] {
        m.SetCaretXY(Point(1, 1));
        m.SetSelText("x");
        m.SetSelText("y");
        m.Undo();
        ASSERT_TRUE(m.CanUndo());
        ASSERT_TRUE(m.CanRedo());
    };
    edit();
    m.SetText("");
    EXPECT_EQ(m.LineCount(), 1);
    EXPECT_FALSE(m.CanUndo() || m.CanRedo());
    edit();
    TStringList other;
    other.Add("o");
    m.SetLines(other);
    EXPECT_FALSE(m.CanUndo() || m.CanRedo());
    edit();
    m.Lines().Clear();
    EXPECT_FALSE(m.CanUndo() || m.CanRedo());
    EXPECT_EQ(m.CaretXY(), Point(1, 1));
    edit();
    std::istringstream in("loaded\r\n");
    m.Lines().LoadFromStream(in);
    EXPECT_FALSE(m.CanUndo() || m.CanRedo());
    EXPECT_EQ(m.GetText(), "loaded\r\n");
}

TEST(TmwCustomEditModel, GutterClicksFindTheMarkUnderThePointer)
{
    Editor e("a\r\nb\r\nc");
    TmwCustomEditModel& m = e.model;
    m.SetBookMark(1, 1, 2);
    auto plain = std::make_unique<TMark>(&m);
    plain->SetLine(2);
    TMark* second = m.Marks().Add(std::move(plain));
    std::vector<std::pair<int, TMark*>> clicks;
    m.DoOnGutterClick(5, 0);
    m.OnGutterClick = [&](TmwCustomEditModel*, int, int, int line, TMark* mark) { clicks.push_back({line, mark}); };
    const int row2 = TFakeEditWindow::LineH + 3;
    m.DoOnGutterClick(5, row2);
    m.DoOnGutterClick(12, row2);
    m.DoOnGutterClick(30, row2);
    m.DoOnGutterClick(5, 0);
    m.DoOnGutterClick(5, 10 * TFakeEditWindow::LineH);
    ASSERT_EQ(clicks.size(), 4u) << "no event below the last line";
    EXPECT_EQ(clicks[0], std::make_pair(2, m.Marks().Items(0)));
    EXPECT_EQ(clicks[1], std::make_pair(2, second)) << "each mark takes Xoffset pixels";
    EXPECT_EQ(clicks[2], std::make_pair(2, static_cast<TMark*>(nullptr)));
    EXPECT_EQ(clicks[3], std::make_pair(1, static_cast<TMark*>(nullptr)));
}

TEST(TmwCustomEditModel, HiddenEditorsStillReportStatus)
{
    TmwCustomEditModel m;
    std::vector<TmwStatusChanges> status;
    m.OnStatusChange = [&](TmwCustomEditModel*, TmwStatusChanges c) { status.push_back(c); };
    m.StatusChanged(0);
    status.clear();
    m.SetText("abc");
    m.SetCaretXY(Point(3, 1));
    m.SetSelText("x");
    ASSERT_FALSE(status.empty());
    EXPECT_TRUE(status.back() & mwscModified);
}

TEST(TmwCustomEditModel, SettingsClampAndRepaint)
{
    Editor e("abc");
    TmwCustomEditModel& m = e.model;
    m.SetTabWidth(300);
    EXPECT_EQ(m.TabWidth(), 256);
    m.SetTabWidth(-5);
    EXPECT_EQ(m.TabWidth(), 0);
    e.window.invalidated.clear();
    m.SetRightEdge(80);
    EXPECT_TRUE(e.window.invalidated.empty()) << "an unchanged value repaints nothing";
    m.SetRightEdge(40);
    EXPECT_FALSE(e.window.invalidated.empty());
    e.window.invalidated.clear();
    m.SetColor(clWhite);
    EXPECT_EQ(m.Color(), clWhite);
    EXPECT_FALSE(e.window.invalidated.empty());
    m.SetBorderStyle(bsNone);
    m.SetScrollBars(ssNone);
    EXPECT_EQ(e.window.styleChanges, 2);
    m.SetMaxUndo(-1);
    EXPECT_EQ(m.MaxUndo(), 1024);
    EXPECT_EQ(m.LeftSpaces("  \tx"), 3);
    m.SetOptions(m.Options() & ~mweoAutoIndent);
    EXPECT_EQ(m.LeftSpaces("  \tx"), 0);
    int recreated = e.window.caretRecreations;
    m.SetExtraLineSpacing(4);
    EXPECT_EQ(m.LineHeight(), TFakeEditWindow::LineH + 4);
    EXPECT_EQ(m.LinesInWindow(), 25 * 16 / 20);
    EXPECT_GT(e.window.caretRecreations, recreated);
}

// --- highlighter states

namespace {

struct Highlighted : Editor {
    explicit Highlighted(const std::string& text) : Editor(text) { model.SetHighLighter(&hl); }
    ~Highlighted() { model.SetHighLighter(nullptr); }

    std::vector<int32_t> Ranges()
    {
        std::vector<int32_t> r;
        for (int i = 0; i < model.LineCount(); ++i)
            r.push_back(model.Lines().Range(i));
        return r;
    }
    // The states a full scan from scratch gives.
    std::vector<int32_t> Expected()
    {
        std::vector<int32_t> r;
        hl.ResetRange();
        for (int i = 0; i < model.LineCount(); ++i) {
            r.push_back(hl.GetRange());
            hl.SetLine(model.Lines()[i], i);
            hl.NextToEol();
        }
        return r;
    }
    void Reset()
    {
        hl.scanned.clear();
        window.invalidated.clear();
    }

    TBraceHighlighter hl;
};

} // namespace

TEST(TmwCustomEditModel, AssigningAHighlighterScansEveryLine)
{
    Highlighted h("a\r\n{b\r\nc\r\nd}\r\ne");
    EXPECT_EQ(h.Ranges(), (std::vector<int32_t>{0, 0, 1, 1, 0}));
    EXPECT_EQ(h.hl.scanned, (std::vector<int>{0, 1, 2, 3})) << "the last line's end state is never stored";

}

TEST(TmwCustomEditModel, ADestroyedHighlighterLeavesEveryEditorUsingIt)
{
    Editor first("a\r\n{b");
    Editor second("c");
    auto hl = std::make_unique<TBraceHighlighter>();
    first.model.SetHighLighter(hl.get());
    second.model.SetHighLighter(hl.get());
    first.window.invalidated.clear();
    hl.reset();
    for (Editor* e : {&first, &second})
        EXPECT_EQ(e->model.HighLighter(), nullptr) << "a dying highlighter is dropped";
    EXPECT_FALSE(first.window.invalidated.empty()) << "and the text repainted";
    // Editing and painting paths run without it (the sanitizers catch a freed one).
    first.model.Lines().Put(0, "{");
    first.model.SetHighLighter(nullptr);
    EXPECT_EQ(first.model.GetText(), "{\r\n{b\r\n");

    // An editor that let go of a highlighter is no longer told of its end.
    Editor third("x");
    auto other = std::make_unique<TBraceHighlighter>();
    TBraceHighlighter kept;
    third.model.SetHighLighter(other.get());
    third.model.SetHighLighter(&kept);
    other.reset();
    EXPECT_EQ(third.model.HighLighter(), &kept);
    third.model.SetHighLighter(nullptr);
}

TEST(TmwCustomEditModel, ChangingALineRescansOnlyWhileStatesDiffer)
{
    Highlighted h("a\r\nb\r\nc\r\nd\r\ne}\r\nf\r\ng");
    h.Reset();
    h.model.Lines().Put(2, "cc");
    EXPECT_EQ(h.hl.scanned, std::vector<int>{2}) << "end state unchanged: only that line";
    EXPECT_EQ(h.window.InvalidatedRows(h.model.GutterWidth()), std::vector<int>{3});

    h.Reset();
    h.model.Lines().Put(1, "{b");
    EXPECT_EQ(h.hl.scanned, (std::vector<int>{1, 2, 3, 4})) << "rescanned down to the line that closes the comment";
    std::vector<int> rows = h.window.InvalidatedRows(h.model.GutterWidth());
    EXPECT_EQ(rows, (std::vector<int>{2, 3, 4, 5})) << "up to the first line whose stored state already matched";
    EXPECT_EQ(h.Ranges(), h.Expected());

    h.Reset();
    h.model.Lines().Put(6, "{g");
    EXPECT_EQ(h.hl.scanned, std::vector<int>{}) << "changing the last line never scans past it";
}

TEST(TmwCustomEditModel, InsertedAndDeletedLinesKeepStatesRight)
{
    Highlighted h("a\r\nb\r\nc");
    h.model.Lines().Insert(1, "{x");
    EXPECT_EQ(h.Ranges(), h.Expected()) << "a new line whose stored 0 equals its computed start is still scanned";
    h.model.Lines().Insert(0, "{");
    EXPECT_EQ(h.Ranges(), h.Expected());
    h.model.Lines().Delete(0);
    EXPECT_EQ(h.Ranges(), h.Expected());
    h.model.Lines().Add("}");
    h.model.Lines().Add("y");
    EXPECT_EQ(h.Ranges(), h.Expected());
    h.model.SetCaretXY(Point(2, 1));
    h.model.SetSelTextPrimitive("{\r\n\r\n");
    EXPECT_EQ(h.Ranges(), h.Expected());
    h.model.Lines().Delete(h.model.LineCount() - 1);
    EXPECT_EQ(h.Ranges(), h.Expected());
}

TEST(TmwCustomEditModel, WithoutAHighlighterStatesAreLeftAlone)
{
    Editor e("a\r\nb");
    e.model.Lines().SetRange(1, 77);
    e.window.invalidated.clear();
    e.model.Lines().Put(0, "{");
    EXPECT_EQ(e.model.Lines().Range(1), 77);
    EXPECT_EQ(e.window.InvalidatedRows(e.model.GutterWidth()), std::vector<int>{1});
}

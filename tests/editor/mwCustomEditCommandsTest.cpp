#include "editor/mwCustomEditModel.h"
#include "tests/editor/support/FakeClipboard.h"
#include "tests/editor/support/FakeEditWindow.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr uint16_t VK_BACK = 0x08, VK_RETURN = 0x0D, VK_LEFT = 0x25, VK_RIGHT = 0x27;

struct Editor {
    explicit Editor(const std::string& text) : model(&window, &window)
    {
        model.SetText(text);
        model.SetClipboard(&clipboard);
    }
    void Run(TmwEditorCommand command, char c = '\0', void* data = nullptr) { model.CommandProcessor(command, c, data); }
    void Type(const std::string& text)
    {
        for (char c : text)
            Run(ecChar, c);
    }
    void Key(uint16_t key, TShiftState shift = 0, char typed = '\0')
    {
        model.KeyDown(key, shift);
        if (typed)
            model.KeyPress(typed);
    }
    void Caret(int x, int y)
    {
        model.SetCaretXY(Point(x, y));
        model.SetBlockBegin(model.CaretXY());
    }
    std::string Line(int y) { return model.Lines()[y - 1]; }
    TFakeEditWindow window;
    TFakeClipboard clipboard;
    TmwCustomEditModel model;
};

} // namespace

TEST(TmwEditCommands, EnterGivesOneLineBreakAndCtrlMTheSame)
{
    Editor e("abcd");
    e.Caret(3, 1);
    e.Key(VK_RETURN, 0, '\r');
    EXPECT_EQ(e.model.GetText(), "ab\r\ncd\r\n") << "the character after the bound key is swallowed";
    e.Key('M', ssCtrl, '\r');
    EXPECT_EQ(e.model.LineCount(), 3);
    e.Key('A', 0, 'a');
    EXPECT_EQ(e.Line(3), "acd") << "an unbound key types its character";
}

TEST(TmwEditCommands, ChordsNeedAnUnboundFirstStroke)
{
    Editor e("x(a)");
    TmwKeyStroke& chord = e.model.Keystrokes().Add();
    chord.SetKey('Q', ssCtrl);
    chord.SetKey2('M', 0);
    chord.SetCommand(ecMatchBracket);
    e.Caret(2, 1);
    e.Key('Q', ssCtrl);
    e.Key('M', 0, 'm');
    EXPECT_EQ(e.model.CaretX(), 4) << "Ctrl+Q M ran the chord and typed nothing";
    EXPECT_EQ(e.Line(1), "x(a)");

    e.Caret(2, 1);
    e.Key('Q', ssCtrl);
    e.Key(0x10, ssShift); // the Shift key itself lies outside the chord range
    e.Key('M', 0, 'm');
    EXPECT_EQ(e.Line(1), "xm(a)") << "the pending chord was cleared";

    e.Caret(3, 1);
    e.Key('Q', ssCtrl);
    e.Key(0x87, 0); // F24 is inside the range and unbound: it becomes the first stroke
    e.Key('M', 0, 'm');
    EXPECT_EQ(e.Line(1), "xmm(a)");

    TmwKeyStroke& shadowed = e.model.Keystrokes().Add();
    shadowed.SetKey('Y', ssCtrl);
    shadowed.SetKey2('M', 0);
    shadowed.SetCommand(ecMatchBracket);
    e.Caret(1, 1);
    e.Key('Y', ssCtrl);
    EXPECT_EQ(e.Line(1), "") << "the single-stroke Ctrl+Y wins over the chord";
}

TEST(TmwEditCommands, KeyEventsCanBeChangedOrCancelled)
{
    Editor e("abc");
    e.model.OnKeyDown = [](TmwCustomEditModel*, uint16_t& key, TShiftState) {
        if (key == VK_BACK)
            key = 0;
    };
    e.model.OnKeyPress = [](TmwCustomEditModel*, char& c) { c = static_cast<char>(std::toupper(c)); };
    e.Caret(4, 1);
    e.Key(VK_BACK, 0, '\b');
    e.Key('D', 0, 'd');
    EXPECT_EQ(e.Line(1), "abcD");

    std::vector<TmwEditorCommand> user;
    e.model.OnProcessCommand = [](TmwCustomEditModel*, TmwEditorCommand& c, char&, void*) {
        if (c == ecDeleteLine)
            c = ecNone;
    };
    e.model.OnProcessUserCommand = [&](TmwCustomEditModel*, TmwEditorCommand& c, char&, void*) { user.push_back(c); };
    int done = 0;
    e.model.OnCommandDone = [&](TmwCustomEditModel*) { ++done; };
    e.Run(ecDeleteLine);
    e.Run(1042);
    EXPECT_EQ(e.Line(1), "abcD");
    EXPECT_EQ(user, std::vector<TmwEditorCommand>{1042});
    EXPECT_EQ(done, 0);
    e.model.SetBlockBegin(Point(1, 1));
    e.model.SetBlockEnd(Point(3, 1));
    e.Run(ecDeleteLastChar);
    EXPECT_EQ(e.Line(1), "cD");
    EXPECT_EQ(done, 0) << "Backspace over a selection reports no completion";
    e.model.SetBlockBegin(Point(1, 1));
    e.model.SetBlockEnd(Point(2, 1));
    e.Run(ecDeleteChar);
    EXPECT_EQ(e.Line(1), "D");
    EXPECT_EQ(done, 0) << "nor does Delete";
    e.Run(ecDeleteChar);
    e.Run(ecDeleteLastChar);
    EXPECT_EQ(done, 2) << "without a selection both do";
}

TEST(TmwEditCommands, TypingPadsAndNeverLeavesBlanksAtTheEnd)
{
    Editor e("ab");
    e.model.SetOptions(e.model.Options() & ~mweoScrollPastEol);
    e.Run(ecChar, '\t');
    e.Run(ecChar, '\x7f');
    EXPECT_EQ(e.Line(1), "ab") << "tab and DEL type nothing";
    e.model.SetOptions(e.model.Options() | mweoScrollPastEol);
    e.Caret(6, 1);
    e.Type("x ");
    EXPECT_EQ(e.Line(1), "ab   x");
    EXPECT_EQ(e.model.CaretX(), 8) << "the caret stays after the blank that was not stored";
    e.Type("y");
    EXPECT_EQ(e.Line(1), "ab   x y");

    e.Run(ecOverwriteMode);
    e.Caret(2, 1);
    e.Type("QRSTUVWXYZ");
    EXPECT_EQ(e.Line(1), "aQRSTUVWXYZ") << "overwriting runs on past the line end";
    for (int i = 0; i < 4; ++i)
        e.Run(ecUndo);
    EXPECT_EQ(e.Line(1), "aQRSTUVy") << "undo puts the overwritten character back";
    e.Run(ecRedo);
    EXPECT_EQ(e.Line(1), "aQRSTUVW");
}

// Typing into a long line, taking it out again by Backspace, Delete and undo,
// and putting it back by redo leave the rest of the line where it is stored:
// the chunks past the edits are not moved.
TEST(TmwEditCommands, EditsOfALongLineLeaveItsRestInPlace)
{
    const std::string tail = std::string(20000, 'L') + "end";
    Editor e("<p>" + tail + "\r\nnext line");
    e.Caret(4, 1);
    const TmwEditList& lines = e.model.Lines();
    const size_t last = lines.PieceCount(0) - 1;
    ASSERT_GT(last, 0u);
    const char* const rest = lines.Piece(0, last).data();
    auto restInPlace = [&](const std::string& head) {
        EXPECT_EQ(lines.Substr(0, 0, std::string::npos), head + tail);
        EXPECT_EQ(lines.PieceCount(0), last + 1);
        EXPECT_EQ(lines.Piece(0, last).data(), rest) << "the rest of the line was not moved";
    };
    e.Type("ab");
    restInPlace("<p>ab");
    e.Run(ecDeleteLastChar);
    restInPlace("<p>a");
    e.Run(ecUndo);
    restInPlace("<p>ab");
    e.Run(ecUndo);
    restInPlace("<p>a");
    e.Run(ecRedo);
    restInPlace("<p>ab");
    e.Run(ecOverwriteMode);
    e.Type("c");
    e.Run(ecLeft);
    e.Run(ecDeleteChar);
    EXPECT_EQ(e.model.Lines().Length(0), 5 + tail.size() - 1);
    EXPECT_EQ(e.Line(1), "<p>ab" + tail.substr(1)) << "read whole";
    EXPECT_EQ(e.Line(2), "next line");
}

TEST(TmwEditCommands, TypingOverABackwardsSelectionUndoesExactly)
{
    Editor e("one two");
    e.model.SetCaretXY(Point(2, 1));
    e.model.SetBlockBegin(Point(6, 1));
    e.model.SetBlockEnd(Point(2, 1));
    e.Type("X");
    EXPECT_EQ(e.Line(1), "oXwo");
    EXPECT_EQ(e.model.UndoList().Item(1).start, Point(2, 1));
    e.Run(ecUndo);
    EXPECT_EQ(e.Line(1), "one two");
}

TEST(TmwEditCommands, EnterKeepsTheIndent)
{
    Editor e("    abcdef");
    e.Caret(8, 1);
    e.Run(ecLineBreak);
    EXPECT_EQ(e.model.GetText(), "    abc\r\n    def\r\n");
    EXPECT_EQ(e.model.CaretXY(), Point(5, 2));
    e.Caret(20, 2);
    e.Run(ecInsertLine);
    EXPECT_EQ(e.model.LineCount(), 3);
    EXPECT_EQ(e.model.CaretXY(), Point(20, 2)) << "inserting a line leaves the caret";
}

TEST(TmwEditCommands, BackspaceUnindentsToTheLineAbove)
{
    Editor e("    a\r\n        b");
    e.Caret(9, 2);
    e.Run(ecDeleteLastChar);
    EXPECT_EQ(e.Line(2), "    b");
    EXPECT_EQ(e.model.CaretX(), 5);
    e.Run(ecUndo);
    EXPECT_EQ(e.Line(2), "        b");

    Editor f("x\r\n        b");
    f.Caret(9, 2);
    f.Run(ecDeleteLastChar);
    EXPECT_EQ(f.Line(2), "b") << "no less indented line above: the whole indent goes";

    // Recorded at the new caret with the characters that stood before it, so
    // an indent of tabs and spaces comes back as it was.
    Editor g("  a\r\n\t   b");
    g.Caret(5, 2);
    g.Run(ecDeleteLastChar);
    EXPECT_EQ(g.Line(2), "\t b");
    EXPECT_EQ(g.model.CaretX(), 3);
    ASSERT_EQ(g.model.UndoList().Count(), 1);
    EXPECT_EQ(g.model.UndoList().Item(0).start, Point(3, 2));
    EXPECT_EQ(g.model.UndoList().Item(0).end, Point(3, 2));
    EXPECT_EQ(g.model.UndoList().Item(0).text, "  ");
    g.Run(ecUndo);
    EXPECT_EQ(g.Line(2), "\t   b");
    g.Run(ecRedo);
    EXPECT_EQ(g.Line(2), "\t b");
}

TEST(TmwEditCommands, BackspaceAtLineStartJoinsLines)
{
    Editor e("ab\r\ncd");
    e.Caret(1, 2);
    e.Run(ecDeleteLastChar);
    EXPECT_EQ(e.model.GetText(), "abcd\r\n");
    EXPECT_EQ(e.model.CaretXY(), Point(3, 1));
    EXPECT_EQ(e.model.UndoList().Item(0).text, "\r\n");
    e.Run(ecUndo);
    EXPECT_EQ(e.model.GetText(), "ab\r\ncd\r\n");
    e.Caret(1, 1);
    e.Run(ecDeleteLastChar);
    EXPECT_EQ(e.model.GetText(), "ab\r\ncd\r\n") << "nothing before the first line";
    e.Caret(9, 1);
    e.Run(ecDeleteLastChar);
    EXPECT_EQ(e.model.CaretX(), 8) << "past the end only the caret moves";
}

TEST(TmwEditCommands, ForwardDeletions)
{
    Editor e("abc\r\ndef");
    e.Caret(2, 1);
    e.Run(ecDeleteChar);
    EXPECT_EQ(e.Line(1), "ac");
    e.Caret(6, 1);
    e.Run(ecDeleteChar);
    EXPECT_EQ(e.model.GetText(), "ac   def\r\n") << "padded up to the caret and joined";
    e.Run(ecUndo);
    e.Run(ecUndo);
    EXPECT_EQ(e.model.GetText(), "abc\r\ndef\r\n") << "the padding goes again";

    Editor w("alpha, beta gamma");
    w.Caret(1, 1);
    w.Run(ecDeleteWord);
    EXPECT_EQ(w.Line(1), "beta gamma") << "word characters include punctuation without a highlighter";
    w.Caret(11, 1);
    w.Run(ecDeleteLastWord);
    EXPECT_EQ(w.Line(1), "beta") << "the joined line keeps no blanks at its end";
    w.Caret(3, 1);
    w.Run(ecDeleteEOL);
    EXPECT_EQ(w.Line(1), "be");
    w.Run(ecDeleteBOL);
    EXPECT_EQ(w.Line(1), "");
    EXPECT_EQ(w.model.CaretX(), 1);
}

TEST(TmwEditCommands, DeleteLine)
{
    Editor e("");
    e.Run(ecDeleteLine);
    EXPECT_FALSE(e.model.CanUndo()) << "the only, empty line: nothing happens";
    e.model.SetText("only");
    e.Caret(3, 1);
    e.Run(ecDeleteLine);
    EXPECT_EQ(e.model.GetText(), "\r\n");
    e.model.SetText("a\r\nb\r\nc");
    e.model.SetBookMark(0, 1, 3);
    e.Caret(2, 3);
    e.Run(ecDeleteLine);
    EXPECT_EQ(e.model.GetText(), "a\r\nb\r\n");
    EXPECT_EQ(e.model.CaretXY(), Point(1, 2));
    int x = 0, y = 0;
    ASSERT_TRUE(e.model.GetBookMark(0, x, y));
    EXPECT_EQ(y, 2);
    e.Run(ecUndo);
    EXPECT_EQ(e.model.GetText(), "a\r\nb\r\nc\r\n") << "the last line comes back as the last line";
    e.Run(ecClearAll);
    EXPECT_EQ(e.model.GetText(), "\r\n");
    EXPECT_FALSE(e.model.CanUndo());
}

// Marks stand on lines of the text: a text cleared, or replaced whole, takes them along.
TEST(TmwEditCommands, ClearingTheTextTakesTheBookmarks)
{
    Editor e("1\r\n2\r\n3\r\n4\r\n5");
    e.model.SetBookMark(1, 1, 4);
    e.model.SetBookMark(2, 1, 5);
    e.Run(ecClearAll);
    EXPECT_FALSE(e.model.IsBookmark(1));
    EXPECT_FALSE(e.model.IsBookmark(2));
    EXPECT_EQ(e.model.Marks().Count(), 0);
    e.model.SetText("a\r\nb");
    e.model.SetBookMark(3, 1, 2);
    e.model.SetText("other");
    EXPECT_FALSE(e.model.IsBookmark(3));
}

TEST(TmwEditCommands, TabsInsertBlanks)
{
    Editor e("abc");
    e.model.SetOptions(e.model.Options() & ~mweoSmartTabs);
    e.Caret(2, 1);
    e.Run(ecTab);
    EXPECT_EQ(e.Line(1), "a       bc");
    e.model.SetTabWidth(0);
    e.Caret(1, 1);
    e.Run(ecTab);
    EXPECT_EQ(e.Line(1), " a       bc") << "a tab width of 0 counts as 1";
    e.Run(ecShiftTab);
    EXPECT_EQ(e.Line(1), " a       bc");
    for (bool toSpaces : {true, false}) {
        Editor t("ab");
        t.model.SetOptions(toSpaces ? mweoTabsToSpaces : 0);
        t.Caret(2, 1);
        t.Run(ecTab);
        EXPECT_EQ(t.Line(1), "a       b") << "the Tab key types blanks, never a tab character: " << toSpaces;
    }

    Editor s("if (x) then\r\nz");
    s.Caret(1, 2);
    s.Run(ecTab);
    EXPECT_EQ(s.Line(2), "   z") << "smart tab: to the next word of the line above";
    s.Run(ecTab);
    EXPECT_EQ(s.Line(2), "       z");
    s.Run(ecUndo);
    EXPECT_EQ(s.Line(2), "   z");
}

TEST(TmwEditCommands, BlockIndentAndUnindent)
{
    Editor e("a\r\nb\r\nc");
    e.model.SetTabWidth(2);
    e.model.SetBlockBegin(Point(1, 1));
    e.model.SetBlockEnd(Point(1, 3));
    e.Run(ecBlockIndent);
    EXPECT_EQ(e.model.GetText(), "  a\r\n  b\r\nc\r\n") << "a block ending in column 1 leaves its last line";
    EXPECT_EQ(e.model.BlockBegin(), Point(3, 1));
    e.Run(ecBlockUnindent);
    EXPECT_EQ(e.model.GetText(), "a\r\nb\r\nc\r\n");
    e.Run(ecUndo);
    EXPECT_EQ(e.model.GetText(), "  a\r\n  b\r\nc\r\n");
    e.Run(ecUndo);
    EXPECT_EQ(e.model.GetText(), "a\r\nb\r\nc\r\n");
    e.Run(ecRedo);
    e.Run(ecRedo);
    EXPECT_EQ(e.model.GetText(), "a\r\nb\r\nc\r\n");

    Editor c("abcd\r\nefgh");
    c.model.SetTabWidth(3);
    c.Run(ecColumnSelect);
    c.model.SetBlockBegin(Point(2, 1));
    c.model.SetBlockEnd(Point(3, 2));
    c.Run(ecBlockIndent);
    EXPECT_EQ(c.model.GetText(), "   abcd\r\n   efgh\r\n") << "whole lines move, in column mode too";
    EXPECT_EQ(c.model.SelectionMode(), smColumn);
    EXPECT_EQ(c.model.GetSelText(), "b\r\nf");
}

TEST(TmwEditCommands, Bookmarks)
{
    Editor e("a\r\nb\r\nc");
    e.Caret(1, 2);
    e.Run(ecSetMarker0 + 3);
    EXPECT_TRUE(e.model.IsBookmark(3));
    e.Run(ecSetMarker0 + 3);
    EXPECT_FALSE(e.model.IsBookmark(3)) << "the key toggles a bookmark on its own line";
    e.Run(ecSetMarker0 + 3);
    e.Caret(1, 3);
    e.Run(ecSetMarker0 + 3);
    int x = 0, y = 0;
    ASSERT_TRUE(e.model.GetBookMark(3, x, y));
    EXPECT_EQ(y, 3) << "and moves it from any other";
    e.Caret(1, 1);
    e.Run(ecGotoMarker0 + 3);
    EXPECT_EQ(e.model.CaretY(), 3);
    e.model.BookMarkOptions().SetEnableKeys(false);
    e.Run(ecSetMarker0 + 5);
    EXPECT_FALSE(e.model.IsBookmark(5));
}

TEST(TmwEditCommands, BracketMatching)
{
    Editor e("(a(b)c)");
    e.Caret(1, 1);
    e.Run(ecMatchBracket);
    EXPECT_EQ(e.model.CaretX(), 7);
    e.Run(ecMatchBracket);
    EXPECT_EQ(e.model.CaretX(), 1);
    e.Caret(8, 1);
    e.Run(ecMatchBracket);
    EXPECT_EQ(e.model.CaretX(), 8) << "after the last character nothing happens";

    Editor m("f {\r\n  [x]\r\n}");
    m.Caret(3, 1);
    m.Run(ecMatchBracket);
    EXPECT_EQ(m.model.CaretXY(), Point(1, 3)) << "across lines";
    m.Run(ecMatchBracket);
    EXPECT_EQ(m.model.CaretXY(), Point(3, 1));
    m.Caret(3, 2);
    m.Run(ecMatchBracket);
    EXPECT_EQ(m.model.CaretXY(), Point(5, 2));
    Editor u("((x)");
    u.Caret(1, 1);
    u.Run(ecMatchBracket);
    EXPECT_EQ(u.model.CaretX(), 1) << "no partner, no move";
}

TEST(TmwEditCommands, WordMovesAcrossPunctuationAndLineEnds)
{
    Editor e("foo.bar  baz\r\n  next");
    e.Caret(1, 1);
    e.Key(VK_RIGHT, ssCtrl);
    EXPECT_EQ(e.model.CaretX(), 10) << "without a highlighter punctuation is part of a word";
    e.Key(VK_RIGHT, ssCtrl);
    EXPECT_EQ(e.model.CaretX(), 13) << "the last word ends at the line end";
    e.Key(VK_RIGHT, ssCtrl);
    EXPECT_EQ(e.model.CaretXY(), Point(3, 2)) << "on to the first word of the next line";
    e.Key(VK_LEFT, ssCtrl);
    EXPECT_EQ(e.model.CaretXY(), Point(13, 1)) << "back to the end of the line above";
    e.Key(VK_LEFT, ssCtrl);
    EXPECT_EQ(e.model.CaretXY(), Point(10, 1));
    e.Key(VK_LEFT, ssCtrl | ssShift);
    EXPECT_EQ(e.model.CaretXY(), Point(1, 1));
    EXPECT_EQ(e.model.GetSelText(), "foo.bar  ");
}

TEST(TmwEditCommands, MovesAndSelections)
{
    Editor e("abc\r\nde\r\nfghij");
    e.model.SetOptions(e.model.Options() & ~mweoScrollPastEol);
    e.Caret(4, 1);
    e.Run(ecRight);
    EXPECT_EQ(e.model.CaretXY(), Point(1, 2)) << "right from the line end goes on to the next line";
    e.Run(ecLeft);
    EXPECT_EQ(e.model.CaretXY(), Point(4, 1));
    e.Run(ecSelDown);
    e.Run(ecSelLineEnd);
    EXPECT_EQ(e.model.GetSelText(), "\r\nde");
    e.Run(ecSelEditorBottom);
    EXPECT_EQ(e.model.CaretXY(), Point(6, 3));
    e.Run(ecEditorTop);
    EXPECT_FALSE(e.model.SelAvail());
    TPoint to = Point(2, 3);
    e.Run(ecSelGotoXY, '\0', &to);
    EXPECT_EQ(e.model.GetSelText(), "abc\r\nde\r\nf");
    e.Run(ecGotoXY);
    EXPECT_EQ(e.model.CaretXY(), to) << "no data, no move";
    e.Run(ecSelectAll);
    EXPECT_EQ(e.model.GetSelText(), "abc\r\nde\r\nfghij");
    e.Run(ecLineSelect);
    EXPECT_EQ(e.model.SelectionMode(), smLine);
    e.Run(ecToggleMode);
    EXPECT_FALSE(e.model.InsertMode());
}

TEST(TmwEditCommands, PagesAndScrolling)
{
    Editor e("");
    std::string text;
    for (int i = 1; i <= 100; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    e.model.SetText(text);
    e.Run(ecPageDown);
    EXPECT_EQ(e.model.CaretY(), 26);
    e.model.SetOptions(e.model.Options() | mweoHalfPageScroll);
    e.Run(ecPageDown);
    EXPECT_EQ(e.model.CaretY(), 38);
    e.Run(ecPageTop);
    EXPECT_EQ(e.model.CaretY(), e.model.TopLine());
    e.Run(ecScrollDown);
    EXPECT_EQ(e.model.CaretY(), e.model.TopLine()) << "the caret is pulled into view";
    e.Run(ecPageBottom);
    int top = e.model.TopLine();
    e.Run(ecScrollUp);
    EXPECT_EQ(e.model.TopLine(), top - 1);
    EXPECT_LE(e.model.CaretY(), e.model.TopLine() + e.model.LinesInWindow() - 1);
}

TEST(TmwEditCommands, ReadOnlyEditorsMoveAndCopyOnly)
{
    Editor e("text");
    e.model.SetReadOnly(true);
    e.model.SetBlockBegin(Point(1, 1));
    e.model.SetBlockEnd(Point(3, 1));
    e.Run(ecCopy);
    EXPECT_EQ(e.clipboard.text, "te");
    for (TmwEditorCommand c : {ecPaste, ecCut, ecDeleteChar, ecLineBreak, ecTab, ecBlockIndent})
        e.Run(c);
    e.Run(ecChar, 'x');
    e.Run(ecUndo);
    EXPECT_EQ(e.model.GetText(), "text\r\n");
    e.Run(ecLineEnd);
    EXPECT_EQ(e.model.CaretX(), 5);
}

TEST(TmwEditCommands, SelectionAsCharacterOffsets)
{
    Editor e("abc\r\nde");
    e.model.SetBlockBegin(Point(2, 2));
    EXPECT_EQ(e.model.GetSelStart(), 5 + 2);
    e.model.SetSelStart(7);
    EXPECT_EQ(e.model.CaretXY(), Point(2, 2));
    e.model.SetSelStart(1);
    e.model.SetSelEnd(6);
    EXPECT_EQ(e.model.GetSelText(), "abc\r\n");
    e.model.SetSelEnd(500);
    EXPECT_EQ(e.model.RawBlockEnd(), Point(3, 2)) << "past the end of the text: its end";
    e.model.SetSelStart(500);
    EXPECT_EQ(e.model.CaretXY(), Point(3, 2));
}

TEST(TmwEditCommands, ClipboardCommandsRoundTrip)
{
    Editor e("one two");
    e.model.SetBlockBegin(Point(1, 1));
    e.model.SetBlockEnd(Point(5, 1));
    e.Run(ecCut);
    EXPECT_EQ(e.Line(1), "two");
    e.Caret(4, 1);
    e.Key('V', ssCtrl);
    EXPECT_EQ(e.Line(1), "twoone ");
    e.Key('Z', ssCtrl);
    e.Key('Z', ssCtrl);
    EXPECT_EQ(e.Line(1), "one two");
    e.Key('Z', ssCtrl | ssShift);
    EXPECT_EQ(e.Line(1), "two");
}

namespace {

// Lines as loaded files have them: some end in blanks and tabs, some hold only blanks.
std::string RandomStartText(std::mt19937& rng)
{
    static const char* const ends[] = {"", "", " ", "  ", "\t", " \t ", "\t\t"};
    std::uniform_int_distribution<size_t> end(0, std::size(ends) - 1);
    std::string text;
    for (int i = 0; i < 30; ++i) {
        std::string line = i % 5 == 4 ? "" : "line " + std::to_string(i * 37 % 101) + (i % 3 ? " (x[y]{z})" : "");
        if (i % 4 == 1)
            line = "    " + line;
        if (i % 10 == 7)
            line += std::string(1030, 'W'); // longer than the caret can go (MaxLeftChar)
        text += line + ends[end(rng)] + "\r\n";
    }
    return text;
}

} // namespace

TEST(TmwEditCommands, RandomCommandsUndoAndRedoExactly)
{
    static const TmwEditorCommand commands[] = {
        ecChar, ecChar, ecChar, ecChar, ecDeleteLastChar, ecDeleteChar, ecDeleteWord, ecDeleteLastWord,
        ecDeleteBOL, ecDeleteEOL, ecDeleteLine, ecLineBreak, ecInsertLine, ecTab, ecBlockIndent,
        ecBlockUnindent, ecImeStr, ecToggleMode, ecLeft, ecRight, ecUp, ecDown, ecSelRight, ecSelDown,
        ecSelWordRight, ecWordLeft, ecLineEnd, ecEditorBottom, ecNormalSelect, ecColumnSelect, ecLineSelect,
        ecCut, ecCopy, ecPaste, ecUndo, ecRedo,
    };
    for (unsigned seed = 1; seed <= 16; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        Editor e("");
        const std::string original = RandomStartText(rng);
        e.model.SetText(original);
        ASSERT_EQ(e.model.GetText(), original);
        e.model.SetMaxUndo(100000);
        std::uniform_int_distribution<size_t> pick(0, std::size(commands) - 1);
        std::uniform_int_distribution<int> letter('a', 'z');
        std::string ime = "ime";
        std::uniform_int_distribution<int> option(0, 40);
        for (int step = 0; step < 1500; ++step) {
            // Options change between an edit and its undo or redo, which must not matter.
            switch (option(rng)) {
            case 0:
                e.model.SetOptions(e.model.Options() ^ mweoAutoIndent);
                break;
            case 1:
                e.model.SetOptions(e.model.Options() ^ mweoScrollPastEol);
                break;
            case 2:
                e.model.SetTabWidth(e.model.TabWidth() == 3 ? 2 : 3);
                break;
            }
            const TmwEditorCommand c = commands[pick(rng)];
            // Now and then a column block on the clipboard, pasted at the caret
            // even where it runs past the last line.
            if (c == ecPaste && step % 3 == 0) {
                std::string block = "ab\r\ncd\r\nef";
                e.clipboard.SetTextAndBlock(block, EncodeEditBlock(smColumn, block));
            }
            e.Run(c, static_cast<char>(c == ecChar && step % 7 == 0 ? ' ' : letter(rng)), ime.data());
        }
        while (e.model.CanRedo())
            e.Run(ecRedo);
        const std::string edited = e.model.GetText();
        ASSERT_NE(edited, original);
        while (e.model.CanUndo())
            e.Run(ecUndo);
        ASSERT_EQ(e.model.GetText(), original);
        while (e.model.CanRedo())
            e.Run(ecRedo);
        ASSERT_EQ(e.model.GetText(), edited);
    }
}

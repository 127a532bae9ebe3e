#include "editor/mwCustomEditModel.h"
#include "tests/editor/support/FakeClipboard.h"
#include "tests/editor/support/FakeEditWindow.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct Editor {
    explicit Editor(const std::string& text) : model(&window, &window)
    {
        model.SetText(text);
        model.SetClipboard(&clipboard);
    }
    void Select(TSelectionMode mode, TPoint from, TPoint to)
    {
        model.SetSelectionMode(mode);
        model.SetCaretXY(to);
        model.SetBlockBegin(from);
        model.SetBlockEnd(to);
    }
    TFakeEditWindow window;
    TFakeClipboard clipboard;
    TmwCustomEditModel model;
};

} // namespace

TEST(TmwCustomEditUndo, TypingOverASelectionUndoesInOneStep)
{
    Editor e("one word here");
    TmwCustomEditModel& m = e.model;
    e.Select(smNormal, Point(5, 1), Point(9, 1));
    m.SetSelText("X");
    EXPECT_EQ(m.LineText(), "one X here");
    ASSERT_EQ(m.UndoList().Count(), 2);
    EXPECT_EQ(m.UndoList().Item(0).reason, mwcrSelDelete);
    EXPECT_EQ(m.UndoList().Item(1).reason, mwcrInsert);
    m.Undo();
    EXPECT_EQ(m.LineText(), "one word here");
    EXPECT_FALSE(m.CanUndo());
    EXPECT_EQ(m.GetSelText(), "word") << "the restored text is selected";
    m.Redo();
    EXPECT_EQ(m.LineText(), "one X here");
    EXPECT_FALSE(m.CanRedo()) << "redone as one step too";
    m.Undo();
    EXPECT_EQ(m.LineText(), "one word here");
}

TEST(TmwCustomEditUndo, BackwardsSelectionsUndoExactly)
{
    Editor e("alpha\r\nbeta\r\ngamma");
    TmwCustomEditModel& m = e.model;
    e.Select(smNormal, Point(3, 3), Point(2, 1));
    m.SetSelText("Z\r\nY");
    EXPECT_EQ(m.GetText(), "aZ\r\nYmma\r\n");
    EXPECT_EQ(m.UndoList().Item(1).start, Point(2, 1)) << "the insertion starts at the earlier point";
    m.Undo();
    EXPECT_EQ(m.GetText(), "alpha\r\nbeta\r\ngamma\r\n");
    m.Redo();
    EXPECT_EQ(m.GetText(), "aZ\r\nYmma\r\n");

    Editor c("abcd\r\nefgh\r\nijkl");
    e.model.SetText("");
    c.Select(smColumn, Point(4, 3), Point(2, 1));
    c.model.SetSelText("--");
    EXPECT_EQ(c.model.GetText(), "a--d\r\neh\r\nil\r\n") << "inserted at the block's left column, top line";
    c.model.Undo();
    EXPECT_EQ(c.model.GetText(), "abcd\r\nefgh\r\nijkl\r\n");

    Editor l("1\r\n2\r\n3");
    l.Select(smLine, Point(1, 3), Point(1, 2));
    l.model.SetSelText("x");
    EXPECT_EQ(l.model.GetText(), "1\r\nx\r\n");
    l.model.Undo();
    EXPECT_EQ(l.model.GetText(), "1\r\n2\r\n3\r\n");
}

TEST(TmwCustomEditUndo, NewEditsClearTheRedoList)
{
    Editor e("abc");
    TmwCustomEditModel& m = e.model;
    m.SetCaretXY(Point(4, 1));
    m.SetSelText("d");
    m.Undo();
    ASSERT_TRUE(m.CanRedo());
    m.SetSelText("e");
    EXPECT_FALSE(m.CanRedo());
    m.Redo();
    EXPECT_EQ(m.LineText(), "abce");
}

TEST(TmwCustomEditUndo, EmptyListsAndLimits)
{
    Editor e("abc");
    TmwCustomEditModel& m = e.model;
    m.Undo();
    m.Redo();
    EXPECT_EQ(m.GetText(), "abc\r\n");
    EXPECT_FALSE(m.Modified());

    m.SetMaxUndo(2);
    for (const char* s : {"1", "2", "3"})
        m.SetSelText(s);
    EXPECT_EQ(m.UndoList().Count(), 2);
    m.SetMaxUndo(0);
    EXPECT_EQ(m.UndoList().Count(), 0);
    int changes = 0;
    m.OnChange = [&](TmwCustomEditModel*) { ++changes; };
    m.SetModified(false);
    m.SetSelText("4");
    EXPECT_EQ(m.UndoList().Count(), 0) << "a limit of 0 records nothing";
    EXPECT_TRUE(m.Modified()) << "but the change still counts";
    EXPECT_EQ(changes, 1);
}

TEST(TmwCustomEditUndo, LineBreaksSplitAndJoinBack)
{
    Editor e("    abcdef\r\nnext");
    TmwCustomEditModel& m = e.model;
    m.SetCaretXY(Point(8, 1));
    m.InsertLineBreak(true);
    EXPECT_EQ(m.GetText(), "    abc\r\n    def\r\nnext\r\n");
    EXPECT_EQ(m.CaretXY(), Point(5, 2));
    m.SetCaretXY(Point(3, 1));
    m.InsertLineBreak(false);
    EXPECT_EQ(m.GetText(), "\r\n    abc\r\n    def\r\nnext\r\n") << "inside the indentation the whole line moves";
    EXPECT_EQ(m.CaretXY(), Point(3, 1));
    m.SetCaretXY(Point(5, 4));
    m.InsertLineBreak(true);
    m.Undo();
    m.Undo();
    m.Undo();
    EXPECT_EQ(m.GetText(), "    abcdef\r\nnext\r\n");
    m.Redo();
    m.Redo();
    m.Redo();
    EXPECT_EQ(m.GetText(), "\r\n    abc\r\n    def\r\nnext\r\n\r\n");
}

TEST(TmwCustomEditUndo, LineBreaksUndoAlikeWhateverAutoIndentSaysLater)
{
    // Inside the indentation the whole line moves down; auto indent off by
    // the time of the undo must not pad the line it comes back to.
    Editor e("      abc");
    TmwCustomEditModel& m = e.model;
    m.SetCaretXY(Point(3, 1));
    m.InsertLineBreak(true);
    ASSERT_EQ(m.GetText(), "\r\n      abc\r\n");
    m.SetOptions(m.Options() & ~mweoAutoIndent);
    m.Undo();
    EXPECT_EQ(m.GetText(), "      abc\r\n");
    m.Redo();
    EXPECT_EQ(m.GetText(), "\r\n      abc\r\n");

    // Without auto indent the line splits at the caret, leaving no blanks
    // before it; turning auto indent on must not lose them on undo.
    Editor f("      abc");
    f.model.SetOptions(f.model.Options() & ~mweoAutoIndent);
    f.model.SetCaretXY(Point(3, 1));
    f.model.InsertLineBreak(true);
    ASSERT_EQ(f.model.GetText(), "\r\n    abc\r\n");
    f.model.SetOptions(f.model.Options() | mweoAutoIndent);
    f.model.Undo();
    EXPECT_EQ(f.model.GetText(), "      abc\r\n");
}

TEST(TmwCustomEditUndo, DeletedLastLineComesBackWithoutAnExtraLine)
{
    Editor e("first\r\nlast");
    TmwCustomEditModel& m = e.model;
    // What deleting the caret line does: record it with its line break, then remove it.
    m.SetCaretXY(Point(3, 2));
    m.UndoList().AddChange(mwcrDeleteAfter, Point(1, 2), m.CaretXY(), "last\r\n", smNormal);
    m.Lines().Delete(1);
    m.Undo();
    EXPECT_EQ(m.GetText(), "first\r\nlast\r\n");
    m.Redo();
    EXPECT_EQ(m.GetText(), "first\r\n");
}

TEST(TmwCustomEditUndo, DeletionsAtTheCaretRedoExactly)
{
    Editor e("abc");
    TmwCustomEditModel& m = e.model;
    // A forward delete records at the caret only (start = end).
    m.SetCaretXY(Point(2, 1));
    m.UndoList().AddChange(mwcrDeleteAfter, m.CaretXY(), m.CaretXY(), "b", smNormal);
    m.SetLineText("ac");
    m.Undo();
    EXPECT_EQ(m.LineText(), "abc");
    m.Redo();
    EXPECT_EQ(m.LineText(), "ac");
}

TEST(TmwCustomEditUndo, BlockIndentAndUnindentRecords)
{
    Editor e("a\r\nb\r\nc");
    TmwCustomEditModel& m = e.model;
    m.SetTabWidth(2);
    // Indent lines 1 and 2 (the block ends in column 1 of line 3).
    m.SetCaretXY(Point(1, 1));
    m.SetSelTextPrimitiveEx(smColumn, "  \r\n  ", nullptr);
    m.UndoList().AddChange(mwcrIndent, Point(1, 1), Point(1, 3), "", smColumn);
    ASSERT_EQ(m.GetText(), "  a\r\n  b\r\nc\r\n");
    m.Undo();
    EXPECT_EQ(m.GetText(), "a\r\nb\r\nc\r\n");
    m.Redo();
    EXPECT_EQ(m.GetText(), "  a\r\n  b\r\nc\r\n");
    EXPECT_EQ(m.BlockBegin(), Point(3, 1));

    // Unindent removes one blank from line 1 and two from line 2.
    Editor u(" a\r\n  b");
    u.model.SetTabWidth(2);
    u.model.SetLineText("a");
    u.model.SetCaretXY(Point(1, 2));
    u.model.SetLineText("b");
    u.model.UndoList().AddChange(mwcrUnindent, Point(3, 1), Point(4, 2), " \r\n  ", smColumn);
    u.model.Undo();
    EXPECT_EQ(u.model.GetText(), " a\r\n  b\r\n");
    u.model.Redo();
    EXPECT_EQ(u.model.GetText(), "a\r\nb\r\n");
}

// Loaded lines may end in blanks, which edits drop from the lines they store:
// undo gives each line back with exactly the characters it had, redo the
// edit's lines, and undo and redo again the same. Rows with an anchor select
// from it to the caret in lines that are empty, blank, zero-width characters
// only and a zero-width character before blanks: block edits' indents (two
// wide) and columns end there, where blanks are dropped.
TEST(TmwCustomEditUndo, LinesEndingInBlanksComeBackExactly)
{
    const std::string text = "    abc   \r\nnext  \r\n  \r\nlast\t \r\n";
    const std::string zwj = "\xE2\x80\x8D";
    const std::string acute = "\xCC\x81";
    const std::string blockLines = "{\r\n\r\n   \r\n" + zwj + "\r\n" + acute + "  \r\nxy\xC3\xA9z\r\n";
    const std::string columnBlock = "ab\r\ncd\r\nef\r\ngh";
    struct Case {
        const char* what;
        TPoint caret;
        TmwEditorCommand command;
        std::string after;
        TPoint anchor = Point(0, 0); // none: no selection in text
        TSelectionMode mode = smNormal;
    };
    const Case cases[] = {
        {"typing", Point(5, 1), ecChar, "    xabc\r\nnext  \r\n  \r\nlast\t \r\n"},
        {"backspace", Point(6, 1), ecDeleteLastChar, "    bc\r\nnext  \r\n  \r\nlast\t \r\n"},
        {"backspace at the indent", Point(3, 3), ecDeleteLastChar, "    abc   \r\nnext  \r\n\r\nlast\t \r\n"},
        {"join by backspace", Point(1, 2), ecDeleteLastChar, "    abc   next\r\n  \r\nlast\t \r\n"},
        {"delete", Point(5, 1), ecDeleteChar, "    bc\r\nnext  \r\n  \r\nlast\t \r\n"},
        {"join by delete", Point(7, 2), ecDeleteChar, "    abc   \r\nnext\r\nlast\t \r\n"},
        {"enter", Point(8, 1), ecLineBreak, "    abc\r\n       \r\nnext  \r\n  \r\nlast\t \r\n"},
        {"tab within the end blanks", Point(9, 1), ecTab, "    abc\r\nnext  \r\n  \r\nlast\t \r\n"},
        {"delete to the line end", Point(2, 2), ecDeleteEOL, "    abc   \r\nn\r\n  \r\nlast\t \r\n"},
        {"delete word", Point(5, 4), ecDeleteWord, "    abc   \r\nnext  \r\n  \r\nlast\r\n"},
        {"indent from an empty line", Point(3, 6), ecBlockIndent,
         "{\r\n\r\n     \r\n" + zwj + "\r\n" + acute + "    \r\n  xy\xC3\xA9z\r\n", Point(1, 2)},
        {"indent selected up to an empty line", Point(1, 2), ecBlockIndent,
         "{\r\n\r\n     \r\n" + zwj + "\r\n" + acute + "    \r\n  xy\xC3\xA9z\r\n", Point(3, 6)},
        {"indent from a line of a zero-width character", Point(2, 6), ecBlockIndent,
         "{\r\n\r\n   \r\n" + zwj + "\r\n" + acute + "    \r\n  xy\xC3\xA9z\r\n", Point(1, 4)},
        {"indent of a column block from an empty line", Point(3, 6), ecBlockIndent,
         "{\r\n\r\n     \r\n" + zwj + "\r\n" + acute + "    \r\n  xy\xC3\xA9z\r\n", Point(1, 2), smColumn},
        {"unindent from an empty line", Point(3, 6), ecBlockUnindent,
         "{\r\n\r\n \r\n" + zwj + "\r\n" + acute + "\r\nxy\xC3\xA9z\r\n", Point(1, 2)},
        {"column deleted", Point(3, 6), ecDeleteChar,
         "{\r\n\r\n\r\n" + zwj + "\r\n" + acute + "\r\n\xC3\xA9z\r\n", Point(1, 2), smColumn},
        {"column cut", Point(3, 6), ecCut,
         "{\r\n\r\n\r\n" + zwj + "\r\n" + acute + "\r\n\xC3\xA9z\r\n", Point(1, 2), smColumn},
        {"column typed over", Point(3, 6), ecChar,
         "{\r\n\r\n\r\n" + zwj + "\r\n" + acute + "\r\nx\xC3\xA9z\r\n", Point(1, 2), smColumn},
        {"column pasted", Point(1, 2), ecPaste,
         "{\r\nab\r\ncd   \r\n" + zwj + "ef\r\n" + acute + "gh  \r\nxy\xC3\xA9z\r\n", Point(1, 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const bool block = c.anchor != Point(0, 0);
        const std::string& before = block ? blockLines : text;
        Editor e(before);
        TmwCustomEditModel& m = e.model;
        m.SetTabWidth(2);
        e.clipboard.SetTextAndBlock(columnBlock, EncodeEditBlock(smColumn, columnBlock));
        e.Select(c.mode, block ? c.anchor : c.caret, c.caret);
        m.CommandProcessor(c.command, 'x', nullptr);
        EXPECT_EQ(m.GetText(), c.after) << "stored lines end in no blanks the edit reached";
        for (int round = 0; round < 2; ++round) {
            m.Undo();
            EXPECT_EQ(m.GetText(), before);
            m.Redo();
            EXPECT_EQ(m.GetText(), c.after);
        }
    }
}

TEST(TmwCustomEditUndo, OnlyBlanksAreDroppedFromLineEnds)
{
    // A NUL or a tab at a line end is text like any other character.
    const std::string text("ab\0\r\ncd\t\r\n", 10);
    Editor e(text);
    TmwCustomEditModel& m = e.model;
    m.SetCaretXY(Point(1, 1));
    m.CommandProcessor(ecChar, 'x', nullptr);
    m.SetCaretXY(Point(1, 2));
    m.CommandProcessor(ecDeleteChar, '\0', nullptr);
    EXPECT_EQ(m.GetText(), std::string("xab\0\r\nd\t\r\n", 10));
    m.Undo();
    m.Undo();
    EXPECT_EQ(m.GetText(), text);
}

TEST(TmwCustomEditUndo, BlanksBeforeADeletedEndComeBackAsTheyWere)
{
    // The blank and tab left in front of a deleted line end are dropped, and
    // undo must not put plain blanks in their place.
    Editor e(" \t dZhZh  \r\nab\t  cd \r\n");
    TmwCustomEditModel& m = e.model;
    e.Select(smNormal, Point(20, 1), Point(4, 1));
    m.SetSelText("");
    EXPECT_EQ(m.GetText(), " \t\r\nab\t  cd \r\n") << "a tab is not a blank: it stays";
    e.Select(smNormal, Point(6, 2), Point(9, 2));
    m.SetSelText("");
    EXPECT_EQ(m.GetText(), " \t\r\nab\t\r\n");
    m.Undo();
    m.Undo();
    EXPECT_EQ(m.GetText(), " \t dZhZh  \r\nab\t  cd \r\n");
    m.Redo();
    m.Redo();
    EXPECT_EQ(m.GetText(), " \t\r\nab\t\r\n");
}

// The caret stops at MaxLeftChar; lines and the text put into them do not.
TEST(TmwCustomEditUndo, LinesLongerThanTheCaretGoesUndoExactly)
{
    const std::string longLine(2000, 'a');
    const std::string text = longLine + "\r\nxyz\r\n";
    Editor e(text);
    TmwCustomEditModel& m = e.model;
    ASSERT_LT(m.MaxLeftChar(), 2000);

    m.SetCaretXY(Point(1, 2));
    m.CommandProcessor(ecDeleteLastChar, '\0', nullptr);
    ASSERT_EQ(m.GetText(), longLine + "xyz\r\n");
    m.Undo();
    EXPECT_EQ(m.GetText(), text) << "the join is split again after the long line's end";
    m.Redo();
    EXPECT_EQ(m.GetText(), longLine + "xyz\r\n");
    m.Undo();

    const std::string pasted = "q\r\n" + std::string(1500, 'b');
    e.clipboard.SetTextAndBlock(pasted, EncodeEditBlock(smNormal, pasted));
    m.SetCaretXY(Point(2, 2));
    m.SetBlockBegin(m.CaretXY());
    m.PasteFromClipboard();
    const std::string after = longLine + "\r\nxq\r\n" + std::string(1500, 'b') + "yz\r\n";
    ASSERT_EQ(m.GetText(), after);
    m.Undo();
    EXPECT_EQ(m.GetText(), text) << "all of a long pasted line goes";
    m.Redo();
    EXPECT_EQ(m.GetText(), after);
    m.Undo();

    std::string ime(30, 'i');
    m.SetCaretXY(Point(1010, 1));
    m.CommandProcessor(ecImeStr, '\0', ime.data());
    ASSERT_EQ(m.Lines()[0], std::string(1009, 'a') + ime + std::string(991, 'a'));
    m.Undo();
    EXPECT_EQ(m.GetText(), text) << "text typed across the caret's limit";
}

TEST(TmwCustomEditUndo, BlockIndentOfBlankLinesUndoesExactly)
{
    Editor e("a  \r\n   \r\n\r\nb");
    TmwCustomEditModel& m = e.model;
    m.SetTabWidth(2);
    e.Select(smNormal, Point(1, 1), Point(2, 4));
    m.CommandProcessor(ecBlockIndent, '\0', nullptr);
    EXPECT_EQ(m.GetText(), "  a  \r\n     \r\n\r\n  b\r\n");
    m.CommandProcessor(ecBlockUnindent, '\0', nullptr);
    m.CommandProcessor(ecBlockUnindent, '\0', nullptr);
    EXPECT_EQ(m.GetText(), "a  \r\n \r\n\r\nb\r\n");
    m.Undo();
    m.Undo();
    EXPECT_EQ(m.GetText(), "  a  \r\n     \r\n\r\n  b\r\n");
    m.Undo();
    EXPECT_EQ(m.GetText(), "a  \r\n   \r\n\r\nb\r\n");
    m.Redo();
    m.Redo();
    m.Redo();
    EXPECT_EQ(m.GetText(), "a  \r\n \r\n\r\nb\r\n");
}

TEST(TmwCustomEditUndo, BlockIndentUndoesWhateverTheTabWidthBecame)
{
    Editor e("ab\r\ncd\r\nef");
    TmwCustomEditModel& m = e.model;
    m.SetTabWidth(2);
    e.Select(smNormal, Point(1, 1), Point(2, 2));
    m.CommandProcessor(ecBlockIndent, '\0', nullptr);
    ASSERT_EQ(m.GetText(), "  ab\r\n  cd\r\nef\r\n");
    m.SetTabWidth(4);
    m.Undo();
    EXPECT_EQ(m.GetText(), "ab\r\ncd\r\nef\r\n");
    m.SetTabWidth(1);
    m.Redo();
    EXPECT_EQ(m.GetText(), "  ab\r\n  cd\r\nef\r\n");
    m.Undo();
    EXPECT_EQ(m.GetText(), "ab\r\ncd\r\nef\r\n");
}

// --- clipboard

TEST(TmwCustomEditClipboard, CopyPutsTextAndBlock)
{
    Editor e("abc\r\ndef");
    TmwCustomEditModel& m = e.model;
    m.CopyToClipboard();
    EXPECT_FALSE(e.clipboard.hasText) << "nothing selected leaves the clipboard alone";
    e.Select(smColumn, Point(2, 1), Point(3, 2));
    m.SetReadOnly(true);
    m.CopyToClipboard();
    EXPECT_EQ(e.clipboard.text, "b\r\ne");
    EXPECT_EQ(e.clipboard.block, std::string("\x01" "b\r\ne") + '\0');
    EXPECT_FALSE(m.CanUndo());
}

TEST(TmwCustomEditClipboard, CutRecordsOneDeletionAndFailsCleanly)
{
    Editor e("abc\r\ndef");
    TmwCustomEditModel& m = e.model;
    e.Select(smNormal, Point(2, 1), Point(2, 2));
    e.clipboard.failWrite = true;
    EXPECT_THROW(m.CutToClipboard(), EmwEditError);
    EXPECT_EQ(m.GetText(), "abc\r\ndef\r\n");
    EXPECT_FALSE(m.CanUndo());
    e.clipboard.failWrite = false;
    m.CutToClipboard();
    EXPECT_EQ(m.GetText(), "aef\r\n");
    ASSERT_EQ(m.UndoList().Count(), 1);
    EXPECT_EQ(m.UndoList().Item(0).reason, mwcrDelete);
    m.Undo();
    EXPECT_EQ(m.GetText(), "abc\r\ndef\r\n");
}

TEST(TmwCustomEditClipboard, ColumnBlocksPasteAsBlocks)
{
    Editor e("abcd\r\nefgh\r\nijkl\r\nmnop");
    TmwCustomEditModel& m = e.model;
    e.Select(smColumn, Point(2, 1), Point(4, 2));
    m.CopyToClipboard();
    m.SetSelectionMode(smNormal);
    m.SetCaretXY(Point(1, 3));
    m.SetBlockBegin(m.CaretXY());
    m.PasteFromClipboard();
    EXPECT_EQ(m.GetText(), "abcd\r\nefgh\r\nbcijkl\r\nfgmnop\r\n");
    EXPECT_EQ(m.CaretXY(), Point(1, 5 > m.LineCount() ? m.LineCount() : 5))
        << "below the block at its left edge, as far as the text goes";
    m.Undo();
    EXPECT_EQ(m.GetText(), "abcd\r\nefgh\r\nijkl\r\nmnop\r\n");
    m.Redo();
    EXPECT_EQ(m.GetText(), "abcd\r\nefgh\r\nbcijkl\r\nfgmnop\r\n");
}

TEST(TmwCustomEditClipboard, ColumnBlocksPastedPastTheLastLineUndoExactly)
{
    Editor e("abcd  \r\nefgh");
    TmwCustomEditModel& m = e.model;
    const std::string block = "12\r\n34\r\n56\r\n78";
    e.clipboard.SetTextAndBlock(block, EncodeEditBlock(smColumn, block));
    m.SetCaretXY(Point(3, 2));
    m.SetBlockBegin(m.CaretXY());
    m.PasteFromClipboard();
    const std::string pasted = "abcd  \r\nef12gh\r\n  34\r\n  56\r\n  78\r\n";
    EXPECT_EQ(m.GetText(), pasted) << "the block appends the lines it needs";
    m.Undo();
    EXPECT_EQ(m.GetText(), "abcd  \r\nefgh\r\n") << "and undo takes them away again";
    m.Redo();
    EXPECT_EQ(m.GetText(), pasted);
    m.Undo();
    EXPECT_EQ(m.GetText(), "abcd  \r\nefgh\r\n");

    // Over a column selection reaching the last line, in one step.
    e.Select(smColumn, Point(3, 2), Point(1, 1));
    m.PasteFromClipboard();
    EXPECT_EQ(m.GetText(), "12cd\r\n34gh\r\n56\r\n78\r\n");
    m.Undo();
    EXPECT_EQ(m.GetText(), "abcd  \r\nefgh\r\n");
    m.Redo();
    EXPECT_EQ(m.GetText(), "12cd\r\n34gh\r\n56\r\n78\r\n");
}

TEST(TmwCustomEditClipboard, LineBlocksPasteAsWholeLines)
{
    Editor e("one\r\ntwo\r\nthree");
    TmwCustomEditModel& m = e.model;
    e.Select(smLine, Point(2, 1), Point(2, 1));
    m.SetBlockEnd(Point(3, 1));
    m.CopyToClipboard();
    m.SetSelectionMode(smNormal);
    m.SetCaretXY(Point(3, 3));
    m.SetBlockBegin(m.CaretXY());
    m.PasteFromClipboard();
    EXPECT_EQ(m.GetText(), "one\r\ntwo\r\none\r\nthree\r\n");
    m.Undo();
    EXPECT_EQ(m.GetText(), "one\r\ntwo\r\nthree\r\n");
}

TEST(TmwCustomEditClipboard, PlainTextOverASelectionUndoesInOneStep)
{
    Editor e("hello world");
    TmwCustomEditModel& m = e.model;
    e.clipboard.hasText = true;
    e.clipboard.text = "big\r\nnew";
    e.Select(smNormal, Point(7, 1), Point(12, 1));
    m.PasteFromClipboard();
    EXPECT_EQ(m.GetText(), "hello big\r\nnew\r\n");
    m.Undo();
    EXPECT_EQ(m.GetText(), "hello world\r\n");
    EXPECT_EQ(m.GetSelText(), "world");
}

TEST(TmwCustomEditClipboard, UnreadableBlocksChangeNothing)
{
    Editor e("abc");
    TmwCustomEditModel& m = e.model;
    e.clipboard.hasBlock = true;
    e.clipboard.block = "";
    EXPECT_THROW(m.PasteFromClipboard(), EmwEditError) << "an empty block is rejected";
    e.clipboard.block = EncodeEditBlock(smNormal, "x");
    e.clipboard.failRead = true;
    EXPECT_THROW(m.PasteFromClipboard(), EmwEditError);
    EXPECT_EQ(m.GetText(), "abc\r\n");
    EXPECT_FALSE(m.CanUndo());
    EXPECT_TRUE(m.CanPaste());
    e.clipboard.hasBlock = false;
    EXPECT_FALSE(m.CanPaste());
    m.PasteFromClipboard();
    EXPECT_EQ(m.GetText(), "abc\r\n") << "nothing on the clipboard pastes nothing";
}

// --- random round trip

namespace {

std::string RandomWord(std::mt19937& rng)
{
    static const char letters[] = "abcdefghij{}()XYZ";
    std::uniform_int_distribution<int> len(1, 6), pick(0, sizeof(letters) - 2);
    std::string w;
    for (int n = len(rng); n > 0; --n)
        w += letters[pick(rng)];
    return w;
}

// Blanks and tabs as loaded files end lines with; often none.
std::string RandomBlanks(std::mt19937& rng)
{
    std::uniform_int_distribution<int> len(-3, 3), tab(0, 3);
    std::string blanks;
    for (int n = len(rng); n > 0; --n)
        blanks += tab(rng) == 0 ? '\t' : ' ';
    return blanks;
}

// A line of words, or of blanks only, that may end in blanks and tabs.
std::string RandomLine(std::mt19937& rng)
{
    std::uniform_int_distribution<int> words(0, 3);
    std::string line = RandomBlanks(rng);
    for (int w = words(rng); w > 0; --w)
        line += (line.empty() ? "" : " ") + RandomWord(rng) + (w % 2 ? "" : RandomBlanks(rng));
    return line + RandomBlanks(rng);
}

// Text of 0..3 line breaks.
std::string RandomText(std::mt19937& rng)
{
    std::uniform_int_distribution<int> breaks(0, 3), coin(0, 1);
    std::string text;
    for (int b = breaks(rng); b >= 0; --b) {
        text += RandomLine(rng);
        if (b > 0)
            text += coin(rng) ? "\r\n" : "\n";
    }
    return text;
}

// A column block of 1..4 equally wide pieces, as copying one gives it.
std::string RandomColumnBlock(std::mt19937& rng)
{
    std::uniform_int_distribution<int> lines(1, 4);
    std::string block;
    std::string first = RandomWord(rng);
    for (int n = lines(rng); n > 0; --n) {
        std::string piece = block.empty() ? first : RandomWord(rng);
        piece.resize(first.size(), ' ');
        block += (block.empty() ? "" : "\r\n") + piece;
    }
    return block;
}

TPoint RandomPoint(std::mt19937& rng, TmwCustomEditModel& m, int extra)
{
    int y = std::uniform_int_distribution<int>(1, m.LineCount())(rng);
    int len = static_cast<int>(m.Lines()[y - 1].size());
    return Point(std::uniform_int_distribution<int>(1, len + 1 + extra)(rng), y);
}

// One random edit of the text, through the model's editing calls; returns its kind.
int RandomEdit(std::mt19937& rng, Editor& e)
{
    TmwCustomEditModel& m = e.model;
    std::uniform_int_distribution<int> kind(0, 6), modes(0, 2);
    const int what = kind(rng);
    switch (what) {
    case 0: // type or replace at the caret, possibly past the line end, now and then a long line
        m.SetCaretXY(RandomPoint(rng, m, 3));
        m.SetBlockBegin(m.CaretXY());
        m.SetSelText(modes(rng) == 0 && kind(rng) == 0 ? RandomText(rng) + std::string(1100, 'L') : RandomText(rng));
        break;
    case 1: // replace a selection made either way in any mode
    case 2: {
        TSelectionMode md = static_cast<TSelectionMode>(modes(rng));
        TPoint a = RandomPoint(rng, m, 0), b = RandomPoint(rng, m, 0);
        e.Select(md, a, b);
        std::string t = kind(rng) < 2 ? std::string() : RandomText(rng);
        m.SetSelText(t);
        break;
    }
    case 3: // line break or inserted line
        m.SetCaretXY(RandomPoint(rng, m, 2));
        m.SetBlockBegin(m.CaretXY());
        m.InsertLineBreak(modes(rng) != 0);
        break;
    case 4: // cut a selection
        e.Select(static_cast<TSelectionMode>(modes(rng)), RandomPoint(rng, m, 0), RandomPoint(rng, m, 0));
        m.CutToClipboard();
        break;
    case 5: { // paste a block in any mode, column blocks also running past the last line
        TSelectionMode mode = static_cast<TSelectionMode>(modes(rng));
        std::string text = mode == smColumn ? RandomColumnBlock(rng) : RandomText(rng);
        e.clipboard.SetTextAndBlock(text, EncodeEditBlock(mode, text));
        TPoint at = RandomPoint(rng, m, 2);
        m.SetCaretXY(at);
        m.SetBlockBegin(at);
        m.PasteFromClipboard();
        break;
    }
    case 6: { // delete the caret line as the command does
        int y = RandomPoint(rng, m, 0).Y;
        if (m.LineCount() < 2)
            break;
        m.SetCaretXY(Point(1, y));
        m.UndoList().AddChange(mwcrDeleteAfter, Point(1, y), m.CaretXY(), m.Lines()[y - 1] + "\r\n", smNormal);
        m.Lines().Delete(y - 1);
        break;
    }
    }
    return what;
}

} // namespace

TEST(TmwCustomEditUndo, RandomEditsOnLinesEndingInBlanksUndoAndRedoExactly)
{
    for (unsigned seed = 1; seed <= 24; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        Editor e("");
        TmwCustomEditModel& m = e.model;
        std::string original;
        // Some lines are longer than the caret can go (MaxLeftChar).
        for (int i = 0; i < 30; ++i)
            original += (i % 10 == 3 ? std::string(1030, 'W') : std::string()) + RandomLine(rng) + "\r\n";
        m.SetText(original);
        original = m.GetText();
        m.SetMaxUndo(100000);
        for (int step = 0; step < 600; ++step) {
            m.SetSelectionMode(smNormal);
            m.SetBlockBegin(m.CaretXY());
            const std::string before = m.GetText();
            const int records = m.UndoList().Count();
            const int what = RandomEdit(rng, e);
            // Each edit alone undoes to the text before it and redoes to the text after it.
            if (m.UndoList().Count() == records)
                continue;
            const std::string after = m.GetText();
            m.Undo();
            ASSERT_EQ(m.GetText(), before) << "undo of edit kind " << what << " at step " << step;
            m.Redo();
            ASSERT_EQ(m.GetText(), after) << "redo of edit kind " << what << " at step " << step;
        }
        const std::string edited = m.GetText();
        ASSERT_NE(edited, original);
        while (m.CanUndo())
            m.Undo();
        ASSERT_EQ(m.GetText(), original);
        while (m.CanRedo())
            m.Redo();
        ASSERT_EQ(m.GetText(), edited);
    }
}

#include "editor/qt/mwAutoComplete.h"
#include "editor/qt/mwCompletionProposal.h"
#include "editor/qt/mwCustomEdit.h"
#include "tests/editor/support/EditorKeys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using vx::test::EditorKey;
using vx::test::EditorType;

// The main window's built-in list, and entries of several lines.
const char* const List = "!rp\n=response.write\"\"\n"
                         "!afref\n=<a href=\"|\"></a>\n"
                         "!style\n=<style></style>\n"
                         "!if\n=if x then\n=  y\n=end if|\n"
                         "!deep\n=a\n=  b\n=    c\n=d\n"
                         "\n"
                         "!tabbed\n=\tq\n";

struct AutoCompleteFixture : ::testing::Test {
    AutoCompleteFixture()
    {
        expander.AutoCompleteList().SetText(List);
        expander.AddEditor(&edit);
    }
    TmwCustomEditModel& M() { return edit.Model(); }
    void Load(const std::string& text)
    {
        M().SetText(text);
        M().SetCaretXY(Point(static_cast<int>(M().Lines()[M().LineCount() - 1].size()) + 1, M().LineCount()));
    }
    void Expand() { EditorKey(edit, Qt::Key_Space, Qt::ShiftModifier, " "); }
    // The lines joined by CR LF, without the last line's.
    std::string Text()
    {
        std::string text = M().GetText();
        return text.substr(0, text.size() - 2);
    }

    TmwCustomEdit edit;
    TmwAutoComplete expander;
};

TEST_F(AutoCompleteFixture, ExpandsInPlaceOfTheAbbreviation)
{
    Load("x !rp");
    Expand();
    EXPECT_EQ(Text(), "x response.write\"\"");
    EXPECT_EQ(M().CaretXY(), Point(19, 1)) << "after the last character; the space of the short cut is not typed";
}

TEST_F(AutoCompleteFixture, UnknownAbbreviationConsumesTheKeyAnyway)
{
    Load("!nope");
    Expand();
    EXPECT_EQ(Text(), "!nope");
    Load("");
    Expand();
    EXPECT_EQ(Text(), "") << "no word: the empty line of the list is no entry";
}

TEST_F(AutoCompleteFixture, CaretGoesToTheMarkerWhichIsRemoved)
{
    Load("!afref");
    Expand();
    EXPECT_EQ(Text(), "<a href=\"\"></a>");
    EXPECT_EQ(M().CaretXY(), Point(10, 1));
}

TEST_F(AutoCompleteFixture, LinesFollowTheAbbreviationsIndentWithAutoIndent)
{
    ASSERT_TRUE(M().HasOption(mweoAutoIndent) && M().HasOption(mweoScrollPastEol));
    Load("    !deep");
    Expand();
    EXPECT_EQ(Text(), "    a\r\n      b\r\n        c\r\n    d");
    Load("    !if");
    Expand();
    EXPECT_EQ(Text(), "    if x then\r\n      y\r\n    end if");
    EXPECT_EQ(M().CaretXY(), Point(11, 3));
}

TEST_F(AutoCompleteFixture, SameWithoutScrollingPastTheLineEnd)
{
    M().SetOptions(M().Options() & ~mweoScrollPastEol);
    Load("    !deep");
    Expand();
    EXPECT_EQ(Text(), "    a\r\n      b\r\n        c\r\n    d");
}

TEST_F(AutoCompleteFixture, WithoutAutoIndentEachLineStartsAtItsOwnBlanks)
{
    for (TmwEditorOptions scroll : {TmwEditorOptions{0}, TmwEditorOptions{mweoScrollPastEol}}) {
        M().SetOptions((M().Options() & ~(mweoAutoIndent | mweoScrollPastEol)) | scroll);
        Load("top\r\n    !deep");
        Expand();
        EXPECT_EQ(Text(), "top\r\n    a\r\n  b\r\n    c\r\nd") << "no line is joined to the one above";
    }
}

TEST_F(AutoCompleteFixture, ASelectionIsCollapsedFirst)
{
    Load("abc !rp");
    M().SetBlockBegin(Point(1, 1));
    M().SetBlockEnd(Point(8, 1));
    ASSERT_TRUE(M().SelAvail());
    Expand();
    EXPECT_EQ(Text(), "abc response.write\"\"");
}

TEST_F(AutoCompleteFixture, UndoTakesTheExpansionBack)
{
    Load("    !if");
    Expand();
    while (M().CanUndo())
        M().Undo();
    EXPECT_EQ(Text(), "    !if");
}

TEST_F(AutoCompleteFixture, CommandsAreOrdinaryCommands)
{
    std::string typed;
    M().OnProcessCommand = [&](TmwCustomEditModel*, TmwEditorCommand& command, char& c, void*) {
        if (command == ecChar && c != '\0') // the swallowed space comes as a cleared character
            typed += c;
        else if (command == ecLineBreak)
            typed += '/';
    };
    Load("!tabbed");
    Expand();
    EXPECT_EQ(typed, "\tq") << "the tab is sent, and dropped by the editor";
    EXPECT_EQ(Text(), "q");
}

TEST_F(AutoCompleteFixture, ReadOnlyEditorLetsTheKeyThrough)
{
    std::vector<uint16_t> seen;
    TmwCustomEdit other;
    other.Model().OnKeyDown = [&](TmwCustomEditModel*, uint16_t& key, TShiftState) { seen.push_back(key); };
    expander.AddEditor(&other);
    other.Model().SetText("!rp");
    other.Model().SetCaretXY(Point(4, 1));
    other.Model().SetReadOnly(true);
    EditorKey(other, Qt::Key_Space, Qt::ShiftModifier, " ");
    EXPECT_EQ(other.Model().LineText(), "!rp");
    EXPECT_EQ(seen, std::vector<uint16_t>{0x20});
    other.Model().SetReadOnly(false);
    EditorKey(other, Qt::Key_Space, Qt::ShiftModifier, " ");
    EXPECT_EQ(other.Model().LineText(), "response.write\"\"");
    EXPECT_EQ(seen, (std::vector<uint16_t>{0x20, 0}));
}

TEST_F(AutoCompleteFixture, WorksBesideTheCompletionProposal)
{
    TMwCompletionProposal proposal;
    proposal.ItemList().SetText("style\n");
    proposal.AddEditor(&edit); // hooked over the expander
    Load("!style");
    Expand();
    EXPECT_EQ(Text(), "<style></style>");
    EXPECT_FALSE(proposal.Form().isVisible());
    Load("st");
    EditorKey(edit, Qt::Key_Space, Qt::ControlModifier, " ");
    EXPECT_TRUE(proposal.Form().isVisible());
    EXPECT_EQ(proposal.CurrentString(), "st");
    vx::test::WidgetKey(proposal.Form(), Qt::Key_Return, {}, "\r");
    EXPECT_EQ(Text(), "style");
    EditorType(edit, "!");
    EXPECT_EQ(Text(), "style!");
}

TEST_F(AutoCompleteFixture, ListIsCopiedAndEditorsCounted)
{
    TStringList other;
    other.SetText("!x\n=y\n");
    expander.SetAutoCompleteList(other);
    other.Clear();
    EXPECT_EQ(expander.AutoCompleteList().Count(), 2);
    EXPECT_EQ(expander.Editor(), &edit);
    EXPECT_EQ(expander.ShortCut(), ShortCut(0x20, ssShift));
    EXPECT_EQ(expander.EndOfTokenChr(), "()[].");
    Load("(!x");
    Expand();
    EXPECT_EQ(Text(), "(y");
}

// A document stored as Windows-1252 judges an expansion by its whole
// characters and takes all of it or none: refused, the abbreviation stays.
TEST_F(AutoCompleteFixture, AWindows1252DocumentTakesTheWholeExpansionOrNoneOfIt)
{
    expander.AutoCompleteList().SetText("!e\n=caf\u00e9|\u20ac\n!o\n=one\n=\u03a9 two\n");
    M().SetEncoding(vx::TTextEncoding::Windows1252);
    std::vector<std::string> refused;
    M().OnTextRefused = [&refused](TmwCustomEditModel*, const std::string& text) { refused.push_back(text); };
    struct Row {
        const char* typed;
        const char* expanded;
        std::vector<std::string> refused;
    };
    const Row rows[] = {
        {"x !e", "x caf\u00e9\u20ac", {}},
        {"x !o", "x !o", {"one\r\n\u03a9 two"}},
    };
    for (const Row& row : rows) {
        refused.clear();
        Load(row.typed);
        M().UndoList().ClearList();
        Expand();
        EXPECT_EQ(Text(), row.expanded) << row.typed;
        EXPECT_EQ(refused, row.refused) << row.typed;
        EXPECT_EQ(M().CanUndo(), row.refused.empty()) << row.typed << ": a refused expansion records nothing";
    }
}

} // namespace

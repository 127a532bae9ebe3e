#include "editor/qt/mwCompletionProposal.h"
#include "editor/qt/SysColors.h"
#include "editor/qt/mwCustomEdit.h"
#include "tests/editor/support/EditorKeys.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <utility>

namespace {

using vx::test::EditorKey;
using vx::test::EditorType;
using vx::test::WidgetKey;

struct CompletionFixture : ::testing::Test {
    CompletionFixture()
    {
        window.resize(500, 300);
        edit = new TmwCustomEdit(&window);
        edit->setGeometry(10, 10, 480, 280);
        window.show();
        edit->setFocus();
        QApplication::processEvents();
        proposal.ItemList().SetText("table\ntbody\ntd\ntextarea\n");
        proposal.AddEditor(edit);
    }
    TmwCustomEditModel& M() { return edit->Model(); }
    TCompletionProposalForm& Form() { return proposal.Form(); }
    void Load(const std::string& text, int caretX)
    {
        M().SetText(text);
        M().SetCaretXY(Point(caretX, 1));
    }
    void Open() { EditorKey(*edit, Qt::Key_Space, Qt::ControlModifier, " "); }
    void Popup(int key, const QString& text = {}, Qt::KeyboardModifiers mods = {})
    {
        WidgetKey(Form(), key, mods, text);
    }
    std::string Line() { return M().LineText(); }

    QWidget window;
    TmwCustomEdit* edit;
    TMwCompletionProposal proposal;
};

TEST_F(CompletionFixture, ShortCutOpensThePopupJustBelowTheCaret)
{
    Load("x tb", 5);
    Open();
    ASSERT_TRUE(Form().isVisible());
    EXPECT_EQ(proposal.CurrentString(), "tb");
    EXPECT_EQ(proposal.Position(), 1) << "tbody";
    const TPoint caret = edit->RowColumnToPixels(M().CaretXY());
    EXPECT_EQ(Form().pos(), edit->viewport()->mapToGlobal(QPoint(caret.X, caret.Y + M().LineHeight())));
    EXPECT_EQ(Form().CurrentEditor(), edit);
    EXPECT_EQ(Line(), "x tb") << "the space of the short cut is not typed";
    Popup(Qt::Key_Escape, "\x1b");
}

TEST_F(CompletionFixture, WordStopsAtBlanksAndEndOfTokenCharacters)
{
    Load("a(te", 5);
    Open();
    EXPECT_EQ(proposal.CurrentString(), "te");
    Popup(Qt::Key_Escape, "\x1b");
    Load("ab", 6); // past the line's end
    Open();
    EXPECT_EQ(proposal.CurrentString(), "");
    EXPECT_EQ(proposal.Position(), 0) << "an empty word matches the first item";
    Popup(Qt::Key_Escape, "\x1b");
}

TEST_F(CompletionFixture, TypingNarrowsTheSelectionAndTypesIntoTheEditor)
{
    Load("t", 2);
    Open();
    Popup('E', "e");
    EXPECT_EQ(proposal.CurrentString(), "te");
    EXPECT_EQ(proposal.Position(), 3) << "textarea";
    EXPECT_EQ(Line(), "te");
    Popup('Q', "q");
    EXPECT_EQ(proposal.Position(), 3) << "no match keeps the selection";
    EXPECT_EQ(Line(), "teq");
    Popup(Qt::Key_Backspace, "\b");
    EXPECT_EQ(proposal.CurrentString(), "te");
    EXPECT_EQ(Line(), "te") << "backspace deletes in the editor too";
    EXPECT_TRUE(Form().isVisible());
}

TEST_F(CompletionFixture, EnterPutsTheChosenItemInPlaceOfTheWord)
{
    Load("x tb", 5);
    Open();
    Popup(Qt::Key_Down);
    EXPECT_EQ(proposal.Position(), 2) << "td";
    Popup(Qt::Key_Return, "\r");
    EXPECT_FALSE(Form().isVisible());
    EXPECT_EQ(Line(), "x td");
    EXPECT_EQ(M().CaretXY(), Point(5, 1));
    EXPECT_EQ(M().LineCount(), 1) << "the Enter is no line break";
    while (M().CanUndo())
        M().Undo();
    EXPECT_EQ(Line(), "x tb");
}

TEST_F(CompletionFixture, ReplacesOnlyTheWordWhateverTheSelectionMode)
{
    Load("ab tb", 6);
    M().SetSelectionMode(smLine);
    Open();
    Popup(Qt::Key_Return, "\r");
    EXPECT_EQ(Line(), "ab tbody");
    EXPECT_EQ(M().SelectionMode(), smLine);
}

TEST_F(CompletionFixture, EscapeAndTabCancelLeavingTheText)
{
    Load("tb", 3);
    Open();
    Popup(Qt::Key_Escape, "\x1b");
    EXPECT_FALSE(Form().isVisible());
    EXPECT_EQ(Line(), "tb");
    Open();
    Popup(Qt::Key_Tab, "\t");
    EXPECT_FALSE(Form().isVisible());
    EXPECT_EQ(Line(), "tb");
}

TEST_F(CompletionFixture, EnterEscapeAndSpaceOnlyCloseThePopup)
{
    proposal.RemoveEditor(edit);
    std::string pressed;
    M().OnKeyPress = [&](TmwCustomEditModel*, char& c) { pressed += c; };
    proposal.AddEditor(edit);
    for (auto [key, text] : {std::pair{Qt::Key_Space, " "}, {Qt::Key_Escape, "\x1b"}, {Qt::Key_Return, "\r"}}) {
        Load("tb", 3);
        Open();
        pressed.clear();
        Popup(key, QString::fromLatin1(text));
        EXPECT_FALSE(Form().isVisible()) << text;
        EXPECT_EQ(pressed, "") << "the editor's OnKeyPress does not see it: " << int(text[0]);
        EXPECT_EQ(M().LineCount(), 1);
        EXPECT_EQ(M().CaretX(), key == Qt::Key_Return ? 6 : 3) << "nothing typed: " << int(text[0]);
    }
    EditorType(*edit, "x");
    EXPECT_EQ(Line(), "tbodyx");
}

TEST_F(CompletionFixture, EnterOnAnEmptyListCancels)
{
    proposal.ItemList().Clear();
    Load("tb", 3);
    Open();
    ASSERT_TRUE(Form().isVisible());
    Popup(Qt::Key_Return, "\r");
    EXPECT_FALSE(Form().isVisible());
    EXPECT_EQ(Line(), "tb");
}

TEST_F(CompletionFixture, ShortCutWithoutACharacterDoesNotEatTheNextOne)
{
    Load("tb", 3);
    EditorKey(*edit, Qt::Key_Space, Qt::ControlModifier); // no text
    Popup(Qt::Key_Escape, "\x1b");
    EditorType(*edit, "x");
    EXPECT_EQ(Line(), "tbx");
}

TEST_F(CompletionFixture, ReadOnlyEditorLetsTheKeyThrough)
{
    std::vector<std::pair<uint16_t, TShiftState>> seen;
    TmwCustomEdit other(&window);
    other.Model().OnKeyDown = [&](TmwCustomEditModel*, uint16_t& key, TShiftState shift) {
        seen.push_back({key, shift});
    };
    proposal.AddEditor(&other);
    other.Model().SetReadOnly(true);
    EditorKey(other, Qt::Key_Space, Qt::ControlModifier, " ");
    EXPECT_FALSE(Form().isVisible());
    other.Model().SetReadOnly(false);
    EditorKey(other, Qt::Key_Space, Qt::ControlModifier, " ");
    EXPECT_TRUE(Form().isVisible());
    Popup(Qt::Key_Escape, "\x1b");
    ASSERT_EQ(seen.size(), 2u) << "the editor's own handler runs after the hook every time";
    EXPECT_EQ(seen[0], std::make_pair(uint16_t{0x20}, TShiftState{ssCtrl}));
    EXPECT_EQ(seen[1].first, 0) << "a consumed key reaches it cleared";
    proposal.RemoveEditor(&other);
}

TEST_F(CompletionFixture, KeysMoveTheSelectionWithinTheList)
{
    proposal.ItemList().Clear();
    for (int i = 0; i < 10; ++i)
        proposal.ItemList().Add("item" + std::to_string(i));
    EXPECT_EQ(Form().ScrollBar()->maximum(), 4);
    Load("item", 5);
    Open();
    EXPECT_EQ(proposal.Position(), 0);
    Popup(Qt::Key_Up);
    EXPECT_EQ(proposal.Position(), 0) << "stops at the top";
    Popup(Qt::Key_PageDown);
    EXPECT_EQ(proposal.Position(), 6);
    EXPECT_EQ(Form().ScrollBar()->value(), 1) << "the selected row is kept in view";
    Popup(Qt::Key_PageDown);
    EXPECT_EQ(proposal.Position(), 9);
    Popup(Qt::Key_Home, {}, Qt::ControlModifier);
    EXPECT_EQ(proposal.Position(), 0);
    EXPECT_EQ(Form().ScrollBar()->value(), 0);
    Popup(Qt::Key_Down, {}, Qt::ControlModifier);
    EXPECT_EQ(proposal.Position(), 9);
    Popup(Qt::Key_Home);
    EXPECT_EQ(proposal.Position(), 9) << "Home needs Ctrl";
    Popup(Qt::Key_Escape, "\x1b");
}

TEST_F(CompletionFixture, FewItemsGiveNoScrollingRange)
{
    EXPECT_EQ(Form().ScrollBar()->maximum(), 0);
    EXPECT_EQ(Form().height(), Form().FontHeight() * 6 + 2);
    proposal.SetNbLinesInWindow(2);
    EXPECT_EQ(Form().ScrollBar()->maximum(), 2);
    EXPECT_EQ(Form().height(), Form().FontHeight() * 2 + 2);
}

TEST_F(CompletionFixture, PrefixComparisonFollowsAnsiStrings)
{
    Form().SetCurrentString("TB");
    EXPECT_EQ(proposal.Position(), 0) << "exact comparison: no match";
    proposal.SetAnsiStrings(true);
    Form().SetCurrentString("TB");
    EXPECT_EQ(proposal.Position(), 1);
    proposal.SetPosition(7);
    EXPECT_EQ(proposal.Position(), 1) << "beyond the list: ignored";
}

TEST_F(CompletionFixture, ClickSelectsTheRowAndPaintShowsIt)
{
    proposal.SetClSelect(clRed);
    Load("t", 2);
    Open();
    const int fh = Form().FontHeight();
    QMouseEvent click(QEvent::MouseButtonPress, QPointF(20, 1 + 2 * fh + 2), QPointF(), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Form(), &click);
    EXPECT_EQ(proposal.Position(), 2);
    std::vector<std::string> painted;
    proposal.SetOnPaintItem([&](const std::string& key, QPainter&, int, int y) {
        painted.push_back(key + "@" + std::to_string(y));
        return false;
    });
    const QImage image = Form().grab().toImage();
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black)) << "the frame";
    EXPECT_EQ(image.pixelColor(Form().width() / 4, 1 + 2 * fh + fh / 2), QColor(Qt::red)) << "the selected row";
    EXPECT_EQ(image.pixelColor(Form().width() / 4 + 60, 1 + fh / 2), vx::ToQColor(clWindow));
    EXPECT_EQ(painted, (std::vector<std::string>{"table@0", "tbody@" + std::to_string(fh),
                                                 "td@" + std::to_string(2 * fh), "textarea@" + std::to_string(3 * fh)}));
    Popup(Qt::Key_Escape, "\x1b");
}

TEST_F(CompletionFixture, DetachingGivesTheEditorItsHandlersBack)
{
    int own = 0;
    TmwCustomEdit other(&window);
    other.Model().OnKeyDown = [&](TmwCustomEditModel*, uint16_t&, TShiftState) { ++own; };
    proposal.AddEditor(&other);
    proposal.AddEditor(&other);
    EXPECT_EQ(proposal.EditorCount(), 2);
    EXPECT_EQ(proposal.Editor(), edit);
    proposal.RemoveEditor(&other);
    EditorKey(other, Qt::Key_Space, Qt::ControlModifier, " ");
    EXPECT_FALSE(Form().isVisible());
    EXPECT_EQ(own, 1);
    EXPECT_EQ(proposal.EditorCount(), 1);
}

TEST(CompletionLifetime, EditorGoneWhileThePopupIsOpen)
{
    TMwCompletionProposal proposal;
    proposal.ItemList().SetText("table\n");
    auto edit = std::make_unique<TmwCustomEdit>();
    proposal.AddEditor(edit.get());
    EditorKey(*edit, Qt::Key_Space, Qt::ControlModifier, " ");
    ASSERT_TRUE(proposal.Form().isVisible());
    edit.reset();
    EXPECT_EQ(proposal.Form().CurrentEditor(), nullptr);
    WidgetKey(proposal.Form(), 'A', {}, "a"); // typed nowhere
    WidgetKey(proposal.Form(), Qt::Key_Return, {}, "\r");
    EXPECT_FALSE(proposal.Form().isVisible());
}

TEST(CompletionLifetime, EditorsAndComponentsMayGoInAnyOrder)
{
    auto proposal = std::make_unique<TMwCompletionProposal>();
    {
        TmwCustomEdit doomed;
        proposal->AddEditor(&doomed);
        EXPECT_EQ(proposal->Editor(), &doomed);
    }
    EXPECT_EQ(proposal->EditorCount(), 0) << "a destroyed editor drops out";
    TmwCustomEdit edit;
    int own = 0;
    edit.Model().OnKeyDown = [&](TmwCustomEditModel*, uint16_t&, TShiftState) { ++own; };
    proposal->AddEditor(&edit);
    auto second = std::make_unique<TMwCompletionProposal>();
    second->SetShortCut(ShortCut(0x20, ssAlt));
    second->AddEditor(&edit); // hooked over the first
    proposal.reset();         // the first goes while the second still holds its hooks
    EditorKey(edit, Qt::Key_Space, Qt::ControlModifier, " ");
    EXPECT_EQ(own, 1) << "the chain still reaches the editor's own handler";
    EditorKey(edit, Qt::Key_Space, Qt::AltModifier, " ");
    EXPECT_TRUE(second->Form().isVisible());
    second->Form().hide();
    second.reset();
    EditorKey(edit, Qt::Key_A, {}, "a");
    EXPECT_EQ(own, 3);
    EXPECT_EQ(edit.Model().LineText(), " a") << "with the first gone, Ctrl+Space typed its space";
}

} // namespace

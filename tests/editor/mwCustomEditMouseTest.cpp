#include "editor/qt/mwCustomEdit.h"
#include "tests/editor/support/BraceHighlighter.h"
#include "tests/editor/support/EditorKeys.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QUrl>
#include <QInputMethodEvent>
#include <QLabel>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <functional>

namespace {

// An editor whose drags are recorded instead of run (a real drag waits for the
// pointer), with access to the auto-scroll step.
class TMouseEdit : public TmwCustomEdit {
public:
    using TmwCustomEdit::AutoScrollStep;
    void StartTextDrag() override { ++drags; }
    int drags = 0;
};

struct MouseFixture : ::testing::Test {
    MouseFixture()
    {
        edit.resize(500, 300);
        edit.show();
        edit.activateWindow();
        QApplication::processEvents();
    }

    // The pixel in the middle of the left half of a cell: a click there puts the caret before it.
    QPoint At(int column, int line)
    {
        TPoint p = edit.RowColumnToPixels(Point(column, line));
        return QPoint(p.X + 1, p.Y + m.LineHeight() / 2);
    }
    void Send(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QMouseEvent event(type, pos, edit.viewport()->mapToGlobal(pos), button, buttons, modifiers);
        QApplication::sendEvent(edit.viewport(), &event);
    }
    void Click(QPoint pos, Qt::KeyboardModifiers modifiers = Qt::NoModifier, Qt::MouseButton button = Qt::LeftButton)
    {
        Send(QEvent::MouseButtonPress, pos, button, button, modifiers);
        Send(QEvent::MouseButtonRelease, pos, button, Qt::NoButton, modifiers);
    }
    void DoubleClick(QPoint pos)
    {
        Click(pos);
        Send(QEvent::MouseButtonDblClick, pos, Qt::LeftButton, Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
    }
    void Wheel(int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QPoint pos(100, 50);
        QWheelEvent event(pos, edit.viewport()->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(edit.viewport(), &event);
    }

    TMouseEdit edit;
    TmwCustomEditModel& m = edit.Model();
};

std::string ManyLines(int count)
{
    std::string text;
    text.reserve(static_cast<size_t>(count) * 8);
    for (int i = 0; i < count; ++i)
        text += "line\r\n";
    return text;
}

} // namespace

TEST_F(MouseFixture, ClickShiftClickAndPlainClick)
{
    m.SetText("hello world\r\nsecond line\r\nthird");
    Click(At(3, 1));
    EXPECT_EQ(m.CaretXY(), Point(3, 1));
    EXPECT_FALSE(m.SelAvail());
    EXPECT_TRUE(edit.hasFocus()) << "a click gives the editor the focus";
    Click(At(4, 2), Qt::ShiftModifier);
    EXPECT_EQ(m.CaretXY(), Point(4, 2));
    EXPECT_EQ(m.GetSelText(), "llo world\r\nsec") << "shift-click extends from the anchor";
    Click(At(2, 1), Qt::ShiftModifier);
    EXPECT_EQ(m.GetSelText(), "e") << "the anchor stays where it was";
    Click(At(1, 3));
    EXPECT_FALSE(m.SelAvail()) << "a plain click outside the selection collapses it";
    EXPECT_EQ(m.CaretXY(), Point(1, 3));
}

TEST_F(MouseFixture, ClickInsideSelectionCollapsesOnReleaseOrStartsADrag)
{
    m.SetText("hello world");
    m.SetBlockBegin(Point(1, 1));
    m.SetBlockEnd(Point(6, 1));
    Send(QEvent::MouseButtonPress, At(3, 1), Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(m.SelAvail()) << "the selection stays while a drag may follow";
    Send(QEvent::MouseButtonRelease, At(3, 1), Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(m.SelAvail());
    EXPECT_EQ(m.CaretXY(), Point(3, 1));
    EXPECT_EQ(edit.drags, 0);

    m.SetBlockBegin(Point(1, 1));
    m.SetBlockEnd(Point(6, 1));
    Send(QEvent::MouseButtonPress, At(3, 1), Qt::LeftButton, Qt::LeftButton);
    Send(QEvent::MouseMove, At(3, 1) + QPoint(1, 0), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(edit.drags, 0) << "less than the drag distance";
    Send(QEvent::MouseMove, At(3, 1) + QPoint(QApplication::startDragDistance(), 0), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(edit.drags, 1);
    Send(QEvent::MouseButtonRelease, At(3, 1), Qt::LeftButton, Qt::NoButton);

    m.SetOptions(m.Options() & ~mweoDragDropEditing);
    m.SetBlockBegin(Point(1, 1));
    m.SetBlockEnd(Point(6, 1));
    Send(QEvent::MouseButtonPress, At(3, 1), Qt::LeftButton, Qt::LeftButton);
    EXPECT_FALSE(m.SelAvail()) << "without drag-and-drop editing a press collapses at once";
    Send(QEvent::MouseButtonRelease, At(3, 1), Qt::LeftButton, Qt::NoButton);
}

TEST_F(MouseFixture, DraggingTheMouseSelects)
{
    m.SetText("abcdefgh\r\nabcdefgh");
    Send(QEvent::MouseButtonPress, At(2, 1), Qt::LeftButton, Qt::LeftButton);
    Send(QEvent::MouseMove, At(5, 2), Qt::NoButton, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, At(5, 2), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(m.GetSelText(), "bcdefgh\r\nabcd");
}

TEST_F(MouseFixture, RightClickInSelectionWithAMenuKeepsIt)
{
    QMenu menu;
    edit.SetPopupMenu(&menu);
    m.SetText("hello world");
    m.SetBlockBegin(Point(1, 1));
    m.SetBlockEnd(Point(6, 1));
    m.SetCaretXY(Point(6, 1));
    Send(QEvent::MouseButtonPress, At(9, 1), Qt::RightButton, Qt::RightButton);
    Send(QEvent::MouseButtonRelease, At(9, 1), Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(m.GetSelText(), "hello");
    EXPECT_EQ(m.CaretXY(), Point(6, 1));
    edit.SetPopupMenu(nullptr);
}

TEST_F(MouseFixture, DoubleClickSelectsAWord)
{
    m.SetText("foo bar_baz+1 end");
    DoubleClick(At(7, 1));
    EXPECT_EQ(m.GetSelText(), "bar_baz");
    EXPECT_EQ(m.CaretXY(), Point(12, 1));
    DoubleClick(At(12, 1));
    EXPECT_EQ(m.GetSelText(), "+") << "without a highlighter: a run of one kind of character";

    TBraceHighlighter hl;
    m.SetHighLighter(&hl);
    DoubleClick(At(6, 1));
    EXPECT_EQ(m.GetSelText(), "bar_baz+1") << "the highlighter's word characters: every printable one here";
    m.SetHighLighter(nullptr);

    edit.SetWordBlock(Point(18, 1));
    EXPECT_FALSE(m.SelAvail()) << "at the line end only the caret moves";
    EXPECT_EQ(m.CaretXY(), Point(18, 1));
    edit.SetWordBlock(Point(40, 1));
    EXPECT_EQ(m.CaretXY(), Point(18, 1)) << "past it too";
}

TEST_F(MouseFixture, GutterClickReportsLineAndMark)
{
    m.SetText("a\r\nb\r\nc");
    m.SetBookMark(2, 1, 2);
    int line = 0;
    TMark* clicked = nullptr;
    m.OnGutterClick = [&](TmwCustomEditModel*, int, int, int l, TMark* mark) {
        line = l;
        clicked = mark;
    };
    Click(QPoint(3, m.LineHeight() + 2));
    EXPECT_EQ(line, 2);
    ASSERT_NE(clicked, nullptr);
    EXPECT_EQ(clicked->BookmarkNumber(), 2);
    Click(QPoint(3, 2 * m.LineHeight() + 2));
    EXPECT_EQ(line, 3);
    EXPECT_EQ(clicked, nullptr);
}

TEST_F(MouseFixture, DropMovesTheBlockWhereItWasDropped)
{
    m.SetText("abcdef");
    m.SetBlockBegin(Point(2, 1));
    m.SetBlockEnd(Point(4, 1));
    QPoint drop = At(6, 1);
    edit.DragDrop(&edit, drop.x(), drop.y(), false);
    EXPECT_EQ(m.GetText(), "adebcf\r\n") << "after the block on its line: shifted left by its width";
    m.Undo();
    EXPECT_EQ(m.GetText(), "abcdef\r\n") << "one undo step takes the whole move back";
    m.Redo();
    EXPECT_EQ(m.GetText(), "adebcf\r\n");

    m.SetText("one\r\ntwo\r\nthree");
    m.SetBlockBegin(Point(2, 1));
    m.SetBlockEnd(Point(2, 2));
    drop = At(3, 3);
    edit.DragDrop(&edit, drop.x(), drop.y(), false);
    EXPECT_EQ(m.GetText(), "owo\r\nthne\r\ntree\r\n") << "on a later line: moved up by the block's lines";

    m.SetText("one\r\ntwo\r\nthree");
    m.SetBlockBegin(Point(1, 1));
    m.SetBlockEnd(Point(4, 2));
    drop = At(2, 2);
    edit.DragDrop(&edit, drop.x(), drop.y(), false);
    EXPECT_EQ(m.GetText(), "one\r\ntwo\r\nthree\r\n") << "a drop inside the block changes nothing";

    m.SetBlockBegin(Point(1, 1));
    m.SetBlockEnd(Point(4, 1));
    drop = At(1, 3);
    edit.DragDrop(&edit, drop.x(), drop.y(), true);
    EXPECT_EQ(m.GetText(), "one\r\ntwo\r\nonethree\r\n") << "a copy leaves the block";

    m.SetReadOnly(true);
    m.SetBlockBegin(Point(1, 1));
    m.SetBlockEnd(Point(4, 1));
    edit.DragDrop(&edit, drop.x(), drop.y(), false);
    EXPECT_EQ(m.GetText(), "one\r\ntwo\r\nonethree\r\n") << "nothing drops into a read-only editor";
}

TEST_F(MouseFixture, MovedTextLeavesLinesThatUndoGivesBackExactly)
{
    // The source line loses the blanks it ended in when the block leaves it.
    m.SetText("ab cd  \r\nxy   \r\nlast");
    m.SetBlockBegin(Point(4, 1));
    m.SetBlockEnd(Point(6, 1));
    QPoint drop = At(1, 2);
    edit.DragDrop(&edit, drop.x(), drop.y(), false);
    EXPECT_EQ(m.GetText(), "ab\r\ncdxy   \r\nlast\r\n");
    m.Undo();
    EXPECT_EQ(m.GetText(), "ab cd  \r\nxy   \r\nlast\r\n");
    m.Redo();
    EXPECT_EQ(m.GetText(), "ab\r\ncdxy   \r\nlast\r\n");

    // A block that ends past the column the caret can reach goes back whole.
    const std::string text = "x\r\n" + std::string(1100, 'w') + "\r\nlast";
    m.SetText(text);
    m.SetBlockBegin(Point(1, 2));
    m.SetBlockEnd(Point(1000, 2));
    drop = At(40, 3);
    edit.DragDrop(&edit, drop.x(), drop.y(), false);
    EXPECT_EQ(m.GetText(), "x\r\n" + std::string(101, 'w') + "\r\nlast" + std::string(35, ' ') +
                               std::string(999, 'w') + "\r\n");
    m.Undo();
    EXPECT_EQ(m.GetText(), text + "\r\n");
}

TEST_F(MouseFixture, ColumnBlockDropsOnItsOwnLines)
{
    m.SetText("abcdef\r\nabcdef");
    m.SetSelectionMode(smColumn);
    m.SetBlockBegin(Point(2, 1));
    m.SetBlockEnd(Point(4, 2));
    QPoint drop = At(6, 2);
    edit.DragDrop(&edit, drop.x(), drop.y(), false);
    EXPECT_EQ(m.GetText(), "adef\r\nadebc\r\nbcf\r\n");
    m.Undo();
    EXPECT_EQ(m.GetText(), "abcdef\r\nabcdef\r\n");
}

TEST_F(MouseFixture, WheelScrollsByTheConfiguredLines)
{
    m.SetText(ManyLines(500));
    m.SetTopLine(100);
    const int lines = std::min(QApplication::wheelScrollLines(), m.LinesInWindow());
    Wheel(-60);
    EXPECT_EQ(m.TopLine(), 100) << "half a notch waits for the other half";
    Wheel(-60);
    EXPECT_EQ(m.TopLine(), 100 + lines);
    Wheel(240);
    EXPECT_EQ(m.TopLine(), 100 - lines);
    Wheel(-120, Qt::ControlModifier);
    EXPECT_EQ(m.TopLine(), 100 - lines + m.LinesInWindow()) << "Ctrl scrolls by pages";
    m.SetOptions(m.Options() | mweoHalfPageScroll);
    Wheel(120, Qt::ControlModifier);
    EXPECT_EQ(m.TopLine(), 100 - lines + m.LinesInWindow() - m.LinesInWindow() / 2);
}

TEST_F(MouseFixture, AutoScrollStepsByLinesNearTheEdgeAndByPagesFarOut)
{
    m.SetText(ManyLines(500));
    Send(QEvent::MouseButtonPress, At(1, 1), Qt::LeftButton, Qt::LeftButton);
    const int height = edit.viewport()->height();
    bool far = true;
    EXPECT_FALSE(edit.AutoScrollStep(QPoint(100, 10), far)) << "inside: nothing to do";
    EXPECT_TRUE(edit.AutoScrollStep(QPoint(100, height + 3), far));
    EXPECT_FALSE(far);
    EXPECT_EQ(m.TopLine(), 2);
    EXPECT_EQ(m.CaretY(), 2 + m.LinesInWindow() - 1);
    EXPECT_EQ(m.BlockEnd(), m.CaretXY()) << "the selection follows";
    EXPECT_TRUE(edit.AutoScrollStep(QPoint(100, height + 50), far));
    EXPECT_TRUE(far) << "far out: no pause before the next pass";
    EXPECT_EQ(m.TopLine(), 2 + m.LinesInWindow());
    EXPECT_TRUE(edit.AutoScrollStep(QPoint(100, -20), far));
    EXPECT_EQ(m.TopLine(), 2);
    EXPECT_EQ(m.CaretY(), 2);
    Send(QEvent::MouseButtonRelease, At(1, 1), Qt::LeftButton, Qt::NoButton);
}

TEST_F(MouseFixture, CursorShowsWhereADragWouldStart)
{
    m.SetText("hello world");
    m.SetBlockBegin(Point(1, 1));
    m.SetBlockEnd(Point(6, 1));
    auto shapeAt = [&](QPoint p) {
        Send(QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
        return edit.viewport()->cursor().shape();
    };
    EXPECT_EQ(shapeAt(At(3, 1)), Qt::ArrowCursor);
    EXPECT_EQ(shapeAt(At(9, 1)), Qt::IBeamCursor);
    EXPECT_EQ(shapeAt(QPoint(2, 2)), Qt::ArrowCursor) << "the gutter's cursor";
    // At the cell edge right of the selection the cursor and a press agree.
    TPoint edge = edit.RowColumnToPixels(Point(6, 1));
    QPoint beforeEdge(edge.X - m.CharWidth() / 2 + 1, edge.Y + 2);
    EXPECT_EQ(shapeAt(beforeEdge), Qt::IBeamCursor) << "a press here would put the caret after the selection";
    m.SetOptions(m.Options() & ~mweoDragDropEditing);
    EXPECT_EQ(shapeAt(At(3, 1)), Qt::IBeamCursor);
}

TEST_F(MouseFixture, AMillionLinesScrollToTheEndAndBack)
{
    m.SetText(ManyLines(1000000));
    QScrollBar* bar = edit.verticalScrollBar();
    bar->setValue(bar->maximum());
    EXPECT_EQ(m.TopLine(), m.LineCount());
    bar->setValue(bar->minimum());
    EXPECT_EQ(m.TopLine(), 1);
    m.SetTopLine(654321);
    EXPECT_EQ(bar->value(), 654321) << "the thumb maps linearly onto the whole text";
    edit.horizontalScrollBar()->setValue(40);
    EXPECT_EQ(m.LeftChar(), 40);
}

TEST_F(MouseFixture, DroppedFilesReachTheHandlerWhateverTheirLength)
{
    std::vector<std::string> names;
    edit.OnDropFiles = [&](TmwCustomEdit*, int, int, TStrings& files) {
        for (int i = 0; i < files.Count(); ++i)
            names.push_back(files[i]);
    };
    std::string longName = "/tmp/" + std::string(400, 'n') + ".html";
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(longName)), QUrl::fromLocalFile("/tmp/b.asp")});
    auto drop = [&] {
        QDragEnterEvent enter(QPoint(80, 20), Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(edit.viewport(), &enter);
        QDropEvent event(QPointF(80, 20), Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(edit.viewport(), &event);
    };
    drop();
    EXPECT_TRUE(names.empty()) << "only with mweoDropFiles";
    m.SetOptions(m.Options() | mweoDropFiles);
    drop();
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0], longName);
    EXPECT_EQ(names[1], "/tmp/b.asp");
}

namespace {

// Records the keys that reach the editor's key handling.
class TKeyRecordingEdit : public TmwCustomEdit {
public:
    using TmwCustomEdit::TmwCustomEdit;
    void keyPressEvent(QKeyEvent* event) override
    {
        keys.push_back(event->key());
        event->accept();
    }
    std::vector<int> keys;
};

} // namespace

TEST(TmwCustomEditWindow, TabReachesAnEditorThatWantsTabs)
{
    QWidget window;
    auto* edit = new TKeyRecordingEdit(&window);
    auto* next = new TmwCustomEdit(&window);
    next->move(0, 200);
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    auto tab = [&] {
        edit->setFocus();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, "\t");
        QApplication::sendEvent(edit, &press);
        return QApplication::focusWidget();
    };
    EXPECT_EQ(tab(), next) << "by default Tab moves on";
    EXPECT_TRUE(edit->keys.empty());
    edit->Model().SetWantTabs(true);
    EXPECT_EQ(tab(), edit);
    EXPECT_EQ(edit->keys, std::vector<int>{Qt::Key_Tab});
}

TEST_F(MouseFixture, InputMethodTextIsTypedAsItsCharacters)
{
    m.SetText("ab");
    m.SetCaretXY(Point(2, 1));
    QInputMethodEvent event;
    event.setCommitString(QString::fromUtf8("\xc3\xa9\xe2\x82\xac"));
    QApplication::sendEvent(&edit, &event);
    EXPECT_EQ(m.GetText(), "a\xc3\xa9\xe2\x82\xac" "b\r\n");
    EXPECT_EQ(m.CaretXY(), Point(7, 1)) << "after the two characters' five bytes";
    EXPECT_EQ(m.DisplayColumn(m.CaretXY()), 4);
    QWidget& widget = edit;
    EXPECT_EQ(widget.inputMethodQuery(Qt::ImCursorRectangle).toRect().isValid(), edit.hasFocus())
        << "the composition window follows the caret";
}

TEST_F(MouseFixture, ThumbTrackingShowsTheTopLineHint)
{
    m.SetText(ManyLines(300));
    QScrollBar* bar = edit.verticalScrollBar();
    bar->setSliderDown(true);
    EXPECT_TRUE(m.StateFlags() & mwsfScrolling);
    bar->setValue(120);
    auto* hint = edit.findChild<QLabel*>();
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->text(), "TopLine: 120");
    bar->setSliderDown(false);
    EXPECT_FALSE(hint->isVisible());
    EXPECT_FALSE(m.StateFlags() & mwsfScrolling);

    m.SetOptions(m.Options() & ~mweoShowScrollHint);
    bar->setSliderDown(true);
    bar->setValue(150);
    EXPECT_FALSE(hint->isVisible()) << "only with mweoShowScrollHint";
    bar->setSliderDown(false);
}

TEST_F(MouseFixture, AutoScrollSidewaysByOneOrEightColumns)
{
    m.SetText(std::string(600, 'x'));
    m.SetLeftChar(100);
    Send(QEvent::MouseButtonPress, At(100, 1), Qt::LeftButton, Qt::LeftButton);
    bool far = false;
    EXPECT_TRUE(edit.AutoScrollStep(QPoint(m.GutterWidth() - 3, 5), far));
    EXPECT_EQ(m.LeftChar(), 99);
    EXPECT_EQ(m.CaretX(), 99);
    EXPECT_TRUE(edit.AutoScrollStep(QPoint(edit.viewport()->width() + 20, 5), far));
    EXPECT_EQ(m.LeftChar(), 107);
    EXPECT_EQ(m.CaretX(), 107 + m.CharsInWindow());
    EXPECT_FALSE(far);
    Send(QEvent::MouseButtonRelease, At(100, 1), Qt::LeftButton, Qt::NoButton);
}

// Keys as the user gives them, through the widget's event handling.
TEST_F(MouseFixture, LongLinesAreReachedWholeAndScrolledToTheirEnd)
{
    const std::string last(1500, 'x');
    m.SetText(ManyLines(80) + last);
    edit.setFocus();
    vx::test::EditorKey(edit, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(m.CaretXY(), Point(1501, 81)) << "the caret reaches the end of a line past the widest column";
    const int lastLeft = 1501 - m.CharsInWindow() + 1;
    EXPECT_GE(edit.horizontalScrollBar()->maximum(), lastLeft)
        << "the horizontal range reaches where the last page shows the longest line's end";
    EXPECT_LE(edit.horizontalScrollBar()->maximum(), lastLeft + lastLeft / 128) << "and goes on by a hundredth at most";
    edit.horizontalScrollBar()->setValue(edit.horizontalScrollBar()->maximum());
    EXPECT_EQ(m.LeftChar(), lastLeft) << "the view stops at the line's end";
    EXPECT_EQ(edit.horizontalScrollBar()->value(), lastLeft);
    EXPECT_GE(m.LeftChar() + m.CharsInWindow(), 1501) << "the caret is on screen";
    EXPECT_EQ(edit.horizontalScrollBar()->value(), m.LeftChar());

    // Both scroll positions change in one update: the view follows both.
    vx::test::EditorKey(edit, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(m.CaretXY(), Point(1, 1));
    EXPECT_EQ(m.TopLine(), 1);
    EXPECT_EQ(m.LeftChar(), 1);
    EXPECT_EQ(edit.verticalScrollBar()->value(), 1);
    EXPECT_EQ(edit.horizontalScrollBar()->value(), 1);
    for (int i = 0; i < 12; ++i)
        vx::test::EditorKey(edit, Qt::Key_PageDown);
    vx::test::EditorKey(edit, Qt::Key_End);
    vx::test::EditorKey(edit, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(m.TopLine(), 1) << "the top line is not taken back from the vertical bar's old value";
    EXPECT_EQ(m.LeftChar(), 1);

    vx::test::EditorKey(edit, Qt::Key_A, Qt::ControlModifier);
    vx::test::EditorKey(edit, Qt::Key_Delete);
    EXPECT_EQ(m.GetText(), "\r\n") << "Select All and Delete take every character";
    EXPECT_EQ(edit.horizontalScrollBar()->maximum(), 1024 - m.CharsInWindow() + 1)
        << "the range shrinks back with the long line gone";
    vx::test::EditorKey(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(m.GetText(), ManyLines(80) + last + "\r\n");
}

TEST_F(MouseFixture, DraggingOneScrollBarLeavesTheOtherPosition)
{
    m.SetText(ManyLines(200) + std::string(2000, 'y'));
    m.SetTopLine(50);
    edit.horizontalScrollBar()->setValue(300);
    EXPECT_EQ(m.LeftChar(), 300);
    EXPECT_EQ(m.TopLine(), 50);
    edit.verticalScrollBar()->setValue(120);
    EXPECT_EQ(m.TopLine(), 120);
    EXPECT_EQ(m.LeftChar(), 300);
}

// After every edit the anchor is where the caret went: a shift-click then
// selects from there, after typed text and after Backspace joined two lines.
TEST_F(MouseFixture, ShiftClickAfterAnEditSelectsFromTheCaret)
{
    m.SetText("hello\r\nab\r\ncd");
    Click(At(6, 1));
    vx::test::EditorType(edit, "xy");
    Click(At(2, 1), Qt::ShiftModifier);
    EXPECT_EQ(m.GetSelText(), "elloxy");

    Click(At(1, 3));
    vx::test::EditorKey(edit, Qt::Key_Backspace);
    ASSERT_EQ(m.Lines()[1], "abcd");
    Click(At(1, 2), Qt::ShiftModifier);
    EXPECT_EQ(m.GetSelText(), "ab");

    Click(At(3, 2));
    vx::test::EditorKey(edit, Qt::Key_Delete);
    vx::test::EditorKey(edit, Qt::Key_Return);
    Click(At(1, 1), Qt::ShiftModifier);
    EXPECT_EQ(m.GetSelText(), "helloxy\r\nab\r\n") << "after a line break the anchor is on the new line";
}

// A read-only editor's text is changed by none of the ways a user has: the
// actions the Edit menu runs, their keys, Delete and Backspace; the actions
// that would change it are disabled.
TEST_F(MouseFixture, NothingChangesAReadOnlyEditorsText)
{
    m.SetText("keep");
    m.SetReadOnly(true);
    m.SetWantTabs(true);
    QApplication::clipboard()->setText("PASTED");
    QAction cut, paste, copy;
    const auto select = [&] {
        Click(At(2, 1));
        Click(At(4, 1), Qt::ShiftModifier);
        ASSERT_EQ(m.GetSelText(), "ee");
    };
    select();
    ASSERT_TRUE(edit.UpdateAction(TmwEditAction::Cut, cut));
    ASSERT_TRUE(edit.UpdateAction(TmwEditAction::Paste, paste));
    ASSERT_TRUE(edit.UpdateAction(TmwEditAction::Copy, copy));
    EXPECT_FALSE(cut.isEnabled());
    EXPECT_FALSE(paste.isEnabled());
    EXPECT_TRUE(copy.isEnabled());
    edit.ExecuteAction(TmwEditAction::Cut);
    edit.ExecuteAction(TmwEditAction::Paste);
    for (int key : {Qt::Key_X, Qt::Key_V})
        vx::test::EditorKey(edit, key, Qt::ControlModifier);
    for (int key : {Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Return, Qt::Key_Tab}) {
        select();
        vx::test::EditorKey(edit, key);
    }
    vx::test::EditorType(edit, "typed");
    EXPECT_EQ(m.GetText(), "keep\r\n");
    EXPECT_EQ(QApplication::clipboard()->text(), "PASTED") << "a cut that changes nothing copies nothing";
    m.SetSelText("inserted");
    m.Undo();
    EXPECT_EQ(m.GetText(), "keep\r\n");
    m.SetReadOnly(false);
    select();
    cut.setEnabled(false);
    edit.UpdateAction(TmwEditAction::Cut, cut);
    EXPECT_TRUE(cut.isEnabled());
}

// Input-method text and a Tab typed over a selection take two undo steps: the
// first takes the typed text out, the second brings the selection back.
TEST_F(MouseFixture, TypingOverASelectionByInputMethodOrTabUndoesInTwoSteps)
{
    m.SetWantTabs(true);
    const auto overSelection = [&](const std::function<void()>& type, const std::string& typed) {
        m.SetText("one two three");
        Click(At(5, 1));
        Click(At(8, 1), Qt::ShiftModifier);
        type();
        ASSERT_EQ(m.GetText(), "one " + typed + " three\r\n");
        ASSERT_EQ(m.UndoList().Count(), 2);
        EXPECT_EQ(m.UndoList().Item(0).reason, mwcrDelete);
        EXPECT_EQ(m.UndoList().Item(1).reason, mwcrInsert);
        m.Undo();
        EXPECT_EQ(m.GetText(), "one  three\r\n") << "the typed text goes first";
        m.Undo();
        EXPECT_EQ(m.GetText(), "one two three\r\n");
        EXPECT_EQ(m.GetSelText(), "two");
    };
    overSelection(
        [&] {
            QInputMethodEvent event;
            event.setCommitString("ime");
            QApplication::sendEvent(&edit, &event);
        },
        "ime");
    m.SetOptions(m.Options() & ~mweoSmartTabs);
    m.SetTabWidth(2); // from column 8: one blank
    overSelection([&] { vx::test::EditorKey(edit, Qt::Key_Tab); }, " ");
}

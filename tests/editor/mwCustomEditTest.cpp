#include "editor/qt/mwCustomEdit.h"
#include "editor/qt/mwQtClipboard.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QImage>
#include <QMimeData>
#include <QScrollBar>

#include <gtest/gtest.h>

TEST(TmwCustomEdit, MeasuresItsWindowForTheModel)
{
    TmwCustomEdit edit;
    edit.resize(400, 300);
    edit.show();
    TmwCustomEditModel& m = edit.Model();
    QFontMetrics fm(edit.Font());
    ASSERT_GT(m.CharWidth(), 0);
    EXPECT_EQ(m.LineHeight(), fm.height());
    EXPECT_EQ(m.CharsInWindow(), (edit.viewport()->width() - m.GutterWidth() - 2) / m.CharWidth());
    EXPECT_EQ(m.LinesInWindow(), edit.viewport()->height() / m.LineHeight());
    int before = m.LinesInWindow();
    edit.resize(400, 600);
    EXPECT_GT(m.LinesInWindow(), before) << "a new size is measured again";

    m.SetText("first line\r\nsecond line");
    edit.setFocus();
    QImage shot = edit.grab().toImage();
    EXPECT_FALSE(shot.isNull());
}

TEST(TmwCustomEdit, FocusesAndKeepsTextWhileHidden)
{
    TmwCustomEdit hidden;
    TStringList lines;
    lines.Add("kept");
    hidden.Model().SetLines(lines);
    EXPECT_EQ(hidden.Model().GetText(), "kept\r\n");

    TmwCustomEdit edit;
    edit.show();
    edit.activateWindow();
    edit.setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(edit.hasFocus());
    EXPECT_EQ(edit.focusPolicy(), Qt::StrongFocus);
}

TEST(TmwCustomEdit, ColumnBlocksTravelBetweenEditorsOverTheSystemClipboard)
{
    TmwCustomEdit source;
    TmwCustomEditModel& a = source.Model();
    a.SetText("abc\r\ndef");
    a.SetSelectionMode(smColumn);
    a.SetBlockBegin(Point(2, 1));
    a.SetBlockEnd(Point(3, 2));
    a.CopyToClipboard();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), QString("b\r\ne")) << "other programs get the plain text with CR LF";
    EXPECT_TRUE(data->hasFormat("Vellumix Editor Block Type"));

    TmwCustomEdit target;
    TmwCustomEditModel& b = target.Model();
    b.SetText("xy\r\nzw\r\n");
    EXPECT_TRUE(b.CanPaste());
    b.SetCaretXY(Point(2, 1));
    b.PasteFromClipboard();
    EXPECT_EQ(b.GetText(), "xby\r\nzew\r\n") << "pasted as a column block";

    QGuiApplication::clipboard()->setText(QString::fromUtf8("plain \xc3\xa9"));
    TmwQtClipboard clipboard;
    EXPECT_FALSE(clipboard.HasBlock());
    EXPECT_EQ(clipboard.Text(), "plain \xc3\xa9") << "text arrives as its characters";
}

// The bars a window shows are those its ScrollBars property names, each
// where there is something to scroll.
TEST(TmwCustomEdit, BorderAndScrollBarsFollowTheModel)
{
    const struct {
        TScrollStyle bars;
        const char* text;
        bool horizontal;
        bool vertical;
    } rows[] = {
        {ssBoth, "two\r\nlines", true, true},
        {ssBoth, "one line", true, false},
        {ssVertical, "two\r\nlines", false, true},
        {ssHorizontal, "two\r\nlines", true, false},
        {ssNone, "two\r\nlines", false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text + std::string(" bars ") + std::to_string(row.bars));
        TmwCustomEdit edit;
        edit.resize(300, 200);
        edit.Model().SetScrollBars(row.bars);
        edit.Model().SetText(row.text);
        edit.show();
        QApplication::processEvents();
        EXPECT_EQ(edit.horizontalScrollBar()->isVisible(), row.horizontal);
        EXPECT_EQ(edit.verticalScrollBar()->isVisible(), row.vertical);
        // A line more gives the vertical bar something to scroll, a line less nothing again.
        edit.Model().Lines().Add("more");
        QApplication::processEvents();
        EXPECT_EQ(edit.verticalScrollBar()->isVisible(), row.bars == ssVertical || row.bars == ssBoth);
        edit.Model().SetText("one line");
        QApplication::processEvents();
        EXPECT_FALSE(edit.verticalScrollBar()->isVisible());
    }
    TmwCustomEdit edit;
    EXPECT_EQ(edit.frameShape(), QFrame::StyledPanel);
    edit.Model().SetBorderStyle(bsNone);
    EXPECT_EQ(edit.frameShape(), QFrame::NoFrame);
}

TEST(TmwCustomEdit, StandardEditActions)
{
    TmwCustomEdit edit;
    edit.Model().SetText("cut me");
    QAction cut("Cut");
    cut.setEnabled(true);
    EXPECT_FALSE(edit.UpdateAction(TmwEditAction::Cut, cut)) << "unfocused: left alone";
    EXPECT_TRUE(cut.isEnabled());

    edit.show();
    edit.activateWindow();
    edit.setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(edit.hasFocus());
    EXPECT_TRUE(edit.UpdateAction(TmwEditAction::Cut, cut));
    EXPECT_FALSE(cut.isEnabled()) << "nothing selected";
    edit.Model().SetBlockEnd(Point(4, 1));
    edit.UpdateAction(TmwEditAction::Cut, cut);
    EXPECT_TRUE(cut.isEnabled());
    edit.ExecuteAction(TmwEditAction::Cut);
    EXPECT_EQ(edit.Model().GetText(), " me\r\n");
    QAction paste("Paste");
    edit.UpdateAction(TmwEditAction::Paste, paste);
    EXPECT_TRUE(paste.isEnabled());
    edit.ExecuteAction(TmwEditAction::Paste);
    EXPECT_EQ(edit.Model().GetText(), "cut me\r\n");
}

#include "editor/qt/mwCustomEdit.h"
#include "editor/qt/mwQtClipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QImage>
#include <QMimeData>

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
    EXPECT_EQ(clipboard.Text(), "plain \xe9") << "text arrives as Windows-1252";
}

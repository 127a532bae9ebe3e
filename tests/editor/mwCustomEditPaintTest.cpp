#include "editor/qt/SysColors.h"
#include "editor/qt/mwCustomEdit.h"
#include "editor/qt/mwImageList.h"
#include "editor/qt/uTextDrawer.h"
#include "highlighters/wmPageHighlighterSet.h"
#include "tests/editor/support/BraceHighlighter.h"
#include "tests/editor/support/EditRender.h"
#include "tests/editor/support/EditorKeys.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <tuple>

using vx::test::CellBackground;
using vx::test::CellInk;
using vx::test::RenderEdit;

namespace {

constexpr TColor kPaper = clWhite;
constexpr TColor kSelBack = 0x00C08000; // a blue no palette gives
constexpr TColor kSelFore = clYellow;

// An editor with plain RGB colours everywhere, so pixels can be compared.
struct PaintFixture : ::testing::Test {
    PaintFixture()
    {
        edit.resize(500, 300);
        m.SetColor(kPaper);
        edit.SetFontColor(clBlack);
        m.SelectedColor().SetBackground(kSelBack);
        m.SelectedColor().SetForeground(kSelFore);
        m.Gutter().SetColor(clSilver);
        m.SetRightEdge(0);
    }
    TColor Back(int column, int line) { return CellBackground(edit, image, Point(column, line)); }
    // The columns 1..count of a line whose cells show the selection's background.
    std::string SelectedCells(int line, int count)
    {
        std::string cells;
        for (int c = 1; c <= count; ++c)
            cells += Back(c, line) == kSelBack ? 'S' : '.';
        return cells;
    }

    TmwCustomEdit edit;
    TmwCustomEditModel& m = edit.Model();
    QImage image;
};

// Records which painting steps ran.
class TCountingEdit : public TmwCustomEdit {
public:
    void PaintGutter(QPainter& canvas, const QRect& clip, int first, int last) override
    {
        ++gutter;
        TmwCustomEdit::PaintGutter(canvas, clip, first, last);
    }
    void PaintTextLines(QPainter& canvas, const QRect& clip, int first, int last, int firstCol,
                        int lastCol) override
    {
        ++text;
        lines = {first, last};
        columns = {firstCol, lastCol};
        TmwCustomEdit::PaintTextLines(canvas, clip, first, last, firstCol, lastCol);
    }
    int gutter = 0;
    int text = 0;
    std::pair<int, int> lines;
    std::pair<int, int> columns;
};

} // namespace

TEST(TmwCustomEditGeometry, CellsAndPixelsAgreeBothWays)
{
    TmwCustomEdit edit;
    edit.resize(400, 300);
    TmwCustomEditModel& m = edit.Model();
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += std::string(300, 'x') + "\r\n";
    m.SetText(text);
    const int cw = m.CharWidth();
    for (auto [left, top] : {std::pair{1, 1}, std::pair{7, 12}}) {
        m.SetLeftChar(left);
        m.SetTopLine(top);
        for (TPoint cell : {Point(left, top), Point(left + 5, top + 3), Point(left + 20, top + 9)}) {
            TPoint px = edit.RowColumnToPixels(cell);
            EXPECT_EQ(edit.PixelsToRowColumn(px.X, px.Y), cell);
            // The boundary nearest the click: the left half of a cell is before it, the right half after it.
            EXPECT_EQ(edit.PixelsToRowColumn(px.X + cw / 2 - 1, px.Y).X, cell.X);
            EXPECT_EQ(edit.PixelsToRowColumn(px.X + cw / 2 + 1, px.Y).X, cell.X + 1);
            EXPECT_EQ(edit.PixelsToRowColumn(px.X, px.Y + m.LineHeight() - 2).Y, cell.Y);
        }
    }
    m.SetLeftChar(1);
    m.SetTopLine(1);
    edit.SetCaretAtPixel(m.GutterWidth() + 2 + 3 * cw, 2 * m.LineHeight() + 1);
    EXPECT_EQ(m.CaretXY(), Point(4, 3));
}

TEST(TmwCustomEditGeometry, GutterWidthFollowsTheLineCount)
{
    TmwCustomEdit edit;
    edit.resize(400, 300);
    TmwCustomEditModel& m = edit.Model();
    m.Gutter().SetShowLineNumbers(true);
    m.Gutter().SetAutoSize(true);
    const int cw = m.CharWidth();
    auto expected = [&](int digits) { return m.Gutter().LeftOffset() + m.Gutter().RightOffset() + digits * cw + 2; };
    m.SetText("a\r\nb");
    EXPECT_EQ(m.GutterWidth(), expected(4));
    std::string many;
    for (int i = 0; i < 123456; ++i)
        many += "line\r\n";
    m.SetText(many);
    EXPECT_EQ(m.GutterWidth(), expected(6));
    EXPECT_EQ(m.TextOffset(), m.GutterWidth() + 2);
    EXPECT_EQ(m.CharsInWindow(), (edit.viewport()->width() - m.GutterWidth() - 2) / cw);
    m.SetText("short");
    EXPECT_EQ(m.GutterWidth(), expected(4)) << "and shrinks again";
}

namespace {

// Every character of the sample, plain and bold, takes the same width: what the
// editor's grid of cells relies on, whichever font the machine gave.
void ExpectEveryCellAlike(const QFont& font, const char* what)
{
    const QString sample = QStringLiteral("iWm. 0_|MlL{}\t");
    for (bool bold : {false, true}) {
        QFont styled = font;
        styled.setBold(bold);
        const QFontMetricsF metrics(styled);
        const qreal width = metrics.horizontalAdvance(QLatin1Char('W'));
        for (QChar c : sample)
            if (c != QLatin1Char('\t')) {
                EXPECT_NEAR(metrics.horizontalAdvance(c), width, 0.01)
                    << what << ": '" << c.toLatin1() << "' bold " << bold << " in " << QFontInfo(styled).family().toStdString();
            }
    }
}

} // namespace

TEST(TmwCustomEditGeometry, FixedPitchWhateverTheFontAsked)
{
    TmwCustomEdit edit;
    ExpectEveryCellAlike(edit.TextDrawer().BaseFont(), "the default Courier New or its stand-in");
    for (const char* family : {"DejaVu Sans", "Noto Sans Mono", "Liberation Mono", "NoSuchFontAnywhere", "Serif"}) {
        edit.SetFont(QFont(family, 14));
        ExpectEveryCellAlike(edit.TextDrawer().BaseFont(), family);
        EXPECT_EQ(edit.Font().pointSize(), 14) << family;
    }
}

TEST(TmwCustomEditPaint, ClipDecidesWhatIsPainted)
{
    TCountingEdit edit;
    edit.resize(400, 300);
    TmwCustomEditModel& m = edit.Model();
    m.SetText("one\r\ntwo\r\nthree\r\nfour");
    QImage image(edit.viewport()->size(), QImage::Format_RGB32);
    QPainter painter(&image);
    const int gw = m.GutterWidth();
    edit.Paint(painter, QRect(0, 0, gw, 100));
    EXPECT_EQ(edit.gutter, 1);
    EXPECT_EQ(edit.text, 0) << "a clip wholly in the gutter paints no text";
    edit.Paint(painter, QRect(gw, 0, 100, 100));
    EXPECT_EQ(edit.gutter, 1) << "a clip right of the gutter paints no gutter";
    EXPECT_EQ(edit.text, 1);
    const int lh = m.LineHeight();
    edit.Paint(painter, QRect(gw + 2 + 3 * m.CharWidth(), lh + 1, 10, lh));
    EXPECT_EQ(edit.lines.first, 2) << "rows above the clip are not painted";
    EXPECT_LE(edit.lines.second, 4);
    EXPECT_EQ(edit.columns.first, 4);
    edit.Paint(painter, QRect(gw, 3 * lh, 100, 10 * lh));
    EXPECT_EQ(edit.lines, std::make_pair(4, 4)) << "never past the last line";
}

// A long line painted far from its start, from the highlighter states that
// earlier paints kept along it and after typing there, looks exactly as in
// an editor that paints the same view scanning the line from its start.
TEST(TmwCustomEditPaint, FarAlongALongLineAsFromTheLineStart)
{
    TwmPageHighlighterSet page;
    std::string line;
    for (int i = 0; line.size() < 60000; ++i)
        line += i % 7 == 0   ? "<% total = \"\xC3\xA9t\xC3\xA9\" %>\t"
                : i % 5 == 0 ? "<script>var \xE4\xBD\xA0 = 1; /* c */</script>"
                             : "<b class=\"w\">word</b> &amp; ";
    TmwCustomEdit painted;
    painted.resize(500, 200);
    TmwCustomEditModel& m = painted.Model();
    m.SetHighLighter(&page.multi);
    m.SetText(line + "\r\nend");
    for (int left : {1, 5000, 20000, 30000, 29950}) {
        m.SetLeftChar(left);
        RenderEdit(painted);
    }
    m.SetCaretXY(m.CharPoint(30010, 1));
    for (char c : std::string("<i \"x"))
        m.CommandProcessor(ecChar, c, nullptr);
    const QImage image = RenderEdit(painted);

    TmwCustomEdit fresh;
    fresh.resize(500, 200);
    fresh.Model().SetHighLighter(&page.multi);
    fresh.Model().SetText(m.GetText());
    fresh.Model().SetLeftChar(m.LeftChar());
    fresh.Model().SetCaretXY(m.CaretXY());
    EXPECT_TRUE(RenderEdit(fresh) == image);
    fresh.Model().SetHighLighter(nullptr);
    m.SetHighLighter(nullptr);
}

TEST_F(PaintFixture, SelectionCrossingTokensColoursExactlyTheSelectedCells)
{
    TBraceHighlighter hl;
    hl.text->SetBackground(clLime);
    hl.text->SetForeground(clBlack);
    hl.comment->SetBackground(clAqua);
    hl.comment->SetForeground(clNavy);
    m.SetHighLighter(&hl);
    m.SetText("ab{cd}ef gh\r\nsecond");
    m.SetBlockBegin(Point(2, 1));
    m.SetBlockEnd(Point(9, 1));
    image = RenderEdit(edit);
    EXPECT_EQ(SelectedCells(1, 14), ".SSSSSSS......");
    EXPECT_EQ(Back(1, 1), clLime);
    EXPECT_EQ(Back(10, 1), clLime);
    EXPECT_EQ(Back(12, 1), kPaper) << "past the text: the default background";
    EXPECT_EQ(SelectedCells(2, 8), "........");
    // The selected glyphs are drawn in the selection's foreground.
    TPoint px = edit.RowColumnToPixels(Point(4, 1));
    bool selectedInk = false; // yellow ink has red; the selection's blue has none
    for (int y = px.Y; y < px.Y + m.LineHeight() - 1; ++y)
        for (int x = px.X; x < px.X + m.CharWidth(); ++x)
            selectedInk = selectedInk || qRed(image.pixel(x, y)) > 160;
    EXPECT_TRUE(selectedInk);
    m.SetHighLighter(nullptr);
}

TEST_F(PaintFixture, SelectionModesAcrossLines)
{
    m.SetText("abcdef\r\nabcdef\r\nabcdef");
    m.SetBlockBegin(Point(3, 1));
    m.SetBlockEnd(Point(2, 3));
    image = RenderEdit(edit);
    EXPECT_EQ(SelectedCells(1, 9), "..SSSSSSS") << "normal: from the begin column past the line end";
    EXPECT_EQ(SelectedCells(2, 9), "SSSSSSSSS");
    EXPECT_EQ(SelectedCells(3, 9), "S........");

    m.SetSelectionMode(smColumn);
    m.SetBlockBegin(Point(5, 1));
    m.SetBlockEnd(Point(3, 3));
    image = RenderEdit(edit);
    for (int line = 1; line <= 3; ++line)
        EXPECT_EQ(SelectedCells(line, 9), "..SS.....") << "column: the same columns on every line";

    m.SetSelectionMode(smLine);
    m.SetBlockBegin(Point(4, 2));
    m.SetBlockEnd(Point(5, 2));
    image = RenderEdit(edit);
    EXPECT_EQ(SelectedCells(1, 12), "............");
    EXPECT_EQ(SelectedCells(2, 12), "SSSSSSSSSSSS") << "line: the blank area right of the text too";
}

TEST_F(PaintFixture, HiddenSelectionWithoutFocus)
{
    m.SetText("abcdef");
    m.SetBlockBegin(Point(1, 1));
    m.SetBlockEnd(Point(4, 1));
    m.SetHideSelection(true);
    ASSERT_FALSE(edit.hasFocus());
    image = RenderEdit(edit);
    EXPECT_EQ(SelectedCells(1, 6), "......");
    m.SetHideSelection(false);
    image = RenderEdit(edit);
    EXPECT_EQ(SelectedCells(1, 6), "SSS...");
}

TEST_F(PaintFixture, SpecialLinesReplaceTokenColoursAndInvertTheSelection)
{
    TBraceHighlighter hl;
    hl.text->SetBackground(clLime);
    hl.comment->SetBackground(clNone);
    hl.comment->SetForeground(clNone);
    m.SetHighLighter(&hl);
    m.SetText("ab{cd}\r\nab{cd}");
    m.OnSpecialLineColors = [](TmwCustomEditModel*, int line, bool& special, TColor& fg, TColor& bg) {
        if (line == 2) {
            special = true;
            fg = clRed;
            bg = clTeal;
        }
    };
    m.SetBlockBegin(Point(1, 2));
    m.SetBlockEnd(Point(2, 2));
    image = RenderEdit(edit);
    EXPECT_EQ(Back(4, 1), kPaper) << "clNone takes the default background";
    EXPECT_EQ(Back(4, 2), clTeal);
    EXPECT_EQ(Back(2, 2), clTeal);
    EXPECT_EQ(Back(1, 2), clRed) << "selected text on a special line is inverted";
    m.SetHighLighter(nullptr);
}

TEST_F(PaintFixture, RightEdgeAndTabs)
{
    m.SetText("\tX");
    image = RenderEdit(edit);
    const TPoint edge = Point(m.TextOffset() + 5 * m.CharWidth(), 0);
    EXPECT_EQ(QColor(image.pixel(edge.X, 40)), vx::ToQColor(kPaper)) << "RightEdge 0 draws no line";
    m.SetRightEdge(5);
    m.SetRightEdgeColor(clRed);
    image = RenderEdit(edit);
    EXPECT_EQ(QColor(image.pixel(edge.X, 40)), vx::ToQColor(clRed)) << "also below the last line";

    m.SetRightEdge(0);
    m.SetTabWidth(0);
    image = RenderEdit(edit);
    EXPECT_EQ(CellInk(edit, image, Point(1, 1)), 0);
    EXPECT_GT(CellInk(edit, image, Point(2, 1)), 0) << "tab width 0 expands a tab to one cell";
    m.SetTabWidth(4);
    image = RenderEdit(edit);
    EXPECT_EQ(CellInk(edit, image, Point(2, 1)), 0);
    EXPECT_GT(CellInk(edit, image, Point(5, 1)), 0);
}

TEST_F(PaintFixture, LinesWithTabsShowTheSelectionWhereItsCharactersAre)
{
    m.SetText("\tabcdef\r\nxy\tz");
    m.SetTabWidth(4);
    m.SetBlockBegin(Point(2, 1));
    m.SetBlockEnd(Point(4, 1));
    ASSERT_EQ(m.GetSelText(), "ab");
    image = RenderEdit(edit);
    EXPECT_EQ(SelectedCells(1, 10), "....SS....") << "the cells of a and b, after the tab's four";

    m.SetSelectionMode(smColumn);
    m.SetBlockBegin(Point(3, 1));
    m.SetBlockEnd(Point(4, 2));
    ASSERT_EQ(m.GetSelText(), "b\r\n\t");
    image = RenderEdit(edit);
    EXPECT_EQ(SelectedCells(1, 10), ".....S....");
    EXPECT_EQ(SelectedCells(2, 10), "..SS......") << "each line's block where its characters show: here a tab";
    m.SetSelectionMode(smNormal);

    // Caret and clicks: a character column shows at its tab-expanded cell and back.
    for (auto [column, line, cell] : {std::tuple{1, 1, 1}, {2, 1, 5}, {8, 1, 11}, {10, 1, 13}, {3, 2, 3},
                                      {4, 2, 5}, {5, 2, 6}}) {
        const TPoint px = edit.RowColumnToPixels(Point(column, line));
        EXPECT_EQ(px.X, m.TextOffset() + (cell - 1) * m.CharWidth()) << column << "," << line;
        EXPECT_EQ(edit.PixelsToRowColumn(px.X, px.Y), Point(column, line)) << column << "," << line;
    }
    // A click inside the tab's cells goes to the nearer side of the tab.
    const int cw = m.CharWidth();
    EXPECT_EQ(edit.PixelsToRowColumn(m.TextOffset() + cw + 1, 1).X, 1);
    EXPECT_EQ(edit.PixelsToRowColumn(m.TextOffset() + 3 * cw + 1, 1).X, 2);
}

TEST_F(PaintFixture, GutterShowsNumbersAndBookmarks)
{
    m.SetText("a\r\nb\r\nc");
    m.SetBookMark(3, 1, 2);
    image = RenderEdit(edit);
    const int lh = m.LineHeight();
    const int left = m.BookMarkOptions().LeftMargin();
    auto inkInRow = [&](int row, int x0, int x1) {
        int ink = 0;
        for (int y = row * lh; y < (row + 1) * lh; ++y)
            for (int x = x0; x < x1; ++x)
                ink += QColor(image.pixel(x, y)) != vx::ToQColor(clSilver);
        return ink;
    };
    EXPECT_EQ(inkInRow(0, left, left + 12), 0);
    EXPECT_GT(inkInRow(1, left, left + 12), 0) << "the bookmark's glyph on its line";

    m.Gutter().SetShowLineNumbers(true);
    m.Gutter().SetLeftOffset(0);
    m.BookMarkOptions().SetGlyphsVisible(false);
    image = RenderEdit(edit);
    EXPECT_GT(inkInRow(0, 0, m.GutterWidth() - 2), 0) << "line numbers";
    EXPECT_EQ(inkInRow(4, 0, m.GutterWidth() - 2), 0) << "no number below the text";
}

TEST_F(PaintFixture, MarksDrawFromTheBookmarkImageListUntilItIsGone)
{
    m.SetText("a\r\nb\r\nc");
    auto images = std::make_unique<TImageList>(8, 8);
    QPixmap red(8, 8);
    red.fill(Qt::red);
    images->Add(red);
    m.BookMarkOptions().SetBookmarkImages(images.get());
    m.SetBookMark(0, 1, 2);
    ASSERT_FALSE(m.Marks().Items(0)->InternalImage()) << "a bookmark placed with a list uses it";
    auto mark = std::make_unique<TMark>(&m);
    mark->SetLine(3);
    mark->SetImageIndex(5); // beyond the list: not drawn
    mark->SetVisible(true);
    m.Marks().Add(std::move(mark));
    image = RenderEdit(edit);
    const int lh = m.LineHeight();
    const int left = m.BookMarkOptions().LeftMargin();
    auto redInRow = [&](int row) {
        int n = 0;
        for (int y = row * lh; y < (row + 1) * lh; ++y)
            for (int x = left; x < left + 8; ++x)
                n += QColor(image.pixel(x, y)) == QColor(Qt::red);
        return n;
    };
    EXPECT_EQ(redInRow(1), 64) << "the list's picture at the left margin, row top";
    EXPECT_EQ(redInRow(2), 0);

    images.reset();
    EXPECT_EQ(m.BookMarkOptions().BookmarkImages(), nullptr) << "a destroyed list is dropped";
    image = RenderEdit(edit);
    EXPECT_EQ(redInRow(1), 0);
}

TEST(TheTextDrawer, FontsAreSharedAndTheDistanceArrayGrowsInSteps)
{
    int before = GetFontsInfoManager().Count();
    {
        QFont font("DejaVu Sans Mono", 11);
        TheTextDrawer a(TFontStyles(fsBold), font);
        TheTextDrawer b(TFontStyles(), font);
        EXPECT_EQ(GetFontsInfoManager().Count(), before + 1) << "one record for both";
        b.SetStyle(fsItalic | fsUnderline);
        EXPECT_EQ(GetFontsInfoManager().Count(), before + 1) << "every style shares its base font's record";

        QImage image(800, 40, QImage::Format_RGB32);
        QPainter painter(&image);
        a.BeginDrawing(painter);
        a.BeginDrawing(painter);
        std::string text(70, 'i');
        a.ExtTextOut(0, 0, etoOpaque, QRect(0, 0, 800, 20), text.data(), static_cast<int>(text.size()));
        EXPECT_EQ(a.DistanceCapacity(), 128);
        a.EndDrawing();
        a.EndDrawing();
        EXPECT_THROW(a.SetBaseFont(nullptr), EheTextDrawerException);
        try {
            a.SetBaseFont(nullptr);
        } catch (const EheTextDrawerException& e) {
            EXPECT_STREQ(e.what(), "SetBaseFont: 'Value' must be specified.");
        }
    }
    EXPECT_EQ(GetFontsInfoManager().Count(), before) << "the record goes with its last user";
}

TEST(TheTextDrawer, EveryByteTakesOneCell)
{
    TheTextDrawer drawer(TFontStyles(), QFont("DejaVu Sans", 12));
    const int cw = drawer.CharWidth();
    QImage image(40 * cw, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    drawer.SetForeColor(clBlack);
    drawer.BeginDrawing(painter);
    std::string text = std::string("iiiiWWWW") + '\0' + "M";
    drawer.TextOut(0, 0, text.data(), static_cast<int>(text.size()));
    drawer.EndDrawing();
    auto inkIn = [&](int cell) {
        int ink = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = cell * cw; x < (cell + 1) * cw; ++x)
                ink += image.pixel(x, y) != qRgb(255, 255, 255);
        return ink;
    };
    EXPECT_GT(inkIn(9), 0) << "the M after the NUL stays in the tenth cell";
    EXPECT_EQ(inkIn(10), 0);
    EXPECT_GT(inkIn(0), 0);
}

// Text clipped to its rectangle paints what a clip of the painter to that
// rectangle lets through, whether its ink fits (the drawer then sets no
// clip) or reaches out: wide, tall and slanted glyphs, rectangles cutting
// into the text, fonts of fixed and of varying pitch.
TEST(TheTextDrawer, ClippedTextPaintsWhatAClipToItsRectangleLets)
{
    const std::string text = std::string("iW@_|gj(Q") + "\xC6\xFF\xC5\x85" + "mw";
    const int count = static_cast<int>(text.size());
    for (const QFont& font : {QFont("DejaVu Sans Mono", 10), QFont("DejaVu Sans", 12)})
        for (TFontStyles style : {TFontStyles(), TFontStyles(fsBold), TFontStyles(fsItalic),
                                  TFontStyles(fsBold) | fsItalic, TFontStyles(fsUnderline), TFontStyles(fsStrikeOut)}) {
            TheTextDrawer drawer(TFontStyles(), font);
            drawer.SetStyle(style);
            const int cw = drawer.CharWidth();
            const int ch = drawer.CharHeight();
            const QRect cells(2 * cw, ch, count * cw, ch);
            for (const QRect& rect : {cells, cells.adjusted(cw / 2, 0, -cw / 2, 0), cells.adjusted(0, 3, 0, -3),
                                      cells.adjusted(-cw, -2, cw, 2)}) {
                SCOPED_TRACE(font.family().toStdString() + " style " + std::to_string(style.Bits()) +
                             " rect " + std::to_string(rect.x()) + "," + std::to_string(rect.y()) + " " +
                             std::to_string(rect.width()) + "x" + std::to_string(rect.height()));
                auto draw = [&](bool painterClip) {
                    QImage image((count + 4) * cw, 3 * ch, QImage::Format_RGB32);
                    image.fill(Qt::white);
                    QPainter painter(&image);
                    if (painterClip)
                        painter.setClipRect(rect);
                    drawer.SetForeColor(clBlack);
                    drawer.SetBackColor(clYellow);
                    drawer.BeginDrawing(painter);
                    drawer.ExtTextOut(cells.x(), cells.y(), etoOpaque | (painterClip ? 0u : unsigned(etoClipped)), rect,
                                      text.data(), count);
                    drawer.EndDrawing();
                    return image;
                };
                EXPECT_TRUE(draw(false) == draw(true));
            }
        }
}

TEST_F(PaintFixture, MarksOfOneLineStandSideBySideAndOnPaintFollows)
{
    m.SetText("a\r\nb");
    auto mark = std::make_unique<TMark>(&m);
    mark->SetLine(1);
    mark->SetImageIndex(5);
    mark->SetVisible(true);
    mark->SetInternalImage(true);
    m.Marks().Add(std::move(mark));
    m.SetBookMark(1, 1, 1);
    int painted = 0;
    edit.OnPaint = [&](TmwCustomEdit* sender, QPainter& canvas) {
        ++painted;
        EXPECT_EQ(sender, &edit);
        canvas.fillRect(QRect(400, 200, 4, 4), Qt::red);
    };
    image = RenderEdit(edit);
    EXPECT_EQ(painted, 1);
    EXPECT_EQ(QColor(image.pixel(401, 201)), QColor(Qt::red)) << "OnPaint draws over the text";
    const int left = m.BookMarkOptions().LeftMargin();
    const int step = m.BookMarkOptions().Xoffset();
    auto ink = [&](int x0) {
        int n = 0;
        for (int y = 0; y < m.LineHeight(); ++y)
            for (int x = x0; x < x0 + step; ++x)
                n += QColor(image.pixel(x, y)) != vx::ToQColor(clSilver);
        return n;
    };
    EXPECT_GT(ink(left), 0) << "the plain mark first";
    EXPECT_GT(ink(left + step), 0) << "then the bookmark beside it";
    edit.OnPaint = nullptr;
}

namespace {

// Counts the paint events of the widgets it watches.
class TPaintCounter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++counts[watched];
        return false;
    }
    std::map<QObject*, int> counts;
};

} // namespace

// Typing into a long line and scrolling repaint the text area; the frame
// and the scroll bars are repainted only when what they show changes.
TEST(TmwCustomEditPaint, TextRepaintsTouchOnlyTheTextArea)
{
    TmwCustomEdit edit;
    TmwCustomEditModel& m = edit.Model();
    edit.resize(400, 300);
    edit.show();
    m.SetText(std::string(100000, 'a') + "\r\nsecond");
    m.SetCaretXY(Point(40, 1));
    edit.setFocus();
    QApplication::processEvents();
    TPaintCounter counter;
    for (QWidget* w : std::initializer_list<QWidget*>{&edit, edit.viewport(), edit.horizontalScrollBar(),
                                                      edit.verticalScrollBar()})
        w->installEventFilter(&counter);
    vx::test::EditorType(edit, "xy");
    QApplication::processEvents();
    m.Invalidate();
    QApplication::processEvents();
    EXPECT_GE(counter.counts[edit.viewport()], 2);
    EXPECT_EQ(counter.counts[&edit], 0) << "the frame";
    EXPECT_EQ(counter.counts[edit.horizontalScrollBar()], 0);
    EXPECT_EQ(counter.counts[edit.verticalScrollBar()], 0);
    m.SetLeftChar(200);
    QApplication::processEvents();
    EXPECT_GE(counter.counts[edit.horizontalScrollBar()], 1) << "the bar shows where the view went";
}

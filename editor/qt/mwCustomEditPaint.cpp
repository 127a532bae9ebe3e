// The editor control's painting: gutter with line numbers and mark glyphs,
// text lines token by token in the highlighter's colours, the selection in
// its three modes, special line colours, the right edge and the caret.
#include "editor/mwHighlighter.h"
#include "editor/mwPaintScan.h"
#include "editor/mwWholeCharacters.h"
#include "editor/qt/SysColors.h"
#include "editor/qt/mwCustomEdit.h"
#include "editor/qt/mwImageList.h"
#include "editor/qt/mwInternalImage.h"
#include "editor/qt/uTextDrawer.h"
#include "platform/Utf8.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <tuple>
#include <vector>

namespace {

// A stretch of one line drawn in one style and pair of colours; columns are
// 1-based cells, and a character takes one or two of them.
struct TRun {
    int Column = 0; // first column
    std::string Text;
    int Cells = 0;
    TFontStyles Style;
    TColor Fore = 0;
    TColor Back = 0;
};

// The bytes of run that show in its cells first..last: from the start of the
// character holding cell first to the end of the one holding cell last;
// startCell receives the cell where the first of them starts.
std::string_view CellsOfRun(const TRun& run, int first, int last, int& startCell)
{
    const std::string_view text = run.Text;
    if (run.Cells == static_cast<int>(text.size())) { // one cell a byte
        startCell = first;
        const auto from = static_cast<size_t>(first - run.Column);
        return from < text.size() ? text.substr(from, static_cast<size_t>(last - first + 1)) : std::string_view();
    }
    size_t byte = 0;
    int cell = run.Column;
    size_t length = 0;
    while (byte < text.size()) {
        const int cells = vx::utf8::CellsAt(text, byte, &length);
        if (cell + cells > first)
            break;
        cell += cells;
        byte += length;
    }
    startCell = std::min(cell, first);
    const size_t from = byte;
    while (byte < text.size() && cell <= last) {
        cell += vx::utf8::CellsAt(text, byte, &length);
        byte += length;
    }
    return text.substr(from, byte - from);
}

// The bytes a token's text begins with that finish the character before
// it: the rest of a character cut short (a highlighter may end a token
// inside one), and the zero-width characters that follow it, which are
// drawn with it.
std::size_t FinishingBytes(std::string_view text, bool afterCut)
{
    std::size_t at = 0;
    while (afterCut && at < text.size() && at < 3 && vx::utf8::IsTrail(text[at]))
        ++at;
    return vx::utf8::SkipZeroWidth(text, at);
}

TFontStyles StyleOf(const QFont& font)
{
    return TFontStyles::FromBits((font.bold() ? fsBold : 0) | (font.italic() ? fsItalic : 0) |
                                 (font.underline() ? fsUnderline : 0) | (font.strikeOut() ? fsStrikeOut : 0));
}

bool OnlyBlanks(const std::string& s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return c == ' '; });
}

// What one line looks like: its colours and the columns selected on it.
struct TLineLook {
    TColor Fore = 0;
    TColor Back = 0;
    TColor SelFore = 0;
    TColor SelBack = 0;
    bool Special = false;
    int SelStart = 0; // selected columns SelStart .. SelEnd - 1
    int SelEnd = 0;
    bool Wholly = false;
};

// Paints the lines of one PaintTextLines call.
class TLinePainter {
public:
    TLinePainter(TmwCustomEdit& edit, int firstCol, int lastCol)
        : edit_(edit), m_(edit.Model()), drawer_(edit.TextDrawer()), scan_(m_, m_.PaintStates()), firstCol_(firstCol),
          lastCol_(lastCol)
    {
    }

    void SetSelection(bool shown, TPoint begin, TPoint end)
    {
        selShown_ = shown;
        selBegin_ = begin;
        selEnd_ = end;
    }

    void PaintLine(int line, TColor defaultBack, TFontStyles fontStyle);

private:
    int ColumnX(int column) const { return m_.TextOffset() + (column - 1) * m_.CharWidth(); }
    void SelectedColumns(int line, TLineLook& look) const;
    void DrawPart(const TRun& run, int first, int last, TColor fore, TColor back, int top);
    void DrawRun(const TRun& run, const TLineLook& look, int top);

    TmwCustomEdit& edit_;
    TmwCustomEditModel& m_;
    TheTextDrawer& drawer_;
    TmwPaintScan scan_;
    TmwPaintLine shown_; // reused from line to line
    int firstCol_;
    int lastCol_;
    bool selShown_ = false;
    TPoint selBegin_;
    TPoint selEnd_;
};

void TLinePainter::SelectedColumns(int line, TLineLook& look) const
{
    look.SelStart = look.SelEnd = 0;
    if (!selShown_ || line < selBegin_.Y || line > selEnd_.Y)
        return;
    TSelectionMode mode = m_.SelectionMode();
    int start = firstCol_;
    int end = lastCol_ + 1;
    bool partly = false;
    // The block's columns are the line's characters: painted where they show.
    // A column block's are character columns, the same on every line.
    const bool column = mode == smColumn;
    const int begin = m_.DisplayColumn(column ? m_.BytePoint(Point(selBegin_.X, line)) : Point(selBegin_.X, line));
    const int finish = m_.DisplayColumn(column ? m_.BytePoint(Point(selEnd_.X, line)) : Point(selEnd_.X, line));
    if (mode == smColumn || (mode == smNormal && line == selBegin_.Y)) {
        if (begin > lastCol_)
            return;
        if (begin > firstCol_) {
            start = begin;
            partly = true;
        }
    }
    if (mode == smColumn || (mode == smNormal && line == selEnd_.Y)) {
        if (finish < firstCol_)
            return;
        // At lastCol too: the last column drawn is then not selected.
        if (finish <= lastCol_) {
            end = finish;
            partly = true;
        }
    }
    look.SelStart = start;
    look.SelEnd = end;
    look.Wholly = !partly && start > 0;
}

void TLinePainter::DrawPart(const TRun& run, int first, int last, TColor fore, TColor back, int top)
{
    if (last < first)
        return;
    QRect cells(ColumnX(first), top, (last - first + 1) * m_.CharWidth(), m_.LineHeight());
    // A wide character cut by the part's edge is drawn whole and clipped.
    int startCell = first;
    const std::string_view text = CellsOfRun(run, first, last, startCell);
    drawer_.SetForeColor(fore);
    drawer_.SetBackColor(back);
    drawer_.ExtTextOut(ColumnX(startCell), top, etoOpaque | etoClipped, cells, text.empty() ? nullptr : text.data(),
                       static_cast<int>(text.size()));
}

void TLinePainter::DrawRun(const TRun& run, const TLineLook& look, int top)
{
    int first = std::max(run.Column, firstCol_);
    int last = std::min(run.Column + run.Cells - 1, lastCol_);
    if (last < first)
        return;
    drawer_.SetStyle(run.Style);
    TColor fore = look.Special ? look.Fore : run.Fore;
    TColor back = look.Special ? look.Back : run.Back;
    if (look.SelEnd <= look.SelStart) {
        DrawPart(run, first, last, fore, back, top);
        return;
    }
    int selFirst = std::max(first, look.SelStart);
    int selLast = std::min(last, look.SelEnd - 1);
    if (selLast < selFirst) {
        DrawPart(run, first, last, fore, back, top);
        return;
    }
    DrawPart(run, first, selFirst - 1, fore, back, top);
    DrawPart(run, selFirst, selLast, look.SelFore, look.SelBack, top);
    DrawPart(run, selLast + 1, last, fore, back, top);
}

void TLinePainter::PaintLine(int line, TColor defaultBack, TFontStyles fontStyle)
{
    const int top = (line - m_.TopLine()) * m_.LineHeight();
    scan_.Scan(line - 1, firstCol_, lastCol_, shown_);
    TLineLook look;
    SelectedColumns(line, look);
    look.Fore = edit_.FontColor();
    look.Back = defaultBack;
    look.Special = m_.DoOnSpecialLineColors(line, look.Fore, look.Back);
    if (look.Special) {
        look.SelFore = look.Back;
        look.SelBack = look.Fore;
    } else {
        look.SelFore = m_.SelectedColor().Foreground();
        look.SelBack = m_.SelectedColor().Background();
    }

    const bool merging = !look.Special && !look.Wholly;
    TRun run;
    bool haveRun = false;
    for (TmwPaintToken& token : shown_.Tokens) {
        // What finishes a character goes with it, in its token's colours; left
        // of the view, where the character is not drawn, it is not either.
        const bool afterCut = !haveRun || CutCharacterStart(run.Text) < run.Text.size();
        if (const std::size_t finishing = FinishingBytes(token.Text, afterCut);
            finishing > 0 && (haveRun || token.Column > 1)) {
            if (haveRun)
                run.Text.append(token.Text, 0, finishing);
            token.Text.erase(0, finishing);
            if (token.Text.empty())
                continue;
        }
        TRun next{token.Column, std::move(token.Text), token.Cells, fontStyle, look.Fore, look.Back};
        if (const TmwHighLightAttributes* attr = token.Attribute) {
            next.Style = attr->Style();
            next.Back = attr->Background() == clNone ? defaultBack : attr->Background();
            next.Fore = attr->Foreground() == clNone ? edit_.FontColor() : attr->Foreground();
        }
        if (haveRun) {
            bool blank = OnlyBlanks(run.Text);
            bool fits = (run.Style == next.Style || blank) &&
                        (!merging || (run.Back == next.Back && (run.Fore == next.Fore || blank)));
            if (fits) {
                if (blank) {
                    run.Style = next.Style;
                    run.Fore = next.Fore;
                }
                run.Text += next.Text;
                run.Cells += next.Cells;
            } else {
                DrawRun(run, look, top);
                run = std::move(next);
            }
        } else {
            run = std::move(next);
            haveRun = true;
        }
    }
    if (haveRun)
        DrawRun(run, look, top);

    // Past the text: the line's background, selected cells in the selection colours.
    const int endCol = std::max(firstCol_, shown_.EndColumn);
    if (endCol > lastCol_)
        return;
    TRun tail{endCol, std::string(), 0, fontStyle, look.Fore, look.Back};
    int selFirst = std::max(endCol, look.SelStart);
    int selLast = std::min(lastCol_, look.SelEnd - 1);
    if (look.SelEnd <= look.SelStart || selLast < selFirst) {
        DrawPart(tail, endCol, lastCol_, look.Fore, look.Back, top);
    } else {
        DrawPart(tail, endCol, selFirst - 1, look.Fore, look.Back, top);
        DrawPart(tail, selFirst, selLast, look.SelFore, look.SelBack, top);
        DrawPart(tail, selLast + 1, lastCol_, look.Fore, look.Back, top);
    }
}

QRect CutRect(QRect r, int left, int right)
{
    r.setLeft(std::max(r.left(), left));
    r.setRight(std::min(r.right(), right - 1));
    return r;
}

} // namespace

void TmwCustomEdit::SetFontColor(TColor value)
{
    if (value == fontColor_)
        return;
    fontColor_ = value;
    model_->Invalidate();
}

void TmwCustomEdit::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    Paint(painter, event->rect());
}

void TmwCustomEdit::Paint(QPainter& canvas, const QRect& clip)
{
    const TmwCustomEditModel& m = *model_;
    const int cw = m.CharWidth();
    const int lh = m.LineHeight();
    const int gw = m.GutterWidth();
    const int right = clip.x() + clip.width(); // exclusive
    const int bottom = clip.y() + clip.height();
    int firstCol = clip.x() > gw + 2 ? m.LeftChar() + (clip.x() - gw - 2) / cw : m.LeftChar();
    int lastCol = firstCol + (right - gw - 2 + cw - 1) / cw;
    int firstLine = std::max(m.TopLine() + clip.y() / lh, m.TopLine());
    int lastLine = std::min(m.TopLine() + (bottom + lh - 1) / lh, m.LineCount());

    if (clip.x() < gw)
        PaintGutter(canvas, CutRect(clip, clip.x(), gw), firstLine, lastLine);
    if (gw < right)
        PaintTextLines(canvas, CutRect(clip, gw, right), firstLine, lastLine, firstCol, lastCol);
    if (OnPaint) {
        canvas.save();
        canvas.setFont(font_);
        canvas.setBrush(vx::ToQColor(m.Color()));
        OnPaint(this, canvas);
        canvas.restore();
    }
    caretRect_ = CaretRect();
    if (caretRect_.intersects(clip)) {
        canvas.save();
        canvas.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        canvas.fillRect(caretRect_, Qt::white);
        canvas.restore();
    }
}

QRect TmwCustomEdit::CaretRect() const
{
    if (!model_ || !hasFocus() || model_->HasOption(mweoNoCaret))
        return QRect(); // (the model asks for a caret while it is being built)
    const TmwCustomEditModel& m = *model_;
    const int cw = m.CharWidth();
    const int lh = m.LineHeight();
    int width = cw, height = lh - 2, dx = 0, dy = 0;
    switch (m.InsertMode() ? m.InsertCaret() : m.OverwriteCaret()) {
    case ctVerticalLine:
        width = 2;
        dx = -1;
        break;
    case ctHorizontalLine:
        height = 2;
        dy = lh - 2;
        break;
    case ctHalfBlock:
        height = (lh - 2) / 2;
        dy = height;
        break;
    case ctBlock:
        break;
    }
    int x = m.TextOffset() + (m.DisplayColumn(m.CaretXY()) - 1) * cw + dx;
    int y = (m.CaretY() - m.TopLine()) * lh + dy;
    if (x < m.GutterWidth() || x >= viewport()->width() || y < 0 || y >= viewport()->height())
        return QRect();
    return QRect(x, y, width, std::max(height, 1));
}

void TmwCustomEdit::PaintGutter(QPainter& canvas, const QRect& clip, int firstLine, int lastLine)
{
    TmwCustomEditModel& m = *model_;
    TmwGutter& gutter = m.Gutter();
    const int lh = m.LineHeight();
    const int gw = m.GutterWidth();
    const int bottom = clip.y() + clip.height();
    if (gutter.ShowLineNumbers()) {
        TheTextDrawer& drawer = *textDrawer_;
        drawer.BeginDrawing(canvas);
        drawer.SetBackColor(gutter.Color());
        drawer.SetForeColor(fontColor_);
        drawer.SetStyle(gutter.UseFontStyle() ? StyleOf(font_) : TFontStyles());
        QRect row(clip.x(), 0, std::max(clip.x() + clip.width(), gw - 2) - clip.x(), lh);
        int rowTop = clip.y();
        for (int line = firstLine; line <= lastLine; ++line) {
            row.moveTop((line - m.TopLine()) * lh);
            std::string number = gutter.FormatLineNumber(line);
            drawer.ExtTextOut(gutter.LeftOffset(), row.top(), etoOpaque | etoClipped, row, number.data(),
                              static_cast<int>(number.size()));
            rowTop = row.bottom() + 1;
        }
        if (rowTop < bottom)
            drawer.ExtTextOut(0, 0, etoOpaque, QRect(row.x(), rowTop, row.width(), bottom - rowTop), nullptr, 0);
        drawer.EndDrawing();
    } else {
        canvas.fillRect(clip, vx::ToQColor(gutter.Color()));
    }
    if (clip.x() + clip.width() >= gw - 2) {
        canvas.fillRect(QRect(gw - 2, clip.y(), 1, clip.height()), vx::ToQColor(clBtnHighlight));
        canvas.fillRect(QRect(gw - 1, clip.y(), 1, clip.height()), vx::ToQColor(clBtnShadow));
    }

    TmwBookMarkOpt& options = m.BookMarkOptions();
    TMarkList& marks = m.Marks();
    if (!options.GlyphsVisible() || marks.Count() == 0 || lastLine < firstLine)
        return;
    if (!internalImage_)
        internalImage_ = std::make_unique<TmwInternalImage>("mweInternalImages", m.BookmarkCount);
    std::vector<int> offsets(static_cast<size_t>(lastLine - m.TopLine() + 1), 0);
    for (bool bookmarks : {false, true}) {
        for (int i = 0; i < marks.Count(); ++i) {
            TMark* mark = marks.Items(i);
            if (!mark->Visible() || mark->IsBookmark() != bookmarks || mark->Line() < firstLine ||
                mark->Line() > lastLine)
                continue;
            int& offset = offsets[static_cast<size_t>(mark->Line() - m.TopLine())];
            const int x = options.LeftMargin() + offset;
            const int y = (mark->Line() - m.TopLine()) * lh;
            if (TImageList* images = options.BookmarkImages(); images && !mark->InternalImage()) {
                if (mark->ImageIndex() >= images->Count())
                    continue;
                images->Draw(canvas, mark->ImageIndex(), x, y);
            } else {
                if (mark->ImageIndex() < 0 || mark->ImageIndex() > 9)
                    continue;
                internalImage_->DrawMark(canvas, mark->ImageIndex(), x, y, lh);
            }
            offset += options.Xoffset();
        }
    }
}

void TmwCustomEdit::PaintTextLines(QPainter& canvas, const QRect& clip, int firstLine, int lastLine, int firstCol,
                                   int lastCol)
{
    TmwCustomEditModel& m = *model_;
    const int gw = m.GutterWidth();
    const int lh = m.LineHeight();
    TColor defaultBack = m.Color();
    TmwCustomHighLighter* hl = m.HighLighter();
    if (hl)
        if (TmwHighLightAttributes* space = hl->GetDefaultAttribute(0); space && space->Background() != clNone)
            defaultBack = space->Background();

    QRect rc = clip;
    if (rc.x() < gw + 2) {
        canvas.fillRect(QRect(gw, rc.y(), 2, rc.height()), vx::ToQColor(defaultBack));
        rc.setLeft(gw + 2);
    }
    const bool showSelection = m.SelAvail() && !(m.HideSelection() && !hasFocus());
    TPoint selBegin = m.BlockBegin();
    TPoint selEnd = m.BlockEnd();
    if (m.SelectionMode() == smColumn)
        std::tie(selBegin.X, selEnd.X) = m.BlockColumns();
    TLinePainter painter(*this, firstCol, lastCol);
    painter.SetSelection(showSelection && selBegin.Y <= lastLine && selEnd.Y >= firstLine, selBegin, selEnd);

    const TFontStyles fontStyle = StyleOf(font_);
    textDrawer_->SetStyle(fontStyle);
    textDrawer_->BeginDrawing(canvas);
    for (int line = firstLine; line <= lastLine; ++line)
        painter.PaintLine(line, defaultBack, fontStyle);
    textDrawer_->EndDrawing();

    int below = std::max(rc.y(), (lastLine - m.TopLine() + 1) * lh);
    int bottom = rc.y() + rc.height();
    if (below < bottom && rc.width() > 0)
        canvas.fillRect(QRect(rc.x(), below, rc.width(), bottom - below), vx::ToQColor(defaultBack));
    if (m.RightEdge() > 0) {
        int x = m.RightEdge() * m.CharWidth() + m.TextOffset();
        if (x >= rc.x() && x < rc.x() + rc.width())
            canvas.fillRect(QRect(x, rc.y(), 1, rc.height()), vx::ToQColor(m.RightEdgeColor()));
    }
}

// The editor control's mouse and window-message handling: clicks,
// shift-clicks, double-click word selection, drag selection with timer-driven
// auto-scroll, gutter clicks, drag and drop of text and of files, the wheel,
// the cursor shape, the scroll bars with their top-line hint, the tab key in
// dialogs, and input-method text.
#include "editor/mwHighlighter.h"
#include "editor/mwStrConst.h"
#include "editor/qt/mwCustomEdit.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>

#include <algorithm>

namespace {

// Marks a drag that carries an editor's selection.
constexpr char kTextDragFormat[] = "application/x-vellumix-editor-drag";

constexpr int kAutoScrollPause = 100; // ms between auto-scroll passes near the window
constexpr int kWheelUnit = 120;

// Character classes for word selection without a highlighter: every byte of
// a character of several bytes is taken for a letter, so a word never ends
// inside one.
int CharClass(unsigned char c)
{
    if (c == '_' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0x80)
        return 1;
    if (c <= ' ')
        return 0;
    return 2;
}

// Where point p lies once the block bb..be dragged out of the text is removed.
TPoint AfterBlockRemoved(TPoint p, TPoint bb, TPoint be, TSelectionMode mode)
{
    switch (mode) {
    case smNormal:
        if (p.Y == be.Y)
            return Point(bb.X + p.X - be.X, bb.Y);
        if (p.Y > be.Y)
            return Point(p.X, p.Y - (be.Y - bb.Y));
        return p;
    case smColumn: {
        int left = std::min(bb.X, be.X);
        int right = std::max(bb.X, be.X);
        if (p.Y >= bb.Y && p.Y <= be.Y && p.X >= right)
            return Point(p.X - (right - left), p.Y);
        return p;
    }
    case smLine:
        if (p.Y > be.Y)
            return Point(p.X, p.Y - (be.Y - bb.Y + 1));
        return p;
    }
    return p;
}

// Whether dropping at p would put the block back into itself.
bool InsideBlock(TPoint p, TPoint bb, TPoint be, TSelectionMode mode)
{
    switch (mode) {
    case smNormal:
        return !PointBefore(p, bb) && !PointBefore(be, p);
    case smColumn:
        return p.Y >= bb.Y && p.Y <= be.Y && p.X >= std::min(bb.X, be.X) && p.X <= std::max(bb.X, be.X);
    case smLine:
        return p.Y >= bb.Y && p.Y <= be.Y;
    }
    return false;
}

} // namespace

void TmwCustomEdit::InitMouseAndScrolling()
{
    autoScrollTimer_ = new QTimer(this);
    autoScrollTimer_->setSingleShot(true);
    connect(autoScrollTimer_, &QTimer::timeout, this, [this] { AutoScrollTimeout(); });
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    viewport()->setMouseTracking(true);
    setAttribute(Qt::WA_InputMethodEnabled);
    QScrollBar* bar = verticalScrollBar();
    connect(bar, &QScrollBar::sliderPressed, this, [this] { model_->SetStateFlag(mwsfScrolling, true); });
    connect(bar, &QScrollBar::sliderReleased, this, [this] {
        model_->SetStateFlag(mwsfScrolling, false);
        ShowScrollHint(false);
    });
}

// ---------------------------------------------------------------- positions

TPoint TmwCustomEdit::PixelsToRowColumn(int x, int y) const
{
    return PointAtPixel(x, model_->TopLine() + y / model_->LineHeight());
}

TPoint TmwCustomEdit::PointAtPixel(int x, int line) const
{
    const TmwCustomEditModel& m = *model_;
    const long long cw = m.CharWidth();
    // The nearest cell boundary, halves away from zero.
    long long twice = 2 * (static_cast<long long>(m.LeftChar()) * cw + x - m.GutterWidth() - 2);
    long long column = twice >= 0 ? (twice + cw) / (2 * cw) : -((-twice + cw) / (2 * cw));
    // The cell is where the line shows; the point is in the line's characters.
    if (column < 1)
        return Point(static_cast<int>(column), line);
    return m.CharPoint(static_cast<int>(column), line);
}

TPoint TmwCustomEdit::RowColumnToPixels(TPoint rowColumn) const
{
    const TmwCustomEditModel& m = *model_;
    return Point((m.DisplayColumn(rowColumn) - 1) * m.CharWidth() + m.TextOffset(),
                 (rowColumn.Y - m.TopLine()) * m.LineHeight() + 1);
}

void TmwCustomEdit::SetCaretAtPixel(int x, int y) { model_->SetCaretXY(PixelsToRowColumn(x, y)); }

// ---------------------------------------------------------------- clicks

void TmwCustomEdit::mousePressEvent(QMouseEvent* event)
{
    TmwCustomEditModel& m = *model_;
    const QPoint p = event->position().toPoint();
    const bool selected = m.SelAvail();
    // The selection stays for the menu.
    if (event->button() == Qt::RightButton && event->buttons() == Qt::RightButton && popupMenu_ && selected)
        return;
    if (event->button() == Qt::LeftButton && selected) {
        dragBlockBegin_ = m.BlockBegin();
        dragBlockEnd_ = m.BlockEnd();
        mouseDownPoint_ = p;
    }
    SetCaretAtPixel(p.x(), p.y());
    if (event->button() == Qt::LeftButton) {
        mouseCaptured_ = true;
        m.SetStateFlag(mwsfWaitForDragging, false);
        if (selected && m.HasOption(mweoDragDropEditing) && m.IsPointInSelection(m.CaretXY()) &&
            p.x() >= m.GutterWidth() + 2) {
            m.SetStateFlag(mwsfWaitForDragging, true);
        } else if (!(m.StateFlags() & mwsfDblClicked)) {
            if (event->modifiers() & Qt::ShiftModifier)
                m.SetBlockEnd(m.CaretXY());
            else
                m.SetBlockBegin(m.CaretXY());
        }
    }
    if (p.x() < m.GutterWidth())
        m.SetStateFlag(mwsfGutterClicked, true);
    setFocus(Qt::MouseFocusReason);
    event->accept();
}

void TmwCustomEdit::mouseMoveEvent(QMouseEvent* event)
{
    TmwCustomEditModel& m = *model_;
    const QPoint p = event->position().toPoint();
    UpdateCursorShape(p);
    if (mouseCaptured_ && (m.StateFlags() & mwsfWaitForDragging)) {
        QPoint moved = p - mouseDownPoint_;
        int distance = QApplication::startDragDistance();
        if (std::abs(moved.x()) >= distance || std::abs(moved.y()) >= distance) {
            m.SetStateFlag(mwsfWaitForDragging, false);
            StartTextDrag();
        }
        return;
    }
    if (!(event->buttons() & Qt::LeftButton) || !mouseCaptured_)
        return;
    bool inside = p.x() >= m.GutterWidth() && p.x() < viewport()->width() && p.y() >= 0 &&
                  p.y() < viewport()->height();
    if (inside) {
        StopAutoScroll();
        SetCaretAtPixel(p.x(), p.y());
        m.SetBlockEnd(m.CaretXY());
    } else if (!autoScrollTimer_->isActive()) {
        m.SetStateFlag(mwsfScrolling, true);
        autoScrollTimer_->start(0);
    }
}

void TmwCustomEdit::mouseReleaseEvent(QMouseEvent* event)
{
    TmwCustomEditModel& m = *model_;
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::RightButton && popupMenu_ && m.SelAvail())
        return;
    mouseCaptured_ = false;
    StopAutoScroll();
    if ((m.StateFlags() & mwsfGutterClicked) && p.x() < m.GutterWidth()) {
        m.DoOnGutterClick(p.x(), p.y());
    } else if ((m.StateFlags() & mwsfWaitForDragging) && !(m.StateFlags() & mwsfDblClicked)) {
        // A plain click inside the selection: no drag came of it.
        SetCaretAtPixel(p.x(), p.y());
        m.SetBlockBegin(m.CaretXY());
        m.SetBlockEnd(m.CaretXY());
        m.SetStateFlag(mwsfWaitForDragging, false);
    }
    m.SetStateFlag(mwsfDblClicked | mwsfGutterClicked, false);
    event->accept();
}

void TmwCustomEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    TmwCustomEditModel& m = *model_;
    if (event->button() == Qt::LeftButton && event->position().x() > m.GutterWidth() + 2) {
        SetWordBlock(m.CaretXY());
        m.SetStateFlag(mwsfDblClicked, true);
        mouseCaptured_ = false;
    }
    event->accept();
}

void TmwCustomEdit::SetWordBlock(TPoint value)
{
    TmwCustomEditModel& m = *model_;
    int y = std::clamp(value.Y, 1, m.LineCount());
    int x = std::clamp(value.X, 1, m.ColumnLimit(y));
    std::string t = m.Lines().Get(y - 1);
    t += '\0';
    const int length = static_cast<int>(t.size());
    if (length <= x) {
        m.SetCaretXY(Point(length, y));
        m.SetBlockBegin(m.CaretXY());
        return;
    }
    int start = x;
    int end = x;
    if (TmwCustomHighLighter* hl = m.HighLighter()) {
        TCharSet word = hl->GetIdentChars();
        while (end <= length && InSet(word, t[static_cast<size_t>(end - 1)]))
            ++end;
        end = std::min(end, length);
        while (start > 1 && InSet(word, t[static_cast<size_t>(start - 2)]))
            --start;
    } else {
        int cls = CharClass(static_cast<unsigned char>(t[static_cast<size_t>(x - 1)]));
        while (end < length && CharClass(static_cast<unsigned char>(t[static_cast<size_t>(end - 1)])) == cls)
            ++end;
        while (start > 1 && CharClass(static_cast<unsigned char>(t[static_cast<size_t>(start - 2)])) == cls)
            --start;
    }
    m.SetBlockBegin(Point(start, y));
    m.SetBlockEnd(Point(end, y));
    m.SetCaretXY(Point(end, y));
    m.InvalidateLine(y);
    m.StatusChanged(mwscSelection);
}

// ---------------------------------------------------------------- auto-scroll

bool TmwCustomEdit::AutoScrollStep(QPoint pos, bool& far)
{
    TmwCustomEditModel& m = *model_;
    const int gw = m.GutterWidth();
    const int width = viewport()->width();
    const int height = viewport()->height();
    far = false;
    if (pos.x() >= gw && pos.x() < width && pos.y() >= 0 && pos.y() < height)
        return false;
    m.IncPaintLock();
    if (pos.x() < gw) {
        int d = gw - pos.x();
        m.SetLeftChar(m.LeftChar() - (d < 10 ? 1 : 8));
        far = far || d >= 42;
        m.SetCaretXY(m.CharPoint(m.LeftChar(), PixelsToRowColumn(pos.x(), pos.y()).Y));
        m.SetBlockEnd(m.CaretXY());
    } else if (pos.x() >= width) {
        int d = pos.x() - width;
        m.SetLeftChar(m.LeftChar() + (d < 10 ? 1 : 8));
        far = far || d >= 42;
        m.SetCaretXY(m.CharPoint(m.LeftChar() + m.CharsInWindow(), PixelsToRowColumn(pos.x(), pos.y()).Y));
        m.SetBlockEnd(m.CaretXY());
    }
    if (pos.y() >= height) {
        int d = pos.y() - height;
        m.SetTopLine(m.TopLine() + (d < 10 ? 1 : m.LinesInWindow()));
        far = far || d >= 42;
        m.SetCaretXY(PointAtPixel(pos.x(), m.TopLine() + m.LinesInWindow() - 1));
        m.SetBlockEnd(m.CaretXY());
    } else if (pos.y() < 0) {
        m.SetTopLine(m.TopLine() - (pos.y() <= -10 ? m.LinesInWindow() : 1));
        far = far || pos.y() < -41;
        m.SetCaretXY(PointAtPixel(pos.x(), m.TopLine()));
        m.SetBlockEnd(m.CaretXY());
    }
    m.DecPaintLock();
    return true;
}

void TmwCustomEdit::AutoScrollTimeout()
{
    bool far = false;
    if (!mouseCaptured_ || !AutoScrollStep(viewport()->mapFromGlobal(QCursor::pos()), far)) {
        StopAutoScroll();
        return;
    }
    autoScrollTimer_->start(far ? 0 : kAutoScrollPause);
}

void TmwCustomEdit::StopAutoScroll()
{
    autoScrollTimer_->stop();
    model_->SetStateFlag(mwsfScrolling, false);
}

// ---------------------------------------------------------------- wheel, cursor, menu

void TmwCustomEdit::wheelEvent(QWheelEvent* event)
{
    TmwCustomEditModel& m = *model_;
    int step;
    if (event->modifiers() & Qt::ControlModifier)
        step = m.HasOption(mweoHalfPageScroll) ? m.LinesInWindow() / 2 : m.LinesInWindow();
    else
        step = QApplication::wheelScrollLines();
    if (step < 0 || step > m.LinesInWindow())
        step = m.LinesInWindow();
    wheelAccumulator_ += event->angleDelta().y();
    while (wheelAccumulator_ >= kWheelUnit) {
        wheelAccumulator_ -= kWheelUnit;
        m.SetTopLine(m.TopLine() - step);
    }
    while (wheelAccumulator_ <= -kWheelUnit) {
        wheelAccumulator_ += kWheelUnit;
        m.SetTopLine(m.TopLine() + step);
    }
    viewport()->update();
    event->accept();
}

void TmwCustomEdit::UpdateCursorShape(QPoint pos)
{
    const TmwCustomEditModel& m = *model_;
    Qt::CursorShape shape = Qt::ArrowCursor; // the gutter's
    if (pos.x() >= m.GutterWidth()) {
        // The same cell a press there would put the caret in.
        TPoint cell = PixelsToRowColumn(pos.x(), pos.y());
        bool dragHere = m.HasOption(mweoDragDropEditing) && m.IsPointInSelection(cell);
        shape = dragHere ? Qt::ArrowCursor : Qt::IBeamCursor;
    }
    if (viewport()->cursor().shape() != shape)
        viewport()->setCursor(shape);
}

void TmwCustomEdit::contextMenuEvent(QContextMenuEvent* event)
{
    if (!popupMenu_) {
        event->ignore();
        return;
    }
    popupMenu_->popup(event->globalPos());
    event->accept();
}

// ---------------------------------------------------------------- drag and drop

void TmwCustomEdit::StartTextDrag()
{
    auto* data = new QMimeData;
    data->setText(vx::ToQString(model_->GetSelText()));
    data->setData(kTextDragFormat, QByteArray());
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
    mouseCaptured_ = false;
}

void TmwCustomEdit::dragEnterEvent(QDragEnterEvent* event)
{
    const QMimeData* data = event->mimeData();
    if (event->source() == this && data->hasFormat(kTextDragFormat) && !model_->GetReadOnly()) {
        event->setDropAction(event->modifiers() & Qt::ControlModifier ? Qt::CopyAction : Qt::MoveAction);
        event->accept();
    } else if (model_->HasOption(mweoDropFiles) && OnDropFiles && data->hasUrls()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void TmwCustomEdit::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->source() != this) {
        event->acceptProposedAction();
        return;
    }
    event->setDropAction(event->modifiers() & Qt::ControlModifier ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
    const QPoint p = event->position().toPoint();
    SetCaretAtPixel(p.x(), p.y());
}

void TmwCustomEdit::dragLeaveEvent(QDragLeaveEvent* event)
{
    // The button is still held only while this editor's own drag runs.
    if (mouseCaptured_)
        SetCaretAtPixel(mouseDownPoint_.x(), mouseDownPoint_.y());
    event->accept();
}

void TmwCustomEdit::dropEvent(QDropEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (event->source() == this) {
        bool copy = event->modifiers() & Qt::ControlModifier;
        DragDrop(event->source(), p.x(), p.y(), copy);
        event->setDropAction(copy ? Qt::CopyAction : Qt::MoveAction);
        event->accept();
        return;
    }
    if (!model_->HasOption(mweoDropFiles) || !OnDropFiles) {
        event->ignore();
        return;
    }
    TStringList files;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            files.Add(vx::FromQPath(url.toLocalFile()));
    event->acceptProposedAction();
    if (files.Count() > 0)
        OnDropFiles(this, p.x(), p.y(), files);
}

void TmwCustomEdit::DragDrop(QObject* source, int x, int y, bool copy)
{
    TmwCustomEditModel& m = *model_;
    if (m.GetReadOnly() || source != this || !m.SelAvail())
        return;
    m.IncPaintLock();
    SetCaretAtPixel(x, y);
    const TPoint bb = m.BlockBegin();
    const TPoint be = m.BlockEnd();
    const TSelectionMode mode = m.SelectionMode();
    TPoint drop = m.CaretXY();
    // A column block and the drop are compared in character columns.
    TPoint blockBegin = bb;
    TPoint blockEnd = be;
    TPoint dropColumn = drop;
    if (mode == smColumn) {
        const auto [left, right] = m.BlockColumns();
        blockBegin = Point(left, bb.Y);
        blockEnd = Point(right, be.Y);
        dropColumn = m.ColumnPoint(drop);
    }
    if (InsideBlock(dropColumn, blockBegin, blockEnd, mode)) {
        m.DecPaintLock();
        return;
    }
    const std::string text = m.GetSelText();
    if (!copy) {
        m.UndoList().AddChange(mwcrDragDropDelete, m.RecordedPoint(m.RawBlockBegin(), mode),
                               m.RecordedPoint(m.RawBlockEnd(), mode), m.SelTextForUndo(), mode,
                               m.LineTails(bb.Y, be.Y - bb.Y + 1));
        m.SetSelTextPrimitive("");
        drop = AfterBlockRemoved(dropColumn, blockBegin, blockEnd, mode);
        if (mode == smColumn)
            drop = m.BytePoint(drop);
    }
    const TmwEditorOptions options = m.Options();
    m.SetOptions(options | mweoScrollPastEol);
    m.SetCaretXY(drop);
    m.SetBlockBegin(drop);
    const TPoint start = m.CaretXY();
    std::vector<std::string> tails = m.LineTails(start.Y, 1);
    m.SetSelTextPrimitive(text);
    m.SetOptions(options);
    m.UndoList().AddChange(mwcrDragDropInsert, start, m.InsertedEnd(smNormal, start, text), "", smNormal,
                           std::move(tails));
    m.DecPaintLock();
}

// ---------------------------------------------------------------- scroll bars

void TmwCustomEdit::scrollContentsBy(int dx, int dy)
{
    if (updatingBars_)
        return; // the bars only show what the model already holds
    TmwCustomEditModel& m = *model_;
    if (dx != 0) {
        m.SetLeftChar(horizontalScrollBar()->value());
        // Past a long line's end (the range goes on a little) the view stops, and the bar with it.
        if (horizontalScrollBar()->value() != m.LeftChar())
            UpdateScrollBars();
    }
    if (dy != 0)
        m.SetTopLine(verticalScrollBar()->value());
    if (verticalScrollBar()->isSliderDown())
        ShowScrollHint(m.HasOption(mweoShowScrollHint));
}

void TmwCustomEdit::ShowScrollHint(bool show)
{
    if (!show) {
        if (scrollHint_)
            scrollHint_->hide();
        return;
    }
    if (!scrollHint_) {
        scrollHint_ = new QLabel(this, Qt::ToolTip);
        scrollHint_->setForegroundRole(QPalette::ToolTipText);
        scrollHint_->setBackgroundRole(QPalette::ToolTipBase);
        scrollHint_->setAutoFillBackground(true);
        scrollHint_->setMargin(2);
        scrollHint_->setMaximumWidth(200);
    }
    // The table's text, as a translation may word it, with the line in place of %d.
    std::string hint = mwRes::TopLine;
    if (const size_t at = hint.find("%d"); at != std::string::npos)
        hint.replace(at, 2, std::to_string(model_->TopLine()));
    scrollHint_->setText(vx::ToQString(hint));
    scrollHint_->adjustSize();
    QPoint topRight = viewport()->mapToGlobal(QPoint(viewport()->width() - 4, 10));
    scrollHint_->move(topRight.x() - scrollHint_->width(), topRight.y());
    scrollHint_->show();
}

// ---------------------------------------------------------------- dialog keys

bool TmwCustomEdit::focusNextPrevChild(bool next)
{
    // Qt asks only for Tab and Shift+Tab without Ctrl: with Ctrl the key reaches the editor anyway.
    if (model_->WantTabs())
        return false;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

// ---------------------------------------------------------------- input method

void TmwCustomEdit::inputMethodEvent(QInputMethodEvent* event)
{
    // Composed text arrives here only, never again as key events.
    std::string text = vx::FromQString(event->commitString());
    if (!text.empty())
        model_->CommandProcessor(ecImeStr, '\0', text.data());
    event->accept();
}

QVariant TmwCustomEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImCursorRectangle:
        return CaretRect();
    case Qt::ImFont:
        return font_;
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

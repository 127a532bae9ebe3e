// The colour memo: its lines, span collection and painting, hot spots.
#include "controls/colormemo/ColMemo.h"

#include "controls/common/RXConst.h"
#include "editor/qt/SysColors.h"
#include "platform/Utf8.h"
#include "platform/qt/QtText.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>

namespace vx {

namespace {

// The hot-spot cursor is registered once, as the screen cursor the memo shows
// over a hot spot; the system's pointing hand stands for its picture.
void RegisterHotSpotCursor()
{
    static const bool registered = [] {
        SetScreenCursor(crHotSpot, QCursor(Qt::PointingHandCursor));
        return true;
    }();
    (void)registered;
}

} // namespace

int TColorMemoLines::Add(const std::string& s)
{
    if (UpdateCount() != 0 || Sorted())
        return TStringList::Add(s);
    appending_ = true;
    const int index = TStringList::Add(s);
    appending_ = false;
    memo_.AppendLine(s);
    return index;
}

void TColorMemoLines::Changed()
{
    TStringList::Changed();
    if (UpdateCount() == 0 && !appending_)
        memo_.PushLines();
}

TColorMemo::TColorMemo(QWidget* parent) : QPlainTextEdit(parent)
{
    RegisterHotSpotCursor();
    setLineWrapMode(QPlainTextEdit::NoWrap);
    viewport()->setMouseTracking(true); // hot spots follow the mouse without a button held
    connect(this, &QPlainTextEdit::textChanged, this, [this] { TextEdited(); });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (OnVScroll)
            OnVScroll(this);
        PaintText(false);
    });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (OnHScroll)
            OnHScroll(this);
        PaintText(false);
    });
}

std::string TColorMemo::Text() const
{
    return FromQString(toPlainText());
}

void TColorMemo::PushLines()
{
    if (syncing_)
        return;
    const std::string text = lines_.JoinedText("\n");
    syncing_ = true;
    setPlainText(ToQString(text));
    syncing_ = false;
    RememberSize();
    PaintText(false);
}

void TColorMemo::AppendLine(const std::string& line)
{
    if (syncing_)
        return;
    syncing_ = true;
    if (lines_.Count() == 1) {
        setPlainText(ToQString(line));
    } else {
        QTextCursor end(document());
        end.movePosition(QTextCursor::End);
        // A text that already ends in a line break takes the line on its last, empty line.
        if (!end.block().text().isEmpty() || document()->blockCount() < lines_.Count())
            end.insertBlock();
        end.insertText(ToQString(line));
    }
    syncing_ = false;
    RememberSize();
    PaintText(false);
}

void TColorMemo::RememberSize()
{
    lastLineCount_ = document()->blockCount();
    lastLength_ = document()->characterCount();
}

void TColorMemo::TextEdited()
{
    if (syncing_)
        return;
    syncing_ = true;
    lines_.SetTextStr(Text());
    syncing_ = false;
    const int lineCount = document()->blockCount();
    const int length = document()->characterCount();
    // Typing one character leaves the other lines' colours as they were.
    const bool oneChar = !redrawAlways_ && lineCount == lastLineCount_ && length == lastLength_ + 1;
    RememberSize();
    PaintText(oneChar);
}

void TColorMemo::SetColorLimMax(int value)
{
    colorLimMax_ = std::max(value, 0);
    drawBuffer_.assign(static_cast<std::size_t>(colorLimMax_), TKeyDescr{});
}

void TColorMemo::SetHotSpot(const THotSpot& value)
{
    if (hotSpot_ == value)
        return;
    hotSpot_ = value;
    PaintText(false);
}

int TColorMemo::CaretLine() const
{
    return document()->findBlock(textCursor().selectionStart()).blockNumber();
}

int TColorMemo::CaretColumn() const
{
    const int start = textCursor().selectionStart();
    return start - document()->findBlock(start).position();
}

int TColorMemo::FirstVisibleLine() const
{
    return firstVisibleBlock().blockNumber();
}

void TColorMemo::PaintText(bool OnlyCaretLine)
{
    if (OnlyCaretLine) {
        const QRect line = cursorRect();
        viewport()->update(QRect(0, line.top(), viewport()->width(), line.height()));
    } else {
        viewport()->update();
    }
}

// From the first line scanned (the look-back of the first rule above the view)
// to the last character of the last line whose top lies inside the view.
void TColorMemo::VisibleRange(int& from, int& to) const
{
    const int lookBack = rules_.Count() > 0 ? std::max(rules_.Items(0).KeyMaxHeight() - 1, 0) : 0;
    QTextBlock first = firstVisibleBlock();
    const QTextBlock scanStart = document()->findBlockByNumber(std::max(first.blockNumber() - lookBack, 0));
    from = scanStart.isValid() ? scanStart.position() : 0;
    to = from - 1;
    const QPointF offset = contentOffset();
    for (QTextBlock b = first; b.isValid(); b = b.next()) {
        if (blockBoundingGeometry(b).translated(offset).top() >= viewport()->height())
            break;
        to = b.position() + b.length() - 2;
    }
}

int TColorMemo::TTextWindow::ByteAt(int unit) const
{
    return static_cast<int>(std::lower_bound(Units.begin(), Units.end(), unit) - Units.begin());
}

TColorMemo::TTextWindow TColorMemo::LinesText(int first, int last) const
{
    QTextBlock block = document()->findBlock(std::max(first, 0));
    TTextWindow window;
    window.Base = block.isValid() ? block.position() : 0;
    window.Units.clear();
    int unit = 0;
    const auto add = [&](char32_t c, int units) {
        const std::size_t before = window.Text.size();
        utf8::Append(window.Text, c);
        window.Units.insert(window.Units.end(), window.Text.size() - before, unit);
        unit += units;
    };
    for (; block.isValid() && block.position() <= last; block = block.next()) {
        const QString line = block.text();
        for (qsizetype i = 0; i < line.size(); ++i) {
            const QChar c = line[i];
            if (c.isHighSurrogate() && i + 1 < line.size() && line[i + 1].isLowSurrogate()) {
                add(QChar::surrogateToUcs4(c, line[i + 1]), 2);
                ++i;
            } else {
                add(c.isSurrogate() ? utf8::kReplacement : c.unicode(), 1);
            }
        }
        if (block.next().isValid())
            add('\n', 1);
    }
    window.Units.push_back(unit);
    return window;
}

void TColorMemo::CollectSpans(const TTextWindow& window, int from, int to, std::vector<TKeyDescr>& spans)
{
    // Matchers work on the window's bytes; their spans are moved to memo offsets.
    const int localFrom = window.ByteAt(from - window.Base);
    const int localTo = window.ByteAt(to - window.Base + 1) - 1;
    const auto position = [&window](int byte) { return window.Base + window.Units[static_cast<std::size_t>(byte)]; };
    const auto matched = [&](const auto& match) {
        const std::size_t first = spans.size();
        match(std::string_view(window.Text), localFrom, localTo, spans);
        for (std::size_t i = first; i < spans.size(); ++i) {
            if (spans[i].Start == TKeyDescr::Unused || spans[i].End == TKeyDescr::Unused)
                continue;
            const int last = std::clamp(spans[i].End + 1, 0, static_cast<int>(window.Text.size()));
            spans[i].Start = position(std::clamp(spans[i].Start, 0, static_cast<int>(window.Text.size())));
            spans[i].End = position(last) - 1;
        }
    };
    matched([this](std::string_view text, int a, int b, std::vector<TKeyDescr>& out) { hotSpot_.Match(text, a, b, out); });
    if (!tabChangesFocus())
        for (int i = std::max(localFrom, 0); i <= localTo && i < static_cast<int>(window.Text.size()); ++i)
            if (window.Text[static_cast<std::size_t>(i)] == '\t')
                spans.push_back({position(i), position(i), FromQColor(palette().text().color()), kOrderTab, 0});
    const QTextCursor cursor = textCursor();
    if (redrawAlways_) {
        const int lineStart = document()->findBlock(cursor.position()).position();
        if (cursor.position() > lineStart)
            spans.push_back({lineStart, cursor.position() - 1, FromQColor(palette().text().color()), 0, 0});
    }
    rules_.RebuildIfNeeded();
    for (int r = 0; r < rules_.Count(); ++r) {
        const TColorRule& rule = rules_.Items(r);
        if (!rule.Enabled())
            continue;
        if (rule.KeyDrawingType() != dtEventDraw) {
            matched([&rule](std::string_view text, int a, int b, std::vector<TKeyDescr>& out) { rule.Match(text, a, b, out); });
            continue;
        }
        if (colorLimMax_ <= 0 || !OnDraw)
            continue;
        std::fill(drawBuffer_.begin(), drawBuffer_.end(), TKeyDescr{});
        int count = 0;
        OnDraw(rule, from, drawBuffer_, count);
        count = std::clamp(count, 0, std::min(colorLimMax_, static_cast<int>(drawBuffer_.size())));
        for (int i = 0; i < count; ++i) {
            TKeyDescr entry = drawBuffer_[static_cast<std::size_t>(i)];
            if (entry.Start == TKeyDescr::Unused || entry.End == TKeyDescr::Unused)
                continue;
            entry.Start += from;
            entry.End += from;
            if (entry.Order == 0)
                entry.Order = rule.ZOrder();
            spans.push_back(entry);
        }
    }
    if (cursor.hasSelection())
        spans.push_back({cursor.selectionStart(), cursor.selectionEnd() - 1, clRed, kOrderSelection, 0});
}

std::vector<TKeyDescr> TColorMemo::VisibleSpans(TTextWindow* shown)
{
    int from = 0;
    int to = -1;
    VisibleRange(from, to);
    TTextWindow window;
    std::vector<TKeyDescr> spans;
    if (to >= from) {
        // One character either side: a keyword's neighbours decide whether it is a whole word.
        window = LinesText(from - 1, to + 1);
        CollectSpans(window, from, to, spans);
        // A selection or an owner's span may reach far beyond the view.
        for (TKeyDescr& span : spans) {
            if (span.Start == TKeyDescr::Unused || span.End == TKeyDescr::Unused)
                continue;
            span.Start = std::max(span.Start, from);
            span.End = std::min(span.End, to);
        }
    }
    std::vector<TKeyDescr> runs = MergeSpans(spans, document()->characterCount() - 1);
    if (shown)
        *shown = std::move(window);
    return runs;
}

void TColorMemo::paintEvent(QPaintEvent* event)
{
    QPlainTextEdit::paintEvent(event);
    TTextWindow window;
    const std::vector<TKeyDescr> runs = VisibleSpans(&window);
    if (runs.empty())
        return;
    QPainter painter(viewport());
    painter.setFont(font());
    for (const TKeyDescr& run : runs)
        if (run.Order != kOrderSelection && run.Order != kOrderTab)
            PaintRun(painter, window, run);
}

void TColorMemo::PaintRun(QPainter& painter, const TTextWindow& window, const TKeyDescr& run)
{
    const QPointF offset = contentOffset();
    const int windowEnd = window.Base + window.Units.back();
    int pos = run.Start;
    while (pos <= run.End) {
        const QTextBlock block = document()->findBlock(pos);
        if (!block.isValid())
            return;
        const int base = block.position();
        const int lastInBlock = std::min(run.End, base + block.length() - 2);
        const QTextLayout* layout = block.layout();
        const QPointF origin = blockBoundingGeometry(block).translated(offset).topLeft();
        const QString text = block.text();
        for (int l = 0; layout && block.isVisible() && l < layout->lineCount(); ++l) {
            const QTextLine line = layout->lineAt(l);
            const int a = std::max(pos - base, line.textStart());
            const int b = std::min(lastInBlock - base, line.textStart() + line.textLength() - 1);
            if (a > b || base + a < window.Base || base + b >= windowEnd)
                continue;
            const qreal x1 = line.cursorToX(a);
            const qreal x2 = line.cursorToX(b + 1);
            const QRectF rect(origin.x() + x1, origin.y() + line.y(), x2 - x1, line.height());
            if (run.Key != 0 && OnDrawKey) {
                OnDrawKey(painter, FromQString(text.mid(a, b - a + 1)), rect.toAlignedRect(), run.Color);
                continue;
            }
            const bool marker = run.Order == kOrderHotMarker;
            painter.fillRect(rect, marker ? ToQColor(hotSpot_.MarkerColor) : palette().base().color());
            QFont f = font();
            f.setUnderline(run.Order == kOrderHotText && hotSpot_.Underlined);
            painter.setFont(f);
            painter.setPen(marker ? palette().text().color() : ToQColor(run.Color));
            // Tabs are left blank: each stretch between them is drawn where the
            // memo itself put it.
            int s = a;
            while (s <= b) {
                int e = s;
                while (e <= b && text[e] != u'\t')
                    ++e;
                if (e > s)
                    painter.drawText(QPointF(origin.x() + line.cursorToX(s), origin.y() + line.y() + line.ascent()),
                                     text.mid(s, e - s));
                s = e + 1;
            }
        }
        pos = base + block.length();
    }
}

void TColorMemo::keyPressEvent(QKeyEvent* event)
{
    static constexpr int kNavigation[] = {Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_End,  Qt::Key_Home,
                                          Qt::Key_Left,   Qt::Key_Up,       Qt::Key_Right, Qt::Key_Down};
    const bool navigation = std::find(std::begin(kNavigation), std::end(kNavigation), event->key()) != std::end(kNavigation);
    const auto mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (navigation && mods == Qt::NoModifier && textCursor().hasSelection()) {
        QTextCursor cursor = textCursor();
        cursor.setPosition(cursor.selectionEnd());
        setTextCursor(cursor);
    }
    QPlainTextEdit::keyPressEvent(event);
    if (navigation)
        PaintText(false);
}

int TColorMemo::PositionAt(const QPoint& point) const
{
    const QTextBlock block = cursorForPosition(point).block();
    if (!block.isValid() || !block.layout())
        return -1;
    const QPointF origin = blockBoundingGeometry(block).translated(contentOffset()).topLeft();
    const QTextLayout* layout = block.layout();
    for (int l = 0; l < layout->lineCount(); ++l) {
        const QTextLine line = layout->lineAt(l);
        if (point.y() >= origin.y() + line.y() && point.y() < origin.y() + line.y() + line.height()) {
            const int at = line.xToCursor(point.x() - origin.x(), QTextLine::CursorOnCharacter);
            return at >= line.textStart() + line.textLength() ? -1 : block.position() + at;
        }
    }
    return -1;
}

void TColorMemo::mouseMoveEvent(QMouseEvent* event)
{
    QPlainTextEdit::mouseMoveEvent(event);
    const int pos = hotSpot_.Active ? PositionAt(event->position().toPoint()) : -1;
    bool over = false;
    if (pos >= 0) {
        const TTextWindow window = LinesText(pos, pos);
        over = hotSpot_.IsOver(window.Text, window.ByteAt(pos - window.Base));
    }
    if (over != hotCursor_) {
        hotCursor_ = over;
        if (over)
            viewport()->setCursor(ScreenCursor(crHotSpot));
        else
            viewport()->setCursor(Qt::IBeamCursor);
    }
}

void TColorMemo::mouseReleaseEvent(QMouseEvent* event)
{
    QPlainTextEdit::mouseReleaseEvent(event);
    if (OnMouseUp)
        OnMouseUp(this, event);
    if (event->button() == Qt::LeftButton)
        PaintText(false);
    if (!hotCursor_ || !OnHotSpotClick)
        return;
    const int pos = PositionAt(event->position().toPoint());
    if (pos >= 0) {
        const TTextWindow window = LinesText(pos, pos);
        OnHotSpotClick(this, hotSpot_.TextAt(window.Text, window.ByteAt(pos - window.Base)));
    }
}

} // namespace vx

// The editor control widget.
#include "editor/qt/mwCustomEdit.h"

#include "platform/qt/QtText.h"

#include <QAction>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

namespace {

QFont StyledFont(QFont font, bool bold, bool italic)
{
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

} // namespace

TmwCustomEdit::TmwCustomEdit(QWidget* parent) : QAbstractScrollArea(parent)
{
    font_ = QFont("Courier New", 10);
    font_.setStyleHint(QFont::Monospace);
    font_.setFixedPitch(true);
    model_ = std::make_unique<TmwCustomEditModel>(static_cast<TmwEditMetrics*>(this),
                                                  static_cast<TmwEditView*>(this), this);
    model_->SetClipboard(&clipboard_);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(false);
    WindowStyleChanged();
    resize(200, 150);
}

TmwCustomEdit::~TmwCustomEdit() = default;

void TmwCustomEdit::SetFont(const QFont& font)
{
    if (QFontInfo(font).fixedPitch()) {
        font_ = font;
    } else {
        font_.setPointSizeF(font.pointSizeF());
        font_.setBold(font.bold());
        font_.setItalic(font.italic());
    }
    model_->FontChanged();
}

int TmwCustomEdit::ClientWidth() const { return viewport()->width(); }

int TmwCustomEdit::ClientHeight() const { return viewport()->height(); }

int TmwCustomEdit::CharWidth(bool bold) const
{
    return QFontMetrics(StyledFont(font_, bold || font_.bold(), false)).horizontalAdvance(QLatin1Char('M'));
}

int TmwCustomEdit::CharHeight(bool italic) const
{
    return QFontMetrics(StyledFont(font_, false, italic || font_.italic())).height();
}

void TmwCustomEdit::InvalidateRect(const TRect& rect)
{
    viewport()->update(QRect(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top));
}

void TmwCustomEdit::ScrollText(int dy) { viewport()->scroll(0, dy); }

void TmwCustomEdit::UpdateScrollBars()
{
    if (!model_)
        return; // the model asks while it is being built; the first resize sets the bars
    const TmwCustomEditModel& m = *model_;
    horizontalScrollBar()->setRange(1, m.MaxLeftChar());
    horizontalScrollBar()->setPageStep(std::max(1, m.CharsInWindow()));
    horizontalScrollBar()->setValue(m.LeftChar());
    verticalScrollBar()->setRange(1, std::max(1, m.LineCount()));
    verticalScrollBar()->setPageStep(std::max(1, m.LinesInWindow()));
    verticalScrollBar()->setValue(m.TopLine());
}

void TmwCustomEdit::UpdateCaret() { viewport()->update(); }

void TmwCustomEdit::RecreateCaret() { viewport()->update(); }

void TmwCustomEdit::WindowStyleChanged()
{
    setFrameShape(model_->BorderStyle() == bsSingle ? QFrame::StyledPanel : QFrame::NoFrame);
    TScrollStyle bars = model_->ScrollBars();
    setHorizontalScrollBarPolicy(bars == ssHorizontal || bars == ssBoth ? Qt::ScrollBarAlwaysOn
                                                                        : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(bars == ssVertical || bars == ssBoth ? Qt::ScrollBarAlwaysOn
                                                                    : Qt::ScrollBarAlwaysOff);
}

void TmwCustomEdit::ExecuteAction(TmwEditAction action)
{
    switch (action) {
    case TmwEditAction::Cut:
        model_->CutToClipboard();
        break;
    case TmwEditAction::Copy:
        model_->CopyToClipboard();
        break;
    case TmwEditAction::Paste:
        model_->PasteFromClipboard();
        break;
    }
}

bool TmwCustomEdit::UpdateAction(TmwEditAction action, QAction& target) const
{
    if (!hasFocus())
        return false;
    target.setEnabled(action == TmwEditAction::Paste ? model_->CanPaste() : model_->SelAvail());
    return true;
}

void TmwCustomEdit::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    model_->SizeChanged();
}

void TmwCustomEdit::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TmwCustomEdit::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void TmwCustomEdit::paintEvent(QPaintEvent* event)
{
    const TmwCustomEditModel& m = *model_;
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().base());
    painter.fillRect(QRect(0, 0, m.GutterWidth(), viewport()->height()), palette().button());
    painter.setFont(font_);
    painter.setPen(palette().text().color());
    const int lineHeight = m.LineHeight();
    const int ascent = QFontMetrics(font_).ascent();
    painter.setClipRect(QRect(m.GutterWidth(), 0, viewport()->width(), viewport()->height()));
    for (int row = 0; row <= m.LinesInWindow(); ++row) {
        int line = m.TopLine() + row;
        if (line > m.LineCount())
            break;
        const std::string& text = m.Lines()[line - 1];
        int skip = std::min(static_cast<int>(text.size()), m.LeftChar() - 1);
        painter.drawText(m.GutterWidth() + 2, row * lineHeight + ascent, vx::ToQString(std::string_view(text).substr(skip)));
    }
    if (hasFocus()) {
        int x = m.TextOffset() + (m.CaretX() - 1) * m.CharWidth();
        int y = (m.CaretY() - m.TopLine()) * lineHeight;
        painter.fillRect(QRect(x - 1, y, 2, lineHeight - 2), palette().text());
    }
}

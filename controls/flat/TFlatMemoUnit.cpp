// The flat memo and the text list bound to it.
#include "controls/flat/TFlatMemoUnit.h"

#include "platform/qt/QtText.h"

#include <QKeyEvent>
#include <QPainter>
#include <QTextCursor>

void TMemoLines::Changed()
{
    TStringList::Changed();
    if (UpdateCount() == 0)
        memo_.PushLines();
}

TFlatMemo::TFlatMemo(QWidget* parent) : TFlatTextControl<QPlainTextEdit>(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(3);
    setTabChangesFocus(true);
    SetScrollBars(TScrollStyle::ssNone);
    resize(185, 89);
    QObject::connect(this, &QPlainTextEdit::textChanged, [this] { TextEdited(); });
}

std::string TFlatMemo::Text() const
{
    return vx::FromQString(toPlainText());
}

void TFlatMemo::SetText(const std::string& value)
{
    setPlainText(vx::ToQString(value));
}

// The list's text without its final line break, lines separated by the widget's own breaks.
void TFlatMemo::PushLines()
{
    if (syncing_)
        return;
    const std::string text = lines_.JoinedText("\n");
    syncing_ = true;
    setPlainText(vx::ToQString(text));
    syncing_ = false;
    FireChange();
}

void TFlatMemo::TextEdited()
{
    if (syncing_)
        return;
    syncing_ = true;
    EnforceMaxLength();
    lines_.SetTextStr(vx::FromQString(toPlainText()));
    syncing_ = false;
    FireChange();
}

void TFlatMemo::EnforceMaxLength()
{
    if (maxLength_ == 0)
        return;
    int excess = static_cast<int>(toPlainText().size()) - maxLength_;
    if (excess <= 0)
        return;
    QTextCursor cursor = textCursor();
    for (; excess > 0 && cursor.position() > 0; --excess)
        cursor.deletePreviousChar();
    setTextCursor(cursor);
}

void TFlatMemo::SetScrollBars(TScrollStyle value)
{
    scrollBars_ = value;
    bool h = value == TScrollStyle::ssHorizontal || value == TScrollStyle::ssBoth;
    bool v = value == TScrollStyle::ssVertical || value == TScrollStyle::ssBoth;
    setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    update();
}

void TFlatMemo::SetWantTabs(bool value)
{
    wantTabs_ = value;
    setTabChangesFocus(!value);
}

void TFlatMemo::SetWordWrap(bool value)
{
    wordWrap_ = value;
    setLineWrapMode(value ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TFlatMemo::keyPressEvent(QKeyEvent* e)
{
    bool isReturn = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (isReturn && !wantReturns_ && !(e->modifiers() & Qt::ControlModifier)) {
        e->ignore();
        return;
    }
    TFlatTextControl<QPlainTextEdit>::keyPressEvent(e);
}

void TFlatMemo::PaintExtras(QPainter& painter, const QColor& inner)
{
    if (scrollBars_ != TScrollStyle::ssBoth)
        return;
    painter.setBrush(inner);
    painter.drawRect(vx::WinRect(width() - 17, height() - 17, width() - 1, height() - 1));
}

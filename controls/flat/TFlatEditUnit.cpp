// The flat edit.
#include "controls/flat/TFlatEditUnit.h"

#include "platform/qt/QtText.h"
#include "platform/AnsiText.h"

#include <QEvent>
#include <QFontMetrics>

#include <limits>

TFlatEdit::TFlatEdit(QWidget* parent) : TFlatTextControl<QLineEdit>(parent)
{
    setFrame(false);
    setTextMargins(3, 3, 3, 3);
    setMaxLength(std::numeric_limits<int>::max());
    resize(121, 19);
    QObject::connect(this, &QLineEdit::textChanged, [this] { FireChange(); });
    QObject::connect(this, &QLineEdit::textEdited, [this] { ApplyCharCase(); });
}

std::string TFlatEdit::Text() const
{
    return vx::FromQString(text());
}

void TFlatEdit::SetText(const std::string& value)
{
    setText(vx::ToQString(value));
    ApplyCharCase();
}

void TFlatEdit::SetMaxLength(int value)
{
    maxLength_ = value < 0 ? 0 : value;
    setMaxLength(maxLength_ == 0 ? std::numeric_limits<int>::max() : maxLength_);
}

void TFlatEdit::SetPasswordChar(char value)
{
    passwordChar_ = value;
    setEchoMode(value ? QLineEdit::Password : QLineEdit::Normal);
}

void TFlatEdit::SetCharCase(TEditCharCase value)
{
    charCase_ = value;
    ApplyCharCase();
}

void TFlatEdit::ApplyCharCase()
{
    if (charCase_ == TEditCharCase::ecNormal)
        return;
    std::string current = Text();
    std::string converted = charCase_ == TEditCharCase::ecUpperCase ? vx::AnsiUpperCase(current) : vx::AnsiLowerCase(current);
    if (converted == current)
        return;
    int pos = cursorPosition();
    setText(vx::ToQString(converted));
    setCursorPosition(pos);
}

void TFlatEdit::Loaded()
{
    resize(width(), QFontMetrics(font()).height() + 6);
}

bool TFlatEdit::event(QEvent* e)
{
    // Polishing is the last step before a built window first shows: its "loaded" moment.
    if (e->type() == QEvent::Polish)
        Loaded();
    return TFlatTextControl<QLineEdit>::event(e);
}

void TFlatEdit::changeEvent(QEvent* e)
{
    TFlatTextControl<QLineEdit>::changeEvent(e);
    if (e->type() == QEvent::FontChange)
        Loaded();
}

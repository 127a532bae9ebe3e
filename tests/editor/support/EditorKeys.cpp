// Key presses for the editor tests.
#include "tests/editor/support/EditorKeys.h"

#include "editor/qt/mwCustomEdit.h"

#include <QApplication>
#include <QKeyEvent>

namespace vx::test {

namespace {

int KeyOf(QChar c)
{
    const char16_t u = c.toUpper().unicode();
    if ((u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9'))
        return u;
    return c.unicode(); // Qt's key codes for the other ASCII characters are their codes
}

} // namespace

void EditorKey(TmwCustomEdit& edit, int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    WidgetKey(edit, key, modifiers, text);
}

void EditorType(TmwCustomEdit& edit, const QString& text)
{
    for (QChar c : text)
        EditorKey(edit, KeyOf(c), c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier, QString(c));
}

void WidgetKey(QWidget& widget, int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&widget, &press);
}

} // namespace vx::test

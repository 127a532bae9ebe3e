// Typing text into a widget key by key, as the keyboard does it.
#pragma once

#include <QString>
#include <QTest>
#include <QWidget>

namespace vx::test {

// ASCII characters as their keys; any other as a key that carries the
// character as its text (QTest::keyClicks takes ASCII only).
inline void TypeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, static_cast<char>(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace vx::test

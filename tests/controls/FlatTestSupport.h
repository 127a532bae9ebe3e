// Helpers the control tests share: rendering a widget into an image, and mouse
// and keys sent through the widget's shown top-level window with Qt's test
// library, so that the window routes them as a user's (grabs, hover, focus).
// Positions are the widget's and may lie outside it or its window.
#pragma once

#include "editor/Colors.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <Qt>

class QWidget;

namespace vx::test {

// The widget as it paints itself now.
QImage Render(QWidget& widget);
// The pixel at (x, y) as an RGB TColor.
TColor PixelAt(const QImage& image, int x, int y);
// Shows the top-level window of widget and makes it the active window.
void Activate(QWidget& widget);

void MousePress(QWidget& widget, QPoint pos, Qt::MouseButton button = Qt::LeftButton);
void MouseRelease(QWidget& widget, QPoint pos, Qt::MouseButton button = Qt::LeftButton);
// A move with the buttons that are down held, as the mouse has them.
void MouseMove(QWidget& widget, QPoint pos);
void MouseEnter(QWidget& widget);
void MouseLeave(QWidget& widget);
void Click(QWidget& widget, QPoint pos);
// Two clicks in quick succession: the second press arrives as a double click.
void DoubleClick(QWidget& widget, QPoint pos);
// A key going down only, with modifiers, to the widget, which takes the focus.
void KeyDown(QWidget& widget, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = QString());
// A key going down and up again.
void KeyPress(QWidget& widget, int key, const QString& text = QString());

} // namespace vx::test

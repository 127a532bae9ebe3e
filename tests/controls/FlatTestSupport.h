// Helpers the flat-control tests share: rendering a widget into an image,
// synthetic mouse and key input, an active window to hover in.
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

void MousePress(QWidget& widget, QPoint pos);
void MouseRelease(QWidget& widget, QPoint pos);
void MouseMove(QWidget& widget, QPoint pos, bool leftHeld = false);
void MouseEnter(QWidget& widget);
void MouseLeave(QWidget& widget);
void Click(QWidget& widget, QPoint pos);
// The same through the widget's top-level window (shown first), as a user's
// mouse: the window routes them, grabs and hidden widgets included. The
// position is the widget's; it may lie outside the widget or the window.
void WindowPress(QWidget& widget, QPoint pos);
void WindowMove(QWidget& widget, QPoint pos);
void WindowRelease(QWidget& widget, QPoint pos);
// A key going down only, with modifiers.
void KeyDown(QWidget& widget, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = QString());
// A key going down and up again.
void KeyPress(QWidget& widget, int key, const QString& text = QString());

} // namespace vx::test

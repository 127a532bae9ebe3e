// Shared helpers of the flat-control tests.
#include "tests/controls/FlatTestSupport.h"

#include "controls/common/SysColors.h"

#include <QApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace vx::test {

QImage Render(QWidget& widget)
{
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    widget.render(&image);
    return image;
}

TColor PixelAt(const QImage& image, int x, int y)
{
    return FromQColor(QColor(image.pixel(x, y)));
}

void Activate(QWidget& widget)
{
    QWidget* window = widget.window();
    window->show();
    QApplication::setActiveWindow(window);
}

namespace {

void SendMouse(QWidget& widget, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent e(type, QPointF(pos), QPointF(widget.mapToGlobal(pos)), button, held, Qt::NoModifier);
    QApplication::sendEvent(&widget, &e);
}

} // namespace

void MousePress(QWidget& widget, QPoint pos)
{
    SendMouse(widget, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton);
}

void MouseRelease(QWidget& widget, QPoint pos)
{
    SendMouse(widget, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
}

void MouseMove(QWidget& widget, QPoint pos, bool leftHeld)
{
    SendMouse(widget, QEvent::MouseMove, pos, Qt::NoButton, leftHeld ? Qt::LeftButton : Qt::NoButton);
}

void MouseEnter(QWidget& widget)
{
    QPointF local(1, 1);
    QEnterEvent e(local, local, QPointF(widget.mapToGlobal(QPoint(1, 1))));
    QApplication::sendEvent(&widget, &e);
}

void MouseLeave(QWidget& widget)
{
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(&widget, &e);
}

void Click(QWidget& widget, QPoint pos)
{
    MousePress(widget, pos);
    MouseRelease(widget, pos);
}

void KeyDown(QWidget& widget, int key, Qt::KeyboardModifiers mods, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(&widget, &press);
}

void KeyPress(QWidget& widget, int key, const QString& text)
{
    KeyDown(widget, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &release);
}

} // namespace vx::test

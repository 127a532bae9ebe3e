// Shared helpers of the control tests: pictures of widgets, and mouse and keys
// that reach a widget the way a user's do, through its shown top-level window.
#include "tests/controls/FlatTestSupport.h"

#include "controls/common/SysColors.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

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

QWindow* ShownWindow(QWidget& widget)
{
    QWidget* top = widget.window();
    top->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(top));
    // A window a user clicks in is active, and whatever it does on activation
    // (moving itself, choosing a default row) is done before the click lands.
    if (!top->isActiveWindow()) {
        QApplication::setActiveWindow(top);
        QApplication::processEvents();
    }
    return top->windowHandle();
}

// Maps only once the window is shown and active: what a window does on
// activation (placing itself, sizing its controls) moves what is under pos.
QPoint InWindow(QWidget& widget, QPoint pos)
{
    ShownWindow(widget);
    return widget.mapTo(widget.window(), pos);
}

// Where the mouse is. Qt tells a window that the mouse came in with the first
// move there; a move out of the window tells it nothing, so the helpers do, as
// a platform would: not while a button is held (the window keeps the mouse),
// but on the release out there.
QPointer<QWindow> mouseWindow;
QPoint mousePos;
// The window a button went down in and has not come up yet. Qt's test library
// keeps the button held across windows; a test that ends with it down must
// not leave the next window's mouse dragging.
QPointer<QWindow> heldIn;
bool held = false;

void LeaveIfOutside(QWidget& widget, QPoint pos)
{
    if (mouseWindow && !widget.window()->rect().contains(pos)) {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(mouseWindow, &leave);
        mouseWindow = nullptr;
    }
}

QWindow* WindowOf(QWidget& widget)
{
    QWindow* window = ShownWindow(widget);
    if (held && heldIn != window) {
        QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, QPoint(-100, -100));
        held = false;
    }
    return window;
}

// Moves the mouse to pos of the widget's window (window coordinates).
QWindow* MoveTo(QWidget& widget, QPoint pos)
{
    QWindow* window = WindowOf(widget);
    mousePos = pos;
    // Without a button held, a window hears nothing of the mouse outside it
    // but that it left.
    if (!held && !widget.window()->rect().contains(pos)) {
        LeaveIfOutside(widget, pos);
        return window;
    }
    QTest::mouseMove(window, pos);
    mouseWindow = window;
    return window;
}

// A button goes down or up where the mouse is: a mouse elsewhere moves there first.
void MouseButton(QWidget& widget, QPoint pos, Qt::MouseButton button, bool press)
{
    pos = InWindow(widget, pos);
    QWindow* window = WindowOf(widget);
    if (mouseWindow != window || mousePos != pos)
        MoveTo(widget, pos);
    if (press)
        QTest::mousePress(window, button, Qt::NoModifier, pos);
    else
        QTest::mouseRelease(window, button, Qt::NoModifier, pos);
    held = press;
    heldIn = window;
    if (!press)
        LeaveIfOutside(widget, pos);
}

} // namespace

void MousePress(QWidget& widget, QPoint pos, Qt::MouseButton button)
{
    MouseButton(widget, pos, button, true);
}

void MouseRelease(QWidget& widget, QPoint pos, Qt::MouseButton button)
{
    MouseButton(widget, pos, button, false);
}

void MouseMove(QWidget& widget, QPoint pos)
{
    MoveTo(widget, InWindow(widget, pos));
}

void MouseEnter(QWidget& widget)
{
    MouseMove(widget, QPoint(1, 1));
}

void MouseLeave(QWidget& widget)
{
    // To a point of the window beside the widget, else out of the window.
    const QRect area = widget.window()->rect();
    const QRect rect(InWindow(widget, QPoint(0, 0)), widget.size());
    const QPoint centre = rect.center();
    for (QPoint beside : {QPoint(rect.right() + 3, centre.y()), QPoint(centre.x(), rect.bottom() + 3),
                          QPoint(rect.left() - 3, centre.y()), QPoint(centre.x(), rect.top() - 3)}) {
        if (area.contains(beside)) {
            MoveTo(widget, beside);
            return;
        }
    }
    MoveTo(widget, QPoint(-10, -10));
}

void Click(QWidget& widget, QPoint pos)
{
    MousePress(widget, pos);
    MouseRelease(widget, pos);
}

void DoubleClick(QWidget& widget, QPoint pos)
{
    MouseMove(widget, pos);
    QTest::mouseDClick(WindowOf(widget), Qt::LeftButton, Qt::NoModifier, InWindow(widget, pos));
}

void KeyDown(QWidget& widget, int key, Qt::KeyboardModifiers mods, const QString& text)
{
    QWindow* window = ShownWindow(widget);
    if (!widget.hasFocus())
        widget.setFocus();
    QTest::sendKeyEvent(QTest::Press, window, Qt::Key(key), text, mods);
}

void KeyPress(QWidget& widget, int key, const QString& text)
{
    // The key may close the widget (an in-place editor): its window stays.
    QPointer<QWindow> window = ShownWindow(widget);
    KeyDown(widget, key, Qt::NoModifier, text);
    if (window)
        QTest::sendKeyEvent(QTest::Release, window, Qt::Key(key), text, Qt::NoModifier);
}

} // namespace vx::test

// Giving the keyboard back when a window of the program closes.
#include "shell/qt/mainwindow/KeyboardReturn.h"

#include "shell/qt/mainwindow/MainForm.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace vx::shell {

namespace {

// A window of its own (no menu, tooltip or part of another window) that had
// the keyboard when it closed.
bool HeldTheKeyboard(const QWidget& window)
{
    if (!window.isWindow() || window.windowType() == Qt::Popup || window.windowType() == Qt::ToolTip)
        return false;
    return QApplication::activeWindow() == &window ||
           (window.windowHandle() && QGuiApplication::focusWindow() == window.windowHandle());
}

} // namespace

TKeyboardReturn::TKeyboardReturn(TForm1& form) : QObject(&form), form_(form)
{
    qApp->installEventFilter(this);
}

bool TKeyboardReturn::eventFilter(QObject* watched, QEvent* event)
{
    // A spontaneous hide is the window system's (a minimised window): it decides where the keyboard goes.
    if (event->type() != QEvent::Hide || event->spontaneous() || !watched->isWidgetType() || watched == &form_)
        return false;
    const auto& window = static_cast<const QWidget&>(*watched);
    if (!HeldTheKeyboard(window))
        return false;
    QPointer<QWidget> opener = window.parentWidget() ? window.parentWidget()->window() : nullptr;
    // Once the command that closed the window is done: a dialog's result goes
    // into the document first, and the command may open another window.
    QMetaObject::invokeMethod(this, [this, opener] { GiveBack(opener); }, Qt::QueuedConnection);
    return false;
}

void TKeyboardReturn::GiveBack(const QPointer<QWidget>& opener)
{
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* target = opener && opener->isVisible() ? opener.data() : modal ? modal : &form_;
    // A window that came up meanwhile, or that the user went to, keeps the keyboard.
    const QWidget* active = QApplication::activeWindow();
    if (QApplication::activePopupWidget() || (modal && modal != target) ||
        (active && active->isVisible() && active != target))
        return;
    if (target == &form_)
        form_.ReturnKeyboard();
    else
        target->activateWindow();
}

} // namespace vx::shell

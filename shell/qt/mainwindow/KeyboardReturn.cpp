// Giving the keyboard back when a window of the program closes.
#include "shell/qt/mainwindow/KeyboardReturn.h"

#include "shell/qt/mainwindow/MainForm.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace vx::shell {

namespace {

// A key or click the window system delivers: the program has the user's hand.
bool IsUserInput(const QEvent& event)
{
    switch (event.type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return event.spontaneous();
    default:
        return false;
    }
}

// A window of its own (no menu, tooltip or part of another window) that had
// the keyboard when it closed. A modal window is the one window of the
// application that takes keys: it had it when it closes in answer to a key
// or click of the user's, or while the program has the keyboard, whatever
// the application has heard of which of its windows that is (on a busy
// machine that word trails the window system's). One the program closes by
// itself while the user types in another program had nothing to give back.
// Otherwise the application's word of where the keyboard is decides. While a
// popup has the window system's keyboard (a field's completions), the window
// under it need not count as active, but the field the keys go to still lies
// in it: a file dialog accepting a typed name shows its completions once more
// as it closes.
bool HeldTheKeyboard(const QWidget& window, bool answeringInput)
{
    if (!window.isWindow() || window.windowType() == Qt::Popup || window.windowType() == Qt::ToolTip)
        return false;
    if (window.isModal() && (answeringInput || QGuiApplication::focusWindow()))
        return true;
    const QWidget* field = QApplication::focusWidget();
    return QApplication::activeWindow() == &window || (field && field->window() == &window) ||
           (window.windowHandle() && QGuiApplication::focusWindow() == window.windowHandle());
}

} // namespace

TKeyboardReturn::TKeyboardReturn(TForm1& form) : QObject(&form), form_(form)
{
    qApp->installEventFilter(this);
}

bool TKeyboardReturn::eventFilter(QObject* watched, QEvent* event)
{
    if (IsUserInput(*event) && !answeringInput_) {
        // Until the input is handled: what it closes closes in answer to it.
        answeringInput_ = true;
        QMetaObject::invokeMethod(this, [this] { answeringInput_ = false; }, Qt::QueuedConnection);
    }
    // A spontaneous hide is the window system's (a minimised window): it decides where the keyboard goes.
    if (event->type() != QEvent::Hide || event->spontaneous() || !watched->isWidgetType() || watched == &form_)
        return false;
    const auto& window = static_cast<const QWidget&>(*watched);
    if (HeldTheKeyboard(window, answeringInput_)) {
        opener_ = window.parentWidget() ? window.parentWidget()->window() : nullptr;
        pending_ = true;
    } else if (!pending_ || window.windowType() != Qt::Popup) {
        return false;
    }
    // Once the command that closed the window is done: a dialog's result goes
    // into the document first, and the command may open another window.
    QMetaObject::invokeMethod(this, &TKeyboardReturn::GiveBack, Qt::QueuedConnection);
    return false;
}

void TKeyboardReturn::GiveBack()
{
    // A popup has the keyboard until it closes, one that outlives its window
    // too (the completions of a closed dialog's field): its hide comes back here.
    if (!pending_ || QApplication::activePopupWidget())
        return;
    pending_ = false;
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* target = opener_ && opener_->isVisible() ? opener_.data() : modal ? modal : &form_;
    // A window that came up meanwhile, or that the user went to, keeps the keyboard.
    const QWidget* active = QApplication::activeWindow();
    if ((modal && modal != target) || (active && active->isVisible() && active != target))
        return;
    if (target == &form_)
        form_.ReturnKeyboard();
    else
        target->activateWindow();
}

} // namespace vx::shell

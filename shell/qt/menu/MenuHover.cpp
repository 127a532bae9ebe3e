// Following the mouse over a menu's items for their hints and reasons.
#include "shell/qt/menu/MenuHover.h"

#include "shell/qt/mainwindow/MainForm.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusTipEvent>
#include <QToolTip>

namespace vx::shell::menu {

namespace {

bool Disabled(const QAction* action)
{
    return action && !action->isEnabled() && !action->isSeparator();
}

} // namespace

TMenuHover::TMenuHover(QMenu& menu, TForm1& form) : QObject(&menu), menu_(menu), form_(form)
{
    menu.installEventFilter(this);
}

bool TMenuHover::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto* move = static_cast<QMouseEvent*>(event);
        MouseOn(menu_.actionAt(move->position().toPoint()), move->globalPosition().toPoint());
        break;
    }
    case QEvent::Leave:
    case QEvent::Hide:
        MouseOn(nullptr, QPoint());
        break;
    default:
        break;
    }
    return false;
}

void TMenuHover::MouseOn(QAction* action, QPoint at)
{
    if (action == under_)
        return;
    const bool leftDisabled = Disabled(under_);
    under_ = action;
    // The menu itself shows an enabled item's status tip and tooltip, and takes them away.
    if (Disabled(action)) {
        ShowStatus(action->statusTip());
        // Gone once the mouse leaves the item.
        QToolTip::showText(at, action->toolTip(), &menu_, menu_.actionGeometry(action));
    } else if (leftDisabled) {
        ShowStatus(QString());
        QToolTip::hideText();
    }
    form_.MouseOnHint(action ? action->statusTip() : QString());
}

// As an action's own status tip reaches the window it belongs to.
void TMenuHover::ShowStatus(const QString& text)
{
    QStatusTipEvent tip(text);
    QCoreApplication::sendEvent(&form_, &tip);
}

} // namespace vx::shell::menu

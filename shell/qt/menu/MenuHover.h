// What the mouse on a menu item tells besides the menu: the item's hint goes
// to the assistant, as a control's does, and a disabled item's reason to the
// status bar and its tooltip, as a disabled tool button's does. A menu
// neither highlights nor announces a disabled item by itself.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

class QAction;
class QMenu;
class TForm1;

namespace vx::shell::menu {

class TMenuHover : public QObject {
public:
    // Follows the mouse over menu's items for as long as menu lives.
    TMenuHover(QMenu& menu, TForm1& form);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // at: where the mouse is on the screen.
    void MouseOn(QAction* action, QPoint at);
    void ShowStatus(const QString& text);

    QMenu& menu_;
    TForm1& form_;
    QPointer<QAction> under_;
};

} // namespace vx::shell::menu

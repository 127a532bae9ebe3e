// Picks menu items the way a user does: a click on the menu bar title, clicks
// through the sub-menus, a click on the item.
#pragma once

#include "shell/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

#include <initializer_list>

namespace vx::test {

// path: the objectNames from the top-level menu down to the item.
inline void PickMenuItem(TForm1& form, std::initializer_list<const char*> path)
{
    QMenuBar* bar = form.menuBar();
    auto names = path.begin();
    QMenu* menu = form.findChild<QMenu*>(*names);
    ASSERT_NE(menu, nullptr) << *names;
    const QRect title = bar->actionGeometry(menu->menuAction());
    ASSERT_FALSE(title.isEmpty()) << *names;
    QTest::mouseClick(bar, Qt::LeftButton, {}, title.center());
    QApplication::processEvents();
    ASSERT_TRUE(menu->isVisible()) << *names << " at " << title.x() << "," << title.y();
    for (++names; names != path.end(); ++names) {
        QAction* action = form.findChild<QAction*>(*names);
        ASSERT_NE(action, nullptr) << *names;
        QTest::mouseMove(menu, menu->actionGeometry(action).center());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        QApplication::processEvents();
        if (action->menu()) {
            menu = action->menu();
            ASSERT_TRUE(menu->isVisible()) << *names;
        }
    }
    ASSERT_EQ(QApplication::activePopupWidget(), nullptr) << "the menus closed";
}

} // namespace vx::test

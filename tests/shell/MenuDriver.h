// Picks menu items the way a user does: a click on the menu bar title, clicks
// through the sub-menus, a click on the item.
#pragma once

#include "shell/qt/mainwindow/MainForm.h"
#include "shell/menu/MenuTable.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

namespace vx::test {

// path: the objectNames from the top-level menu down to an item. A click on
// the menu bar title, then the mouse onto each item after it and a click on
// it, the last one only when clickLast is set.
inline void WalkMenus(TForm1& form, std::span<const char* const> path, bool clickLast)
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
        if (names + 1 == path.end() && !clickLast)
            return;
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        QApplication::processEvents();
        if (action->menu()) {
            menu = action->menu();
            ASSERT_TRUE(menu->isVisible()) << *names;
        }
    }
}

inline void PickMenuItem(TForm1& form, std::span<const char* const> path)
{
    WalkMenus(form, path, true);
    if (::testing::Test::HasFatalFailure())
        return;
    ASSERT_EQ(QApplication::activePopupWidget(), nullptr) << "the menus closed";
}

// Opens the menus down to the item and leaves the mouse on it, the menus open.
inline void HoverMenuItem(TForm1& form, std::span<const char* const> path)
{
    WalkMenus(form, path, false);
}

// Escape until no menu is open.
inline void CloseMenus()
{
    for (QWidget* open = QApplication::activePopupWidget(); open; open = QApplication::activePopupWidget())
        QTest::keyClick(open, Qt::Key_Escape);
}

inline void PickMenuItem(TForm1& form, std::initializer_list<const char*> path)
{
    PickMenuItem(form, std::span<const char* const>(path.begin(), path.size()));
}

inline const vx::shell::menu::TMenuRow* FindMenuRow(std::string_view name)
{
    for (const vx::shell::menu::TMenuRow& row : vx::shell::menu::MenuRows())
        if (name == row.Name)
            return &row;
    return nullptr;
}

// The objectNames from the top-level menu down to a main-menu item, by the
// menu table; empty for an item of no main menu (the pop-up menus).
inline std::vector<const char*> MenuPathOf(const char* name)
{
    std::vector<const char*> path;
    for (const auto* row = FindMenuRow(name); row; row = FindMenuRow(row->Parent)) {
        path.insert(path.begin(), row->Name);
        if (std::string_view(row->Parent) == vx::shell::menu::MenuBarName)
            return path;
    }
    return {};
}

// Picks a main-menu item by its name, through the menus it sits in.
inline void PickMenuCommand(TForm1& form, const char* name)
{
    const std::vector<const char*> path = MenuPathOf(name);
    ASSERT_GE(path.size(), 2u) << name << " is no main-menu item";
    PickMenuItem(form, path);
}

} // namespace vx::test

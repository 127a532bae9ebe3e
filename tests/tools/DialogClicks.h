// Pressing a dialog's buttons as the user does, by their component names, and
// choosing from its menus by their titles.
#pragma once

#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "tests/controls/FlatTestSupport.h"

#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

namespace vx::test {

inline void ClickButton(QWidget& dialog, const char* name)
{
    auto* button = dynamic_cast<TFlatSpeedButton*>(dialog.findChild<QObject*>(name));
    ASSERT_NE(button, nullptr) << name;
    ASSERT_TRUE(button->isVisible()) << name;
    Click(*button, button->rect().center());
}

// Opens the menu of the dialog's bar by its title and clicks its item, as
// the mouse would: "&Edit>&Beautify".
inline void ChooseMenu(QWidget& dialog, const QString& path)
{
    auto* bar = dialog.findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    const QStringList parts = path.split('>');
    QMenu* menu = nullptr;
    for (QAction* action : bar->actions())
        if (action->text() == parts[0])
            menu = action->menu();
    ASSERT_NE(menu, nullptr) << path.toStdString();
    for (int i = 1; i < parts.size(); ++i) {
        QAction* item = nullptr;
        for (QAction* action : menu->actions())
            if (action->text() == parts[i])
                item = action;
        ASSERT_NE(item, nullptr) << parts[i].toStdString();
        menu->popup(QPoint(0, 0));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        const QPoint at = menu->actionGeometry(item).center();
        QTest::mouseMove(menu, at);
        if (item->menu()) {
            QTest::mouseClick(menu, Qt::LeftButton, {}, at);
            menu->hide();
            menu = item->menu();
            continue;
        }
        QTest::mouseClick(menu, Qt::LeftButton, {}, at);
    }
}

} // namespace vx::test

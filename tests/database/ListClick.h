// Clicks a list item by its text, as the user would.
#pragma once

#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace vx::test {

inline void ClickItem(QListWidget* list, const QString& text)
{
    QListWidgetItem* item = list->findItems(text, Qt::MatchExactly).value(0);
    ASSERT_NE(item, nullptr) << text.toStdString();
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

} // namespace vx::test

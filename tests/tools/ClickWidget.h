// Mouse helpers of the tool dialog tests: a click in the middle of a widget,
// and choosing a file of a file chooser's folder.
#pragma once

#include "tests/controls/FlatTestSupport.h"
#include "tools/qt/framework/FileChooser.h"

#include <QListWidget>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <string>

namespace vx::test {

inline void ClickWidget(QWidget* widget)
{
    ASSERT_NE(widget, nullptr);
    Click(*widget, widget->rect().center());
}

// Opens folder in the chooser and clicks the file of that name in its list.
inline void ChooseFile(TFileChooser& chooser, const std::string& folder, const std::string& name)
{
    chooser.SetDirectory(folder);
    QListWidget* list = chooser.FileListBox1;
    const QList<QListWidgetItem*> found = list->findItems(QString::fromStdString(name), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.front()).center());
}

} // namespace vx::test

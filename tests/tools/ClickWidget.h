// Clicks the middle of a widget with the mouse, failing the test when there is none.
#pragma once

#include "tests/controls/FlatTestSupport.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace vx::test {

inline void ClickWidget(QWidget* widget)
{
    ASSERT_NE(widget, nullptr);
    Click(*widget, widget->rect().center());
}

} // namespace vx::test

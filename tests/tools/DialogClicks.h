// Pressing a dialog's buttons as the user does, by their component names.
#pragma once

#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "tests/controls/FlatTestSupport.h"

#include <gtest/gtest.h>

namespace vx::test {

inline void ClickButton(QWidget& dialog, const char* name)
{
    auto* button = dynamic_cast<TFlatSpeedButton*>(dialog.findChild<QObject*>(name));
    ASSERT_NE(button, nullptr) << name;
    ASSERT_TRUE(button->isVisible()) << name;
    Click(*button, button->rect().center());
}

} // namespace vx::test

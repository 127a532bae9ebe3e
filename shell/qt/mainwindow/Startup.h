// The program's start: the main window and the windows that live for the
// whole run, created in their fixed order.
#pragma once

#include <functional>

class TForm1;

// Called after each window with the gauge value and the step's name (null
// when the name does not change).
using TStartupStep = std::function<void(int gauge, const char* label)>;

// Creates Form1 and the long-lived windows in start-up order; each global
// reference is cleared again when its window is destroyed (with Form1).
TForm1* CreateMainWindows(const TStartupStep& step);

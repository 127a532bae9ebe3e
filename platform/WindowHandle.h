// The application's main window as the system's C interfaces take a parent
// window for the dialogs they show: an opaque native handle, 0 while the
// program shows no main window. The window layer tells how to find it, so that
// code below the windows can hand it on.
#pragma once

#include <cstdint>
#include <functional>

namespace vx {

using TWindowHandle = std::uintptr_t;

TWindowHandle ApplicationWindowHandle();
// An empty source leaves every caller without a window.
void SetApplicationWindowHandleSource(std::function<TWindowHandle()> source);

} // namespace vx

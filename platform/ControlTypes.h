// Small value types that the window framework's controls share: the editor and
// the component layer both use them, so they are defined once, here.
#pragma once

#include <cstdint>

// Which scroll bars a control shows.
enum TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

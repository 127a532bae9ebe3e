// The state of the Num Lock and Caps Lock keys, read from the X display the
// program runs on. Other platforms (the offscreen one of the tests) have no
// keyboard state to read and answer Unknown.
#pragma once

#include "shell/StatusText.h"

namespace vx::shell {

struct TKeyboardLocks {
    TKeyLock NumLock = TKeyLock::Unknown;
    TKeyLock CapsLock = TKeyLock::Unknown;
};

// A lock whose key is down now reads Held.
TKeyboardLocks ReadKeyboardLocks();

} // namespace vx::shell

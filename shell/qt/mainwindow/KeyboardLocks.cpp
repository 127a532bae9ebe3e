// Keyboard locks through Xlib's keyboard extension.
#include "shell/qt/mainwindow/KeyboardLocks.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <memory>

namespace vx::shell {

namespace {

struct TDisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};

// A connection of our own to the display Qt shows on, opened on first use
// and kept for the run; null when the program does not run on X.
Display* KeyboardDisplay()
{
    static const std::unique_ptr<Display, TDisplayCloser> display = []() -> std::unique_ptr<Display, TDisplayCloser> {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            return nullptr;
        return std::unique_ptr<Display, TDisplayCloser>(XOpenDisplay(nullptr));
    }();
    return display.get();
}

bool KeyDown(Display* display, const char keys[32], KeySym symbol)
{
    const KeyCode code = XKeysymToKeycode(display, symbol);
    return code != 0 && (keys[code / 8] & (1 << (code % 8))) != 0;
}

TKeyLock LockOf(Display* display, const char keys[32], const char* indicator, KeySym symbol)
{
    if (KeyDown(display, keys, symbol))
        return TKeyLock::Held;
    Bool on = False;
    const Atom name = XInternAtom(display, indicator, False);
    if (!XkbGetNamedIndicator(display, name, nullptr, &on, nullptr, nullptr))
        return TKeyLock::Unknown;
    return on ? TKeyLock::On : TKeyLock::Off;
}

} // namespace

TKeyboardLocks ReadKeyboardLocks()
{
    Display* display = KeyboardDisplay();
    if (!display)
        return {};
    char keys[32] = {};
    XQueryKeymap(display, keys);
    return {LockOf(display, keys, "Num Lock", XK_Num_Lock), LockOf(display, keys, "Caps Lock", XK_Caps_Lock)};
}

} // namespace vx::shell

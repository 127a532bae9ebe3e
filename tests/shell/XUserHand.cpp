#include "tests/shell/XUserHand.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <iterator>

namespace vx::test {

struct TXUserHand::TDisplay {
    Display* Connection;
};

std::unique_ptr<TXUserHand> TXUserHand::Open()
{
    Display* connection = XOpenDisplay(nullptr);
    if (!connection)
        return nullptr;
    return std::unique_ptr<TXUserHand>(new TXUserHand(new TDisplay{connection}));
}

TXUserHand::TXUserHand(TDisplay* display) : display_(display) {}

TXUserHand::~TXUserHand()
{
    XCloseDisplay(display_->Connection);
    delete display_;
}

void TXUserHand::MoveTo(int x, int y)
{
    XTestFakeMotionEvent(display_->Connection, -1, x, y, CurrentTime);
    XFlush(display_->Connection);
}

void TXUserHand::Click(unsigned button)
{
    XTestFakeButtonEvent(display_->Connection, button, True, CurrentTime);
    XTestFakeButtonEvent(display_->Connection, button, False, CurrentTime);
    XFlush(display_->Connection);
}

void TXUserHand::Type(char character)
{
    // The key symbols of the printable ASCII characters are their codes.
    const KeyCode code = XKeysymToKeycode(display_->Connection, static_cast<KeySym>(character));
    XTestFakeKeyEvent(display_->Connection, code, True, CurrentTime);
    XTestFakeKeyEvent(display_->Connection, code, False, CurrentTime);
    XFlush(display_->Connection);
}

void TXUserHand::Key(const char* name, bool down)
{
    const KeyCode code = XKeysymToKeycode(display_->Connection, XStringToKeysym(name));
    XTestFakeKeyEvent(display_->Connection, code, down ? True : False, CurrentTime);
    XFlush(display_->Connection);
}

void TXUserHand::Focus(unsigned long window)
{
    XSetInputFocus(display_->Connection, static_cast<Window>(window), RevertToParent, CurrentTime);
    XFlush(display_->Connection);
}

bool TXUserHand::AnyKeyHeld()
{
    char keys[32] = {};
    XQueryKeymap(display_->Connection, keys);
    return std::any_of(std::begin(keys), std::end(keys), [](char c) { return c != 0; });
}

} // namespace vx::test

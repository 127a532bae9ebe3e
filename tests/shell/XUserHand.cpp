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

// Waits until the server has acted on what the hand did: a key let go here
// could otherwise still be down when another program's input reaches the
// server on its own connection.
void TXUserHand::WaitUntilServerActed()
{
    XSync(display_->Connection, False);
}

TXUserHand::~TXUserHand()
{
    XCloseDisplay(display_->Connection);
    delete display_;
}

void TXUserHand::MoveTo(int x, int y)
{
    XTestFakeMotionEvent(display_->Connection, -1, x, y, CurrentTime);
    WaitUntilServerActed();
}

void TXUserHand::Click(unsigned button)
{
    XTestFakeButtonEvent(display_->Connection, button, True, CurrentTime);
    XTestFakeButtonEvent(display_->Connection, button, False, CurrentTime);
    WaitUntilServerActed();
}

void TXUserHand::Type(char character)
{
    // The key symbols of the printable ASCII characters are their codes.
    const KeyCode code = XKeysymToKeycode(display_->Connection, static_cast<KeySym>(character));
    XTestFakeKeyEvent(display_->Connection, code, True, CurrentTime);
    XTestFakeKeyEvent(display_->Connection, code, False, CurrentTime);
    WaitUntilServerActed();
}

void TXUserHand::Key(const char* name, bool down)
{
    const KeyCode code = XKeysymToKeycode(display_->Connection, XStringToKeysym(name));
    XTestFakeKeyEvent(display_->Connection, code, down ? True : False, CurrentTime);
    WaitUntilServerActed();
}

void TXUserHand::Focus(unsigned long window)
{
    XSetInputFocus(display_->Connection, static_cast<Window>(window), RevertToParent, CurrentTime);
    WaitUntilServerActed();
}

bool TXUserHand::AnyKeyHeld()
{
    char keys[32] = {};
    XQueryKeymap(display_->Connection, keys);
    return std::any_of(std::begin(keys), std::end(keys), [](char c) { return c != 0; });
}

} // namespace vx::test

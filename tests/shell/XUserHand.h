// The user's hand on the X display for tests that run on a virtual screen:
// pointer moves, clicks and key strokes made through the display's test
// extension, as real input that every program on the display sees, and the
// focus given to a window.
#pragma once

#include <memory>

namespace vx::test {

class TXUserHand {
public:
    // None when there is no X display.
    static std::unique_ptr<TXUserHand> Open();
    ~TXUserHand();

    void MoveTo(int x, int y);
    // Presses and releases the button (1 left, 4 and 5 the wheel's notches).
    void Click(unsigned button);
    // Presses and releases the key that types the character.
    void Type(char character);
    // Presses or releases the key of that X key name ("Control_L", "Pause").
    void Key(const char* name, bool down);
    // Gives the keyboard focus to the window, as a window manager does.
    void Focus(unsigned long window);
    // Whether the display has any key down.
    bool AnyKeyHeld();

private:
    struct TDisplay;
    explicit TXUserHand(TDisplay* display);
    void WaitUntilServerActed();
    TDisplay* display_;
};

} // namespace vx::test

// The X display's input events as the recorder's journal records them, and
// the steps that play a record back on the display: keys go by the
// virtual-key code of their key symbol on the common US layout, the pointer
// by its screen position, and wheel buttons are wheel turns.
#pragma once

#include "platform/JournalEvent.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace vx::x11 {

// An input event of the display: the symbol of the key at its first level
// (without Shift), or the button; where the pointer was on the screen, and
// the modifier mask before the event.
struct TXInput {
    enum class TKind { KeyDown, KeyUp, ButtonDown, ButtonUp, Motion };
    TKind Kind = TKind::Motion;
    unsigned long Keysym = 0;
    unsigned Button = 0;
    int X = 0;
    int Y = 0;
    unsigned State = 0;
};

// The record of the event; none for a key without a virtual-key code, a
// button beyond the wheel's and the release of a wheel button.
std::optional<recorder::TEventMsg> JournalRecordOf(const TXInput& input);

// One step of playing a record: the pointer moved, a button or a key pressed or released.
struct TXAction {
    enum class TKind { Motion, Button, Key };
    TKind Kind = TKind::Motion;
    int X = 0;
    int Y = 0;
    unsigned Button = 0;
    unsigned long Keysym = 0;
    bool Press = false;
    bool operator==(const TXAction&) const = default;
};

// The steps of each record in turn. Wheel turns of less than a notch add up
// until they make one.
class TXPlayback {
public:
    std::vector<TXAction> ActionsOf(const recorder::TEventMsg& record);

private:
    int verticalRest_ = 0;
    int horizontalRest_ = 0;
};

// The virtual-key code of a key symbol, 0 for none; and the symbol of the
// key that gives a code, 0 for none.
std::uint16_t VirtualKeyOfKeysym(unsigned long keysym);
unsigned long KeysymOfVirtualKey(std::uint16_t virtualKey);

} // namespace vx::x11

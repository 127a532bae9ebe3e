// X input events and journal records.
#include "platform/x11/XJournalEvents.h"

#include <X11/X.h>
#include <X11/keysym.h>

#include <utility>

namespace vx::x11 {

namespace rec = vx::recorder;

namespace {

// Key symbols and codes; where several symbols give one code, the first
// plays it back.
constexpr std::pair<unsigned long, std::uint16_t> KeyRows[] = {
    {XK_BackSpace, 0x08}, {XK_Tab, 0x09}, {XK_Return, 0x0D}, {XK_Pause, 0x13}, {XK_Escape, 0x1B},
    {XK_space, 0x20}, {XK_Prior, 0x21}, {XK_Next, 0x22}, {XK_End, 0x23}, {XK_Home, 0x24}, {XK_Left, 0x25},
    {XK_Up, 0x26}, {XK_Right, 0x27}, {XK_Down, 0x28}, {XK_Print, 0x2C}, {XK_Insert, 0x2D}, {XK_Delete, 0x2E},
    {XK_Menu, 0x5D}, {XK_Num_Lock, 0x90}, {XK_Scroll_Lock, 0x91}, {XK_semicolon, 0xBA}, {XK_equal, 0xBB},
    {XK_comma, 0xBC}, {XK_minus, 0xBD}, {XK_period, 0xBE}, {XK_slash, 0xBF}, {XK_grave, 0xC0},
    {XK_bracketleft, 0xDB}, {XK_backslash, 0xDC}, {XK_bracketright, 0xDD}, {XK_apostrophe, 0xDE},
    {XK_Shift_L, 0x10}, {XK_Shift_R, 0x10}, {XK_Control_L, 0x11}, {XK_Control_R, 0x11}, {XK_Alt_L, 0x12},
    {XK_Alt_R, 0x12}, {XK_ISO_Level3_Shift, 0x12}, {XK_Caps_Lock, 0x14}, {XK_Super_L, 0x5B}, {XK_Super_R, 0x5C},
    {XK_Break, 0x13}, {XK_KP_Enter, 0x0D}, {XK_KP_Multiply, 0x6A}, {XK_KP_Add, 0x6B}, {XK_KP_Subtract, 0x6D},
    {XK_KP_Divide, 0x6F},
    // The keypad's keys without Num Lock are the moving keys.
    {XK_KP_Prior, 0x21}, {XK_KP_Next, 0x22}, {XK_KP_End, 0x23}, {XK_KP_Home, 0x24}, {XK_KP_Left, 0x25},
    {XK_KP_Up, 0x26}, {XK_KP_Right, 0x27}, {XK_KP_Down, 0x28}, {XK_KP_Insert, 0x2D}, {XK_KP_Delete, 0x2E},
};

constexpr std::uint16_t VkF1 = 0x70;
constexpr int FunctionKeys = 24;
constexpr std::uint16_t VkMenu = 0x12;

// The buttons X reports wheel notches by: up, down, left, right.
constexpr unsigned WheelUp = 4;
constexpr unsigned WheelDown = 5;
constexpr unsigned WheelLeft = 6;
constexpr unsigned WheelRight = 7;

struct TButtonRow {
    unsigned Button;
    std::uint32_t Down;
    std::uint32_t Up;
};
constexpr TButtonRow ButtonRows[] = {
    {Button1, rec::WM_LBUTTONDOWN, rec::WM_LBUTTONUP},
    {Button2, rec::WM_MBUTTONDOWN, rec::WM_MBUTTONUP},
    {Button3, rec::WM_RBUTTONDOWN, rec::WM_RBUTTONUP},
};

std::optional<rec::TEventMsg> KeyRecordOf(const TXInput& input)
{
    std::uint16_t vk = VirtualKeyOfKeysym(input.Keysym);
    if (vk == 0)
        return std::nullopt;
    // Ctrl+Pause is the Break key.
    if ((input.Keysym == XK_Pause || input.Keysym == XK_Break) && (input.State & ControlMask))
        vk = rec::VK_CANCEL;
    return rec::KeyEvent(input.Kind == TXInput::TKind::KeyDown, (input.State & Mod1Mask) || vk == VkMenu,
                         static_cast<std::uint8_t>(vk));
}

std::optional<rec::TEventMsg> ButtonRecordOf(const TXInput& input)
{
    const bool down = input.Kind == TXInput::TKind::ButtonDown;
    for (const TButtonRow& row : ButtonRows)
        if (row.Button == input.Button) {
            rec::TEventMsg record;
            record.message = down ? row.Down : row.Up;
            record.paramL = static_cast<std::uint32_t>(input.X);
            record.paramH = static_cast<std::uint32_t>(input.Y);
            return record;
        }
    // A wheel notch is one press; its release says nothing more.
    if (!down)
        return std::nullopt;
    switch (input.Button) {
    case WheelUp:
        return rec::WheelEvent(rec::WM_MOUSEWHEEL, input.X, input.Y, rec::WHEEL_DELTA);
    case WheelDown:
        return rec::WheelEvent(rec::WM_MOUSEWHEEL, input.X, input.Y, -rec::WHEEL_DELTA);
    case WheelLeft:
        return rec::WheelEvent(rec::WM_MOUSEHWHEEL, input.X, input.Y, -rec::WHEEL_DELTA);
    case WheelRight:
        return rec::WheelEvent(rec::WM_MOUSEHWHEEL, input.X, input.Y, rec::WHEEL_DELTA);
    default:
        return std::nullopt;
    }
}

// Whole notches out of rest, which keeps what is left over.
int TakeNotches(int& rest, int delta)
{
    rest += delta;
    const int notches = rest / rec::WHEEL_DELTA;
    rest -= notches * rec::WHEEL_DELTA;
    return notches;
}

} // namespace

std::uint16_t VirtualKeyOfKeysym(unsigned long keysym)
{
    if (keysym >= XK_a && keysym <= XK_z)
        return static_cast<std::uint16_t>('A' + (keysym - XK_a));
    if (keysym >= XK_A && keysym <= XK_Z)
        return static_cast<std::uint16_t>(keysym);
    if (keysym >= XK_0 && keysym <= XK_9)
        return static_cast<std::uint16_t>(keysym);
    if (keysym >= XK_F1 && keysym < XK_F1 + FunctionKeys)
        return static_cast<std::uint16_t>(VkF1 + (keysym - XK_F1));
    for (const auto& [symbol, vk] : KeyRows)
        if (symbol == keysym)
            return vk;
    return 0;
}

unsigned long KeysymOfVirtualKey(std::uint16_t virtualKey)
{
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        return XK_a + (virtualKey - 'A');
    if (virtualKey >= '0' && virtualKey <= '9')
        return virtualKey;
    if (virtualKey >= VkF1 && virtualKey < VkF1 + FunctionKeys)
        return XK_F1 + (virtualKey - VkF1);
    if (virtualKey == rec::VK_CANCEL)
        return XK_Pause;
    for (const auto& [symbol, vk] : KeyRows)
        if (vk == virtualKey)
            return symbol;
    return 0;
}

std::optional<rec::TEventMsg> JournalRecordOf(const TXInput& input)
{
    switch (input.Kind) {
    case TXInput::TKind::KeyDown:
    case TXInput::TKind::KeyUp:
        return KeyRecordOf(input);
    case TXInput::TKind::ButtonDown:
    case TXInput::TKind::ButtonUp:
        return ButtonRecordOf(input);
    case TXInput::TKind::Motion:
        break;
    }
    rec::TEventMsg record;
    record.message = rec::WM_MOUSEMOVE;
    record.paramL = static_cast<std::uint32_t>(input.X);
    record.paramH = static_cast<std::uint32_t>(input.Y);
    return record;
}

std::vector<TXAction> TXPlayback::ActionsOf(const rec::TEventMsg& record)
{
    using TKind = TXAction::TKind;
    if (rec::IsKeyMessage(record.message)) {
        const bool down = record.message == rec::WM_KEYDOWN || record.message == rec::WM_SYSKEYDOWN;
        const bool up = record.message == rec::WM_KEYUP || record.message == rec::WM_SYSKEYUP;
        // Character and dead-key messages come from key strokes; the strokes play them.
        const unsigned long keysym = KeysymOfVirtualKey(static_cast<std::uint16_t>(record.paramL & 0xFF));
        if ((!down && !up) || keysym == 0)
            return {};
        return {TXAction{TKind::Key, 0, 0, 0, keysym, down}};
    }
    const int x = rec::MouseXOf(record);
    const int y = rec::MouseYOf(record);
    std::vector<TXAction> actions{TXAction{TKind::Motion, x, y, 0, 0, false}};
    if (rec::IsWheelMessage(record.message)) {
        const bool vertical = record.message == rec::WM_MOUSEWHEEL;
        const int notches = TakeNotches(vertical ? verticalRest_ : horizontalRest_, rec::WheelDeltaOf(record));
        const unsigned button = vertical ? (notches > 0 ? WheelUp : WheelDown) : (notches > 0 ? WheelRight : WheelLeft);
        for (int i = 0; i < (notches < 0 ? -notches : notches); ++i) {
            actions.push_back(TXAction{TKind::Button, x, y, button, 0, true});
            actions.push_back(TXAction{TKind::Button, x, y, button, 0, false});
        }
        return actions;
    }
    for (const TButtonRow& row : ButtonRows)
        if (record.message == row.Down || record.message == row.Up)
            actions.push_back(TXAction{TKind::Button, x, y, row.Button, 0, record.message == row.Down});
    if (actions.size() == 1 && record.message != rec::WM_MOUSEMOVE)
        return {};
    return actions;
}

} // namespace vx::x11

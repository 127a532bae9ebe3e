// The X display's input as journal records and the steps that play records
// back: keys by their virtual-key codes, buttons, wheel notches and the pointer.
#include "platform/x11/XJournalEvents.h"

#include <gtest/gtest.h>

// After the test library: X's headers define macros (None) it uses as names.
#include <X11/X.h>
#include <X11/keysym.h>

using namespace vx::recorder;
using vx::x11::TXAction;
using vx::x11::TXInput;
using vx::x11::TXPlayback;

namespace {

using TKind = TXInput::TKind;

TXInput Key(TKind kind, unsigned long keysym, unsigned state = 0)
{
    TXInput input;
    input.Kind = kind;
    input.Keysym = keysym;
    input.State = state;
    return input;
}

TXInput Pointer(TKind kind, unsigned button, int x, int y)
{
    TXInput input;
    input.Kind = kind;
    input.Button = button;
    input.X = x;
    input.Y = y;
    return input;
}

} // namespace

TEST(XJournalEvents, KeysAreRecordedByTheirVirtualKeyCodes)
{
    const struct {
        TXInput input;
        TEventMsg record;
    } rows[] = {
        {Key(TKind::KeyDown, XK_a), {WM_KEYDOWN, 'A', 1, 0, 0}},
        {Key(TKind::KeyUp, XK_semicolon, ShiftMask), {WM_KEYUP, 0xBA, 1, 0, 0}},
        {Key(TKind::KeyDown, XK_7), {WM_KEYDOWN, '7', 1, 0, 0}},
        {Key(TKind::KeyDown, XK_F4, Mod1Mask), {WM_SYSKEYDOWN, 0x73, 1, 0, 0}},
        {Key(TKind::KeyDown, XK_Alt_L), {WM_SYSKEYDOWN, 0x12, 1, 0, 0}},
        {Key(TKind::KeyDown, XK_Pause, ControlMask), {WM_KEYDOWN, VK_CANCEL, 1, 0, 0}},
        {Key(TKind::KeyDown, XK_Pause), {WM_KEYDOWN, 0x13, 1, 0, 0}},
        {Key(TKind::KeyUp, XK_Control_R), {WM_KEYUP, 0x11, 1, 0, 0}},
        {Key(TKind::KeyDown, XK_KP_Home), {WM_KEYDOWN, 0x24, 1, 0, 0}},
        {Key(TKind::KeyDown, XK_F24), {WM_KEYDOWN, 0x87, 1, 0, 0}},
    };
    for (const auto& row : rows) {
        const auto record = vx::x11::JournalRecordOf(row.input);
        ASSERT_TRUE(record.has_value()) << row.input.Keysym;
        EXPECT_EQ(*record, row.record) << row.input.Keysym;
    }
    EXPECT_FALSE(vx::x11::JournalRecordOf(Key(TKind::KeyDown, XK_EuroSign))) << "a key without a code";
}

TEST(XJournalEvents, ButtonsAndThePointerAreRecordedAtTheirScreenPositions)
{
    const struct {
        TXInput input;
        TEventMsg record;
    } rows[] = {
        {Pointer(TKind::ButtonDown, 1, 30, 40), {WM_LBUTTONDOWN, 30, 40, 0, 0}},
        {Pointer(TKind::ButtonUp, 3, 30, 40), {WM_RBUTTONUP, 30, 40, 0, 0}},
        {Pointer(TKind::ButtonDown, 2, 0, 1023), {WM_MBUTTONDOWN, 0, 1023, 0, 0}},
        {Pointer(TKind::Motion, 0, 1279, 5), {WM_MOUSEMOVE, 1279, 5, 0, 0}},
        {Pointer(TKind::ButtonDown, 4, 7, 8), WheelEvent(WM_MOUSEWHEEL, 7, 8, WHEEL_DELTA)},
        {Pointer(TKind::ButtonDown, 5, 7, 8), WheelEvent(WM_MOUSEWHEEL, 7, 8, -WHEEL_DELTA)},
        {Pointer(TKind::ButtonDown, 6, 7, 8), WheelEvent(WM_MOUSEHWHEEL, 7, 8, -WHEEL_DELTA)},
        {Pointer(TKind::ButtonDown, 7, 7, 8), WheelEvent(WM_MOUSEHWHEEL, 7, 8, WHEEL_DELTA)},
    };
    for (const auto& row : rows) {
        const auto record = vx::x11::JournalRecordOf(row.input);
        ASSERT_TRUE(record.has_value()) << row.input.Button;
        EXPECT_EQ(*record, row.record) << row.input.Button;
    }
    EXPECT_FALSE(vx::x11::JournalRecordOf(Pointer(TKind::ButtonUp, 4, 7, 8))) << "a notch is its press";
    EXPECT_FALSE(vx::x11::JournalRecordOf(Pointer(TKind::ButtonDown, 8, 7, 8))) << "no button beyond the wheel's";
}

TEST(XJournalEvents, EveryCodeOfAKeyPlaysBackOnThatKey)
{
    int codes = 0;
    for (int vk = 1; vk <= 0xFF; ++vk) {
        const unsigned long keysym = vx::x11::KeysymOfVirtualKey(static_cast<std::uint16_t>(vk));
        if (keysym == 0 || vk == VK_CANCEL)
            continue;
        ++codes;
        EXPECT_EQ(vx::x11::VirtualKeyOfKeysym(keysym), vk) << std::hex << vk;
    }
    EXPECT_GE(codes, 26 + 10 + 24 + 30);
    EXPECT_EQ(vx::x11::KeysymOfVirtualKey(VK_CANCEL), XK_Pause) << "Break is Ctrl with Pause";
    EXPECT_EQ(vx::x11::KeysymOfVirtualKey(0xE5), 0u);
}

TEST(XJournalEvents, RecordsPlayAsKeysButtonsAndPointerMoves)
{
    using TStep = TXAction::TKind;
    TXPlayback playback;
    EXPECT_EQ(playback.ActionsOf({WM_KEYDOWN, 'Q', 1, 0, 0}), (std::vector<TXAction>{{TStep::Key, 0, 0, 0, XK_q, true}}));
    EXPECT_EQ(playback.ActionsOf({WM_SYSKEYUP, 0x12, 1, 0, 0}),
              (std::vector<TXAction>{{TStep::Key, 0, 0, 0, XK_Alt_L, false}}));
    EXPECT_TRUE(playback.ActionsOf({0x102, 'q', 1, 0, 0}).empty()) << "a character message: its strokes play it";
    EXPECT_TRUE(playback.ActionsOf({WM_KEYDOWN, 0xE5, 1, 0, 0}).empty()) << "a code no key gives";
    EXPECT_EQ(playback.ActionsOf({WM_RBUTTONDOWN, 10, 20, 0, 0}),
              (std::vector<TXAction>{{TStep::Motion, 10, 20, 0, 0, false}, {TStep::Button, 10, 20, 3, 0, true}}));
    EXPECT_EQ(playback.ActionsOf({WM_MOUSEMOVE, 11, 21, 0, 0}),
              (std::vector<TXAction>{{TStep::Motion, 11, 21, 0, 0, false}}));
    EXPECT_TRUE(playback.ActionsOf({0x20B, 10, 20, 0, 0}).empty()) << "a button X journals do not record";

    EXPECT_EQ(playback.ActionsOf(WheelEvent(WM_MOUSEWHEEL, 5, 6, -2 * WHEEL_DELTA)),
              (std::vector<TXAction>{{TStep::Motion, 5, 6, 0, 0, false},
                                     {TStep::Button, 5, 6, 5, 0, true},
                                     {TStep::Button, 5, 6, 5, 0, false},
                                     {TStep::Button, 5, 6, 5, 0, true},
                                     {TStep::Button, 5, 6, 5, 0, false}}));
    EXPECT_EQ(playback.ActionsOf(WheelEvent(WM_MOUSEHWHEEL, 5, 6, WHEEL_DELTA)),
              (std::vector<TXAction>{{TStep::Motion, 5, 6, 0, 0, false},
                                     {TStep::Button, 5, 6, 7, 0, true},
                                     {TStep::Button, 5, 6, 7, 0, false}}));
    // Half notches add up to a whole one.
    EXPECT_EQ(playback.ActionsOf(WheelEvent(WM_MOUSEWHEEL, 5, 6, WHEEL_DELTA / 2)),
              (std::vector<TXAction>{{TStep::Motion, 5, 6, 0, 0, false}}));
    EXPECT_EQ(playback.ActionsOf(WheelEvent(WM_MOUSEWHEEL, 5, 6, WHEEL_DELTA / 2)),
              (std::vector<TXAction>{{TStep::Motion, 5, 6, 0, 0, false},
                                     {TStep::Button, 5, 6, 4, 0, true},
                                     {TStep::Button, 5, 6, 4, 0, false}}));
}

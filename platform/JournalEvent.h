// One recorded input event as macro recordings store it: the system's 20-byte
// event record, little-endian, and the message numbers it carries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vx::recorder {

inline constexpr std::uint32_t WM_KEYDOWN = 0x100;
inline constexpr std::uint32_t WM_KEYUP = 0x101;
inline constexpr std::uint32_t WM_SYSKEYDOWN = 0x104;
inline constexpr std::uint32_t WM_SYSKEYUP = 0x105;
// The last of the key messages.
inline constexpr std::uint32_t WM_KEYLAST = 0x108;
inline constexpr std::uint32_t WM_MOUSEMOVE = 0x200;
inline constexpr std::uint32_t WM_LBUTTONDOWN = 0x201;
inline constexpr std::uint32_t WM_LBUTTONUP = 0x202;
inline constexpr std::uint32_t WM_RBUTTONDOWN = 0x204;
inline constexpr std::uint32_t WM_RBUTTONUP = 0x205;
inline constexpr std::uint32_t WM_MBUTTONDOWN = 0x207;
inline constexpr std::uint32_t WM_MBUTTONUP = 0x208;
inline constexpr std::uint32_t WM_MOUSEWHEEL = 0x20A;
inline constexpr std::uint32_t WM_MOUSEHWHEEL = 0x20E;
// The turn of one wheel notch.
inline constexpr int WHEEL_DELTA = 120;
// Ctrl+Break.
inline constexpr std::uint8_t VK_CANCEL = 3;

// Key messages carry the virtual-key code in the low byte of paramL; mouse
// messages the screen position, x in paramL and y in paramH. A wheel message
// holds y in the low word of paramH and the turn in its high word, as the
// system's wheel message carries it: in steps of WHEEL_DELTA per notch,
// positive away from the user (WM_MOUSEWHEEL) or to the right
// (WM_MOUSEHWHEEL). time counts milliseconds from the start of the
// recording; window is always 0 here.
struct TEventMsg {
    std::uint32_t message = 0;
    std::uint32_t paramL = 0;
    std::uint32_t paramH = 0;
    std::uint32_t time = 0;
    std::uint32_t window = 0;
    bool operator==(const TEventMsg&) const = default;
};

inline constexpr std::size_t EventSize = 20;

bool IsKeyMessage(std::uint32_t message);
bool IsWheelMessage(std::uint32_t message);

// A key going down or up, a system key (one held with Alt) or not, by its
// virtual-key code; the repeat count 1 in paramH.
TEventMsg KeyEvent(bool down, bool system, std::uint8_t virtualKey);

// A wheel message at the screen position; the turn is limited to what its word holds.
TEventMsg WheelEvent(std::uint32_t message, int x, int y, int delta);
// The turn of a wheel message.
int WheelDeltaOf(const TEventMsg& event);
// The screen position of a mouse or wheel message.
int MouseXOf(const TEventMsg& event);
int MouseYOf(const TEventMsg& event);

// Appends the event's 20 bytes to stream.
void AppendEvent(std::string& stream, const TEventMsg& event);
// The event stored at byte offset of stream; offset + EventSize must not pass its end.
TEventMsg EventAt(std::string_view stream, std::size_t offset);

// The recording a file of that name holds, checked: event records back to back.
// Raises EReadError, naming the file, when its size is no whole number of records.
void CheckRecording(std::string_view data, const std::string& fileName);

} // namespace vx::recorder

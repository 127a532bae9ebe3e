// The 20-byte event records of macro recordings.
#include "platform/JournalEvent.h"

#include "platform/Exception.h"

#include <algorithm>

namespace vx::recorder {

namespace {

void AppendWord(std::string& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

std::uint32_t WordAt(std::string_view in, std::size_t offset)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(in[offset + i]);
    return value;
}

} // namespace

bool IsKeyMessage(std::uint32_t message)
{
    return message >= WM_KEYDOWN && message <= WM_KEYLAST;
}

TEventMsg KeyEvent(bool down, bool system, std::uint8_t virtualKey)
{
    TEventMsg event;
    if (system)
        event.message = down ? WM_SYSKEYDOWN : WM_SYSKEYUP;
    else
        event.message = down ? WM_KEYDOWN : WM_KEYUP;
    event.paramL = virtualKey;
    event.paramH = 1;
    return event;
}

bool IsWheelMessage(std::uint32_t message)
{
    return message == WM_MOUSEWHEEL || message == WM_MOUSEHWHEEL;
}

TEventMsg WheelEvent(std::uint32_t message, int x, int y, int delta)
{
    const auto word = static_cast<std::uint16_t>(static_cast<std::int16_t>(std::clamp(delta, -32768, 32767)));
    TEventMsg event;
    event.message = message;
    event.paramL = static_cast<std::uint32_t>(x);
    event.paramH = (static_cast<std::uint32_t>(word) << 16) | static_cast<std::uint16_t>(y);
    return event;
}

int WheelDeltaOf(const TEventMsg& event)
{
    return static_cast<std::int16_t>(event.paramH >> 16);
}

int MouseXOf(const TEventMsg& event)
{
    return static_cast<std::int32_t>(event.paramL);
}

int MouseYOf(const TEventMsg& event)
{
    if (IsWheelMessage(event.message))
        return static_cast<std::int16_t>(event.paramH & 0xFFFF);
    return static_cast<std::int32_t>(event.paramH);
}

void AppendEvent(std::string& stream, const TEventMsg& event)
{
    for (std::uint32_t word : {event.message, event.paramL, event.paramH, event.time, event.window})
        AppendWord(stream, word);
}

TEventMsg EventAt(std::string_view stream, std::size_t offset)
{
    return {WordAt(stream, offset), WordAt(stream, offset + 4), WordAt(stream, offset + 8),
            WordAt(stream, offset + 12), WordAt(stream, offset + 16)};
}

void CheckRecording(std::string_view data, const std::string& fileName)
{
    if (data.size() % EventSize != 0)
        throw EReadError(fileName + " is not a recording: its " + std::to_string(data.size()) +
                         " bytes are no whole number of 20-byte events.");
}

} // namespace vx::recorder

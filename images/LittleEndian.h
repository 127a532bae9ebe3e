// Little-endian 16- and 32-bit values in byte strings, as the image file formats store them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace le {

inline void Put16(std::string& out, int v)
{
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8 & 0xFF));
}

inline void Put32(std::string& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>(v >> (8 * i)));
}

// The caller makes sure the bytes are there.
inline int Get16(std::string_view data, size_t at)
{
    return static_cast<std::uint8_t>(data[at]) | static_cast<std::uint8_t>(data[at + 1]) << 8;
}

inline std::uint32_t Get32(std::string_view data, size_t at)
{
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(data[at + static_cast<size_t>(i)])) << (8 * i);
    return v;
}

} // namespace le

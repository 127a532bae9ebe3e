// Builds language-file bytes field by field, so that tests can check the
// reader against layouts the writer never produces (old versions, damage).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vx::test {

class LngBytes {
public:
    LngBytes& u8(unsigned v)
    {
        bytes += static_cast<char>(v & 0xFF);
        return *this;
    }
    LngBytes& u16(unsigned v) { return u8(v).u8(v >> 8); }
    LngBytes& i32(std::int32_t v)
    {
        auto u = static_cast<std::uint32_t>(v);
        return u16(u & 0xFFFF).u16(u >> 16);
    }
    LngBytes& raw(std::string_view s)
    {
        bytes += s;
        return *this;
    }
    LngBytes& str(std::string_view s) { return u8(static_cast<unsigned>(s.size())).raw(s); }
    LngBytes& zeros(size_t n)
    {
        bytes.append(n, '\0');
        return *this;
    }
    // A locale block whose texts are all `text` and whose characters are all `c`.
    LngBytes& locale(std::string_view text, char c)
    {
        str(text).u8(1).u8(2).raw({&c, 1}).raw({&c, 1}).u8(3).raw({&c, 1});
        str(text).str(text).raw({&c, 1}).str(text).str(text).str(text).str(text);
        for (int i = 0; i < 12 + 12 + 7 + 7 + 7; ++i)
            str(text);
        for (int i = 0; i < 7; ++i)
            i32(i - 3);
        return u16(50).raw({&c, 1});
    }

    std::string bytes;
};

} // namespace vx::test

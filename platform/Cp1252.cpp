#include "platform/Cp1252.h"

#include "platform/Utf8.h"

namespace vx {

namespace {

// 0x80..0x9F; everything else is the code point of the same number.
constexpr char32_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

char32_t Cp1252ToUnicode(unsigned char byte)
{
    return byte >= 0x80 && byte <= 0x9F ? kHigh[byte - 0x80] : byte;
}

int UnicodeToCp1252(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<int>(codePoint);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == codePoint)
            return 0x80 + i;
    return -1;
}

std::string Cp1252ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text)
        utf8::Append(out, Cp1252ToUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::optional<std::string> Utf8ToCp1252(std::string_view text, std::size_t* badOffset)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 0;
        // A byte that begins no well-formed sequence decodes to U+FFFD, which
        // the code page has no byte for either.
        const int byte = UnicodeToCp1252(utf8::Decode(text, i, &length));
        if (byte < 0) {
            if (badOffset)
                *badOffset = i;
            return std::nullopt;
        }
        out += static_cast<char>(byte);
        i += length;
    }
    return out;
}

} // namespace vx

#include "platform/AnsiText.h"

#include "platform/CaseMap.h"
#include "platform/Utf8.h"

namespace vx {

namespace {

bool isBlank(unsigned char c) { return c <= ' '; }

std::string changeCase(std::string_view s, char32_t (*partner)(char32_t))
{
    std::string r(s);
    for (std::size_t i = 0; i < r.size();) {
        const auto byte = static_cast<unsigned char>(r[i]);
        if (byte < 0x80) {
            r[i] = static_cast<char>(partner(byte));
            ++i;
            continue;
        }
        std::size_t length = 0;
        const char32_t c = utf8::Decode(r, i, &length);
        if (length > 1)
            if (const char32_t to = partner(c); to != c)
                r.replace(i, length, utf8::Encode(to));
        i += length;
    }
    return r;
}

// What a character compares as, and where the next one begins.
char32_t foldedAt(std::string_view s, std::size_t& i, TCaseFold fold)
{
    const auto byte = static_cast<unsigned char>(s[i]);
    char32_t c = byte;
    if (byte < 0x80) {
        ++i;
    } else {
        std::size_t length = 0;
        c = utf8::Decode(s, i, &length);
        i += length;
        if (length == 1)
            return 0x110000 + byte;
    }
    return fold == TCaseFold::Upper ? SimpleUpper(c) : SimpleLower(c);
}

} // namespace

std::string AnsiUpperCase(std::string_view s) { return changeCase(s, SimpleUpper); }
std::string AnsiLowerCase(std::string_view s) { return changeCase(s, SimpleLower); }

int CompareIgnoringCase(std::string_view a, std::string_view b, TCaseFold fold)
{
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t x = foldedAt(a, i, fold);
        const char32_t y = foldedAt(b, j, fold);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return i < a.size() ? 1 : (j < b.size() ? -1 : 0);
}

std::string UpperCase(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return r;
}

std::string LowerCase(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return r;
}

int DigitValue(char c, int base)
{
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

std::string Trim(std::string_view s) { return TrimRight(TrimLeft(s)); }

std::string TrimLeft(std::string_view s)
{
    size_t i = 0;
    while (i < s.size() && isBlank(static_cast<unsigned char>(s[i])))
        ++i;
    return std::string(s.substr(i));
}

std::string TrimRight(std::string_view s)
{
    size_t n = s.size();
    while (n > 0 && isBlank(static_cast<unsigned char>(s[n - 1])))
        --n;
    return std::string(s.substr(0, n));
}

} // namespace vx

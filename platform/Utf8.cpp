#include "platform/Utf8.h"

#include "platform/Cp1252.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace vx::utf8 {

namespace {

// The length a lead byte announces, 0 for a byte that leads nothing.
constexpr int AnnouncedLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead < 0xC2) // trail bytes, and C0/C1 which only lead overlong forms
        return 0;
    if (lead < 0xE0)
        return 2;
    if (lead < 0xF0)
        return 3;
    if (lead < 0xF5)
        return 4;
    return 0;
}

// What a lead byte asks of the bytes after it: how many there are with
// it, and the range of the first, which rules out overlong forms,
// surrogates and code points past U+10FFFF. Length 0: no sequence.
struct TLeadRule {
    unsigned Length;
    unsigned char Low;
    unsigned char High;
};

constexpr std::array<TLeadRule, 256> kLeadRules = [] {
    std::array<TLeadRule, 256> rules{};
    for (unsigned lead = 0x80; lead < 0x100; ++lead)
        rules[lead] = TLeadRule{static_cast<unsigned>(AnnouncedLength(static_cast<unsigned char>(lead))), 0x80, 0xBF};
    rules[0xE0].Low = 0xA0;
    rules[0xED].High = 0x9F;
    rules[0xF0].Low = 0x90;
    rules[0xF4].High = 0x8F;
    return rules;
}();

// By length: the bits that make each byte after the lead a trail byte.
constexpr std::uint32_t kTrailMask[5] = {0, 0, 0xC0, 0xC0C0, 0xC0C0C0};
constexpr std::uint32_t kTrailBits[5] = {0, 0, 0x80, 0x8080, 0x808080};

// Whether the bytes after the lead at pos make the sequence of its rule well formed.
bool WellFormed(std::string_view text, std::size_t pos, const TLeadRule& rule)
{
    if (rule.Length == 0 || pos + rule.Length > text.size())
        return false;
    const auto second = static_cast<unsigned char>(text[pos + 1]);
    if (second < rule.Low || second > rule.High)
        return false;
    for (std::size_t k = 2; k < rule.Length; ++k)
        if (!IsTrail(text[pos + k]))
            return false;
    return true;
}

} // namespace

std::size_t CharLength(std::string_view text, std::size_t pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80)
        return 1;
    const TLeadRule& rule = kLeadRules[lead];
    return WellFormed(text, pos, rule) ? rule.Length : 1;
}

bool CutShort(std::string_view text, std::size_t pos)
{
    const TLeadRule& rule = kLeadRules[static_cast<unsigned char>(text[pos])];
    const std::size_t present = text.size() - pos;
    if (present >= rule.Length)
        return false; // no sequence, or one the text holds whole
    if (present >= 2) {
        const auto second = static_cast<unsigned char>(text[pos + 1]);
        if (second < rule.Low || second > rule.High)
            return false;
    }
    for (std::size_t k = 2; k < present; ++k)
        if (!IsTrail(text[pos + k]))
            return false;
    return true;
}

char32_t Decode(std::string_view text, std::size_t pos, std::size_t* length)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    const std::size_t n = lead < 0x80 ? 1 : CharLength(text, pos);
    if (length)
        *length = n;
    if (n == 1)
        return lead < 0x80 ? lead : kReplacement;
    char32_t cp = lead & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(text[pos + k]) & 0x3F);
    return cp;
}

std::size_t CharStart(std::string_view text, std::size_t pos)
{
    if (pos >= text.size() || !IsTrail(text[pos]))
        return pos;
    // A trail byte belongs to the nearest lead at most three bytes back whose
    // sequence reaches it; otherwise it stands alone.
    for (std::size_t back = 1; back <= 3 && back <= pos; ++back) {
        const std::size_t lead = pos - back;
        if (IsTrail(text[lead]))
            continue;
        return CharLength(text, lead) > back ? lead : pos;
    }
    return pos;
}

std::size_t SkipAscii(std::string_view text, std::size_t from)
{
    const char* data = text.data();
    const std::size_t size = text.size();
    std::size_t i = from;
    // Eight bytes at a time: most text is mostly ASCII.
    while (i + 8 <= size) {
        std::uint64_t word;
        std::memcpy(&word, data + i, 8);
        if (word & 0x8080808080808080ull)
            break;
        i += 8;
    }
    while (i < size && static_cast<unsigned char>(data[i]) < 0x80)
        ++i;
    return i;
}

bool IsValid(std::string_view text)
{
    // A page with a letter outside ASCII every few words is checked as it
    // is opened: each sequence is checked through tables, with no branch
    // that depends on its length or its bytes, while the text is valid.
    const char* data = text.data();
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
        if (i + 8 <= size) {
            std::uint64_t word;
            std::memcpy(&word, data + i, 8);
            const std::uint64_t high = word & 0x8080808080808080ull;
            if (high == 0) {
                i += 8;
                continue;
            }
            if constexpr (std::endian::native == std::endian::little)
                i += static_cast<std::size_t>(std::countr_zero(high)) / 8;
        }
        const auto lead = static_cast<unsigned char>(data[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        const TLeadRule& rule = kLeadRules[lead];
        if (rule.Length == 0 || i + rule.Length > size)
            return false;
        // The bytes after the lead, the first lowest: read as one word where
        // the text is long enough, so that no branch depends on the length.
        std::uint32_t trail = 0;
        if (i + 4 <= size && std::endian::native == std::endian::little) {
            std::memcpy(&trail, data + i, 4);
            trail >>= 8;
        } else {
            for (unsigned k = 1; k < rule.Length; ++k)
                trail |= static_cast<std::uint32_t>(static_cast<unsigned char>(data[i + k])) << (8 * (k - 1));
        }
        const auto second = static_cast<unsigned char>(trail);
        if ((trail & kTrailMask[rule.Length]) != (kTrailBits[rule.Length]) || second < rule.Low || second > rule.High)
            return false;
        i += rule.Length;
    }
    return true;
}

std::size_t CountChars(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); i = NextChar(text, i))
        ++count;
    return count;
}

std::size_t OffsetOfChar(std::string_view text, std::size_t index)
{
    std::size_t i = 0;
    for (; i < text.size() && index > 0; --index)
        i = NextChar(text, i);
    return i;
}

void Append(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string Encode(char32_t codePoint)
{
    std::string out;
    Append(out, codePoint);
    return out;
}

} // namespace vx::utf8

namespace vx {

std::string TextFromFileBytes(std::string_view bytes)
{
    return utf8::IsValid(bytes) ? std::string(bytes) : Cp1252ToUtf8(bytes);
}

} // namespace vx

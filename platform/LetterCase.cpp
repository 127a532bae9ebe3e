#include "platform/LetterCase.h"

#include "platform/Utf8.h"

#include <array>

namespace vx {

namespace {

// Upper-case letters first..last: either each lies delta below its lower-case
// partner, or (alternating) upper and lower case take turns from first on.
struct TCaseRule {
    char32_t first;
    char32_t last;
    int delta;
    bool alternating;
};

constexpr std::array<TCaseRule, 22> kRules = {{
    {0x41, 0x5A, 32, false},     // A..Z
    {0xC0, 0xD6, 32, false},     // À..Ö
    {0xD8, 0xDE, 32, false},     // Ø..Þ
    {0x100, 0x12F, 1, true},     // Ā..į
    {0x132, 0x137, 1, true},     // Ĳ..ķ
    {0x139, 0x148, 1, true},     // Ĺ..ň
    {0x14A, 0x177, 1, true},     // Ŋ..ŷ
    {0x178, 0x178, -0x79, false}, // Ÿ, whose partner ÿ is in Latin-1
    {0x179, 0x17E, 1, true},     // Ź..ž
    {0x386, 0x386, 38, false},   // Ά
    {0x388, 0x38A, 37, false},   // Έ..Ί
    {0x38C, 0x38C, 64, false},   // Ό
    {0x38E, 0x38F, 63, false},   // Ύ..Ώ
    {0x391, 0x3A1, 32, false},   // Α..Ρ
    {0x3A3, 0x3AB, 32, false},   // Σ..Ϋ
    {0x400, 0x40F, 80, false},   // Ѐ..Џ
    {0x410, 0x42F, 32, false},   // А..Я
    {0x460, 0x481, 1, true},     // Ѡ..ҁ
    {0x48A, 0x4BF, 1, true},     // Ҋ..ҿ
    {0x4C0, 0x4C0, 15, false},   // Ӏ
    {0x4C1, 0x4CE, 1, true},     // Ӂ..ӎ
    {0x4D0, 0x52F, 1, true},     // Ӑ..ԯ
}};

} // namespace

char32_t LowerLetter(char32_t codePoint)
{
    if (codePoint < 0x80)
        return codePoint >= 'A' && codePoint <= 'Z' ? codePoint + 32 : codePoint;
    for (const TCaseRule& rule : kRules) {
        if (codePoint < rule.first || codePoint > rule.last)
            continue;
        if (rule.alternating)
            return (codePoint - rule.first) % 2 == 0 ? codePoint + 1 : codePoint;
        return static_cast<char32_t>(static_cast<int>(codePoint) + rule.delta);
    }
    return codePoint;
}

char32_t UpperLetter(char32_t codePoint)
{
    if (codePoint < 0x80)
        return codePoint >= 'a' && codePoint <= 'z' ? codePoint - 32 : codePoint;
    for (const TCaseRule& rule : kRules) {
        if (rule.alternating) {
            if (codePoint >= rule.first && codePoint <= rule.last && (codePoint - rule.first) % 2 == 1)
                return codePoint - 1;
            continue;
        }
        const auto lowFirst = static_cast<char32_t>(static_cast<int>(rule.first) + rule.delta);
        const auto lowLast = static_cast<char32_t>(static_cast<int>(rule.last) + rule.delta);
        if (codePoint >= lowFirst && codePoint <= lowLast)
            return static_cast<char32_t>(static_cast<int>(codePoint) - rule.delta);
    }
    return codePoint;
}

std::string FoldLetterCase(std::string_view text)
{
    std::string folded(text);
    for (std::size_t i = 0; i < folded.size();) {
        const auto byte = static_cast<unsigned char>(folded[i]);
        if (byte < 0x80) {
            if (byte >= 'A' && byte <= 'Z')
                folded[i] = static_cast<char>(byte + 32);
            ++i;
            continue;
        }
        std::size_t length = 0;
        const char32_t codePoint = utf8::Decode(folded, i, &length);
        const char32_t lower = length > 1 ? LowerLetter(codePoint) : codePoint;
        if (lower != codePoint)
            folded.replace(i, length, utf8::Encode(lower)); // the same length: see the rules
        i += length;
    }
    return folded;
}

} // namespace vx

#include "platform/LetterCase.h"
#include "platform/Utf8.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>

namespace {

std::string Hex(char32_t c)
{
    std::ostringstream out;
    out << "U+" << std::hex << static_cast<std::uint32_t>(c);
    return out.str();
}

} // namespace

TEST(LetterCase, PairsLettersOfTheCoveredScripts)
{
    struct Row {
        char32_t upper;
        char32_t lower;
    };
    const Row rows[] = {
        {U'A', U'a'}, {U'Z', U'z'},         // ASCII
        {U'À', U'à'}, {U'É', U'é'}, {U'Þ', U'þ'}, {U'Ÿ', U'ÿ'}, // Latin-1 (and Ÿ from Extended-A)
        {U'Ā', U'ā'}, {U'Ł', U'ł'}, {U'Ň', U'ň'}, {U'Œ', U'œ'}, {U'Š', U'š'}, {U'Ž', U'ž'}, // Latin Extended-A
        {U'Ά', U'ά'}, {U'Έ', U'έ'}, {U'Ό', U'ό'}, {U'Ώ', U'ώ'}, {U'Α', U'α'}, {U'Σ', U'σ'}, {U'Ϋ', U'ϋ'}, // Greek
        {U'Ѐ', U'ѐ'}, {U'Ё', U'ё'}, {U'А', U'а'}, {U'Ж', U'ж'}, {U'Я', U'я'}, {U'Ѣ', U'ѣ'}, {U'Ґ', U'ґ'},
        {U'Ӏ', U'ӏ'}, {U'Ӂ', U'ӂ'}, {U'Ӑ', U'ӑ'}, {U'Ԯ', U'ԯ'}, // Cyrillic
    };
    for (const Row& row : rows) {
        EXPECT_EQ(vx::LowerLetter(row.upper), row.lower) << Hex(row.upper);
        EXPECT_EQ(vx::UpperLetter(row.lower), row.upper) << Hex(row.lower);
        EXPECT_EQ(vx::LowerLetter(row.lower), row.lower) << Hex(row.lower);
        EXPECT_EQ(vx::UpperLetter(row.upper), row.upper) << Hex(row.upper);
    }
    // Characters without a partner of the same length, or without case.
    for (const char32_t alone : {U'×', U'÷', U'ß', U'ª', U'µ', U'ƒ', U'İ', U'ı', U'ſ', U'ς', U'1', U'_', U'你',
                                 U'😀', char32_t(0x3A2), char32_t(0xFFFD)}) {
        EXPECT_EQ(vx::LowerLetter(alone), alone) << Hex(alone);
        EXPECT_EQ(vx::UpperLetter(alone), alone) << Hex(alone);
    }
}

TEST(LetterCase, EveryPairIsMutualAndKeepsItsLength)
{
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        const char32_t lower = vx::LowerLetter(c);
        const char32_t upper = vx::UpperLetter(c);
        ASSERT_TRUE(lower == c || upper == c) << Hex(c);
        if (lower != c) {
            ASSERT_EQ(vx::UpperLetter(lower), c) << Hex(c);
            ASSERT_EQ(vx::utf8::Encode(lower).size(), vx::utf8::Encode(c).size()) << Hex(c);
        }
        if (upper != c) {
            ASSERT_EQ(vx::LowerLetter(upper), c) << Hex(c);
            ASSERT_EQ(vx::utf8::Encode(upper).size(), vx::utf8::Encode(c).size()) << Hex(c);
        }
    }
}

TEST(LetterCase, FoldingTextLowersLettersAndKeepsEveryOtherByte)
{
    struct Row {
        std::string text;
        std::string folded;
    };
    const Row rows[] = {
        {"", ""},
        {"ABC xyz 123", "abc xyz 123"},
        {"ÉCOLE Ÿ ÀÖØÞ ×", "école ÿ àöøþ ×"},
        {"ΣΟΦΊΑ ЖИЗНЬ Ёлка", "σοφία жизнь ёлка"},
        {"你好 😀 ß", "你好 😀 ß"},
        {"İI", "İi"},
        // Bytes of no well-formed sequence, Windows-1252 "É" among them, stay.
        {"\xC9" "A\xC3" "B\x80", "\xC9" "a\xC3" "b\x80"},
    };
    for (const Row& row : rows) {
        const std::string folded = vx::FoldLetterCase(row.text);
        EXPECT_EQ(folded, row.folded) << row.text;
        EXPECT_EQ(folded.size(), row.text.size()) << row.text;
    }
}

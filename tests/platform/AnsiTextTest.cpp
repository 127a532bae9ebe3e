#include "platform/AnsiText.h"
#include "platform/Utf8.h"

#include <gtest/gtest.h>

TEST(AnsiText, DigitValueKnowsItsBase)
{
    EXPECT_EQ(vx::DigitValue('7', 10), 7);
    EXPECT_EQ(vx::DigitValue('f', 16), 15);
    EXPECT_EQ(vx::DigitValue('C', 16), 12);
    EXPECT_EQ(vx::DigitValue('a', 10), -1);
    EXPECT_EQ(vx::DigitValue('g', 16), -1);
    EXPECT_EQ(vx::DigitValue('/', 16), -1);
    EXPECT_EQ(vx::DigitValue('\xB2', 10), -1) << "superscript two is no digit";
}

// Letters of every script the table covers change; ß, Chinese, emoji,
// signs and bytes that begin no character keep every byte.
TEST(AnsiText, CaseChangesLettersOfUtf8TextAndNoOtherByte)
{
    struct Row {
        std::string text, upper, lower;
    };
    const Row rows[] = {
        {"caf\xC3\xA9", "CAF\xC3\x89", "caf\xC3\xA9"},                              // café
        {"stra\xC3\x9F" "e", "STRA\xC3\x9F" "E", "stra\xC3\x9F" "e"},                   // ß stays
        {"\xC3\xBF\xC5\xB8", "\xC5\xB8\xC5\xB8", "\xC3\xBF\xC3\xBF"},               // ÿŸ
        {"\xC5\x93\xC4\x8D\xC4\x9F", "\xC5\x92\xC4\x8C\xC4\x9E", "\xC5\x93\xC4\x8D\xC4\x9F"}, // œčğ
        {"\xC8\x99\xC8\x9B", "\xC8\x98\xC8\x9A", "\xC8\x99\xC8\x9B"},               // șț
        {"\xCE\xB1\xCF\x82\xCE\xA9", "\xCE\x91\xCE\xA3\xCE\xA9", "\xCE\xB1\xCF\x82\xCF\x89"}, // αςΩ
        {"\xD0\xB6\xD0\x81\xD1\x97", "\xD0\x96\xD0\x81\xD0\x87", "\xD0\xB6\xD1\x91\xD1\x97"}, // жЁї
        {"\xE1\xBB\x87", "\xE1\xBB\x86", "\xE1\xBB\x87"},                           // ệ
        {"\xC4\xB1\xC4\xB0\xC5\xBF", "\xC4\xB1\xC4\xB0\xC5\xBF", "\xC4\xB1\xC4\xB0\xC5\xBF"}, // ıİſ: partners of another length
        {"\xC3\x97\xC3\xB7 \xE2\x82\xAC", "\xC3\x97\xC3\xB7 \xE2\x82\xAC", "\xC3\x97\xC3\xB7 \xE2\x82\xAC"}, // ×÷ €
        {"\xE4\xBD\xA0\xF0\x9F\x98\x80", "\xE4\xBD\xA0\xF0\x9F\x98\x80", "\xE4\xBD\xA0\xF0\x9F\x98\x80"}, // 你😀
        {"\xE9t\xC3", "\xE9T\xC3", "\xE9t\xC3"},   // Windows-1252 é and a cut sequence stay bytes
        {"\xC3\xA9\xA9", "\xC3\x89\xA9", "\xC3\xA9\xA9"}, // a stray trail byte after é
    };
    for (const Row& row : rows) {
        EXPECT_EQ(vx::AnsiUpperCase(row.text), row.upper) << row.text;
        EXPECT_EQ(vx::AnsiLowerCase(row.text), row.lower) << row.text;
    }
    EXPECT_EQ(vx::AnsiUpperCase("\xC3\xA9 \xC3\x9F \xCE\xB1 \xD0\xB6 \xE4\xBD\xA0 \xF0\x9F\x98\x80"),
              "\xC3\x89 \xC3\x9F \xCE\x91 \xD0\x96 \xE4\xBD\xA0 \xF0\x9F\x98\x80");
    EXPECT_EQ(vx::UpperCase("\xC3\xA9t\xC3\xA9"), "\xC3\xA9T\xC3\xA9") << "the plain form changes ASCII letters only";
}

// Every character up to the end of the blocks the table covers: a case change
// never changes its length, so that offsets found in a case-changed copy hold
// in the text.
TEST(AnsiText, CaseChangeKeepsEveryCharacterAtItsOffset)
{
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (c >= 0xD800 && c < 0xE000)
            continue;
        const std::string text = "a" + vx::utf8::Encode(c) + "z";
        ASSERT_EQ(vx::AnsiUpperCase(text).size(), text.size()) << std::hex << static_cast<unsigned>(c);
        ASSERT_EQ(vx::AnsiLowerCase(text).size(), text.size()) << std::hex << static_cast<unsigned>(c);
    }
}

TEST(AnsiText, TrimRemovesControlCharactersAndBlanks)
{
    EXPECT_EQ(vx::Trim("\t a b \r\n"), "a b");
    EXPECT_EQ(vx::TrimLeft("  x "), "x ");
    EXPECT_EQ(vx::TrimRight(" x \x01"), " x");
    EXPECT_EQ(vx::Trim(""), "");
}

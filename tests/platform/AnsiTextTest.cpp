#include "platform/AnsiText.h"

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

TEST(AnsiText, CaseChangesWindows1252LettersOnly)
{
    EXPECT_EQ(vx::AnsiUpperCase("stra\xDF" "e \xE9t\xE9 \x9C\xFF"), "STRA\xDF" "E \xC9T\xC9 \x8C\x9F");
    EXPECT_EQ(vx::AnsiLowerCase("\xC0\xD7\xDE"), "\xE0\xD7\xFE") << "the multiplication sign stays";
    EXPECT_EQ(vx::UpperCase("\xE9t\xE9"), "\xE9T\xE9") << "the plain form changes ASCII letters only";
    EXPECT_TRUE(vx::IsAnsiLetter(0xAA));
    EXPECT_FALSE(vx::IsAnsiLetter(0xF7));
}

TEST(AnsiText, TrimRemovesControlCharactersAndBlanks)
{
    EXPECT_EQ(vx::Trim("\t a b \r\n"), "a b");
    EXPECT_EQ(vx::TrimLeft("  x "), "x ");
    EXPECT_EQ(vx::TrimRight(" x \x01"), " x");
    EXPECT_EQ(vx::Trim(""), "");
}

#include "controls/common/MaxMin.h"
#include "controls/common/StrUtils.h"

#include <gtest/gtest.h>

using namespace vx;

TEST(StrUtils, ReplaceStrDoesNotRescanInsertedText)
{
    EXPECT_EQ(ReplaceStr("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceStr("abab", "a", "aa"), "aabaab");
    EXPECT_EQ(ReplaceStr("Abc abc", "abc", "x"), "Abc x") << "case-sensitive";
    EXPECT_EQ(ReplaceStr("text", "", "x"), "text");
    EXPECT_EQ(ReplaceStr("", "a", "x"), "");
    EXPECT_EQ(ReplaceStr("a-b-", "-", ""), "ab");
}

TEST(StrUtils, TabsToSpacesAndMakeStr)
{
    EXPECT_EQ(TabsToSpaces("\ta\t\tb", 2), "  a    b");
    EXPECT_EQ(TabsToSpaces("a\tb", 0), "ab");
    EXPECT_EQ(MakeStr('x', 3), "xxx");
    EXPECT_EQ(MakeStr('x', 0), "");
    EXPECT_EQ(MakeStr('x', -4), "");
}

TEST(StrUtils, WordsAreRunsOfNonDelimiters)
{
    const std::string text = " ,one,, two three,";
    EXPECT_EQ(WordCount(text, " ,"), 3);
    EXPECT_EQ(WordPosition(1, text, " ,"), 3);
    EXPECT_EQ(WordPosition(2, text, " ,"), 9);
    EXPECT_EQ(WordPosition(4, text, " ,"), 0);
    EXPECT_EQ(WordPosition(0, text, " ,"), 0);
    EXPECT_EQ(ExtractWord(3, text, " ,"), "three");
    EXPECT_EQ(ExtractWord(4, text, " ,"), "");
    EXPECT_EQ(WordCount("", " "), 0);
    EXPECT_EQ(WordCount("   ", " "), 0);
    EXPECT_EQ(ExtractWord(1, "solo", ""), "solo");
}

TEST(StrUtils, IsEmptyStrTestsEveryCharacter)
{
    EXPECT_TRUE(IsEmptyStr("", " "));
    EXPECT_TRUE(IsEmptyStr("  \t", " \t"));
    EXPECT_FALSE(IsEmptyStr(" a ", " "));
}

TEST(MaxMin, LongsAndArrays)
{
    std::int32_t a = -5, b = 7;
    SwapLong(a, b);
    EXPECT_EQ(a, 7);
    EXPECT_EQ(b, -5);
    EXPECT_EQ(MaxLong(INT32_MIN, -1), -1);
    EXPECT_EQ(MinLong(INT32_MAX, INT32_MIN), INT32_MIN);
    EXPECT_EQ(MaxInteger({-3}), -3);
    EXPECT_EQ(MaxInteger({4, -2, 9, 9, 1}), 9);
}

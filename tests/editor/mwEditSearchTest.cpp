#include "editor/mwEditSearch.h"

#include <gtest/gtest.h>

TEST(TmwEditSearch, ComparisonTableFollowsTheCaseSetting)
{
    TmwEditSearch search;
    EXPECT_FALSE(search.Sensitive());
    EXPECT_EQ(TmwEditSearch::Compare('A'), 'a');
    EXPECT_EQ(TmwEditSearch::Compare(0xC9), 0xE9) << "Windows-1252 letters too";
    EXPECT_EQ(TmwEditSearch::Compare('1'), '1');
    search.SetSensitive(true);
    EXPECT_EQ(TmwEditSearch::Compare('A'), 'A');
    EXPECT_EQ(TmwEditSearch::Compare(0xC9), 0xC9);
    search.SetSensitive(false);
    EXPECT_EQ(TmwEditSearch::Compare('A'), 'a');
    EXPECT_TRUE(search.Results().empty());
}

TEST(TmwEditSearch, DelimitersAreWhatIsNotALetterOrDigit)
{
    for (int c : std::initializer_list<int>{' ', '.', '_', '<', '\0', '\t'})
        EXPECT_TRUE(TmwEditSearch::IsDelimiter(static_cast<unsigned char>(c))) << c;
    for (int c : std::initializer_list<int>{'a', 'Z', '0', '9', 0xE9})
        EXPECT_FALSE(TmwEditSearch::IsDelimiter(static_cast<unsigned char>(c))) << c;
}

TEST(TmwEditSearch, WholeWords)
{
    TmwEditSearch search;
    const std::string text = "dim x, xy = x";
    // "x" at 4, "x" of "xy" at 7, the last "x" at 12.
    EXPECT_TRUE(search.IsWholeWord(text, 4, 1));
    EXPECT_FALSE(search.IsWholeWord(text, 7, 1)) << "followed by a letter";
    EXPECT_FALSE(search.IsWholeWord(text, 8, 1)) << "preceded by a letter";
    EXPECT_TRUE(search.IsWholeWord(text, 8, 2));
    EXPECT_TRUE(search.IsWholeWord(text, 12, 1)) << "at the end of the text";
    EXPECT_TRUE(search.IsWholeWord(text, 2, 3)) << "at its start";
    EXPECT_FALSE(search.IsWholeWord(text, 13, 1)) << "a match past the text is none";
    EXPECT_FALSE(search.IsWholeWord(text, 1, 3)) << "nor one that would start before it";
}

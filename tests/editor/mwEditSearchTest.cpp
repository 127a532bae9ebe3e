#include "editor/mwEditSearch.h"

#include <gtest/gtest.h>

TEST(TmwEditSearch, ComparisonTableFollowsTheCaseSetting)
{
    TmwEditSearch search;
    EXPECT_FALSE(search.Sensitive());
    EXPECT_EQ(TmwEditSearch::Compare('A'), 'a');
    EXPECT_EQ(TmwEditSearch::Compare(0xC3), 0xC3) << "a byte of a longer character stays";
    EXPECT_EQ(TmwEditSearch::Compare(0x89), 0x89);
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
    // Every byte of a character outside ASCII belongs to a letter.
    for (int c : std::initializer_list<int>{'a', 'Z', '0', '9', 0x80, 0xA9, 0xBF, 0xC3, 0xE9, 0xFF})
        EXPECT_FALSE(TmwEditSearch::IsDelimiter(static_cast<unsigned char>(c))) << c;
}

// Characters are compared whole; case is folded for whole letters.
TEST(TmwEditSearch, FindsWholeCharacters)
{
    struct Row {
        const char* text;
        const char* pattern;
        bool sensitive;
        bool wholeWord;
        std::size_t found; // byte offset, npos for none
    };
    constexpr std::size_t none = std::string_view::npos;
    const Row rows[] = {
        {"un café", "é", true, false, 6},
        {"un CAFÉ", "é", true, false, none},
        {"un CAFÉ", "é", false, false, 6},
        {"un café", "É", false, false, 6},
        {"Ã© é", "é", false, false, 5}, // "Ã©" is no "é", whatever its bytes once were
        {"ЖИЗНЬ", "жизнь", false, false, 0},
        {"ΣΟΦΊΑ", "σοφία", false, false, 0},
        {"你好 你", "你", true, false, 0},
        {"x😀y", "😀y", true, false, 1},
        {"cafés café.", "café", false, true, 7},
        {"écafé café", "café", false, true, 8},
        {"你café", "café", false, true, none},
        {"café", "caf", false, true, none},
        {"abc", "", false, false, none},
    };
    for (const Row& row : rows) {
        TmwEditSearch search;
        search.SetSensitive(row.sensitive);
        EXPECT_EQ(search.Find(row.text, row.pattern, 0, row.wholeWord), row.found)
            << row.text << " / " << row.pattern;
    }
    TmwEditSearch search;
    EXPECT_EQ(search.Find("é é", "É", 1, false), 3u) << "from the given offset";
    search.SetSensitive(false);
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

// Token text in whole characters: where a text ends inside a character, and
// characters cut between tokens joined again.
#include "editor/mwWholeCharacters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(WholeCharacters, WhereATextEndsInsideACharacter)
{
    const struct {
        std::string text;
        std::size_t start;
    } rows[] = {
        {"", 0},
        {"abc", 3},
        {"caf\xC3\xA9", 5},
        {"caf\xC3", 3},
        {"\xE2\x82", 0},
        {"a\xE2", 1},
        {"a\xE2\x82\xAC", 4},
        {"\xF0\x9F\x98", 0},
        {"\xF0\x9F\x98\x80", 4},
        {"\xF0\x9F", 0},
        {"a\xE0\xA0", 1},
        {"a\xED\x9F", 1},
        {"a\xF4\x8F\xBF", 1},
        // Bytes that begin no character are whole as they are: the second
        // byte's range rules out overlong forms, surrogates and code points
        // past U+10FFFF, as everywhere else.
        {"a\xC0", 2},
        {"a\xC1", 2},
        {"a\xF5\x80", 3},
        {"a\xE0\x80", 3},
        {"a\xED\xA0", 3},
        {"a\xF4\x90", 3},
        {"a\xF0\x8F\xBF", 4},
        {"\x80\x80\x80", 3},
        {"a\x80", 2},
        {"\x80\x80\x80\x80", 4},
    };
    for (const auto& row : rows)
        EXPECT_EQ(CutCharacterStart(row.text), row.start) << testing::PrintToString(row.text);
}

TEST(WholeCharacters, ACutCharacterGoesWithTheTokenThatCompletesIt)
{
    const struct {
        std::vector<std::string> tokens;
        std::vector<std::string> taken;
        std::string flushed;
    } rows[] = {
        {{"ab", "cd"}, {"ab", "cd"}, ""},
        {{"caf\xC3", "\xA9!"}, {"caf", "\xC3\xA9!"}, ""},
        {{"\xF0", "\x9F", "\x98", "\x80x"}, {"", "", "", "\xF0\x9F\x98\x80x"}, ""},
        {{"a\xE2\x82"}, {"a"}, "\xE2\x82"},
        // The next token does not complete it: the bytes go on as they are.
        {{"a\xC3", "b"}, {"a", "\xC3" "b"}, ""},
    };
    for (const auto& row : rows) {
        TmwWholeCharacters characters;
        std::vector<std::string> taken;
        for (const std::string& token : row.tokens)
            taken.emplace_back(characters.Take(token));
        EXPECT_EQ(taken, row.taken);
        EXPECT_EQ(characters.Flush(), row.flushed);
        EXPECT_EQ(characters.Flush(), "") << "flushed once";
    }
    TmwWholeCharacters cleared;
    cleared.Take("x\xC3");
    cleared.Clear();
    EXPECT_EQ(cleared.Take("\xA9"), "\xA9") << "a new export starts with nothing held";
}

} // namespace

// TRegExpr: syntax, sub-expression positions, error messages, the rules of
// UTF-8 characters and the bounded search.
#include "highlighters/RegExpr.h"

#include "platform/Exception.h"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

namespace {

struct MatchCase {
    std::string expr;
    std::string input;
    int pos; // MatchPos(0), -1 for no match
    int len;
};

void PrintTo(const MatchCase& c, std::ostream* os) { *os << '"' << c.expr << "\" on \"" << c.input << '"'; }

class RegExprMatch : public ::testing::TestWithParam<MatchCase> {};

TEST_P(RegExprMatch, FindsTheFirstMatch)
{
    const MatchCase& c = GetParam();
    TRegExpr re;
    re.SetExpression(c.expr);
    EXPECT_EQ(re.Exec(c.input), c.pos >= 0);
    EXPECT_EQ(re.MatchPos(0), c.pos);
    EXPECT_EQ(re.MatchLen(0), c.pos >= 0 ? c.len : -1);
}

INSTANTIATE_TEST_SUITE_P(Syntax, RegExprMatch, ::testing::Values(
    MatchCase{"ab*c", "ac", 1, 2},
    MatchCase{"ab*c", "abc", 1, 3},
    MatchCase{"ab*c", "abbbc", 1, 5},
    MatchCase{"ab+c", "ac", -1, 0},
    MatchCase{"ab+c", "xabbc", 2, 4},
    MatchCase{"(a|b)+c", "xxabac", 3, 4},
    MatchCase{"[a-]", "-", 1, 1},
    MatchCase{"[a-]", "xa", 2, 1},
    MatchCase{"[]a]", "x]", 2, 1},
    MatchCase{"[^]a]+", "]]bc", 3, 2},
    MatchCase{"[^a]", "", -1, 0},
    // a quantifier after a literal run repeats its last character only
    MatchCase{"abc*", "abd", 1, 2},
    MatchCase{"abc+", "xabccc", 2, 5},
    MatchCase{"abc?d", "abd", 1, 3},
    MatchCase{"^ab", "xab", -1, 0},
    MatchCase{"^ab", "abx", 1, 2},
    MatchCase{"a$", "aba", 3, 1},
    MatchCase{"a^b", "ab", -1, 0},
    MatchCase{"\\d+", "ab123c", 3, 3},
    MatchCase{"\\D+", "12ab3", 3, 2},
    MatchCase{"\\w+", "-ab_c1", 2, 4},
    MatchCase{"\\W", "ab1", 3, 1},
    MatchCase{"a\\.b", "axb a.b", 5, 3},
    MatchCase{"\\x41\\x4a", "zAJ", 2, 2},
    MatchCase{"a\\tb\\nc\\rd\\e", "a\tb\nc\rd\x1b", 1, 8},
    MatchCase{"[\\x41-\\x43]+", "ABCD", 1, 3},
    MatchCase{"[\\d\\w]+", "-a1_", 2, 3},
    MatchCase{"[\\n\\]]", "a]", 2, 1},
    MatchCase{"x.z", "xyz", 1, 3},
    MatchCase{"x*", "", 1, 0},
    MatchCase{"x*", "abc", 1, 0},
    MatchCase{"x", "", -1, 0},
    MatchCase{"a|bc|d", "xbcd", 2, 2},
    MatchCase{"(ab|a)(bc|c)", "abc", 1, 3},
    MatchCase{"a*bc", "xxbc", 3, 2},
    MatchCase{"a*bc", "xxbd", -1, 0},
    MatchCase{"a[^b]*b", "acccb", 1, 5},
    MatchCase{"a.*b", "axbyb", 1, 5}));

// Positions and lengths are bytes; one-character nodes take whole characters.
INSTANTIATE_TEST_SUITE_P(Utf8, RegExprMatch, ::testing::Values(
    // "\xHH" and byte ranges name Windows-1252 characters: À..ÿ, € ...
    MatchCase{"[\\xC0-\\xFF]+", "x\u00e9\u00e0\u00fcy", 2, 6},
    MatchCase{"[\\xC0-\\xFF]", "\u00f7", 1, 2},
    MatchCase{"[\\xC0-\\xFF]", "\xC3", -1, 0},
    MatchCase{"[\\x80-\\x9F]+", "a\u20ac\u0178\u0160", 2, 7},
    MatchCase{"\\xE9+", "e\u00e9\u00e9", 2, 4},
    MatchCase{"\\x80", "1\u20ac", 2, 3},
    MatchCase{"[à-ÿ]+", "Bébé", 2, 2},
    MatchCase{"[α-ω]+", "ΑΒΓαβγ", 7, 6},
    MatchCase{"[你好]+", "说你好", 4, 6},
    MatchCase{"[a-😀]+", "\U0001F600\U0001F601", 1, 4},
    // "." and negated classes take the whole character
    MatchCase{".", "你", 1, 3},
    MatchCase{"a.b", "a你b", 1, 5},
    MatchCase{"a..b", "a你b", -1, 0},
    MatchCase{"x.*y", "x你好😀y", 1, 12},
    MatchCase{"[^a]", "é", 1, 2},
    MatchCase{"[^a]+", "😀éa", 1, 6},
    MatchCase{"[^é]+", "éeé", 3, 1},
    MatchCase{"\\D", "é", 1, 2},
    MatchCase{"\\W+", "😀-x", 1, 5},
    MatchCase{"\\w", "é", -1, 0},
    MatchCase{"\\d", "٣", -1, 0},
    // a quantifier after a literal repeats its last character, whole
    MatchCase{"café*", "cafééx", 1, 7},
    MatchCase{"café+", "caf", -1, 0},
    MatchCase{"é*ü", "ééü", 1, 6},
    MatchCase{"(é|ü)+", "xéüé", 2, 6},
    MatchCase{".*é", "aébéc", 1, 6},
    MatchCase{"[^b]*é", "béaé", 2, 5},
    MatchCase{"a.?b", "a😀b", 1, 6},
    // a byte of no well-formed sequence is a character of its own
    MatchCase{"a.b", "a\xE9" "b", 1, 3},
    MatchCase{"[^a]", "\x80", 1, 1}));

} // namespace

// The error texts, word for word.
struct ErrorCase {
    std::string expr;
    std::string message;
};

class RegExprError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(RegExprError, RaisesItsMessageAndKeepsNoProgram)
{
    TRegExpr re;
    try {
        re.SetExpression(GetParam().expr);
        FAIL() << "no error for " << GetParam().expr;
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), GetParam().message);
    }
    try {
        re.Exec("abc");
        FAIL() << "Exec ran without a program";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Not assigned expression property");
    }
}

INSTANTIATE_TEST_SUITE_P(Messages, RegExprError, ::testing::Values(
    ErrorCase{"[z-a]", "Invalid [] range"},
    ErrorCase{"a**", "nested *?+"},
    ErrorCase{"a+?", "nested *?+"},
    ErrorCase{"a.*?", "nested *?+"},
    ErrorCase{"(a", "unmatched ()"},
    ErrorCase{"a)", "unmatched ()"},
    ErrorCase{"(a))", "unmatched ()"},
    ErrorCase{"*a", "?+* follows nothing"},
    ErrorCase{"a|+b", "?+* follows nothing"},
    ErrorCase{"(?a)", "?+* follows nothing"},
    ErrorCase{"\\x4", "No hex code after \\x"},
    ErrorCase{"\\x", "No hex code after \\x"},
    ErrorCase{"\\xg1", "Bad hex digit \"g\""},
    ErrorCase{"\\x4z", "Bad hex digit \"z\""},
    ErrorCase{"\\x4é", "Bad hex digit \"é\""},
    ErrorCase{"[ÿ-à]", "Invalid [] range"},
    ErrorCase{"[\\x9F-\\x80]", "Invalid [] range"},
    ErrorCase{"a\\", "Trailing \\"},
    ErrorCase{"[a\\", "Trailing \\"},
    ErrorCase{"[abc", "Unmatched []"},
    ErrorCase{"[", "Unmatched []"},
    ErrorCase{"(a*)*b", "*+ operand could be empty"},
    ErrorCase{"(^)+", "*+ operand could be empty"},
    ErrorCase{"(a|)*", "*+ operand could be empty"},
    ErrorCase{"$*", "*+ operand could be empty"},
    ErrorCase{"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", "too many ()"},
    ErrorCase{std::string(70000, 'a'), "regexp too big"},
    // the whole text is checked before its size
    ErrorCase{std::string(70000, 'a') + "(", "unmatched ()"}));

TEST(RegExpr, GroupsReportOneBasedPositions)
{
    TRegExpr re;
    re.SetExpression("(a|b)+c");
    ASSERT_TRUE(re.Exec("xxabac"));
    EXPECT_EQ(re.MatchPos(1), 5); // the last repetition
    EXPECT_EQ(re.MatchLen(1), 1);
    EXPECT_EQ(re.SubExprMatchCount(), 2);

    re.SetExpression("<\\?([pP][hH][pP])?");
    ASSERT_TRUE(re.Exec("x <?PHP y"));
    EXPECT_EQ(re.MatchPos(0), 3);
    EXPECT_EQ(re.MatchLen(0), 5);
    EXPECT_EQ(re.MatchPos(1), 5);
    EXPECT_EQ(re.MatchLen(1), 3);
    ASSERT_TRUE(re.Exec("x <? y"));
    EXPECT_EQ(re.MatchLen(0), 2);
    EXPECT_EQ(re.SubExprMatchCount(), 1);
    EXPECT_EQ(re.MatchPos(1), -1);

    re.SetExpression("((a)b)+");
    ASSERT_TRUE(re.Exec("xabab"));
    EXPECT_EQ(re.MatchPos(1), 4);
    EXPECT_EQ(re.MatchLen(1), 2);
    EXPECT_EQ(re.MatchPos(2), 4);
    EXPECT_EQ(re.SubExprMatchCount(), 3);
}

TEST(RegExpr, GroupsLeftByBacktrackingAreUnset)
{
    TRegExpr re;
    re.SetExpression("(ab)?ac");
    ASSERT_TRUE(re.Exec("ac"));
    EXPECT_EQ(re.MatchPos(1), -1);
    EXPECT_EQ(re.MatchLen(1), -1);

    re.SetExpression("(a)|b");
    ASSERT_TRUE(re.Exec("b"));
    EXPECT_EQ(re.MatchPos(1), -1);

    // a group that took no part ends the count even when a later one matched
    re.SetExpression("(a)?(b)");
    ASSERT_TRUE(re.Exec("b"));
    EXPECT_EQ(re.SubExprMatchCount(), 1);
    EXPECT_EQ(re.MatchPos(2), 1);
}

TEST(RegExpr, NineGroupsAreAllowed)
{
    TRegExpr re;
    re.SetExpression("(a)(b)(c)(d)(e)(f)(g)(h)(i)");
    ASSERT_TRUE(re.Exec("_abcdefghi"));
    EXPECT_EQ(re.SubExprMatchCount(), 10);
    EXPECT_EQ(re.MatchPos(9), 10);
    EXPECT_EQ(re.MatchPos(10), -1);
    EXPECT_EQ(re.MatchPos(-1), -1);
    EXPECT_EQ(re.MatchLen(10), -1);
}

TEST(RegExpr, DollarAloneOnlyMatchesAnEmptyInput)
{
    TRegExpr re;
    re.SetExpression("$");
    EXPECT_FALSE(re.Exec("abc"));
    ASSERT_TRUE(re.Exec(""));
    EXPECT_EQ(re.MatchPos(0), 1);
    EXPECT_EQ(re.MatchLen(0), 0);
}

TEST(RegExpr, FailedExecForgetsTheLastMatch)
{
    TRegExpr re;
    re.SetExpression("b(c)");
    ASSERT_TRUE(re.Exec("abc"));
    EXPECT_FALSE(re.Exec("xyz"));
    EXPECT_EQ(re.MatchPos(0), -1);
    EXPECT_EQ(re.MatchPos(1), -1);
    EXPECT_EQ(re.SubExprMatchCount(), 0);
}

TEST(RegExpr, EmptyExpressionReleasesTheProgram)
{
    TRegExpr re;
    EXPECT_THROW(re.Exec("a"), Exception);
    re.SetExpression("a");
    EXPECT_TRUE(re.Exec("a"));
    re.SetExpression("");
    try {
        re.Exec("a");
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Not assigned expression property");
    }
    re.SetExpression("b");
    EXPECT_EQ(re.Expression(), "b");
    EXPECT_TRUE(re.Exec("ab"));
}

TEST(RegExpr, SchemeExpressionsOfTheMultiLanguageHighlighter)
{
    TRegExpr re;
    re.SetExpression("<script language=\"([jJ][sS][cC][rR][iI][pP][tT])\">");
    ASSERT_TRUE(re.Exec("  <script language=\"JScript\">"));
    EXPECT_EQ(re.MatchPos(0), 3);
    EXPECT_EQ(re.MatchLen(0), 27);
    EXPECT_EQ(re.MatchPos(1), 21);
    EXPECT_EQ(re.MatchLen(1), 7);
    EXPECT_FALSE(re.Exec("<script language=\"JavaScript\">"));

    re.SetExpression("<script language=(\"[vV][bB]\")>");
    EXPECT_TRUE(re.Exec("<script language=\"vb\">"));
    EXPECT_FALSE(re.Exec("<script  language=\"VB\">"));

    re.SetExpression("<style type=(\"[tT][eE][xX][tT]/[cC][sS][sS]\")>");
    EXPECT_TRUE(re.Exec("<style type=\"Text/CSS\">"));

    re.SetExpression("\\?>");
    ASSERT_TRUE(re.Exec("a ? b ?> c"));
    EXPECT_EQ(re.MatchPos(0), 7);
}

// "ö" and "Ö" (bytes 0xF6 and 0xD6 once) are letters like any other.
TEST(RegExpr, LettersOutsideAsciiMatchThemselves)
{
    TRegExpr re;
    re.SetExpression("aöb");
    EXPECT_TRUE(re.Exec("xaöb"));
    EXPECT_FALSE(re.Exec("a5b"));
    re.SetExpression("Ö+");
    ASSERT_TRUE(re.Exec("xÖÖy"));
    EXPECT_EQ(re.MatchLen(0), 4);
    EXPECT_FALSE(re.Exec("xy"));
    re.SetExpression("[ö]");
    EXPECT_TRUE(re.Exec("ö"));
    EXPECT_FALSE(re.Exec("7"));
    // A byte of no well-formed sequence matches itself.
    re.SetExpression("a\xC3");
    ASSERT_TRUE(re.Exec("xa\xC3"));
    EXPECT_EQ(re.MatchLen(0), 2);
}

// The extended letter ranges stand for the letters of Windows-1252's upper
// half, written as Windows-1252 bytes or as the characters themselves.
TEST(RegExpr, LetterRangesAreTheLettersOfWindows1252)
{
    struct Row {
        const char* expression;
        std::vector<std::string> in;
        std::vector<std::string> out;
    };
    const std::string lower[] = {"à", "é", "ÿ", "š", "œ", "ß", "ž", "ƒ", "µ"};
    const std::string upper[] = {"À", "Þ", "Š", "Ÿ", "Œ", "Ž"};
    const std::string neither[] = {"÷", "×", "¸", "a", "€", "ā", "ж", "你", "\xE9"};
    const auto join = [](std::initializer_list<std::span<const std::string>> parts) {
        std::vector<std::string> all;
        for (const auto part : parts)
            all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    const Row rows[] = {
        {"[\\xE0-\\xFF]", join({lower}), join({upper, neither})},
        {"[à-ÿ]", join({lower}), join({upper, neither})},
        {"[\\xC0-\\xDF]", join({upper}), join({lower, neither})},
        {"[À-ß]", join({upper}), join({lower, neither})},
        {"[\\xE0-\\xDF]", join({lower, upper}), join({neither})},
        {"[^\\xE0-\\xDF]", join({neither}), join({lower, upper})},
    };
    for (const Row& row : rows) {
        TRegExpr re;
        re.SetExpression(row.expression);
        for (const std::string& c : row.in) {
            ASSERT_TRUE(re.Exec(c)) << row.expression << " " << c;
            EXPECT_EQ(re.MatchLen(0), int(c.size())) << row.expression << " " << c;
        }
        for (const std::string& c : row.out)
            EXPECT_FALSE(re.Exec(c)) << row.expression << " " << c;
    }

    TRegExpr plain;
    plain.ExtendedCharClasses = 0;
    plain.SetExpression("[\\xE0-\\xFF]");
    EXPECT_TRUE(plain.Exec("÷"));
    EXPECT_FALSE(plain.Exec("š"));
    EXPECT_THROW(plain.SetExpression("[\\xE0-\\xDF]"), Exception);
    EXPECT_THROW(plain.SetExpression("[ÿ-à]"), Exception);
}

TEST(RegExpr, NulBytesAreOrdinaryCharacters)
{
    TRegExpr re;
    const std::string input("a\0b", 3);
    re.SetExpression("a.b");
    EXPECT_TRUE(re.Exec(input));
    re.SetExpression("b$");
    ASSERT_TRUE(re.Exec(input));
    EXPECT_EQ(re.MatchPos(0), 3);
    re.SetExpression("\\x00+");
    ASSERT_TRUE(re.Exec(std::string("x\0\0y", 4)));
    EXPECT_EQ(re.MatchPos(0), 2);
    EXPECT_EQ(re.MatchLen(0), 2);
    re.SetExpression("[\\x00]b");
    EXPECT_TRUE(re.Exec(input));
    re.SetExpression(std::string("a\0", 2));
    EXPECT_TRUE(re.Exec(input));
    EXPECT_FALSE(re.Exec("ab"));
}

TEST(RegExpr, PathologicalPatternsGiveTheExactAnswer)
{
    struct Row {
        const char* expr;
        std::string input;
        int pos; // -1: no match
        int len;
    };
    const std::string as(10000, 'a');
    const std::string as30(30, 'a');
    const std::vector<Row> rows = {
        {"(a|aa)*b", as30 + "cb", 32, 1},
        {"(a+)+b", as30 + "cab", 32, 2},
        {"(x+x+)+y", std::string(30, 'x') + "!xxy", 32, 3},
        {"(a+)+b", as, -1, 0},
        {"(a|aa)+b", as, -1, 0},
        {"(a|a)*[bc]", as, -1, 0},
        {"((a)|a)+$x", as, -1, 0},
        {"(a|aa)+b", as + "b", 1, 10001},
        {"(aa|a)*b", as + "cab", 10002, 2},
        {"a*a*a*a*c", as + "c", 1, 10001},
    };
    TRegExpr re;
    for (const Row& row : rows) {
        re.SetExpression(row.expr);
        EXPECT_EQ(re.Exec(row.input), row.pos >= 0) << row.expr;
        EXPECT_EQ(re.MatchPos(0), row.pos) << row.expr;
        EXPECT_EQ(re.MatchLen(0), row.pos >= 0 ? row.len : -1) << row.expr;
    }
    // the engine is usable again at once
    re.SetExpression("(a+)+b");
    ASSERT_TRUE(re.Exec("xaab"));
    EXPECT_EQ(re.MatchPos(1), 2);
}

TEST(RegExpr, LongInputsAreSearchedWhole)
{
    TRegExpr re;
    std::string line(1000000, 'c');
    line += "<?php";
    re.SetExpression("<\\?([pP][hH][pP])?");
    ASSERT_TRUE(re.Exec(line));
    EXPECT_EQ(re.MatchPos(0), 1000001);
    EXPECT_EQ(re.MatchLen(0), 5);

    std::string loop = "x" + std::string(200000, 'a') + "b";
    re.SetExpression("x(a|c)*b");
    ASSERT_TRUE(re.Exec(loop));
    EXPECT_EQ(re.MatchLen(0), 200002);
    EXPECT_EQ(re.MatchPos(1), 200001);
}

// The search for a leading literal tests many start positions at once; the
// literal must be found wherever it lies, and near misses must not count.
TEST(RegExpr, LeadingLiteralIsFoundAtEveryPlace)
{
    TRegExpr re;
    re.SetExpression("</script>");
    for (std::size_t len = 9; len <= 70; ++len)
        for (std::size_t at = 0; at + 9 <= len; ++at) {
            std::string line(len, 'x');
            // near misses before the real one: same first and last byte
            for (std::size_t m = 0; m + 9 <= at; m += 10)
                line.replace(m, 9, "</sxript>");
            line.replace(at, 9, "</script>");
            ASSERT_TRUE(re.Exec(line)) << len << " " << at;
            ASSERT_EQ(re.MatchPos(0), int(at) + 1) << len << " " << at;
        }
    EXPECT_FALSE(re.Exec(std::string(40, 'x') + "</scrip" + std::string(40, '>')));
    EXPECT_FALSE(re.Exec(std::string(64, '<')));

    re.SetExpression("<\\?");
    ASSERT_TRUE(re.Exec(std::string(30, '<') + "?"));
    EXPECT_EQ(re.MatchPos(0), 30);
}

// An engine given many expressions in turn, some again and again, must use
// each one's own program, and the letter-range setting in force at the time.
TEST(RegExpr, ExpressionsTakenInTurnKeepTheirMeaning)
{
    TRegExpr re;
    for (int round = 0; round < 3; ++round)
        for (int i = 0; i < 40; ++i) {
            const std::string word = "w" + std::to_string(i) + "x";
            re.SetExpression(word);
            ASSERT_TRUE(re.Exec("a w" + std::to_string(i) + "x")) << word;
            EXPECT_EQ(re.MatchPos(0), 3);
            EXPECT_FALSE(re.Exec("a w" + std::to_string(i + 1) + "x")) << word;
        }

    re.SetExpression("[\\xE0-\\xFF]");
    EXPECT_FALSE(re.Exec("÷"));
    re.SetExpression("");
    re.ExtendedCharClasses = 0;
    re.SetExpression("[\\xE0-\\xFF]");
    EXPECT_TRUE(re.Exec("÷"));
}

// Groups are limited to nine, so deep nesting stops at the tenth "(" and the
// compiler's recursion stays shallow whatever the text.
TEST(RegExpr, DeepNestingIsRejectedEarly)
{
    TRegExpr re;
    try {
        re.SetExpression(std::string(100000, '(') + "a" + std::string(100000, ')'));
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "too many ()");
    }
    re.SetExpression("(((((((((a)))))))))");
    ASSERT_TRUE(re.Exec("xa"));
    EXPECT_EQ(re.SubExprMatchCount(), 10);
    EXPECT_EQ(re.MatchPos(9), 2);
}

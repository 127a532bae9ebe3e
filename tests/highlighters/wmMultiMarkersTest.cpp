// The block marker finder against a plain search of every expression at
// every line: the quick look for each expression's fixed start, sixteen
// positions at a time, must skip no line where an expression matches.
#include "highlighters/wmMultiMarkers.h"

#include "highlighters/wmMultiSchemes.h"
#include "platform/Utf8.h"
#include "tests/highlighters/TestSyn.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using SchemeTexts = std::vector<std::pair<std::string, std::string>>;

// The markers every expression finds, searched from the start of the line
// (or from its offset) match after match, numbered as the finder numbers
// them: distinct opening texts first, then distinct closing ones.
std::vector<TgmMarker> PlainMarkers(const SchemeTexts& schemes, const std::string& line, bool closing,
                                    const std::vector<int>* offsets)
{
    std::vector<std::string> opening;
    std::vector<std::string> closingTexts;
    auto number = [](std::vector<std::string>& texts, const std::string& text) {
        auto it = std::find(texts.begin(), texts.end(), text);
        if (it == texts.end())
            it = texts.insert(texts.end(), text);
        return static_cast<int>(it - texts.begin());
    };
    std::vector<std::pair<int, int>> numbers;
    for (const auto& [start, end] : schemes)
        numbers.emplace_back(number(opening, start), number(closingTexts, end));
    std::vector<TgmMarker> markers;
    auto search = [&](bool closes) {
        for (int s = 0; s < static_cast<int>(schemes.size()); ++s) {
            const std::string& text = closes ? schemes[s].second : schemes[s].first;
            const int expr = closes ? static_cast<int>(opening.size()) + numbers[s].second : numbers[s].first;
            TRegExpr regExpr;
            try {
                regExpr.SetExpression(text);
            } catch (const std::exception&) {
                continue;
            }
            if (text.empty())
                continue;
            size_t offset = offsets ? static_cast<size_t>((*offsets)[static_cast<size_t>(expr)]) : 0;
            while (offset < line.size() && regExpr.Exec(std::string_view(line).substr(offset))) {
                const size_t pos = offset + static_cast<size_t>(regExpr.MatchPos(0) - 1);
                const size_t len = static_cast<size_t>(regExpr.MatchLen(0));
                if (len > 0)
                    markers.push_back({s, closes ? -1 : s, static_cast<int>(pos + 1), static_cast<int>(len), expr});
                offset = len > 0 ? pos + len : vx::utf8::NextChar(line, pos);
            }
        }
    };
    search(false);
    if (closing || !markers.empty() || offsets)
        search(true);
    return markers;
}

std::vector<TgmMarker> Ordered(std::vector<TgmMarker> markers)
{
    std::sort(markers.begin(), markers.end(), [](const TgmMarker& a, const TgmMarker& b) {
        return std::tie(a.Pos, a.NewScheme, a.Scheme, a.Len, a.Expr) <
               std::tie(b.Pos, b.NewScheme, b.Scheme, b.Len, b.Expr);
    });
    return markers;
}

std::string Describe(const std::vector<TgmMarker>& markers)
{
    std::string text;
    for (const TgmMarker& m : markers)
        text += "[" + std::to_string(m.Scheme) + "/" + std::to_string(m.NewScheme) + " at " + std::to_string(m.Pos) +
                "+" + std::to_string(m.Len) + " e" + std::to_string(m.Expr) + "]";
    return text;
}

// Schemes like the page's, and edge cases of the fixed starts: one byte,
// a start shared by two expressions, one that repeats its first byte, none
// (a set, an alternation, an anchor), one that does not compile; more
// distinct starts than the quick look takes at once; and characters outside
// ASCII, with expressions that match the empty text among them.
const std::vector<SchemeTexts> kSchemeSets = {
    {{R"re(<\?([pP][hH][pP])?)re", R"re(\?>)re"},
     {R"re(<script language="([jJ]([aA][vV][aA])?[sS][cC][rR][iI][pP][tT])">)re", "</script>"},
     {R"re(<script language=("[vV][bB]")>)re", "</script>"},
     {R"re(<style type=("[tT][eE][xX][tT]/[cC][sS][sS]")>)re", "</style>"}},
    {{"x", "--"}, {"[aA]bc", "<<-"}, {"<%|%>", "^%"}, {"ab*c", "y"}, {"(", "?>"}, {"--x", "</s>"}},
    {{"a1", "z1"}, {"b2", "y2"}, {"c3", "x3"}, {"d4", "w4"}, {"e5", "v5"}, {"f6", "u6"}, {"g7", "t7"},
     {"h8", "s8"}, {"i9", "r9"}, {"<j", "<k"}},
    {{"é*ü", "[à-ÿ]+"}, {"(你|好)x?", "😀"}, {"[^ <a-z]?", "\\W"}, {"<é", "é>"}},
};

// Whether every marker begins and ends where a character does.
bool KeepsCharactersWhole(const std::string& line, const std::vector<TgmMarker>& markers)
{
    return std::all_of(markers.begin(), markers.end(), [&](const TgmMarker& m) {
        const auto start = static_cast<std::size_t>(m.Pos - 1);
        const std::size_t end = start + static_cast<std::size_t>(m.Len);
        return vx::utf8::CharStart(line, start) == start && vx::utf8::CharStart(line, end) == end;
    });
}

const std::vector<std::string> kFragments = {
    "<", "?", ">", "<?", "<?PhP", "<script language=\"", "<script language=", "JavaScript\">", "\"vb\">",
    "<style type=\"text/css\">", "x", "abc", "Abc", "abbbc", "-", "--", "--x", "</", "</s>", "</script>",
    "</style>", " ", "    text ", "%", "<%", "%>", "?>", "<<-", "y", "a1", "b", "2", "i9", "<j", "<k", "z1", "r9",
    "é", "ü", "éü", "ÿ", "你", "好x", "😀", "<é", "é>"};

class MarkerFinderTest : public ::testing::TestWithParam<size_t> {};

TEST_P(MarkerFinderTest, FindsWhatAPlainSearchFinds)
{
    const SchemeTexts& texts = kSchemeSets[GetParam()];
    vx::test::TTestSyn language;
    TgmSchemes schemes;
    for (const auto& [start, end] : texts) {
        TgmScheme& scheme = schemes.Add();
        scheme.SetStartExpr(start);
        scheme.SetEndExpr(end);
        scheme.SetHighlighter(&language);
    }
    TgmMarkerFinder finder;
    finder.Build(schemes);

    std::mt19937 random(static_cast<unsigned>(GetParam()) + 7);
    std::vector<TgmMarker> markers;
    for (int round = 0; round < 3000; ++round) {
        std::string line;
        // Mostly filler, so that starts fall at every place of a sixteen-byte
        // block, across its end, and at the very end of the line, whole or cut.
        for (int pieces = static_cast<int>(random() % 40); pieces > 0; --pieces)
            line += random() % 3 ? std::string(random() % 9, random() % 2 ? ' ' : 'q')
                                 : kFragments[random() % kFragments.size()];
        if (random() % 4 == 0)
            line = line.substr(0, random() % (line.size() + 1));
        const bool closing = random() % 2;
        SCOPED_TRACE("line \"" + line + "\"");

        finder.Find(line, closing, markers);
        EXPECT_TRUE(std::is_sorted(markers.begin(), markers.end(),
                                   [](const TgmMarker& a, const TgmMarker& b) { return a.Pos < b.Pos; }));
        EXPECT_EQ(Describe(Ordered(markers)), Describe(Ordered(PlainMarkers(texts, line, closing, nullptr))));
        EXPECT_TRUE(KeepsCharactersWhole(line, markers)) << Describe(markers);

        std::vector<int> offsets;
        for (int e = 0; e < finder.Count(); ++e)
            offsets.push_back(static_cast<int>(random() % (line.size() + 1)));
        finder.FindFrom(line, offsets, markers);
        EXPECT_EQ(Describe(Ordered(markers)), Describe(Ordered(PlainMarkers(texts, line, true, &offsets))));
    }
}

INSTANTIATE_TEST_SUITE_P(SchemeSets, MarkerFinderTest, ::testing::Range<size_t>(0, kSchemeSets.size()));

} // namespace

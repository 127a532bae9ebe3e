// Shared helpers of the highlighter tests.
#include "tests/highlighters/HighlighterTestSupport.h"

#include <gtest/gtest.h>

namespace vx::test {

std::ostream& operator<<(std::ostream& out, const Tok& t)
{
    return out << "{\"" << t.text << "\", kind " << t.kind << ", pos " << t.pos << ", " << t.attribute << "}";
}

std::vector<Tok> Scan(TmwCustomHighLighter& hl, const std::string& line, std::int32_t startRange,
                      std::int32_t* endRange)
{
    std::vector<Tok> tokens;
    hl.SetRange(startRange);
    hl.SetLine(line, 1);
    for (size_t steps = 0; !hl.GetEol(); ++steps) {
        if (steps > line.size()) {
            ADD_FAILURE() << "scan does not end on \"" << line << "\"";
            break;
        }
        auto* attribute = hl.GetTokenAttribute();
        tokens.push_back(Tok{hl.GetToken(), hl.GetTokenKind(), hl.GetTokenPos(), attribute ? attribute->Name() : ""});
        hl.Next();
    }
    if (endRange)
        *endRange = hl.GetRange();
    return tokens;
}

std::vector<Tok> Scan(TmwCustomHighLighter& hl, const std::string& line)
{
    hl.ResetRange();
    return Scan(hl, line, hl.GetRange());
}

std::vector<std::pair<std::string, int>> TextsAndKinds(const std::vector<Tok>& tokens)
{
    std::vector<std::pair<std::string, int>> result;
    for (const auto& t : tokens)
        result.emplace_back(t.text, t.kind);
    return result;
}

std::int32_t ExpectLineProperties(TmwCustomHighLighter& hl, const std::string& line, std::int32_t startRange)
{
    std::int32_t end = 0;
    auto tokens = Scan(hl, line, startRange, &end);
    int pos = 0;
    std::string joined;
    for (const auto& t : tokens) {
        EXPECT_EQ(t.pos, pos) << "token " << t << " of line \"" << line << "\"";
        EXPECT_FALSE(t.text.empty()) << "empty token at " << pos << " of line \"" << line << "\"";
        pos += static_cast<int>(t.text.size());
        joined += t.text;
    }
    EXPECT_EQ(joined, line) << "tokens do not cover the line";
    EXPECT_EQ(hl.GetTokenPos(), static_cast<int>(line.size())) << "line end not at the end of \"" << line << "\"";
    std::int32_t again = 0;
    EXPECT_EQ(Scan(hl, line, startRange, &again), tokens) << "same line and range, other tokens: \"" << line << "\"";
    EXPECT_EQ(again, end);
    return end;
}

void ExpectDocumentProperties(TmwCustomHighLighter& hl, const std::vector<std::string>& lines)
{
    hl.ResetRange();
    std::int32_t range = hl.GetRange();
    for (const auto& line : lines) {
        range = ExpectLineProperties(hl, line, range);
        if (::testing::Test::HasFailure())
            return;
    }
}

std::vector<std::string> RandomLines(const std::vector<std::string>& fragments, int count, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        std::string line;
        int parts = static_cast<int>(rng() % 12);
        for (int p = 0; p < parts; ++p) {
            if (rng() % 8 == 0)
                line += static_cast<char>(rng() % 256);
            else
                line += fragments[rng() % fragments.size()];
        }
        lines.push_back(line);
    }
    return lines;
}

} // namespace vx::test

// TRegExpr against std::regex (ECMAScript) on generated expressions and inputs
// from the part of the syntax where the two agree.
#include "highlighters/RegExpr.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>
#include <vector>

namespace {

// One generated expression, written in both syntaxes.
struct Fragment {
    std::string ours;
    std::string theirs;
    bool width = false; // never matches the empty string
};

class ExpressionGenerator {
public:
    explicit ExpressionGenerator(unsigned seed) : rng_(seed) {}

    // Groups whose positions both engines define alike: ECMAScript clears the
    // groups inside a repeated group at each repetition, this engine keeps them.
    std::vector<bool> comparable;

    Fragment Expression()
    {
        comparable.assign(1, true);
        return alternation(0);
    }

private:
    std::mt19937 rng_;

    int pick(int n) { return int(rng_() % unsigned(n)); }

    Fragment alternation(int depth)
    {
        Fragment f = branch(depth);
        const int more = pick(4) == 0 ? 1 + pick(2) : 0;
        for (int i = 0; i < more; ++i) {
            const Fragment b = branch(depth);
            f.ours += "|" + b.ours;
            f.theirs += "|" + b.theirs;
            f.width = f.width && b.width;
        }
        return f;
    }

    Fragment branch(int depth)
    {
        Fragment f;
        const int pieces = pick(8) == 0 ? 0 : 1 + pick(3);
        for (int i = 0; i < pieces; ++i) {
            const Fragment p = piece(depth);
            f.ours += p.ours;
            f.theirs += p.theirs;
            f.width = f.width || p.width;
        }
        return f;
    }

    Fragment piece(int depth)
    {
        const std::size_t firstGroup = comparable.size();
        bool anchor = false;
        Fragment f = atom(depth, anchor);
        if (anchor)
            return f; // ECMAScript does not repeat assertions
        static const char* const kQuantifiers[] = {"", "", "", "*", "+", "?"};
        std::string q = kQuantifiers[pick(6)];
        if ((q == "*" || q == "+") && !f.width)
            q = "?";
        if (q.empty())
            return f;
        if (q != "?")
            for (std::size_t g = firstGroup + 1; g < comparable.size(); ++g)
                comparable[g] = false;
        f.ours += q;
        f.theirs += q;
        f.width = q == "+";
        return f;
    }

    Fragment same(const std::string& text, bool width) { return {text, text, width}; }

    Fragment atom(int depth, bool& anchor)
    {
        static const char kLetters[] = "abc1_A-";
        switch (pick(14)) {
        case 0:
            return same(".", true);
        case 1:
        case 2:
            return set();
        case 3:
            return same(pick(2) ? "\\d" : "\\D", true);
        case 4:
            return pick(2) ? Fragment{"\\w", "[A-Za-z_]", true} : Fragment{"\\W", "[^A-Za-z_]", true};
        case 5:
            return same(pick(2) ? "\\x61" : "\\.", true);
        case 6:
        case 7:
            if (depth < 3 && comparable.size() < 10) {
                comparable.push_back(true);
                Fragment inner = alternation(depth + 1);
                return {"(" + inner.ours + ")", "(" + inner.theirs + ")", inner.width};
            }
            break;
        case 8:
            if (pick(3) == 0) {
                anchor = true;
                return same(pick(2) ? "^" : "$", false);
            }
            break;
        default:
            break;
        }
        return same(std::string(1, kLetters[pick(7)]), true);
    }

    Fragment set()
    {
        static const char* const kMembers[] = {"a", "b", "c", "1", "_", "a-c", "0-9", "\\d"};
        std::string text = pick(3) == 0 ? "[^" : "[";
        const int n = 1 + pick(3);
        for (int i = 0; i < n; ++i)
            text += kMembers[pick(8)];
        if (pick(5) == 0)
            text += "-";
        return same(text + "]", true);
    }
};

std::string RandomInput(std::mt19937& rng)
{
    static const char kChars[] = "abc1_A-.x";
    std::string s(rng() % 11, ' ');
    for (char& c : s)
        c = kChars[rng() % 9];
    return s;
}

} // namespace

TEST(RegExprDifferential, AgreesWithEcmaScriptOnGeneratedCases)
{
    ExpressionGenerator gen(20261207);
    std::mt19937 inputs(7);
    int compared = 0;
    int matched = 0;
    for (int i = 0; i < 700; ++i) {
        const Fragment expr = gen.Expression();
        if (expr.ours.empty())
            continue;
        TRegExpr ours;
        ASSERT_NO_THROW(ours.SetExpression(expr.ours)) << expr.ours;
        std::regex theirs;
        try {
            theirs.assign(expr.theirs, std::regex::ECMAScript);
        } catch (const std::regex_error&) {
            continue;
        }
        for (int k = 0; k < 8; ++k) {
            const std::string input = RandomInput(inputs);
            std::smatch m;
            bool expected = std::regex_search(input, m, theirs);
            // No attempt is made after the last character of a non-empty input.
            if (expected && !input.empty() && m.position(0) == std::ptrdiff_t(input.size()))
                expected = false;
            SCOPED_TRACE("\"" + expr.ours + "\" on \"" + input + "\"");
            ASSERT_EQ(ours.Exec(input), expected);
            ++compared;
            if (!expected)
                continue;
            ++matched;
            EXPECT_EQ(ours.MatchPos(0), m.position(0) + 1);
            EXPECT_EQ(ours.MatchLen(0), m.length(0));
            for (std::size_t g = 1; g < m.size(); ++g) {
                if (!gen.comparable[g])
                    continue;
                EXPECT_EQ(ours.MatchPos(int(g)), m[g].matched ? m.position(g) + 1 : -1) << "group " << g;
                EXPECT_EQ(ours.MatchLen(int(g)), m[g].matched ? m.length(g) : -1) << "group " << g;
            }
        }
    }
    // the generator must keep producing cases both engines accept, and matches
    EXPECT_GT(compared, 5000);
    EXPECT_GT(matched, 1500);
}

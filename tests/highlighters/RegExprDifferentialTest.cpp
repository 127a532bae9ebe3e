// TRegExpr against std::regex (ECMAScript) on generated expressions and inputs
// from the part of the syntax where the two agree; on UTF-8 text against
// std::wregex on the same text as code points.
#include "highlighters/RegExpr.h"
#include "platform/Utf8.h"

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

// What expressions and inputs are made of: single characters, set members.
struct Alphabet {
    std::vector<std::string> letters;
    std::vector<std::string> members;
    std::vector<std::string> inputChars;
};

const Alphabet kAscii{{"a", "b", "c", "1", "_", "A", "-"},
                      {"a", "b", "c", "1", "_", "a-c", "0-9", "\\d"},
                      {"a", "b", "c", "1", "_", "A", "-", ".", "x"}};
// Characters of two, three and four bytes, and ranges over them.
const Alphabet kUtf8{{"a", "é", "ü", "你", "😀", "-", "1"},
                     {"a", "é", "你", "à-ü", "α-ω", "😀", "\\d", "a-c"},
                     {"a", "é", "ü", "ÿ", "你", "好", "😀", "β", "-", "1", "x"}};

class ExpressionGenerator {
public:
    ExpressionGenerator(unsigned seed, const Alphabet& alphabet) : rng_(seed), alphabet_(alphabet) {}

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
    const Alphabet& alphabet_;

    const std::string& any(const std::vector<std::string>& from) { return from[std::size_t(pick(int(from.size())))]; }

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
        return same(any(alphabet_.letters), true);
    }

    Fragment set()
    {
        std::string text = pick(3) == 0 ? "[^" : "[";
        const int n = 1 + pick(3);
        for (int i = 0; i < n; ++i)
            text += any(alphabet_.members);
        if (pick(5) == 0)
            text += "-";
        return same(text + "]", true);
    }
};

std::string RandomInput(std::mt19937& rng, const Alphabet& alphabet)
{
    std::string s;
    for (std::size_t n = rng() % 11; n > 0; --n)
        s += alphabet.inputChars[rng() % alphabet.inputChars.size()];
    return s;
}

// The UTF-8 text as code points, and the byte offset of each code point.
std::wstring Wide(const std::string& text)
{
    std::wstring wide;
    for (std::size_t i = 0; i < text.size(); i = vx::utf8::NextChar(text, i))
        wide += wchar_t(vx::utf8::Decode(text, i));
    return wide;
}

int ByteOffset(const std::string& text, std::ptrdiff_t chars)
{
    return int(vx::utf8::OffsetOfChar(text, std::size_t(chars)));
}

// Runs generated expressions on generated inputs through both engines;
// positions and lengths are compared in bytes.
void ExpectAgreement(unsigned seed, const Alphabet& alphabet, int& compared, int& matched)
{
    ExpressionGenerator gen(seed, alphabet);
    std::mt19937 inputs(7);
    for (int i = 0; i < 700; ++i) {
        const Fragment expr = gen.Expression();
        if (expr.ours.empty())
            continue;
        TRegExpr ours;
        ASSERT_NO_THROW(ours.SetExpression(expr.ours)) << expr.ours;
        std::wregex theirs;
        try {
            theirs.assign(Wide(expr.theirs), std::regex::ECMAScript);
        } catch (const std::regex_error&) {
            continue;
        }
        for (int k = 0; k < 8; ++k) {
            const std::string input = RandomInput(inputs, alphabet);
            const std::wstring wideInput = Wide(input);
            std::wsmatch m;
            bool expected = std::regex_search(wideInput, m, theirs);
            // No attempt is made after the last character of a non-empty input.
            if (expected && !input.empty() && m.position(0) == std::ptrdiff_t(wideInput.size()))
                expected = false;
            SCOPED_TRACE("\"" + expr.ours + "\" on \"" + input + "\"");
            ASSERT_EQ(ours.Exec(input), expected);
            ++compared;
            if (!expected)
                continue;
            ++matched;
            const auto start = [&](std::size_t g) { return ByteOffset(input, m.position(g)); };
            const auto length = [&](std::size_t g) { return ByteOffset(input, m.position(g) + m.length(g)) - start(g); };
            EXPECT_EQ(ours.MatchPos(0), start(0) + 1);
            EXPECT_EQ(ours.MatchLen(0), length(0));
            for (std::size_t g = 1; g < m.size(); ++g) {
                if (!gen.comparable[g])
                    continue;
                EXPECT_EQ(ours.MatchPos(int(g)), m[g].matched ? start(g) + 1 : -1) << "group " << g;
                EXPECT_EQ(ours.MatchLen(int(g)), m[g].matched ? length(g) : -1) << "group " << g;
            }
        }
    }
}

} // namespace

TEST(RegExprDifferential, AgreesWithEcmaScriptOnGeneratedCases)
{
    struct Run {
        const char* name;
        const Alphabet& alphabet;
    };
    for (const Run run : {Run{"ASCII", kAscii}, Run{"UTF-8", kUtf8}}) {
        SCOPED_TRACE(run.name);
        int compared = 0;
        int matched = 0;
        ExpectAgreement(20261207, run.alphabet, compared, matched);
        // the generator must keep producing cases both engines accept, and matches
        EXPECT_GT(compared, 5000);
        EXPECT_GT(matched, 1500);
    }
}

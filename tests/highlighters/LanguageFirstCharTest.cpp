// The routine each language runs for each first character: every byte from 1
// to 255, alone on a line, scans as one token of the kind its routine gives.
// Bytes from 0x80 up are parts of letters outside ASCII.
#include "highlighters/DcjPerlSyn.h"
#include "highlighters/hkHTMLSyn.h"
#include "highlighters/lbVBSSyn.h"
#include "highlighters/mwCSSSyn.h"
#include "highlighters/mwJScriptSyn.h"
#include "highlighters/siTCLTKSyn.h"
#include "highlighters/wmPHPSyn.h"
#include "highlighters/wmSQLSyn.h"
#include "tests/highlighters/HighlighterTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <string_view>

using namespace vx::test;

namespace {

const std::string kLetters = [] {
    std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz";
    for (int c = 0x80; c <= 0xFF; ++c)
        letters += static_cast<char>(c);
    return letters;
}();
constexpr std::string_view kDigits = "0123456789";

// The expected kind of every byte: otherKind, then each entry's kind for its
// characters, later entries winning; bytes 1 to 32 are white space.
struct CharKinds {
    int otherKind;
    int spaceKind;
    std::vector<std::pair<std::string_view, int>> entries;
};

std::array<int, 256> ExpectedKinds(const CharKinds& kinds)
{
    std::array<int, 256> expected;
    expected.fill(kinds.otherKind);
    for (int c = 1; c <= 32; ++c)
        expected[static_cast<size_t>(c)] = kinds.spaceKind;
    for (const auto& [chars, kind] : kinds.entries)
        for (char c : chars)
            expected[static_cast<unsigned char>(c)] = kind;
    return expected;
}

void ExpectFirstCharKinds(TmwCustomHighLighter& hl, std::int32_t range, const CharKinds& kinds)
{
    const std::array<int, 256> expected = ExpectedKinds(kinds);
    for (int c = 1; c < 256; ++c) {
        const std::string line(1, static_cast<char>(c));
        const auto tokens = Scan(hl, line, range);
        ASSERT_EQ(tokens.size(), 1u) << "byte " << c;
        EXPECT_EQ(tokens[0].kind, expected[static_cast<size_t>(c)]) << "byte " << c;
    }
}

} // namespace

TEST(LanguageFirstChar, HtmlInsideATag)
{
    using H = ThkHTMLSyn;
    H hl;
    ExpectFirstCharKinds(hl, H::rsParam,
                         {H::tkIdentifier, H::tkSpace,
                          {{"\"", H::tkString}, {"&", H::tkText}, {"<=>", H::tkSymbol}}});
}

TEST(LanguageFirstChar, HtmlText)
{
    using H = ThkHTMLSyn;
    H hl;
    ExpectFirstCharKinds(hl, H::rsText, {H::tkText, H::tkSpace, {{" ", H::tkText}, {"<", H::tkSymbol}}});
}

TEST(LanguageFirstChar, JScript)
{
    using J = TmwJScriptSyn;
    J hl;
    ExpectFirstCharKinds(hl, J::rsNormal,
                         {J::tkUnknown, J::tkSpace,
                          {{kLetters, J::tkIdentifier}, {"Ee", J::tkKey}, {kDigits, J::tkNumber}, {"$", J::tkNumber},
                           {"#\"'", J::tkString}, {"/+-&|*%.(),{}~", J::tkSymbol}}});
}

TEST(LanguageFirstChar, VbScript)
{
    using V = TlbVbsSyn;
    V hl;
    ExpectFirstCharKinds(hl, V::rsNormal,
                         {V::tkIdentifier, V::tkSpace,
                          {{kDigits, V::tkNumber}, {"\"#", V::tkString}, {"'", V::tkComment},
                           {"<>&()*+,-./:;=^{}", V::tkSymbol}}});
}

TEST(LanguageFirstChar, Sql)
{
    using S = TwmSQLSyn;
    S hl;
    ExpectFirstCharKinds(hl, S::rsUnknown,
                         {S::tkUnknown, S::tkSymbol,
                          {{"\"'", S::tkString}, {"#", S::tkComment}, {"-/.", S::tkSymbol}, {kDigits, S::tkNumber},
                           {kLetters, S::tkIdentifier}, {"&()*+,:;<=>?[\\]^|", S::tkSymbol}}});
}

TEST(LanguageFirstChar, Php)
{
    using P = TwmPHPSyn;
    P hl;
    ExpectFirstCharKinds(hl, P::rsUnknown,
                         {P::tkUnknown, P::tkSpace,
                          {{"\"'", P::tkString}, {"#", P::tkComment}, {"$", P::tkVariable},
                           {"@", P::tkInvalidSymbol}, {"/", P::tkSymbol}, {kDigits, P::tkNumber},
                           {kLetters, P::tkIdentifier}, {"!%*^&+-<=>|(),.:;?[]{}~", P::tkSymbol}}});
}

TEST(LanguageFirstChar, Perl)
{
    using L = TDcjPerlSyn;
    L hl;
    // Alone on a line "m" and "q" are keywords, "x" and "%" the symbols they
    // are at a line end, and "." the symbol that no digit follows.
    ExpectFirstCharKinds(hl, 0,
                         {L::tkIllegal, L::tkSpace,
                          {{"#", L::tkComment}, {"\"'", L::tkString}, {"$@", L::tkIdentifier},
                           {kLetters, L::tkIdentifier}, {"mq", L::tkKey}, {"x%", L::tkSymbol},
                           {kDigits, L::tkNumber}, {".", L::tkSymbol}, {"!&*+-/^:<=>|(),;?[\\]{}~", L::tkSymbol}}});
}

TEST(LanguageFirstChar, Css)
{
    using C = TmwCSSSyn;
    C hl;
    ExpectFirstCharKinds(hl, C::rsNormal,
                         {C::tkUnknown, C::tkSpace,
                          {{"\f", C::tkUnknown}, {"#$", C::tkNumber}, {"'\"{}", C::tkString}, {"()/", C::tkSymbol},
                           {kDigits, C::tkNumber}, {kLetters, C::tkIdentifier}}});
}

TEST(LanguageFirstChar, TclTk)
{
    using T = TsiTCLTKSyn;
    T hl;
    ExpectFirstCharKinds(hl, T::rsUnKnown,
                         {T::tkUnknown, T::tkSpace,
                          {{"\f", T::tkUnknown}, {"\"", T::tkString}, {"#", T::tkComment}, {"/(;{", T::tkSymbol},
                           {kDigits, T::tkNumber}, {kLetters, T::tkIdentifier}}});
}

// The scanner kit, proven through a small language defined here: keywords,
// numbers, strings, a comment that spans lines, and the shared routines.
#include "highlighters/mwScannerKit.h"
#include "tests/highlighters/HighlighterTestSupport.h"
#include "tests/highlighters/TestSyn.h"

#include <gtest/gtest.h>

using namespace vx::test;

namespace {

struct Recorder : TmwExportTarget {
    std::vector<std::tuple<std::string, TmwHighLightAttributes*, bool, bool>> calls;
    void FormatToken(const std::string& token, TmwHighLightAttributes* attribute, bool needsEscape, bool isSpace) override
    {
        calls.emplace_back(token, attribute, needsEscape, isSpace);
    }
};

using TK = std::vector<std::pair<std::string, int>>;

} // namespace

TEST(ScannerKit, EmptyLineIsTheLineEndAtOnce)
{
    TTestSyn hl;
    hl.SetLine("", 1);
    EXPECT_TRUE(hl.GetEol());
    EXPECT_EQ(hl.GetTokenPos(), 0);
    EXPECT_EQ(hl.GetTokenKind(), tkNull);
    EXPECT_EQ(hl.GetTokenAttribute(), nullptr);
    EXPECT_EQ(hl.GetToken(), "");
}

TEST(ScannerKit, TokensKindsPositionsAndAttributes)
{
    TTestSyn hl;
    auto tokens = Scan(hl, "IF x=12 Then \"a b\"");
    ASSERT_EQ(tokens.size(), 9u);
    EXPECT_EQ(tokens[0], (Tok{"IF", tkKey, 0, "Reserved word"}));
    EXPECT_EQ(tokens[1], (Tok{" ", tkSpace, 2, "Space"}));
    EXPECT_EQ(tokens[2], (Tok{"x", tkIdentifier, 3, "Identifier"}));
    EXPECT_EQ(tokens[3], (Tok{"=", tkSymbol, 4, "Symbol"}));
    EXPECT_EQ(tokens[4], (Tok{"12", tkNumber, 5, "Number"}));
    EXPECT_EQ(tokens[6], (Tok{"Then", tkKey, 8, "Reserved word"}));
    EXPECT_EQ(tokens[8], (Tok{"\"a b\"", tkString, 13, "String"}));
}

TEST(ScannerKit, KeywordsAreWholeWordsOnly)
{
    TTestSyn hl;
    // "fi" has the hash of "if"; "x2" and "x_" have the hash of "x1" when digits
    // and '_' weigh nothing; longer and shorter words share no slot entry.
    EXPECT_EQ(TextsAndKinds(Scan(hl, "fi x2 x1 X1 ifs i WHILE elsE")),
              (TK{{"fi", tkIdentifier}, {" ", tkSpace}, {"x2", tkIdentifier}, {" ", tkSpace}, {"x1", tkKey},
                  {" ", tkSpace}, {"X1", tkKey}, {" ", tkSpace}, {"ifs", tkIdentifier}, {" ", tkSpace},
                  {"i", tkIdentifier}, {" ", tkSpace}, {"WHILE", tkComment}, {" ", tkSpace}, {"elsE", tkKey}}));
    EXPECT_EQ(TestKeywords().Hash("fi"), TestKeywords().Hash("if"));
    EXPECT_EQ(TestKeywords().Find("fi", tkIdentifier), tkIdentifier);
    EXPECT_EQ(TestKeywords().Find("\xC9ND", tkIdentifier), tkIdentifier); // 0xC9 is no 'E'
    EXPECT_EQ(TestKeywords().Find("then", 9999, tkIdentifier), tkIdentifier);
}

TEST(ScannerKit, KeyCompComparesTheWholeMeasuredRun)
{
    struct Probe : TTestSyn {
        bool Comp(const std::string& line, const std::string& word)
        {
            SetLine(line, 1);
            KeyHash(0);
            return KeyComp(word);
        }
    } hl;
    EXPECT_TRUE(hl.Comp("Then;", "THEN"));
    EXPECT_FALSE(hl.Comp("x2", "x1"));
    EXPECT_FALSE(hl.Comp("x_", "x1"));
    EXPECT_FALSE(hl.Comp("thenx", "then"));
    EXPECT_FALSE(hl.Comp("the", "then"));
}

TEST(ScannerKit, LineEndCharactersAndWhiteSpace)
{
    TTestSyn hl;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "a\r\nb\rc\nd \t\x01\x1F\x7F")),
              (TK{{"a", tkIdentifier}, {"\r\n", tkSpace}, {"b", tkIdentifier}, {"\r", tkSpace}, {"c", tkIdentifier},
                  {"\n", tkSpace}, {"d", tkIdentifier}, {" \t\x01\x1F", tkSpace}, {"\x7F", tkUnknown}}));
}

TEST(ScannerKit, NulAndHighBytesAreOrdinaryCharacters)
{
    TTestSyn hl;
    std::string line("a\0b \"x\0y\" \xFF\x80", 12);
    EXPECT_EQ(TextsAndKinds(Scan(hl, line)),
              (TK{{"a", tkIdentifier}, {std::string(1, '\0'), tkUnknown}, {"b", tkIdentifier}, {" ", tkSpace},
                  {std::string("\"x\0y\"", 5), tkString}, {" ", tkSpace}, {"\xFF", tkUnknown}, {"\x80", tkUnknown}}));
    // A NUL at the end of the line is part of the line too.
    EXPECT_EQ(TextsAndKinds(Scan(hl, std::string("a\0", 2))),
              (TK{{"a", tkIdentifier}, {std::string(1, '\0'), tkUnknown}}));
}

TEST(ScannerKit, RangeCarriesAcrossLinesAndStaysPut)
{
    TTestSyn hl;
    std::int32_t end = -1;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "a { b", rsNormal, &end)),
              (TK{{"a", tkIdentifier}, {" ", tkSpace}, {"{ b", tkComment}}));
    EXPECT_EQ(end, rsComment);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "", rsComment, &end)), TK{});
    EXPECT_EQ(end, rsComment);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "c } d", rsComment, &end)),
              (TK{{"c }", tkComment}, {" ", tkSpace}, {"d", tkIdentifier}}));
    EXPECT_EQ(end, rsNormal);
    hl.SetRange(0x1234501);
    EXPECT_EQ(hl.GetRange(), 1); // the low byte
    hl.ResetRange();
    EXPECT_EQ(hl.GetRange(), rsNormal);
}

TEST(ScannerKit, TheLineIsCopied)
{
    TTestSyn hl;
    std::string line = "if then";
    hl.SetLine(line, 7);
    line.assign("xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx");
    line.shrink_to_fit();
    EXPECT_EQ(hl.GetToken(), "if");
    hl.Next();
    hl.Next();
    EXPECT_EQ(hl.GetToken(), "then");
    EXPECT_EQ(hl.GetTokenKind(), tkKey);
    EXPECT_EQ(hl.LineNumber(), 7);
}

TEST(ScannerKit, ExportHandsEveryTokenAndTheLineEndToTheExporter)
{
    TTestSyn hl;
    Recorder out;
    hl.SetExporter(&out);
    hl.SetLineForExport("if \"s\"");
    while (!hl.GetEol())
        hl.ExportNext();
    ASSERT_EQ(out.calls.size(), 4u);
    EXPECT_EQ(out.calls[0], std::make_tuple(std::string("if"), hl.key, false, false));
    EXPECT_EQ(out.calls[1], std::make_tuple(std::string(" "), hl.space, false, true));
    EXPECT_EQ(std::get<2>(out.calls[2]), true);
    EXPECT_EQ(out.calls[3], std::make_tuple(std::string(), static_cast<TmwHighLightAttributes*>(nullptr), false, false));
    hl.SetExporter(nullptr);
    hl.SetLineForExport("x"); // no exporter: nothing to call, no crash
    EXPECT_EQ(out.calls.size(), 4u);
}

TEST(ScannerKit, PropertiesOnRandomLines)
{
    TTestSyn hl;
    auto lines = RandomLines({"if", " ", "then", "{", "}", "\"", "12", "x1", "\t", ";", "ab_c", std::string(1, '\0'),
                              "\xE9", "\r", "\n"},
                             2000, 42);
    ExpectDocumentProperties(hl, lines);
}

TEST(ScannerKit, CapabilityAndDefaults)
{
    TTestSyn hl;
    EXPECT_EQ(hl.GetCapability(), hcRegistry | hcExportable);
    EXPECT_EQ(hl.GetDefaultAttribute(1), hl.comment);
    EXPECT_TRUE(hl.GetIdentChars()['!']);
    EXPECT_FALSE(hl.GetIdentChars()[' ']);
}

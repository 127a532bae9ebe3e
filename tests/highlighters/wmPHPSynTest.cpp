// The PHP highlighter: token streams of its edge cases and the scanner
// properties over generated PHP code.
#include "highlighters/wmPHPSyn.h"
#include "tests/highlighters/HighlighterTestSupport.h"

#include <gtest/gtest.h>

using namespace vx::test;
using P = TwmPHPSyn;
using TK = std::vector<std::pair<std::string, int>>;

TEST(PHPSyn, StringsCarryTheirRangeToTheNextLine)
{
    P hl;
    std::int32_t range = 0;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "echo 'a", P::rsUnknown, &range)),
              (TK{{"echo", P::tkKey}, {" ", P::tkSpace}, {"'a", P::tkString}}));
    EXPECT_EQ(range, P::rsString39);
    EXPECT_EQ(Scan(hl, "b' . $x", range, &range),
              (std::vector<Tok>{{"b'", P::tkString, 0, "String"},
                                {" ", P::tkSpace, 2, "Space"},
                                {".", P::tkSymbol, 3, "Symbol"},
                                {" ", P::tkSpace, 4, "Space"},
                                {"$x", P::tkVariable, 5, "Variable"}}));
    EXPECT_EQ(range, P::rsUnknown);
    EXPECT_EQ(TextsAndKinds(Scan(hl, R"("a\"b" c)", P::rsUnknown, &range)),
              (TK{{R"("a\"b")", P::tkString}, {" ", P::tkSpace}, {"c", P::tkIdentifier}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, R"("a\\" c)", P::rsUnknown, &range)),
              (TK{{R"("a\\")", P::tkString}, {" ", P::tkSpace}, {"c", P::tkIdentifier}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, R"('it\'s' x)", P::rsUnknown, &range)),
              (TK{{R"('it\'s')", P::tkString}, {" ", P::tkSpace}, {"x", P::tkIdentifier}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "\"open \\", P::rsUnknown, &range)), (TK{{"\"open \\", P::tkString}}));
    EXPECT_EQ(range, P::rsString34);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "", range, &range)), TK{});
    EXPECT_EQ(range, P::rsString34); // an empty line keeps the range
    EXPECT_EQ(TextsAndKinds(Scan(hl, "x\\\"y\" z", range, &range)),
              (TK{{"x\\\"y\"", P::tkString}, {" ", P::tkSpace}, {"z", P::tkIdentifier}}));
    EXPECT_EQ(range, P::rsUnknown);
}

TEST(PHPSyn, Comments)
{
    P hl;
    std::int32_t range = 0;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "/*/ x", P::rsUnknown, &range)), (TK{{"/*/ x", P::tkComment}}));
    EXPECT_EQ(range, P::rsComment);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "/* a */ b", P::rsUnknown, &range)),
              (TK{{"/* a */", P::tkComment}, {" ", P::tkSpace}, {"b", P::tkIdentifier}}));
    EXPECT_EQ(range, P::rsUnknown);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "a */ b", P::rsComment, &range)),
              (TK{{"a */", P::tkComment}, {" ", P::tkSpace}, {"b", P::tkIdentifier}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "x // c")), (TK{{"x", P::tkIdentifier}, {" ", P::tkSpace}, {"// c", P::tkComment}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "# c")), (TK{{"# c", P::tkComment}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "a/=b/c")), (TK{{"a", P::tkIdentifier}, {"/=", P::tkSymbol}, {"b", P::tkIdentifier},
                                                     {"/", P::tkSymbol}, {"c", P::tkIdentifier}}));
}

TEST(PHPSyn, KeywordsVariablesAndInvalidSymbols)
{
    P hl;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "ECHO echo $echo $ __FILE__ __file__ highlight_string")),
              (TK{{"ECHO", P::tkKey}, {" ", P::tkSpace}, {"echo", P::tkKey}, {" ", P::tkSpace},
                  {"$echo", P::tkVariable}, {" ", P::tkSpace}, {"$", P::tkVariable}, {" ", P::tkSpace},
                  {"__FILE__", P::tkKey}, {" ", P::tkSpace}, {"__file__", P::tkKey}, {" ", P::tkSpace},
                  {"highlight_string", P::tkKey}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "@foo()")), (TK{{"@", P::tkInvalidSymbol}, {"foo", P::tkIdentifier},
                                                    {"(", P::tkSymbol}, {")", P::tkSymbol}}));
    EXPECT_EQ(Scan(hl, "\\`\x7F"), (std::vector<Tok>{{"\\", P::tkUnknown, 0, "Identifier"},
                                                    {"`", P::tkUnknown, 1, "Identifier"},
                                                    {"\x7F", P::tkUnknown, 2, "Identifier"}}));
}

TEST(PHPSyn, OperatorsTakeTheLongestForm)
{
    P hl;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "a<<=b")), (TK{{"a", P::tkIdentifier}, {"<<=", P::tkSymbol}, {"b", P::tkIdentifier}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "a->b")), (TK{{"a", P::tkIdentifier}, {"->", P::tkSymbol}, {"b", P::tkIdentifier}}));
    std::vector<std::string> texts;
    for (const auto& t : Scan(hl, "!=!%=%*=*^=^&&&=&++ += + -- -= - <= < == => = >= >> > |= || | ( ) , . : ; ? [ ] { } ~"))
        if (t.kind == P::tkSymbol)
            texts.push_back(t.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"!=", "!", "%=", "%", "*=", "*", "^=", "^", "&&", "&=", "&", "++",
                                               "+=", "+", "--", "-=", "-", "<=", "<", "==", "=>", "=", ">=", ">>",
                                               ">", "|=", "||", "|", "(", ")", ",", ".", ":", ";", "?", "[", "]",
                                               "{", "}", "~"}));
}

TEST(PHPSyn, Numbers)
{
    P hl;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "1-2")), (TK{{"1", P::tkNumber}, {"-", P::tkSymbol}, {"2", P::tkNumber}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "0x1F 10L 1.5 1e-5")),
              (TK{{"0x1F", P::tkNumber}, {" ", P::tkSpace}, {"10L", P::tkNumber}, {" ", P::tkSpace},
                  {"1.5", P::tkNumber}, {" ", P::tkSpace}, {"1e-5", P::tkNumber}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "1..2 .5")), (TK{{"1", P::tkNumber}, {".", P::tkSymbol}, {".", P::tkSymbol},
                                                      {"2", P::tkNumber}, {" ", P::tkSpace}, {".", P::tkSymbol},
                                                      {"5", P::tkNumber}}));
}

TEST(PHPSyn, InterfaceParticulars)
{
    P hl;
    EXPECT_EQ(hl.GetLanguageName(), "PHP");
    EXPECT_EQ(hl.GetDefaultFilter(), "PHP files (*.php,*.php3,*.phtml,*.inc)|*.php;*.php3;*.phtml;*.inc");
    EXPECT_EQ(hl.GetCapability(), 6u);
    EXPECT_EQ(hl.GetDefaultAttribute(0), hl.SpaceAttri);
    EXPECT_EQ(hl.GetDefaultAttribute(3), nullptr);
    EXPECT_EQ(hl.GetAttribCount(), 9);
    EXPECT_TRUE(hl.GetIdentChars()['_']);
    EXPECT_FALSE(hl.GetIdentChars()['$']);
    hl.SetRange(P::rsComment);
    hl.SetLine("", 1);
    EXPECT_TRUE(hl.GetEol());
    EXPECT_EQ(hl.GetRange(), P::rsComment);
}

TEST(PHPSyn, ScannerPropertiesOnGeneratedCode)
{
    P hl;
    auto lines = RandomLines({"<?php ", "echo ", "$x", " = ", "'s", "'", "\"d", "\\\"", "\"", "/*", "*/", "/*/", "//",
                              "#", "->", "<<=", "1-2", "0x1F", "1e-5", "@", "\\", " ", "\t", "function ", "f(", ")",
                              ";", std::string(1, '\0'), "\xFF", "\x80"},
                             3000, 11);
    ExpectDocumentProperties(hl, lines);
}

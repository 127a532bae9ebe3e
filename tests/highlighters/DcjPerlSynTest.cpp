// The Perl highlighter: token streams of its edge cases and the scanner
// properties over a generated script.
#include "highlighters/DcjPerlSyn.h"
#include "tests/highlighters/HighlighterTestSupport.h"

#include <gtest/gtest.h>

using namespace vx::test;
using L = TDcjPerlSyn;
using TK = std::vector<std::pair<std::string, int>>;

TEST(PerlSyn, WordsAreCaseSensitiveAndOfFourKinds)
{
    L hl;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "if If IF")),
              (TK{{"if", L::tkKey}, {" ", L::tkSpace}, {"If", L::tkIdentifier}, {" ", L::tkSpace}, {"IF", L::tkIdentifier}}));
    EXPECT_EQ(Scan(hl, "use strict;"), (std::vector<Tok>{{"use", L::tkKey, 0, "Reserved word"},
                                                         {" ", L::tkSpace, 3, "Space"},
                                                         {"strict", L::tkPragma, 4, "Pragma"},
                                                         {";", L::tkSymbol, 10, "Symbol"}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "$a eq $b")), (TK{{"$a", L::tkIdentifier}, {" ", L::tkSpace}, {"eq", L::tkOperator},
                                                      {" ", L::tkSpace}, {"$b", L::tkIdentifier}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "$ARGV $argv %INC %hash @INC $FORMAT_LINE_BREAK_CHARACTERS")),
              (TK{{"$ARGV", L::tkVariable}, {" ", L::tkSpace}, {"$argv", L::tkIdentifier}, {" ", L::tkSpace},
                  {"%INC", L::tkVariable}, {" ", L::tkSpace}, {"%hash", L::tkIdentifier}, {" ", L::tkSpace},
                  {"@INC", L::tkVariable}, {" ", L::tkSpace}, {"$FORMAT_LINE_BREAK_CHARACTERS", L::tkVariable}}));
    // "eq" and "Eq" hash differently; "qe" hashes like "eq" and is no word.
    EXPECT_EQ(TextsAndKinds(Scan(hl, "qe ne")), (TK{{"qe", L::tkIdentifier}, {" ", L::tkSpace}, {"ne", L::tkOperator}}));
}

TEST(PerlSyn, SpecialVariables)
{
    L hl;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "$_ $^W $$ $#list $10 $^")),
              (TK{{"$_", L::tkVariable}, {" ", L::tkSpace}, {"$^W", L::tkVariable}, {" ", L::tkSpace},
                  {"$$", L::tkVariable}, {" ", L::tkSpace}, {"$#", L::tkVariable}, {"list", L::tkIdentifier},
                  {" ", L::tkSpace}, {"$1", L::tkVariable}, {"0", L::tkNumber}, {" ", L::tkSpace},
                  {"$^", L::tkVariable}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "% x= x %=")),
              (TK{{"%", L::tkIdentifier}, {" ", L::tkSpace}, {"x=", L::tkSymbol}, {" ", L::tkSpace},
                  {"x", L::tkIdentifier}, {" ", L::tkSpace}, {"%=", L::tkSymbol}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "a x")), (TK{{"a", L::tkIdentifier}, {" ", L::tkSpace}, {"x", L::tkSymbol}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "%")), (TK{{"%", L::tkSymbol}}));
}

TEST(PerlSyn, OperatorsAndPatterns)
{
    L hl;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "$x =~ s/a/b/")),
              (TK{{"$x", L::tkIdentifier}, {" ", L::tkSpace}, {"=~", L::tkSymbol}, {" ", L::tkSpace},
                  {"s", L::tkIdentifier}, {"/", L::tkSymbol}, {"a", L::tkIdentifier}, {"/", L::tkSymbol},
                  {"b", L::tkIdentifier}, {"/", L::tkSymbol}}));
    std::vector<std::string> texts;
    for (const auto& t : Scan(hl, "!= !~ ! &&= && &= & **= ** *= * <<= << <=> <= < ||= || |= | >>= >> >= > :: : -> \\"))
        if (t.kind == L::tkSymbol)
            texts.push_back(t.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"!=", "!~", "!", "&&=", "&&", "&=", "&", "**=", "**", "*=", "*",
                                               "<<=", "<<", "<=>", "<=", "<", "||=", "||", "|=", "|", ">>=", ">>",
                                               ">=", ">", "::", ":", "->", "\\"}));
    EXPECT_EQ(Scan(hl, "`"), (std::vector<Tok>{{"`", L::tkIllegal, 0, "Illegal char"}}));
}

TEST(PerlSyn, NumbersAndDots)
{
    L hl;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "1..10")), (TK{{"1", L::tkNumber}, {"..", L::tkSymbol}, {"10", L::tkNumber}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "1_000 0x1F 7 12e-5 1.5E+3")),
              (TK{{"1_000", L::tkNumber}, {" ", L::tkSpace}, {"0x1F", L::tkNumber}, {" ", L::tkSpace},
                  {"7", L::tkNumber}, {" ", L::tkSpace}, {"12e-5", L::tkNumber}, {" ", L::tkSpace},
                  {"1.5E+3", L::tkNumber}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "1-2")), (TK{{"1", L::tkNumber}, {"-", L::tkSymbol}, {"2", L::tkNumber}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "$a . $b.$c .5 ... .= .x")),
              (TK{{"$a", L::tkIdentifier}, {" ", L::tkSpace}, {".", L::tkSymbol}, {" ", L::tkSpace},
                  {"$b", L::tkIdentifier}, {".", L::tkSymbol}, {"$c", L::tkIdentifier}, {" ", L::tkSpace},
                  {".5", L::tkNumber}, {" ", L::tkSpace}, {"...", L::tkSymbol}, {" ", L::tkSpace},
                  {".=", L::tkSymbol}, {" ", L::tkSpace}, {".", L::tkSymbol}, {"x", L::tkSymbol}}));
}

TEST(PerlSyn, CommentsAndStringsStayOnTheirLine)
{
    L hl;
    std::int32_t range = -1;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "print \"open", 0, &range)),
              (TK{{"print", L::tkKey}, {" ", L::tkSpace}, {"\"open", L::tkString}}));
    EXPECT_EQ(range, 0);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "x\" # c", 0, &range)),
              (TK{{"x", L::tkIdentifier}, {"\" # c", L::tkString}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "# note")), (TK{{"# note", L::tkComment}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, R"("a\"b" 'c\'d' "e\\" f)")),
              (TK{{R"("a\"b")", L::tkString}, {" ", L::tkSpace}, {R"('c\'d')", L::tkString}, {" ", L::tkSpace},
                  {R"("e\\")", L::tkString}, {" ", L::tkSpace}, {"f", L::tkIdentifier}}));
    hl.SetRange(5);
    hl.SetLine("'x", 1);
    hl.NextToEol();
    EXPECT_EQ(hl.GetRange(), 5); // stored, never changed by scanning
}

TEST(PerlSyn, InterfaceParticulars)
{
    L hl;
    EXPECT_EQ(hl.GetLanguageName(), "Perl");
    EXPECT_EQ(hl.GetDefaultFilter(), "Perl files (*.pl,*.pm,*.cgi)|*.pl;*.pm;*.cgi");
    EXPECT_EQ(hl.GetCapability(), 6u);
    EXPECT_EQ(hl.GetAttribCount(), 11);
    EXPECT_EQ(hl.SpaceAttri->Foreground(), clWindow);
    EXPECT_EQ(hl.VariableAttri->Style(), TFontStyles(fsBold));
    EXPECT_EQ(hl.GetDefaultAttribute(2), hl.KeyAttri);
    EXPECT_TRUE(hl.GetIdentChars()['$']);
    EXPECT_FALSE(hl.GetIdentChars()['-']);
}

TEST(PerlSyn, ScannerPropertiesOnAGeneratedScript)
{
    L hl;
    auto lines = RandomLines({"my ", "$x", " = ", "\"s\\\"\"", "'q'", "# c", "$_", "$^W", "$^", "%", "%h", "@a", "x",
                              "x=", "=~", "1..10", "12e-5", ".", "...", "print ", "use strict;", "`", " ", "\t", "\"",
                              "'", "\\", std::string(1, '\0'), "\xFF", "\x80"},
                             3000, 13);
    ExpectDocumentProperties(hl, lines);
}

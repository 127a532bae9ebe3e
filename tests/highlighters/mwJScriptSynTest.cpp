// The JScript highlighter: token streams of its edge cases, comments over
// lines, and the scanner properties over generated script.
#include "highlighters/mwJScriptSyn.h"
#include "tests/highlighters/ExportCapture.h"
#include "tests/highlighters/HighlighterTestSupport.h"

#include <gtest/gtest.h>

using namespace vx::test;
using J = TmwJScriptSyn;
using TK = std::vector<std::pair<std::string, int>>;

TEST(JScriptSyn, StatementWithOperatorAndLineComment)
{
    J hl;
    EXPECT_EQ(Scan(hl, "x += 1; // c"), (std::vector<Tok>{{"x", J::tkIdentifier, 0, "Identifier"},
                                                          {" ", J::tkSpace, 1, "Space"},
                                                          {"+=", J::tkSymbol, 2, "Symbol"},
                                                          {" ", J::tkSpace, 4, "Space"},
                                                          {"1", J::tkNumber, 5, "Number"},
                                                          {";", J::tkUnknown, 6, "String"},
                                                          {" ", J::tkSpace, 7, "Space"},
                                                          {"// c", J::tkComment, 8, "Comment"}}));
}

TEST(JScriptSyn, BlockCommentsContinueUntilTheyClose)
{
    J hl;
    std::int32_t range = 0;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "a /* b", J::rsNormal, &range)),
              (TK{{"a", J::tkIdentifier}, {" ", J::tkSpace}, {"/* b", J::tkComment}}));
    EXPECT_EQ(range, J::rsComment);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "", range, &range)), TK{});
    EXPECT_EQ(TextsAndKinds(Scan(hl, "still", range, &range)), (TK{{"still", J::tkComment}}));
    EXPECT_EQ(range, J::rsComment);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "b */ c", range, &range)),
              (TK{{"b */", J::tkComment}, {" ", J::tkSpace}, {"c", J::tkIdentifier}}));
    EXPECT_EQ(range, J::rsNormal);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "/*/ x", J::rsNormal, &range)), (TK{{"/*/ x", J::tkComment}}));
    EXPECT_EQ(range, J::rsComment);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "/**/x", J::rsNormal, &range)), (TK{{"/**/", J::tkComment}, {"x", J::tkIdentifier}}));
    EXPECT_EQ(range, J::rsNormal);
}

TEST(JScriptSyn, Strings)
{
    J hl;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "'it''s'")), (TK{{"'it'", J::tkString}, {"'s'", J::tkString}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, R"('it\'s' x)")),
              (TK{{R"('it\'s')", J::tkString}, {" ", J::tkSpace}, {"x", J::tkIdentifier}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, R"("a\\" b)")), (TK{{R"("a\\")", J::tkString}, {" ", J::tkSpace}, {"b", J::tkIdentifier}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "\"\"\"a\" b")), (TK{{"\"\"\"a\"", J::tkString}, {" ", J::tkSpace}, {"b", J::tkIdentifier}}));
    std::int32_t range = 0;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "\"open", J::rsNormal, &range)), (TK{{"\"open", J::tkString}}));
    EXPECT_EQ(range, J::rsNormal);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "#12a")), (TK{{"#12", J::tkString}, {"a", J::tkIdentifier}}));
}

TEST(JScriptSyn, KeywordsAreWholeWordsInAnyCase)
{
    J hl;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "WINDOW Window windows atan2 atan7 LN2 LN9 SQRT1_2 POSITIVE_INFINITY")),
              (TK{{"WINDOW", J::tkKey}, {" ", J::tkSpace}, {"Window", J::tkKey}, {" ", J::tkSpace},
                  {"windows", J::tkIdentifier}, {" ", J::tkSpace}, {"atan2", J::tkKey}, {" ", J::tkSpace},
                  {"atan7", J::tkIdentifier}, {" ", J::tkSpace}, {"LN2", J::tkKey}, {" ", J::tkSpace},
                  {"LN9", J::tkIdentifier}, {" ", J::tkSpace}, {"SQRT1_2", J::tkKey}, {" ", J::tkSpace},
                  {"POSITIVE_INFINITY", J::tkKey}}));
}

TEST(JScriptSyn, NumbersAndDots)
{
    J hl;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "1..5")),
              (TK{{"1", J::tkNumber}, {".", J::tkSymbol}, {".", J::tkSymbol}, {"5", J::tkNumber}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "a...b")), (TK{{"a", J::tkIdentifier}, {"...", J::tkSymbol}, {"b", J::tkIdentifier}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "1.5e10 1e+5 2E-3 0x1F")),
              (TK{{"1.5e10", J::tkNumber}, {" ", J::tkSpace}, {"1e+5", J::tkNumber}, {" ", J::tkSpace},
                  {"2E-3", J::tkNumber}, {" ", J::tkSpace}, {"0x1F", J::tkNumber}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "0x1e+5")), (TK{{"0x1e", J::tkNumber}, {"+", J::tkSymbol}, {"5", J::tkNumber}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "$1aFg")), (TK{{"$1aF", J::tkNumber}, {"g", J::tkIdentifier}}));
}

TEST(JScriptSyn, SymbolsAndUnknownCharacters)
{
    J hl;
    std::vector<std::string> texts;
    for (const auto& t : Scan(hl, "++ -- -> && || *= %= /= &= |= += -= + - & | * % / . ( ) , { } ~"))
        if (t.kind == J::tkSymbol)
            texts.push_back(t.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"++", "--", "->", "&&", "||", "*=", "%=", "/=", "&=", "|=", "+=",
                                               "-=", "+", "-", "&", "|", "*", "%", "/", ".", "(", ")", ",", "{",
                                               "}", "~"}));
    for (const auto& t : Scan(hl, "!:;<=>?@[\\]^`\x7F"))
        EXPECT_EQ(t.kind, J::tkUnknown) << t;
}

TEST(JScriptSyn, ExportMarksTheKindsToEscape)
{
    J hl;
    TExportCapture out;
    out.ExportLine(hl, "if (a) 'b';");
    EXPECT_EQ(out.tokens, (std::vector<ExportedToken>{{"if", "Reserved word", false, false},
                                                      {" ", "Space", false, true},
                                                      {"(", "Symbol", true, false},
                                                      {"a", "Identifier", true, false},
                                                      {")", "Symbol", true, false},
                                                      {" ", "Space", false, true},
                                                      {"'b'", "String", true, false},
                                                      {";", "String", true, false},
                                                      {"", "", false, false}}));
    EXPECT_EQ(hl.GetDefaultFilter(), "Javascript files (*.js)|*.js");
    EXPECT_EQ(hl.GetAttribCount(), 7);
    EXPECT_EQ(hl.CommentAttri->Style(), TFontStyles(fsItalic));
}

TEST(JScriptSyn, PropertiesHoldOnGeneratedScript)
{
    const std::vector<std::string> fragments = {
        "var", " ", "x", "=", "1.5e3", "0x1F", "1e+", "'", "\"", "\\", "//", "/*", "*/", "/", "*", "+=", "...", "..",
        ".", "(", ")", "{", "}", "window", "document.write", "$ff", "#9", ";", "\t", "\xE9", "atan2", "\r", "\n"};
    J hl;
    const auto lines = RandomLines(fragments, 3000, 7);
    ExpectDocumentProperties(hl, lines);
    for (size_t i = 0; i < 300 && !::testing::Test::HasFailure(); ++i)
        for (int range : {J::rsNormal, J::rsComment})
            ExpectLineProperties(hl, lines[i], range);
}

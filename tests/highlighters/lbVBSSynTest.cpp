// The VBScript highlighter: token streams of its edge cases and the scanner
// properties over generated script.
#include "highlighters/lbVBSSyn.h"
#include "tests/highlighters/ExportCapture.h"
#include "tests/highlighters/HighlighterTestSupport.h"

#include <gtest/gtest.h>

using namespace vx::test;
using V = TlbVbsSyn;
using TK = std::vector<std::pair<std::string, int>>;

TEST(VbsSyn, StatementsOfThePart)
{
    V hl;
    EXPECT_EQ(Scan(hl, "Dim x ' note"), (std::vector<Tok>{{"Dim", V::tkKey, 0, "Reserved word"},
                                                          {" ", V::tkSpace, 3, "Space"},
                                                          {"x", V::tkIdentifier, 4, "Identifier"},
                                                          {" ", V::tkSpace, 5, "Space"},
                                                          {"' note", V::tkComment, 6, "Comment"}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "IF a <> b THEN")),
              (TK{{"IF", V::tkKey}, {" ", V::tkSpace}, {"a", V::tkIdentifier}, {" ", V::tkSpace},
                  {"<>", V::tkSymbol}, {" ", V::tkSpace}, {"b", V::tkIdentifier}, {" ", V::tkSpace},
                  {"THEN", V::tkKey}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "d = #1/1/2000#")),
              (TK{{"d", V::tkIdentifier}, {" ", V::tkSpace}, {"=", V::tkSymbol}, {" ", V::tkSpace},
                  {"#1/1/2000#", V::tkString}}));
}

TEST(VbsSyn, RemStartsACommentAsTheApostropheDoes)
{
    V hl;
    const std::vector<std::pair<std::string, TK>> rows = {
        {"Rem text", {{"Rem text", V::tkComment}}},
        {"REM", {{"REM", V::tkComment}}},
        {"x = 1 rem it's \"odd\"", {{"x", V::tkIdentifier}, {" ", V::tkSpace}, {"=", V::tkSymbol},
                                     {" ", V::tkSpace}, {"1", V::tkNumber}, {" ", V::tkSpace},
                                     {"rem it's \"odd\"", V::tkComment}}},
        {"Remove Rem1", {{"Remove", V::tkIdentifier}, {" ", V::tkSpace}, {"Rem1", V::tkIdentifier}}},
        {"Re m", {{"Re", V::tkIdentifier}, {" ", V::tkSpace}, {"m", V::tkIdentifier}}},
    };
    for (const auto& [line, expected] : rows)
        EXPECT_EQ(TextsAndKinds(Scan(hl, line)), expected) << line;
}

TEST(VbsSyn, StringsEndAtTheLineAndKeepTheRange)
{
    V hl;
    std::int32_t range = 0;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "x = \"open", V::rsNormal, &range)),
              (TK{{"x", V::tkIdentifier}, {" ", V::tkSpace}, {"=", V::tkSymbol}, {" ", V::tkSpace},
                  {"\"open", V::tkString}}));
    EXPECT_EQ(range, V::rsNormal);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "\"a\"\"b\"")), (TK{{"\"a\"", V::tkString}, {"\"b\"", V::tkString}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "\"\"\"q\" x")), (TK{{"\"\"\"q\"", V::tkString}, {" ", V::tkSpace}, {"x", V::tkIdentifier}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "#1/1")), (TK{{"#1/1", V::tkString}}));
}

TEST(VbsSyn, Numbers)
{
    V hl;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "&H1F &h0 1.5E+3 2e")),
              (TK{{"&H1F", V::tkNumber}, {" ", V::tkSpace}, {"&h0", V::tkNumber}, {" ", V::tkSpace},
                  {"1.5E+3", V::tkNumber}, {" ", V::tkSpace}, {"2e", V::tkNumber}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "a & Hb &Hx")),
              (TK{{"a", V::tkIdentifier}, {" ", V::tkSpace}, {"&", V::tkSymbol}, {" ", V::tkSpace},
                  {"Hb", V::tkIdentifier}, {" ", V::tkSpace}, {"&", V::tkSymbol}, {"Hx", V::tkIdentifier}}));
}

TEST(VbsSyn, KeywordsAreWholeWords)
{
    V hl;
    // "O" shares the hash of "If" (15); "Ifx" is longer than every word of its hash
    EXPECT_EQ(TextsAndKinds(Scan(hl, "if O PROPERTY ifx xor")),
              (TK{{"if", V::tkKey}, {" ", V::tkSpace}, {"O", V::tkIdentifier}, {" ", V::tkSpace},
                  {"PROPERTY", V::tkKey}, {" ", V::tkSpace}, {"ifx", V::tkIdentifier}, {" ", V::tkSpace},
                  {"xor", V::tkKey}}));
}

TEST(VbsSyn, SymbolsAndOtherCharacters)
{
    V hl;
    std::vector<std::string> texts;
    for (const auto& t : Scan(hl, "<= >= <> < > & ( ) * + , - . / : ; = ^ { }"))
        if (t.kind == V::tkSymbol)
            texts.push_back(t.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"<=", ">=", "<>", "<", ">", "&", "(", ")", "*", "+", ",", "-", ".",
                                               "/", ":", ";", "=", "^", "{", "}"}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "!$%?@[\\]`|~\x7F\xE9")).size(), 13u);
    for (const auto& t : Scan(hl, "!$%?@[\\]`|~\x7F\xE9"))
        EXPECT_EQ(t, (Tok{t.text, V::tkIdentifier, t.pos, "Identifier"}));
}

TEST(VbsSyn, ExportAndSettings)
{
    V hl;
    TExportCapture out;
    out.ExportLine(hl, "x=\"a\"'c");
    EXPECT_EQ(out.tokens, (std::vector<ExportedToken>{{"x", "Identifier", true, false},
                                                      {"=", "Symbol", true, false},
                                                      {"\"a\"", "String", true, false},
                                                      {"'c", "Comment", true, false},
                                                      {"", "", false, false}}));
    EXPECT_EQ(hl.GetLanguageName(), "MS VBScript");
    EXPECT_EQ(hl.GetDefaultFilter(), "VBScript files (*.vbs)|*.vbs");
    EXPECT_EQ(hl.GetDefaultAttribute(2), hl.KeyAttri);
}

TEST(VbsSyn, PropertiesHoldOnGeneratedScript)
{
    const std::vector<std::string> fragments = {
        "Dim", " ", "x", "=", "1.5", "&H", "&HFF", "&", "\"", "\"\"", "#", "'", "<", ">", "<>", "If", "Then",
        "Response.Write", "(", ")", "_", "\t", "\xE9", "1e", "+", "\r", "\n"};
    V hl;
    ExpectDocumentProperties(hl, RandomLines(fragments, 3000, 11));
}

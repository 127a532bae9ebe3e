// The CSS highlighter: token streams of its edge cases, comments over lines,
// export, and the scanner properties over generated style sheets.
#include "highlighters/mwCSSSyn.h"
#include "tests/highlighters/ExportCapture.h"
#include "tests/highlighters/HighlighterTestSupport.h"

#include <gtest/gtest.h>

using namespace vx::test;
using C = TmwCSSSyn;
using TK = std::vector<std::pair<std::string, int>>;

TEST(CSSSyn, PropertyNamesArePartsAroundADash)
{
    C hl;
    EXPECT_EQ(Scan(hl, "font-family: Arial;"), (std::vector<Tok>{{"font", C::tkKey, 0, "Key"},
                                                                 {"-", C::tkUnknown, 4, "Identifier"},
                                                                 {"family", C::tkKey, 5, "Key"},
                                                                 {":", C::tkUnknown, 11, "Identifier"},
                                                                 {" ", C::tkSpace, 12, "Space"},
                                                                 {"Arial", C::tkIdentifier, 13, "Identifier"},
                                                                 {";", C::tkUnknown, 18, "Identifier"}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "COLOR Colors")), (TK{{"COLOR", C::tkKey}, {" ", C::tkSpace}, {"Colors", C::tkIdentifier}}));
}

TEST(CSSSyn, ColoursNumbersAndUnits)
{
    C hl;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "color: #FF0000")),
              (TK{{"color", C::tkKey}, {":", C::tkUnknown}, {" ", C::tkSpace}, {"#FF0000", C::tkNumber}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "#zz $1a")),
              (TK{{"#", C::tkNumber}, {"zz", C::tkIdentifier}, {" ", C::tkSpace}, {"$1a", C::tkNumber}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "12px 1.5em 1e3 1..2")),
              (TK{{"12", C::tkNumber}, {"px", C::tkKey}, {" ", C::tkSpace}, {"1.5", C::tkNumber}, {"em", C::tkKey},
                  {" ", C::tkSpace}, {"1e3", C::tkNumber}, {" ", C::tkSpace}, {"1", C::tkNumber},
                  {".", C::tkUnknown}, {".", C::tkUnknown}, {"2", C::tkNumber}}));
}

TEST(CSSSyn, BracesAndStrings)
{
    C hl;
    EXPECT_EQ(Scan(hl, "p {}"), (std::vector<Tok>{{"p", C::tkIdentifier, 0, "Identifier"},
                                                  {" ", C::tkSpace, 1, "Space"},
                                                  {"{", C::tkString, 2, "String"},
                                                  {"}", C::tkString, 3, "String"}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "{12x")), (TK{{"{12", C::tkString}, {"x", C::tkIdentifier}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "font: \"Times New Roman\", 'Arial';")),
              (TK{{"font", C::tkKey}, {":", C::tkUnknown}, {" ", C::tkSpace}, {"\"Times New Roman\"", C::tkString},
                  {",", C::tkUnknown}, {" ", C::tkSpace}, {"'Arial'", C::tkString}, {";", C::tkUnknown}}));
    std::int32_t range = 0;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "\"open", C::rsNormal, &range)), (TK{{"\"open", C::tkString}}));
    EXPECT_EQ(range, C::rsNormal);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "url(x)")),
              (TK{{"url", C::tkIdentifier}, {"(", C::tkSymbol}, {"x", C::tkIdentifier}, {")", C::tkSymbol}}));
}

TEST(CSSSyn, CommentsSpanLines)
{
    C hl;
    std::int32_t range = 0;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "/* a", C::rsNormal, &range)), (TK{{"/* a", C::tkComment}}));
    EXPECT_EQ(range, C::rsComment);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "b */ p {", range, &range)),
              (TK{{"b */", C::tkComment}, {" ", C::tkSpace}, {"p", C::tkIdentifier}, {" ", C::tkSpace},
                  {"{", C::tkString}}));
    EXPECT_EQ(range, C::rsNormal);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "*/x", C::rsComment, &range)), (TK{{"*/", C::tkComment}, {"x", C::tkIdentifier}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "/**/", C::rsNormal, &range)), (TK{{"/**/", C::tkComment}}));
    EXPECT_EQ(range, C::rsNormal);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "/*/", C::rsNormal, &range)), (TK{{"/*/", C::tkComment}}));
    EXPECT_EQ(range, C::rsComment);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "/*", C::rsNormal, &range)), (TK{{"/*", C::tkComment}}));
    EXPECT_EQ(range, C::rsComment);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "a/b")), (TK{{"a", C::tkIdentifier}, {"/", C::tkSymbol}, {"b", C::tkIdentifier}}));
}

TEST(CSSSyn, FormFeedJoinsWhiteSpaceButDoesNotStartIt)
{
    C hl;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "\f \f")), (TK{{"\f", C::tkUnknown}, {" \f", C::tkSpace}}));
}

TEST(CSSSyn, ExportKeepsEveryCharacter)
{
    C hl;
    TExportCapture out;
    const std::string line = "a:hover { color: #F00; } /* x */ \xE9\"s\" ~";
    out.ExportLine(hl, line);
    std::string joined;
    for (const auto& t : out.tokens)
        joined += t.text;
    EXPECT_EQ(joined, line);
    EXPECT_EQ(out.tokens.back(), (ExportedToken{"", "", false, false}));
    EXPECT_EQ(out.tokens[0], (ExportedToken{"a", "Identifier", true, false}));
    EXPECT_EQ(out.tokens[1], (ExportedToken{":", "Identifier", true, false}));
    EXPECT_EQ(out.tokens[4], (ExportedToken{"{", "String", true, false}));
    EXPECT_EQ(hl.GetLanguageName(), "Cascading Stylesheets");
    EXPECT_EQ(hl.GetDefaultFilter(), "Cascading Stylesheets (*.css)|*.css");
    EXPECT_EQ(hl.KeyAttri->Style(), TFontStyles(fsBold));
}

TEST(CSSSyn, PropertiesHoldOnGeneratedStyleSheets)
{
    const std::vector<std::string> fragments = {
        "body", " ", "{", "}", "font-size", ":", "12pt", ";", "#fff", "$", "'", "\"", "/*", "*/", "/", "*", "1.5em",
        "1e", "..", "(", ")", "\t", "\f", "\xE9", "margin", "\r", "\n"};
    C hl;
    const auto lines = RandomLines(fragments, 3000, 5);
    ExpectDocumentProperties(hl, lines);
    for (size_t i = 0; i < 300 && !::testing::Test::HasFailure(); ++i)
        for (int range : {C::rsNormal, C::rsComment})
            ExpectLineProperties(hl, lines[i], range);
}

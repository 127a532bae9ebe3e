// The HTML highlighter: tags, entities, server blocks and comments across
// lines, the entity state, and the scanner properties over generated pages.
#include "highlighters/RegisterHighlighters.h"
#include "highlighters/hkHTMLSyn.h"
#include "tests/highlighters/ExportCapture.h"
#include "tests/highlighters/HighlighterTestSupport.h"

#include <gtest/gtest.h>

#include <set>

using namespace vx::test;
using H = ThkHTMLSyn;
using TK = std::vector<std::pair<std::string, int>>;

TEST(HTMLSyn, TagsWithNamesAttributesAndValues)
{
    H hl;
    EXPECT_EQ(Scan(hl, "<B>bold</B>"), (std::vector<Tok>{{"<", H::tkSymbol, 0, "Symbol"},
                                                         {"B", H::tkKey, 1, "Reserved word"},
                                                         {">", H::tkSymbol, 2, "Symbol"},
                                                         {"bold", H::tkText, 3, "Text"},
                                                         {"<", H::tkSymbol, 7, "Symbol"},
                                                         {"/B", H::tkKey, 8, "Reserved word"},
                                                         {">", H::tkSymbol, 10, "Symbol"}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "<a href=x.htm>")),
              (TK{{"<", H::tkSymbol}, {"a", H::tkKey}, {" ", H::tkSpace}, {"href", H::tkIdentifier},
                  {"=", H::tkSymbol}, {"x.htm", H::tkValue}, {">", H::tkSymbol}}));
    EXPECT_EQ(Scan(hl, "<a href=\"x y.htm\">")[5], (Tok{"\"x y.htm\"", H::tkValue, 8, "Value"}));
    // a quoted text that is no value is a string, drawn as a value too
    EXPECT_EQ(Scan(hl, "<p \"q\">")[3], (Tok{"\"q\"", H::tkString, 3, "Value"}));
}

TEST(HTMLSyn, TagNamesCountTheirDigitsAndCompareWholeWords)
{
    H hl;
    EXPECT_EQ(Scan(hl, "<h1>")[1], (Tok{"h1", H::tkKey, 1, "Reserved word"}));
    EXPECT_EQ(Scan(hl, "<H7>")[1], (Tok{"H7", H::tkUndefKey, 1, "Unknown word"}));
    EXPECT_EQ(Scan(hl, "</BlockQuote>")[1].kind, H::tkKey);
    EXPECT_EQ(Scan(hl, "<!doctype html>")[1], (Tok{"!doctype", H::tkKey, 1, "Reserved word"}));
    EXPECT_EQ(Scan(hl, "<Table>")[1].kind, H::tkKey);
    // "WA" shares its hash with "TD" (24): only the tag itself is a keyword
    EXPECT_EQ(Scan(hl, "<wa>")[1].kind, H::tkUndefKey);
    EXPECT_EQ(Scan(hl, "<td>")[1].kind, H::tkKey);
    // a hash of 244 or more is an identifier, not an unknown tag
    EXPECT_EQ(Scan(hl, "<zzzzzzzzzz>")[1], (Tok{"zzzzzzzzzz", H::tkIdentifier, 1, "Identifier"}));
    EXPECT_EQ(Scan(hl, "<1>")[1], (Tok{"1", H::tkUndefKey, 1, "Unknown word"}));
}

TEST(HTMLSyn, EntitiesInText)
{
    H hl;
    EXPECT_EQ(Scan(hl, "a &amp; b"), (std::vector<Tok>{{"a ", H::tkText, 0, "Text"},
                                                       {"&amp;", H::tkAmpersand, 2, "Escape ampersand"},
                                                       {" b", H::tkText, 7, "Text"}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "&AMP;&foo;&auml;")),
              (TK{{"&AMP;", H::tkAmpersand}, {"&foo;", H::tkText}, {"&auml;", H::tkAmpersand}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "1&divide;2&hellip;")),
              (TK{{"1", H::tkText}, {"&divide;", H::tkAmpersand}, {"2", H::tkText}, {"&hellip;", H::tkAmpersand}}));
    // neither the entry without ";" nor the unknown "&ldots;" is an entity
    EXPECT_EQ(TextsAndKinds(Scan(hl, "&divide &ldots;")), (TK{{"&divide &ldots;", H::tkText}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "&#9;&#215;&#216;")),
              (TK{{"&#9;", H::tkAmpersand}, {"&#215;", H::tkAmpersand}, {"&#216;", H::tkText}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "x &am")), (TK{{"x &am", H::tkText}}));
    EXPECT_EQ(H::Entities().size(), 151u);
}

TEST(HTMLSyn, AmpersandInsideATagReturnsToText)
{
    H hl;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "<a &amp; b>")),
              (TK{{"<", H::tkSymbol}, {"a", H::tkKey}, {" ", H::tkSpace}, {"&amp;", H::tkAmpersand},
                  {" b>", H::tkText}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "<a &x>")),
              (TK{{"<", H::tkSymbol}, {"a", H::tkKey}, {" ", H::tkSpace}, {"&x>", H::tkText}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "<_x>")), (TK{{"<", H::tkSymbol}, {"_x", H::tkIdentifier}, {">", H::tkSymbol}}));
}

// An entity found at the end of a text token is delivered next; a new line,
// range or reset forgets it, and nothing is read past the line's end.
TEST(HTMLSyn, PendingEntityIsForgottenByANewLineOrRange)
{
    H hl;
    hl.ResetRange();
    hl.SetLine("abc &amp;", 1);
    EXPECT_EQ(hl.GetToken(), "abc ");
    EXPECT_EQ(hl.GetRange(), H::rsAmpersand);
    hl.SetLine("&", 2);
    EXPECT_EQ(hl.GetToken(), "&");
    EXPECT_EQ(hl.GetTokenKind(), H::tkText);
    hl.Next();
    EXPECT_TRUE(hl.GetEol());
    EXPECT_EQ(hl.GetTokenPos(), 1);

    hl.SetLine("abc &quot;", 3);
    hl.SetRange(H::rsAmpersand);
    hl.SetLine("&lt;", 4);
    EXPECT_EQ(hl.GetToken(), "&lt;");
    EXPECT_EQ(hl.GetTokenKind(), H::tkAmpersand);

    hl.SetLine("abc &trade;", 5);
    hl.ResetRange();
    EXPECT_EQ(hl.GetRange(), H::rsText);
}

TEST(HTMLSyn, ServerBlocksAndCommentsSpanLines)
{
    H hl;
    std::int32_t range = 0;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "<% x = 1", H::rsText, &range)), (TK{{"<%", H::tkAsp}, {" x = 1", H::tkAsp}}));
    EXPECT_EQ(range, H::rsASP);
    EXPECT_EQ(Scan(hl, "y %> text", range, &range),
              (std::vector<Tok>{{"y %>", H::tkAsp, 0, "Asp"}, {" text", H::tkText, 4, "Text"}}));
    EXPECT_EQ(range, H::rsText);
    // a ">" at the start of a line has no "%" before it
    EXPECT_EQ(TextsAndKinds(Scan(hl, ">x %>", H::rsASP, &range)), (TK{{">x %>", H::tkAsp}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "<%>a")), (TK{{"<%", H::tkAsp}, {">", H::tkAsp}, {"a", H::tkText}}));

    EXPECT_EQ(TextsAndKinds(Scan(hl, "<!-- a", H::rsText, &range)), (TK{{"<!--", H::tkComment}, {" a", H::tkComment}}));
    EXPECT_EQ(range, H::rsComment);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "", range, &range)), TK{});
    EXPECT_EQ(range, H::rsComment);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "b -->", range, &range)), (TK{{"b -->", H::tkComment}}));
    EXPECT_EQ(range, H::rsText);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "<!-->x")), (TK{{"<!--", H::tkComment}, {">", H::tkComment}, {"x", H::tkText}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "a -> b", H::rsComment, &range)), (TK{{"a -> b", H::tkComment}}));
}

TEST(HTMLSyn, ABlockEndsOnlyAtItsCloserOrTheLineBreak)
{
    struct Case {
        const char* line;
        std::int32_t range;
        TK tokens;
        std::int32_t after;
    };
    const Case cases[] = {
        {"a > b -> c %> d", H::rsASP, {{"a > b -> c %>", H::tkAsp}, {" d", H::tkText}}, H::rsText},
        {"%>", H::rsASP, {{"%>", H::tkAsp}}, H::rsText},
        {"->", H::rsComment, {{"->", H::tkComment}}, H::rsComment},
        {"> >> -->>", H::rsComment, {{"> >> -->", H::tkComment}, {">", H::tkText}}, H::rsText},
        // a line break inside the line ends the block's token, not the block
        {"a %\r%> b", H::rsASP, {{"a %", H::tkAsp}, {"\r", H::tkSpace}, {"%>", H::tkAsp}, {" b", H::tkText}}, H::rsText},
        {"a >\n%>", H::rsASP, {{"a >", H::tkAsp}, {"\n", H::tkSpace}, {"%>", H::tkAsp}}, H::rsText},
        {"x -\r->", H::rsComment, {{"x -", H::tkComment}, {"\r", H::tkSpace}, {"->", H::tkComment}}, H::rsComment},
    };
    H hl;
    for (const Case& c : cases) {
        std::int32_t range = 0;
        const TK tokens = TextsAndKinds(Scan(hl, c.line, c.range, &range));
        EXPECT_EQ(tokens, c.tokens) << c.line;
        EXPECT_EQ(range, c.after) << c.line;
    }
}

TEST(HTMLSyn, TagsContinueOnTheNextLine)
{
    H hl;
    std::int32_t range = 0;
    Scan(hl, "<table border", H::rsText, &range);
    EXPECT_EQ(range, H::rsParam);
    Scan(hl, "  width=", range, &range);
    EXPECT_EQ(range, H::rsValue);
    EXPECT_EQ(TextsAndKinds(Scan(hl, "100>x", range, &range)),
              (TK{{"100", H::tkValue}, {">", H::tkSymbol}, {"x", H::tkText}}));
    Scan(hl, "<", H::rsText, &range);
    EXPECT_EQ(range, H::rsKey);
    EXPECT_EQ(Scan(hl, "td>", range)[0].kind, H::tkKey);
}

TEST(HTMLSyn, TabsStartWhiteSpaceTokensOfTheirOwn)
{
    H hl;
    EXPECT_EQ(TextsAndKinds(Scan(hl, "a\t  b")), (TK{{"a", H::tkText}, {"\t  ", H::tkSpace}, {"b", H::tkText}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "\t\t")), (TK{{"\t", H::tkSpace}, {"\t", H::tkSpace}}));
    EXPECT_EQ(TextsAndKinds(Scan(hl, "<a  \tb>")),
              (TK{{"<", H::tkSymbol}, {"a", H::tkKey}, {"  ", H::tkSpace}, {"\t", H::tkSpace},
                  {"b", H::tkIdentifier}, {">", H::tkSymbol}}));
}

TEST(HTMLSyn, NulAndHighBytesAreOrdinaryCharacters)
{
    H hl;
    const std::string line("a\0b <b\0>\xE9", 9);
    const auto tokens = Scan(hl, line);
    std::string joined;
    for (const auto& t : tokens)
        joined += t.text;
    EXPECT_EQ(joined, line);
    EXPECT_EQ(tokens[1], (Tok{std::string(1, '\0'), H::tkText, 1, "Text"}));
    EXPECT_EQ(tokens.back(), (Tok{"\xE9", H::tkText, 8, "Text"}));
}

TEST(HTMLSyn, ExportMarksTheKindsToEscape)
{
    H hl;
    TExportCapture out;
    out.ExportLine(hl, "<a x=1>&lt;t");
    EXPECT_EQ(out.tokens, (std::vector<ExportedToken>{{"<", "Symbol", true, false},
                                                      {"a", "Reserved word", false, false},
                                                      {" ", "Space", false, true},
                                                      {"x", "Identifier", true, false},
                                                      {"=", "Symbol", true, false},
                                                      {"1", "Value", true, false},
                                                      {">", "Symbol", true, false},
                                                      {"&lt;", "Escape ampersand", false, false},
                                                      {"t", "Text", true, false},
                                                      {"", "", false, false}}));
}

TEST(HTMLSyn, AttributesFilterAndCapability)
{
    H hl;
    EXPECT_EQ(hl.GetAttribCount(), 10);
    EXPECT_EQ(hl.ASPAttri->Background(), clYellow);
    EXPECT_EQ(hl.KeyAttri->Foreground(), TColor(0xFF0080));
    EXPECT_EQ(hl.KeyAttri->Style(), TFontStyles(fsBold));
    EXPECT_EQ(hl.ValueAttri->Foreground(), TColor(0xFF8000));
    EXPECT_EQ(hl.AndAttri->Foreground(), clLime);
    EXPECT_EQ(hl.UndefKeyAttri->Foreground(), clRed);
    EXPECT_EQ(hl.GetDefaultAttribute(0), hl.SpaceAttri);
    EXPECT_EQ(hl.GetDefaultAttribute(3), nullptr);
    EXPECT_EQ(hl.GetDefaultFilter(), "HTML Document (*.htm,*.html)|*.htm;*.html");
    EXPECT_EQ(hl.GetCapability(), 6u);
    EXPECT_FALSE(hl.GetIdentChars()['_']);
    EXPECT_TRUE(hl.GetIdentChars()['7']);
}

TEST(HTMLSyn, RegisteredWithTheOtherLanguages)
{
    RegisterAllHighlighters();
    std::set<std::string> languages;
    for (int i = 0; i < HighlighterList().Count(); ++i)
        languages.insert(HighlighterList()[i]->Create()->GetLanguageName());
    for (const char* language : {"HTML Document", "Javascript", "MS VBScript", "Cascading Stylesheets"})
        EXPECT_EQ(languages.count(language), 1u) << language;
}

TEST(HTMLSyn, PropertiesHoldOnGeneratedPages)
{
    const std::vector<std::string> fragments = {
        "<", ">", "=", "\"", "&", "&amp;", "&nbsp;", "&divide;", "&#169;", "<%", "%>", "%", "<!--", "-->", "--",
        "\t", " ", "  ", "a", "B", "h1", "/table", "href", "x.htm", "!DOCTYPE", "text ", "\xE9t\xE9", "'", "_",
        "zzzzzzzzzz", "\r", "\n"};
    H hl;
    const auto lines = RandomLines(fragments, 3000, 42);
    ExpectDocumentProperties(hl, lines);
    for (size_t i = 0; i < 300 && !::testing::Test::HasFailure(); ++i)
        for (int range : {0, 1, 2, 3, 4, 5, 7})
            ExpectLineProperties(hl, lines[i], range);
}

#include "internet/HTMLParser.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

struct Token {
    THTMLTokenKind kind;
    std::string text;
    bool endTag;
    std::vector<std::string> attributes;
};

std::vector<Token> Tokenize(const std::string& page)
{
    std::istringstream in(page);
    THTMLParser parser(in);
    std::vector<Token> tokens;
    for (THTMLTokenKind kind = parser.TokenKind(); kind != ptEOF; kind = parser.NextToken()) {
        Token t{kind, parser.Text(), parser.EndTag(), {}};
        for (int i = 0; i < parser.Attributes().Count(); ++i)
            t.attributes.push_back(parser.Attributes()[i]);
        tokens.push_back(std::move(t));
    }
    return tokens;
}

std::string ErrorOf(const std::string& page)
{
    std::istringstream in(page);
    try {
        THTMLParser parser(in);
        while (parser.NextToken() != ptEOF) {
        }
    } catch (const EParserError& e) {
        return e.what();
    }
    return "no error";
}

using Lines = std::vector<std::string>;

} // namespace

TEST(THTMLParser, EmptyPageGivesEndAtOnceAndForever)
{
    std::istringstream in("");
    THTMLParser parser(in);
    EXPECT_EQ(parser.TokenKind(), ptEOF);
    EXPECT_EQ(parser.Line(), 1);
    EXPECT_EQ(parser.Text(), "");
    EXPECT_EQ(parser.NextToken(), ptEOF);
    EXPECT_EQ(parser.NextToken(), ptEOF);
}

TEST(THTMLParser, TextTagTextKeepsNameCase)
{
    auto tokens = Tokenize("a<b>c");
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[0].kind, ptText);
    EXPECT_EQ(tokens[0].text, "a");
    EXPECT_EQ(tokens[1].kind, ptTag);
    EXPECT_EQ(tokens[1].text, "b");
    EXPECT_FALSE(tokens[1].endTag);
    EXPECT_EQ(tokens[2].text, "c");
}

TEST(THTMLParser, TextKeepsBlanksAndLineEnds)
{
    auto tokens = Tokenize(" x \r\n y\t<p>");
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[0].text, " x \r\n y\t");
}

TEST(THTMLParser, EndTagWithBlankBeforeBracket)
{
    auto tokens = Tokenize("</TD >");
    ASSERT_EQ(tokens.size(), 1u);
    EXPECT_EQ(tokens[0].text, "TD");
    EXPECT_TRUE(tokens[0].endTag);
    EXPECT_TRUE(tokens[0].attributes.empty());
}

TEST(THTMLParser, AttributeForms)
{
    auto img = Tokenize("<IMG SRC=images/pic.gif ALT=\"\" ISMAP>");
    ASSERT_EQ(img.size(), 1u);
    EXPECT_EQ(img[0].attributes, (Lines{"SRC=images/pic.gif", "ALT= ", "ISMAP=Y"}));

    auto a = Tokenize("<a href = 'my page.htm'>");
    EXPECT_EQ(a[0].attributes, (Lines{"HREF=my page.htm"}));

    auto mixed = Tokenize("<x One two=\"A\r\nB\" 'q'=3 four>");
    EXPECT_EQ(mixed[0].attributes, (Lines{"ONE=Y", "TWO=A\r\nB", "Q=3", "FOUR=Y"}))
        << "values keep case and line ends";

    // A tab does not end a word.
    auto tab = Tokenize("<x a=1\tb=2>");
    EXPECT_EQ(tab[0].attributes, (Lines{"A=1\tb", "2=Y"}));
}

// Names are upper-cased by character: letters of UTF-8 text change, a
// Chinese name keeps every byte.
TEST(THTMLParser, AttributeNamesOutsideAsciiAreUpperCasedByCharacter)
{
    const std::pair<std::string, Lines> rows[] = {
        {"<x data-\xC3\xA9=1>", {"DATA-\xC3\x89=1"}},                    // data-é
        {"<x \xD0\xB6\xD1\x83\xD0\xBA>", {"\xD0\x96\xD0\xA3\xD0\x9A=Y"}},  // жук
        {"<x \xE4\xBD\xA0=\xC3\xA9>", {"\xE4\xBD\xA0=\xC3\xA9"}},         // 你=é: the value keeps its case
        {"<x a\xC3\x9F\xF0\x9F\x98\x80>", {"A\xC3\x9F\xF0\x9F\x98\x80=Y"}}, // aß😀
    };
    for (const auto& [page, attributes] : rows) {
        const auto tokens = Tokenize(page);
        ASSERT_EQ(tokens.size(), 1u) << page;
        EXPECT_EQ(tokens[0].attributes, attributes) << page;
    }
}

TEST(THTMLParser, RepeatedAttributeReplacesItsLineInPlace)
{
    auto tokens = Tokenize("<a x=1 y=2 X=3 Y>");
    EXPECT_EQ(tokens[0].attributes, (Lines{"X=3", "Y=Y"}));

    std::istringstream in("<a x=1 y=2 X=3>");
    THTMLParser parser(in);
    EXPECT_EQ(parser.Attributes().Values("x"), "3") << "lookup ignores case";
}

TEST(THTMLParser, ManyAttributesInOneTag)
{
    std::string page = "<a";
    for (int i = 0; i < 20000; ++i)
        page += " n" + std::to_string(i % 10000) + "=" + std::to_string(i);
    page += ">";
    auto tokens = Tokenize(page);
    ASSERT_EQ(tokens[0].attributes.size(), 10000u);
    EXPECT_EQ(tokens[0].attributes[0], "N0=10000");
    EXPECT_EQ(tokens[0].attributes[9999], "N9999=19999");
}

TEST(THTMLParser, Comments)
{
    auto tokens = Tokenize("<!-- a - b -- c -->x");
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[0].kind, ptComment);
    EXPECT_EQ(tokens[0].text, " a - b -- c ");
    EXPECT_EQ(tokens[1].text, "x");

    EXPECT_EQ(Tokenize("<!---->")[0].text, "");
    EXPECT_EQ(Tokenize("<!--<p>-->")[0].text, "<p>");
}

TEST(THTMLParser, CommentClosesAtLastTwoDashesOfARun)
{
    auto three = Tokenize("<!-- x --->y");
    ASSERT_EQ(three.size(), 2u);
    EXPECT_EQ(three[0].kind, ptComment);
    EXPECT_EQ(three[0].text, " x -");
    EXPECT_EQ(three[1].text, "y");

    auto four = Tokenize("<!-- x ---- y ---->");
    ASSERT_EQ(four.size(), 1u);
    EXPECT_EQ(four[0].text, " x ---- y --");
}

TEST(THTMLParser, Declarations)
{
    auto doctype = Tokenize("<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01//EN\">");
    ASSERT_EQ(doctype.size(), 1u);
    EXPECT_EQ(doctype[0].kind, ptTag);
    EXPECT_EQ(doctype[0].text, "!DOCTYPE");
    EXPECT_EQ(doctype[0].attributes, (Lines{"HTML=Y", "PUBLIC=Y", "-//W3C//DTD HTML 4.01//EN=Y"}));

    EXPECT_EQ(Tokenize("<!-x>")[0].text, "!-x");
    EXPECT_EQ(Tokenize("<!-x>")[0].kind, ptTag);
    EXPECT_EQ(Tokenize("<!>")[0].text, "!");
    EXPECT_EQ(Tokenize("<>")[0].text, "");
    EXPECT_EQ(Tokenize("</>")[0].endTag, true);
}

TEST(THTMLParser, LinesCountLineFeedsConsumed)
{
    std::istringstream in("a\nb\r\n<p\nx=\"1\n2\">\n\n<!--\n-->");
    THTMLParser parser(in);
    EXPECT_EQ(parser.Line(), 3) << "after the first text run";
    parser.NextToken();
    EXPECT_EQ(parser.Line(), 5);
    parser.NextToken();
    EXPECT_EQ(parser.Line(), 7);
    parser.NextToken();
    EXPECT_EQ(parser.TokenKind(), ptComment);
    EXPECT_EQ(parser.Line(), 8);
}

TEST(THTMLParser, EndOfInputInsideTagOrCommentIsAnError)
{
    EXPECT_EQ(ErrorOf("<p>\n<a href=\"x\n\nfoo"), "End of file encountered in tag on line 4");
    EXPECT_EQ(ErrorOf("<a"), "End of file encountered in tag on line 1");
    EXPECT_EQ(ErrorOf("<a "), "End of file encountered in tag on line 1");
    EXPECT_EQ(ErrorOf("<"), "End of file encountered in tag on line 1");
    EXPECT_EQ(ErrorOf("<a b='"), "End of file encountered in tag on line 1");
    EXPECT_EQ(ErrorOf("<!-- x\n"), "End of file encountered in comment on line 2");
    EXPECT_EQ(ErrorOf("<!-- x -"), "End of file encountered in comment on line 1");
    EXPECT_EQ(ErrorOf("<!-- x --"), "End of file encountered in comment on line 1");
    EXPECT_EQ(ErrorOf("<!-- x ---"), "End of file encountered in comment on line 1");
    EXPECT_EQ(ErrorOf("<!--->"), "End of file encountered in comment on line 1");
}

TEST(THTMLParser, NulBytesAreOrdinaryText)
{
    std::string page("a\0b<c x=a\0b>\0", 13);
    auto tokens = Tokenize(page);
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[0].text, std::string("a\0b", 3));
    EXPECT_EQ(tokens[1].attributes, (Lines{std::string("X=a\0b", 5)}));
    EXPECT_EQ(tokens[2].text, std::string("\0", 1));
}

TEST(THTMLParser, ReadsFromTheStreamsCurrentPosition)
{
    std::istringstream in("skip<b>");
    in.seekg(4);
    THTMLParser parser(in);
    EXPECT_EQ(parser.TokenKind(), ptTag);
    EXPECT_EQ(parser.Text(), "b");
}

TEST(HTMLContainerTags, ListsTheContentElementsCaseInsensitively)
{
    const TStringList& tags = HTMLContainerTags();
    EXPECT_EQ(tags.Count(), 77);
    EXPECT_TRUE(tags.Sorted());
    for (const char* name : {"a", "Td", "BODY", "noLayer", "var", "h6"})
        EXPECT_GE(tags.IndexOf(name), 0) << name;
    for (const char* name : {"IMG", "BR", "INPUT", "META", "AREA", "H7"})
        EXPECT_LT(tags.IndexOf(name), 0) << name;
}

#include "shell/HTMLPars.h"

#include <gtest/gtest.h>

#include <random>

using HTMLPars::THTMLParser;
using HTMLPars::THTMLTag;
using HTMLPars::THTMLText;

namespace {

// "T:" + decoded text or "<" + tag name + ">" per element, for compact comparisons.
std::vector<std::string> Outline(const THTMLParser& parser)
{
    std::vector<std::string> out;
    for (const auto& element : parser.Parsed()) {
        if (const auto* tag = std::get_if<THTMLTag>(&element))
            out.push_back("<" + tag->Name + ">");
        else
            out.push_back("T:" + std::get<THTMLText>(element).Text);
    }
    return out;
}

std::vector<std::string> Parse(std::string_view text, THTMLParser& parser)
{
    parser.Lines().SetText(text);
    parser.Execute();
    return Outline(parser);
}

std::vector<std::string> Parse(std::string_view text)
{
    THTMLParser parser;
    return Parse(text, parser);
}

// The decoded text of a one-line run, without the blank its line end became.
std::string Decoded(std::string_view text)
{
    THTMLParser parser;
    parser.Lines().SetText(text);
    parser.Execute();
    EXPECT_EQ(parser.Parsed().size(), 1u);
    std::string decoded = std::get<THTMLText>(parser.Parsed().at(0)).Text;
    EXPECT_TRUE(decoded.ends_with(' '));
    decoded.pop_back();
    return decoded;
}

const THTMLTag& TagAt(const THTMLParser& parser, size_t i)
{
    return std::get<THTMLTag>(parser.Parsed().at(i));
}

using Outlines = std::vector<std::string>;

} // namespace

TEST(HTMLPars, WordsAndBoldElement)
{
    EXPECT_EQ(Parse("one <b>two</b> three"),
              (Outlines{"T:one ", "<B>", "T:two", "</B>", "T: three "}));
    EXPECT_EQ(Parse("a\n\nb"), (Outlines{"T:a b "})) << "line ends become blanks, doubled blanks go";
    EXPECT_EQ(Parse("<p>\n<br>"), (Outlines{"<P>", "<BR>"})) << "no text run from a bare line end";
}

TEST(HTMLPars, TagRawTextAndParameters)
{
    THTMLParser parser;
    Parse("<a href=\"my page.htm\" target=_top  Nowrap x=\"\" y=\">", parser);
    const THTMLTag& a = TagAt(parser, 0);
    EXPECT_EQ(a.Name, "A");
    EXPECT_EQ(a.Raw, "a href=\"my page.htm\" target=_top  Nowrap x=\"\" y=\"");
    ASSERT_EQ(a.Params.size(), 5u);
    EXPECT_EQ(a.Params[0].Name, "HREF");
    EXPECT_EQ(a.Params[0].Value, "my page.htm");
    EXPECT_EQ(a.Params[0].Raw, "href=\"my page.htm\"");
    EXPECT_EQ(a.Params[1].Value, "_top");
    EXPECT_EQ(a.Params[2].Name, "NOWRAP");
    EXPECT_EQ(a.Params[2].Value, "");
    EXPECT_EQ(a.Params[3].Value, "") << "two quotes lose both";
    EXPECT_EQ(a.Params[4].Value, "\"") << "a lone quote is no pair";
}

TEST(HTMLPars, CommentsDeclarationsAndStrayBrackets)
{
    EXPECT_EQ(Parse("<!-- note --><!DOCTYPE html>"), (Outlines{"<!-->", "<!DOCTYPE>"}));
    EXPECT_EQ(Parse(">"), (Outlines{"<>"}));
    EXPECT_EQ(Parse("<>"), (Outlines{"<>"}));
    THTMLParser parser;
    Parse("<a <b>", parser);
    EXPECT_EQ(TagAt(parser, 0).Raw, "a b") << "a second < inside a tag is dropped";
}

TEST(HTMLPars, StrayBracketKeepsDocumentOrder)
{
    EXPECT_EQ(Parse("a > b"), (Outlines{"T:a ", "<>", "T: b "}));
}

TEST(HTMLPars, TagSpanningLinesOrTabsSplitsThere)
{
    THTMLParser parser;
    Parse("<img\nsrc=a.gif\talt=x\n>", parser);
    const THTMLTag& img = TagAt(parser, 0);
    EXPECT_EQ(img.Name, "IMG");
    ASSERT_EQ(img.Params.size(), 2u);
    EXPECT_EQ(img.Params[0].Value, "a.gif");
    EXPECT_EQ(img.Params[1].Name, "ALT");
}

TEST(HTMLPars, UnclosedTagAndTextAtTheEnd)
{
    EXPECT_EQ(Parse("x <a href=y"), (Outlines{"T:x ", "<A>"}));
    EXPECT_EQ(Parse("x <"), (Outlines{"T:x "})) << "an open tag without text is dropped";
    THTMLParser parser;
    Parse("<a\nhref=y\n", parser);
    EXPECT_EQ(TagAt(parser, 0).Raw, "a\nhref=y");
}

// Entities decode to whole UTF-8 characters; characters outside ASCII in the
// text stay as they are.
TEST(HTMLPars, Entities)
{
    struct Row {
        const char* text;
        const char* decoded;
    };
    const Row rows[] = {
        {"&amp;", "&"},
        {"&#65;&#x41;&#X41;&#065;", "AAAA"},
        {"[&#160;][&nbsp;][&#9;]", "[ ][ ][ ]"},
        {"&#0065;", "&#0065;"}, // four digits stay
        {"&#256; &#x100; &#; &#x; &#-1;", "&#256; &#x100; &#; &#x; &#-1;"},
        {"&quot;&lt;&gt;&eacute;&yuml;&copy;", "\"<>éÿ©"},
        {"&Agrave;&szlig;&divide;&iexcl;", "Àß÷¡"},
        {"&#233;&#xE9;&#255;&#xa9;", "ééÿ©"},
        {"&#128;&#150;&#x9F;", "€–Ÿ"}, // what pages mean by them: Windows-1252
        {"café &amp; 你好 😀", "café & 你好 😀"},
        {"&Amp; &bogus; &amp", "&Amp; &bogus; &amp"}, // exact names only
        {"&x&amp;", "&x&"},                            // an entity begins at every &
    };
    for (const Row& row : rows)
        EXPECT_EQ(Decoded(row.text), row.decoded) << row.text;
}

TEST(HTMLPars, LongRunsOfAmpersandsStayAsWrittenAndEndInAnEntity)
{
    // Compared as truth values: a failure must not print 80,000 characters.
    const std::string run(80000, '&');
    EXPECT_TRUE(Decoded(run) == run);
    EXPECT_TRUE(Decoded(run + "amp;") == run) << "only the last & starts the entity";
    EXPECT_TRUE(Decoded(run + "#65 x") == run.substr(1) + "A x");
}

TEST(HTMLPars, DecodedCharacterIsFinal)
{
    EXPECT_EQ(Decoded("&amp;lt;"), "&lt;");
    EXPECT_EQ(Decoded("&#38;#65;"), "&#65;");
}

TEST(HTMLPars, NumericEntityEndingAtABlankKeepsTheBlank)
{
    EXPECT_EQ(Decoded("&#65 b"), "A b");
}

TEST(HTMLPars, ExecuteAgainReplacesTheResult)
{
    THTMLParser parser;
    Parse("<p>x", parser);
    parser.Execute();
    EXPECT_EQ(Outline(parser), (Outlines{"<P>", "T:x "}));
}

// Every character other than "<" and the line breaks lands in exactly one element,
// in order; a tag adds its closing ">", which an unclosed last tag lacks.
TEST(HTMLPars, BoundedFuzzKeepsEveryCharacterInOrder)
{
    const char pieces[] = "<<>> \"\"=&&#;;xX1a \n\n\t";
    std::mt19937 rng(7);
    std::uniform_int_distribution<size_t> pick(0, sizeof pieces - 2);
    std::uniform_int_distribution<int> length(0, 80);
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (int n = length(rng); n > 0; --n)
            text.push_back(pieces[pick(rng)]);
        THTMLParser parser;
        parser.Lines().SetText(text);
        parser.Execute();

        std::string expected;
        for (char c : text)
            if (c != '<' && c != '\n')
                expected.push_back(c);
        std::string actual;
        for (const auto& element : parser.Parsed()) {
            if (const auto* tag = std::get_if<THTMLTag>(&element)) {
                actual += tag->Raw + ">";
            } else {
                const THTMLText& run = std::get<THTMLText>(element);
                ASSERT_FALSE(run.Raw.empty());
                ASSERT_EQ(run.Text.find('\n'), std::string::npos);
                actual += run.Raw;
            }
        }
        std::erase(actual, '\n');
        if (actual != expected) {
            ASSERT_EQ(actual, expected + ">") << text;
        }
    }
}

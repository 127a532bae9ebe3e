#include "shell/TagCase.h"

#include <gtest/gtest.h>

using vx::shell::ApplyTagCase;
using vx::shell::CapitalizeWords;

TEST(TagCase, CapitalizeWordsChangesOnlyLettersAfterBlanks)
{
    EXPECT_EQ(CapitalizeWords("<table border=1 cellpadding=2>"), "<table Border=1 Cellpadding=2>");
    EXPECT_EQ(CapitalizeWords("abc def"), "abc Def");
    EXPECT_EQ(CapitalizeWords("a\tb\r\nc "), "a\tb\r\nc ");
    EXPECT_EQ(CapitalizeWords(""), "");
}

struct TagCaseRow {
    const char* mode;
    const char* text;
    const char* expected;
};

class TagCaseModes : public ::testing::TestWithParam<TagCaseRow> {};

TEST_P(TagCaseModes, ConvertTheWholeTextAndOnlyItsAsciiLetters)
{
    EXPECT_EQ(ApplyTagCase(GetParam().text, GetParam().mode), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TagCaseModes,
    ::testing::Values(
        TagCaseRow{"CAPS", "<font face=arial size=2>", "<font Face=arial Size=2>"},
        TagCaseRow{"CAPS", "<b>some text</b>", "<b>some Text</b>"},
        TagCaseRow{"UP", "<font face=\"Arial\" size=2>Some Text</font>", "<FONT FACE=\"ARIAL\" SIZE=2>SOME TEXT</FONT>"},
        TagCaseRow{"UP", "<i></i>", "<I></I>"},
        TagCaseRow{"UP", "<% Response.Write \"<b>\" %>", "<% RESPONSE.WRITE \"<B>\" %>"},
        TagCaseRow{"UP", "<p title=x>caf\xe9 \xff\xe0<b>", "<P TITLE=X>CAF\xe9 \xff\xe0<B>"},
        TagCaseRow{"LO", "<A HREF=\"Page.ASP\">Home</A>", "<a href=\"page.asp\">home</a>"},
        TagCaseRow{"LO", "\xc9T\xc9", "\xc9t\xc9"},
        TagCaseRow{"UP", "<p title=é>ß α ж 你 😀 x</p>", "<P TITLE=é>ß α ж 你 😀 X</P>"},
        TagCaseRow{"LO", "<P TITLE=É>Ж Ω 你 😀 X</P>", "<p title=É>Ж Ω 你 😀 x</p>"},
        TagCaseRow{"CAPS", "<a title=école éa bé 😀b>", "<a Title=école éa Bé 😀b>"},
        TagCaseRow{"up", "<b>", "<b>"},
        TagCaseRow{"", "<b>", "<b>"},
        TagCaseRow{"NORMAL", "<B>text</b>", "<B>text</b>"}));

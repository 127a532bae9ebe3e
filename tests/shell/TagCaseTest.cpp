#include "shell/core/TagCase.h"

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

TEST_P(TagCaseModes, ConvertsTagAndAttributeNamesOnly)
{
    EXPECT_EQ(ApplyTagCase(GetParam().text, GetParam().mode), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TagCaseModes,
    ::testing::Values(
        TagCaseRow{"CAPS", "<font face=arial size=2>", "<font Face=arial Size=2>"},
        TagCaseRow{"UP", "<font face=\"Arial\" size=2>Some Text</font>", "<FONT FACE=\"Arial\" SIZE=2>Some Text</FONT>"},
        TagCaseRow{"LO", "<A HREF=\"Page.ASP\">Home</A>", "<a href=\"Page.ASP\">Home</a>"},
        TagCaseRow{"UP", "<img src='Pic.GIF' alt=Logo>", "<IMG SRC='Pic.GIF' ALT=Logo>"},
        TagCaseRow{"UP", "<% Response.Write \"<b>\" %>", "<% Response.Write \"<b>\" %>"},
        TagCaseRow{"UP", "<?php echo '<b>x</b>'; ?><br>", "<?php echo '<b>x</b>'; ?><BR>"},
        TagCaseRow{"UP", "<script language=JavaScript>if (a<b) x = 'y';</script>",
                   "<SCRIPT LANGUAGE=JavaScript>if (a<b) x = 'y';</SCRIPT>"},
        TagCaseRow{"LO", "<!-- A Comment --><P>", "<!-- A Comment --><p>"},
        TagCaseRow{"UP", "<td value=<%=Name%>>", "<TD VALUE=<%=Name%>>"},
        TagCaseRow{"UP", "response.write", "response.write"},
        TagCaseRow{"UP", "<p title=x>caf\xe9 <b\xe9>", "<P TITLE=x>caf\xe9 <B\xe9>"},
        TagCaseRow{"up", "<b>", "<b>"},
        TagCaseRow{"NORMAL", "<B>text</b>", "<B>text</b>"},
        TagCaseRow{"CAPS", "<input type=text name=x>", "<input Type=text Name=x>"},
        TagCaseRow{"UP", "a < b and <unclosed attr", "a < b and <UNCLOSED ATTR"}));

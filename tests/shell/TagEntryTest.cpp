#include "shell/TagEntry.h"
#include "shell/TextCase.h"

#include <gtest/gtest.h>

using namespace vx::shell;

TEST(TagEntry, SplitsAtTheLastColon)
{
    struct Row {
        const char* Entry;
        const char* Text;
        int Back;
        bool Pair;
    };
    const Row rows[] = {
        {"<B>:</B>", "<B></B>", 4, true}, {"a:b:c", "a:bc", 1, true}, {"<BR>", "<BR>", 0, false},
        {":", "", 0, true},               {"x:", "x", 0, true},       {"", "", 0, false},
    };
    for (const Row& row : rows) {
        const TTagEntry split = SplitTagEntry(row.Entry);
        EXPECT_EQ(split.Text, row.Text) << row.Entry;
        EXPECT_EQ(split.Back, row.Back) << row.Entry;
        EXPECT_EQ(split.Pair, row.Pair) << row.Entry;
    }
}

TEST(TagEntry, WizardPatternsIgnoreLetterCaseAndHonourTheirConditions)
{
    EXPECT_EQ(MatchTagWizard("<b>:</b>", true, false), TTagWizard::Strong);
    EXPECT_EQ(MatchTagWizard("<b>:</b>", false, true), TTagWizard::None);
    EXPECT_EQ(MatchTagWizard("<center>:</Center>", false, true), TTagWizard::Center);
    EXPECT_EQ(MatchTagWizard("<center>:</Center>", true, false), TTagWizard::None);
    EXPECT_EQ(MatchTagWizard("mailto", false, false), TTagWizard::Mailto);
    EXPECT_EQ(MatchTagWizard("<Img>", false, false), TTagWizard::AddImage);
    EXPECT_EQ(MatchTagWizard("<img src=\":\">", false, false), TTagWizard::AddImage);
    EXPECT_EQ(MatchTagWizard("<a href=\"\">:</a>", false, false), TTagWizard::AddLink);
    EXPECT_EQ(MatchTagWizard("<meta>", false, false), TTagWizard::Meta);
    EXPECT_EQ(MatchTagWizard("<img src>", false, false), TTagWizard::None) << "equality, not a prefix";
}

TEST(TagEntry, FontTools)
{
    EXPECT_EQ(FontColorTag(0x0000FF), "<font color=\"#FF0000\"></font>") << "pure red";
    EXPECT_EQ(FontColorTag(0x804020), "<font color=\"#204080\"></font>");
    EXPECT_EQ(FontFaceTag("Arial"), "<font face=\"Arial\"></font>");
    EXPECT_EQ(FontSizeTag(7), "<font size=\"7\"></font>");
    EXPECT_EQ(FontSizeTag(0), "");
    EXPECT_EQ(FontSizeTag(8), "");
    EXPECT_EQ(ParagraphTag("Default"), "<p>");
    EXPECT_EQ(ParagraphTag("align=left"), "<p align=left >");
    EXPECT_EQ(ParagraphTag(""), "<p  >");
}

TEST(TextCase, OnlyAsciiLettersChange)
{
    EXPECT_EQ(AsciiUpperCase("a\xe9z<b>"), "A\xe9Z<B>");
    EXPECT_EQ(AsciiLowerCase("A\xc9Z"), "a\xc9z");
    EXPECT_EQ(CapitalizeFirst("hELLO world"), "Hello world");
    EXPECT_EQ(CapitalizeFirst("\xe9t\xc9"), "\xe9t\xc9");
    EXPECT_EQ(CapitalizeFirst(""), "");
}

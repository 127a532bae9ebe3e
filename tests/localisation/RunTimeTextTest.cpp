// Texts set at run time: declaring files each once for the language tool, a
// filter files its descriptions and not its patterns, and the language's
// lookup words them, the patterns kept.
#include "localisation/RunTimeText.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const TRunTimeText Ready{"Ready"};
const TRunTimeText ReadyAgain{"Ready"};
const TRunTimeFilter Pictures{"All pictures|*.gif;*.png|GIF files (*.gif)|*.gif|Other"};

std::string Shouting(std::string_view english)
{
    std::string text(english);
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

TEST(RunTimeText, EachTextIsFiledOnceAndAFilterFilesItsDescriptions)
{
    const std::vector<std::string>& filed = FiledRunTimeTexts();
    for (const char* text : {"Ready", "All pictures", "GIF files (*.gif)", "Other", "Open"})
        EXPECT_EQ(std::count(filed.begin(), filed.end(), text), 1) << text;
    for (const char* pattern : {"*.gif;*.png", "*.gif", ""})
        EXPECT_EQ(std::count(filed.begin(), filed.end(), pattern), 0) << pattern;
    EXPECT_EQ(FilterDescriptions("A|*.a|B"), (std::vector<std::string>{"A", "B"}));
}

TEST(RunTimeText, TheLanguagesLookupWordsTheTextsAndLeavesThePatterns)
{
    const TRunTimeLookup before = SetRunTimeLookup(nullptr);
    EXPECT_EQ(Ready(), "Ready") << "no language: English";
    EXPECT_EQ(Pictures(), Pictures.English());
    SetRunTimeLookup(&Shouting);
    EXPECT_EQ(ReadyAgain(), "READY");
    EXPECT_EQ(Pictures(), "ALL PICTURES|*.gif;*.png|GIF FILES (*.GIF)|*.gif|OTHER");
    SetRunTimeLookup(before);
}

} // namespace

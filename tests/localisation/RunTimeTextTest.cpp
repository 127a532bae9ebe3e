// Texts set at run time: declaring files each once for the language tool, a
// filter files its descriptions and not its patterns, and the language's
// lookup words them, the patterns kept.
#include "localisation/RunTimeText.h"

#include "platform/Exception.h"

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

std::string Reversed(std::string_view english)
{
    return english == "%1 was looked for in %2." ? "In %2 was %1 not found." : std::string(english);
}

TEST(RunTimeText, ValuesTakeThePlacesTheLanguageGivesThem)
{
    static const TRunTimeText LookedFor{"%1 was looked for in %2."};
    const TRunTimeLookup before = SetRunTimeLookup(nullptr);
    const struct {
        TRunTimeLookup lookup;
        std::initializer_list<std::string_view> values;
        std::string shown;
    } cases[] = {
        {nullptr, {"help.chm", "/opt"}, "help.chm was looked for in /opt."},
        {&Reversed, {"help.chm", "/opt"}, "In /opt was help.chm not found."},
        {nullptr, {"100%2 sure", "%1"}, "100%2 sure was looked for in %1."},
        {nullptr, {"only one"}, "only one was looked for in %2."},
        {nullptr, {}, "%1 was looked for in %2."},
    };
    for (const auto& c : cases) {
        SetRunTimeLookup(c.lookup);
        EXPECT_EQ(LookedFor(c.values), c.shown);
    }
    SetRunTimeLookup(before);
    EXPECT_EQ(Ready({"unused"}), "Ready") << "a text without places";
}

TEST(RunTimeText, AnErrorOfOursIsWordedWhereItIsShown)
{
    static const TWording CannotWrite{"Cannot write %1: %2"};
    static const TWording DiskFull{"the disk is full"};
    const EWriteError ours(TMessage(CannotWrite, {std::string("a.htm"), TMessage(DiskFull, {})}));
    const TRunTimeLookup before = SetRunTimeLookup(&Shouting);
    EXPECT_EQ(ours.Message(), "Cannot write a.htm: the disk is full") << "raised in English";
    EXPECT_EQ(ErrorText(ours), "CANNOT WRITE a.htm: THE DISK IS FULL") << "a name as it came";
    EXPECT_EQ(ErrorText(EWriteError("as raised")), "as raised");
    EXPECT_EQ(ErrorText(std::runtime_error("a library's")), "a library's");
    SetRunTimeLookup(before);
    const std::vector<std::string>& filed = FiledRunTimeTexts();
    EXPECT_EQ(std::count(filed.begin(), filed.end(), "the disk is full"), 1) << "for the language tool";
}

} // namespace

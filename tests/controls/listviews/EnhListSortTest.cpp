// The smart comparison of list texts and the integer lists of the settings.
#include "controls/listviews/EnhListSort.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vx;

namespace {

std::vector<std::string> Sorted(std::vector<std::string> texts, TAutoSortStyle style)
{
    std::stable_sort(texts.begin(), texts.end(),
                     [style](const std::string& a, const std::string& b) { return CompareListText(a, b, style) < 0; });
    return texts;
}

} // namespace

TEST(EnhListSort, SmartStyleComparesNumbersByValue)
{
    EXPECT_EQ(Sorted({"2", "10", "1.5"}, assSmart), (std::vector<std::string>{"1.5", "2", "10"}));
    EXPECT_EQ(Sorted({"2", "10", "1.5"}, assDefault), (std::vector<std::string>{"1.5", "10", "2"}));
    // One side no number: plain text comparison.
    EXPECT_EQ(CompareListText("apple", "10", assSmart), CompareListText("apple", "10", assDefault));
    EXPECT_GT(CompareListText("apple", "10", assSmart), 0);
    EXPECT_EQ(CompareListText("7", "7.0", assSmart), 0);
}

TEST(EnhListSort, SmartStyleComparesDatesAndTimesByValue)
{
    // M/d/yyyy: text order and date order differ.
    EXPECT_LT(CompareListText("12/1/2019", "1/2/2020", assSmart), 0);
    EXPECT_GT(CompareListText("12/1/2019", "1/2/2020", assDefault), 0);
    EXPECT_LT(CompareListText("9:30", "10:15", assSmart), 0);
    EXPECT_GT(CompareListText("11:59 PM", "12:01 PM", assSmart), 0);
    EXPECT_GT(CompareListText("1/2/2020 10:00", "1/2/2020 9:00", assSmart), 0);
    EXPECT_LT(CompareListText("1/2/2020 10:00", "1/3/2020 9:00", assSmart), 0);
}

TEST(EnhListSort, OneDateSeparatorIsNoDate)
{
    double value = 0;
    EXPECT_FALSE(ListTextDateTime("1/2", value));
    EXPECT_FALSE(ListTextDateTime("13/45/2020", value));
    EXPECT_TRUE(ListTextDateTime("3/4/2021", value));
    EXPECT_TRUE(ListTextDateTime("23:05:10", value));
    EXPECT_FALSE(ListTextDateTime("25:00", value));
    // A fraction is neither date nor number, so the text order holds.
    EXPECT_EQ(Sorted({"1/2", "1/10"}, assSmart), (std::vector<std::string>{"1/10", "1/2"}));
}

TEST(EnhListSort, PlainNumberParserAcceptsWholeTextsOnly)
{
    double value = 0;
    EXPECT_TRUE(ListTextNumber("  12", value));
    EXPECT_EQ(value, 12);
    EXPECT_TRUE(ListTextNumber("-1.5e2", value));
    EXPECT_EQ(value, -150);
    EXPECT_TRUE(ListTextNumber("+.5", value));
    EXPECT_FALSE(ListTextNumber("12 ", value));
    EXPECT_FALSE(ListTextNumber("1,5", value));
    EXPECT_FALSE(ListTextNumber("", value));
    EXPECT_FALSE(ListTextNumber("inf", value));
    EXPECT_FALSE(ListTextNumber("1.2.3", value));
}

TEST(EnhListSort, IntegerListsSkipBadPiecesAndStopAtTheEnd)
{
    std::vector<int> values{1, 2, 3, 4};
    ReadIntList("100,50", values);
    EXPECT_EQ(values, (std::vector<int>{100, 50, 3, 4}));
    ReadIntList("7,x,9,10,11,12", values);
    EXPECT_EQ(values, (std::vector<int>{7, 50, 9, 10}));
    ReadIntList("", values);
    EXPECT_EQ(values, (std::vector<int>{7, 50, 9, 10}));
    EXPECT_EQ(JoinIntList({120, 90, 0}), "120,90,0");
    EXPECT_EQ(JoinIntList({}), "");
}

// The date and time formatter.
#include "tools/DateTimeText.h"

#include <gtest/gtest.h>

using vx::tools::FormatDateTime;
using vx::tools::ShortDateLongTime;
using vx::tools::ShortDateShortTime;
using vx::tools::TClockReading;

TEST(FormatDateTime, PatternsOfTheFormatSettings)
{
    const TClockReading afternoon{2026, 1, 2, 5, 15, 4, 5};
    const TClockReading midnight{1999, 12, 31, 5, 0, 0, 9};
    vx::TFormatSettings settings;
    struct Case {
        const char* pattern;
        TClockReading when;
        const char* expected;
    };
    const Case cases[] = {
        {"M/d/yyyy", afternoon, "1/2/2026"},
        {"dd/mm/yy", afternoon, "02/01/26"},
        {"h:mm:ss AMPM", afternoon, "3:04:05 PM"},
        {"h:mm:ss AMPM", midnight, "12:00:09 AM"},
        {"hh:nn", afternoon, "15:04"},
        {"h:mm am/pm", afternoon, "3:04 pm"},
        {"h a/p", midnight, "12 a"},
        {"h:mm AM/PM", afternoon, "3:04 PM"},
        {"h A/P", midnight, "12 A"},
        {"dddd, mmmm d", afternoon, "Friday, January 2"},
        {"ddd mmm", midnight, "Fri Dec"},
        {"yyyy-mm-dd", midnight, "1999-12-31"},
        {"'at' hh\"h\"", afternoon, "at 15h"},
        {"", afternoon, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatDateTime(c.pattern, c.when, settings), c.expected) << c.pattern;

    settings.DateSeparator = '-';
    settings.TimeSeparator = '.';
    settings.TimePMString = "pm";
    EXPECT_EQ(ShortDateLongTime(afternoon, settings), "1-2-2026 3.04.05 pm");
    EXPECT_EQ(ShortDateShortTime(afternoon, settings), "1-2-2026 3.04 pm");
}

TEST(ReadDate, TheDateFieldsOfAPattern)
{
    const vx::TFormatSettings english;
    vx::TFormatSettings dutch;
    dutch.LongMonthNames[11] = "december";
    dutch.DateSeparator = '-';
    const TClockReading lastOf2001{2001, 12, 31, 1};
    struct Case {
        const char* pattern;
        const char* text;
        const vx::TFormatSettings& settings;
        std::optional<TClockReading> expected;
    };
    const Case cases[] = {
        {"MMMM d, yyyy", "December 31, 2001", english, lastOf2001},
        {"d MMMM yyyy", "31 december 2001", dutch, lastOf2001},
        {"d MMMM yyyy", "31  DECEMBER 2001", dutch, lastOf2001},
        {"d/m/yyyy", "9-12-2026", dutch, TClockReading{2026, 12, 9, 3}},
        {"'the' d mmm yyyy", "the 31 Dec 2001", english, lastOf2001},
        {"MMMM d, yyyy", "December 31, 2001 ", english, std::nullopt},
        {"MMMM d, yyyy", "February 30, 2001", english, std::nullopt},
        {"d MMMM yyyy h:mm", "31 december 2001 8:50", dutch, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vx::tools::ReadDate(c.pattern, c.text, c.settings), c.expected) << c.pattern << " " << c.text;
}

TEST(AYearLater, TheSameDayAndTimeAYearOn)
{
    const struct {
        TClockReading when;
        TClockReading expected;
    } cases[] = {
        {{2026, 12, 10, 4, 9, 30, 5}, {2027, 12, 10, 5, 9, 30, 5}},
        {{2026, 12, 31, 4, 23, 59, 59}, {2027, 12, 31, 5, 23, 59, 59}},
        {{2028, 2, 29, 2, 0, 0, 0}, {2029, 2, 28, 3, 0, 0, 0}},
        {{2027, 3, 1, 1, 12, 0, 0}, {2028, 3, 1, 3, 12, 0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vx::tools::AYearLater(c.when), c.expected) << c.when.Year << "-" << c.when.Month << "-" << c.when.Day;
}

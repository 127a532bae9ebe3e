// The date and time formatter.
#include "tools/DateTimeText.h"

#include <gtest/gtest.h>

using vx::tools::FormatDateTime;
using vx::tools::ShortDateLongTime;
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
}

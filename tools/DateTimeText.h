// Dates and times as the generators write them: a clock reading and the
// format patterns of the process's format settings (short date, long time).
#pragma once

#include "localisation/FormatSettings.h"

#include <functional>
#include <string>
#include <string_view>

namespace vx::tools {

struct TClockReading {
    int Year = 2000;
    int Month = 1; // 1..12
    int Day = 1;
    int DayOfWeek = 6; // 0 = Sunday
    int Hour = 0;      // 0..23
    int Minute = 0;
    int Second = 0;
    bool operator==(const TClockReading&) const = default;
};

// The local time of day and date now.
TClockReading ClockNow();
using TClock = std::function<TClockReading()>;

// The reading written by a pattern of the class library's date and time
// formats, case-insensitive: d dd ddd dddd, m mm mmm mmmm (minutes right after
// an hour), yy yyyy, h hh, n nn, s ss, ampm am/pm a/p, / and : for the
// separators, c short date and long time, t short time, tt long time, text
// in quotes as it stands. An am/pm part makes hours 12-hour.
std::string FormatDateTime(std::string_view pattern, const TClockReading& when,
                           const TFormatSettings& settings = FormatSettings());

// Short date, a blank and long time.
std::string ShortDateLongTime(const TClockReading& when, const TFormatSettings& settings = FormatSettings());

} // namespace vx::tools

// Dates and times as the generators write them: a clock reading and the
// format patterns of the process's format settings (short date, long time).
#pragma once

#include "localisation/FormatSettings.h"

#include <ctime>
#include <functional>
#include <optional>
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

// The local time of day and date at a moment, and now.
TClockReading ClockReadingAt(std::time_t moment);
TClockReading ClockNow();
using TClock = std::function<TClockReading()>;
// The same day and time a year later; 29 February gives 28 February.
TClockReading AYearLater(const TClockReading& when);

// The reading written by a pattern of the class library's date and time
// formats, case-insensitive: d dd ddd dddd, m mm mmm mmmm (minutes right after
// an hour), yy yyyy, h hh, n nn, s ss, ampm am/pm a/p, / and : for the
// separators, c short date and long time, t short time, tt long time, text
// in quotes as it stands. An am/pm part makes hours 12-hour; am/pm and a/p
// write the half of the day in the case the pattern gives them, ampm as the
// settings name it.
std::string FormatDateTime(std::string_view pattern, const TClockReading& when,
                           const TFormatSettings& settings = FormatSettings());

// The date a text writes in the pattern's date fields: d dd, m mm, mmm mmmm
// (a month's name, any case), yyyy, / for the date separator, text in quotes
// and the other signs as they stand, a blank for any blanks. None when the
// text is no such date, or the pattern has other fields.
std::optional<TClockReading> ReadDate(std::string_view pattern, std::string_view text,
                                      const TFormatSettings& settings = FormatSettings());

// Short date, a blank and long time.
std::string ShortDateLongTime(const TClockReading& when, const TFormatSettings& settings = FormatSettings());
// Short date, a blank and short time: when a file was changed, as a window names it.
std::string ShortDateShortTime(const TClockReading& when, const TFormatSettings& settings = FormatSettings());

} // namespace vx::tools

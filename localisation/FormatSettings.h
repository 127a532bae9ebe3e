// The process-wide number, date and time format settings: what a language
// file's locale block replaces and what the date routines read.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vx {

struct TFormatSettings {
    std::string CurrencyString = "$";
    std::uint8_t CurrencyFormat = 0;
    std::uint8_t NegCurrFormat = 0;
    char ThousandSeparator = ',';
    char DecimalSeparator = '.';
    std::uint8_t CurrencyDecimals = 2;
    char DateSeparator = '/';
    std::string ShortDateFormat = "M/d/yyyy";
    std::string LongDateFormat = "dddd, MMMM dd, yyyy";
    char TimeSeparator = ':';
    std::string TimeAMString = "AM";
    std::string TimePMString = "PM";
    std::string ShortTimeFormat = "h:mm AMPM";
    std::string LongTimeFormat = "h:mm:ss AMPM";
    std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> LongMonthNames{"January", "February", "March",     "April",
                                               "May",     "June",     "July",      "August",
                                               "September", "October", "November", "December"};
    std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> LongDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
    std::array<std::string, 7> EraNames{};
    std::array<std::int32_t, 7> EraYearOffsets{};
    std::uint16_t TwoDigitYearCenturyWindow = 0;
    char ListSeparator = ',';

    bool operator==(const TFormatSettings&) const = default;
};

// The one settings object of the process (user-interface thread only).
TFormatSettings& FormatSettings();
// The built-in settings, whatever language is chosen: the form of the dates
// and times that files and generated code keep.
const TFormatSettings& BuiltInFormatSettings();

} // namespace vx

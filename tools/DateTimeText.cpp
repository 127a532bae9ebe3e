// The date and time formatter.
#include "tools/DateTimeText.h"

#include <algorithm>
#include <cctype>
#include <chrono>

namespace vx::tools {

TClockReading ClockReadingAt(std::time_t moment)
{
    std::tm local{};
    localtime_r(&moment, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_wday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

TClockReading ClockNow()
{
    return ClockReadingAt(std::time(nullptr));
}

TClockReading AYearLater(const TClockReading& when)
{
    using namespace std::chrono;
    year_month_day date{year(when.Year + 1), month(static_cast<unsigned>(when.Month)),
                        day(static_cast<unsigned>(when.Day))};
    if (!date.ok())
        date = year_month_day_last(date.year(), month_day_last(date.month()));
    TClockReading later = when;
    later.Year = static_cast<int>(date.year());
    later.Day = static_cast<int>(static_cast<unsigned>(date.day()));
    later.DayOfWeek = static_cast<int>(weekday(sys_days(date)).c_encoding());
    return later;
}

namespace {

std::string Padded(int value, std::size_t width)
{
    std::string text = std::to_string(value);
    if (text.size() < width)
        text.insert(0, width - text.size(), '0');
    return text;
}

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view prefix)
{
    if (text.size() - at < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[at + i])) != prefix[i])
            return false;
    return true;
}

// The length of the run of letter c (any case) at position at.
std::size_t RunOf(std::string_view text, std::size_t at, char c)
{
    std::size_t n = 0;
    while (at + n < text.size() && std::tolower(static_cast<unsigned char>(text[at + n])) == c)
        ++n;
    return n;
}

bool HasAmPm(std::string_view pattern)
{
    for (std::size_t i = 0; i < pattern.size(); ++i)
        if (StartsWithNoCase(pattern, i, "am/pm") || StartsWithNoCase(pattern, i, "a/p") ||
            StartsWithNoCase(pattern, i, "ampm"))
            return true;
    return false;
}

// The number of up to most digits at text[at], moved past.
std::optional<int> ReadNumber(std::string_view text, std::size_t& at, std::size_t most)
{
    int value = 0;
    std::size_t digits = 0;
    for (; digits < most && at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++digits, ++at)
        value = value * 10 + (text[at] - '0');
    return digits > 0 ? std::optional(value) : std::nullopt;
}

// The 1-based number of the name text[at] starts with (any case), moved past.
std::optional<int> ReadMonthName(std::string_view text, std::size_t& at, const std::array<std::string, 12>& names)
{
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string lower = names[i];
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (!lower.empty() && StartsWithNoCase(text, at, lower)) {
            at += lower.size();
            return static_cast<int>(i) + 1;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<TClockReading> ReadDate(std::string_view pattern, std::string_view text,
                                      const TFormatSettings& settings)
{
    std::optional<int> year, month, day;
    std::size_t at = 0;
    const auto literal = [&](std::string_view part) {
        if (text.substr(at, part.size()) != part)
            return false;
        at += part.size();
        return true;
    };
    for (std::size_t i = 0; i < pattern.size();) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(pattern[i])));
        std::size_t run = std::isalpha(static_cast<unsigned char>(c)) ? RunOf(pattern, i, c) : 1;
        bool read = false;
        if (c == '"' || c == '\'') {
            const std::size_t end = std::min(pattern.find(c, i + 1), pattern.size());
            read = literal(pattern.substr(i + 1, end - i - 1));
            run = std::min(end + 1, pattern.size()) - i;
        } else if (c == ' ') {
            read = at < text.size() && text[at] == ' ';
            while (at < text.size() && text[at] == ' ')
                ++at;
        } else if (c == 'd' && run <= 2) {
            read = (day = ReadNumber(text, at, 2)).has_value();
        } else if (c == 'm') {
            month = run <= 2 ? ReadNumber(text, at, 2)
                             : ReadMonthName(text, at, run == 3 ? settings.ShortMonthNames : settings.LongMonthNames);
            read = month.has_value();
        } else if (c == 'y' && run == 4) {
            read = (year = ReadNumber(text, at, 4)).has_value();
        } else if (c == '/') {
            read = literal(std::string(1, settings.DateSeparator));
        } else if (!std::isalpha(static_cast<unsigned char>(c))) {
            read = literal(pattern.substr(i, 1));
        }
        if (!read)
            return std::nullopt;
        i += run;
    }
    if (at != text.size() || !year || !month || !day)
        return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year(*year),
                                           std::chrono::month(static_cast<unsigned>(*month)),
                                           std::chrono::day(static_cast<unsigned>(*day))};
    if (!date.ok())
        return std::nullopt;
    const std::chrono::weekday weekday{std::chrono::sys_days(date)};
    return TClockReading{*year, *month, *day, static_cast<int>(weekday.c_encoding())};
}

std::string FormatDateTime(std::string_view pattern, const TClockReading& when, const TFormatSettings& settings)
{
    const bool twelve = HasAmPm(pattern);
    const int hour12 = when.Hour % 12 == 0 ? 12 : when.Hour % 12;
    const int hour = twelve ? hour12 : when.Hour;
    const bool pm = when.Hour >= 12;
    std::string out;
    bool afterHour = false;
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(pattern[i])));
        if (pattern[i] == '"' || pattern[i] == '\'') {
            const std::size_t end = pattern.find(pattern[i], i + 1);
            const std::size_t stop = end == std::string_view::npos ? pattern.size() : end;
            out.append(pattern.substr(i + 1, stop - i - 1));
            i = stop == pattern.size() ? stop : stop + 1;
            continue;
        }
        // The half of the day in the case the pattern writes it.
        if (StartsWithNoCase(pattern, i, "am/pm")) {
            out.append(pattern.substr(pm ? i + 3 : i, 2));
            i += 5;
            continue;
        }
        if (StartsWithNoCase(pattern, i, "a/p")) {
            out += pattern[pm ? i + 2 : i];
            i += 3;
            continue;
        }
        if (StartsWithNoCase(pattern, i, "ampm")) {
            out += pm ? settings.TimePMString : settings.TimeAMString;
            i += 4;
            continue;
        }
        const std::size_t run = std::isalpha(static_cast<unsigned char>(pattern[i])) ? RunOf(pattern, i, c) : 1;
        switch (c) {
        case 'd':
            if (run >= 4)
                out += settings.LongDayNames[when.DayOfWeek % 7];
            else if (run == 3)
                out += settings.ShortDayNames[when.DayOfWeek % 7];
            else
                out += Padded(when.Day, run);
            break;
        case 'm':
            if (afterHour && run <= 2)
                out += Padded(when.Minute, run);
            else if (run >= 4)
                out += settings.LongMonthNames[(when.Month + 11) % 12];
            else if (run == 3)
                out += settings.ShortMonthNames[(when.Month + 11) % 12];
            else
                out += Padded(when.Month, run);
            break;
        case 'y':
            out += run <= 2 ? Padded(when.Year % 100, 2) : Padded(when.Year, 4);
            break;
        case 'h':
            out += Padded(hour, std::min<std::size_t>(run, 2));
            break;
        case 'n':
            out += Padded(when.Minute, std::min<std::size_t>(run, 2));
            break;
        case 's':
            out += Padded(when.Second, std::min<std::size_t>(run, 2));
            break;
        case 'c':
            out += ShortDateLongTime(when, settings);
            break;
        case 't':
            out += FormatDateTime(run >= 2 ? settings.LongTimeFormat : settings.ShortTimeFormat, when, settings);
            break;
        case '/':
            out += settings.DateSeparator;
            break;
        case ':':
            out += settings.TimeSeparator;
            break;
        default:
            out.append(pattern.substr(i, run));
            break;
        }
        if (c == 'h')
            afterHour = true;
        else if (std::isalpha(static_cast<unsigned char>(c)))
            afterHour = false;
        i += run;
    }
    return out;
}

std::string ShortDateLongTime(const TClockReading& when, const TFormatSettings& settings)
{
    return FormatDateTime(settings.ShortDateFormat, when, settings) + " " +
           FormatDateTime(settings.LongTimeFormat, when, settings);
}

std::string ShortDateShortTime(const TClockReading& when, const TFormatSettings& settings)
{
    return FormatDateTime(settings.ShortDateFormat, when, settings) + " " +
           FormatDateTime(settings.ShortTimeFormat, when, settings);
}

} // namespace vx::tools

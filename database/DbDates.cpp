#include "database/DbDates.h"

#include <chrono>
#include <cmath>

namespace {

using namespace std::chrono;

constexpr sys_days kEpoch = year{1899} / December / 30;

// Milliseconds of the day, rounded; a value that rounds to a whole day counts on the next day.
void split(TDateTime value, std::int64_t& days, std::int64_t& msecs)
{
    std::int64_t total = std::llround(value * MSecsPerDay);
    if (value < 0) {
        // Negative date-times keep their time of day as a positive fraction behind the day.
        std::int64_t whole = static_cast<std::int64_t>(std::trunc(value));
        days = whole;
        msecs = std::llround(std::fabs(value - static_cast<double>(whole)) * MSecsPerDay);
    } else {
        days = total / MSecsPerDay;
        msecs = total % MSecsPerDay;
    }
}

} // namespace

TDateTime EncodeDate(int y, int m, int d)
{
    sys_days day = year{y} / month{static_cast<unsigned>(m)} / static_cast<unsigned>(d);
    return static_cast<double>((day - kEpoch).count());
}

TDateTime EncodeTime(int hour, int minute, int second, int msec)
{
    return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + msec) / MSecsPerDay;
}

void DecodeDate(TDateTime value, int& y, int& m, int& d)
{
    std::int64_t days = 0, msecs = 0;
    split(value, days, msecs);
    year_month_day ymd{kEpoch + std::chrono::days{days}};
    y = static_cast<int>(ymd.year());
    m = static_cast<int>(static_cast<unsigned>(ymd.month()));
    d = static_cast<int>(static_cast<unsigned>(ymd.day()));
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec)
{
    std::int64_t days = 0, msecs = 0;
    split(value, days, msecs);
    hour = static_cast<int>(msecs / 3600000);
    minute = static_cast<int>(msecs / 60000 % 60);
    second = static_cast<int>(msecs / 1000 % 60);
    msec = static_cast<int>(msecs % 1000);
}

TTimeStamp DateTimeToTimeStamp(TDateTime value)
{
    std::int64_t days = 0, msecs = 0;
    split(value, days, msecs);
    return {static_cast<std::int32_t>(msecs), static_cast<std::int32_t>(DateDelta + days)};
}

TDateTime TimeStampToDateTime(const TTimeStamp& stamp)
{
    double days = static_cast<double>(stamp.Date) - DateDelta;
    double time = static_cast<double>(stamp.Time) / MSecsPerDay;
    return days < 0 ? days - time : days + time;
}

double TimeStampToMSecs(const TTimeStamp& stamp)
{
    return static_cast<double>(stamp.Date) * MSecsPerDay + stamp.Time;
}

TTimeStamp MSecsToTimeStamp(double msecs)
{
    double days = std::floor(msecs / MSecsPerDay);
    return {static_cast<std::int32_t>(msecs - days * MSecsPerDay), static_cast<std::int32_t>(days)};
}

TDateTime DateStructToDateTime(const SQL_DATE_STRUCT& date)
{
    return EncodeDate(date.year, date.month, date.day);
}

SQL_DATE_STRUCT DateTimeToDateStruct(TDateTime value)
{
    int y = 0, m = 0, d = 0;
    DecodeDate(value, y, m, d);
    return {static_cast<SQLSMALLINT>(y), static_cast<SQLUSMALLINT>(m), static_cast<SQLUSMALLINT>(d)};
}

SQL_TIMESTAMP_STRUCT DateTimeToTimestampStruct(TDateTime value)
{
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, ms = 0;
    DecodeDate(value, y, mo, d);
    DecodeTime(value, h, mi, s, ms);
    SQL_TIMESTAMP_STRUCT out{};
    out.year = static_cast<SQLSMALLINT>(y);
    out.month = static_cast<SQLUSMALLINT>(mo);
    out.day = static_cast<SQLUSMALLINT>(d);
    out.hour = static_cast<SQLUSMALLINT>(h);
    out.minute = static_cast<SQLUSMALLINT>(mi);
    out.second = static_cast<SQLUSMALLINT>(s);
    out.fraction = static_cast<SQLUINTEGER>(ms) * 1000000u;
    return out;
}

TDateTime TimeStructToDateTime(const SQL_TIME_STRUCT& time)
{
    return EncodeTime(time.hour, time.minute, time.second, 0);
}

TDateTime TimestampStructToDateTime(const SQL_TIMESTAMP_STRUCT& stamp)
{
    double date = EncodeDate(stamp.year, stamp.month, stamp.day);
    double time = EncodeTime(stamp.hour, stamp.minute, stamp.second, 0);
    return date < 0 ? date - time : date + time;
}

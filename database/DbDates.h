// Date and time values of the data-access layer: the class library's date-time
// (days since 30 December 1899, time of day as the fraction), its time stamp
// (day number and milliseconds), and the ODBC date, time and timestamp structs.
#pragma once

#include <sqlext.h>

#include <cstdint>

using TDateTime = double;

// Days from 1 January 0001 to 30 December 1899, plus one: the time stamp's day of date-time 0.
inline constexpr std::int32_t DateDelta = 693594;
inline constexpr std::int32_t MSecsPerDay = 86400000;

struct TTimeStamp {
    std::int32_t Time = 0; // milliseconds since midnight
    std::int32_t Date = 0; // days, 1 January 0001 being day 1
};

TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int msec);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec);

TTimeStamp DateTimeToTimeStamp(TDateTime value);
TDateTime TimeStampToDateTime(const TTimeStamp& stamp);
double TimeStampToMSecs(const TTimeStamp& stamp);
TTimeStamp MSecsToTimeStamp(double msecs);

TDateTime DateStructToDateTime(const SQL_DATE_STRUCT& date);
SQL_DATE_STRUCT DateTimeToDateStruct(TDateTime value);
SQL_TIMESTAMP_STRUCT DateTimeToTimestampStruct(TDateTime value);
TDateTime TimeStructToDateTime(const SQL_TIME_STRUCT& time);
TDateTime TimestampStructToDateTime(const SQL_TIMESTAMP_STRUCT& stamp);

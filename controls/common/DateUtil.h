// Date validation, parsing and the default date formats of the date controls.
// A date value counts days from 30 December 1899 (the fraction is the time);
// 0 is the null date. Date order and separators come from the process-wide
// format settings.
#pragma once

#include <string>
#include <string_view>

namespace vx {

using TDateTime = double;

enum class TDateOrder { doMDY, doDMY, doYMD };

// The first of 'D', 'E', 'M', 'Y' in the format (any case): 'D' day-month-year,
// 'M' month-day-year, 'E' or 'Y' year-month-day; none: day-month-year.
TDateOrder GetDateOrder(std::string_view dateFormat);

bool IsLeapYear(int year);
int DaysPerMonth(int year, int month);
bool ValidDate(int year, int month, int day);
bool ValidDate(TDateTime date);

// The date value of a valid date; EConvertError otherwise.
TDateTime EncodeDate(int year, int month, int day);
void DecodeDate(TDateTime date, int& year, int& month, int& day);
// Today as a date value, and its year.
TDateTime Date();
int CurrentYear();

// Years of 100 and more stay; a smaller year becomes the year ending in those
// two digits within the 100 years that end 30 years after currentYear.
int ExpandYear(int year, int currentYear = CurrentYear());

// Reads a date of up to three numbers separated by the date separator from
// text at pos (0-based, moved past what was read), in the order of
// dateFormat. In a far-east locale whose short date format shows the weekday
// ("ddd"), the words after the date are passed over up to the time. True when
// the date is valid and the whole text was used.
bool ScanDate(std::string_view text, std::string_view dateFormat, size_t& pos, int& year, int& month, int& day);
// Reads the fields at the positions of the format's D, M (MMM: a month name)
// and Y runs; falls back to ScanDate when that gives no valid date.
bool ScanDateStr(std::string_view format, std::string_view text, int& day, int& month, int& year);
// The date; an empty text gives 0; EConvertError "'<text>' is not a valid date" on failure.
TDateTime StrToDateFmt(std::string_view format, std::string_view text);
// As StrToDateFmt, answering the date part of def on failure.
TDateTime StrToDateFmtDef(std::string_view format, std::string_view text, TDateTime def);

std::string DefDateFormat(bool fourDigitYear);
std::string DefDateMask(char blank, bool fourDigitYear);

// Whether the short date format shows four-digit years; taken from the format
// settings on first use, settable afterwards.
bool FourDigitYear();
void SetFourDigitYear(bool value);

// Whether the locale is Chinese, Japanese or Korean; taken from the
// environment's character-type locale at start, settable afterwards.
bool FarEastLocale();
void SetFarEastLocale(bool value);

} // namespace vx

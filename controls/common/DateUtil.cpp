// Date validation, parsing and the default date formats of the date controls.
#include "controls/common/DateUtil.h"

#include "localisation/FormatSettings.h"
#include "platform/AnsiText.h"
#include "platform/Exception.h"
#include "platform/TStringList.h"

#include <cctype>
#include <algorithm>
#include <cmath>
#include <ctime>
#include <optional>

namespace vx {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

void skipBlanks(std::string_view text, size_t& pos)
{
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
}

// One to four digits; a longer run of digits is no number.
std::optional<int> scanNumber(std::string_view text, size_t& pos)
{
    size_t start = pos;
    int value = 0;
    while (pos < text.size() && isDigit(text[pos]) && pos - start < 4)
        value = value * 10 + (text[pos++] - '0');
    if (pos == start || (pos < text.size() && isDigit(text[pos])))
        return std::nullopt;
    return value;
}

bool scanChar(std::string_view text, size_t& pos, char c)
{
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

// Days from 1 January of year 1 in the proleptic Gregorian calendar.
long daysBefore(int year, int month, int day)
{
    long y = year - 1;
    long days = y * 365 + y / 4 - y / 100 + y / 400;
    for (int m = 1; m < month; ++m)
        days += DaysPerMonth(year, m);
    return days + day - 1;
}

// Day number of 30 December 1899, the zero of date values.
const long kDateDelta = daysBefore(1899, 12, 30);

bool fourDigitFlag = [] {
    return UpperCase(FormatSettings().ShortDateFormat).find("YYYY") != std::string::npos;
}();

} // namespace

TDateOrder GetDateOrder(std::string_view dateFormat)
{
    for (char c : dateFormat) {
        switch (std::toupper(static_cast<unsigned char>(c))) {
        case 'D':
            return TDateOrder::doDMY;
        case 'M':
            return TDateOrder::doMDY;
        case 'E':
        case 'Y':
            return TDateOrder::doYMD;
        default:
            break;
        }
    }
    return TDateOrder::doDMY;
}

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysPerMonth(int year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool ValidDate(int year, int month, int day)
{
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= DaysPerMonth(year, month);
}

bool ValidDate(TDateTime date)
{
    if (!std::isfinite(date) || date < -693593.0 || date >= 2958466.0)
        return false;
    int y = 0, m = 0, d = 0;
    DecodeDate(date, y, m, d);
    return ValidDate(y, m, d);
}

TDateTime EncodeDate(int year, int month, int day)
{
    if (!ValidDate(year, month, day))
        throw EConvertError("Invalid argument to date encode");
    return static_cast<TDateTime>(daysBefore(year, month, day) - kDateDelta);
}

void DecodeDate(TDateTime date, int& year, int& month, int& day)
{
    year = month = day = 0;
    if (!std::isfinite(date) || date < -693593.0 || date >= 2958466.0)
        return;
    long n = static_cast<long>(std::trunc(date)) + kDateDelta;
    // 400-year cycles have 146097 days, 100-year ones 36524, 4-year ones 1461.
    long y400 = n / 146097;
    n %= 146097;
    long y100 = std::min(n / 36524, 3L);
    n -= y100 * 36524;
    long y4 = n / 1461;
    n %= 1461;
    long y1 = std::min(n / 365, 3L);
    n -= y1 * 365;
    year = static_cast<int>(y400 * 400 + y100 * 100 + y4 * 4 + y1 + 1);
    month = 1;
    while (n >= DaysPerMonth(year, month))
        n -= DaysPerMonth(year, month++);
    day = static_cast<int>(n) + 1;
}

TDateTime Date()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

int CurrentYear()
{
    int y = 0, m = 0, d = 0;
    DecodeDate(Date(), y, m, d);
    return y;
}

int ExpandYear(int year, int currentYear)
{
    if (year >= 100 || year < 0)
        return year;
    // The current century, or the next one for the years up to thirty years
    // past the current two-digit year less a hundred.
    const int century = currentYear - currentYear % 100;
    return year > currentYear % 100 + 30 - 100 ? century + year : century + 100 + year;
}

bool ScanDate(std::string_view text, std::string_view dateFormat, size_t& pos, int& year, int& month, int& day)
{
    const TFormatSettings& fs = FormatSettings();
    skipBlanks(text, pos);
    if (!fs.ShortDateFormat.empty() && fs.ShortDateFormat[0] == 'g')
        while (pos < text.size() && !isDigit(text[pos]))
            ++pos;
    std::optional<int> n1 = scanNumber(text, pos);
    if (!n1 || !scanChar(text, pos, fs.DateSeparator))
        return false;
    std::optional<int> n2 = scanNumber(text, pos);
    if (!n2)
        return false;
    TDateOrder order = GetDateOrder(dateFormat);
    int y = 0, m = 0, d = 0;
    size_t afterTwo = pos;
    std::optional<int> n3;
    if (scanChar(text, pos, fs.DateSeparator)) {
        n3 = scanNumber(text, pos);
        if (!n3)
            pos = afterTwo;
    }
    if (n3) {
        switch (order) {
        case TDateOrder::doMDY: m = *n1; d = *n2; y = *n3; break;
        case TDateOrder::doDMY: d = *n1; m = *n2; y = *n3; break;
        case TDateOrder::doYMD: y = *n1; m = *n2; d = *n3; break;
        }
        y = ExpandYear(y);
    } else {
        y = CurrentYear();
        if (order == TDateOrder::doDMY) {
            d = *n1;
            m = *n2;
        } else {
            m = *n1;
            d = *n2;
        }
    }
    scanChar(text, pos, fs.DateSeparator);
    skipBlanks(text, pos);
    if (!ValidDate(y, m, d) || pos != text.size())
        return false;
    year = y;
    month = m;
    day = d;
    return true;
}

bool ScanDateStr(std::string_view format, std::string_view text, int& day, int& month, int& year)
{
    const TFormatSettings& fs = FormatSettings();
    std::string fmt = UpperCase(format);
    std::optional<int> d, m, y;
    bool bad = false;
    for (size_t i = 0; i < fmt.size() && !bad;) {
        char letter = fmt[i];
        size_t run = i;
        while (run < fmt.size() && fmt[run] == letter)
            ++run;
        if (letter == 'D' || letter == 'M' || letter == 'Y') {
            std::string field;
            for (size_t k = i; k < run && k < text.size(); ++k)
                if (text[k] != ' ')
                    field += text[k];
            std::optional<int> value;
            if (letter == 'M' && run - i >= 3) {
                for (int mi = 0; mi < 12 && !value && !field.empty(); ++mi)
                    if (SameText(std::string_view(fs.LongMonthNames[mi]).substr(0, field.size()), field))
                        value = mi + 1;
            } else if (!field.empty()) {
                size_t at = 0;
                value = scanNumber(field, at);
                if (at != field.size())
                    value.reset();
            }
            if (!value)
                bad = true;
            (letter == 'D' ? d : letter == 'M' ? m : y) = value;
        }
        i = run;
    }
    if (!bad) {
        int dd = d.value_or(1), mm = m.value_or(0), yy = ExpandYear(y.value_or(CurrentYear()));
        if (ValidDate(yy, mm, dd)) {
            day = dd;
            month = mm;
            year = yy;
            return true;
        }
    }
    size_t pos = 0;
    return ScanDate(text, format, pos, year, month, day);
}

TDateTime StrToDateFmt(std::string_view format, std::string_view text)
{
    if (Trim(text).empty())
        return 0;
    int d = 0, m = 0, y = 0;
    if (!ScanDateStr(format, text, d, m, y))
        throw EConvertError("'" + std::string(text) + "' is not a valid date");
    return EncodeDate(y, m, d);
}

TDateTime StrToDateFmtDef(std::string_view format, std::string_view text, TDateTime def)
{
    try {
        return StrToDateFmt(format, text);
    } catch (const EConvertError&) {
        return std::trunc(def);
    }
}

std::string DefDateFormat(bool fourDigitYear)
{
    std::string year = fourDigitYear ? "YYYY" : "YY";
    switch (GetDateOrder(FormatSettings().ShortDateFormat)) {
    case TDateOrder::doMDY:
        return "MM/DD/" + year;
    case TDateOrder::doDMY:
        return "DD/MM/" + year;
    case TDateOrder::doYMD:
        break;
    }
    return year + "/MM/DD";
}

std::string DefDateMask(char blank, bool fourDigitYear)
{
    std::string mask;
    if (!fourDigitYear)
        mask = "!99/99/99;1;";
    else if (GetDateOrder(FormatSettings().ShortDateFormat) == TDateOrder::doYMD)
        mask = "!9999/99/99;1;";
    else
        mask = "!99/99/9999;1;";
    return mask + blank;
}

bool FourDigitYear()
{
    return fourDigitFlag;
}

void SetFourDigitYear(bool value)
{
    fourDigitFlag = value;
}

} // namespace vx

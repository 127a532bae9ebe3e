// Smart comparison of list texts and the integer lists of the settings.
#include "controls/listviews/EnhListSort.h"

#include "controls/common/DateUtil.h"
#include "localisation/FormatSettings.h"
#include "platform/AnsiText.h"
#include "platform/CustomIniFile.h"
#include "platform/Exception.h"
#include "platform/qt/QtText.h"

#include <QString>

#include <charconv>

namespace vx {

namespace {

bool TakeNumber(std::string_view& text, int& value)
{
    size_t n = 0;
    while (n < text.size() && n < 4 && text[n] >= '0' && text[n] <= '9')
        ++n;
    if (n == 0)
        return false;
    value = 0;
    for (size_t i = 0; i < n; ++i)
        value = value * 10 + (text[i] - '0');
    text.remove_prefix(n);
    return true;
}

bool StartsWithNoCase(std::string_view text, const std::string& prefix)
{
    return !prefix.empty() && text.size() >= prefix.size() &&
           UpperCase(text.substr(0, prefix.size())) == UpperCase(prefix);
}

// h[:mm[:ss]] with an optional AM or PM string, blanks around allowed.
bool ParseTime(std::string_view text, double& value)
{
    const std::string trimmed = Trim(text);
    std::string_view rest = trimmed;
    const char sep = FormatSettings().TimeSeparator;
    int parts[3] = {0, 0, 0};
    int count = 0;
    while (count < 3 && TakeNumber(rest, parts[count])) {
        ++count;
        if (rest.empty() || rest.front() != sep)
            break;
        rest.remove_prefix(1);
    }
    if (count == 0)
        return false;
    const std::string tail = Trim(rest);
    int hour = parts[0];
    if (!tail.empty()) {
        const bool am = StartsWithNoCase(tail, FormatSettings().TimeAMString) && tail.size() == FormatSettings().TimeAMString.size();
        const bool pm = StartsWithNoCase(tail, FormatSettings().TimePMString) && tail.size() == FormatSettings().TimePMString.size();
        if ((!am && !pm) || hour > 12)
            return false;
        hour = hour % 12 + (pm ? 12 : 0);
    }
    if (hour > 23 || parts[1] > 59 || parts[2] > 59)
        return false;
    value = (hour * 3600 + parts[1] * 60 + parts[2]) / 86400.0;
    return true;
}

bool ParseDate(std::string_view text, double& value)
{
    try {
        value = StrToDateFmt(FormatSettings().ShortDateFormat, Trim(text));
        return value != 0;
    } catch (const EConvertError&) {
        return false;
    }
}

int Sign(double d) { return d < 0 ? -1 : (d > 0 ? 1 : 0); }

} // namespace

bool ListTextDateTime(std::string_view text, double& value)
{
    const size_t first = text.find(FormatSettings().DateSeparator);
    const bool isDate = first != std::string_view::npos &&
                        (first + 1 == text.size() || text.find(FormatSettings().DateSeparator, first + 1) != std::string_view::npos);
    const bool isTime = text.find(FormatSettings().TimeSeparator) != std::string_view::npos;
    value = 0;
    if (isDate && isTime) {
        const std::string trimmed = Trim(text);
        const size_t blank = trimmed.find(' ');
        double date = 0, time = 0;
        if (blank == std::string::npos || !ParseDate(std::string_view(trimmed).substr(0, blank), date) ||
            !ParseTime(std::string_view(trimmed).substr(blank + 1), time))
            return false;
        value = date + (date < 0 ? -time : time);
        return true;
    }
    if (isDate)
        return ParseDate(text, value);
    if (isTime)
        return ParseTime(text, value);
    return false;
}

bool ListTextNumber(std::string_view text, double& value)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty() || text.find_first_not_of("0123456789.eE-+") != std::string_view::npos)
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

int CompareListText(const std::string& a, const std::string& b, TAutoSortStyle style)
{
    if (style == assSmart) {
        double x = 0, y = 0;
        if (ListTextDateTime(a, x) && ListTextDateTime(b, y))
            return Sign(x - y);
        if (ListTextNumber(a, x) && ListTextNumber(b, y))
            return Sign(x - y);
    }
    const int c = QString::localeAwareCompare(ToQString(a), ToQString(b));
    if (c != 0)
        return Sign(c);
    return a < b ? -1 : (b < a ? 1 : 0);
}

void ReadIntList(std::string_view text, std::vector<int>& values)
{
    size_t element = 0;
    while (!text.empty() && element < values.size()) {
        const size_t comma = text.find(',');
        const std::string_view piece = text.substr(0, comma);
        constexpr int none = -0x7FFFFFFF - 1;
        const int v = IniStrToIntDef(piece, none);
        if (v != none)
            values[element] = v;
        ++element;
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
}

std::string JoinIntList(const std::vector<int>& values)
{
    std::string text;
    for (size_t i = 0; i < values.size(); ++i) {
        if (i)
            text += ',';
        text += std::to_string(values[i]);
    }
    return text;
}

} // namespace vx

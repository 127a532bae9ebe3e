// The text comparisons behind the list views' automatic sort (dates, times and
// numbers recognised by the smart style) and the comma-separated integer lists
// the list views keep in the registry.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vx {

enum TAutoSortStyle { assSmart, assDefault };

// The date/time value of a text that looks like a date (the date separator,
// and a second one unless the first ends the text) or a time (the time
// separator) and converts with the format settings; false otherwise.
bool ListTextDateTime(std::string_view text, double& value);
// The value of a text the plain numeric parser accepts whole ("." as the
// decimal point, whatever the locale).
bool ListTextNumber(std::string_view text, double& value);
// -1, 0 or 1: assDefault compares the texts (locale-aware, case-sensitive);
// assSmart compares two dates/times or two numbers by value first.
int CompareListText(const std::string& a, const std::string& b, TAutoSortStyle style);

// Splits text at "," into the next elements of values; a piece that is no
// integer leaves its element as it was; pieces beyond the array are dropped.
void ReadIntList(std::string_view text, std::vector<int>& values);
std::string JoinIntList(const std::vector<int>& values);

} // namespace vx

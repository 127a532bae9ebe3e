// The Date header of a mail: "Mon, 7 Dec 2026 14:05:09 +0100".
#pragma once

#include <ctime>
#include <string>

namespace vx::net {

// The zone of a bias in minutes (UTC minus local time): 0 is "GMT", -60 is "+0100".
std::string MailZoneText(long biasMinutes);
// The English date text of a local time whose offset from UTC is given in seconds.
std::string MailDateText(const std::tm& local, long utcOffsetSeconds);
// The date text of now; localized uses the system's day and month names and time format.
std::string MailDateNow(bool localized);

} // namespace vx::net

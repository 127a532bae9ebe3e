// Mail date texts.
#include "internet/MailDate.h"

#include <cstdio>
#include <cstdlib>

namespace vx::net {

namespace {
constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
}

std::string MailZoneText(long biasMinutes)
{
    if (biasMinutes == 0)
        return "GMT";
    long magnitude = std::labs(biasMinutes);
    char text[16];
    std::snprintf(text, sizeof text, "%c%02ld%02ld", biasMinutes < 0 ? '+' : '-', magnitude / 60 % 100, magnitude % 60);
    return text;
}

std::string MailDateText(const std::tm& local, long utcOffsetSeconds)
{
    char text[64];
    std::snprintf(text, sizeof text, "%s, %d %s %d %02d:%02d:%02d ", kDays[(local.tm_wday % 7 + 7) % 7],
                  local.tm_mday, kMonths[(local.tm_mon % 12 + 12) % 12], local.tm_year + 1900, local.tm_hour,
                  local.tm_min, local.tm_sec);
    return text + MailZoneText(-utcOffsetSeconds / 60);
}

std::string MailDateNow(bool localized)
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    if (localized) {
        char text[128];
        std::size_t n = std::strftime(text, sizeof text, "%a, %e %b %Y %X", &local);
        return std::string(text, n);
    }
    return MailDateText(local, local.tm_gmtoff);
}

} // namespace vx::net

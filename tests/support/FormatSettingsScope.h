// The process's number, date and time formats set for one test: those of
// before come back at its end.
#pragma once

#include "localisation/FormatSettings.h"

namespace vx::test {

class TFormatSettingsScope {
public:
    explicit TFormatSettingsScope(const TFormatSettings& settings) : saved_(FormatSettings())
    {
        FormatSettings() = settings;
    }
    ~TFormatSettingsScope() { FormatSettings() = saved_; }
    TFormatSettingsScope(const TFormatSettingsScope&) = delete;
    TFormatSettingsScope& operator=(const TFormatSettingsScope&) = delete;

private:
    TFormatSettings saved_;
};

// Formats as Dutch writes them: the day first, "-" between the date's parts,
// a 24-hour clock.
inline TFormatSettings DutchFormats()
{
    TFormatSettings dutch;
    dutch.DateSeparator = '-';
    dutch.ShortDateFormat = "d-M-yyyy";
    dutch.LongTimeFormat = "h:mm:ss";
    dutch.ShortTimeFormat = "h:mm";
    dutch.TimeAMString.clear();
    dutch.TimePMString.clear();
    dutch.LongMonthNames[0] = "januari";
    return dutch;
}

} // namespace vx::test

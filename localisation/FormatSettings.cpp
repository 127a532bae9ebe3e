// The process-wide format settings object.
#include "localisation/FormatSettings.h"

namespace vx {

TFormatSettings& FormatSettings()
{
    static TFormatSettings settings;
    return settings;
}

const TFormatSettings& BuiltInFormatSettings()
{
    static const TFormatSettings settings;
    return settings;
}

} // namespace vx

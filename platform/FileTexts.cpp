#include "platform/FileTexts.h"

#include "platform/Cp1252.h"
#include "platform/Utf8.h"

namespace vx {

std::string TFileTexts::operator()(std::string_view bytes)
{
    if (windows1252_)
        return Cp1252ToUtf8(bytes);
    if (allUtf8_ && !utf8::IsValid(bytes))
        allUtf8_ = false;
    return std::string(bytes);
}

} // namespace vx

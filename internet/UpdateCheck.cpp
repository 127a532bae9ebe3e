// The version file of the update check.
#include "internet/UpdateCheck.h"

#include "internet/TextUtil.h"

#include <algorithm>
#include <cctype>

TUpdateResult ReadVersionReply(const TFetchReply& reply, std::string_view buildTag)
{
    if (!reply.Ok || !IsSuccess(reply.Status))
        return TUpdateResult::CouldNotCheck;
    std::string line = vx::net::Trim(std::string_view(reply.Body).substr(0, reply.Body.find_first_of("\r\n")));
    bool wellFormed = line.size() == buildTag.size()
                   && std::all_of(line.begin(), line.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
    if (!wellFormed)
        return TUpdateResult::CouldNotCheck;
    return line > buildTag ? TUpdateResult::UpdateAvailable : TUpdateResult::UpToDate;
}

// The user tag file.
#include "shell/UserTags.h"

#include "platform/AnsiText.h"
#include "shell/ListFiles.h"

namespace vx::shell {

std::string UserTagsPath()
{
    return UserDataFile("usertag.ae");
}

std::string UserTagEntry(std::string_view startTag, std::string_view endTag)
{
    std::string entry(startTag);
    if (!endTag.empty())
        entry.append(":").append(endTag);
    return AnsiUpperCase(entry);
}

std::pair<std::string, std::string> SplitUserTag(std::string_view entry)
{
    const std::size_t colon = entry.rfind(':');
    if (colon == std::string_view::npos)
        return {std::string(entry), {}};
    return {std::string(entry.substr(0, colon)), std::string(entry.substr(colon + 1))};
}

} // namespace vx::shell

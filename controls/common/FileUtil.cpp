// File-system tests the controls share.
#include "controls/common/FileUtil.h"

#include "platform/ProgramPaths.h"

#include <filesystem>
#include <system_error>

namespace vx {

bool DirExists(const std::string& name)
{
    if (name.empty())
        return false;
    std::error_code ec;
    return std::filesystem::is_directory(NativePath(name), ec);
}

} // namespace vx

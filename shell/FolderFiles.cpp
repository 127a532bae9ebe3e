// Reading the files a list names.
#include "shell/FolderFiles.h"

#include "platform/FileIO.h"
#include "platform/ProgramPaths.h"
#include "platform/Utf8.h"

#include <algorithm>

namespace vx::shell {

bool IsPlainFileName(std::string_view name)
{
    const auto control = [](char c) { return static_cast<unsigned char>(c) < 0x20; };
    // Without a separator, only the whole names "." and ".." lead out of the folder.
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string_view::npos &&
           std::none_of(name.begin(), name.end(), control);
}

std::string ReadFileInFolder(const std::string& folder, const std::string& name)
{
    if (!IsPlainFileName(name))
        return {};
    const std::string path = JoinPath(folder, name);
    return FileExists(path) ? TextFromFileBytes(ReadWholeFile(path)) : std::string();
}

} // namespace vx::shell

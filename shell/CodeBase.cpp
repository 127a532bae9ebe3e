// The shipped code base.
#include "shell/CodeBase.h"

#include "platform/ProgramPaths.h"
#include "platform/TStringList.h"
#include "shell/ListFiles.h"
#include "shell/FolderFiles.h"

namespace vx::shell {

std::string CodeBaseFolder()
{
    return ProgramPath("data\\codebase");
}

std::vector<std::string> CodeBaseEntries(const std::string& folder)
{
    std::vector<std::string> entries;
    TStringList lines;
    if (!LoadListFile(JoinPath(folder, "codebase.dat"), lines))
        return entries;
    for (int i = 0; i < lines.Count(); ++i)
        if (IsPlainFileName(lines[i]))
            entries.push_back(lines[i]);
    return entries;
}

std::string CodeBaseText(const std::string& entry, const std::string& folder)
{
    return ReadFileInFolder(folder, entry);
}

} // namespace vx::shell

// The list files of the data folder.
#include "shell/ListFiles.h"

#include "platform/FileIO.h"
#include "platform/ProgramPaths.h"
#include "platform/Utf8.h"

#include <algorithm>

namespace vx::shell {

std::string DataFile(std::string_view name)
{
    return ProgramPath(std::string("data\\").append(name));
}

std::string UserDataFile(std::string_view name)
{
    return UserDataPath(std::string("data\\").append(name));
}

bool LoadListFile(const std::string& path, TStrings& list)
{
    if (!FileExists(path))
        return false;
    list.SetText(TextFromFileBytes(ReadWholeFile(path)));
    return true;
}

std::vector<TTreeTextNode> ParseTreeText(std::string_view text)
{
    TStringList lines;
    lines.SetText(text);
    std::vector<TTreeTextNode> nodes;
    nodes.reserve(lines.Count());
    int previous = -1;
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string& line = lines[i];
        const std::size_t indent = std::min(line.find_first_not_of(" \t"), line.size());
        const int level = std::min(static_cast<int>(indent), previous + 1);
        nodes.push_back({level, line.substr(indent)});
        previous = level;
    }
    return nodes;
}

} // namespace vx::shell

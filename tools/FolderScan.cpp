#include "tools/FolderScan.h"

#include "platform/AnsiText.h"
#include "platform/Registry.h"
#include "tools/MultiFileReplace.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace vx::tools {

namespace {

namespace fs = std::filesystem;

constexpr const char* SettingsKey = "\\software\\Orvane\\Vellumix\\FileSearch";

bool Wanted(const fs::path& file, const TScanSettings& settings)
{
    const std::string name = file.filename().string();
    if (name.empty() || name.front() == '.')
        return false;
    // A file the user may not write is the read-only file of the scan.
    if (::access(file.c_str(), W_OK) != 0)
        return false;
    return MatchesExtensionList(settings.Extensions, name);
}

void ScanFolder(const fs::path& folder, const TScanSettings& settings,
                const std::function<void(const std::string&)>& looking, std::vector<std::string>& out)
{
    std::vector<std::string> files;
    std::vector<fs::path> folders;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path& entry = it->path();
        if (looking)
            looking(entry.string());
        std::error_code kind;
        if (it->is_directory(kind)) {
            // Links to folders are not followed: a loop would never end.
            if (settings.IncludeSubfolders && !it->is_symlink(kind) && entry.filename().string().front() != '.')
                folders.push_back(entry);
        } else if (it->is_regular_file(kind) && Wanted(entry, settings)) {
            files.push_back(entry.string());
        }
    }
    std::sort(files.begin(), files.end());
    out.insert(out.end(), files.begin(), files.end());
    std::sort(folders.begin(), folders.end());
    for (const fs::path& sub : folders)
        ScanFolder(sub, settings, looking, out);
}

} // namespace

TScanSettings TScanSettings::Load()
{
    TScanSettings settings;
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (!reg.OpenKey(SettingsKey, false))
        return settings;
    settings.Extensions = RegReadStringDef(reg, "File Extensions", settings.Extensions);
    settings.IncludeSubfolders = RegReadIntegerDef(reg, "Include Subdirectories", 0) != 0;
    reg.CloseKey();
    return settings;
}

void TScanSettings::Save() const
{
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (!reg.OpenKey(SettingsKey, true))
        return;
    reg.WriteString("File Extensions", Extensions);
    reg.WriteBool("Include Subdirectories", IncludeSubfolders);
    reg.CloseKey();
}

std::vector<std::string> ScanDir(std::string path, const TScanSettings& settings,
                                 const std::function<void(const std::string&)>& looking)
{
    path = path.substr(0, path.find('\0'));
    std::vector<std::string> out;
    std::error_code error;
    const fs::path target(path);
    if (fs::is_directory(target, error))
        ScanFolder(target, settings, looking, out);
    else if (fs::is_regular_file(target, error) && Wanted(target, settings))
        out.push_back(path);
    return out;
}

} // namespace vx::tools

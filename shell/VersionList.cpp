// The version-manager list file.
#include "shell/VersionList.h"

#include "platform/AnsiText.h"
#include "platform/FileIO.h"
#include "platform/IniFile.h"
#include "platform/ProgramPaths.h"
#include "platform/Utf8.h"

#include <utility>

#include <pwd.h>
#include <unistd.h>

namespace vx::shell {

std::string VcsListPath()
{
    return UserDataPath("data\\vcsmanager.dat");
}

const std::array<TVcsColumn, VcsColumnCount>& VcsColumns()
{
    static const std::array<TVcsColumn, VcsColumnCount> columns{{
        {"ID", "id"},
        {"Filename", "s_file"},
        {"Startdate", "s_date"},
        {"Enddate", "e_date"},
        {"Topic", "topic"},
        {"Priority", "priority"},
        {"Username", "username"},
        {"Changed", "changed"},
        {"Version", "version"},
    }};
    return columns;
}

std::string TaskUserName(std::string_view login)
{
    // What a buffer of 20 bytes holds, without a character cut in two.
    const std::string_view name = login.size() > 20 ? login.substr(0, utf8::CharStart(login, 20)) : login;
    if (name.empty())
        return {};
    const std::size_t first = utf8::NextChar(name, 0);
    return AnsiUpperCase(name.substr(0, first)).append(name.substr(first));
}

std::string LoginName()
{
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name)
        return found->pw_name;
    return {};
}

std::string FileNameOnly(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

TVcsList::TVcsList(std::string path) : path_(std::move(path)) {}

bool TVcsList::Exists() const
{
    return FileExists(path_);
}

std::vector<std::string> TVcsList::Ids() const
{
    std::vector<std::string> ids;
    if (!Exists())
        return ids;
    TIniFile ini(path_);
    TStringList sections;
    ini.ReadSections(sections);
    for (int i = 0; i < sections.Count(); ++i)
        ids.push_back(sections[i]);
    return ids;
}

std::vector<TVcsRow> TVcsList::Rows() const
{
    std::vector<TVcsRow> rows;
    const std::vector<std::string> ids = Ids();
    if (ids.empty())
        return rows;
    TIniFile ini(path_);
    for (const std::string& id : ids) {
        TVcsRow& row = rows.emplace_back();
        for (int c = 0; c < VcsColumnCount; ++c)
            row[c] = ini.ReadString(id, VcsColumns()[c].Key, "");
    }
    return rows;
}

std::vector<std::string> TVcsList::Values(const std::string& key) const
{
    std::vector<std::string> values;
    const std::vector<std::string> ids = Ids();
    if (ids.empty())
        return values;
    TIniFile ini(path_);
    for (const std::string& id : ids)
        values.push_back(ini.ReadString(id, key, ""));
    return values;
}

std::string TVcsList::Value(const std::string& id, const std::string& key, const std::string& def) const
{
    if (!Exists())
        return def;
    TIniFile ini(path_);
    return ini.ReadString(id, key, def);
}

std::string TVcsList::NextId(int rowCount) const
{
    TIniFile ini(path_);
    TStringList sections;
    ini.ReadSections(sections);
    int id = rowCount;
    while (sections.IndexOf(std::to_string(id)) >= 0)
        ++id;
    return std::to_string(id);
}

TVcsRow TVcsList::Add(const std::string& id, const TVcsTask& task)
{
    const std::string fileName = FileNameOnly(task.FilePath);
    const std::pair<const char*, const std::string*> keys[] = {
        {"ID", &id},
        {"s_date", &task.StartDate},
        {"e_date", &task.EndDate},
        {"a_date", &task.AddDate},
        {"Topic", &task.Topic},
        {"Priority", &task.Priority},
        {"Username", &task.UserName},
        {"S_File", &fileName},
        {"F_file", &task.FilePath},
        {"version", &task.Version},
        {"Creation_date_time", &task.AddDateTime},
        {"Created_ by", &task.UserName},
    };
    TIniFile ini(path_);
    for (const auto& [key, value] : keys)
        ini.WriteString(id, key, *value);
    return {id, fileName, task.StartDate, task.EndDate, task.Topic, task.Priority, task.UserName, "", task.Version};
}

void TVcsList::Erase(const std::string& id)
{
    TIniFile ini(path_);
    ini.EraseSection(id);
}

void TVcsList::Write(const std::string& id, const std::string& key, const std::string& value)
{
    TIniFile ini(path_);
    ini.WriteString(id, key, value);
}

} // namespace vx::shell

// The version-manager list: one INI section per entry, named after the
// entry's ID, with the entry's dates, topic, owner, file and version. The
// main window and the version-manager window read the same file.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vx::shell {

// The per-user list file, seeded from the program's copy on first use.
std::string VcsListPath();

// What the add-task dialog gives for a new entry, and the day it is added.
struct TVcsTask {
    std::string StartDate;
    std::string EndDate;
    std::string Topic;
    std::string Priority;
    std::string UserName;
    std::string FilePath;
    std::string Version;
    std::string AddDate;     // short date
    std::string AddDateTime; // short date and long time
};

inline constexpr int VcsColumnCount = 9;

struct TVcsColumn {
    const char* Caption;
    const char* Key;
};

// The list's columns in order, each with the key it shows.
const std::array<TVcsColumn, VcsColumnCount>& VcsColumns();

using TVcsRow = std::array<std::string, VcsColumnCount>;

// The name a new task is owned by: the login name cut to 20 characters, its
// first letter upper-cased; empty when it cannot be read.
std::string TaskUserName(std::string_view login);
std::string LoginName();

// The file name without its folder; both kinds of separator count.
std::string FileNameOnly(const std::string& path);

class TVcsList {
public:
    explicit TVcsList(std::string path = VcsListPath());

    bool Exists() const;
    // One row per section, in file order; a missing key gives an empty cell.
    std::vector<TVcsRow> Rows() const;
    // The section names in file order; the main window lists their "F_file".
    std::vector<std::string> Ids() const;
    // The key's value in every section, in file order; empty where missing.
    std::vector<std::string> Values(const std::string& key) const;
    // Key names match without regard to letter case; def when missing.
    std::string Value(const std::string& id, const std::string& key, const std::string& def = {}) const;

    // The ID a new entry takes: the row count when no section has that name,
    // else the next number no section has, so an entry is never overwritten.
    std::string NextId(int rowCount) const;
    // Writes the section of a new entry, keys in their fixed order; the row it
    // makes is returned so the list can show it without reading the file.
    TVcsRow Add(const std::string& id, const TVcsTask& task);
    void Erase(const std::string& id);
    void Write(const std::string& id, const std::string& key, const std::string& value);

private:
    std::string path_;
};

} // namespace vx::shell

// The favourite files, kept in the per-user data file "data\faves.dat", one
// full path a line, in list order.
#pragma once

#include <string>
#include <vector>

namespace vx::shell {

class TFaveList {
public:
    explicit TFaveList(std::string path);

    // Replaces the entries with the file's lines; a missing file leaves the
    // list empty. Empty lines name no file and are skipped.
    void Load();
    const std::vector<std::string>& Items() const { return items_; }
    // Appends the path and saves the list.
    void Add(const std::string& path);
    // Removes the entry and saves; an index out of range changes nothing and
    // writes nothing.
    void Remove(int index);

private:
    void Save() const;

    std::string path_;
    std::vector<std::string> items_;
};

} // namespace vx::shell

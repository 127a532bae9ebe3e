// The links the user has written, remembered in the per-user data file
// "data\urldata.dat", one a line, in the order they were added.
#pragma once

#include <string>
#include <vector>

namespace vx::tools {

class TUrlHistory {
public:
    // The file in the per-user data folder; read when it exists.
    TUrlHistory();
    explicit TUrlHistory(std::string path);

    const std::vector<std::string>& Items() const { return items_; }
    bool FileExists() const;
    // Case-sensitive, whole text.
    bool Contains(const std::string& url) const;
    // Adds a URL not yet listed and saves; a listed one changes nothing.
    // Saving raises the file layer's error when the file cannot be written.
    void Add(const std::string& url);
    // Removes the item and saves; an index out of range changes nothing.
    void Delete(int index);

private:
    void Save() const;

    std::string path_;
    std::vector<std::string> items_;
};

} // namespace vx::tools

// A temporary folder that is removed with everything in it when the object dies.
#pragma once

#include <filesystem>
#include <string>

namespace vx::test {

class TempDir {
public:
    explicit TempDir(const std::string& prefix = "vellumix-test");
    // One in the folder given rather than in the system's temporary folder.
    TempDir(const std::filesystem::path& parent, const std::string& prefix);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Path of a file or folder inside this one.
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Whole-file helpers for tests that check what the program wrote.
std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

} // namespace vx::test

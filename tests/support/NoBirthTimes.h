// A file system whose files have no birth time, as older ext4 file systems
// (128-byte inodes) have none: an image made with mkfs.ext4 and mounted
// through a loop device for as long as the object lives. Mounting needs
// root and a loop device: where the test cannot have them, Mounted() is
// false and Why() says what was missing, for the test to skip with.
#pragma once

#include "tests/support/TempDir.h"

#include <string>

namespace vx::test {

class NoBirthTimeFileSystem {
public:
    NoBirthTimeFileSystem();
    ~NoBirthTimeFileSystem();
    NoBirthTimeFileSystem(const NoBirthTimeFileSystem&) = delete;
    NoBirthTimeFileSystem& operator=(const NoBirthTimeFileSystem&) = delete;

    bool Mounted() const { return why_.empty(); }
    const std::string& Why() const { return why_; }
    // The folder it is mounted on.
    std::string Root() const { return folder_.file("mounted"); }

private:
    TempDir folder_{"vellumix-no-birth"};
    std::string why_;
};

} // namespace vx::test

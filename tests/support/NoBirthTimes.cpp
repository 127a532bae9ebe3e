#include "tests/support/NoBirthTimes.h"

#include <sys/mount.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace vx::test {

NoBirthTimeFileSystem::NoBirthTimeFileSystem()
{
    if (::geteuid() != 0) {
        why_ = "only root may mount a file system without birth times";
        return;
    }
    const std::string image = folder_.file("image");
    std::filesystem::create_directory(Root());
    const std::string make = "truncate -s 32M '" + image + "' && mkfs.ext4 -q -I 128 '" + image + "' >/dev/null 2>&1";
    if (std::system(make.c_str()) != 0) {
        why_ = "mkfs.ext4 could not make a file system image";
        return;
    }
    const std::string mount = "mount -o loop '" + image + "' '" + Root() + "' 2>/dev/null";
    if (std::system(mount.c_str()) != 0)
        why_ = "no loop device could mount a file system image here";
}

NoBirthTimeFileSystem::~NoBirthTimeFileSystem()
{
    if (Mounted())
        ::umount2(Root().c_str(), MNT_DETACH);
}

} // namespace vx::test

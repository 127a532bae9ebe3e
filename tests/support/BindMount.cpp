#include "tests/support/BindMount.h"

#include <filesystem>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vx::test {

namespace {

// Runs the program with the arguments, its output to nowhere; true where it
// ended with success.
bool Ran(const char* program, const std::string& first, const std::string& second = {})
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::freopen("/dev/null", "w", stdout);
        ::freopen("/dev/null", "w", stderr);
        if (second.empty())
            ::execlp(program, program, first.c_str(), static_cast<char*>(nullptr));
        else
            ::execlp(program, program, first.c_str(), second.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

TBindMount::TBindMount(const std::string& real, const std::string& seen) : seen_(seen)
{
    std::filesystem::create_directories(real);
    std::filesystem::create_directories(seen);
    // bindfs forks its server and returns once the mount stands.
    mounted_ = ::geteuid() == 0 && ::access("/dev/fuse", R_OK | W_OK) == 0 && Ran("bindfs", real, seen);
}

TBindMount::~TBindMount()
{
    if (mounted_ && !Ran("fusermount", "-u", seen_))
        ::umount2(seen_.c_str(), MNT_DETACH);
}

} // namespace vx::test

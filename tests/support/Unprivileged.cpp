#include "tests/support/Unprivileged.h"

#include <exception>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vx::test {

namespace {

constexpr uid_t Nobody = 65534;

// Switches this thread's power to write past file modes (CAP_DAC_OVERRIDE)
// on or off. True when it changed.
bool SetModeOverride(bool on)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct caps[_LINUX_CAPABILITY_U32S_3]{};
    if (::syscall(SYS_capget, &header, caps) != 0)
        return false;
    constexpr unsigned Override = 1u << CAP_DAC_OVERRIDE;
    if (on == ((caps[0].effective & Override) != 0) || (on && (caps[0].permitted & Override) == 0))
        return false;
    caps[0].effective = on ? caps[0].effective | Override : caps[0].effective & ~Override;
    return ::syscall(SYS_capset, &header, caps) == 0;
}

} // namespace

int RunInChild(const std::function<int()>& body)
{
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        int code = 0;
        try {
            code = body();
        } catch (const std::exception&) {
            code = 126;
        }
        ::_exit(code);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

int RunUnprivileged(const std::function<int()>& body)
{
    return RunInChild([&body] {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 || ::setuid(Nobody) != 0))
            return 125;
        return body();
    });
}

void GiveToUnprivileged(const std::string& path)
{
    if (::geteuid() != 0)
        return;
    (void)::chown(path.c_str(), Nobody, Nobody);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path))
        (void)::lchown(entry.path().c_str(), Nobody, Nobody);
}

ReadOnlyFolder::ReadOnlyFolder(const std::string& path) : path_(path)
{
    namespace fs = std::filesystem;
    constexpr fs::perms Writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    modes_.emplace_back(path_, fs::status(path_).permissions());
    for (const auto& entry : fs::recursive_directory_iterator(path_))
        if (!entry.is_symlink())
            modes_.emplace_back(entry.path(), entry.status().permissions());
    for (const auto& [entry, mode] : modes_)
        fs::permissions(entry, mode & ~Writable);
    overrideSetAside_ = SetModeOverride(false);
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (overrideSetAside_)
        SetModeOverride(true);
    std::error_code ignored;
    for (const auto& [entry, mode] : modes_)
        std::filesystem::permissions(entry, mode, ignored);
}

bool ReadOnlyFolder::Holds() const
{
    const std::string probe = (path_ / ".vx-write-probe").string();
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0)
        return true;
    ::close(fd);
    ::unlink(probe.c_str());
    return false;
}

} // namespace vx::test

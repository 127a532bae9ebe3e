#include "tests/support/Unprivileged.h"

#include <exception>
#include <filesystem>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vx::test {

namespace {

constexpr uid_t Nobody = 65534;

} // namespace

int RunUnprivileged(const std::function<int()>& body)
{
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        int code = 0;
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 || ::setuid(Nobody) != 0))
            ::_exit(125);
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

void GiveToUnprivileged(const std::string& path)
{
    if (::geteuid() != 0)
        return;
    (void)::chown(path.c_str(), Nobody, Nobody);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path))
        (void)::lchown(entry.path().c_str(), Nobody, Nobody);
}

} // namespace vx::test

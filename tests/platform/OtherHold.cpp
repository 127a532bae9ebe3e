#include "tests/platform/OtherHold.h"

#include "platform/FileHold.h"
#include "tests/platform/CallFilters.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vx::test {

namespace {

bool Hold(const std::string& path, TOtherHold::TWho who, TOtherHold::TUse use, bool fileLockRefused)
{
    if (fileLockRefused && !RefuseFileLocks(ENOLCK))
        return false;
    const bool saving = use == TOtherHold::TUse::Saving;
    if (who == TOtherHold::TWho::LockingProgram) {
        // Left open: the process keeps it until it ends.
        const int fd = ::open(path.c_str(), O_RDWR);
        return fd >= 0 && ::flock(fd, saving ? LOCK_EX : LOCK_SH) == 0;
    }
    try {
        // Kept until the process ends.
        new TFileHold(path, saving ? TFileHold::TUse::Writing : TFileHold::TUse::Reading);
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace

TOtherHold::TOtherHold(const std::string& path, TWho who, TUse use, bool fileLockRefused)
{
    int ready[2];
    int go[2];
    if (::pipe(ready) != 0)
        return;
    if (::pipe(go) != 0) {
        ::close(ready[0]);
        ::close(ready[1]);
        return;
    }
    child_ = ::fork();
    if (child_ == 0) {
        ::close(ready[0]);
        ::close(go[1]);
        const char held = Hold(path, who, use, fileLockRefused) ? '1' : '0';
        if (::write(ready[1], &held, 1) != 1)
            ::_exit(1);
        // Holds until the test lets go, or ends.
        char ignored;
        while (::read(go[0], &ignored, 1) < 0 && errno == EINTR) {
        }
        ::_exit(0);
    }
    ::close(ready[1]);
    ::close(go[0]);
    go_ = go[1];
    char held = '0';
    holds_ = child_ > 0 && ::read(ready[0], &held, 1) == 1 && held == '1';
    ::close(ready[0]);
}

TOtherHold::~TOtherHold()
{
    LetGo();
}

void TOtherHold::LetGo()
{
    if (go_ >= 0)
        ::close(go_);
    go_ = -1;
    if (child_ > 0)
        ::waitpid(child_, nullptr, 0);
    child_ = -1;
    holds_ = false;
}

} // namespace vx::test

#include "tests/platform/KilledWrite.h"

#include "platform/FileIO.h"
#include "tests/platform/CallFilters.h"
#include "tests/support/Patience.h"
#include "tests/support/Unprivileged.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

namespace vx::test {

namespace {

constexpr int HeldStatus = 10;
constexpr int FreeStatus = 11;

const std::string* triedPath = nullptr;

// At the trapped rename the process stands between two system calls, not
// inside the allocator: the save may be tried here as the program tries it.
void TrySavingAtRename(int)
{
    try {
        const TFileHold other(*triedPath, TFileHold::TUse::Writing);
        ::_exit(FreeStatus);
    } catch (const EHeldByAnother&) {
        ::_exit(HeldStatus);
    } catch (...) {
        ::_exit(1);
    }
}

} // namespace

bool KilledWrite(const std::string& path, std::span<const std::string_view> pieces, TKillPoint point)
{
    const pid_t writer = ::fork();
    if (writer == 0) {
        // A write opens the file first, to hold it: it gets the lowest free descriptor.
        const int file = ::open("/dev/null", O_RDONLY);
        ::close(file);
        if (point == TKillPoint::LastPieceIntoTheFile && !KillAtWrite(file, pieces.back().size()))
            ::_exit(2);
        try {
            WriteFileAtomic(path, pieces);
        } catch (...) {
            ::_exit(1);
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(writer, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGSYS;
}

TAtRename SaveTriedAtRename(const std::string& path, std::string_view text)
{
    const int status = RunInChild([&] {
        triedPath = &path;
        // A save that waited at the rename would hang the test: it fails it.
        ::alarm(kPatienceMs / 1000);
        struct sigaction trap {};
        trap.sa_handler = TrySavingAtRename;
        if (::sigaction(SIGSYS, &trap, nullptr) != 0 || !TrapRenames())
            return 2;
        WriteFileAtomic(path, text);
        return 0;
    });
    return status == HeldStatus ? TAtRename::Held : status == FreeStatus ? TAtRename::Free : TAtRename::NotStopped;
}

} // namespace vx::test

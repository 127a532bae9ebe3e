#include "tests/platform/KilledWrite.h"

#include "platform/FileIO.h"

#include <fcntl.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstddef>
#include <cstdint>

namespace vx::test {

namespace {

#if defined(__x86_64__)
constexpr std::uint32_t NativeArch = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
constexpr std::uint32_t NativeArch = AUDIT_ARCH_AARCH64;
#else
constexpr std::uint32_t NativeArch = 0;
#endif

// The low half of a call's argument, as the filter reads it.
constexpr std::uint32_t ArgumentAt(int n)
{
    return static_cast<std::uint32_t>(offsetof(seccomp_data, args) + n * sizeof(std::uint64_t));
}

// Kills the process at a write of count bytes to fd.
bool KillAtWrite(int fd, std::size_t count)
{
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, NativeArch, 0, 7),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_write, 0, 5),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, ArgumentAt(0)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<std::uint32_t>(fd), 0, 3),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, ArgumentAt(2)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<std::uint32_t>(count), 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_KILL_PROCESS),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
    return NativeArch != 0 && ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
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

} // namespace vx::test

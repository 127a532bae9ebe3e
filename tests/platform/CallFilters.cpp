#include "tests/platform/CallFilters.h"

#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

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

bool Install(std::vector<sock_filter> filter)
{
    sock_fprog program{static_cast<unsigned short>(filter.size()), filter.data()};
    return NativeArch != 0 && ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

// Answers action for the calls numbered, lets every other call through.
bool AnswerCalls(std::initializer_list<long> calls, std::uint32_t action)
{
    const auto count = static_cast<unsigned char>(calls.size());
    std::vector<sock_filter> filter = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, NativeArch, 0, static_cast<unsigned char>(count + 1)),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
    };
    unsigned char left = count;
    for (const long call : calls) {
        --left;
        filter.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<std::uint32_t>(call),
                                  static_cast<unsigned char>(left + 1), 0));
    }
    filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    filter.push_back(BPF_STMT(BPF_RET | BPF_K, action));
    return Install(std::move(filter));
}

} // namespace

bool KillAtWrite(int fd, std::size_t count)
{
    return Install({
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
    });
}

bool RefuseFileLocks(int error)
{
    return AnswerCalls({__NR_flock}, SECCOMP_RET_ERRNO | (static_cast<std::uint32_t>(error) & SECCOMP_RET_DATA));
}

bool TrapRenames()
{
#if defined(__NR_rename)
    return AnswerCalls({__NR_rename, __NR_renameat, __NR_renameat2}, SECCOMP_RET_TRAP);
#else
    return AnswerCalls({__NR_renameat, __NR_renameat2}, SECCOMP_RET_TRAP);
#endif
}

} // namespace vx::test

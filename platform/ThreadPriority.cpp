// The calling thread's priority as its nice value.
#include "platform/ThreadPriority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

void SetCurrentThreadPriority(TThreadPriority priority)
{
    constexpr int kNice[] = {19, 10, 5, 0, -5, -10, -20};
    if (priority != tpNormal)
        setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), kNice[priority]);
}

// The instructions this thread retires in user space, counted by the
// processor through the kernel's performance counters: a figure the load
// of the machine does not move, beside the times it does.
#pragma once

#include <cstdint>

#include <linux/perf_event.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace vx::bench {

class TInstructionCount {
public:
    TInstructionCount()
    {
        perf_event_attr attr{};
        attr.type = PERF_TYPE_HARDWARE;
        attr.size = sizeof(attr);
        attr.config = PERF_COUNT_HW_INSTRUCTIONS;
        attr.disabled = 1;
        attr.exclude_kernel = 1;
        attr.exclude_hv = 1;
        fd_ = static_cast<int>(syscall(SYS_perf_event_open, &attr, 0, -1, -1, 0));
    }
    ~TInstructionCount()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    TInstructionCount(const TInstructionCount&) = delete;
    TInstructionCount& operator=(const TInstructionCount&) = delete;

    // False where the kernel or the machine gives no counter (a virtual
    // machine without one, perf_event_paranoid above 2): the figure is then 0.
    bool Available() const { return fd_ >= 0; }
    // Counts from here on, adding to what was counted before.
    void Start() const
    {
        if (fd_ >= 0)
            ioctl(fd_, PERF_EVENT_IOC_ENABLE, 0);
    }
    void Stop() const
    {
        if (fd_ >= 0)
            ioctl(fd_, PERF_EVENT_IOC_DISABLE, 0);
    }
    std::uint64_t Count() const
    {
        std::uint64_t count = 0;
        if (fd_ >= 0 && read(fd_, &count, sizeof(count)) != static_cast<ssize_t>(sizeof(count)))
            count = 0;
        return count;
    }

private:
    int fd_ = -1;
};

} // namespace vx::bench

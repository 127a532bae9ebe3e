// Caps the size of files this process may write while the object lives, so a
// test can make an atomic write fail part-way (works for root too, unlike a
// read-only folder).
#pragma once

#include <csignal>
#include <sys/resource.h>

namespace vx::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = saved_;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    struct rlimit saved_ {};
    void (*oldHandler_)(int) = nullptr;
};

} // namespace vx::test

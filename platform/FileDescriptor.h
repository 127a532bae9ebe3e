// An open file descriptor with one owner, closed with it: a descriptor that
// holds a lock must not outlive the code that took it, whatever is thrown.
#pragma once

#include <unistd.h>

#include <utility>

namespace vx {

class TFileDescriptor {
public:
    TFileDescriptor() = default;
    explicit TFileDescriptor(int fd) : fd_(fd) {}
    ~TFileDescriptor() { Close(); }
    TFileDescriptor(TFileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    TFileDescriptor& operator=(TFileDescriptor&& other) noexcept
    {
        if (this != &other) {
            Close();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;

    int Get() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    // Closes it now; false, with errno set, where the system reports a
    // failure (a write that could not be flushed).
    bool Close()
    {
        return fd_ < 0 || ::close(std::exchange(fd_, -1)) == 0;
    }

private:
    int fd_ = -1;
};

} // namespace vx

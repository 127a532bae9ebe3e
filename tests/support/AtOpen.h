// Another program that acts the moment this process opens a file: a process
// of its own watches the file (fanotify permission events, which need root)
// and runs its action while this process's open waits, before it returns.
// The action runs in a forked copy of this process: plain system calls on
// what it was given open, no allocation, nothing that opens the file.
#pragma once

#include <functional>
#include <string>
#include <sys/types.h>

namespace vx::test {

class TAtOpen {
public:
    TAtOpen(const std::string& path, std::function<void()> action);
    ~TAtOpen();
    TAtOpen(const TAtOpen&) = delete;
    TAtOpen& operator=(const TAtOpen&) = delete;

    // Whether the file is watched: false where the system does not let a
    // test watch opens (not root).
    bool Watching() const { return watching_; }
    // Waits for the action to have run; false when this process never
    // opened the file (it gives up after the tests' patience).
    bool Acted();

private:
    pid_t child_ = -1;
    bool watching_ = false;
};

} // namespace vx::test

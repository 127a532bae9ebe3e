// File modes that hold for a test as they hold for an ordinary user:
// permission checks do not apply to root, and CI runs as root.
//
// RunUnprivileged runs a piece of a test as an ordinary user. The body runs
// in a forked child that drops to the "nobody" user when the test runs as
// root; its result is the child's exit status (0 for success), or -1 when the
// child did not exit normally.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vx::test {

int RunUnprivileged(const std::function<int()>& body);
// The same as the user the test runs as: for a body that changes what only
// its process may (its environment, a filter of its system calls).
int RunInChild(const std::function<int()>& body);

// Hands a folder and what it holds to the user the body runs as (nothing to
// do when the test does not run as root).
void GiveToUnprivileged(const std::string& path);

// Makes a folder and everything in it read-only, as an installed program's
// folder is, while the object lives: the write bits go, and, when the test
// runs as root, so does this thread's power to write past them (the program
// writes its files on the thread that asks, the test's). Holds() says whether
// the folder is read-only now: a test checks it before it counts on that.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const std::string& path);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool Holds() const;

private:
    std::filesystem::path path_;
    std::vector<std::pair<std::filesystem::path, std::filesystem::perms>> modes_;
    bool overrideSetAside_ = false;
};

} // namespace vx::test

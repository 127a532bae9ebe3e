// Another program holding a file, in a process of its own until it lets go:
// one that takes the file's own lock (flock), as any program taking locks
// does; or a running instance of this program, whose hold the file's own
// lock may not reach: where the file system refuses it (NFS without a lock
// daemon), or, on a FUSE file system, through another name.
#pragma once

#include <string>
#include <sys/types.h>

namespace vx::test {

class TOtherHold {
public:
    enum class TWho { LockingProgram, Instance };
    enum class TUse { Reading, Saving };

    // fileLockRefused: every flock of the other program fails with ENOLCK.
    TOtherHold(const std::string& path, TWho who, TUse use, bool fileLockRefused = false);
    ~TOtherHold();
    TOtherHold(const TOtherHold&) = delete;
    TOtherHold& operator=(const TOtherHold&) = delete;

    // Whether it holds the file now.
    bool Holds() const { return holds_; }
    void LetGo();

private:
    pid_t child_ = -1;
    int go_ = -1;
    bool holds_ = false;
};

} // namespace vx::test

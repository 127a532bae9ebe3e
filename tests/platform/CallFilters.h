// Filters of the calling process's system calls (seccomp), for tests that
// run a piece of the program in a process of its own and stop it, or change
// what the system answers it, at a chosen call, whatever the machine is
// doing. Each answers whether the filter is in place: false where the
// system cannot filter a process's calls. A filter lasts as long as the
// process: install one in a child only.
#pragma once

#include <cstddef>

namespace vx::test {

// Kills the process at a write of count bytes to fd.
bool KillAtWrite(int fd, std::size_t count);
// Fails every flock with error, as a file system without locks does.
bool RefuseFileLocks(int error);
// Raises SIGSYS in place of every rename, which does not happen.
bool TrapRenames();

} // namespace vx::test

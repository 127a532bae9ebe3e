// A write of a file stopped at a chosen point, in a process of its own: the
// system stops the process the moment it makes the system call the point
// names, whatever the machine is doing.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace vx::test {

enum class TKillPoint {
    // On writing the last piece into the file itself: an in-place save has
    // named its whole copy, cut the file and written the pieces before it.
    LastPieceIntoTheFile,
};

// Writes the pieces to path with WriteFileAtomic in a child process killed
// at the point, as a crash or a kill -9 ends it; answers whether the kill
// came there (false: the child ended otherwise, or the system cannot filter
// a process's calls).
bool KilledWrite(const std::string& path, std::span<const std::string_view> pieces, TKillPoint point);

// How another program's save found the file at the moment a write was about
// to rename its temporary over it.
enum class TAtRename { Held, Free, NotStopped };

// Writes text to path with WriteFileAtomic in a child process stopped at
// its first rename, where another save of the file is tried.
TAtRename SaveTriedAtRename(const std::string& path, std::string_view text);

} // namespace vx::test

// Whole-file reading and atomic writing. Every file that holds user data is
// written to a temporary file beside the real file and renamed over it, so a
// crash or a full disk never leaves a half-written file behind.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vx {

// Reads the whole file byte for byte. Raises EFOpenError "Cannot open file
// <path>: <reason>" when it cannot be opened and EReadError when reading fails.
std::string ReadWholeFile(const std::string& path);

// Who may read a file the program creates: everyone the umask allows, or the
// owner alone (settings, which may hold passwords).
enum class TFileAccess { Shared, OwnerOnly };

// Writes data to path atomically: a temporary file beside the real file (the
// target of a symbolic link; the link stays a link), flushed, then renamed.
// The file keeps its mode, and its owner where the system allows; a file with
// further hard links, or whose owner cannot be kept, is overwritten in place,
// so that it keeps its identity: the flushed temporary is first renamed to a
// whole copy ("<file>.vxcopy-XXXXXX", see WholeCopiesOf), which is removed
// once the file is written and stays when that fails or the program dies
// meanwhile. An existing file
// the user may not write, or a folder where no file can be created, raises
// EFCreateError "Cannot create file <path>: <reason>" and nothing changes;
// other failures raise EWriteError with the reason. OwnerOnly makes the file
// readable by its owner alone whatever it was.
void WriteFileAtomic(const std::string& path, std::string_view data, TFileAccess access = TFileAccess::Shared);

// The file a path names once symbolic links are followed (the path itself
// when it is no link); a dangling link gives the missing file it points to.
std::string LinkTarget(const std::string& path);

// Whether name is a temporary file of an atomic write ("<file>.vxtmp-XXXXXX").
bool IsWriteTemporary(std::string_view name);

// Removes the temporary files that writes of path left behind when they were
// killed before renaming them (the file itself was whole meanwhile); failures
// to remove one are ignored. Whole copies stay.
void RemoveStaleTemporaries(const std::string& path);

// The whole copies an in-place write through path left behind because it did
// not end (the file may hold part of the old and part of the new text),
// newest first: the user decides what becomes of them. A copy stands beside
// the name the write went through, not beside the file's other hard links.
std::vector<std::string> WholeCopiesOf(const std::string& path);

bool FileExists(const std::string& path);

} // namespace vx

// Whole-file reading and atomic writing. Every file that holds user data is
// written to a temporary file beside the real file and renamed over it, so a
// crash or a full disk never leaves a half-written file behind.
#pragma once

#include "platform/FileHold.h"
#include "platform/Wording.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

// "Cannot open file %1: %2": the file, and the system's reason.
extern const TWording CannotOpenFile;

// Reads the whole file byte for byte. Raises EFOpenError "Cannot open file
// <path>: <reason>" when it cannot be opened and EReadError when reading fails.
std::string ReadWholeFile(const std::string& path);

// Who may read a file the program creates: everyone the umask allows, or the
// owner alone (settings, which may hold passwords).
enum class TFileAccess { Shared, OwnerOnly };

// Writes data to path atomically: a temporary file beside the real file (the
// target of a symbolic link; the link stays a link), locked while it is
// written, flushed, then renamed, and the folder flushed. The file keeps its
// mode, and its owner where the system allows. A file with further hard
// links, or whose owner cannot be kept, is written in place, so that it keeps
// its identity: the length and digest of the text it holds and of the new
// text are filed in the index under its identity (CopyIndex.h), the flushed
// temporary is named as a whole copy ("<file>.vxcopy-XXXXXX", readable by its
// owner whatever the file's mode; see WholeCopies.h), and the file is cut to
// nothing, written and flushed, so that a write cut off leaves the text the
// file held or the start of the copy's; the copy and its entry go once the
// file holds the text, and stay when that fails or the program dies
// meanwhile. Where the copy cannot be filed (a full or read-only data
// folder), only the name beside it would find it: the file is left as it
// was, and the write raises EWriteError saying so.
// The file is held for writing throughout (FileHold.h): held by another
// program, it raises EWriteError at once and nothing changes. An existing
// file the user may not write, or a folder where no file can be created,
// raises EFCreateError "Cannot create file <path>: <reason>" and nothing
// changes; other failures raise EWriteError with the reason.
// OwnerOnly makes the file readable by its owner alone whatever it was.
void WriteFileAtomic(const std::string& path, std::string_view data, TFileAccess access = TFileAccess::Shared);
// The same for a text given in pieces, written one after the other: a
// record's fields around a long text need not be copied together first.
void WriteFileAtomic(const std::string& path, std::span<const std::string_view> pieces,
                     TFileAccess access = TFileAccess::Shared);
// The same for a file the caller holds already, having looked at it first
// (whether another program changed it since it was read).
void WriteFileAtomic(const TFileHold& held, std::span<const std::string_view> pieces,
                     TFileAccess access = TFileAccess::Shared);

// The file a path names once symbolic links are followed (the path itself
// when it is no link); a dangling link gives the missing file it points to.
std::string LinkTarget(const std::string& path);

// What names a temporary file of an atomic write ("<file>.vxtmp-XXXXXX").
constexpr std::string_view WriteTemporaryMarker = ".vxtmp-";
// What names the whole copy an in-place write keeps ("<file>.vxcopy-XXXXXX").
constexpr std::string_view WholeCopyMarker = ".vxcopy-";
// How many letters or digits end the name of a helper file of a write, after
// its marker, telling the helpers of one file apart.
constexpr std::size_t HelperTagLength = 6;
// Where the marker stands in name when name ends in it and a tag, as a
// helper file's does; npos otherwise. Told by its place, and inline: every
// name of a folder of thousands is looked at on every open and save.
constexpr std::size_t HelperMarkerAt(std::string_view name, std::string_view marker)
{
    if (name.size() < marker.size() + HelperTagLength)
        return std::string_view::npos;
    const std::size_t at = name.size() - HelperTagLength - marker.size();
    return name.substr(at, marker.size()) == marker ? at : std::string_view::npos;
}
// Whether name is a temporary file of an atomic write.
bool IsWriteTemporary(std::string_view name);

// What the names of the files a write keeps beside file begin with: the
// file's path, its name cut short (at the start of a character) where a
// marker and a tag after it would not fit the longest name a folder takes.
std::string HelperStem(const std::string& file);

// The folder of a path ("." for a bare name), and its last part.
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);

// Renames from to to unless to exists (a copy an earlier crash left, one set
// aside before): false, with errno set, when it does not. Where the file
// system cannot tell, a plain rename: the names given must be all but unique
// (a part from mkstemp or mkdtemp).
bool RenameNoReplace(const std::string& from, const std::string& to);

// The entries of folder whose names start with prefix, as paths; none when
// the folder cannot be read.
std::vector<std::string> EntriesStartingWith(const std::string& folder, std::string_view prefix);
// The entries of folder that takes, given each one's name and inode number,
// takes, as paths: only those are made paths.
std::vector<std::string> EntriesWhere(const std::string& folder,
                                      const std::function<bool(std::string_view, std::uint64_t)>& takes);

// Makes what was created, renamed or removed in folder last through a crash.
void SyncFolder(const std::string& folder);

// A regular file (no link) of the user the program runs as: one that may be
// offered as the user's text.
bool IsOwnFile(const std::string& path);

bool FileExists(const std::string& path);

// The failure wording tells, the system's reason for error after the names.
TMessage SystemFailure(const TWording& wording, std::vector<TMessage> names, int error = errno);

} // namespace vx

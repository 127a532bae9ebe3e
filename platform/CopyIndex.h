// The index of whole copies by the identity of the file they copy. An
// in-place write names its copy after the path it went through; a file with
// further hard links may be opened by any of its names, in any folder, so
// the copy is also filed under the file's device and inode, where every name
// finds it. The index is a folder of symbolic links in the user's data
// folder, one a copy: "<device>-<inode>-<birth>-<tag>" -> the copy's
// absolute path, <birth> being the file's birth time as
// "<seconds>.<nanoseconds>"; "<device>-<inode>-<tag>" where the file system
// keeps no birth time (and in entries of earlier versions).
//
// A deleted file's inode is handed to a file made later, anywhere on its
// device: a copy is offered only to a file that the birth time, or where
// there is none the name the copy was made beside, shows to be the one it
// was made of.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vx {

struct TBirthTime {
    std::int64_t Seconds = 0;
    std::uint32_t Nanoseconds = 0;
    auto operator<=>(const TBirthTime&) const = default;
};

struct TFileIdentity {
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    // None where the file system does not tell.
    std::optional<TBirthTime> Birth;
};

// The identity of the file path names, symbolic links followed; none when
// it does not exist.
bool IdentityOf(const std::string& path, TFileIdentity& identity);

// Whether both are one file: one inode, born at one time where both tell.
bool SameFile(const TFileIdentity& first, const TFileIdentity& second);
// Whether both names lead to one file.
bool SameFile(const std::string& first, const std::string& second);

// Files copy under the identity; tag tells copies of one file apart. The
// entry's path, empty when it could not be filed (the copy is then found
// beside the name it was made for only). The entry lasts through a crash.
std::string FileCopyUnder(const TFileIdentity& identity, const std::string& tag, const std::string& copy);

// The copies filed under the identity that still exist and were made of
// that very file. Entries whose copy has gone (taken, set aside, removed by
// hand) are removed on the way, and so are those whose file has gone, its
// inode now another file's; their copies stay where they are.
std::vector<std::string> CopiesFiledUnder(const TFileIdentity& identity);

// Whether a copy found beside the name of the file may be offered for it:
// not when it is filed under another file (the file at the name was
// replaced since), nor when the file was born after the copy was made. A
// copy filed nowhere (by an earlier version, or where the index could not be
// written) is otherwise known by its name alone. tag is the one it was filed
// with.
bool IsCopyOfFile(const std::string& copy, const std::string& tag, const TFileIdentity& file);

// Removes the entry that files the copy, where one does.
void UnfileCopy(const std::string& copy, const std::string& tag);

} // namespace vx

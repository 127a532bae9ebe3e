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
// device: an entry offers its copy to a file that the birth time, or where
// there is none the name the copy was made beside, shows to be the one it
// was made of; where neither tells (no birth time, and that name renamed or
// deleted since), the user is asked whose it is, and never to a file the
// birth time shows to be another. An entry lasts until its copy is gone or
// answered, whatever the files on its inode.
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

// The identity of the file an open descriptor writes to. Opening a file for
// writing may give it another (overlayfs copies it to its upper layer).
bool IdentityOfOpenFile(int fd, TFileIdentity& identity);

// Whether both are one file: one inode, born at one time where both tell.
bool SameFile(const TFileIdentity& first, const TFileIdentity& second);
// Whether both names lead to one file.
bool SameFile(const std::string& first, const std::string& second);

// Files copy under the identity; tag tells copies of one file apart. The
// entry's path, empty when it could not be filed (the copy is then found
// beside the name it was made for only). The entry lasts through a crash.
std::string FileCopyUnder(const TFileIdentity& identity, const std::string& tag, const std::string& copy);

// A whole copy found for a file.
struct TWholeCopy {
    std::string Path;
    // Known to be the file's: made beside the name the file is opened by, or
    // filed under this very file. Otherwise filed under the file's inode by a
    // file nothing tells from this one: whose it is, only the user can say,
    // and no save sets it aside unanswered.
    bool Settled = true;
    bool operator==(const TWholeCopy&) const = default;
};

// The copies filed under the identity that still exist and were made of
// that file, or of one nothing tells from it. Entries whose copy has gone
// (taken, set aside, removed by hand) are removed on the way; every other
// entry stays, its copy offered to its own file.
std::vector<TWholeCopy> CopiesFiledUnder(const TFileIdentity& identity);

// The entry that files the copy; empty where none does. tag is the one it
// was filed with.
std::string EntryOfCopy(const std::string& copy, const std::string& tag);

} // namespace vx

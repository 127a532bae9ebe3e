// The index of whole copies by the identity of the file they copy. An
// in-place write names its copy after the path it went through; a file with
// further hard links may be opened by any of its names, in any folder, so
// the copy is also filed under the file's identity, where every name finds
// it, together with the length and digest of the copy's text and of the text
// the file held when the write began. The index is a folder in the user's
// data folder, one file an entry, named "<device>-<inode>-<birth>-<tag>",
// <birth> being the file's birth time as "<seconds>.<nanoseconds>"; where the
// file system keeps no birth time, "<device>-<inode>-g<generation>-<tag>"
// with the inode's generation number, or "<device>-<inode>-<tag>" where it
// keeps neither.
//
// A copy is its file's, the one with the identity it was filed under. Where
// the entry tells only the inode (a reused inode cannot be told from the
// file), what the file with that inode holds decides (WholeCopies.h).
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
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
    // The number the file system gives an inode each time it is used again;
    // none where it keeps none.
    std::optional<std::uint64_t> Generation;
};

// The identity of the file path names, symbolic links followed; none when
// it does not exist.
bool IdentityOf(const std::string& path, TFileIdentity& identity);

// The identity of the file an open descriptor writes to. Opening a file for
// writing may give it another (overlayfs copies it to its upper layer).
bool IdentityOfOpenFile(int fd, TFileIdentity& identity);

// Whether both are one inode, and what both tell of its birth and
// generation agrees.
bool SameFile(const TFileIdentity& first, const TFileIdentity& second);
// Whether both names lead to one file.
bool SameFile(const std::string& first, const std::string& second);
// Whether both tell a birth time or a generation number: only then can an
// inode used again be told from the file that had it before.
bool TellsItsInodeApart(const TFileIdentity& first, const TFileIdentity& second);

// A text as the index keeps it: its length and SHA-256 digest (hexadecimal).
struct TTextDigest {
    std::uint64_t Length = 0;
    std::string Digest;
    bool operator==(const TTextDigest&) const = default;
};

TTextDigest DigestOf(std::string_view text);
// The digest of the text the pieces make one after the other.
TTextDigest DigestOf(std::span<const std::string_view> pieces);

// The text an open file holds, read from its start; none when it cannot be
// read (a file the user may write but not read).
std::optional<TTextDigest> TextHeldBy(int fd);

// The folder the index keeps its entries in.
std::string CopyIndexFolder();

// Files copy under the identity, before the file is written: the text the
// copy holds, and the text the write replaces where that could be read; tag
// tells copies of one file apart. The entry's path; the entry lasts through
// a crash. Raises the file errors of writing it where it cannot be filed.
std::string FileCopyUnder(const TFileIdentity& identity, const std::string& tag, const std::string& copy,
                          const TTextDigest& text, const std::optional<TTextDigest>& replaced);

// One entry of the index.
struct TFiledCopy {
    std::string Entry;
    // Where the copy was when it was filed; it may have moved with its
    // folder since.
    std::string Copy;
    TFileIdentity FiledUnder;
    std::string Tag;
    // The copy's text.
    TTextDigest Text;
    // The text the write replaced; none where it could not be read.
    std::optional<TTextDigest> Replaced;
};

// Every entry of the index. Entries whose copy has gone (taken, set aside,
// removed by hand, or never named) are removed on the way, but not while the
// temporary of their write is there; one whose folder has gone too stays (it
// may have been renamed, or be on a file system not mounted now). So are
// the temporaries of entries whose writes were killed.
std::vector<TFiledCopy> FiledCopies();

// The entry that files the copy, found among entries; none where none does.
// tag is the one it was filed with.
std::optional<TFiledCopy> EntryOfCopy(const std::vector<TFiledCopy>& entries, const std::string& copy,
                                      const std::string& tag);

} // namespace vx

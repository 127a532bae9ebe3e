// The index of whole copies by the identity of the file they copy. An
// in-place write names its copy after the path it went through; a file with
// further hard links may be opened by any of its names, in any folder, so
// the copy is also filed under the file's device and inode, where every name
// finds it, together with what tells whether a file holds what the cut write
// left (the text the file held when the write began). The index is a folder
// in the user's data folder, one file an entry, named
// "<device>-<inode>-<birth>-<tag>", <birth> being the file's birth time as
// "<seconds>.<nanoseconds>"; "<device>-<inode>-<tag>" where the file system
// keeps no birth time. Entries of earlier versions are symbolic links to the
// copy, with nothing more to tell.
//
// A copy is its file's, the one with the identity it was filed under, birth
// time and all. Where that file is not found (a folder restored from a
// backup has new inodes; an entry without a birth time cannot tell a
// deleted file's inode from a file made later on it), what the file holds
// decides (WholeCopies.h).
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
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

// The text a file held when an in-place write began: what the file still
// holds when the write was cut off before it changed anything, and after the
// part it wrote where it went over the text. Kept as the SHA-256 digests (in
// hexadecimal) of its pieces of PieceLength bytes, the last one shorter, so
// that what is left of it after such a part can be told too.
struct TReplacedText {
    std::uint64_t Length = 0;
    // Entries of the last version kept one digest, of the whole text.
    std::uint64_t PieceLength = 0;
    std::vector<std::string> Pieces;
    bool operator==(const TReplacedText&) const = default;
};

// The pieces a text is kept in, a megabyte each.
constexpr std::uint64_t ReplacedPieceLength = 1 << 20;

// The text as TReplacedText keeps it.
TReplacedText ReplacedTextOf(std::string_view text, std::uint64_t pieceLength = ReplacedPieceLength);

// The text an open file holds, as TReplacedText keeps it; none when it cannot
// be read (a file the user may write but not read).
std::optional<TReplacedText> TextHeldBy(int fd);

// Whether an in-place write goes over the text rather than cutting it to
// nothing first: a text of two pieces or more, where what is left of it after
// a cut write can be told by its pieces, and freeing the file's space and
// taking it again would cost more than writing over it.
bool IsWrittenOver(const TReplacedText& replaced);

// Files copy under the identity, before it is written: the length its text
// will have, and the text its write replaces where that could be read; tag
// tells copies of one file apart. The entry's path, empty when it could not
// be filed (the copy is then found beside the names of its file only). The
// entry lasts through a crash.
std::string FileCopyUnder(const TFileIdentity& identity, const std::string& tag, const std::string& copy,
                          std::uint64_t length, const std::optional<TReplacedText>& replaced);

// One entry of the index.
struct TFiledCopy {
    std::string Entry;
    // Where the copy was when it was filed; it may have moved with its
    // folder since.
    std::string Copy;
    TFileIdentity FiledUnder;
    std::string Tag;
    // The length of the copy's text; none in entries of earlier versions.
    std::optional<std::uint64_t> Length;
    std::optional<TReplacedText> Replaced;
};

// Every entry of the index. A write that died once its temporary held the
// whole text, before naming it, has its copy named on the way. Entries whose
// copy has gone (taken, set aside, removed by hand, or never whole) are
// removed on the way, but not while the temporary of their write is there;
// one whose folder has gone too stays (it may have been renamed, or be on a
// file system not mounted now).
std::vector<TFiledCopy> FiledCopies();

// The entry that files the copy, found among entries; none where none does.
// tag is the one it was filed with.
std::optional<TFiledCopy> EntryOfCopy(const std::vector<TFiledCopy>& entries, const std::string& copy,
                                      const std::string& tag);

} // namespace vx

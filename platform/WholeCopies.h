// The whole copies that in-place writes left behind because they did not
// end: "<file>.vxcopy-XXXXXX" beside the name the write went through, filed
// in the index (CopyIndex.h) under the identity of the file it was made for.
// A copy is that file's alone: where the file is found, the copy is offered
// in place of its text only where it holds what the cut write left (the
// start of the copy's text, or the text it held when the write began). Where
// the entry tells only the file's inode, the file with that inode is its
// where it holds such a text; where the file is not found (a folder restored
// from a backup stands on new inodes), what a file holds decides. A file cut
// to nothing holds the start of any text: it takes a copy whose file is not
// known for certain only at the copy's own name.
#pragma once

#include "platform/CopyIndex.h"
#include "platform/Wording.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

// How a whole copy stands to the text a file holds now.
enum class TCopyStanding {
    // The file holds the copy's whole text: the write ended after all.
    Whole,
    // The file holds the start of the copy's text: the write was cut off.
    CutShort,
    // The file holds the text the write was replacing: cut off before it
    // changed anything.
    Replaced,
    // The copy is not this file's text to take: the file holds other text
    // (the copy is of another file, or of a text the file held before it was
    // written again), or the copy is another file's.
    Other,
    // The copy cannot be read, or does not hold the text its write filed:
    // what it holds cannot be told.
    Unreadable,
};

// Whether the file's text is what a cut write of the copy left: replaced is
// the text that write replaced, as the index filed it (none where it did not).
TCopyStanding StandingOf(std::string_view fileText, std::string_view copyText,
                         const std::optional<TTextDigest>& replaced);

struct TWholeCopy {
    std::string Path;
    TCopyStanding Standing = TCopyStanding::Other;
    // The copy's text, read where it is offered (CutShort, Replaced).
    std::string Text;
    // Why it could not be read (Unreadable).
    TMessage Unread;
    // The text its entry says it holds; none where it has no entry.
    std::optional<TTextDigest> Filed;
};

// The whole copies a file opened by path, holding fileText, is to hear of,
// newest first: the copies it is to be offered (its own, by whichever of its
// names, beside it, filed under it, moved with a renamed folder; and those
// whose own file is not found that what it holds ties to it), and the copies
// it is only to be told of: its own of other text, and another's or older
// ones beside a name of it.
// index: the index's entries (FiledCopies), read once for the whole open.
std::vector<TWholeCopy> WholeCopiesOf(const std::string& path, std::string_view fileText,
                                      std::vector<TFiledCopy> index);

// The copies a save of the file sets aside once it has written, listed
// before it writes: those it would be offered in place of what it holds.
// Neither the file nor a copy is read whole.
std::vector<std::string> CopiesASaveSupersedes(const std::string& path);

// The whole copy of file that an in-place write keeps while it rewrites the
// file: "<file>.vxcopy-<tag>", tag being six letters or digits (the file's
// name cut short where the whole would not fit a name, HelperStem).
std::string WholeCopyName(const std::string& file, const std::string& tag);
// What tells the copies of one file apart: the end of a whole copy's name.
std::string CopyTag(const std::string& copy);
// The temporary that the write of a copy names as the copy once the text is
// whole in it; empty for a name that is no copy's.
std::string TemporaryOfCopy(const std::string& copy);

// The name a whole copy was made beside: the one the write went through.
// Where that name was cut short in the copy's, the name in its folder that
// it was cut from.
std::string CopiedFileName(const std::string& copy);

// Removes a whole copy whose text the file holds now, and then its index entry.
void RemoveWholeCopy(const std::string& copy);

// Moves a whole copy whose own file declined it or holds a later text to
// its KeptAsideName (LeftBehind.h) and removes its index entry; raises
// EWriteError with the reason when it cannot, and the copy stays where it
// was, filed as before.
void SetAsideWholeCopy(const std::string& copy);

} // namespace vx

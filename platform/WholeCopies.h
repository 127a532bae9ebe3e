// The whole copies that in-place writes left behind because they did not
// end: "<file>.vxcopy-XXXXXX" beside the name the write went through, filed
// in the index (CopyIndex.h). Whose a copy is, names and identities cannot
// settle (a name is given to a new file, a folder comes back from a backup
// on new inodes); what the file holds can: a write cut off leaves it holding
// the start of the copy's text, or, cut before it changed anything, the text
// it held when it began.
#pragma once

#include "platform/CopyIndex.h"

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
    // The file holds other text: the copy is of another file, or of a text
    // the file held before it was written again.
    Other,
};

// Whether the file's text is what a cut write of the copy left: replaced is
// the text that write replaced, as the index filed it (none where it did not).
TCopyStanding StandingOf(std::string_view fileText, std::string_view copyText,
                         const std::optional<TReplacedText>& replaced);

struct TWholeCopy {
    std::string Path;
    std::string Text;
    TCopyStanding Standing = TCopyStanding::Other;
};

// The whole copies a file opened by path, holding fileText, is to hear of,
// newest first: every copy what it holds ties to it, however it was found
// (beside a name of the file in its folder, filed under its inode, made
// beside a name that leads to it now, moved with a renamed folder), and the
// copies of other text beside a name of it, which are another's or older and
// only to be told of. Copies that cannot be read are left out.
std::vector<TWholeCopy> WholeCopiesOf(const std::string& path, std::string_view fileText);

// The copies a save of the file sets aside once it has written, listed
// before it writes: those what the file holds ties to it.
std::vector<std::string> CopiesASaveSupersedes(const std::string& path);

// The whole copy of file that an in-place write keeps while it rewrites the
// file: "<file>.vxcopy-<tag>", tag being six letters or digits.
std::string WholeCopyName(const std::string& file, const std::string& tag);
// What tells the copies of one file apart: the end of a whole copy's name.
std::string CopyTag(const std::string& copy);

// The name a whole copy was made beside: the one the write went through.
std::string CopiedFileName(const std::string& copy);

// Removes a whole copy whose text the file holds now, and then its index entry.
void RemoveWholeCopy(const std::string& copy);

// Where a whole copy goes once its own file declined it or holds a later
// text: "<file>.vxold-XXXXXX" beside it, where no open offers it again.
std::string SetAsideName(const std::string& copy);
// Moves the copy to its SetAsideName and removes its index entry; raises
// EWriteError with the reason when it cannot, and the copy stays where it
// was, filed as before.
void SetAsideWholeCopy(const std::string& copy);

} // namespace vx

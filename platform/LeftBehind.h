// What writes of a file leave beside it: the temporaries of writes killed
// before they renamed them, and the helper files kept aside once their text
// was told of or declined ("<file>.vxold-XXXXXX"), where no open offers them
// again. Those that hold nothing the file does not (nothing, or the text it
// holds) go; the others may hold the only text of a save, and are answered,
// for the user to hear of.
#pragma once

#include "platform/CopyIndex.h"

#include <span>
#include <string>
#include <vector>

namespace vx {

struct TLeftBehind {
    // Temporaries of killed writes: the user has not heard of them yet.
    std::vector<std::string> Temporaries;
    // Texts kept aside before: the user has heard of them.
    std::vector<std::string> KeptAside;
};

// Tidies what writes of the file path names (links followed) left beside
// it, and, where filed gives the entries of the index of whole copies, what
// saves through the file's other names left where the index files them;
// answers what stays. A temporary of a write under way is locked, and left
// alone. Call it while the file is held (FileHold.h): no save of it is then
// under way.
TLeftBehind TidyLeftBehind(const std::string& path, std::span<const TFiledCopy> filed = {});

// Where a helper file of a write (a temporary it left, a whole copy) is kept
// once its text was told of or declined: "<file>.vxold-XXXXXX" beside it.
std::string KeptAsideName(const std::string& helper);
// Moves the helper file to its KeptAsideName; raises EWriteError with the
// reason when it cannot, and it stays where it was.
void KeepAside(const std::string& helper);

} // namespace vx

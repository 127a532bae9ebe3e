// The index of whole copies by the identity of the file they copy. An
// in-place write names its copy after the path it went through; a file with
// further hard links may be opened by any of its names, in any folder, so
// the copy is also filed under the file's device and inode, where every name
// finds it. The index is a folder of symbolic links in the user's data
// folder, one a copy: "<device>-<inode>-<tag>" -> the copy's absolute path.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vx {

struct TFileIdentity {
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
};

// The identity of the file path names, symbolic links followed; none when
// it does not exist.
bool IdentityOf(const std::string& path, TFileIdentity& identity);

// Files copy under the identity; tag tells copies of one file apart. The
// entry's path, empty when it could not be filed (the copy is then found
// beside the name it was made for only). The entry lasts through a crash.
std::string FileCopyUnder(const TFileIdentity& identity, const std::string& tag, const std::string& copy);

// The copies filed under the identity that still exist; entries whose copy
// has gone (taken, set aside, removed by hand) are removed on the way.
std::vector<std::string> CopiesFiledUnder(const TFileIdentity& identity);

} // namespace vx

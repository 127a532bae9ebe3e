// The code base: prepared text files shipped with the program, listed one
// file name per line in "codebase.dat" in the same folder.
#pragma once

#include <string>
#include <vector>

namespace vx::shell {

// The shipped code-base folder.
std::string CodeBaseFolder();

// The listed file names; none without the list. Names with a folder part
// are left out, so nothing outside the folder is ever read.
std::vector<std::string> CodeBaseEntries(const std::string& folder = CodeBaseFolder());
// The text of a listed file; empty when it is missing or not a plain name.
std::string CodeBaseText(const std::string& entry, const std::string& folder = CodeBaseFolder());

} // namespace vx::shell

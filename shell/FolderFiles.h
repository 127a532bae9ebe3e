// Files named by lists the user may have edited: only a plain name inside the
// list's own folder is ever read.
#pragma once

#include <string>
#include <string_view>

namespace vx::shell {

// Not empty, not "." or "..", no folder part, no control character.
bool IsPlainFileName(std::string_view name);
// The whole file name in folder; empty when it is missing or not a plain name.
std::string ReadFileInFolder(const std::string& folder, const std::string& name);

} // namespace vx::shell

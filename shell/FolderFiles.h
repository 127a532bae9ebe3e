// Files named by lists the user may have edited: only a plain name inside the
// list's own folder is ever read.
#pragma once

#include <string>
#include <string_view>

namespace vx::shell {

// Not empty, not "." or "..", no folder part, no control character.
bool IsPlainFileName(std::string_view name);
// The text of the file name in folder: UTF-8, or Windows-1252 as earlier
// versions wrote it (vx::TextFromFileBytes); empty when the file is missing or
// the name is not a plain one.
std::string ReadFileInFolder(const std::string& folder, const std::string& name);

} // namespace vx::shell

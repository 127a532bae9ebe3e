// File-system tests the controls share.
#pragma once

#include <string>

namespace vx {

// True when the path exists and is a directory (paths with backslashes are accepted).
bool DirExists(const std::string& name);

} // namespace vx

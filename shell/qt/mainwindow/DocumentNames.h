// How the main window's messages name a document: by its file, or, for text
// without one, by the slot or workspace that holds it.
#pragma once

#include <string>

namespace vx::shell {

// The file's path as the system spells it; without a file "Document 3 (no
// file)", or "Workspace 3 (no file)" for a workspace, in the current language.
std::string DocumentName(const std::string& fileName, bool workspace, int number);

} // namespace vx::shell

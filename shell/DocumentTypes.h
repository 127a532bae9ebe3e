// What the file panel calls a file's type: the program's own names for the
// documents and pictures it works with, in the current language. Every
// language names them alike, whatever the system's language is.
#pragma once

#include <string>

namespace vx::shell {

// The extension of the file's name in lower case, with its dot (".htm");
// empty for a name without one.
std::string LowerExtension(const std::string& fileName);

// The type of the file by its name's extension, any case ("HTML document"
// for "index.HTM"); a file of another kind is named by its extension ("ZIP
// file"), and a name without one is a plain "File".
std::string DocumentTypeName(const std::string& fileName);

} // namespace vx::shell

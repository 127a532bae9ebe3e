// Where the program's own files live. Paths in the program's texts use
// backslashes and are relative to the program folder; this is the one place
// that turns them into native paths.
#pragma once

#include <string>
#include <string_view>

namespace vx {

// The folder of the executable, or $VELLUMIX_HOME when it is set. Ends without a slash.
std::string ProgramFolder();

// The folder that holds the settings store: $VELLUMIX_CONFIG, or ~/.config/vellumix.
std::string ConfigFolder();

// The per-user data folder: $VELLUMIX_DATA, or ~/.local/share/vellumix.
std::string DataFolder();

// The user's copy of a data file the user changes ("data\urldata.dat" ->
// "<data folder>/data/urldata.dat"). When the user has none yet, the program's
// file of that name, where there is one, is copied there first, writable by
// the user; the folder is created as needed. Failures to seed leave the path
// to a missing file.
std::string UserDataPath(std::string_view relative);

// "data\htmltags.ae" -> "<program folder>/data/htmltags.ae". An absolute path stays absolute.
std::string ProgramPath(std::string_view relative);

// Backslashes become slashes; nothing else changes.
std::string NativePath(std::string_view path);

// Joins a folder and a name with exactly one slash between them.
std::string JoinPath(std::string_view folder, std::string_view name);

} // namespace vx

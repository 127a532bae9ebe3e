// The commands the command table names in its Command rows: each takes the
// main window and the argument after the ":" of its name ("ShowPage:SQL").
#pragma once

#include <string_view>

class TForm1;

namespace vx::shell::menu {

using TCommand = void (*)(TForm1& form, std::string_view arg);

// The command of a Command row's Arg; null when it is not available.
TCommand FindCommand(std::string_view nameAndArg);

// The argument part of a Command row's Arg: what follows the first ":".
std::string_view CommandArg(std::string_view nameAndArg);

} // namespace vx::shell::menu

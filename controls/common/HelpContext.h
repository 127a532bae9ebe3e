// The program's help: a window asks for the topic of its help context, and the
// program installs what shows it. Until one is installed there is no help, and
// the controls that offer it are disabled.
#pragma once

#include <functional>

namespace vx {

using THelpHandler = std::function<void(int context)>;

// Installs the handler that shows a help topic; an empty one removes it.
void SetHelpHandler(THelpHandler handler);
bool HelpAvailable();
// Shows the topic of context; false when no handler is installed.
bool ShowHelpContext(int context);

} // namespace vx

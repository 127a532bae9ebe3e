// Puts every window of the program into the language registry, so the
// language tool can build each one and collect its built-in texts into
// "native.lng".
#pragma once

class TLangWindowRegistry;

namespace vx::shell {

// The main window, the windows made at start-up, the shell's dialogs and
// every dialog the launch table opens. Building the main window needs the
// settings store: run it on a settings folder of its own.
void RegisterLanguageWindows(TLangWindowRegistry& registry);

} // namespace vx::shell

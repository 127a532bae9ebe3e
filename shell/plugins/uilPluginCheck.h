// What the host can check of a plug-in object before it trusts it: that the
// object, its commands, texts and pictures can be read, that it offers a sane
// number of commands with texts of sane length, and that its functions lie in
// a loaded library. A plug-in that crashes in a call is beyond any check.
#pragma once

#include "platform/Wording.h"
#include "shell/plugins/plugin.h"

#include <cstddef>
#include <optional>

namespace vx::shell {

inline constexpr int MaxPluginCommands = 256;
inline constexpr std::size_t MaxPluginText = 1024;

// None when nothing is wrong; else why the object cannot be taken, a
// message the window words.
std::optional<TMessage> PluginDefect(const vx_plugin* object);

} // namespace vx::shell

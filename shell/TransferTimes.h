// How long a file takes to send at the usual line speeds.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vx::shell {

// One row per speed in bits per second ("14400" to "256000"): the speed and
// the whole seconds the file's bytes take at it.
std::vector<std::pair<std::string, std::string>> TransferRows(std::uint64_t bytes);

// The size as the file manager shows it, in the current language.
std::string SizeText(std::uint64_t bytes);

} // namespace vx::shell

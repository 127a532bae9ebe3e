// Base64 with the standard alphabet and "=" padding, cut into MIME lines.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vx::net {

// 57 input bytes make one 76-character line.
inline constexpr std::size_t kBase64LineBytes = 57;

std::string Base64Encode(std::string_view bytes);
// Lines of at most 76 characters; done reports the bytes encoded after each line.
std::vector<std::string> Base64Lines(std::string_view bytes,
                                     const std::function<void(std::size_t done)>& progress = {});

} // namespace vx::net

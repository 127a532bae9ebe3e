// What the generated banners say about the program that wrote them.
#pragma once

namespace vx::tools {

// The version tag of the banners.
inline constexpr const char* VersionTag = "1.0";
// The maker's web address the meta-tag banner names.
inline constexpr const char* MakerAddress = "http://www.vellumix.example/";

} // namespace vx::tools

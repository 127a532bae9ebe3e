// Animated cursor files built by the tests: icons of any depth and RIFF chunks.
#pragma once

#include "images/GIFColor.h"

#include <cstdint>
#include <string>
#include <vector>

namespace anitest {

std::string U32(std::uint32_t v);
std::string U16(int v);
// The palette entry i of the icons made by Ico.
TGIFColor PaletteEntry(int i);
// The colour an icon made by Ico shows at (x, y).
TGIFColor Expected(int bits, int x, int y);
// One-image icon (type 1) or cursor (type 2) file; pixel (0, 0) is transparent.
std::string Ico(int w, int h, int bits, int type = 1, int hotX = 0, int hotY = 0);
std::string Chunk(const std::string& tag, const std::string& data);
std::string Anih(std::uint32_t frames, std::uint32_t steps, std::uint32_t rate, std::uint32_t flags = 1);
std::string Words(const std::vector<std::uint32_t>& values);
std::string Fram(const std::vector<std::string>& icons);
std::string Riff(const std::string& chunks);

} // namespace anitest

// In-memory BMP files: building one from palette and rows, and the fields of one.
#pragma once

#include "images/GIFColor.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TGIFBitmap;

// An uncompressed BMP file of the given depth (1, 4, 8 or 24) from rows stored top
// to bottom, each of TGIFBitmap::Stride bytes for that depth. The palette has
// 2^bitCount entries for depths up to 8; entries past `palette` are `filler`.
std::string BuildBMP(int width, int height, int bitCount, const TGIFPalette& palette, TGIFColor filler,
                     std::uint32_t importantColors, const std::vector<std::uint8_t>& rows);

// The file of a bitmap as it is: its depth, its palette padded with black.
std::string BitmapToBMP(const TGIFBitmap& bitmap);

// The bit count of a BMP file's header; 0 when it is too short to have one.
int BMPBitCount(std::string_view bmp);

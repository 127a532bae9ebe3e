// The width and height of a GIF, JPEG or PNG picture, read from the few bytes
// that hold them. Every reader stops at the end of its input and reports "no
// size" for a file that is cut short or is not of its kind.
#pragma once

#include "platform/Exception.h"

#include <cstdint>
#include <istream>
#include <optional>
#include <string>

namespace vx::tools {

struct TImageSize {
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    bool operator==(const TImageSize&) const = default;
};

// The first image's size; extension blocks before it are walked, not searched.
std::optional<TImageSize> GetGifSize(std::istream& in);
// The size in the first start-of-frame header of any kind (baseline,
// extended, progressive, lossless); segments such as EXIF with their
// thumbnails are skipped by their length.
std::optional<TImageSize> GetJpegSize(std::istream& in);
// The full 32-bit size of the IHDR chunk.
std::optional<TImageSize> GetPngSize(std::istream& in);

// A picture file that exists but cannot be opened.
VX_DECLARE_EXCEPTION(EImageOpenError, Exception);

// Chooses the reader by the file's extension (.gif, .jpg, .jpeg, .jpe, .png,
// any case); other extensions have no size. A GIF that cannot be opened has
// no size; a JPEG or PNG that cannot be opened raises EImageOpenError.
std::optional<TImageSize> ImageFileSize(const std::string& path);

} // namespace vx::tools

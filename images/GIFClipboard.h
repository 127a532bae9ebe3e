// The "GIF Image" clipboard payload both GIF picture classes exchange: the
// file's byte count as a 32-bit little-endian value, then the file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

inline constexpr const char* GIFClipboardFormatName = "GIF Image";
// The MIME type the format travels under on the desktop clipboard.
inline constexpr const char* GIFClipboardMimeType = "application/x-vellumix-gif-image";

std::string MakeGIFClipboardPayload(std::string_view gif);

// The GIF file inside a payload: none when the count passes the bytes present or
// the file does not begin with the "GIF" signature (in any case).
std::optional<std::string_view> GIFFromClipboardPayload(std::string_view payload);

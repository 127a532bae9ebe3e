// The "GIF Image" clipboard payload both GIF picture classes exchange: the
// file's byte count as a 32-bit little-endian value, then the file.
#pragma once

#include <functional>
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

class TByteStream;
class TGraphic;

// The payload of a graphic saved to a stream.
std::string GIFClipboardPayloadOf(TGraphic& graphic);
// Hands the GIF file of a payload to read as a stream; false, read not called,
// when the payload holds no GIF.
bool ReadGIFClipboardPayload(std::string_view payload, const std::function<void(TByteStream& gif)>& read);

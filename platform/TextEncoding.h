// How a document's characters are stored in its file. A file that is
// well-formed UTF-8 (and every new document) is UTF-8; any other is a
// single-byte Windows-1252 file. Either way the program holds the text as
// UTF-8: a Windows-1252 file's bytes each become one character, and saving
// turns them back into exactly those bytes, the five bytes the code page
// leaves unassigned included.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vx {

enum class TTextEncoding : std::uint8_t { Utf8, Windows1252 };

struct TDecodedText {
    std::string Text; // UTF-8
    TTextEncoding Encoding = TTextEncoding::Utf8;
};

// How a file of these bytes is edited: UTF-8 when they are well-formed UTF-8.
TTextEncoding DocumentEncoding(std::string_view bytes);
TDecodedText DecodeDocument(std::string_view bytes);
// The file's bytes for text; nothing when the encoding has no byte for one of
// its characters, whose byte offset in text badOffset then receives.
std::optional<std::string> EncodeDocument(std::string_view text, TTextEncoding encoding,
                                          std::size_t* badOffset = nullptr);
// Whether every character of text can be stored in a file of the encoding.
bool CanHold(TTextEncoding encoding, std::string_view text);
// The encoding's name as mail and web pages declare it ("UTF-8", "windows-1252").
const char* CharsetName(TTextEncoding encoding);

} // namespace vx

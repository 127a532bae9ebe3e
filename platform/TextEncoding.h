// How a document's characters are stored in its file. A file that is
// well-formed UTF-8 (and every new document) is UTF-8; any other is a
// single-byte Windows-1252 file. Either way the program holds the text as
// UTF-8: a Windows-1252 file's bytes each become one character, and saving
// turns them back into exactly those bytes, the five bytes the code page
// leaves unassigned included. A UTF-8 file may begin with a byte order mark:
// it is the file's, not the text's, so it is taken off when the file is read
// and written again when it is saved.
#pragma once

#include "platform/Exception.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vx {

VX_DECLARE_EXCEPTION(EEncodingError, EStreamError);

enum class TTextEncoding : std::uint8_t { Utf8, Windows1252 };

// The mark some programs write before the text of a UTF-8 file.
inline constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";

struct TDecodedText {
    std::string Text; // UTF-8, without the byte order mark
    TTextEncoding Encoding = TTextEncoding::Utf8;
    // Whether the file began with the byte order mark: only a UTF-8 file
    // does, in a Windows-1252 file the same bytes are three characters.
    bool ByteOrderMark = false;
};

// How a file of these bytes is edited: UTF-8 when they are well-formed UTF-8.
TTextEncoding DocumentEncoding(std::string_view bytes);
// Takes the bytes over: a UTF-8 file's text is its bytes, not a copy of them.
TDecodedText DecodeDocument(std::string bytes);
// The file's bytes for text; nothing when the encoding has no byte for one of
// its characters, whose byte offset in text badOffset then receives.
std::optional<std::string> EncodeDocument(std::string_view text, TTextEncoding encoding,
                                          std::size_t* badOffset = nullptr);
// The whole file for text, the byte order mark before it when byteOrderMark
// is set and the file is UTF-8; raises EEncodingError, which names the
// character and its line, where the encoding cannot store one.
std::string EncodeForSaving(std::string_view text, TTextEncoding encoding, bool byteOrderMark);
// The first character of text the encoding cannot store, or "" when it stores all.
std::string FirstUnstorable(std::string_view text, TTextEncoding encoding);
// Why a Windows-1252 file refuses the character: the one wording of it, for
// the status bar as for the error a save raises.
TMessage UnstorableCharacter(std::string_view character);
// Whether every character of text can be stored in a file of the encoding.
bool CanHold(TTextEncoding encoding, std::string_view text);
// The encoding's name as mail and web pages declare it ("UTF-8", "windows-1252").
const char* CharsetName(TTextEncoding encoding);

} // namespace vx

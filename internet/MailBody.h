// The text of a message as it goes: the lines in the bytes of the document's
// own file, the character set those bytes are in, and a transfer encoding
// that brings every byte through. The component greets with HELO, so no
// server ever announces 8-bit transport (8BITMIME): text that is ASCII in
// lines a server takes (998 bytes) goes as it is ("7bit"), any other as
// quoted-printable.
#pragma once

#include "platform/TStringList.h"
#include "platform/TextEncoding.h"

#include <string>
#include <vector>

namespace vx::net {

struct TMailBody {
    std::string Charset;
    std::string TransferEncoding;
    std::vector<std::string> Lines;
};

// text holds the program's text (UTF-8). A Windows-1252 document goes as its
// Windows-1252 bytes, labelled "ISO-8859-1" unless it uses one of the
// characters that set lacks; should it hold a character Windows-1252 cannot
// store, it goes as UTF-8 rather than lose it.
TMailBody EncodeMailBody(const TStringList& text, vx::TTextEncoding encoding);

} // namespace vx::net

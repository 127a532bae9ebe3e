// Header texts and the body's character set for text outside ASCII. The
// program's text is Windows-1252, so a subject or a name with other characters
// goes as RFC 2047 encoded words in that set ("=?windows-1252?Q?...?="), and
// the body declares the set its bytes are in.
#pragma once

#include "platform/TStringList.h"

#include <string>
#include <string_view>
#include <vector>

namespace vx::net {

bool IsAscii(std::string_view text);
// The text as encoded words of at most 75 characters each, to be separated by
// folding white space; one word holding the text as it is when it is ASCII.
std::vector<std::string> EncodedWords(std::string_view text);
// An address list with every name outside ASCII as encoded words; a list all
// in ASCII as it is.
std::string EncodeAddressList(std::string_view list);
// "ISO-8859-1", or "windows-1252" when a line holds one of the characters
// Windows-1252 puts where ISO-8859-1 has control codes (0x80 to 0x9F).
const char* BodyCharset(const TStringList& lines);

} // namespace vx::net

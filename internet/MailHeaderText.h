// Header texts outside ASCII. Headers carry ASCII only, so a subject or a
// name with other characters goes as RFC 2047 encoded words of the program's
// text, UTF-8 ("=?UTF-8?Q?...?=").
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vx::net {

bool IsAscii(std::string_view text);
// The text as encoded words of at most 75 characters each, to be separated by
// folding white space; one word holding the text as it is when it is ASCII.
// A word never ends inside a character: a reader decodes each word alone.
std::vector<std::string> EncodedWords(std::string_view text);
// An address list with every name outside ASCII as encoded words; a list all
// in ASCII as it is.
std::string EncodeAddressList(std::string_view list);

} // namespace vx::net

// Splitting web addresses and local paths into scheme, root and base, as the link
// checker and the structure viewer need to resolve the links of a page.
#pragma once

#include <string>
#include <string_view>

// The scheme before the first ":" ("mailto", "ftp", "c" of a drive path), case
// kept; "HTTP" when the text has none. A text only has a scheme when the part
// before the colon is one: a letter, then letters, digits, "+", "-" or "." (so
// "page.asp?t=10:30" and ":x" have none).
std::string GetURLProtocol(std::string_view url);

// Scheme and host ("http://host") or drive and first folder ("c:\dir"): the text
// up to the separator after the first run of "/" and "\", or all of it.
std::string GetURLRoot(std::string_view url);

// The folder of the page, with its trailing separator: the text up to and
// including the last "/", ":" or "\". An address made of a scheme and host only
// is its own base ("http://host"); a bare file name has an empty base.
std::string GetURLBase(std::string_view url);

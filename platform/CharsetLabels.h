// The character sets a web page may name, by every label browsers know them
// by: "latin1", "iso-8859-1" and "cp1252" all stand for windows-1252. The
// browser engine decodes no ISO-8859-16, so that one is left out: a page that
// names it is read as one that names none.
#pragma once

#include <optional>
#include <string_view>

namespace vx {

// The name of the character set the label stands for, as browsers name it
// ("ISO-8859-7", "windows-1252", "Shift_JIS"); nothing for a label they do not
// know. Letter case and white space around the label do not matter.
std::optional<std::string_view> CharsetOfLabel(std::string_view label);

} // namespace vx

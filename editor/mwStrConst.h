// The editor's numbered texts (besides the attribute names of mwHighlighter.h):
// loaded from the string table when shown, so a translation reaches them.
#pragma once

#include "platform/ResStrings.h"

namespace mwRes {
inline constexpr TResText RtfFormatName{65123, "RTF"};
inline constexpr TResText ShortcutExists{65136, "Shortcut already exists"};
inline constexpr TResText RtfFilter{65142, "Rich Text Format (*.rtf)|*.rtf"};
// The scroll hint; %d is the top line.
inline constexpr TResText TopLine{65167, "TopLine: %d"};
} // namespace mwRes

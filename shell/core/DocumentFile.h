// What the main window remembers of a file in a document slot besides its
// name: the line-end style it was loaded with, so that saving keeps it, and a
// stamp of the file on disk, so that a change made by another program since
// the load is noticed before the file is overwritten.
#pragma once

#include "platform/TStringList.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vx::shell {

// Size and last-write time of a file; Exists false for a missing file.
struct TFileStamp {
    bool Exists = false;
    std::uintmax_t Size = 0;
    std::int64_t WriteTime = 0;
    bool operator==(const TFileStamp&) const = default;
};

TFileStamp StampOf(const std::string& path);

struct TLineEndStyle {
    std::string Break = "\r\n";
    // Whether the last line is followed by a line break.
    bool FinalBreak = true;
    bool operator==(const TLineEndStyle&) const = default;
};

// The style of the first line break in the bytes (CR LF, LF or CR); CR LF for
// a text without any, with a final break only for an empty text.
TLineEndStyle LineEndStyleOf(std::string_view bytes);

// The lines joined in the style; a single empty line gives an empty text.
std::string JoinLines(const TStrings& lines, const TLineEndStyle& style);

} // namespace vx::shell

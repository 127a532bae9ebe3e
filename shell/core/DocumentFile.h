// What the main window remembers of a file in a document slot besides its
// name: the line break each line had when it was loaded, so that saving keeps
// them, and a stamp of the file on disk, so that a change made by another
// program since the load is noticed before the file is overwritten.
#pragma once

#include "platform/TStringList.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vx::shell {

// Size and last-write time of a file; Exists false for a missing file.
struct TFileStamp {
    bool Exists = false;
    std::uintmax_t Size = 0;
    std::int64_t WriteTime = 0;
    bool operator==(const TFileStamp&) const = default;
};

TFileStamp StampOf(const std::string& path);

enum class TLineBreak : std::uint8_t { None, CrLf, Lf, Cr };

std::string_view BreakText(TLineBreak lineBreak);

// The line breaks of a loaded text, split as the line store splits it (at
// CR LF, CR or LF; a break at the very end opens no further line). Where the
// lines end in different breaks, each line's break is kept with a fingerprint
// of its text (not a copy: the editor holds the text already) that tells the
// lines kept since the load from the changed ones; two lines sharing a
// fingerprint only share a break choice, so four bytes are plenty. Where all
// lines end alike, nothing per line is kept.
struct TLoadedLines {
    std::vector<std::uint32_t> Fingerprints;
    std::vector<TLineBreak> Breaks;
    // The break of lines that have none of their own: the text's first, or
    // CR LF for a text without breaks.
    TLineBreak Usual = TLineBreak::CrLf;
    // After the last line: None when the text did not end in a break; CR LF
    // for a new, empty text.
    TLineBreak Final = TLineBreak::CrLf;
};

std::uint32_t LineFingerprint(std::string_view line);

TLoadedLines LoadedLinesOf(std::string_view bytes);

// The lines joined for saving. Lines that match the loaded ones at the start
// and at the end of the text keep their own breaks; changed lines between
// take the break of the loaded line they replace, added lines the usual one; the
// text ends with a break as the loaded text did (a new, empty text: CR LF).
// A single empty line gives an empty text.
std::string JoinLines(const TStrings& lines, const TLoadedLines& loaded);

// Whether the start of a file looks like binary data rather than text (a NUL
// byte in its first block).
bool LooksBinary(std::string_view bytes);

} // namespace vx::shell

// What the main window remembers of a file in a document slot besides its
// name: the line break each line had when it was loaded, so that saving keeps
// them, and a stamp of the file on disk, so that a change made by another
// program since the load is noticed before the file is overwritten.
#pragma once

#include "platform/TStringList.h"

#include <cstddef>
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
    // The text was one line break and nothing else.
    bool LoneBreak = false;
};

std::uint32_t LineFingerprint(std::string_view line);

TLoadedLines LoadedLinesOf(std::string_view bytes);

// For each line now (by fingerprint), the index of the loaded line it is, or
// -1 for a line added or changed since: the longest matching in the order
// of both, found through the lines that occur once on either side, and line
// by line between them where the parts are small.
std::vector<std::ptrdiff_t> MatchLoadedLines(const std::vector<std::uint32_t>& old,
                                             const std::vector<std::uint32_t>& now);

// The lines joined for saving. Every line kept since the load keeps its own
// break, whatever changed around it; a changed line takes the break of the
// loaded line it stands in place of, an added line the usual one; the text
// ends with a break as the loaded text did (a new, empty text: CR LF). A
// single empty line gives an empty text, so that a new document, an empty
// file and a text whose every character was deleted save as an empty file,
// unless the loaded text was a lone line break: that stays.
std::string JoinLines(const TStrings& lines, const TLoadedLines& loaded);

// Whether both names lead to one file (links and relative names followed).
bool SameFile(const std::string& first, const std::string& second);

// The name with the working folder before it when it is relative, so that it
// names the same file to a later start; a name that cannot be made whole stays.
std::string WholeFileName(const std::string& name);

// Whether the start of a file looks like binary data rather than text (a NUL
// byte in its first block).
bool LooksBinary(std::string_view bytes);

} // namespace vx::shell

// Reading the lines of an FTP LIST reply, Unix style ("drwxr-xr-x 2 u g 4096
// Jan 01 12:00 name", "-> target" for links, with or without the group) and
// DOS style ("01-31-24  09:15PM  <DIR>  name"), into one entry table. "total"
// lines and lines of neither style yield no entry.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class TFtpEntryKind { File, Directory, Link };

struct TFtpEntry {
    TFtpEntryKind Kind = TFtpEntryKind::File;
    std::string Name;
    // Links only: what the link points to.
    std::string LinkTarget;
    std::int64_t Size = 0;
    // The listing line the entry was read from.
    std::string Raw;
};

std::optional<TFtpEntry> ParseListLine(std::string_view line);
std::vector<TFtpEntry> ParseListing(const std::vector<std::string>& lines);
// The listing split into lines at CR LF or LF; a CR alone stays in its line.
std::vector<std::string> SplitListing(std::string_view text);

// True when the name can be used as a file name in a local folder: not empty,
// not "." or "..", no slash, backslash or NUL.
bool IsPlainFileName(std::string_view name);

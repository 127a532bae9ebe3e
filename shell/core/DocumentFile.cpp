// Line-end styles and file stamps of documents.
#include "shell/core/DocumentFile.h"

#include <filesystem>
#include <system_error>

namespace vx::shell {

TFileStamp StampOf(const std::string& path)
{
    std::error_code ec;
    TFileStamp stamp;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec)
        return stamp;
    const auto time = std::filesystem::last_write_time(path, ec);
    if (ec)
        return stamp;
    stamp.Exists = true;
    stamp.Size = size;
    stamp.WriteTime = time.time_since_epoch().count();
    return stamp;
}

TLineEndStyle LineEndStyleOf(std::string_view bytes)
{
    TLineEndStyle style;
    const std::size_t at = bytes.find_first_of("\r\n");
    if (at == std::string_view::npos) {
        // One line without a break stays so; an empty file gets breaks once it has lines.
        style.FinalBreak = bytes.empty();
        return style;
    }
    if (bytes[at] == '\n')
        style.Break = "\n";
    else if (at + 1 < bytes.size() && bytes[at + 1] == '\n')
        style.Break = "\r\n";
    else
        style.Break = "\r";
    const char last = bytes.back();
    style.FinalBreak = last == '\n' || last == '\r';
    return style;
}

std::string JoinLines(const TStrings& lines, const TLineEndStyle& style)
{
    std::string text;
    // A document that is one empty line is an empty file, not a lone line break.
    if (lines.Count() == 1 && lines[0].empty())
        return text;
    for (int i = 0; i < lines.Count(); ++i) {
        if (i > 0)
            text += style.Break;
        text += lines[i];
    }
    if (style.FinalBreak && lines.Count() > 0)
        text += style.Break;
    return text;
}

} // namespace vx::shell

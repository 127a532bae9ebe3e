// Line breaks and file stamps of documents.
#include "shell/core/DocumentFile.h"

#include <algorithm>
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

TLoadedLines LoadedLinesOf(std::string_view bytes)
{
    TLoadedLines loaded;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t at = bytes.find_first_of("\r\n", start);
        if (at == std::string_view::npos) {
            loaded.Lines.emplace_back(bytes.substr(start));
            loaded.Breaks.emplace_back();
            break;
        }
        const std::size_t length = bytes[at] == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n' ? 2 : 1;
        loaded.Lines.emplace_back(bytes.substr(start, at - start));
        loaded.Breaks.emplace_back(bytes.substr(at, length));
        if (loaded.Breaks.size() == 1)
            loaded.Usual = loaded.Breaks.back();
        start = at + length;
    }
    return loaded;
}

std::string JoinLines(const TStrings& lines, const TLoadedLines& loaded)
{
    std::string text;
    // A document that is one empty line is an empty file, not a lone line break.
    if (lines.Count() == 1 && lines.Length(0) == 0)
        return text;
    const std::size_t count = static_cast<std::size_t>(lines.Count());
    const std::size_t old = loaded.Lines.size();
    std::size_t head = 0;
    while (head < count && head < old && lines.View(static_cast<int>(head)) == loaded.Lines[head])
        ++head;
    std::size_t tail = 0;
    while (tail < count - head && tail < old - head &&
           lines.View(static_cast<int>(count - 1 - tail)) == loaded.Lines[old - 1 - tail])
        ++tail;
    const std::string finalBreak = old == 0 ? std::string("\r\n") : loaded.Breaks.back();
    for (std::size_t i = 0; i < count; ++i) {
        text += lines.View(static_cast<int>(i));
        std::string brk;
        if (i < head)
            brk = loaded.Breaks[i];
        else if (i >= count - tail)
            brk = loaded.Breaks[old - (count - i)];
        else if (i < old - tail)
            brk = loaded.Breaks[i];
        if (i + 1 == count)
            brk = finalBreak;
        else if (brk.empty())
            brk = loaded.Usual;
        text += brk;
    }
    return text;
}

bool LooksBinary(std::string_view bytes)
{
    constexpr std::size_t FirstBlock = 8192;
    return bytes.substr(0, std::min(bytes.size(), FirstBlock)).find('\0') != std::string_view::npos;
}

} // namespace vx::shell

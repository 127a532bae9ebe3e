// Line breaks and file stamps of documents.
#include "shell/core/DocumentFile.h"

#include <algorithm>
#include <utility>
#include <filesystem>
#include <functional>
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

std::string_view BreakText(TLineBreak lineBreak)
{
    switch (lineBreak) {
    case TLineBreak::CrLf:
        return "\r\n";
    case TLineBreak::Lf:
        return "\n";
    case TLineBreak::Cr:
        return "\r";
    case TLineBreak::None:
        break;
    }
    return {};
}

std::uint32_t LineFingerprint(std::string_view line)
{
    const std::size_t hash = std::hash<std::string_view>{}(line);
    return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

namespace {

// The break at at (a CR or LF) and its length.
std::pair<TLineBreak, std::size_t> BreakAt(std::string_view bytes, std::size_t at)
{
    if (bytes[at] == '\n')
        return {TLineBreak::Lf, 1};
    if (at + 1 < bytes.size() && bytes[at + 1] == '\n')
        return {TLineBreak::CrLf, 2};
    return {TLineBreak::Cr, 1};
}

std::size_t LineEndAt(std::string_view bytes, std::size_t pos)
{
    while (pos < bytes.size() && bytes[pos] != '\r' && bytes[pos] != '\n')
        ++pos;
    return pos;
}

} // namespace

TLoadedLines LoadedLinesOf(std::string_view bytes)
{
    TLoadedLines loaded;
    // Most texts end every line alike: then nothing per line is needed.
    std::size_t lines = 0;
    bool mixed = false;
    for (std::size_t start = 0; start < bytes.size(); ++lines) {
        const std::size_t at = LineEndAt(bytes, start);
        if (at == bytes.size()) {
            loaded.Final = TLineBreak::None;
            ++lines;
            break;
        }
        const auto [lineBreak, length] = BreakAt(bytes, at);
        if (lines == 0)
            loaded.Usual = lineBreak;
        mixed = mixed || lineBreak != loaded.Usual;
        loaded.Final = lineBreak;
        start = at + length;
    }
    if (!mixed)
        return loaded;
    loaded.Fingerprints.reserve(lines);
    loaded.Breaks.reserve(lines);
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t at = LineEndAt(bytes, start);
        loaded.Fingerprints.push_back(LineFingerprint(bytes.substr(start, at - start)));
        if (at == bytes.size()) {
            loaded.Breaks.push_back(TLineBreak::None);
            break;
        }
        const auto [lineBreak, length] = BreakAt(bytes, at);
        loaded.Breaks.push_back(lineBreak);
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
    const std::size_t old = loaded.Fingerprints.size();
    const auto same = [&](std::size_t line, std::size_t loadedLine) {
        return LineFingerprint(lines.View(static_cast<int>(line))) == loaded.Fingerprints[loadedLine];
    };
    std::size_t head = 0;
    while (head < count && head < old && same(head, head))
        ++head;
    std::size_t tail = 0;
    while (tail < count - head && tail < old - head && same(count - 1 - tail, old - 1 - tail))
        ++tail;
    for (std::size_t i = 0; i < count; ++i) {
        text += lines.View(static_cast<int>(i));
        TLineBreak lineBreak = TLineBreak::None;
        if (i < head)
            lineBreak = loaded.Breaks[i];
        else if (i >= count - tail)
            lineBreak = loaded.Breaks[old - (count - i)];
        else if (i < old - tail)
            lineBreak = loaded.Breaks[i];
        if (i + 1 == count)
            lineBreak = loaded.Final;
        else if (lineBreak == TLineBreak::None)
            lineBreak = loaded.Usual;
        text += BreakText(lineBreak);
    }
    return text;
}

bool LooksBinary(std::string_view bytes)
{
    constexpr std::size_t FirstBlock = 8192;
    return bytes.substr(0, std::min(bytes.size(), FirstBlock)).find('\0') != std::string_view::npos;
}

} // namespace vx::shell

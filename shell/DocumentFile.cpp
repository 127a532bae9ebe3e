// Line breaks and file stamps of documents.
#include "shell/DocumentFile.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <system_error>
#include <unordered_map>
#include <utility>

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
    loaded.LoneBreak = lines == 1 && bytes.size() == BreakText(loaded.Final).size();
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

namespace {

// A part of the loaded lines and the part of the lines now that stands in its place.
struct TLineRange {
    std::size_t OldFirst, OldEnd, NowFirst, NowEnd;
};

// Lines whose fingerprint occurs once in each part, in the longest order both
// parts agree on: lines that are certainly the same line.
std::vector<std::pair<std::size_t, std::size_t>> UniqueAnchors(const std::vector<std::uint32_t>& old,
                                                               const std::vector<std::uint32_t>& now,
                                                               const TLineRange& range)
{
    struct TSeen {
        std::size_t OldCount = 0, OldAt = 0, NowCount = 0;
    };
    std::unordered_map<std::uint32_t, TSeen> seen;
    for (std::size_t i = range.OldFirst; i < range.OldEnd; ++i) {
        TSeen& s = seen[old[i]];
        ++s.OldCount;
        s.OldAt = i;
    }
    for (std::size_t i = range.NowFirst; i < range.NowEnd; ++i)
        if (auto found = seen.find(now[i]); found != seen.end())
            ++found->second.NowCount;
    // Candidates in the order of the lines now; the chain is the longest run
    // of them rising in the loaded order too (patience sorting).
    std::vector<std::pair<std::size_t, std::size_t>> candidates;
    for (std::size_t i = range.NowFirst; i < range.NowEnd; ++i)
        if (auto found = seen.find(now[i]);
            found != seen.end() && found->second.OldCount == 1 && found->second.NowCount == 1)
            candidates.emplace_back(found->second.OldAt, i);
    std::vector<std::size_t> tops;
    std::vector<std::ptrdiff_t> previous(candidates.size(), -1);
    for (std::size_t c = 0; c < candidates.size(); ++c) {
        const auto pile = std::lower_bound(tops.begin(), tops.end(), candidates[c].first,
                                           [&](std::size_t top, std::size_t oldAt) {
                                               return candidates[top].first < oldAt;
                                           });
        if (pile != tops.begin())
            previous[c] = static_cast<std::ptrdiff_t>(*(pile - 1));
        if (pile == tops.end())
            tops.push_back(c);
        else
            *pile = c;
    }
    std::vector<std::pair<std::size_t, std::size_t>> chain;
    for (std::ptrdiff_t c = tops.empty() ? -1 : static_cast<std::ptrdiff_t>(tops.back()); c >= 0; c = previous[c])
        chain.push_back(candidates[c]);
    std::reverse(chain.begin(), chain.end());
    return chain;
}

// Parts without a line of their own are matched line by line for the longest
// common run, when they are small enough for it.
void MatchSmallPart(const std::vector<std::uint32_t>& old, const std::vector<std::uint32_t>& now,
                    const TLineRange& range, std::vector<std::ptrdiff_t>& match)
{
    constexpr std::size_t MaxCells = std::size_t{1} << 20;
    const std::size_t rows = range.OldEnd - range.OldFirst, columns = range.NowEnd - range.NowFirst;
    if (rows * columns > MaxCells)
        return;
    // common[i][j]: the longest common run of old[i..] and now[j..] within the part.
    std::vector<std::uint32_t> common((rows + 1) * (columns + 1), 0);
    const auto at = [&](std::size_t i, std::size_t j) -> std::uint32_t& { return common[i * (columns + 1) + j]; };
    for (std::size_t i = rows; i-- > 0;)
        for (std::size_t j = columns; j-- > 0;)
            at(i, j) = old[range.OldFirst + i] == now[range.NowFirst + j] ? at(i + 1, j + 1) + 1
                                                                          : std::max(at(i + 1, j), at(i, j + 1));
    for (std::size_t i = 0, j = 0; i < rows && j < columns;) {
        if (old[range.OldFirst + i] == now[range.NowFirst + j]) {
            match[range.NowFirst + j] = static_cast<std::ptrdiff_t>(range.OldFirst + i);
            ++i;
            ++j;
        } else if (at(i + 1, j) >= at(i, j + 1)) {
            ++i;
        } else {
            ++j;
        }
    }
}

} // namespace

std::vector<std::ptrdiff_t> MatchLoadedLines(const std::vector<std::uint32_t>& old,
                                             const std::vector<std::uint32_t>& now)
{
    std::vector<std::ptrdiff_t> match(now.size(), -1);
    std::vector<TLineRange> parts{{0, old.size(), 0, now.size()}};
    while (!parts.empty()) {
        TLineRange part = parts.back();
        parts.pop_back();
        while (part.OldFirst < part.OldEnd && part.NowFirst < part.NowEnd && old[part.OldFirst] == now[part.NowFirst])
            match[part.NowFirst++] = static_cast<std::ptrdiff_t>(part.OldFirst++);
        while (part.OldFirst < part.OldEnd && part.NowFirst < part.NowEnd && old[part.OldEnd - 1] == now[part.NowEnd - 1])
            match[--part.NowEnd] = static_cast<std::ptrdiff_t>(--part.OldEnd);
        if (part.OldFirst == part.OldEnd || part.NowFirst == part.NowEnd)
            continue;
        const auto anchors = UniqueAnchors(old, now, part);
        if (anchors.empty()) {
            MatchSmallPart(old, now, part, match);
            continue;
        }
        std::size_t oldFrom = part.OldFirst, nowFrom = part.NowFirst;
        for (const auto& [oldAt, nowAt] : anchors) {
            match[nowAt] = static_cast<std::ptrdiff_t>(oldAt);
            parts.push_back({oldFrom, oldAt, nowFrom, nowAt});
            oldFrom = oldAt + 1;
            nowFrom = nowAt + 1;
        }
        parts.push_back({oldFrom, part.OldEnd, nowFrom, part.NowEnd});
    }
    return match;
}

std::string JoinLines(const TStrings& lines, const TLoadedLines& loaded)
{
    std::string text;
    if (lines.Count() == 1 && lines.Length(0) == 0)
        return loaded.LoneBreak ? std::string(BreakText(loaded.Final)) : text;
    const std::size_t count = static_cast<std::size_t>(lines.Count());
    std::vector<std::ptrdiff_t> match;
    if (!loaded.Fingerprints.empty()) {
        std::vector<std::uint32_t> now(count);
        for (std::size_t i = 0; i < count; ++i)
            now[i] = LineFingerprint(lines.View(static_cast<int>(i)));
        match = MatchLoadedLines(loaded.Fingerprints, now);
    }
    // The loaded line each line stands for: itself where it is unchanged; a
    // changed line the loaded line at its place between the unchanged ones.
    std::vector<std::ptrdiff_t> nextMatched(match.size() + 1, static_cast<std::ptrdiff_t>(loaded.Breaks.size()));
    for (std::size_t i = match.size(); i-- > 0;)
        nextMatched[i] = match[i] >= 0 ? match[i] : nextMatched[i + 1];
    std::ptrdiff_t standsFor = 0;
    for (std::size_t i = 0; i < count; ++i) {
        text += lines.View(static_cast<int>(i));
        TLineBreak lineBreak = TLineBreak::None;
        if (i < match.size()) {
            standsFor = match[i] >= 0 ? match[i] : standsFor;
            if (standsFor < nextMatched[i] || match[i] >= 0)
                lineBreak = loaded.Breaks[static_cast<std::size_t>(standsFor)];
            ++standsFor;
        }
        if (i + 1 == count)
            lineBreak = loaded.Final;
        else if (lineBreak == TLineBreak::None)
            lineBreak = loaded.Usual;
        text += BreakText(lineBreak);
    }
    return text;
}

bool SameFile(const std::string& first, const std::string& second)
{
    std::error_code failure;
    return std::filesystem::equivalent(first, second, failure) && !failure;
}

std::string WholeFileName(const std::string& name)
{
    std::error_code failure;
    const std::filesystem::path whole = std::filesystem::absolute(name, failure);
    return failure ? name : whole.lexically_normal().string();
}

bool LooksBinary(std::string_view bytes)
{
    constexpr std::size_t FirstBlock = 8192;
    return bytes.substr(0, std::min(bytes.size(), FirstBlock)).find('\0') != std::string_view::npos;
}

} // namespace vx::shell

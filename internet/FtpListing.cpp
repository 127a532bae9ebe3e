// FTP listing lines.
#include "internet/FtpListing.h"

#include <cctype>

namespace {

struct TField {
    std::string_view text;
    std::size_t end;
};

// The next blank-separated field from pos, or an empty one at the end.
TField NextField(std::string_view line, std::size_t& pos)
{
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
        ++pos;
    std::size_t start = pos;
    while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t')
        ++pos;
    return {line.substr(start, pos - start), pos};
}

bool AllDigits(std::string_view text)
{
    if (text.empty())
        return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

std::optional<std::int64_t> Number(std::string_view text)
{
    if (!AllDigits(text) || text.size() > 18)
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : text)
        value = value * 10 + (c - '0');
    return value;
}

bool IsMonth(std::string_view text)
{
    static constexpr std::string_view kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                                   "jul", "aug", "sep", "oct", "nov", "dec"};
    if (text.size() != 3)
        return false;
    std::string lower;
    for (char c : text)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (auto month : kMonths)
        if (lower == month)
            return true;
    return false;
}

bool IsTimeOrYear(std::string_view text)
{
    auto colon = text.find(':');
    if (colon == std::string_view::npos)
        return AllDigits(text) && text.size() == 4;
    return AllDigits(text.substr(0, colon)) && AllDigits(text.substr(colon + 1));
}

// What follows the single blank after the date: the name keeps its own blanks.
std::string_view NameAfter(std::string_view line, std::size_t end)
{
    if (end < line.size() && (line[end] == ' ' || line[end] == '\t'))
        ++end;
    return line.substr(end);
}

std::optional<TFtpEntry> ParseUnix(std::string_view line)
{
    std::size_t pos = 0;
    TField perms = NextField(line, pos);
    if (perms.text.size() < 10 || std::string_view("-dlbcps").find(perms.text[0]) == std::string_view::npos)
        return std::nullopt;
    std::vector<TField> fields;
    // Owner and group are optional and may hold digits; the date is found by its month.
    for (int i = 0; i < 8 && pos < line.size(); ++i) {
        fields.push_back(NextField(line, pos));
        std::size_t n = fields.size();
        if (n >= 4 && IsMonth(fields[n - 3].text) && AllDigits(fields[n - 2].text)
            && IsTimeOrYear(fields[n - 1].text)) {
            auto size = Number(fields[n - 4].text);
            std::string_view name = NameAfter(line, fields[n - 1].end);
            if (!size || name.empty())
                return std::nullopt;
            TFtpEntry entry;
            entry.Size = *size;
            entry.Name = std::string(name);
            if (perms.text[0] == 'd') {
                entry.Kind = TFtpEntryKind::Directory;
            } else if (perms.text[0] == 'l') {
                entry.Kind = TFtpEntryKind::Link;
                auto arrow = entry.Name.find(" -> ");
                if (arrow != std::string::npos) {
                    entry.LinkTarget = entry.Name.substr(arrow + 4);
                    entry.Name.erase(arrow);
                }
            } else if (perms.text[0] != '-') {
                return std::nullopt;
            }
            if (entry.Name.empty())
                return std::nullopt;
            return entry;
        }
    }
    return std::nullopt;
}

std::optional<TFtpEntry> ParseDos(std::string_view line)
{
    std::size_t pos = 0;
    TField date = NextField(line, pos);
    TField time = NextField(line, pos);
    TField sizeOrDir = NextField(line, pos);
    if (date.text.size() < 8 || date.text[2] != '-' || time.text.size() < 5 || time.text[2] != ':')
        return std::nullopt;
    std::string_view name = line.substr(std::min(pos, line.size()));
    while (!name.empty() && (name.front() == ' ' || name.front() == '\t'))
        name.remove_prefix(1);
    if (name.empty())
        return std::nullopt;
    TFtpEntry entry;
    entry.Name = std::string(name);
    if (sizeOrDir.text == "<DIR>") {
        entry.Kind = TFtpEntryKind::Directory;
        return entry;
    }
    auto size = Number(sizeOrDir.text);
    if (!size)
        return std::nullopt;
    entry.Size = *size;
    return entry;
}

} // namespace

std::optional<TFtpEntry> ParseListLine(std::string_view line)
{
    // Only a whole line end goes: a carriage return alone is part of a name.
    if (!line.empty() && line.back() == '\n') {
        line.remove_suffix(1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
    }
    auto entry = ParseUnix(line);
    if (!entry)
        entry = ParseDos(line);
    if (entry)
        entry->Raw = std::string(line);
    return entry;
}

std::vector<TFtpEntry> ParseListing(const std::vector<std::string>& lines)
{
    std::vector<TFtpEntry> entries;
    for (const auto& line : lines)
        if (auto entry = ParseListLine(line))
            entries.push_back(std::move(*entry));
    return entries;
}

std::vector<std::string> SplitListing(std::string_view text)
{
    std::vector<std::string> lines;
    while (!text.empty()) {
        auto lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        if (lf == std::string_view::npos)
            break;
        text.remove_prefix(lf + 1);
    }
    return lines;
}

bool IsPlainFileName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

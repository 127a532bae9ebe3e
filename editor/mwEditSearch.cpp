// The editor's search object and its shared byte tables.
#include "editor/mwEditSearch.h"

#include "platform/AnsiText.h"

#include <string>

namespace {

bool tableSensitive = false; // the case setting the shared comparison table is built for

void BuildCompTable(std::array<unsigned char, 256>& table, bool sensitive)
{
    for (int c = 0; c < 256; ++c)
        table[static_cast<size_t>(c)] =
            !sensitive && c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : static_cast<unsigned char>(c);
}

bool IsAsciiLetterOrDigit(int c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

} // namespace

std::array<unsigned char, 256>& TmwEditSearch::CompTable()
{
    static std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        BuildCompTable(t, false);
        return t;
    }();
    return table;
}

const std::array<bool, 256>& TmwEditSearch::DelimTable()
{
    static const std::array<bool, 256> table = [] {
        std::array<bool, 256> t{};
        for (int c = 0; c < 256; ++c)
            t[static_cast<size_t>(c)] = c < 0x80 && !IsAsciiLetterOrDigit(c);
        return t;
    }();
    return table;
}

void TmwEditSearch::SetSensitive(bool value)
{
    sensitive_ = value;
    if (value == tableSensitive)
        return;
    tableSensitive = value;
    BuildCompTable(CompTable(), value);
}

bool TmwEditSearch::IsWholeWord(std::string_view text, std::size_t matchLast, std::size_t patternLength) const
{
    if (patternLength == 0 || matchLast >= text.size() || patternLength > matchLast + 1)
        return false;
    std::size_t first = matchLast + 1 - patternLength;
    if (first > 0 && !IsDelimiter(static_cast<unsigned char>(text[first - 1])))
        return false;
    if (matchLast + 1 == text.size())
        return true;
    return IsDelimiter(static_cast<unsigned char>(text[matchLast + 1]));
}

std::size_t TmwEditSearch::Find(std::string_view text, std::string_view pattern, std::size_t from,
                                bool wholeWord) const
{
    if (pattern.empty())
        return std::string_view::npos;
    // Folding keeps each character's length: offsets in the folded text are offsets in the text.
    const std::string foldedText = sensitive_ ? std::string() : vx::AnsiLowerCase(text);
    const std::string foldedPattern = sensitive_ ? std::string() : vx::AnsiLowerCase(pattern);
    const std::string_view haystack = sensitive_ ? text : std::string_view(foldedText);
    const std::string_view needle = sensitive_ ? pattern : std::string_view(foldedPattern);
    for (std::size_t at = from; (at = haystack.find(needle, at)) != std::string_view::npos; ++at)
        if (!wholeWord || IsWholeWord(text, at + needle.size() - 1, needle.size()))
            return at;
    return std::string_view::npos;
}

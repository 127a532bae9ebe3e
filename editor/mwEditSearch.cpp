// The editor's search object and its shared byte tables.
#include "editor/mwEditSearch.h"

#include "platform/AnsiText.h"

namespace {

bool tableSensitive = false; // the case setting the shared comparison table is built for

void BuildCompTable(std::array<unsigned char, 256>& table, bool sensitive)
{
    for (int c = 0; c < 256; ++c)
        table[static_cast<size_t>(c)] =
            sensitive ? static_cast<unsigned char>(c) : vx::AnsiLower(static_cast<unsigned char>(c));
}

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
            t[static_cast<size_t>(c)] = !(vx::IsAnsiLetter(static_cast<unsigned char>(c)) || (c >= '0' && c <= '9'));
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

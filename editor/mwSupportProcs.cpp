// Tab expansion in its three equivalent forms, and the character scans.
#include "editor/mwSupportProcs.h"

#include <algorithm>

TCharSet MakeCharSet(std::string_view chars)
{
    TCharSet set;
    for (char c : chars)
        set.set(static_cast<unsigned char>(c));
    return set;
}

TCharSet CharRangeSet(unsigned char first, unsigned char last)
{
    TCharSet set;
    for (unsigned c = first; c <= last; ++c)
        set.set(c);
    return set;
}

bool GetHasTabs(std::string_view line, int& charsBefore)
{
    auto pos = line.find('\t');
    if (pos == std::string_view::npos) {
        charsBefore = static_cast<int>(line.size());
        return false;
    }
    charsBefore = static_cast<int>(pos);
    return true;
}

namespace {

// The column after a tab at column c; the three forms agree for every width.
struct OneSpace {
    static std::size_t Next(std::size_t c, std::size_t) { return c + 1; }
};
struct MaskForm {
    static std::size_t Next(std::size_t c, std::size_t w) { return (c + w) & ~(w - 1); }
};
struct RemainderForm {
    static std::size_t Next(std::size_t c, std::size_t w) { return c + w - c % w; }
};

template <class Form> std::string Expand(const std::string& line, int tabWidth)
{
    if (line.find('\t') == std::string::npos)
        return line;
    auto w = static_cast<std::size_t>(tabWidth);
    std::size_t length = 0;
    for (char c : line)
        length = c == '\t' ? Form::Next(length, w) : length + 1;
    std::string result(length, ' ');
    std::size_t col = 0;
    for (char c : line) {
        if (c == '\t')
            col = Form::Next(col, w);
        else
            result[col++] = c;
    }
    return result;
}

bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

} // namespace

TConvertTabsProc GetBestConvertTabsProc(int tabWidth)
{
    if (tabWidth < 2)
        return &Expand<OneSpace>;
    if (IsPowerOfTwo(tabWidth) && tabWidth <= 65536)
        return &Expand<MaskForm>;
    return &Expand<RemainderForm>;
}

std::string ConvertTabs(const std::string& line, int tabWidth)
{
    return GetBestConvertTabsProc(tabWidth)(line, tabWidth);
}

namespace {

// The display column (0-based) after character c standing at display column col.
std::size_t NextDisplay(std::size_t col, char c, int tabWidth)
{
    if (c != '\t')
        return col + 1;
    if (tabWidth < 2)
        return col + 1;
    const auto w = static_cast<std::size_t>(tabWidth);
    return col + w - col % w;
}

} // namespace

int CharToDisplayColumn(std::string_view line, int column, int tabWidth)
{
    const std::size_t chars = static_cast<std::size_t>(std::max(column, 1) - 1);
    const std::size_t within = std::min(chars, line.size());
    // Only a tab before the column moves it.
    if (line.substr(0, within).find('\t') == std::string_view::npos)
        return column;
    std::size_t col = 0;
    for (std::size_t i = 0; i < within; ++i)
        col = NextDisplay(col, line[i], tabWidth);
    return static_cast<int>(col + (chars - within)) + 1;
}

int DisplayToCharColumn(std::string_view line, int displayColumn, int tabWidth)
{
    const std::size_t target = static_cast<std::size_t>(std::max(displayColumn, 1) - 1);
    std::size_t col = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (col >= target)
            return static_cast<int>(i) + 1;
        const std::size_t next = NextDisplay(col, line[i], tabWidth);
        if (next > target)
            return static_cast<int>(target - col <= next - target ? i : i + 1) + 1;
        col = next;
    }
    return static_cast<int>(line.size() + (target - col)) + 1;
}

int StrScanForCharInSet(std::string_view s, int start, const TCharSet& set)
{
    if (start < 1 || start > static_cast<int>(s.size()))
        return 0;
    for (int i = start; i <= static_cast<int>(s.size()); ++i)
        if (InSet(set, s[static_cast<size_t>(i - 1)]))
            return i;
    return 0;
}

int StrRScanForCharInSet(std::string_view s, int start, const TCharSet& set)
{
    if (start < 1 || start > static_cast<int>(s.size()))
        return 0;
    for (int i = start; i >= 1; --i)
        if (InSet(set, s[static_cast<size_t>(i - 1)]))
            return i;
    return 0;
}

std::size_t StrScanForLineBreak(std::string_view text, std::size_t from)
{
    auto pos = text.find_first_of("\r\n", from);
    return pos == std::string_view::npos ? text.size() : pos;
}

// Tab expansion in its three equivalent forms, where characters show, and
// the character scans.
#include "editor/mwSupportProcs.h"

#include "platform/Utf8.h"

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

// Where the first cluster of text, which starts at cell col, begins: cell
// 0 is a line's start, and anywhere else the zero-width characters text
// begins with join the character before it.
std::size_t FirstCluster(std::string_view text, std::size_t col)
{
    return col > 0 ? vx::utf8::SkipZeroWidth(text, 0) : 0;
}

// Appends line to result with its tabs expanded, line starting at cell col.
template <class Form> void ExpandInto(std::string_view line, std::size_t col, int tabWidth, std::string& result)
{
    const auto w = static_cast<std::size_t>(tabWidth);
    const std::size_t first = FirstCluster(line, col);
    result.append(line.substr(0, first));
    for (std::size_t i = first; i < line.size();) {
        if (line[i] == '\t') {
            const std::size_t next = Form::Next(col, w);
            result.append(next - col, ' ');
            col = next;
            ++i;
            continue;
        }
        std::size_t length = 0;
        col += static_cast<std::size_t>(vx::utf8::CellsAt(line, i, &length));
        result.append(line.substr(i, length));
        i += length;
    }
}

template <class Form> std::string Expand(const std::string& line, int tabWidth)
{
    if (line.find('\t') == std::string::npos)
        return line;
    std::string result;
    result.reserve(line.size());
    ExpandInto<Form>(line, 0, tabWidth, result);
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

void AppendTabsExpanded(std::string_view text, std::size_t startCell, int tabWidth, std::string& out)
{
    if (text.find('\t') == std::string_view::npos)
        out.append(text);
    else if (tabWidth < 2)
        ExpandInto<OneSpace>(text, startCell, tabWidth, out);
    else if (IsPowerOfTwo(tabWidth) && tabWidth <= 65536)
        ExpandInto<MaskForm>(text, startCell, tabWidth, out);
    else
        ExpandInto<RemainderForm>(text, startCell, tabWidth, out);
}

std::size_t NextTabStop(std::size_t col, int tabWidth)
{
    if (tabWidth < 2)
        return col + 1;
    const auto w = static_cast<std::size_t>(tabWidth);
    return col + w - col % w;
}

namespace {

// The cell after the cluster at i of text (a tab with the zero-width
// characters after it too), which starts at cell col, and its length.
std::size_t NextDisplay(std::string_view text, std::size_t i, std::size_t col, int tabWidth, std::size_t& length)
{
    if (text[i] == '\t') {
        length = vx::utf8::SkipZeroWidth(text, i + 1) - i;
        return NextTabStop(col, tabWidth);
    }
    return col + static_cast<std::size_t>(vx::utf8::CellsAt(text, i, &length));
}

// Whether text holds nothing that shows in other than one cell a byte.
bool OneCellAByte(std::string_view text)
{
    return std::none_of(text.begin(), text.end(),
                        [](char c) { return c == '\t' || static_cast<unsigned char>(c) >= 0x80; });
}

} // namespace

std::size_t ColumnAfter(std::string_view text, std::size_t col, int tabWidth)
{
    for (std::size_t i = FirstCluster(text, col), length = 0; i < text.size(); i += length)
        col = NextDisplay(text, i, col, tabWidth, length);
    return col;
}

bool FindDisplayColumn(std::string_view text, std::size_t& col, std::size_t target, int tabWidth,
                       std::size_t& offset)
{
    for (std::size_t i = FirstCluster(text, col), length = 0; i < text.size(); i += length) {
        if (col >= target) {
            offset = i;
            return true;
        }
        const std::size_t next = NextDisplay(text, i, col, tabWidth, length);
        if (next > target) {
            offset = target - col <= next - target ? i : i + length;
            col = offset == i ? col : next;
            return true;
        }
        col = next;
    }
    offset = text.size();
    return false;
}

int CharToDisplayColumn(std::string_view line, int column, int tabWidth)
{
    const std::size_t chars = static_cast<std::size_t>(std::max(column, 1) - 1);
    const std::size_t within = std::min(chars, line.size());
    const std::string_view before = line.substr(0, within);
    if (OneCellAByte(before))
        return column;
    return static_cast<int>(ColumnAfter(before, 0, tabWidth) + (chars - within)) + 1;
}

int DisplayToCharColumn(std::string_view line, int displayColumn, int tabWidth)
{
    const std::size_t target = static_cast<std::size_t>(std::max(displayColumn, 1) - 1);
    std::size_t col = 0;
    std::size_t offset = 0;
    if (FindDisplayColumn(line, col, target, tabWidth, offset))
        return static_cast<int>(offset) + 1;
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

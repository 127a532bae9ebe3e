// Text procedures of the editor: integer helpers, tab expansion, character-set
// scans and the line-break scan.
#pragma once

#include <bitset>
#include <cstddef>
#include <string>
#include <string_view>

// A set of 8-bit characters, indexed by the unsigned character code.
using TCharSet = std::bitset<256>;

// The set of the characters in chars.
TCharSet MakeCharSet(std::string_view chars);
// The set of the character codes first..last.
TCharSet CharRangeSet(unsigned char first, unsigned char last);
inline bool InSet(const TCharSet& set, char c) { return set[static_cast<unsigned char>(c)]; }

inline int Max(int a, int b) { return a > b ? a : b; }
inline int Min(int a, int b) { return a < b ? a : b; }
// lo when x < lo, else hi when x > hi, else x.
inline int MinMax(int x, int lo, int hi) { return x < lo ? lo : (x > hi ? hi : x); }
inline void Swap(int& a, int& b)
{
    int t = a;
    a = b;
    b = t;
}

// True when line holds a tab; charsBefore is then the number of characters before the first.
bool GetHasTabs(std::string_view line, int& charsBefore);

// Expands each tab to the next multiple of tabWidth columns (one space when
// tabWidth is below 2); a character takes the cells utf8::CellsAt gives its
// cluster, and a zero-width character after another none.
// A line without tabs comes back as it was.
using TConvertTabsProc = std::string (*)(const std::string& line, int tabWidth);
TConvertTabsProc GetBestConvertTabsProc(int tabWidth);
std::string ConvertTabs(const std::string& line, int tabWidth);
// Appends text to out with its tabs expanded as ConvertTabs expands them in
// a line where text starts at cell startCell (0-based): a part of a line
// expands as it does in the whole line. Cell 0 is the line's start.
void AppendTabsExpanded(std::string_view text, std::size_t startCell, int tabWidth, std::string& out);
// The cell (0-based) after a tab standing at cell col.
std::size_t NextTabStop(std::size_t col, int tabWidth);
// The cell (0-based) after text, when text starts at cell col (0 at the
// line's start; elsewhere zero-width characters it begins with take none).
std::size_t ColumnAfter(std::string_view text, std::size_t col, int tabWidth);
// Where in text, which starts at cell col, the boundary between clusters
// nearest to cell target lies (a cell inside a tab's or a wide character's
// cells goes to whichever side is nearer; zero-width characters go with the
// character before them): true with its offset, and col moved to its cell;
// false when text ends before target, col then being the cell after text.
bool FindDisplayColumn(std::string_view text, std::size_t& col, std::size_t target, int tabWidth,
                       std::size_t& offset);
// Where column (1-based byte position) of line shows once its tabs are
// expanded as ConvertTabs expands them; columns past the end go on one cell each.
int CharToDisplayColumn(std::string_view line, int column, int tabWidth);
// The column (1-based byte position) of the boundary between clusters nearest
// to display column (1-based) of line; past the end, one column a cell.
int DisplayToCharColumn(std::string_view line, int displayColumn, int tabWidth);

// 1-based position of the first character at or after start that is in set;
// 0 when start is outside 1..length or there is none.
int StrScanForCharInSet(std::string_view s, int start, const TCharSet& set);
// The same, searching backwards from start.
int StrRScanForCharInSet(std::string_view s, int start, const TCharSet& set);

// Index of the first CR or LF at or after from, or the text's length when
// there is none. A NUL byte is an ordinary character of the text.
std::size_t StrScanForLineBreak(std::string_view text, std::size_t from = 0);

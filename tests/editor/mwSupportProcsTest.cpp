// Text procedures: tab expansion in all three forms, character-set scans, line breaks.
#include "editor/mwSupportProcs.h"

#include <gtest/gtest.h>

TEST(SupportProcs, IntegerHelpers)
{
    EXPECT_EQ(MinMax(-3, 0, 10), 0);
    EXPECT_EQ(MinMax(13, 0, 10), 10);
    EXPECT_EQ(MinMax(7, 0, 10), 7);
    int a = 1, b = 2;
    Swap(a, b);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 1);
}

TEST(SupportProcs, GetHasTabs)
{
    int before = -1;
    EXPECT_TRUE(GetHasTabs("ab\tc\t", before));
    EXPECT_EQ(before, 2);
    EXPECT_FALSE(GetHasTabs("abc", before));
    EXPECT_TRUE(GetHasTabs("\t", before));
    EXPECT_EQ(before, 0);
}

TEST(SupportProcs, ConvertTabsExamples)
{
    EXPECT_EQ(ConvertTabs("ab\tc", 8), "ab      c");
    EXPECT_EQ(ConvertTabs("\tx\t", 3), "   x  ");
    EXPECT_EQ(ConvertTabs("a\tb", 1), "a b");
    EXPECT_EQ(ConvertTabs("a\tb", 0), "a b");
    EXPECT_EQ(ConvertTabs("a\tb", -4), "a b");
    EXPECT_EQ(ConvertTabs("no tabs", 4), "no tabs");
    EXPECT_EQ(ConvertTabs("", 4), "");
    EXPECT_EQ(ConvertTabs("abcd\t", 4), "abcd    ");
    EXPECT_EQ(ConvertTabs(std::string("a\0\tb", 4), 4), std::string("a\0  b", 5));
}

// The mask form (powers of two) and the remainder form must agree with the
// plain definition for every width and every column.
TEST(SupportProcs, AllFormsAgreeWithTheDefinition)
{
    const std::string lines[] = {"\t", "a\t", "abc\tde\t\tf", "\t\t\t", "xxxxxxx\ty", "12345678\t9"};
    for (int width : {2, 3, 4, 5, 7, 8, 16, 64, 65536, 100000}) {
        for (const auto& line : lines) {
            std::string expected;
            for (char c : line) {
                if (c == '\t')
                    expected.append(width - expected.size() % width, ' ');
                else
                    expected += c;
            }
            EXPECT_EQ(GetBestConvertTabsProc(width)(line, width), expected) << width << " " << line;
        }
    }
    EXPECT_NE(GetBestConvertTabsProc(4), GetBestConvertTabsProc(6));
    EXPECT_NE(GetBestConvertTabsProc(1), GetBestConvertTabsProc(6));
}

TEST(SupportProcs, CharSetScans)
{
    TCharSet digits = CharRangeSet('0', '9');
    EXPECT_EQ(StrScanForCharInSet("ab1c2", 1, digits), 3);
    EXPECT_EQ(StrScanForCharInSet("ab1c2", 4, digits), 5);
    EXPECT_EQ(StrScanForCharInSet("ab1c2", 3, digits), 3);
    EXPECT_EQ(StrScanForCharInSet("abc", 1, digits), 0);
    EXPECT_EQ(StrScanForCharInSet("a1", 0, digits), 0);
    EXPECT_EQ(StrScanForCharInSet("a1", 3, digits), 0);
    EXPECT_EQ(StrScanForCharInSet("", 1, digits), 0);
    EXPECT_EQ(StrRScanForCharInSet("1bc2e", 4, digits), 4);
    EXPECT_EQ(StrRScanForCharInSet("1bc2e", 3, digits), 1);
    EXPECT_EQ(StrRScanForCharInSet("1bc2e", 6, digits), 0);
    EXPECT_EQ(StrRScanForCharInSet("abc", 3, digits), 0);
    TCharSet high = MakeCharSet("\xE9\xFF");
    EXPECT_EQ(StrScanForCharInSet("ab\xFF", 1, high), 3);
}

TEST(SupportProcs, LineBreakScan)
{
    EXPECT_EQ(StrScanForLineBreak("abc\r\nd"), 3u);
    EXPECT_EQ(StrScanForLineBreak("abc\nd", 4), 5u);
    EXPECT_EQ(StrScanForLineBreak(std::string_view("a\0b\n", 4)), 3u);
    EXPECT_EQ(StrScanForLineBreak("abc"), 3u);
    EXPECT_EQ(StrScanForLineBreak("abc", 10), 3u);
}

TEST(SupportProcs, DisplayColumnsOfLinesWithTabs)
{
    struct Row {
        const char* line;
        int tabWidth;
        int column;
        int display;
    };
    const Row rows[] = {
        {"abc", 8, 2, 2},     {"abc", 8, 9, 9},    {"\tab", 8, 1, 1},   {"\tab", 8, 2, 9},
        {"\tab", 8, 4, 11},   {"\tab", 8, 6, 13},  {"a\tb\tc", 4, 3, 5}, {"a\tb\tc", 4, 5, 9},
        {"\t\t", 0, 3, 3},    {"\t\t", 1, 3, 3},   {"x\t", 3, 3, 4},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(CharToDisplayColumn(r.line, r.column, r.tabWidth), r.display) << r.line << " " << r.column;
        EXPECT_EQ(DisplayToCharColumn(r.line, r.display, r.tabWidth), r.column) << r.line << " " << r.display;
        // Agrees with what painting shows.
        if (r.column <= static_cast<int>(std::string(r.line).size()) && r.line[r.column - 1] != '\t') {
            EXPECT_EQ(ConvertTabs(r.line, r.tabWidth)[static_cast<size_t>(r.display - 1)], r.line[r.column - 1]);
        }
    }
    // Inside a tab's cells: the nearer side.
    EXPECT_EQ(DisplayToCharColumn("\tab", 4, 8), 1);
    EXPECT_EQ(DisplayToCharColumn("\tab", 6, 8), 2);
}

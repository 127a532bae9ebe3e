#include "controls/common/DateUtil.h"
#include "controls/common/FileUtil.h"
#include "localisation/FormatSettings.h"
#include "platform/Exception.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace vx;

namespace {

// Sets the short date format and separator for one test and restores them.
class DateFormatScope {
public:
    DateFormatScope(const std::string& format, char separator) : saved_(FormatSettings())
    {
        FormatSettings().ShortDateFormat = format;
        FormatSettings().DateSeparator = separator;
    }
    ~DateFormatScope() { FormatSettings() = saved_; }

private:
    TFormatSettings saved_;
};

} // namespace

TEST(DateUtil, CalendarArithmetic)
{
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_EQ(DaysPerMonth(2024, 2), 29);
    EXPECT_EQ(DaysPerMonth(2023, 2), 28);
    EXPECT_EQ(DaysPerMonth(2023, 12), 31);
    EXPECT_FALSE(ValidDate(0, 1, 1));
    EXPECT_FALSE(ValidDate(10000, 1, 1));
    EXPECT_FALSE(ValidDate(2023, 2, 29));
    EXPECT_FALSE(ValidDate(2023, 13, 1));
    EXPECT_TRUE(ValidDate(9999, 12, 31));
}

TEST(DateUtil, DateValuesCountFromDecember1899)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
    for (TDateTime v : {-693593.0, -1.0, 0.0, 59.0, 60.0, 36526.0, 36585.0, 2958465.0}) {
        int y, m, d;
        DecodeDate(v, y, m, d);
        EXPECT_EQ(EncodeDate(y, m, d), v) << v;
    }
    EXPECT_TRUE(ValidDate(36526.75));
    EXPECT_FALSE(ValidDate(2958466.0));
    EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
}

TEST(DateUtil, ExpandYearPutsTwoDigitYearsInTheCurrentCenturyUnlessPastTheWindow)
{
    struct Row {
        int year, now, expanded;
    };
    for (const Row& row : {Row{5, 2026, 2005}, Row{56, 2026, 2056}, Row{57, 2026, 2057}, Row{99, 2026, 2099},
                           Row{0, 2026, 2000}, Row{5, 1999, 2005}, Row{45, 1999, 1945}, Row{29, 1999, 2029},
                           Row{30, 1999, 1930}, Row{10, 2080, 2110}, Row{11, 2080, 2011}, Row{100, 2026, 100},
                           Row{1850, 2026, 1850}})
        EXPECT_EQ(ExpandYear(row.year, row.now), row.expanded) << row.year << " in " << row.now;
}

TEST(DateUtil, ScanDateReadsNumbersInTheDateOrder)
{
    DateFormatScope scope("dd/mm/yyyy", '/');
    int y = 0, m = 0, d = 0;
    size_t pos = 0;
    ASSERT_TRUE(ScanDate("1/2", "dd/mm/yyyy", pos, y, m, d));
    EXPECT_EQ(d, 1);
    EXPECT_EQ(m, 2);
    EXPECT_EQ(y, CurrentYear());

    pos = 0;
    ASSERT_TRUE(ScanDate("  3/4/05 ", "mm/dd/yy", pos, y, m, d));
    EXPECT_EQ(m, 3);
    EXPECT_EQ(d, 4);
    EXPECT_EQ(y, ExpandYear(5));

    pos = 0;
    ASSERT_TRUE(ScanDate("2024/02/29", "yyyy/mm/dd", pos, y, m, d));
    EXPECT_EQ(y, 2024);
    EXPECT_EQ(d, 29);

    for (const char* bad : {"", "12", "1/2/3/4", "31/2/2024", "1/2x", "12345/1/1", "a/b"}) {
        pos = 0;
        EXPECT_FALSE(ScanDate(bad, "dd/mm/yyyy", pos, y, m, d)) << bad;
    }
}

TEST(DateUtil, StrToDateFmtByFieldPositionsAndMonthNames)
{
    DateFormatScope scope("dd.MM.yyyy", '.');
    EXPECT_EQ(StrToDateFmt("DD.MM.YYYY", "05.02.2026"), EncodeDate(2026, 2, 5));
    EXPECT_EQ(StrToDateFmt("DD-MMM-YYYY", "05-feb-2026"), EncodeDate(2026, 2, 5));
    EXPECT_EQ(StrToDateFmt("MM/YYYY", "03/2020"), EncodeDate(2020, 3, 1)) << "no day run gives day 1";
    EXPECT_EQ(StrToDateFmt("DD.MM.YY", "05.02.70"), EncodeDate(ExpandYear(70), 2, 5));
    EXPECT_EQ(StrToDateFmt("DD.MM.YYYY", "5.2.2026"), EncodeDate(2026, 2, 5)) << "falls back to scanning";
    EXPECT_EQ(StrToDateFmt("DD.MM.YYYY", "   "), 0.0);
    try {
        StrToDateFmt("DD.MM.YYYY", "31.02.2026");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'31.02.2026' is not a valid date");
    }
    EXPECT_EQ(StrToDateFmtDef("DD.MM.YYYY", "xx", 1234.75), 1234.0);
}

TEST(DateUtil, DefaultFormatsFollowTheDateOrder)
{
    {
        DateFormatScope scope("M/d/yyyy", '/');
        EXPECT_EQ(DefDateFormat(true), "MM/DD/YYYY");
        EXPECT_EQ(DefDateFormat(false), "MM/DD/YY");
        EXPECT_EQ(DefDateMask('_', true), "!99/99/9999;1;_");
    }
    {
        DateFormatScope scope("yyyy-MM-dd", '-');
        EXPECT_EQ(DefDateFormat(true), "YYYY/MM/DD");
        EXPECT_EQ(DefDateMask(' ', true), "!9999/99/99;1; ");
        EXPECT_EQ(DefDateMask(' ', false), "!99/99/99;1; ");
    }
    EXPECT_EQ(GetDateOrder("ggg e/m/d"), TDateOrder::doYMD);
    EXPECT_EQ(GetDateOrder("--"), TDateOrder::doDMY);
}

TEST(FileUtil, DirExistsOnlyForFolders)
{
    vx::test::TempDir dir;
    vx::test::writeFile(dir.file("f.txt"), "x");
    EXPECT_TRUE(DirExists(dir.path().string()));
    EXPECT_FALSE(DirExists(dir.file("f.txt")));
    EXPECT_FALSE(DirExists(dir.file("missing")));
    EXPECT_FALSE(DirExists(""));
}

// The month calendar: the first day's cell by start of week, stepping months
// and years across short months and leap days, date parts, keys and clicks.
#include "controls/edits/RxCalendar.h"
#include "editor/qt/SysColors.h"
#include "tests/controls/FlatTestSupport.h"

#include <gtest/gtest.h>

using namespace vx;
using namespace vx::test;

TEST(CalendarArithmetic, DayOfWeekCountsFromSunday)
{
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7);
    EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 7)), 2);
    EXPECT_EQ(DayOfWeek(EncodeDate(1800, 1, 1)), 4);
}

TEST(CalendarArithmetic, FirstDayAlwaysInRowOne)
{
    // June 2026 starts on a Monday, February 2026 on a Sunday, August 2026 on a Saturday.
    EXPECT_EQ(CalendarMonthOffset(2026, 6, Mon), 1);
    EXPECT_EQ(CalendarMonthOffset(2026, 2, Mon), -5);
    EXPECT_EQ(CalendarMonthOffset(2026, 2, Sun), 1);
    EXPECT_EQ(CalendarMonthOffset(2026, 8, Sun), -5);

    TRxCalendar c;
    c.SetStartOfWeek(Mon);
    c.SetCalendarDate(EncodeDate(2026, 6, 1));
    EXPECT_EQ(c.SelectedCell(), QPoint(0, 1));
    c.SetCalendarDate(EncodeDate(2026, 2, 1));
    EXPECT_EQ(c.SelectedCell(), QPoint(6, 1));
    EXPECT_EQ(c.CellText(6, 1), "1");
    EXPECT_EQ(c.CellText(5, 1), "");
    EXPECT_EQ(c.CellText(0, 0), "Mon");
    EXPECT_EQ(c.CellText(6, 0), "Sun");
    EXPECT_TRUE(c.IsWeekend(6));
    EXPECT_FALSE(c.IsWeekend(0));

    c.SetStartOfWeek(Sun);
    c.SetCalendarDate(EncodeDate(2026, 8, 1));
    EXPECT_EQ(c.SelectedCell(), QPoint(6, 1));
    EXPECT_EQ(c.CellText(0, 0), "Sun");
    EXPECT_TRUE(c.IsWeekend(0));
    EXPECT_EQ(c.CellDay(1, 6), 31);
}

TEST(CalendarArithmetic, MonthAndYearSteps)
{
    EXPECT_EQ(StepMonth(EncodeDate(2026, 1, 31), 1), EncodeDate(2026, 2, 28));
    EXPECT_EQ(StepMonth(EncodeDate(2024, 1, 31), 1), EncodeDate(2024, 2, 29));
    EXPECT_EQ(StepMonth(EncodeDate(2026, 1, 15), -1), EncodeDate(2025, 12, 15));
    EXPECT_EQ(StepMonth(EncodeDate(2025, 12, 31), 1), EncodeDate(2026, 1, 31));
    EXPECT_EQ(StepYear(EncodeDate(2004, 2, 29), 1), EncodeDate(2005, 2, 28));
    EXPECT_EQ(StepYear(EncodeDate(2004, 2, 29), -4), EncodeDate(2000, 2, 28));
    EXPECT_EQ(StepMonth(EncodeDate(9999, 12, 5), 1), EncodeDate(9999, 12, 5));
}

TEST(RxCalendar, DateParts)
{
    TRxCalendar c;
    EXPECT_TRUE(c.UseCurrentDate());
    EXPECT_EQ(c.CalendarDate(), Date());
    int changes = 0;
    c.OnChange = [&](QObject*) { ++changes; };
    c.SetCalendarDate(EncodeDate(2004, 2, 29));
    c.SetMonth(13);
    c.SetDay(0);
    c.SetDay(30);
    EXPECT_EQ(c.CalendarDate(), EncodeDate(2004, 2, 29));
    EXPECT_EQ(changes, 1);
    c.SetYear(2005);
    EXPECT_EQ(c.CalendarDate(), EncodeDate(2005, 2, 28));
    EXPECT_FALSE(c.UseCurrentDate());
    c.SetDay(31);
    EXPECT_EQ(c.Day(), 28);
    c.SetMonth(1);
    c.SetDay(31);
    c.SetMonth(4);
    EXPECT_EQ(c.CalendarDate(), EncodeDate(2005, 4, 30));
    c.NextYear();
    c.PrevMonth();
    EXPECT_EQ(c.CalendarDate(), EncodeDate(2006, 3, 30));
}

TEST(RxCalendar, KeysStepDays)
{
    TRxCalendar c;
    c.SetCalendarDate(EncodeDate(2026, 3, 1));
    KeyDown(c, Qt::Key_Left);
    EXPECT_EQ(c.CalendarDate(), EncodeDate(2026, 2, 28));
    KeyDown(c, Qt::Key_Right);
    KeyDown(c, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(c.CalendarDate(), EncodeDate(2026, 3, 2));
    KeyDown(c, Qt::Key_Down);
    EXPECT_EQ(c.CalendarDate(), EncodeDate(2026, 3, 9));
    KeyDown(c, Qt::Key_T, Qt::NoModifier, "t");
    EXPECT_EQ(c.CalendarDate(), Date());
    c.SetReadOnly(true);
    KeyDown(c, Qt::Key_Left);
    EXPECT_EQ(c.CalendarDate(), Date());
}

TEST(RxCalendar, ClicksSelectOnlyDays)
{
    TRxCalendar c;
    c.resize(7 * 21 + 6, 7 * 15 + 6);
    c.SetStartOfWeek(Mon);
    c.SetCalendarDate(EncodeDate(2026, 2, 10));
    // Row 1, column 0 is empty in February 2026.
    Click(c, c.CellRect(0, 1).center());
    EXPECT_EQ(c.Day(), 10);
    Click(c, c.CellRect(6, 1).center());
    EXPECT_EQ(c.Day(), 1);
    Click(c, c.CellRect(2, 3).center());
    EXPECT_EQ(c.Day(), 11);
    Click(c, c.CellRect(3, 0).center());
    EXPECT_EQ(c.Day(), 11);
}

TEST(RxCalendar, ColumnsShareTheWidthLessTheVerticalLines)
{
    TRxCalendar grid;
    grid.resize(181, 118);
    EXPECT_EQ(grid.CellRect(6, 6), QRect(6 * 26, 6 * 17, 25, 16));
    // The borderless calendar has no lines between columns: seven equal columns.
    TLocCalendar plain;
    plain.resize(175, 118);
    EXPECT_EQ(plain.CellRect(6, 6), QRect(150, 6 * 17, 25, 16));
    EXPECT_EQ(plain.CellRect(1, 1).left(), 25);
}

TEST(RxCalendar, GridLinesFillTheGapsBetweenCells)
{
    TRxCalendar grid;
    grid.resize(181, 118);
    const QImage full = Render(grid);
    const QRect first = grid.CellRect(0, 1);
    EXPECT_EQ(PixelAt(full, first.right() + 1, first.center().y()), ColorToRGB(clBtnFace)) << "a line between columns";
    EXPECT_EQ(PixelAt(full, first.center().x(), first.bottom() + 1), ColorToRGB(clBtnFace)) << "a line between rows";

    // The borderless calendar draws one line only, under the day names.
    TLocCalendar plain;
    plain.resize(175, 118);
    const QImage loc = Render(plain);
    const int under = plain.CellRect(0, 0).bottom() + 1;
    EXPECT_EQ(PixelAt(loc, 10, under), ColorToRGB(clBtnShadow));
    EXPECT_NE(PixelAt(loc, 10, plain.CellRect(0, 1).bottom() + 1), ColorToRGB(clBtnShadow));
}

// TRxCalendar: a month grid with a row of day names, and TLocCalendar, its
// borderless variant inside the drop-down calendar and the date dialog. The
// calendar arithmetic is plain functions.
#pragma once

#include "controls/common/Events.h"
#include "controls/common/DateUtil.h"
#include "editor/Colors.h"

#include <QWidget>

#include <string>

class QPainter;

enum TDayOfWeek { Sun = 0, Mon, Tue, Wed, Thu, Fri, Sat };
// A set of days: bit (1 << day).
using TDaysOfWeek = unsigned;
constexpr TDaysOfWeek DayBit(TDayOfWeek day) { return 1u << day; }

namespace vx {

// Sunday 1 ... Saturday 7.
int DayOfWeek(TDateTime date);
// Day number of the first cell of row 1 less one column: the 1st always lies in row 1.
int CalendarMonthOffset(int year, int month, TDayOfWeek startOfWeek);
// The date one month on or back, the day cut to the length of the month reached.
TDateTime StepMonth(TDateTime date, int delta);
// The date one year on or back; 29 February becomes 28 February first.
TDateTime StepYear(TDateTime date, int delta);

} // namespace vx

class TRxCalendar : public QWidget {
public:
    explicit TRxCalendar(QWidget* parent = nullptr);

    vx::TDateTime CalendarDate() const { return date_; }
    void SetCalendarDate(vx::TDateTime value);
    int Day() const;
    int Month() const;
    int Year() const;
    // Values out of range are ignored; a month change cuts the day to the month's length.
    void SetDay(int value);
    void SetMonth(int value);
    // 29 February in a year without one becomes 28 February.
    void SetYear(int value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }
    TDayOfWeek StartOfWeek() const { return startOfWeek_; }
    void SetStartOfWeek(TDayOfWeek value);
    bool UseCurrentDate() const { return useCurrentDate_; }
    void SetUseCurrentDate(bool value);
    TColor WeekendColor() const { return weekendColor_; }
    void SetWeekendColor(TColor value);
    TDaysOfWeek Weekends() const { return weekends_; }
    void SetWeekends(TDaysOfWeek value);

    void PrevMonth();
    void NextMonth();
    void PrevYear();
    void NextYear();

    // Day names in row 0, day numbers (or "") below.
    std::string CellText(int col, int row) const;
    // The day number of a cell, 0 for the name row and empty cells.
    int CellDay(int col, int row) const;
    bool IsWeekend(int col) const;
    int MonthOffset() const { return monthOffset_; }
    QPoint SelectedCell() const { return selected_; }
    QRect CellRect(int col, int row) const;

    vx::TNotifyEvent OnChange;
    // A click on a day cell (after the day was taken).
    vx::TNotifyEvent OnDayClick;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    // The framed cell of today's date.
    virtual bool MarkToday() const { return false; }
    // The colour of the day-name row.
    virtual QColor FixedColor() const;
    // Lines between the columns take a pixel of each but the last.
    virtual bool VerticalLines() const { return true; }
    // Draws the grid lines into the pixel gaps between the cells.
    virtual void PaintLines(QPainter& p) const;

private:
    void ChangeDate(vx::TDateTime date);
    void UpdateCalendar();

    vx::TDateTime date_;
    bool readOnly_ = false;
    TDayOfWeek startOfWeek_ = Mon;
    bool useCurrentDate_ = true;
    TColor weekendColor_ = clRed;
    TDaysOfWeek weekends_ = DayBit(Sun);
    int monthOffset_ = 0;
    QPoint selected_;
};

// The calendar inside the drop-down and the dialog: borderless, in its
// parent's colour, never focused (keys come from its owner), today framed.
class TLocCalendar : public TRxCalendar {
public:
    explicit TLocCalendar(QWidget* parent = nullptr);
    // Keys handed on by the owner.
    void HandleKey(QKeyEvent* e) { keyPressEvent(e); }

protected:
    bool MarkToday() const override { return true; }
    // The day-name row follows the parent's colour.
    QColor FixedColor() const override { return palette().color(backgroundRole()); }
    bool VerticalLines() const override { return false; }
    // Only the line under the day names.
    void PaintLines(QPainter& p) const override;
};

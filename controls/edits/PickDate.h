// The drop-down calendar of the date edit, the modal date-selection dialog
// with its entry function, and the auto-repeat stepping button they use.
#pragma once

#include "controls/buttons/RXCtrls.h"
#include "controls/edits/RxCalendar.h"
#include "controls/common/RxPopupWindow.h"
#include "platform/TStringList.h"

#include <QDialog>

#include <string>

class QLabel;

// A month or year stepping button: old style, clicking again while held.
class TRxTimerSpeedButton : public TRxSpeedButton {
public:
    explicit TRxTimerSpeedButton(QWidget* parent = nullptr);
};

enum TStepKind { skPrevYear = 0, skPrevMonth, skNextMonth, skNextYear };

namespace vx {

// The month and year of a date as the current language writes them ("MMMM, yyyy" in English).
std::string CalendarTitle(TDateTime date);
// The arrow pictures of the stepping buttons (one or two arrows, left or right).
QImage StepGlyph(TStepKind kind);

} // namespace vx

// The settings a date edit passes to its calendar.
struct TCalendarSettings {
    TDayOfWeek StartOfWeek = Mon;
    TDaysOfWeek Weekends = DayBit(Sun);
    TColor WeekendColor = clRed;
    // Up to four lines: previous year, previous month, next month, next year; empty keeps the default.
    TStringList Hints;
};

class TPopupCalendar : public TPopupWindow {
public:
    explicit TPopupCalendar(QWidget* owner);

    // The calendar date as a date value.
    QVariant GetValue() const override;
    // A text with nothing but separators and blanks, or an invalid date, shows today.
    void SetValue(const QVariant& value) override;
    void Apply(const TCalendarSettings& settings);
    TLocCalendar* Calendar() const { return calendar_; }
    QLabel* Title() const { return title_; }
    TRxTimerSpeedButton* StepButton(TStepKind kind) const { return buttons_[kind]; }
    // Keys the owning edit hands on while the popup shows.
    void HandleKey(QKeyEvent* e);

protected:
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    void UpdateTitle();

    TLocCalendar* calendar_;
    QLabel* title_;
    TRxTimerSpeedButton* buttons_[4];
    // The date edit's hints for the stepping buttons.
    TStringList hints_;
};

// The date dialog's caption unless its caller gives another.
inline constexpr const char* DefaultDateDialogTitle = "Select a Date";

class TSelectDateDlg : public QDialog {
public:
    // An empty title, or the default one, shows the caption in the program's language.
    TSelectDateDlg(QWidget* parent, const std::string& title);

    TRxCalendar* Calendar() const { return calendar_; }
    QLabel* TitleLabel() const { return title_; }
    TRxTimerSpeedButton* StepButton(TStepKind kind) const { return buttons_[kind]; }
    void Apply(const TCalendarSettings& settings);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void UpdateTitle();

    TRxCalendar* calendar_;
    QLabel* title_;
    TRxTimerSpeedButton* buttons_[4];
    TStringList hints_;
};

namespace vx {

// Runs the date-selection dialog; true (with date set) when closed with OK.
bool SelectDate(TDateTime& date, const std::string& title, const TCalendarSettings& settings);

} // namespace vx

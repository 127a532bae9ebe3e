// The month calendar grid and its arithmetic.
#include "controls/edits/RxCalendar.h"

#include "controls/common/SysColors.h"
#include "controls/common/VCLUtils.h"
#include "localisation/FormatSettings.h"
#include "platform/qt/QtText.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vx {

int DayOfWeek(TDateTime date)
{
    const long days = static_cast<long>(std::floor(date));
    return static_cast<int>(((days - 1) % 7 + 7) % 7) + 1;
}

int CalendarMonthOffset(int year, int month, TDayOfWeek startOfWeek)
{
    const int w = DayOfWeek(EncodeDate(year, month, 1));
    const int offset = 2 - ((w - startOfWeek + 7) % 7);
    return offset == 2 ? -5 : offset;
}

TDateTime StepMonth(TDateTime date, int delta)
{
    int y, m, d;
    DecodeDate(date, y, m, d);
    m += delta;
    if (m < 1) {
        m = 12;
        --y;
    } else if (m > 12) {
        m = 1;
        ++y;
    }
    if (y < 1 || y > 9999)
        return date;
    return EncodeDate(y, m, std::min(d, DaysPerMonth(y, m)));
}

TDateTime StepYear(TDateTime date, int delta)
{
    int y, m, d;
    DecodeDate(date, y, m, d);
    if (m == 2 && d == 29)
        d = 28;
    y += delta;
    if (y < 1 || y > 9999)
        return date;
    return EncodeDate(y, m, d);
}

} // namespace vx

TRxCalendar::TRxCalendar(QWidget* parent) : QWidget(parent), date_(vx::Date())
{
    setFocusPolicy(Qt::StrongFocus);
    resize(192, 115);
    UpdateCalendar();
}

int TRxCalendar::Day() const
{
    int y, m, d;
    vx::DecodeDate(date_, y, m, d);
    return d;
}

int TRxCalendar::Month() const
{
    int y, m, d;
    vx::DecodeDate(date_, y, m, d);
    return m;
}

int TRxCalendar::Year() const
{
    int y, m, d;
    vx::DecodeDate(date_, y, m, d);
    return y;
}

void TRxCalendar::ChangeDate(vx::TDateTime date)
{
    useCurrentDate_ = false;
    date_ = date;
    UpdateCalendar();
    if (OnChange)
        OnChange(this);
}

void TRxCalendar::SetCalendarDate(vx::TDateTime value)
{
    value = std::floor(value);
    if (value == date_ || !vx::ValidDate(value))
        return;
    date_ = value;
    UpdateCalendar();
    if (OnChange)
        OnChange(this);
}

void TRxCalendar::SetDay(int value)
{
    int y, m, d;
    vx::DecodeDate(date_, y, m, d);
    if (value < 1 || value > vx::DaysPerMonth(y, m))
        return;
    ChangeDate(vx::EncodeDate(y, m, value));
}

void TRxCalendar::SetMonth(int value)
{
    int y, m, d;
    vx::DecodeDate(date_, y, m, d);
    if (value < 1 || value > 12)
        return;
    ChangeDate(vx::EncodeDate(y, value, std::min(d, vx::DaysPerMonth(y, value))));
}

void TRxCalendar::SetYear(int value)
{
    int y, m, d;
    vx::DecodeDate(date_, y, m, d);
    if (value < 1 || value > 9999)
        return;
    ChangeDate(vx::EncodeDate(value, m, std::min(d, vx::DaysPerMonth(value, m))));
}

void TRxCalendar::SetStartOfWeek(TDayOfWeek value)
{
    startOfWeek_ = value;
    UpdateCalendar();
}

void TRxCalendar::SetUseCurrentDate(bool value)
{
    useCurrentDate_ = value;
    if (value) {
        SetCalendarDate(vx::Date());
        useCurrentDate_ = true;
    }
}

void TRxCalendar::SetWeekendColor(TColor value)
{
    weekendColor_ = value;
    update();
}

void TRxCalendar::SetWeekends(TDaysOfWeek value)
{
    weekends_ = value;
    update();
}

void TRxCalendar::PrevMonth()
{
    ChangeDate(vx::StepMonth(date_, -1));
}

void TRxCalendar::NextMonth()
{
    ChangeDate(vx::StepMonth(date_, 1));
}

void TRxCalendar::PrevYear()
{
    ChangeDate(vx::StepYear(date_, -1));
}

void TRxCalendar::NextYear()
{
    ChangeDate(vx::StepYear(date_, 1));
}

void TRxCalendar::UpdateCalendar()
{
    monthOffset_ = vx::CalendarMonthOffset(Year(), Month(), startOfWeek_);
    const int day = Day();
    selected_ = QPoint((day - monthOffset_) % 7, (day - monthOffset_) / 7 + 1);
    update();
}

int TRxCalendar::CellDay(int col, int row) const
{
    if (row < 1)
        return 0;
    const int d = col + monthOffset_ + (row - 1) * 7;
    return d >= 1 && d <= vx::DaysPerMonth(Year(), Month()) ? d : 0;
}

std::string TRxCalendar::CellText(int col, int row) const
{
    if (row == 0)
        return vx::FormatSettings().ShortDayNames[(startOfWeek_ + col) % 7];
    const int d = CellDay(col, row);
    return d ? std::to_string(d) : std::string();
}

bool TRxCalendar::IsWeekend(int col) const
{
    return weekends_ & (1u << ((startOfWeek_ + col) % 7));
}

QRect TRxCalendar::CellRect(int col, int row) const
{
    const int line = VerticalLines() ? 1 : 0;
    const int w = (width() - 6 * line) / 7, h = (height() - 6) / 7;
    return QRect(col * (w + line), row * (h + 1), w, h);
}

void TRxCalendar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(backgroundRole()));
    p.setFont(font());
    const vx::TDateTime today = vx::Date();
    for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 7; ++col) {
            const QRect cell = CellRect(col, row);
            const bool selected = QPoint(col, row) == selected_;
            if (row == 0)
                p.fillRect(cell, FixedColor());
            else if (selected)
                p.fillRect(cell, vx::ToQColor(clHighlight));
            QColor text = palette().color(QPalette::WindowText);
            if (selected && row > 0)
                text = vx::ToQColor(clHighlightText);
            else if (IsWeekend(col))
                text = vx::ToQColor(weekendColor_);
            p.setPen(text);
            p.drawText(cell, Qt::AlignCenter, vx::ToQString(CellText(col, row)));
            const int day = CellDay(col, row);
            if (MarkToday() && day && vx::EncodeDate(Year(), Month(), day) == today) {
                QRect frame = cell;
                vx::Frame3D(p, frame, clBtnShadow, clBtnHighlight);
            }
        }
    PaintLines(p);
}

void TRxCalendar::PaintLines(QPainter& p) const
{
    p.setPen(vx::ToQColor(clBtnFace));
    const QRect last = CellRect(6, 6);
    for (int i = 0; i < 6; ++i) {
        const QRect cell = CellRect(i, i);
        if (VerticalLines())
            p.drawLine(cell.right() + 1, 0, cell.right() + 1, last.bottom());
        p.drawLine(0, cell.bottom() + 1, last.right(), cell.bottom() + 1);
    }
}

void TLocCalendar::PaintLines(QPainter& p) const
{
    p.setPen(vx::ToQColor(clBtnShadow));
    const int y = CellRect(0, 0).bottom() + 1;
    p.drawLine(0, y, width() - 1, y);
}

void TRxCalendar::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || readOnly_)
        return;
    for (int row = 1; row < 7; ++row)
        for (int col = 0; col < 7; ++col)
            if (CellRect(col, row).contains(e->position().toPoint()))
                if (int day = CellDay(col, row)) {
                    SetDay(day);
                    return;
                }
}

void TRxCalendar::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || e->modifiers() != Qt::NoModifier)
        return;
    for (int row = 1; row < 7; ++row)
        for (int col = 0; col < 7; ++col)
            if (CellRect(col, row).contains(e->position().toPoint()) && CellDay(col, row) && OnDayClick)
                OnDayClick(this);
}

void TRxCalendar::keyPressEvent(QKeyEvent* e)
{
    const bool shift = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (!shift && !readOnly_) {
        const bool keypad = e->modifiers() & Qt::KeypadModifier;
        const int day = Day();
        if (e->key() == Qt::Key_Left || (keypad && e->key() == Qt::Key_Minus)) {
            if (day > 1)
                SetDay(day - 1);
            else
                ChangeDate(date_ - 1);
            return;
        }
        if (e->key() == Qt::Key_Right || (keypad && e->key() == Qt::Key_Plus)) {
            if (day < vx::DaysPerMonth(Year(), Month()))
                SetDay(day + 1);
            else
                ChangeDate(date_ + 1);
            return;
        }
        if (e->key() == Qt::Key_T) {
            SetCalendarDate(vx::Date());
            return;
        }
        if (e->key() == Qt::Key_Up && day > 7) {
            SetDay(day - 7);
            return;
        }
        if (e->key() == Qt::Key_Down && day + 7 <= vx::DaysPerMonth(Year(), Month())) {
            SetDay(day + 7);
            return;
        }
    }
    QWidget::keyPressEvent(e);
}

QColor TRxCalendar::FixedColor() const
{
    return vx::ToQColor(clBtnFace);
}

TLocCalendar::TLocCalendar(QWidget* parent) : TRxCalendar(parent)
{
    setFocusPolicy(Qt::NoFocus);
    SetUseCurrentDate(false);
}

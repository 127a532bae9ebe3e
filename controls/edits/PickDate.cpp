// The drop-down calendar, the date-selection dialog and the stepping buttons.
#include "controls/edits/PickDate.h"

#include "controls/common/SysColors.h"
#include "controls/common/WindowLanguage.h"
#include "localisation/FormatSettings.h"
#include "localisation/RunTimeText.h"
#include "platform/qt/QtText.h"

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include <cmath>
#include <string_view>
#include <utility>

namespace {

const char* const kStepHints[4] = {"Previous Year", "Previous Month", "Next Month", "Next Year"};
const char* const kStepNames[4] = {"PrevYearBtn", "PrevMonthBtn", "NextMonthBtn", "NextYearBtn"};
// The calendar's title as the language writes a month of a year: "MMMM" the
// month's name, "yyyy" the year.
const TRunTimeText MonthOfYear{"MMMM, yyyy"};

void StepCalendar(TRxCalendar& calendar, TStepKind kind)
{
    switch (kind) {
    case skPrevYear: calendar.PrevYear(); break;
    case skPrevMonth: calendar.PrevMonth(); break;
    case skNextMonth: calendar.NextMonth(); break;
    case skNextYear: calendar.NextYear(); break;
    }
}

// Page keys step months, with Ctrl years; true when the key was one of them.
bool PageKey(TRxCalendar& calendar, QKeyEvent* e)
{
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    if (e->key() == Qt::Key_PageUp)
        StepCalendar(calendar, ctrl ? skPrevYear : skPrevMonth);
    else if (e->key() == Qt::Key_PageDown)
        StepCalendar(calendar, ctrl ? skNextYear : skNextMonth);
    else
        return false;
    return true;
}

void MakeStepButtons(QWidget* parent, TRxTimerSpeedButton* (&buttons)[4], TRxCalendar& calendar)
{
    for (int k = 0; k < 4; ++k) {
        auto* button = new TRxTimerSpeedButton(parent);
        button->setObjectName(kStepNames[k]);
        button->SetGlyph(vx::StepGlyph(TStepKind(k)));
        button->setToolTip(kStepHints[k]);
        button->OnClick = [&calendar, k](QObject*) { StepCalendar(calendar, TStepKind(k)); };
        buttons[k] = button;
    }
}

// The hints the date edit gives; an empty one keeps the button's own.
void ApplyHints(TRxTimerSpeedButton* (&buttons)[4], const TStringList& hints)
{
    for (int k = 0; k < 4 && k < hints.Count(); ++k)
        if (!hints[k].empty())
            buttons[k]->setToolTip(vx::ToQString(hints[k]));
}

// The date edit's calendar settings, for the drop-down calendar and the dialog alike.
void ApplySettings(TRxCalendar& calendar, TRxTimerSpeedButton* (&buttons)[4], TStringList& hints,
                   const TCalendarSettings& settings)
{
    calendar.SetStartOfWeek(settings.StartOfWeek);
    calendar.SetWeekends(settings.Weekends);
    calendar.SetWeekendColor(settings.WeekendColor);
    hints.Assign(settings.Hints);
    ApplyHints(buttons, hints);
}

} // namespace

namespace vx {

std::string CalendarTitle(TDateTime date)
{
    int y, m, d;
    DecodeDate(date, y, m, d);
    std::string title = MonthOfYear();
    const std::pair<std::string_view, std::string> fields[] = {{"MMMM", FormatSettings().LongMonthNames[m - 1]},
                                                               {"yyyy", std::to_string(y)}};
    for (const auto& [field, value] : fields)
        if (const std::size_t at = title.find(field); at != std::string::npos)
            title.replace(at, field.size(), value);
    return title;
}

QImage StepGlyph(TStepKind kind)
{
    const bool twin = kind == skPrevYear || kind == skNextYear;
    const bool left = kind == skPrevYear || kind == skPrevMonth;
    QImage image(twin ? 10 : 6, 8, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    for (int arrow = 0; arrow < (twin ? 2 : 1); ++arrow)
        for (int i = 0; i < 4; ++i) {
            const int x = arrow * 4 + (left ? i + 1 : 4 - i);
            for (int y = 4 - i - 1; y <= 3 + i; ++y)
                image.setPixel(x, y, qRgb(0, 0, 0));
        }
    return image;
}

} // namespace vx

TRxTimerSpeedButton::TRxTimerSpeedButton(QWidget* parent) : TRxSpeedButton(parent)
{
    SetStyle(TRxButtonStyle::bsWin31);
    SetAllowTimer(true);
}

TPopupCalendar::TPopupCalendar(QWidget* owner) : TPopupWindow(owner)
{
    setObjectName("PopupCalendar");
    resize(180, 120);
    QFont small("MS Sans Serif");
    small.setPointSize(8);
    setFont(small);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, vx::ToQColor(clBtnFace));
    setPalette(pal);

    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setGeometry(rect());
    auto* bar = new QWidget(frame);
    bar->setGeometry(2, 2, 176, 18);
    calendar_ = new TLocCalendar(frame);
    calendar_->setGeometry(2, 20, 176, 98);
    MakeStepButtons(bar, buttons_, *calendar_);
    buttons_[skPrevYear]->setGeometry(-1, -1, 14, 14);
    buttons_[skPrevMonth]->setGeometry(12, -1, 14, 14);
    buttons_[skNextMonth]->setGeometry(bar->width() - 26, -1, 14, 14);
    buttons_[skNextYear]->setGeometry(bar->width() - 14, -1, 14, 14);
    title_ = new QLabel(bar);
    title_->setObjectName("CalendarTitle");
    title_->setGeometry(29, 1, bar->width() - 58, 14);
    title_->setAlignment(Qt::AlignCenter);

    calendar_->OnChange = [this](QObject*) { UpdateTitle(); };
    calendar_->OnDayClick = [this](QObject*) { CloseUp(true); };
    UpdateTitle();
    // The hints the date edit gives are its window's words: they stay.
    vx::TranslateOwnWindow(*this, {{}, [this] { ApplyHints(buttons_, hints_); }});
}

void TPopupCalendar::UpdateTitle()
{
    title_->setText(vx::ToQString(vx::CalendarTitle(calendar_->CalendarDate())));
}

QVariant TPopupCalendar::GetValue() const
{
    return calendar_->CalendarDate();
}

void TPopupCalendar::SetValue(const QVariant& value)
{
    vx::TDateTime date = 0;
    if (value.canConvert<double>())
        date = value.toDouble();
    calendar_->SetCalendarDate(date != 0 && vx::ValidDate(date) ? date : vx::Date());
    UpdateTitle();
}

void TPopupCalendar::Apply(const TCalendarSettings& settings)
{
    ApplySettings(*calendar_, buttons_, hints_, settings);
}

void TPopupCalendar::HandleKey(QKeyEvent* e)
{
    if (!PageKey(*calendar_, e))
        calendar_->HandleKey(e);
}

void TPopupCalendar::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (title_->geometry().contains(title_->parentWidget()->mapFrom(this, e->position().toPoint())))
        calendar_->SetCalendarDate(vx::Date());
}

TSelectDateDlg::TSelectDateDlg(QWidget* parent, const std::string& title) : QDialog(parent)
{
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setObjectName("SelectDateDlg");
    setWindowTitle(DefaultDateDialogTitle);
    setFixedSize(222, 154);

    auto* top = new QWidget(this);
    top->setGeometry(0, 0, 222, 22);
    title_ = new QLabel(top);
    title_->setObjectName("TitleLabel");
    title_->setGeometry(35, 4, 152, 14);
    title_->setAlignment(Qt::AlignCenter);
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    QPalette blue = title_->palette();
    blue.setColor(QPalette::WindowText, vx::ToQColor(clBlue));
    title_->setPalette(blue);
    title_->installEventFilter(this);

    calendar_ = new TRxCalendar(this);
    calendar_->setObjectName("Calendar");
    calendar_->setGeometry(0, 22, 222, 154 - 22 - 21);
    calendar_->SetUseCurrentDate(false);
    calendar_->setAutoFillBackground(true);
    QPalette white = calendar_->palette();
    white.setColor(QPalette::Window, Qt::white);
    calendar_->setPalette(white);
    calendar_->installEventFilter(this);
    calendar_->OnChange = [this](QObject*) { UpdateTitle(); };

    MakeStepButtons(top, buttons_, *calendar_);
    const int xs[4] = {3, 18, 188, 203};
    for (int k = 0; k < 4; ++k)
        buttons_[k]->setGeometry(xs[k], 3, 16, 16);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("OkBtn");
    ok->setGeometry(0, 154 - 21, 112, 21);
    ok->setAutoDefault(false);
    QObject::connect(ok, &QPushButton::clicked, [this] { accept(); });
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("CancelBtn");
    cancel->setGeometry(111, 154 - 21, 111, 21);
    cancel->setAutoDefault(false);
    QObject::connect(cancel, &QPushButton::clicked, [this] { reject(); });
    UpdateTitle();
    // A title of the caller's is its words; the default one is the dialog's own.
    const bool ownTitle = !title.empty() && title != DefaultDateDialogTitle;
    vx::TranslateOwnWindow(*this, {{"TitleLabel"}, [this, ownTitle, title] {
                                       if (ownTitle)
                                           setWindowTitle(vx::ToQString(title));
                                       ApplyHints(buttons_, hints_);
                                   }});
}

void TSelectDateDlg::UpdateTitle()
{
    title_->setText(vx::ToQString(vx::CalendarTitle(calendar_->CalendarDate())));
    title_->repaint();
}

void TSelectDateDlg::Apply(const TCalendarSettings& settings)
{
    ApplySettings(*calendar_, buttons_, hints_, settings);
}

void TSelectDateDlg::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Escape:
        reject();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        accept();
        return;
    case Qt::Key_Tab:
        calendar_->NextMonth();
        return;
    case Qt::Key_Backtab:
        calendar_->PrevMonth();
        return;
    default:
        if (!PageKey(*calendar_, e))
            QDialog::keyPressEvent(e);
    }
}

bool TSelectDateDlg::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::MouseButtonDblClick) {
        if (watched == title_) {
            calendar_->SetCalendarDate(vx::Date());
            return true;
        }
        if (watched == calendar_) {
            accept();
            return true;
        }
    }
    // Tab steps the month instead of moving the focus.
    if (e->type() == QEvent::KeyPress && watched == calendar_) {
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Return ||
            key->key() == Qt::Key_Enter || key->key() == Qt::Key_Escape || key->key() == Qt::Key_PageUp ||
            key->key() == Qt::Key_PageDown) {
            keyPressEvent(key);
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

namespace vx {

bool SelectDate(TDateTime& date, const std::string& title, const TCalendarSettings& settings)
{
    TSelectDateDlg dialog(nullptr, title);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        dialog.move(screen->geometry().center() - dialog.rect().center());
    dialog.Calendar()->SetCalendarDate(date == 0 || !ValidDate(date) ? Date() : date);
    dialog.Apply(settings);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    date = dialog.Calendar()->CalendarDate();
    return true;
}

} // namespace vx

// The edit with a button, its popup handling, and the date edit.
#include "controls/edits/ToolEdit.h"

#include "controls/common/SysColors.h"
#include "localisation/FormatSettings.h"
#include "platform/Exception.h"
#include "platform/Utf8.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOption>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vx {

QImage EllipsisGlyph(int buttonWidth)
{
    const int width = std::max(1, buttonWidth - 6);
    QImage image(width, 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int s = std::clamp((width - 6) / 2, 1, 3);
    const int o = ((width - 6) - 2 * s) / 2;
    for (int x : {o, o + s + 2, o + 2 * s + 4})
        for (int dx = 0; dx < 2; ++dx)
            for (int dy = 0; dy < 2; ++dy)
                if (x + dx >= 0 && x + dx < width)
                    image.setPixel(x + dx, 1 + dy, qRgb(0, 0, 0));
    return image;
}

QPoint PopupPosition(QPoint editTopLeft, QSize edit, QSize popup, QSize screen, TPopupAlign align)
{
    QPoint p = editTopLeft;
    int y = p.y() + edit.height();
    if (y + popup.height() > screen.height())
        y = p.y() - popup.height();
    if (align == TPopupAlign::epaRight) {
        p.rx() -= popup.width() - edit.width();
        if (p.x() < 0)
            p.rx() += popup.width() - edit.width();
    } else if (p.x() + popup.width() > screen.width()) {
        p.rx() -= popup.width() - edit.width();
    }
    p.setX(std::clamp(p.x(), 0, std::max(0, screen.width() - popup.width())));
    return QPoint(p.x(), y);
}

QString QtInputMask(std::string_view mask)
{
    // The mask's literals and its blank are characters of UTF-8 text.
    const auto characterAt = [](std::string_view text, size_t at) {
        return ToQString(text.substr(at, utf8::NextChar(text, at) - at));
    };
    const size_t firstSemicolon = mask.find(';');
    std::string_view body = mask.substr(0, firstSemicolon);
    QString blank = QStringLiteral(" ");
    if (firstSemicolon != std::string_view::npos) {
        const size_t second = mask.find(';', firstSemicolon + 1);
        if (second != std::string_view::npos && second + 1 < mask.size())
            blank = characterAt(mask, second + 1);
    }
    QString out;
    for (size_t i = 0; i < body.size(); i = utf8::NextChar(body, i)) {
        switch (body[i]) {
        case '!':
            break;
        case '9':
            out += '0';
            break;
        case '/':
            out += QLatin1Char(FormatSettings().DateSeparator);
            break;
        default:
            if (std::string_view("AaNnXx90Dd#HhBb><!^[]{}\\").find(body[i]) != std::string_view::npos)
                out += '\\';
            out += characterAt(body, i);
        }
    }
    return out + ';' + blank;
}

std::string FormatDateFmt(std::string_view format, TDateTime date)
{
    int y, m, d;
    DecodeDate(date, y, m, d);
    std::string out;
    char buffer[8];
    for (size_t i = 0; i < format.size();) {
        const std::string_view rest = format.substr(i);
        if (rest.substr(0, 4) == "YYYY") {
            std::snprintf(buffer, sizeof buffer, "%04d", y);
            out += buffer;
            i += 4;
        } else if (rest.substr(0, 2) == "YY") {
            std::snprintf(buffer, sizeof buffer, "%02d", y % 100);
            out += buffer;
            i += 2;
        } else if (rest.substr(0, 2) == "MM" || rest.substr(0, 2) == "DD") {
            std::snprintf(buffer, sizeof buffer, "%02d", rest[0] == 'M' ? m : d);
            out += buffer;
            i += 2;
        } else {
            out += format[i] == '/' ? FormatSettings().DateSeparator : format[i];
            ++i;
        }
    }
    return out;
}

int CaretWidth(const QFont& font)
{
    return font.bold() ? 2 : 1;
}

QRect EditButtonRect(QSize edit, int buttonWidth, bool border, bool ctl3d)
{
    const int w = edit.width();
    const int h = edit.height();
    const int b = buttonWidth;
    if (!border)
        return QRect(w - b, 0, b, h);
    // The rules place the button in the client area, which starts inside the
    // border: 2 pixels for the sunken edge, 1 for the flat line.
    if (ctl3d)
        return QRect(w - b - 4, 0, b, h - 4).translated(2, 2);
    return QRect(w - b - 2, 2, b, h - 4).translated(1, 1);
}

} // namespace vx

namespace {

// The application's look with the edit's own caret width. Qt's line edit asks
// its style for the width (on creation and on every font change) without
// naming itself, so each edit has one of these that knows it.
// The edit's caret width, and its border without the 3-D look: one flat line.
class TEditStyle : public QProxyStyle {
public:
    explicit TEditStyle(TCustomComboEdit* edit)
        : QProxyStyle(QStyleFactory::create(QApplication::style()->name())), edit_(edit)
    {
        setParent(edit);
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_TextCursorWidth)
            return vx::CaretWidth(edit_->font());
        if (metric == PM_DefaultFrameWidth && widget == edit_ && !edit_->Ctl3D())
            return FlatBorder;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        if (element != PE_PanelLineEdit || widget != edit_ || edit_->Ctl3D()) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        painter->fillRect(option->rect, option->palette.brush(QPalette::Base));
        const auto* panel = qstyleoption_cast<const QStyleOptionFrame*>(option);
        if (!panel || panel->lineWidth <= 0)
            return;
        painter->setPen(vx::ToQColor(clWindowFrame));
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
    }

    static constexpr int FlatBorder = 1;

private:
    TCustomComboEdit* edit_;
};

// The picture of the drop-down kind: a small arrow.
QImage DropDownGlyph()
{
    QImage image(7, 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int i = 0; i < 4; ++i)
        for (int x = i; x < 7 - i; ++x)
            image.setPixel(x, i, qRgb(0, 0, 0));
    return image;
}

// The date edit's button picture: a small calendar sheet, enabled and disabled.
QImage CalendarGlyphs()
{
    QImage image(32, 16, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    QPainter p(&image);
    for (int cell = 0; cell < 2; ++cell) {
        const int x = cell * 16;
        const QColor ink = cell ? QColor(128, 128, 128) : QColor(0, 0, 0);
        p.fillRect(x + 2, 3, 12, 11, cell ? QColor(192, 192, 192) : QColor(255, 255, 255));
        p.fillRect(x + 2, 3, 12, 3, cell ? QColor(128, 128, 128) : QColor(128, 0, 0));
        p.setPen(ink);
        p.drawRect(x + 2, 3, 11, 10);
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < 3; ++col)
                p.fillRect(x + 4 + col * 3, 7 + row * 3, 2, 2, ink);
    }
    return image;
}

} // namespace

void TEditButton::paintEvent(QPaintEvent* e)
{
    TRxSpeedButton::paintEvent(e);
    if (State() == rbsDown || State() == rbsExclusive)
        return;
    QPainter p(this);
    p.fillRect(0, 0, 1, height(), vx::ToQColor(clBtnFace));
    p.fillRect(1, 1, 1, height() - 2, vx::ToQColor(clBtnHighlight));
}

TCustomComboEdit::TCustomComboEdit(QWidget* parent) : QLineEdit(parent)
{
    setStyle(new TEditStyle(this));
    button_ = new TEditButton(this);
    button_->setCursor(Qt::ArrowCursor);
    button_->OnClick = [this](QObject*) { EditButtonClick(); };
    resize(121, 21);
    UpdateMinimumHeight();
    QObject::connect(this, &QLineEdit::textChanged, [this] {
        if (OnChange)
            OnChange(this);
    });
    UpdateLayout();
}

TCustomComboEdit::~TCustomComboEdit()
{
    qApp->removeEventFilter(this);
}

std::string TCustomComboEdit::Text() const
{
    return vx::FromQString(text());
}

void TCustomComboEdit::SetText(const std::string& value)
{
    setText(vx::ToQString(value));
}

void TCustomComboEdit::SetColor(TColor value)
{
    color_ = value;
    QPalette pal = palette();
    pal.setColor(QPalette::Base, vx::ToQColor(value));
    setPalette(pal);
}

std::string TCustomComboEdit::ButtonHint() const
{
    return vx::FromQString(button_->toolTip());
}

void TCustomComboEdit::SetButtonHint(const std::string& value)
{
    button_->setToolTip(vx::ToQString(value));
}

void TCustomComboEdit::SetButtonWidth(int value)
{
    if (value == buttonWidth_)
        return;
    if (value >= width())
        return;
    buttonWidth_ = std::max(0, value);
    if (glyphKind_ == TGlyphKind::gkEllipsis)
        ApplyGlyph();
    UpdateLayout();
}

void TCustomComboEdit::SetDirectInput(bool value)
{
    directInput_ = value;
    ApplyReadOnly();
}

void TCustomComboEdit::SetReadOnly(bool value)
{
    readOnly_ = value;
    ApplyReadOnly();
}

void TCustomComboEdit::ApplyReadOnly()
{
    setReadOnly(readOnly_ || !directInput_ || popupVisible_);
}

void TCustomComboEdit::SetGlyph(const QImage& value)
{
    button_->SetGlyph(value);
}

void TCustomComboEdit::SetNumGlyphs(int value)
{
    if (glyphKind_ == TGlyphKind::gkDropDown || glyphKind_ == TGlyphKind::gkEllipsis)
        value = 1;
    else if (glyphKind_ == TGlyphKind::gkDefault)
        DefaultBitmap(value);
    button_->SetNumGlyphs(value);
}

void TCustomComboEdit::SetGlyphKind(TGlyphKind value)
{
    if (value == glyphKind_)
        return;
    glyphKind_ = value;
    ApplyGlyph();
}

void TCustomComboEdit::ApplyGlyph()
{
    switch (glyphKind_) {
    case TGlyphKind::gkCustom:
        break;
    case TGlyphKind::gkDefault: {
        int count = 1;
        const QImage bitmap = DefaultBitmap(count);
        button_->SetGlyph(bitmap);
        button_->SetNumGlyphs(count);
        if (!bitmap.isNull())
            buttonWidth_ = std::max(bitmap.width() / count + 6, buttonWidth_);
        break;
    }
    case TGlyphKind::gkDropDown:
        button_->SetGlyph(DropDownGlyph());
        button_->SetNumGlyphs(1);
        buttonWidth_ = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        break;
    case TGlyphKind::gkEllipsis:
        button_->SetGlyph(vx::EllipsisGlyph(buttonWidth_));
        button_->SetNumGlyphs(1);
        break;
    }
    UpdateLayout();
}

QImage TCustomComboEdit::DefaultBitmap(int& numGlyphs) const
{
    numGlyphs = 1;
    return QImage();
}

void TCustomComboEdit::UpdateLayout()
{
    const int b = buttonWidth_;
    button_->setVisible(b >= 2);
    button_->setGeometry(vx::EditButtonRect(size(), b, hasFrame(), ctl3d_));
    setTextMargins(0, 0, b >= 2 ? b + 2 : 0, 0);
}

void TCustomComboEdit::SetCtl3D(bool value)
{
    if (value == ctl3d_)
        return;
    ctl3d_ = value;
    UpdateLayout();
    update();
}

void TCustomComboEdit::UpdateMinimumHeight()
{
    // The smaller of the system's and the edit's text heights, and the border.
    setMinimumHeight(std::min(QFontMetrics(QApplication::font()).height(), QFontMetrics(font()).height()) + 4 + 1);
}

void TCustomComboEdit::resizeEvent(QResizeEvent* e)
{
    QLineEdit::resizeEvent(e);
    UpdateLayout();
}

void TCustomComboEdit::SetPopup(TPopupWindow* popup)
{
    if (popup_ == popup)
        return;
    delete popup_;
    popup_ = popup;
    if (popup_)
        popup_->OnCloseUp = [this](bool accept) { PopupCloseUp(accept); };
}

QVariant TCustomComboEdit::GetPopupValue() const
{
    return popup_ ? popup_->GetValue() : QVariant(QString());
}

void TCustomComboEdit::SetPopupValue(const QVariant& value)
{
    if (popup_)
        popup_->SetValue(value);
}

bool TCustomComboEdit::AcceptPopup(QVariant&)
{
    return true;
}

void TCustomComboEdit::AcceptValue(const QVariant& value)
{
    const QString text = value.toString();
    if (text != this->text()) {
        setText(text);
        setModified(true);
    }
}

void TCustomComboEdit::DoDropDown()
{
    if (!popup_ || !EditingAllowed() || popupVisible_)
        return;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize(0, 0);
    const QPoint at = vx::PopupPosition(mapToGlobal(QPoint(0, 0)), size(), popup_->size(), screenSize, popupAlign_);
    SetPopupValue(text().isEmpty() ? QVariant() : QVariant(text()));
    setFocus();
    popup_->ShowAt(at);
    popupVisible_ = true;
    // While the popup is open the text is its: read-only, and no caret shown.
    ApplyReadOnly();
    qApp->installEventFilter(this);
}

void TCustomComboEdit::PopupCloseUp(bool accept)
{
    if (!popup_ || !popupVisible_)
        return;
    qApp->removeEventFilter(this);
    QVariant value = popup_->GetValue();
    popup_->HidePopup();
    popupVisible_ = false;
    ApplyReadOnly();
    update();
    if (accept && AcceptPopup(value) && EditingAllowed()) {
        AcceptValue(value);
        if (hasFocus() && directInput_)
            selectAll();
    }
}

void TCustomComboEdit::ButtonClick()
{
    if (OnButtonClick)
        OnButtonClick(this);
    if (!popup_)
        return;
    if (popupVisible_)
        PopupCloseUp(true);
    else
        DoDropDown();
}

void TCustomComboEdit::EditButtonClick()
{
    if (!readOnly_)
        ButtonClick();
}

void TCustomComboEdit::keyPressEvent(QKeyEvent* e)
{
    if (buttonWidth_ > 0 && QKeySequence(e->keyCombination()) == clickKey_) {
        EditButtonClick();
        return;
    }
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (popupVisible_ && (enter || e->key() == Qt::Key_Escape)) {
        PopupCloseUp(enter);
        return;
    }
    const bool editKey = e->matches(QKeySequence::Paste) || e->matches(QKeySequence::Cut);
    if (editKey && (!directInput_ || !EditingAllowed()))
        return;
    QLineEdit::keyPressEvent(e);
}

void TCustomComboEdit::focusOutEvent(QFocusEvent* e)
{
    QLineEdit::focusOutEvent(e);
    // A window system that activates the popup as it shows it takes the focus
    // away only to the popup: that leaves it open.
    if (popupVisible_ && !(popup_ && QApplication::activeWindow() == popup_))
        PopupCloseUp(false);
}

void TCustomComboEdit::changeEvent(QEvent* e)
{
    QLineEdit::changeEvent(e);
    if (e->type() == QEvent::EnabledChange && popup_)
        popup_->setEnabled(isEnabled());
    if (e->type() == QEvent::FontChange)
        UpdateMinimumHeight();
}

bool TCustomComboEdit::eventFilter(QObject* watched, QEvent* e)
{
    // A press anywhere but on the edit, its button or the popup closes the popup unaccepted.
    if (popupVisible_ && e->type() == QEvent::MouseButtonPress && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        const bool ours = widget == button_ || (popup_ && (widget == popup_ || popup_->isAncestorOf(widget)));
        if (!ours)
            PopupCloseUp(false);
    }
    return QLineEdit::eventFilter(watched, e);
}

void TCalendarHints::Changed()
{
    if (Count() > 4 && UpdateCount() == 0) {
        BeginUpdate();
        while (Count() > 4)
            Delete(Count() - 1);
        EndUpdate();
        return;
    }
    TStringList::Changed();
}

TCustomDateEdit::TCustomDateEdit(QWidget* parent) : TCustomComboEdit(parent)
{
    SetPopup(new TPopupCalendar(this));
    SetGlyphKind(TGlyphKind::gkDefault);
    hints_.OnChange = [this](TStringList*) { ApplySettings(); };
    UpdateMask();
}

TPopupCalendar* TCustomDateEdit::PopupCalendar() const
{
    return dynamic_cast<TPopupCalendar*>(Popup());
}

QImage TCustomDateEdit::DefaultBitmap(int& numGlyphs) const
{
    numGlyphs = 2;
    static const QImage glyphs = CalendarGlyphs();
    return glyphs;
}

bool TCustomDateEdit::FourDigitYear() const
{
    switch (yearDigits_) {
    case TYearDigits::dyFour: return true;
    case TYearDigits::dyTwo: return false;
    default: return vx::FourDigitYear();
    }
}

void TCustomDateEdit::UpdateMask()
{
    const vx::TDateTime kept = Date();
    const std::string format = vx::DefDateFormat(FourDigitYear());
    const std::string mask = vx::DefDateMask(blanksChar_, FourDigitYear());
    if (format != dateFormat_ || mask != mask_) {
        dateFormat_ = format;
        mask_ = mask;
        setInputMask(QString());
        setInputMask(vx::QtInputMask(mask_));
    }
    ApplySettings();
    SetDate(kept);
}

void TCustomDateEdit::ApplySettings()
{
    settings_.Hints.Assign(hints_);
    if (TPopupCalendar* popup = PopupCalendar())
        popup->Apply(settings_);
}

vx::TDateTime TCustomDateEdit::Date() const
{
    const vx::TDateTime fallback = defaultToday_ ? vx::Date() : 0;
    if (dateFormat_.empty())
        return fallback;
    return vx::StrToDateFmtDef(dateFormat_, Text(), fallback);
}

void TCustomDateEdit::SetDate(vx::TDateTime value)
{
    const vx::TDateTime before = Date();
    if (value == 0 || !vx::ValidDate(value))
        value = defaultToday_ ? vx::Date() : 0;
    value = std::floor(value);
    SetText(value == 0 ? std::string() : vx::FormatDateFmt(dateFormat_, value));
    if (Date() != before)
        setModified(true);
}

void TCustomDateEdit::CheckValidDate()
{
    const std::string text = Text();
    const std::string ignorable = std::string(" ") + blanksChar_ + vx::FormatSettings().DateSeparator;
    if (text.find_first_not_of(ignorable) == std::string::npos)
        return;
    vx::StrToDateFmt(dateFormat_, text);
}

void TCustomDateEdit::SetBlanksChar(char value)
{
    if (static_cast<unsigned char>(value) < ' ')
        value = ' ';
    if (value == blanksChar_)
        return;
    blanksChar_ = value;
    UpdateMask();
}

void TCustomDateEdit::SetYearDigits(TYearDigits value)
{
    if (value == yearDigits_)
        return;
    yearDigits_ = value;
    UpdateMask();
}

void TCustomDateEdit::SetCalendarStyle(TCalendarStyle value)
{
    if (value == calendarStyle_)
        return;
    calendarStyle_ = value;
    SetPopup(value == TCalendarStyle::csPopup ? new TPopupCalendar(this) : nullptr);
    ApplySettings();
    if (TPopupCalendar* popup = PopupCalendar()) {
        QPalette pal = popup->palette();
        pal.setColor(QPalette::Window, vx::ToQColor(popupColor_));
        popup->setPalette(pal);
    }
}

void TCustomDateEdit::SetPopupColor(TColor value)
{
    popupColor_ = value;
    if (TPopupCalendar* popup = PopupCalendar()) {
        QPalette pal = popup->palette();
        pal.setColor(QPalette::Window, vx::ToQColor(value));
        popup->setPalette(pal);
    }
}

void TCustomDateEdit::SetStartOfWeek(TDayOfWeek value)
{
    settings_.StartOfWeek = value;
    ApplySettings();
}

void TCustomDateEdit::SetWeekends(TDaysOfWeek value)
{
    settings_.Weekends = value;
    ApplySettings();
}

void TCustomDateEdit::SetWeekendColor(TColor value)
{
    settings_.WeekendColor = value;
    ApplySettings();
}

void TCustomDateEdit::SetPopupValue(const QVariant&)
{
    const vx::TDateTime date = vx::StrToDateFmtDef(dateFormat_, Text(), vx::Date());
    if (TPopupCalendar* popup = PopupCalendar())
        popup->SetValue(date);
}

bool TCustomDateEdit::AcceptDate(vx::TDateTime& date)
{
    bool action = true;
    if (OnAcceptDate)
        OnAcceptDate(this, date, action);
    return action;
}

bool TCustomDateEdit::AcceptPopup(QVariant& value)
{
    vx::TDateTime date = value.isNull() ? 0 : value.toDouble();
    if (!AcceptDate(date))
        return false;
    value = date;
    return true;
}

void TCustomDateEdit::AcceptValue(const QVariant& value)
{
    SetDate(value.toDouble());
}

void TCustomDateEdit::ButtonClick()
{
    if (calendarStyle_ != TCalendarStyle::csDialog) {
        TCustomComboEdit::ButtonClick();
        return;
    }
    if (OnButtonClick)
        OnButtonClick(this);
    vx::TDateTime date = Date();
    const bool chosen = vx::SelectDate(date, dialogTitle_, settings_);
    setFocus();
    if (chosen && AcceptDate(date)) {
        SetDate(date);
        if (DirectInput())
            selectAll();
    }
}

void TCustomDateEdit::keyPressEvent(QKeyEvent* e)
{
    const bool keypad = e->modifiers() & Qt::KeypadModifier;
    const bool shifted = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const QString text = e->text();
    const bool plusMinus = e->key() == Qt::Key_Plus || e->key() == Qt::Key_Minus;
    const bool today = text.compare("t", Qt::CaseInsensitive) == 0;

    if (PopupVisible()) {
        const bool forCalendar = e->key() == Qt::Key_PageUp || e->key() == Qt::Key_PageDown ||
                                 e->key() == Qt::Key_Left || e->key() == Qt::Key_Right || e->key() == Qt::Key_Up ||
                                 e->key() == Qt::Key_Down || plusMinus || today;
        if (forCalendar && !(e->modifiers() & Qt::AltModifier)) {
            PopupCalendar()->HandleKey(e);
            return;
        }
    } else if (DirectInput() && !shifted && !ReadOnly()) {
        if (keypad && plusMinus) {
            vx::TDateTime date = Date();
            if (date == 0)
                date = vx::Date();
            SetDate(date + (e->key() == Qt::Key_Plus ? 1 : -1));
            return;
        }
        if (plusMinus)
            return;
        if (today) {
            SetDate(vx::Date());
            return;
        }
    }
    TCustomComboEdit::keyPressEvent(e);
}

void TCustomDateEdit::focusOutEvent(QFocusEvent* e)
{
    TCustomComboEdit::focusOutEvent(e);
    if (checkOnExit_)
        CheckValidDate();
}

// A change of the regional settings rebuilds format and mask.
void TCustomDateEdit::changeEvent(QEvent* e)
{
    TCustomComboEdit::changeEvent(e);
    if (e->type() == QEvent::LocaleChange)
        UpdateMask();
}

// TComboEdit, a masked edit with a button inside its right edge that can drop
// down a popup, and TDateEdit, the date edit built on it with a drop-down
// calendar or the date-selection dialog.
#pragma once

#include "controls/common/Events.h"
#include "controls/common/DateUtil.h"
#include "controls/edits/PickDate.h"
#include "controls/buttons/RXCtrls.h"
#include "platform/TStringList.h"

#include <QKeySequence>
#include <QLineEdit>
#include <QPointer>

class QFont;

#include <functional>
#include <string>
#include <string_view>

enum class TGlyphKind { gkCustom, gkDefault, gkDropDown, gkEllipsis };
enum class TPopupAlign { epaRight, epaLeft };
enum class TCalendarStyle { csPopup, csDialog };
enum class TYearDigits { dyDefault, dyFour, dyTwo };

namespace vx {

// The three-dot picture of an ellipsis button of the given width.
QImage EllipsisGlyph(int buttonWidth);
// Where a popup opens below (or, without room, above) an edit, in screen coordinates.
QPoint PopupPosition(QPoint editTopLeft, QSize edit, QSize popup, QSize screen, TPopupAlign align);
// An edit mask ("!99/99/9999;1;_") in the form Qt's line edit takes; "/" is the date separator.
QString QtInputMask(std::string_view mask);
// A date in a format of DD, MM, YY or YYYY and "/" (the date separator).
std::string FormatDateFmt(std::string_view format, TDateTime date);
// The edit's caret: 1 pixel wide, 2 in a bold font.
int CaretWidth(const QFont& font);
// Where the button sits in an edit of the size, in the edit's coordinates:
// inside a sunken border (ctl3d) or a single flat line, or along the whole
// right edge without a border.
QRect EditButtonRect(QSize edit, int buttonWidth, bool border, bool ctl3d);

} // namespace vx

// The button of the combo edit: a speed button with a separator at its left edge.
class TEditButton : public TRxSpeedButton {
public:
    explicit TEditButton(QWidget* parent) : TRxSpeedButton(parent) {}

protected:
    void paintEvent(QPaintEvent* e) override;
};

class TCustomComboEdit : public QLineEdit {
public:
    explicit TCustomComboEdit(QWidget* parent = nullptr);
    ~TCustomComboEdit() override;

    std::string Text() const;
    void SetText(const std::string& value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    Qt::Alignment Alignment() const { return alignment(); }
    void SetAlignment(Qt::Alignment value) { setAlignment(value); }
    std::string ButtonHint() const;
    void SetButtonHint(const std::string& value);
    int ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(int value);
    QKeySequence ClickKey() const { return clickKey_; }
    void SetClickKey(const QKeySequence& value) { clickKey_ = value; }
    // False keeps the text from typing while the button still works.
    bool DirectInput() const { return directInput_; }
    void SetDirectInput(bool value);
    const QImage& Glyph() const { return button_->Glyph(); }
    void SetGlyph(const QImage& value);
    TGlyphKind GlyphKind() const { return glyphKind_; }
    void SetGlyphKind(TGlyphKind value);
    int NumGlyphs() const { return button_->NumGlyphs(); }
    void SetNumGlyphs(int value);
    // A read-only edit also ignores its button.
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    TPopupAlign PopupAlign() const { return popupAlign_; }
    void SetPopupAlign(TPopupAlign value) { popupAlign_ = value; }
    // The 3-D look: false draws the border as one flat line, not a sunken edge.
    bool Ctl3D() const { return ctl3d_; }
    void SetCtl3D(bool value);

    TEditButton* Button() const { return button_; }
    TPopupWindow* Popup() const { return popup_; }
    bool PopupVisible() const { return popupVisible_; }

    // Fires OnButtonClick, then opens the popup, or closes it accepting when it shows.
    virtual void ButtonClick();
    void EditButtonClick();
    void PopupCloseUp(bool accept);
    void DoDropDown();

    vx::TNotifyEvent OnButtonClick;
    vx::TNotifyEvent OnChange;

protected:
    // The picture of GlyphKind gkDefault and its image count; none here.
    virtual QImage DefaultBitmap(int& numGlyphs) const;
    virtual bool AcceptPopup(QVariant& value);
    virtual void AcceptValue(const QVariant& value);
    virtual void SetPopupValue(const QVariant& value);
    virtual QVariant GetPopupValue() const;
    bool EditingAllowed() const { return !readOnly_; }
    void SetPopup(TPopupWindow* popup);
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void UpdateLayout();
    void ApplyReadOnly();
    void UpdateMinimumHeight();
    void ApplyGlyph();

    TEditButton* button_;
    QPointer<TPopupWindow> popup_;
    bool popupVisible_ = false;
    bool readOnly_ = false;
    bool directInput_ = true;
    int buttonWidth_ = 21;
    QKeySequence clickKey_{Qt::ALT | Qt::Key_Down};
    TGlyphKind glyphKind_ = TGlyphKind::gkCustom;
    TPopupAlign popupAlign_ = TPopupAlign::epaRight;
    TColor color_ = clWindow;
    bool ctl3d_ = true;
};

class TComboEdit : public TCustomComboEdit {
public:
    using TCustomComboEdit::TCustomComboEdit;
};

// The hints of the calendar: never more than four lines.
class TCalendarHints : public TStringList {
protected:
    void Changed() override;
};

class TCustomDateEdit : public TCustomComboEdit {
public:
    using TAcceptDateEvent = std::function<void(QObject* Sender, vx::TDateTime& ADate, bool& Action)>;

    explicit TCustomDateEdit(QWidget* parent = nullptr);

    // The date the text reads as; the default (today with DefaultToday, else 0) when it reads as none.
    vx::TDateTime Date() const;
    void SetDate(vx::TDateTime value);
    // Raises EConvertError "'<text>' is not a valid date" when the text holds an invalid date.
    void CheckValidDate();

    char BlanksChar() const { return blanksChar_; }
    void SetBlanksChar(char value);
    TStrings& CalendarHints() { return hints_; }
    TCalendarStyle CalendarStyle() const { return calendarStyle_; }
    void SetCalendarStyle(TCalendarStyle value);
    bool CheckOnExit() const { return checkOnExit_; }
    void SetCheckOnExit(bool value) { checkOnExit_ = value; }
    bool DefaultToday() const { return defaultToday_; }
    void SetDefaultToday(bool value) { defaultToday_ = value; }
    const std::string& DialogTitle() const { return dialogTitle_; }
    void SetDialogTitle(const std::string& value) { dialogTitle_ = value; }
    TColor PopupColor() const { return popupColor_; }
    void SetPopupColor(TColor value);
    TDayOfWeek StartOfWeek() const { return settings_.StartOfWeek; }
    void SetStartOfWeek(TDayOfWeek value);
    TDaysOfWeek Weekends() const { return settings_.Weekends; }
    void SetWeekends(TDaysOfWeek value);
    TColor WeekendColor() const { return settings_.WeekendColor; }
    void SetWeekendColor(TColor value);
    TYearDigits YearDigits() const { return yearDigits_; }
    void SetYearDigits(TYearDigits value);

    bool FourDigitYear() const;
    const std::string& DateFormat() const { return dateFormat_; }
    const std::string& EditMask() const { return mask_; }
    // Rebuilds format and mask, keeping the date.
    void UpdateMask();

    void ButtonClick() override;

    TAcceptDateEvent OnAcceptDate;

protected:
    QImage DefaultBitmap(int& numGlyphs) const override;
    bool AcceptPopup(QVariant& value) override;
    void AcceptValue(const QVariant& value) override;
    void SetPopupValue(const QVariant& value) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    TPopupCalendar* PopupCalendar() const;
    void ApplySettings();
    bool AcceptDate(vx::TDateTime& date);

    char blanksChar_ = ' ';
    TCalendarHints hints_;
    TCalendarStyle calendarStyle_ = TCalendarStyle::csPopup;
    bool checkOnExit_ = false;
    bool defaultToday_ = false;
    std::string dialogTitle_ = DefaultDateDialogTitle;
    TColor popupColor_ = clBtnFace;
    TCalendarSettings settings_;
    TYearDigits yearDigits_ = TYearDigits::dyDefault;
    std::string dateFormat_;
    std::string mask_;
};

class TDateEdit : public TCustomDateEdit {
public:
    using TCustomDateEdit::TCustomDateEdit;
};

// TRxSpeedButton: a speed button with flat look, drop-down menu, auto-repeat,
// five glyph states and word-wrapped captions; it works in exclusive groups
// with the other speed buttons of its parent.
#pragma once

#include "controls/common/Events.h"
#include "controls/common/TSpeedButtonLatch.h"
#include "controls/buttons/RxButtonGlyph.h"
#include "controls/common/RxMouseTracking.h"

#include <QMenu>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>

class QAction;
class QTimer;

enum class TRxButtonStyle { bsAutoDetect, bsWin31, bsNew };
enum class TDropDownMenuPos { dmpBottom, dmpRight };

class TRxSpeedButton : public QWidget,
                       public TSpeedButtonLatch<TRxSpeedButton, TRxButtonState>,
                       public TRxMouseTracking {
public:
    explicit TRxSpeedButton(QWidget* parent = nullptr);
    ~TRxSpeedButton() override;

    // The button follows the action's text, enabled state, tool tip and (in a
    // group) checked state, takes its icon when it has no glyph of its own, and
    // a click without an OnClick handler triggers it.
    QAction* Action() const { return action_; }
    void SetAction(QAction* value);
    TRxAlignment Alignment() const { return glyph_.Alignment(); }
    void SetAlignment(TRxAlignment value);
    // Holding the button clicks it again after InitPause, then every RepeatInterval.
    bool AllowTimer() const { return allowTimer_; }
    void SetAllowTimer(bool value);
    // Refused to go up while AllowAllUp is False; ungrouped buttons never stay down.
    void SetDown(bool value);
    QMenu* DropDownMenu() const { return menu_; }
    void SetDropDownMenu(QMenu* value);
    bool Flat() const { return flat_; }
    void SetFlat(bool value);
    const QImage& Glyph() const { return glyph_.Glyph(); }
    void SetGlyph(const QImage& value);
    bool GrayedInactive() const { return grayedInactive_; }
    void SetGrayedInactive(bool value);
    int InitPause() const { return initPause_; }
    void SetInitPause(int value) { initPause_ = value; }
    TRxButtonLayout Layout() const { return layout_; }
    void SetLayout(TRxButtonLayout value);
    int Margin() const { return margin_; }
    void SetMargin(int value);
    bool MarkDropDown() const { return markDropDown_; }
    void SetMarkDropDown(bool value);
    TDropDownMenuPos MenuPosition() const { return menuPosition_; }
    void SetMenuPosition(TDropDownMenuPos value) { menuPosition_ = value; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int value) { modalResult_ = value; }
    int NumGlyphs() const { return glyph_.NumGlyphs(); }
    void SetNumGlyphs(int value);
    int RepeatInterval() const { return repeatInterval_; }
    void SetRepeatInterval(int value) { repeatInterval_ = value; }
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    TRxButtonStyle Style() const { return style_; }
    void SetStyle(TRxButtonStyle value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool WordWrap() const { return glyph_.WordWrap(); }
    void SetWordWrap(bool value);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    // Colour of the caption text.
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor value);

    TRxButtonGlyph& ButtonGlyph() { return glyph_; }
    // The auto-repeat timer while one exists.
    const QTimer* RepeatTimer() const { return repeatTimer_.get(); }
    // Where the drop-down menu opens, in client coordinates, by MenuPosition
    // and the side of the menu that is aligned to that point.
    QPoint DropDownMenuPos() const;

    // Ends the dialog with a non-zero ModalResult, then fires OnClick (or triggers the Action).
    virtual void Click();
    // A click made by the keyboard: shows the button pressed for a moment.
    void ButtonClick();

    vx::TNotifyEvent OnClick;
    vx::TNotifyEvent OnDblClick;

    static int LiveButtons();

protected:
    // The state the face is painted in: inactive for a flat button without the mouse.
    TRxButtonState PaintState() const;
    bool NewStyle() const { return style_ != TRxButtonStyle::bsWin31; }
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool event(QEvent* e) override;
    // The repeat timer's tick: clicks again while the button is held down.
    void TimerExpired();

private:
    void UpdateTracking(bool inside);
    bool CheckMenuDropdown();
    void ActionChange();

    TRxButtonGlyph glyph_;
    bool allowTimer_ = false;
    QPointer<QMenu> menu_;
    bool flat_ = false;
    bool grayedInactive_ = true;
    int initPause_ = 500;
    TRxButtonLayout layout_ = TRxButtonLayout::blGlyphTop;
    int margin_ = -1;
    bool markDropDown_ = true;
    TDropDownMenuPos menuPosition_ = TDropDownMenuPos::dmpBottom;
    int modalResult_ = 0;
    int repeatInterval_ = 100;
    int spacing_ = 1;
    TRxButtonStyle style_ = TRxButtonStyle::bsAutoDetect;
    bool transparent_ = false;
    std::string caption_;
    TColor fontColor_ = clBtnText;
    int shortcutId_ = 0;
    bool menuTracking_ = false;
    std::unique_ptr<QTimer> repeatTimer_;
    QPointer<QAction> action_;
};

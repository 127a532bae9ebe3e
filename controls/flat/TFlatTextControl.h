// The look the flat edit and the flat memo share: a 3-pixel single-colour
// frame, a background that lights up while focused or hovered, colours that
// can follow the parent's colour.
#pragma once

#include "controls/common/Events.h"
#include "controls/flat/FlatUtilitys.h"
#include "editor/Colors.h"

#include <QWidget>

class QColor;
class QPainter;

// Base is the Qt text widget the control is built on (QLineEdit, QPlainTextEdit).
template <class Base>
class TFlatTextControl : public Base {
public:
    explicit TFlatTextControl(QWidget* parent);

    TColor ColorFocused() const { return colors_[0]; }
    void SetColorFocused(TColor value) { SetColors(0, value); }
    TColor ColorBorder() const { return colors_[1]; }
    void SetColorBorder(TColor value) { SetColors(1, value); }
    TColor ColorFlat() const { return colors_[2]; }
    // Also switches ParentColor off.
    void SetColorFlat(TColor value) { SetColors(2, value); }
    bool ParentColor() const { return parentColor_; }
    // True copies the parent's colour into ColorFlat.
    void SetParentColor(bool value);
    vx::TAdvColors AdvColorFocused() const { return advColorFocused_; }
    void SetAdvColorFocused(int value);
    vx::TAdvColors AdvColorBorder() const { return advColorBorder_; }
    void SetAdvColorBorder(int value);
    bool UseAdvColors() const { return useAdvColors_; }
    // Also sets ParentColor to the same value.
    void SetUseAdvColors(bool value);

    // The background now shown: ColorFocused while active, else ColorFlat.
    TColor Color() const { return active_ ? colors_[0] : colors_[2]; }
    bool MouseInControl() const { return mouseInControl_; }
    // Focused, or hovered while no control of the same class has the focus.
    bool IsActive() const;
    // Applies the current state to the background and repaints the frame.
    void RedrawBorder();

    vx::TNotifyEvent OnChange;

protected:
    // index 0 ColorFocused, 1 ColorBorder, 2 ColorFlat.
    void SetColors(int index, TColor value);
    bool event(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    // Extra painting after the frame, in the inner frame colour.
    virtual void PaintExtras(QPainter& painter, const QColor& inner) {}
    void FireChange();

private:
    void PaintFrame();
    void CalcAdvColors();
    void ParentColorChanged();

    TColor colors_[3] = {vx::clFlatFocused, vx::clFlatBorder, vx::clFlatBackground};
    vx::TAdvColors advColorFocused_ = 10;
    vx::TAdvColors advColorBorder_ = 50;
    bool useAdvColors_ = false;
    bool parentColor_ = true;
    bool mouseInControl_ = false;
    bool active_ = false;
    TColor shownColor_ = 0xFFFFFFFFu;
    TColor lastParentColor_ = 0xFFFFFFFFu;
};

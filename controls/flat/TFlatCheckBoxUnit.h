// TFlatCheckBox: a custom-drawn check box with a flat 11 x 11 square.
#pragma once

#include "controls/Events.h"
#include "controls/flat/FlatUtilitys.h"
#include "controls/flat/TFlatHoverControl.h"

#include <string>

enum class TCheckBoxLayout { checkboxLeft, checkboxRight };

class TFlatCheckBox : public TFlatHoverControl<TFlatCheckBox> {
public:
    explicit TFlatCheckBox(QWidget* parent = nullptr);

    bool Checked() const { return checked_; }
    // Fires OnClick when the value changes.
    void SetChecked(bool value);
    TCheckBoxLayout Layout() const { return layout_; }
    void SetLayout(TCheckBoxLayout value);
    // "&" marks the accelerator character.
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);

    TColor ColorFocused() const { return colors_[0]; }
    void SetColorFocused(TColor value) { SetColors(colors_[0], value); }
    TColor ColorDown() const { return colors_[1]; }
    void SetColorDown(TColor value) { SetColors(colors_[1], value); }
    TColor ColorCheck() const { return colors_[2]; }
    void SetColorCheck(TColor value) { SetColors(colors_[2], value); }
    TColor ColorBorder() const { return colors_[3]; }
    void SetColorBorder(TColor value) { SetColors(colors_[3], value); }
    vx::TAdvColors AdvColorFocused() const { return adv_[0]; }
    void SetAdvColorFocused(int value) { SetAdvColor(adv_[0], value); }
    vx::TAdvColors AdvColorDown() const { return adv_[1]; }
    void SetAdvColorDown(int value) { SetAdvColor(adv_[1], value); }
    vx::TAdvColors AdvColorBorder() const { return adv_[2]; }
    void SetAdvColorBorder(int value) { SetAdvColor(adv_[2], value); }

    bool MouseDown() const { return mouseDown_; }
    // The square in client coordinates.
    QRect CheckRect() const;

    vx::TNotifyEvent OnClick;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool event(QEvent* e) override;

private:
    bool MouseHeld() const override { return mouseDown_; }
    void CalcAdvColors() override;
    void Toggle();

    bool checked_ = false;
    TCheckBoxLayout layout_ = TCheckBoxLayout::checkboxLeft;
    std::string caption_;
    int shortcutId_ = 0;
    TColor colors_[4] = {vx::clFlatFocused, vx::clFlatDown, clBlack, vx::clFlatBorder};
    vx::TAdvColors adv_[3] = {10, 10, 50};
    bool mouseDown_ = false;
    bool focused_ = false;
};

// TFlatCheckBox: a custom-drawn check box with a flat 11 x 11 square.
#pragma once

#include "controls/common/Events.h"
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

    TColor ColorCheck() const { return colorCheck_; }
    void SetColorCheck(TColor value) { SetColors(colorCheck_, value); }

    bool MouseDown() const { return mouseDown_; }
    // The square in client coordinates.
    QRect CheckRect() const;
    // Where the caption is written, wrapping, in client coordinates.
    QRect TextRect() const;
    // Layouts give the box room for its caption on one line in the current
    // font, and follow a new caption or font.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

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
    void Toggle();

    bool checked_ = false;
    TCheckBoxLayout layout_ = TCheckBoxLayout::checkboxLeft;
    std::string caption_;
    int shortcutId_ = 0;
    TColor colorCheck_ = clBlack;
    bool mouseDown_ = false;
    bool focused_ = false;
};

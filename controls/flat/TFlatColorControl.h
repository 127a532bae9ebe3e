// The base of the flat controls that derive their colours from their own
// Color: Color and ParentColor as the class library has them, and UseAdvColors.
#pragma once

#include "controls/flat/FlatUtilitys.h"
#include "editor/Colors.h"

#include <QWidget>

// Base is the Qt widget the control is built on (QWidget, QComboBox).
template <class Base>
class TFlatColorControl : public Base {
public:
    TFlatColorControl(QWidget* parent, TColor color, bool parentColor);

    TColor Color() const { return color_; }
    // Switches ParentColor off.
    void SetColor(TColor value);
    bool ParentColor() const { return parentColor_; }
    // True takes the parent's colour now and whenever it changes.
    void SetParentColor(bool value);
    bool UseAdvColors() const { return useAdvColors_; }
    // Also sets ParentColor to the same value.
    void SetUseAdvColors(bool value);

protected:
    // Overwrites the derived colours; runs only while UseAdvColors is set.
    virtual void CalcAdvColors() = 0;
    virtual void ColorChanged() { this->update(); }
    void RecalcAdvColors();
    // The setter every colour property of a derived class goes through: stores and repaints.
    void SetColors(TColor& color, TColor value)
    {
        color = value;
        this->update();
    }
    // A lightness step of a derived colour; a change derives the colours again.
    void SetAdvColor(vx::TAdvColors& step, int value)
    {
        if (vx::StoreAdvColor(step, value))
            RecalcAdvColors();
    }
    bool event(QEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void ParentColorChanged();
    void TakeParentColor();
    void StoreColor(TColor value);

    TColor color_;
    bool parentColor_;
    bool useAdvColors_ = false;
};

// TFlatHoverControl: the hover look and behaviour the flat check box and the
// flat speed button share: a mouse-over flag kept by one hover tracker per
// control class, and the hovered, pressed and border colours.
#pragma once

#include "controls/flat/FlatHover.h"
#include "controls/flat/FlatUtilitys.h"
#include "controls/flat/TFlatColorControl.h"

#include <QWidget>

// Control is the final class; each such class has a tracker of its own.
template <class Control>
class TFlatHoverControl : public TFlatColorControl<QWidget>, private TFlatHoverClient {
public:
    ~TFlatHoverControl() override { Hover().Detach(this); }

    // With UseAdvColors ColorFocused is lightened, ColorDown and ColorBorder
    // darkened from the control's own Color.
    TColor ColorFocused() const { return colorFocused_; }
    void SetColorFocused(TColor value) { SetColors(colorFocused_, value); }
    TColor ColorDown() const { return colorDown_; }
    void SetColorDown(TColor value) { SetColors(colorDown_, value); }
    TColor ColorBorder() const { return colorBorder_; }
    void SetColorBorder(TColor value) { SetColors(colorBorder_, value); }
    vx::TAdvColors AdvColorFocused() const { return adv_[0]; }
    void SetAdvColorFocused(int value) { SetAdvColor(adv_[0], value); }
    vx::TAdvColors AdvColorDown() const { return adv_[1]; }
    void SetAdvColorDown(int value) { SetAdvColor(adv_[1], value); }
    vx::TAdvColors AdvColorBorder() const { return adv_[2]; }
    void SetAdvColorBorder(int value) { SetAdvColor(adv_[2], value); }

    bool MouseInControl() const { return mouseIn_; }

    static TFlatHoverTracker& Hover()
    {
        static TFlatHoverTracker tracker;
        return tracker;
    }

protected:
    TFlatHoverControl(QWidget* parent, TColor color, TColor colorFocused)
        : TFlatColorControl<QWidget>(parent, color, true), colorFocused_(colorFocused)
    {
        Hover().Attach();
        setMouseTracking(true);
    }

    void CalcAdvColors() override
    {
        colorFocused_ = vx::CalcAdvancedColor(Color(), colorFocused_, adv_[0], false);
        colorDown_ = vx::CalcAdvancedColor(Color(), colorDown_, adv_[1], true);
        colorBorder_ = vx::CalcAdvancedColor(Color(), colorBorder_, adv_[2], true);
    }

    // True while a mouse button pressed on the control is held: the hover
    // stays until it is released.
    virtual bool MouseHeld() const = 0;

    // The mouse moved to point (client coordinates); answers whether it is inside.
    bool HoverMove(const QPoint& point)
    {
        const bool inside = rect().contains(point);
        Hover().MouseMoved(this, inside);
        return inside;
    }

    // Drops the hover at once, held button or not.
    void HoverClear()
    {
        mouseIn_ = false;
        Hover().Release(this);
    }

    void enterEvent(QEnterEvent*) override { Hover().MouseMoved(this, true); }

    void leaveEvent(QEvent*) override
    {
        if (Hover().Owner() == this)
            MouseLeave();
    }

    void MouseEnter() override
    {
        if (!isEnabled() || mouseIn_)
            return;
        mouseIn_ = true;
        update();
    }

    void MouseLeave() override
    {
        if (!isEnabled() || !mouseIn_ || MouseHeld())
            return;
        HoverClear();
        update();
    }

    TColor colorFocused_;
    TColor colorDown_ = vx::clFlatDown;
    TColor colorBorder_ = vx::clFlatBorder;
    vx::TAdvColors adv_[3] = {10, 10, 50};
    bool mouseIn_ = false;

private:
    QWidget* HoverWidget() override { return this; }
};

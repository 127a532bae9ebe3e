// TFlatHoverControl: the hover behaviour the flat check box and the flat speed
// button share: a mouse-over flag kept by one hover tracker per control class.
#pragma once

#include "controls/flat/FlatHover.h"
#include "controls/flat/TFlatColorControl.h"

#include <QWidget>

// Control is the final class; each such class has a tracker of its own.
template <class Control>
class TFlatHoverControl : public TFlatColorControl<QWidget>, private TFlatHoverClient {
public:
    ~TFlatHoverControl() override { Hover().Detach(this); }

    bool MouseInControl() const { return mouseIn_; }

    static TFlatHoverTracker& Hover()
    {
        static TFlatHoverTracker tracker;
        return tracker;
    }

protected:
    TFlatHoverControl(QWidget* parent, TColor color) : TFlatColorControl<QWidget>(parent, color, true)
    {
        Hover().Attach();
        setMouseTracking(true);
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

    bool mouseIn_ = false;

private:
    QWidget* HoverWidget() override { return this; }
};

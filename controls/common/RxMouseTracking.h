// TRxMouseTracking: the mouse-in flag and the enter and leave events the
// shadow label and the speed button share.
#pragma once

#include "controls/common/Events.h"

class QWidget;

class TRxMouseTracking {
public:
    bool MouseInControl() const { return mouseIn_; }

    vx::TNotifyEvent OnMouseEnter;
    vx::TNotifyEvent OnMouseLeave;

protected:
    ~TRxMouseTracking() = default;

    // The mouse is in control while control is enabled, the mouse is inside
    // it and the application is in the foreground. A change fires OnMouseEnter
    // or OnMouseLeave with control as sender; leaving is not reported while
    // held (a mouse button pressed on control). Answers whether the flag changed.
    bool TrackMouse(QWidget& control, bool inside, bool held);

private:
    bool mouseIn_ = false;
};

// Mouse-in flag and enter and leave events of the shadow label and the speed button.
#include "controls/common/RxMouseTracking.h"

#include <QApplication>
#include <QWidget>

bool TRxMouseTracking::TrackMouse(QWidget& control, bool inside, bool held)
{
    const bool now = control.isEnabled() && inside && QApplication::activeWindow() != nullptr;
    if (now == mouseIn_ || (!now && held))
        return false;
    mouseIn_ = now;
    if (const vx::TNotifyEvent& handler = now ? OnMouseEnter : OnMouseLeave)
        handler(&control);
    return true;
}

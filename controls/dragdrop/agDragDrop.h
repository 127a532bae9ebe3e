// TagDropFileTarget: the file drop target the application's windows place.
#pragma once

#include "controls/common/Events.h"
#include "controls/dragdrop/DropTarget.h"

class TagDropFileTarget : public TDropFileTarget {
public:
    explicit TagDropFileTarget(QObject* owner = nullptr) : TDropFileTarget(owner) {}

    // Kept for the windows that set it; the component itself never raises it.
    vx::TNotifyEvent OnPaste;
};

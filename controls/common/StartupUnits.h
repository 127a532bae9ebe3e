// What the component units set up once at start-up: the hand cursors, the
// idle minute timer of the design windows and the operating-system record.
#pragma once

#include "platform/OSVersion.h"

class QTimer;

namespace vx {

// Runs the start-up work once; later calls do nothing.
void InitializeComponentUnits();
// The design windows' minute timer, created disabled; null before start-up.
QTimer* DesignTimer();
// The running system's record, filled at start-up.
const TOSVersion& OSVersion();

} // namespace vx

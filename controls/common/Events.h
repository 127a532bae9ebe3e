// The event shape the controls share: a handler that receives the sender first.
#pragma once

#include <functional>

class QObject;

namespace vx {

using TNotifyEvent = std::function<void(QObject* Sender)>;

} // namespace vx

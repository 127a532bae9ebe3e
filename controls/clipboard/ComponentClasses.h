// The component classes a streamed component can be made from, and making it.
#pragma once

#include "controls/clipboard/ComponentStream.h"

#include <functional>
#include <string>

class QObject;
class QWidget;

namespace vx {

// Registers a class by name; a later registration of the name replaces it.
void RegisterComponentClass(const std::string& className, std::function<QObject*()> make);
// Makes the component with its name and properties, owned by owner (a
// control also parented to it); null when the class is not registered or a
// property is one the class does not have.
QObject* CreateStreamedComponent(const TStreamedComponent& component, QWidget* owner);

} // namespace vx

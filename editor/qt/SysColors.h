// The one place where TColor values meet Qt colours: system-colour references
// (0x80000000 plus a system colour index) are resolved through the application
// palette when something is drawn.
#pragma once

#include "editor/Colors.h"

class QColor;

namespace vx {

// The RGB value a colour stands for now; an RGB colour is returned unchanged
// (its top byte cleared), an unknown system index gives black.
TColor ColorToRGB(TColor color);
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);

} // namespace vx

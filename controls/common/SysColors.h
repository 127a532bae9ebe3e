// Colour helpers of the controls: the TColor resolution of the editor layer
// and the colour a widget is painted in.
#pragma once

#include "editor/qt/SysColors.h"

class QWidget;

namespace vx {

// The colour a widget's background is painted in, as RGB.
TColor WidgetColor(const QWidget* widget);

} // namespace vx

// The colour a widget is painted in, as a TColor.
#include "controls/common/SysColors.h"

#include <QPalette>
#include <QWidget>

namespace vx {

TColor WidgetColor(const QWidget* widget)
{
    return FromQColor(widget->palette().color(widget->backgroundRole()));
}

} // namespace vx

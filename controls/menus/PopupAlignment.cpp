// Pop-up menu alignment: Qt menus open with their top-left corner at the
// point, so the other alignments move the corner before the menu opens.
#include "controls/menus/PopupAlignment.h"

#include <QMenu>
#include <QVariant>

namespace {

constexpr const char* AlignmentProperty = "vxPopupAlignment";

} // namespace

TPopupAlignment PopupAlignment(const QMenu& menu)
{
    const QVariant value = menu.property(AlignmentProperty);
    return value.isValid() ? static_cast<TPopupAlignment>(value.toInt()) : paLeft;
}

void SetPopupAlignment(QMenu& menu, TPopupAlignment value)
{
    menu.setProperty(AlignmentProperty, static_cast<int>(value));
}

QPoint PopupTopLeft(const QMenu& menu, QPoint point)
{
    const int width = menu.sizeHint().width();
    switch (PopupAlignment(menu)) {
    case paRight:
        return {point.x() - width, point.y()};
    case paCenter:
        return {point.x() - width / 2, point.y()};
    default:
        return point;
    }
}

QAction* ExecPopup(QMenu& menu, QPoint point)
{
    return menu.exec(PopupTopLeft(menu, point));
}

// System colours resolved through the application palette.
#include "editor/qt/SysColors.h"

#include <QApplication>
#include <QColor>
#include <QPalette>

#include <array>

namespace vx {

namespace {

struct SysColorRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Indexed by the system colour index (clScrollBar .. clInfoBk).
constexpr std::array<SysColorRole, 25> kSysRoles{{
    {QPalette::Active, QPalette::Button},          // scroll bar
    {QPalette::Active, QPalette::Dark},            // desktop
    {QPalette::Active, QPalette::Highlight},       // active caption
    {QPalette::Inactive, QPalette::Mid},           // inactive caption
    {QPalette::Active, QPalette::Window},          // menu
    {QPalette::Active, QPalette::Base},            // window
    {QPalette::Active, QPalette::Shadow},          // window frame
    {QPalette::Active, QPalette::WindowText},      // menu text
    {QPalette::Active, QPalette::Text},            // window text
    {QPalette::Active, QPalette::HighlightedText}, // caption text
    {QPalette::Active, QPalette::Window},          // active border
    {QPalette::Inactive, QPalette::Window},        // inactive border
    {QPalette::Active, QPalette::Dark},            // application workspace
    {QPalette::Active, QPalette::Highlight},       // highlight
    {QPalette::Active, QPalette::HighlightedText}, // highlight text
    {QPalette::Active, QPalette::Button},          // button face
    {QPalette::Active, QPalette::Dark},            // button shadow
    {QPalette::Disabled, QPalette::Text},          // grey text
    {QPalette::Active, QPalette::ButtonText},      // button text
    {QPalette::Inactive, QPalette::WindowText},    // inactive caption text
    {QPalette::Active, QPalette::Light},           // button highlight
    {QPalette::Active, QPalette::Shadow},          // 3-D dark shadow
    {QPalette::Active, QPalette::Midlight},        // 3-D light
    {QPalette::Active, QPalette::ToolTipText},     // info text
    {QPalette::Active, QPalette::ToolTipBase},     // info background
}};

} // namespace

TColor ColorToRGB(TColor color)
{
    if (!IsSystemColor(color))
        return color & 0x00FFFFFFu;
    unsigned index = color & 0xFFu;
    if (index >= kSysRoles.size())
        return clBlack;
    const SysColorRole& r = kSysRoles[index];
    return FromQColor(QApplication::palette().color(r.group, r.role));
}

QColor ToQColor(TColor color)
{
    TColor rgb = ColorToRGB(color);
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

TColor FromQColor(const QColor& color)
{
    return static_cast<TColor>(color.red()) | (static_cast<TColor>(color.green()) << 8) |
           (static_cast<TColor>(color.blue()) << 16);
}

} // namespace vx

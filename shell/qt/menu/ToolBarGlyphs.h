// The pictures of the main window's tool buttons. A picture that a freely
// licensed icon theme has is taken from it by name; every button also has one
// drawn here (a short mark in a coloured frame), used where the theme is
// missing. A disabled button shows its picture greyed.
#pragma once

#include <QImage>

#include <string_view>

namespace vx::shell::menu {

// The side of a tool-button picture.
inline constexpr int ToolGlyphSize = 16;

// The pictures of the tool button with that name, side by side: the one it
// shows while enabled (the theme's icon when the theme has one, else the
// drawn one), then the same greyed for while it is disabled; null for a name
// of no tool button.
QImage ToolButtonGlyph(std::string_view buttonName);
// The drawn picture alone; null for a name of no tool button.
QImage DrawnToolButtonGlyph(std::string_view buttonName);

} // namespace vx::shell::menu

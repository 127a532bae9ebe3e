// The mini-HTML renderer of the HTML list box: lays out, draws, measures or
// hit-tests a short text with bold, italic, underline, font, link, break,
// rule, indent, paragraph, background and image mark-up.
#pragma once

#include "editor/Colors.h"

#include <QImage>
#include <QRect>

#include <string>
#include <string_view>
#include <vector>

class QPainter;

namespace vx {

// Source of "idx:" images; an index outside the list shows nothing.
using THTMLImages = std::vector<QImage>;

// What one pass over an item found.
struct THTMLItemResult {
    int Height = 0;        // total height of the laid-out lines
    bool OnLink = false;   // the hit-test point lies on a link
    std::string Anchor;    // that link's target
};

// Processes the whole text into rect. The canvas's font is the starting font
// and is restored afterwards. With measureOnly nothing is drawn; with hitTest
// (and not measureOnly) the lines are only measured, and (x, y) is tested
// against the links. Returns result.OnLink.
bool DrawHTMLItem(QPainter& canvas, std::string_view text, const QRect& rect, TColor linkColor, bool measureOnly,
                  bool hitTest, int x, int y, const THTMLImages* images, THTMLItemResult& result);

// Colour for a lower-case name such as "clred" or "clbtnface"; black for any other.
TColor ColorFromName(std::string_view name);
// "#RRGGBB" to a colour; a text too short gives black and a non-hexadecimal
// digit counts as 0.
TColor HexToColor(std::string_view text);

// The icon the desktop shows for source: a decimal number picks one of the
// desktop's standard icons, an existing file or folder its own icon, any other
// name the icon of files of its type. Size is 32 (large) or 16 (small); when
// draw, the icon is painted at (x, y).
void DrawSysIcon(QPainter& canvas, int x, int y, QSize& size, bool draw, bool large, std::string_view source);

} // namespace vx

// Rendering an editor widget into an image for the painting tests, and
// reading back what a text cell looks like.
#pragma once

#include "editor/Colors.h"
#include "editor/mwEditTypes.h"

#include <QImage>

class TmwCustomEdit;

namespace vx::test {

// The editor's client area as painted now.
QImage RenderEdit(TmwCustomEdit& edit);
// The colour most pixels of the screen cell (column, line) have: its background.
TColor CellBackground(const TmwCustomEdit& edit, const QImage& image, TPoint cell);
// Pixels of the cell in a colour other than its background: its ink.
int CellInk(const TmwCustomEdit& edit, const QImage& image, TPoint cell);

} // namespace vx::test

// The horizontal text alignment the controls share (list columns, labels, grid
// cells, the cell-drawing routines).
#pragma once

namespace vx {

enum TAlignment { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };

} // namespace vx

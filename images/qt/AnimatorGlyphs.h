// The animator's tool bar pictures, drawn rather than shipped as a bitmap.
#pragma once

#include <QPixmap>

// The picture of the tool bar button at index (New, Open, Save, Save As,
// Insert, Cut, Copy, Paste, Delete, Move Up, Move Down, Grayscale, Preview,
// About), 16 by 16 with a transparent background; null past the last.
QPixmap AnimatorGlyph(int index);
inline constexpr int kAnimatorGlyphCount = 14;

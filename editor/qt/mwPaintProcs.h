// Painting helpers shared by the editor's drawing code.
#pragma once

class QPainter;
class QRect;

// Fills rect with the painter's background colour, as an opaque draw of no text would.
void InternalFillRect(QPainter& canvas, const QRect& rect);

// Painting helpers shared by the editor's drawing code.
#include "editor/qt/mwPaintProcs.h"

#include <QPainter>

void InternalFillRect(QPainter& canvas, const QRect& rect)
{
    canvas.fillRect(rect, canvas.background().color());
}

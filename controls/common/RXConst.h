// The two hand cursors of the speed bar and the slider, and the table of
// screen cursors by number that holds them.
#pragma once

#include <QCursor>

namespace vx {

constexpr int crHand = 14000;
constexpr int crDragHand = 14001;

// Registers the program's cursor resources "RX_HANDCUR" and "RX_DRAGCUR" as
// screen cursors crHand and crDragHand (the system's hand cursors stand in
// when a resource is missing). Called once at start-up.
void RegisterRxCursors();

void SetScreenCursor(int id, const QCursor& cursor);
// The registered cursor, or the arrow for a number nobody registered.
QCursor ScreenCursor(int id);

} // namespace vx

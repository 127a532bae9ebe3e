// The hand cursors registered at start-up (the speed bar's and the slider's,
// the tool windows' and the design windows'), and the table of screen cursors
// by number that holds them.
#pragma once

#include <QCursor>

namespace vx {

constexpr int crHand = 14000;
constexpr int crDragHand = 14001;
// The tool windows' hand, and the pointing hands of the design windows.
constexpr int crToolbarHand = 10;
constexpr int crRightHand = -1019;
constexpr int crLeftHand = -1020;
constexpr int crTopHand = -1018;

// Registers the program's cursor resources as screen cursors: "RX_HANDCUR" and
// "RX_DRAGCUR" as crHand and crDragHand, "HAND" as crToolbarHand, "RightHand",
// "LeftHand" and "TopHand" as crRightHand, crLeftHand and crTopHand (the
// system's hand cursors stand in when a resource is missing). Called once at
// start-up.
void RegisterRxCursors();

void SetScreenCursor(int id, const QCursor& cursor);
// The registered cursor, or the arrow for a number nobody registered.
QCursor ScreenCursor(int id);

} // namespace vx

// Qt key events in the editor's terms: virtual-key codes and shift states.
#pragma once

#include "editor/mwKeyCmds.h"

class QKeyEvent;
class TmwCustomEditModel;

// The virtual-key code and shift state of a key press; false for a press of a
// modifier key alone (Shift, Ctrl, Alt, ...), which is no stroke of its own.
bool KeyEventToKey(const QKeyEvent& event, uint16_t& key, TShiftState& shift);

// Hands one key press to the editor model: one key-down and, when the press
// types a character, at most one character. Modifier presses alone are
// dropped, so that they do not clear a pending chord.
void DeliverKeyPress(TmwCustomEditModel& model, const QKeyEvent& event);

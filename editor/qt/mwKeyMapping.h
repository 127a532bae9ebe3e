// Qt key events in the editor's terms: virtual-key codes and shift states.
#pragma once

#include "editor/mwKeyCmds.h"

class QKeyEvent;
class TmwCustomEditModel;

// The virtual-key code and shift state of a key press (a modifier key pressed
// alone has its own code: Shift 0x10, Ctrl 0x11, Alt 0x12); false for a press
// Qt cannot name.
bool KeyEventToKey(const QKeyEvent& event, uint16_t& key, TShiftState& shift);

// Hands one key press to the editor model: one key-down and, when the press
// types a character, at most one character. A modifier pressed alone is a
// key-down like any other: it clears a pending chord.
void DeliverKeyPress(TmwCustomEditModel& model, const QKeyEvent& event);

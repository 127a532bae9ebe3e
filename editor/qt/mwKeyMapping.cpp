// Qt key events in the editor's terms.
#include "editor/qt/mwKeyMapping.h"

#include "editor/mwCustomEditModel.h"
#include "platform/Utf8.h"
#include "platform/qt/QtText.h"
#include "platform/qt/VirtualKeys.h"

#include <QKeyEvent>

bool KeyEventToKey(const QKeyEvent& event, uint16_t& key, TShiftState& shift)
{
    const int k = event.key();
    if (k == 0 || k == Qt::Key_unknown)
        return false;
    const Qt::KeyboardModifiers mods = event.modifiers();
    shift = 0;
    if (mods & Qt::ShiftModifier || k == Qt::Key_Backtab)
        shift |= ssShift;
    if (mods & Qt::ControlModifier)
        shift |= ssCtrl;
    if (mods & Qt::AltModifier)
        shift |= ssAlt;
    key = vx::VirtualKeyOf(k);
    return true;
}

void DeliverKeyPress(TmwCustomEditModel& model, const QKeyEvent& event)
{
    uint16_t key = 0;
    TShiftState shift = 0;
    // A character with no key of its own (an emoji from a picker, a character
    // typed by its code) comes with no key code, only its text.
    if (KeyEventToKey(event, key, shift))
        model.KeyDown(key, shift);
    // A key held with Alt alone is a menu or command key, never typing: only
    // Ctrl+Alt (how Windows reports AltGr) still gives characters.
    const Qt::KeyboardModifiers mods = event.modifiers();
    if ((mods & Qt::AltModifier) && !(mods & Qt::ControlModifier))
        return;
    // A key may give a character of several bytes, or (a dead key's
    // composition) more than one character.
    const std::string text = vx::FromQString(event.text());
    for (size_t i = 0; i < text.size();) {
        const size_t length = vx::utf8::CharLength(text, i);
        model.TypeCharacter(text.substr(i, length));
        i += length;
    }
}

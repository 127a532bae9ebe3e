// Qt key events in the editor's terms.
#include "editor/qt/mwKeyMapping.h"

#include "editor/mwCustomEditModel.h"
#include "platform/qt/QtText.h"

#include <QKeyEvent>

#include <utility>

namespace {

constexpr std::pair<int, uint16_t> KeyTable[] = {
    {Qt::Key_Backspace, 0x08}, {Qt::Key_Tab, 0x09}, {Qt::Key_Backtab, 0x09}, {Qt::Key_Return, 0x0D},
    {Qt::Key_Enter, 0x0D}, {Qt::Key_Pause, 0x13}, {Qt::Key_Escape, 0x1B}, {Qt::Key_Space, 0x20},
    {Qt::Key_PageUp, 0x21}, {Qt::Key_PageDown, 0x22}, {Qt::Key_End, 0x23}, {Qt::Key_Home, 0x24},
    {Qt::Key_Left, 0x25}, {Qt::Key_Up, 0x26}, {Qt::Key_Right, 0x27}, {Qt::Key_Down, 0x28},
    {Qt::Key_Print, 0x2C}, {Qt::Key_Insert, 0x2D}, {Qt::Key_Delete, 0x2E}, {Qt::Key_Menu, 0x5D},
    {Qt::Key_NumLock, 0x90}, {Qt::Key_ScrollLock, 0x91},
    {Qt::Key_Semicolon, 0xBA}, {Qt::Key_Colon, 0xBA}, {Qt::Key_Equal, 0xBB}, {Qt::Key_Plus, 0xBB},
    {Qt::Key_Comma, 0xBC}, {Qt::Key_Less, 0xBC}, {Qt::Key_Minus, 0xBD}, {Qt::Key_Underscore, 0xBD},
    {Qt::Key_Period, 0xBE}, {Qt::Key_Greater, 0xBE}, {Qt::Key_Slash, 0xBF}, {Qt::Key_Question, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0}, {Qt::Key_AsciiTilde, 0xC0}, {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_BraceLeft, 0xDB}, {Qt::Key_Backslash, 0xDC}, {Qt::Key_Bar, 0xDC}, {Qt::Key_BracketRight, 0xDD},
    {Qt::Key_BraceRight, 0xDD}, {Qt::Key_Apostrophe, 0xDE}, {Qt::Key_QuoteDbl, 0xDE},
};

// The digit keys under the shifted characters of the common layout.
constexpr std::pair<int, uint16_t> ShiftedDigits[] = {
    {Qt::Key_Exclam, '1'}, {Qt::Key_At, '2'}, {Qt::Key_NumberSign, '3'}, {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'}, {Qt::Key_AsciiCircum, '6'}, {Qt::Key_Ampersand, '7'}, {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'}, {Qt::Key_ParenRight, '0'},
};

// Modifier keys pressed alone are strokes too, with the codes the platform gives them.
constexpr std::pair<int, uint16_t> ModifierKeys[] = {
    {Qt::Key_Shift, 0x10}, {Qt::Key_Control, 0x11}, {Qt::Key_Alt, 0x12}, {Qt::Key_AltGr, 0x12},
    {Qt::Key_CapsLock, 0x14}, {Qt::Key_Meta, 0x5B}, {Qt::Key_Super_L, 0x5B}, {Qt::Key_Super_R, 0x5C},
};

} // namespace

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
    key = 0;
    if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9))
        key = static_cast<uint16_t>(k);
    else if (k >= Qt::Key_F1 && k <= Qt::Key_F24)
        key = static_cast<uint16_t>(0x70 + (k - Qt::Key_F1));
    for (const auto& [qt, vk] : KeyTable)
        if (qt == k)
            key = vk;
    for (const auto& [qt, vk] : ShiftedDigits)
        if (qt == k)
            key = vk;
    for (const auto& [qt, vk] : ModifierKeys)
        if (qt == k)
            key = vk;
    return true;
}

void DeliverKeyPress(TmwCustomEditModel& model, const QKeyEvent& event)
{
    uint16_t key = 0;
    TShiftState shift = 0;
    if (!KeyEventToKey(event, key, shift))
        return;
    model.KeyDown(key, shift);
    const std::string text = vx::FromQString(event.text());
    if (text.size() == 1) {
        char c = text[0];
        model.KeyPress(c);
    }
}

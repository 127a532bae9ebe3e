// Qt keys and Windows virtual-key codes.
#include "platform/qt/VirtualKeys.h"

#include <Qt>

#include <utility>

namespace vx {

namespace {

// A key of the layout: its code, the Qt key and character it gives alone and
// with Shift (0 where it types nothing).
struct TKeyRow {
    std::uint16_t vk;
    int key;
    int shiftedKey;
    char text;
    char shiftedText;
};

constexpr TKeyRow KeyRows[] = {
    {0x03, Qt::Key_Cancel, Qt::Key_Cancel, 0, 0},
    {0x08, Qt::Key_Backspace, Qt::Key_Backspace, '\b', '\b'},
    {0x09, Qt::Key_Tab, Qt::Key_Backtab, '\t', '\t'},
    {0x0D, Qt::Key_Return, Qt::Key_Return, '\r', '\r'},
    {0x13, Qt::Key_Pause, Qt::Key_Pause, 0, 0},
    {0x1B, Qt::Key_Escape, Qt::Key_Escape, '\x1b', '\x1b'},
    {0x20, Qt::Key_Space, Qt::Key_Space, ' ', ' '},
    {0x21, Qt::Key_PageUp, Qt::Key_PageUp, 0, 0},
    {0x22, Qt::Key_PageDown, Qt::Key_PageDown, 0, 0},
    {0x23, Qt::Key_End, Qt::Key_End, 0, 0},
    {0x24, Qt::Key_Home, Qt::Key_Home, 0, 0},
    {0x25, Qt::Key_Left, Qt::Key_Left, 0, 0},
    {0x26, Qt::Key_Up, Qt::Key_Up, 0, 0},
    {0x27, Qt::Key_Right, Qt::Key_Right, 0, 0},
    {0x28, Qt::Key_Down, Qt::Key_Down, 0, 0},
    {0x2C, Qt::Key_Print, Qt::Key_Print, 0, 0},
    {0x2D, Qt::Key_Insert, Qt::Key_Insert, 0, 0},
    {0x2E, Qt::Key_Delete, Qt::Key_Delete, 0, 0},
    {0x5D, Qt::Key_Menu, Qt::Key_Menu, 0, 0},
    {0x90, Qt::Key_NumLock, Qt::Key_NumLock, 0, 0},
    {0x91, Qt::Key_ScrollLock, Qt::Key_ScrollLock, 0, 0},
    {0xBA, Qt::Key_Semicolon, Qt::Key_Colon, ';', ':'},
    {0xBB, Qt::Key_Equal, Qt::Key_Plus, '=', '+'},
    {0xBC, Qt::Key_Comma, Qt::Key_Less, ',', '<'},
    {0xBD, Qt::Key_Minus, Qt::Key_Underscore, '-', '_'},
    {0xBE, Qt::Key_Period, Qt::Key_Greater, '.', '>'},
    {0xBF, Qt::Key_Slash, Qt::Key_Question, '/', '?'},
    {0xC0, Qt::Key_QuoteLeft, Qt::Key_AsciiTilde, '`', '~'},
    {0xDB, Qt::Key_BracketLeft, Qt::Key_BraceLeft, '[', '{'},
    {0xDC, Qt::Key_Backslash, Qt::Key_Bar, '\\', '|'},
    {0xDD, Qt::Key_BracketRight, Qt::Key_BraceRight, ']', '}'},
    {0xDE, Qt::Key_Apostrophe, Qt::Key_QuoteDbl, '\'', '"'},
    // The digit keys and what Shift makes of them.
    {'1', Qt::Key_1, Qt::Key_Exclam, '1', '!'},
    {'2', Qt::Key_2, Qt::Key_At, '2', '@'},
    {'3', Qt::Key_3, Qt::Key_NumberSign, '3', '#'},
    {'4', Qt::Key_4, Qt::Key_Dollar, '4', '$'},
    {'5', Qt::Key_5, Qt::Key_Percent, '5', '%'},
    {'6', Qt::Key_6, Qt::Key_AsciiCircum, '6', '^'},
    {'7', Qt::Key_7, Qt::Key_Ampersand, '7', '&'},
    {'8', Qt::Key_8, Qt::Key_Asterisk, '8', '*'},
    {'9', Qt::Key_9, Qt::Key_ParenLeft, '9', '('},
    {'0', Qt::Key_0, Qt::Key_ParenRight, '0', ')'},
    // Modifier keys pressed alone are strokes too.
    {0x10, Qt::Key_Shift, Qt::Key_Shift, 0, 0},
    {0x11, Qt::Key_Control, Qt::Key_Control, 0, 0},
    {0x12, Qt::Key_Alt, Qt::Key_Alt, 0, 0},
    {0x14, Qt::Key_CapsLock, Qt::Key_CapsLock, 0, 0},
    {0x5B, Qt::Key_Meta, Qt::Key_Meta, 0, 0},
    {0x5C, Qt::Key_Super_R, Qt::Key_Super_R, 0, 0},
};

// Further Qt keys of keys above, which give no key of their own back.
constexpr std::pair<int, std::uint16_t> Aliases[] = {
    {Qt::Key_Enter, 0x0D}, {Qt::Key_AltGr, 0x12}, {Qt::Key_Super_L, 0x5B}
};

constexpr std::uint16_t VkF1 = 0x70;
constexpr int FunctionKeys = 24;

QString TextOf(char c)
{
    return c ? QString(QChar(c)) : QString();
}

} // namespace

std::uint16_t VirtualKeyOf(int qtKey)
{
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return static_cast<std::uint16_t>(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey < Qt::Key_F1 + FunctionKeys)
        return static_cast<std::uint16_t>(VkF1 + (qtKey - Qt::Key_F1));
    for (const TKeyRow& row : KeyRows)
        if (row.key == qtKey || row.shiftedKey == qtKey)
            return row.vk;
    for (const auto& [key, vk] : Aliases)
        if (key == qtKey)
            return vk;
    return 0;
}

TQtKeyStroke QtKeyOf(std::uint16_t virtualKey, bool shifted)
{
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        const char letter = static_cast<char>(shifted ? virtualKey : virtualKey - 'A' + 'a');
        return {virtualKey, TextOf(letter)};
    }
    if (virtualKey >= VkF1 && virtualKey < VkF1 + FunctionKeys)
        return {Qt::Key_F1 + (virtualKey - VkF1), QString()};
    for (const TKeyRow& row : KeyRows)
        if (row.vk == virtualKey)
            return shifted ? TQtKeyStroke{row.shiftedKey, TextOf(row.shiftedText)} : TQtKeyStroke{row.key, TextOf(row.text)};
    return {};
}

} // namespace vx

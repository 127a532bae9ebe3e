// Qt keys and the Windows virtual-key codes that stored key strokes use, as
// the keys of the common US layout have them.
#pragma once

#include <QString>

#include <cstdint>

namespace vx {

// The virtual-key code of the key that gives the Qt key: a letter its capital,
// a shifted character the key it is on ('!' is '1', ':' is VK_OEM_1); 0 for a
// key that has none.
std::uint16_t VirtualKeyOf(int qtKey);

// What a virtual key gives, pressed with or without Shift: the Qt key and the
// text a key event carries for it (empty for keys that type nothing).
struct TQtKeyStroke {
    int key = 0;
    QString text;
};
// Qt key 0 for a code no key of the layout has.
TQtKeyStroke QtKeyOf(std::uint16_t virtualKey, bool shifted);

} // namespace vx

#include "platform/qt/VirtualKeys.h"

#include <gtest/gtest.h>

#include <Qt>

using vx::QtKeyOf;
using vx::VirtualKeyOf;

TEST(VirtualKeys, EveryCodeOfTheLayoutComesBackFromItsQtKeys)
{
    int known = 0;
    for (int vk = 0; vk <= 0xFF; ++vk)
        for (bool shifted : {false, true}) {
            const vx::TQtKeyStroke stroke = QtKeyOf(static_cast<std::uint16_t>(vk), shifted);
            if (stroke.key == 0)
                continue;
            ++known;
            EXPECT_EQ(VirtualKeyOf(stroke.key), vk) << std::hex << vk << (shifted ? " shifted" : "");
        }
    EXPECT_GT(known, 2 * (26 + 10 + 24 + 11)) << "letters, digits, function keys and punctuation";
    EXPECT_EQ(QtKeyOf(0xFF, false).key, 0);
    EXPECT_EQ(QtKeyOf(0x07, true).key, 0);
}

TEST(VirtualKeys, QtKeysMapToTheKeysThatTypeThem)
{
    const struct {
        int key;
        std::uint16_t vk;
        bool shifted;
        const char* text;
    } cases[] = {
        {Qt::Key_A, 'A', false, "a"},          {Qt::Key_Z, 'Z', true, "Z"},
        {Qt::Key_5, '5', false, "5"},          {Qt::Key_Percent, '5', true, "%"},
        {Qt::Key_ParenRight, '0', true, ")"},  {Qt::Key_Colon, 0xBA, true, ":"},
        {Qt::Key_Semicolon, 0xBA, false, ";"}, {Qt::Key_QuoteDbl, 0xDE, true, "\""},
        {Qt::Key_Return, 0x0D, false, "\r"},   {Qt::Key_Backtab, 0x09, true, "\t"},
        {Qt::Key_Space, 0x20, true, " "},      {Qt::Key_F1, 0x70, false, ""},
        {Qt::Key_F24, 0x87, true, ""},         {Qt::Key_Home, 0x24, false, ""},
        {Qt::Key_Shift, 0x10, true, ""},       {Qt::Key_Cancel, 0x03, false, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(VirtualKeyOf(c.key), c.vk) << c.text;
        const vx::TQtKeyStroke back = QtKeyOf(c.vk, c.shifted);
        EXPECT_EQ(back.key, c.key) << std::hex << c.vk;
        EXPECT_EQ(back.text.toStdString(), c.text) << std::hex << c.vk;
    }
    // Keys of another name for one key give that key's code.
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Enter), 0x0D);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_AltGr), 0x12);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Super_L), 0x5B);
    for (int unknown : {0, int(Qt::Key_unknown), int(Qt::Key_Eacute), int(Qt::Key_VolumeUp)})
        EXPECT_EQ(VirtualKeyOf(unknown), 0) << unknown;
}

#include "platform/Cp1252.h"
#include "platform/qt/QtText.h"

#include <gtest/gtest.h>

TEST(Cp1252, SpecialsOfTheHighControlRangeMapBothWays)
{
    const std::pair<unsigned char, char32_t> specials[] = {
        {0x80, 0x20AC}, {0x82, 0x201A}, {0x83, 0x0192}, {0x84, 0x201E}, {0x85, 0x2026},
        {0x86, 0x2020}, {0x87, 0x2021}, {0x88, 0x02C6}, {0x89, 0x2030}, {0x8A, 0x0160},
        {0x8B, 0x2039}, {0x8C, 0x0152}, {0x8E, 0x017D}, {0x91, 0x2018}, {0x92, 0x2019},
        {0x93, 0x201C}, {0x94, 0x201D}, {0x95, 0x2022}, {0x96, 0x2013}, {0x97, 0x2014},
        {0x98, 0x02DC}, {0x99, 0x2122}, {0x9A, 0x0161}, {0x9B, 0x203A}, {0x9C, 0x0153},
        {0x9E, 0x017E}, {0x9F, 0x0178},
        // Undefined in the code page: kept as the control character of that number.
        {0x81, 0x0081}, {0x8D, 0x008D}, {0x8F, 0x008F}, {0x90, 0x0090}, {0x9D, 0x009D},
    };
    for (auto [byte, code] : specials) {
        EXPECT_EQ(vx::Cp1252ToUnicode(byte), code) << int(byte);
        EXPECT_EQ(vx::UnicodeToCp1252(code), byte) << int(byte);
    }
    EXPECT_EQ(vx::Cp1252ToUnicode(0x41), U'A');
    EXPECT_EQ(vx::Cp1252ToUnicode(0xE9), U'\u00E9');
    // Controls whose byte stands for another character have no byte of their own.
    EXPECT_EQ(vx::UnicodeToCp1252(0x0080), -1);
    EXPECT_EQ(vx::UnicodeToCp1252(0x009F), -1);
    EXPECT_EQ(vx::UnicodeToCp1252(0x0100), -1);
}

TEST(QtText, TextCrossesAsUtf8)
{
    const std::string text = "caf\xC3\xA9 10\xE2\x82\xAC \xE4\xBD\xA0\xE5\xA5\xBD \xF0\x9F\x98\x80";
    const QString shown = vx::ToQString(text);
    EXPECT_EQ(shown, QString::fromUtf8(u8"café 10€ 你好 😀"));
    EXPECT_EQ(vx::FromQString(shown), text);
    EXPECT_EQ(vx::FromQString(QString()), "");
    EXPECT_TRUE(vx::ToQString("").isEmpty());
    // A byte that begins no character shows as the replacement character,
    // never as nothing.
    EXPECT_EQ(vx::ToQString("a\xE9z"), QString::fromUtf8(u8"a\uFFFDz"));
}

#include "platform/CodePage.h"

#include <gtest/gtest.h>

TEST(CodePage, ReadsTheBytesOfEachCodePageAsUtf8)
{
    struct Row {
        int codePage;
        std::string bytes;
        std::string text;
        int readAs; // the code page the decoder settles on
    };
    const Row rows[] = {
        {1252, "caf\xE9 \x80 \x81\x9F", "café € \u0081Ÿ", 1252},
        {1251, "\xE6\xE8\xE7\xED\xFC \xA8", "жизнь Ё", 1251},
        {1253, "\xE1\xE2\xE3", "αβγ", 1253},
        {1250, "\x8A\xE8", "Šč", 1250},
        {932, "\x82\xA0\x93\xFA", "あ日", 932},
        {936, "\xC4\xE3\xBA\xC3", "你好", 936},
        {65001, "caf\xC3\xA9 \xE9", "café \uFFFD", 65001},
        // Bytes the code page has no character for, and a character cut short.
        {932, "a\xFF" "b\x82", "a\uFFFDb\uFFFD", 932},
        // Code pages the system does not know are read as 1252.
        {999999, "\xE9", "é", 1252},
        {0, "\xE9", "é", 1252},
        {-5, "\xE9", "é", 1252},
        {1251, "", "", 1251},
    };
    for (const Row& row : rows) {
        vx::TCodePageDecoder decoder(row.codePage);
        EXPECT_EQ(decoder.CodePage(), row.readAs) << row.codePage;
        EXPECT_EQ(decoder.ToUtf8(row.bytes), row.text) << row.codePage;
        EXPECT_EQ(decoder.ToUtf8(row.bytes), row.text) << row.codePage << ", again";
    }
}

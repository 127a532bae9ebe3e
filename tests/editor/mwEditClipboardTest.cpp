#include "editor/mwEditClipboard.h"

#include <gtest/gtest.h>

TEST(EditBlock, CarriesModeAndTextWithTerminator)
{
    std::string block = EncodeEditBlock(smColumn, "ab\r\ncd");
    EXPECT_EQ(block, std::string("\x01" "ab\r\ncd", 7) + '\0');
    TSelectionMode mode = smNormal;
    std::string text;
    ASSERT_TRUE(DecodeEditBlock(block, mode, text));
    EXPECT_EQ(mode, smColumn);
    EXPECT_EQ(text, "ab\r\ncd");
}

TEST(EditBlock, ForeignBlocksAreReadWithinTheirSize)
{
    TSelectionMode mode = smLine;
    std::string text = "unchanged";
    EXPECT_FALSE(DecodeEditBlock("", mode, text)) << "an empty block is rejected";
    EXPECT_EQ(text, "unchanged");

    ASSERT_TRUE(DecodeEditBlock("\x02xyz", mode, text)) << "no terminator: the text ends with the block";
    EXPECT_EQ(mode, smLine);
    EXPECT_EQ(text, "xyz");

    ASSERT_TRUE(DecodeEditBlock(std::string("\x07" "a\0b", 4), mode, text));
    EXPECT_EQ(mode, smNormal) << "an unknown mode byte is normal mode";
    EXPECT_EQ(text, "a");

    ASSERT_TRUE(DecodeEditBlock("\x01", mode, text));
    EXPECT_EQ(text, "");
}

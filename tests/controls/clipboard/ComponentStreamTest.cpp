// The streamed form of a component: binary round trips, damaged data and the text form.
#include "controls/clipboard/ComponentStream.h"

#include <gtest/gtest.h>

using namespace vx;

namespace {

TStreamedComponent Sample()
{
    return {"TButton",
            "Button1",
            {{"Left", TStreamedProperty::Integer, -8, {}},
             {"Caption", TStreamedProperty::String, 0, std::string("O\0K'", 4)},
             {"Default", TStreamedProperty::Identifier, 0, "True"}}};
}

} // namespace

TEST(ComponentStream, RoundTripAndTextForm)
{
    std::string bytes;
    ASSERT_TRUE(WriteComponent(Sample(), bytes));
    TStreamedComponent read;
    ASSERT_TRUE(ReadComponent(bytes, read));
    EXPECT_EQ(read.ClassName, "TButton");
    EXPECT_EQ(read.Name, "Button1");
    ASSERT_EQ(read.Properties.size(), 3u);
    EXPECT_EQ(read.Properties[0].Number, -8);
    EXPECT_EQ(read.Properties[1].Text, std::string("O\0K'", 4));
    EXPECT_EQ(read.Properties[2].Text, "True");
    EXPECT_EQ(ComponentText(read), (std::vector<std::string>{"object Button1: TButton", "  Left = -8",
                                                              "  Caption = 'O'#0'K'''", "  Default = True", "end"}));
    EXPECT_EQ(ComponentText({"TTimer", "", {{"Hint", TStreamedProperty::String, 0, ""}}}),
              (std::vector<std::string>{"object TTimer", "  Hint = ''", "end"}));
}

TEST(ComponentStream, DamagedOrUnwritableData)
{
    std::string good;
    ASSERT_TRUE(WriteComponent(Sample(), good));
    // Every cut of the data short of its whole is refused, as is anything after it.
    TStreamedComponent read;
    for (std::size_t size = 0; size < good.size(); ++size)
        EXPECT_FALSE(ReadComponent(std::string_view(good).substr(0, size), read)) << size;
    EXPECT_FALSE(ReadComponent(good + "x", read));
    std::string badKind = good;
    badKind[badKind.find("Left") + 4] = 9;
    EXPECT_FALSE(ReadComponent(badKind, read));
    std::string hugeString = good;
    const std::size_t length = hugeString.find("Caption") + 8;
    hugeString.replace(length, 4, "\xff\xff\xff\x7f");
    EXPECT_FALSE(ReadComponent(hugeString, read));
    EXPECT_FALSE(ReadComponent("XXXX" + good.substr(4), read));

    std::string bytes = "untouched";
    EXPECT_FALSE(WriteComponent({"", "Name1", {}}, bytes));
    EXPECT_FALSE(WriteComponent({"TButton", std::string(256, 'a'), {}}, bytes));
    EXPECT_FALSE(WriteComponent({"TButton", "B", {{"", TStreamedProperty::Integer, 1, {}}}}, bytes));
    EXPECT_FALSE(WriteComponent({"TButton", "B", {{"Default", TStreamedProperty::Identifier, 0, ""}}}, bytes));
    EXPECT_EQ(bytes, "untouched");
}

#include "shell/DocumentFile.h"
#include "shell/ListFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using vx::shell::LoadListFile;
using vx::shell::ParseTreeText;
using vx::shell::TTreeTextNode;

namespace {

std::vector<std::string> Items(const TStringList& list)
{
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list[i]);
    return out;
}

} // namespace

TEST(ListFiles, ReadsCrLfAndLoneLfWithEmptyLinesAsEntries)
{
    vx::test::TempDir dir;
    const std::string crlf = dir.file("a.ae");
    const std::string lf = dir.file("b.ae");
    vx::test::writeFile(crlf, "<b>:</b>\r\n\r\n<i>:</i>\r\n");
    vx::test::writeFile(lf, "<b>:</b>\n\n<i>:</i>");
    TStringList a;
    TStringList b;
    ASSERT_TRUE(LoadListFile(crlf, a));
    ASSERT_TRUE(LoadListFile(lf, b));
    const std::vector<std::string> expected{"<b>:</b>", "", "<i>:</i>"};
    EXPECT_EQ(Items(a), expected);
    EXPECT_EQ(Items(b), expected);
}

TEST(ListFiles, LoadReplacesContentsAndMissingFileKeepsThem)
{
    vx::test::TempDir dir;
    TStringList list;
    list.Add("old");
    EXPECT_FALSE(LoadListFile(dir.file("missing.ae"), list));
    EXPECT_EQ(Items(list), std::vector<std::string>{"old"});
    vx::test::writeFile(dir.file("empty.ae"), "");
    EXPECT_TRUE(LoadListFile(dir.file("empty.ae"), list));
    EXPECT_EQ(list.Count(), 0);
}

TEST(ListFiles, TreeTextDepthsFromBlanksAndTabs)
{
    const auto nodes = ParseTreeText("Statements\r\n\tbreak;\r\n\t  deeper\r\n  two blanks\r\nDocument\n\tdocument.write(\"\");\n");
    const std::vector<TTreeTextNode> expected{
        {0, "Statements"}, {1, "break;"}, {2, "deeper"}, {2, "two blanks"}, {0, "Document"},
        {1, "document.write(\"\");"}};
    EXPECT_EQ(nodes, expected);
}

TEST(ListFiles, TreeTextNeverJumpsMoreThanOneLevel)
{
    const auto nodes = ParseTreeText("\t\tfirst\r\nroot\r\n\t\t\t\tfar\r\n\t\tnext");
    const std::vector<TTreeTextNode> expected{{0, "first"}, {0, "root"}, {1, "far"}, {2, "next"}};
    EXPECT_EQ(nodes, expected);
    EXPECT_TRUE(ParseTreeText("").empty());
}

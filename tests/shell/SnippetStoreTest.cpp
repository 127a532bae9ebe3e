// The snippet, code-base and user tag files: name mapping and refusals, the
// list of pairs, files confined to their folder, and user tag entries.
#include "platform/Exception.h"
#include "shell/CodeBase.h"
#include "shell/FolderFiles.h"
#include "shell/Snippets.h"
#include "shell/UserTags.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using vx::shell::TSnippet;
using vx::shell::TSnippetStore;

TEST(SnippetNames, BlanksBecomeZeroDigits)
{
    EXPECT_EQ(vx::shell::SnippetFileName("my  table"), "my00table.snp");
    EXPECT_EQ(vx::shell::SnippetFileName("loop"), "loop.snp");
    EXPECT_EQ(vx::shell::SnippetFileName(" lead"), "0lead.snp");
}

TEST(SnippetNames, NamesThatWouldLeaveTheFolderOrCannotBeFilesAreRefused)
{
    for (const char* bad : {"", "   ", "..", "a..b", "a/b", "a\\b", "/etc/passwd", "a:b", "a*", "a?", "a|b", "a<b",
                            "a>b", "say \"hi\"", "tab\there", "line\nbreak"})
        EXPECT_NE(vx::shell::SnippetNameProblem(bad), "") << bad;
    for (const char* good : {"table", "my table", "v1.2", "\xC3\xA4-\xC3\xB6_\xC3\xBC", "a.b"})
        EXPECT_EQ(vx::shell::SnippetNameProblem(good), "") << good;
}

TEST(SnippetNames, ListedFileNamesAreReadOnlyWhenPlain)
{
    for (const char* bad : {"", ".", "..", "../x.snp", "a/b.snp", "a\\b.snp", "x\x01.snp"})
        EXPECT_FALSE(vx::shell::IsPlainFileName(bad)) << bad;
    for (const char* good : {"a0b.snp", "loop..snp", "...", ".hidden"})
        EXPECT_TRUE(vx::shell::IsPlainFileName(good)) << good;
}

TEST(SnippetList, PairsOfLinesAndADanglingNameLeftOut)
{
    EXPECT_EQ(vx::shell::ParseSnippetList("a b\r\na0b.snp\r\nc\nc.snp\nodd\r\n"),
              (std::vector<TSnippet>{{"a b", "a0b.snp"}, {"c", "c.snp"}}));
    EXPECT_TRUE(vx::shell::ParseSnippetList("").empty());
}

class SnippetStore : public ::testing::Test {
protected:
    vx::test::TempDir dir;
    std::string folder = dir.file("snippets");
    TSnippetStore store{folder};
};

TEST_F(SnippetStore, SavingWritesTheFileAndCreatesAMissingList)
{
    EXPECT_TRUE(store.List().empty());
    store.Save("two  blanks", "<b>\r\n</b>\r\n");
    EXPECT_EQ(vx::test::readFile(folder + "/two00blanks.snp"), "<b>\r\n</b>\r\n");
    EXPECT_EQ(vx::test::readFile(store.ListPath()), "two  blanks\r\ntwo00blanks.snp\r\n");
    EXPECT_EQ(store.List(), (std::vector<TSnippet>{{"two  blanks", "two00blanks.snp"}}));
    EXPECT_EQ(store.Text("two00blanks.snp"), "<b>\r\n</b>\r\n");
}

TEST_F(SnippetStore, TwoNamesNeverShareAFile)
{
    store.Save("first", "1");
    store.Save("a b", "old");
    EXPECT_FALSE(store.Taken("other"));
    EXPECT_TRUE(store.Taken("a0b")) << "a different name of the same file";
    EXPECT_TRUE(store.Taken("a b"));
    store.Save("a0b", "new");
    EXPECT_EQ(store.List(), (std::vector<TSnippet>{{"first", "first.snp"}, {"a0b", "a0b.snp"}}));
    EXPECT_EQ(store.Text("a0b.snp"), "new");
}

TEST_F(SnippetStore, AnUnlistedFileOfTheNameCountsAsTaken)
{
    std::filesystem::create_directories(folder);
    vx::test::writeFile(folder + "/loose.snp", "x");
    EXPECT_TRUE(store.Taken("loose"));
}

TEST_F(SnippetStore, RefusedNamesWriteNothing)
{
    for (const char* bad : {"", "../escape", "a/b"})
        EXPECT_THROW(store.Save(bad, "x"), EConvertError) << bad;
    EXPECT_FALSE(std::filesystem::exists(folder));
    EXPECT_FALSE(std::filesystem::exists(dir.file("escape.snp")));
}

// Snippets an earlier version kept in Windows-1252 (list, file names and
// texts) read as their characters; the list is written back in UTF-8.
TEST_F(SnippetStore, SnippetsOfAnEarlierVersionInWindows1252ReadAsTheirCharacters)
{
    std::filesystem::create_directories(folder);
    vx::test::writeFile(store.ListPath(), "Caf\xE9\r\nCaf\xE9.snp\r\nplain\r\nplain.snp\r\n");
    vx::test::writeFile(folder + "/Caf\xE9.snp", "<p>\x80 5, \xE9t\xE9</p>\r\n");
    vx::test::writeFile(folder + "/plain.snp", "<p>caf\xC3\xA9</p>\r\n");
    const std::vector<TSnippet> listed{{"Caf\xC3\xA9", "Caf\xC3\xA9.snp"}, {"plain", "plain.snp"}};
    EXPECT_EQ(store.List(), listed);
    const std::pair<std::string, std::string> texts[] = {
        {"Caf\xC3\xA9.snp", "<p>\xE2\x82\xAC 5, \xC3\xA9t\xC3\xA9</p>\r\n"},
        {"plain.snp", "<p>caf\xC3\xA9</p>\r\n"},
    };
    for (const auto& [file, text] : texts)
        EXPECT_EQ(store.Text(file), text) << file;
    EXPECT_TRUE(store.Taken("Caf\xC3\xA9"));

    store.Save("J\xC3\xB6rg", "\xCE\xB1\xE4\xBD\xA0");
    EXPECT_EQ(vx::test::readFile(store.ListPath()),
              "Caf\xC3\xA9\r\nCaf\xC3\xA9.snp\r\nplain\r\nplain.snp\r\nJ\xC3\xB6rg\r\nJ\xC3\xB6rg.snp\r\n");
    EXPECT_EQ(vx::test::readFile(folder + "/J\xC3\xB6rg.snp"), "\xCE\xB1\xE4\xBD\xA0");
    EXPECT_EQ(store.Text("Caf\xC3\xA9.snp"), texts[0].second) << "the old file is still found";
}

TEST_F(SnippetStore, AListedPathOutsideTheFolderIsNeverRead)
{
    vx::test::writeFile(dir.file("secret.txt"), "secret");
    std::filesystem::create_directories(folder);
    vx::test::writeFile(store.ListPath(), "bad\r\n../secret.txt\r\n");
    ASSERT_EQ(store.List().size(), 1u);
    EXPECT_EQ(store.Text(store.List()[0].File), "");
    EXPECT_EQ(store.Text("missing.snp"), "");
}

TEST(CodeBase, EntriesOutsideTheFolderAreLeftOut)
{
    vx::test::TempDir dir;
    vx::test::writeFile(dir.file("codebase.dat"), "one.txt\r\n../two.txt\r\nsub/three.txt\r\nfour.txt\r\n");
    vx::test::writeFile(dir.file("one.txt"), "<p>\r\n");
    EXPECT_EQ(vx::shell::CodeBaseEntries(dir.path().string()), (std::vector<std::string>{"one.txt", "four.txt"}));
    EXPECT_EQ(vx::shell::CodeBaseText("one.txt", dir.path().string()), "<p>\r\n");
    EXPECT_EQ(vx::shell::CodeBaseText("four.txt", dir.path().string()), "") << "listed but missing";
    vx::test::TempDir empty;
    EXPECT_TRUE(vx::shell::CodeBaseEntries(empty.path().string()).empty());
}

TEST(UserTagEntries, UpperCasedWithAndWithoutEndTag)
{
    struct Case {
        const char* start;
        const char* end;
        const char* entry;
    };
    const Case cases[] = {
        {"<blink>", "</blink>", "<BLINK>:</BLINK>"},
        {"<br>", "", "<BR>"},
        {"<\xC3\xA4>", "</\xC3\xA4>", "<\xC3\x84>:</\xC3\x84>"}, // ä
        {"<\xD0\xB6>", "", "<\xD0\x96>"},                         // ж
        {"<\xE4\xBD\xA0>", "", "<\xE4\xBD\xA0>"},                   // 你
        {"<a:b>", "</a:b>", "<A:B>:</A:B>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vx::shell::UserTagEntry(c.start, c.end), c.entry) << c.start;
}

TEST(UserTagEntries, SplitAtTheLastColon)
{
    using Pair = std::pair<std::string, std::string>;
    EXPECT_EQ(vx::shell::SplitUserTag("<B>:</B>"), (Pair{"<B>", "</B>"}));
    EXPECT_EQ(vx::shell::SplitUserTag("<BR>"), (Pair{"<BR>", ""}));
    EXPECT_EQ(vx::shell::SplitUserTag("<A:B>:</A>"), (Pair{"<A:B>", "</A>"}));
    EXPECT_EQ(vx::shell::SplitUserTag("<X>:"), (Pair{"<X>", ""}));
}

// The version-manager list file: IDs, the keys an entry is written with, and
// reading back without regard to the letter case of keys.
#include "shell/VersionList.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using vx::shell::TVcsList;
using vx::shell::TVcsRow;
using vx::shell::TVcsTask;

namespace {

TVcsTask Task(const std::string& topic, const std::string& file = "/site/index.htm")
{
    return {"1/2/2024", "2/3/2024", topic, "High", "Ann", file, "1.0", "1/1/2024", "1/1/2024 9:00:00 AM"};
}

class VersionList : public ::testing::Test {
protected:
    vx::test::TempDir dir;
    std::string path = dir.file("vcsmanager.dat");
    TVcsList list{path};
};

} // namespace

TEST_F(VersionList, AddWritesEveryKeyInOrderAndAnswersTheRowItShows)
{
    const TVcsRow row = list.Add("0", Task("Menu"));
    EXPECT_EQ(row, (TVcsRow{"0", "index.htm", "1/2/2024", "2/3/2024", "Menu", "High", "Ann", "", "1.0"}));
    EXPECT_EQ(vx::test::readFile(path), "[0]\r\nID=0\r\ns_date=1/2/2024\r\ne_date=2/3/2024\r\na_date=1/1/2024\r\n"
                                        "Topic=Menu\r\nPriority=High\r\nUsername=Ann\r\nS_File=index.htm\r\n"
                                        "F_file=/site/index.htm\r\nversion=1.0\r\n"
                                        "Creation_date_time=1/1/2024 9:00:00 AM\r\nCreated_ by=Ann\r\n");
    EXPECT_EQ(list.Rows(), std::vector<TVcsRow>{row}) << "read back, the row shows the same nine cells";
}

TEST_F(VersionList, IdsAreRowCountsUntilOneIsTaken)
{
    struct Case {
        std::vector<std::string> existing;
        int rows;
        std::string next;
    };
    const Case cases[] = {
        {{}, 0, "0"},
        {{"0"}, 1, "1"},
        {{"0", "1"}, 2, "2"},
        {{"1"}, 1, "2"},            // "0" deleted: the count names a remaining entry
        {{"0", "2"}, 2, "3"},       // "1" deleted
        {{"0", "1", "3"}, 3, "4"},  // skips every taken number
        {{"0"}, 0, "1"},            // a row count behind the file never overwrites
        {{"task", "0"}, 2, "2"},    // hand-written section names are kept apart
    };
    for (const Case& c : cases) {
        vx::test::TempDir caseDir;
        TVcsList caseList(caseDir.file("vcs.dat"));
        for (const std::string& id : c.existing)
            caseList.Add(id, Task("t" + id));
        EXPECT_EQ(caseList.NextId(c.rows), c.next) << ::testing::PrintToString(c.existing);
    }
}

TEST_F(VersionList, ANewEntryAfterADeleteLeavesTheOthersAlone)
{
    list.Add(list.NextId(0), Task("first"));
    list.Add(list.NextId(1), Task("second"));
    list.Erase("0");
    const std::string id = list.NextId(1);
    list.Add(id, Task("third"));
    EXPECT_EQ(id, "2");
    EXPECT_EQ(list.Ids(), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(list.Value("1", "Topic"), "second");
    EXPECT_EQ(list.Value("2", "Topic"), "third");
}

TEST_F(VersionList, KeysAndIdsMatchWithoutRegardToCase)
{
    vx::test::writeFile(path, "[7]\r\nid=7\r\nS_FILE=a.htm\r\nF_FILE=/x/a.htm\r\nPRIORITY=Low\r\nVersion=2\r\n"
                              "CHANGED=today\r\n[8]\r\nId=8\r\n");
    const std::vector<TVcsRow> rows = list.Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (TVcsRow{"7", "a.htm", "", "", "", "Low", "", "today", "2"}));
    EXPECT_EQ(rows[1], (TVcsRow{"8", "", "", "", "", "", "", "", ""})) << "a missing key is an empty cell";
    EXPECT_EQ(list.Value("7", "f_file"), "/x/a.htm");
    EXPECT_EQ(list.Values("F_file"), (std::vector<std::string>{"/x/a.htm", ""}));
    list.Write("7", "version", "3");
    EXPECT_EQ(list.Value("7", "VERSION"), "3");
    EXPECT_EQ(vx::test::readFile(path).find("version=3"), std::string::npos) << "the key keeps the file's spelling";
}

TEST_F(VersionList, AMissingFileIsAnEmptyList)
{
    EXPECT_FALSE(list.Exists());
    EXPECT_TRUE(list.Rows().empty());
    EXPECT_TRUE(list.Values("F_file").empty());
    EXPECT_EQ(list.Value("0", "f_file", "none"), "none");
    EXPECT_FALSE(list.Exists()) << "reading creates nothing";
}

TEST(VersionListNames, FileNameAndUserName)
{
    EXPECT_EQ(vx::shell::FileNameOnly("/a/b/c.htm"), "c.htm");
    EXPECT_EQ(vx::shell::FileNameOnly("c:\\site\\d.asp"), "d.asp");
    EXPECT_EQ(vx::shell::FileNameOnly("plain"), "plain");
}

// The login name in a buffer of 20 bytes, its first character upper-cased.
TEST(VersionListNames, TheUserNameIsCutAtAWholeCharacterAndBeginsInUpperCase)
{
    const std::pair<std::string, std::string> rows[] = {
        {"ann", "Ann"},
        {"", ""},
        {"abcdefghijklmnopqrstuvwxyz", "Abcdefghijklmnopqrst"},
        {"\xC3\xA9lise", "\xC3\x89lise"},                           // élise
        {"\xD0\xB6\xD0\xB0\xD0\xBD\xD0\xBD\xD0\xB0", "\xD0\x96\xD0\xB0\xD0\xBD\xD0\xBD\xD0\xB0"}, // жанна
        {"\xE4\xBD\xA0\xE5\xA5\xBD", "\xE4\xBD\xA0\xE5\xA5\xBD"},   // 你好: no case
        {"abcdefghijklmnopqrs\xC3\xA9z", "Abcdefghijklmnopqrs"},     // é would end past the buffer
        {"\xE9t\xE9", "\xE9t\xE9"},                                  // bytes of no character stay
    };
    for (const auto& [login, name] : rows)
        EXPECT_EQ(vx::shell::TaskUserName(login), name) << login;
}

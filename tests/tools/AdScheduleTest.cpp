// Ad rotator schedules: reading, writing with a backup, and the ASP lines.
#include "tests/support/TempDir.h"
#include "tools/AdSchedule.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vx::tools;

namespace {

const char* Sample = "REDIRECT /ads/go.asp\r\nWIDTH 468\r\nHEIGHT 60\r\nBORDER 0\r\n*\r\n"
                     "/img/a.gif\r\nhttp://a/\r\nA\r\n10\r\n/img/b.gif\r\nhttp://b/\r\nB\r\n20\r\n";

} // namespace

TEST(AdSchedule, ReadsTheHeaderAndTheAdvertisements)
{
    const std::optional<TAdSchedule> read = ParseAdSchedule(Sample);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Redirect, "/ads/go.asp");
    EXPECT_EQ(read->Width, "468");
    EXPECT_EQ(read->Border, "0");
    ASSERT_EQ(read->Ads.size(), 2u);
    EXPECT_EQ(read->Ads[1], (TAdvertisement{"/img/b.gif", "http://b/", "B", "20"}));
    EXPECT_EQ(AdScheduleText(*read), Sample) << "written back as it was read";
}

TEST(AdSchedule, OddFiles)
{
    EXPECT_FALSE(ParseAdSchedule("REDIRECT x\r\nWIDTH 1\r\nHEIGHT 1\r\nBORDER 1\r\n**\r\n"));
    EXPECT_FALSE(ParseAdSchedule("REDIRECT x\r\n*\r\n"));
    EXPECT_FALSE(ParseAdSchedule(""));
    const std::optional<TAdSchedule> cut = ParseAdSchedule("redirect x\nWIDTH\nxHEIGHT 5\nBORDER 2\n*\nimg\nhome\n");
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->Redirect, "redirect x") << "the keyword is case-sensitive";
    EXPECT_EQ(cut->Width, "");
    EXPECT_EQ(cut->Height, "x5");
    EXPECT_EQ(cut->Ads, (std::vector<TAdvertisement>{{"img", "home", "", ""}}));
    TAdSchedule empty{"r", "1", "2", "3", {}};
    EXPECT_EQ(AdScheduleText(empty), "REDIRECT r\r\nWIDTH 1\r\nHEIGHT 2\r\nBORDER 3\r\n*\r\n");
}

TEST(AdSchedule, SavingKeepsABackup)
{
    vx::test::TempDir dir;
    const std::string file = dir.file("ads.txt");
    TAdSchedule schedule = *ParseAdSchedule(Sample);
    SaveAdSchedule(file, schedule);
    EXPECT_FALSE(std::filesystem::exists(dir.file("ads.bak"))) << "a new file has nothing to back up";
    schedule.Ads.push_back(NewAdvertisement());
    schedule.Ads[0].Impressions = "99";
    SaveAdSchedule(file, schedule);
    EXPECT_EQ(vx::test::readFile(dir.file("ads.bak")), Sample);
    EXPECT_EQ(ParseAdSchedule(vx::test::readFile(file)), schedule) << "read, edit, write, read";
    EXPECT_EQ(BackupName("/x/s.bak"), "/x/s.bak.bak");
    EXPECT_EQ(BackupName("/x/noext"), "/x/noext.bak");
}

TEST(AdSchedule, AFailedBackupLeavesTheScheduleAlone)
{
    vx::test::TempDir dir;
    const std::string file = dir.file("ads.txt");
    vx::test::writeFile(file, Sample);
    std::filesystem::create_directory(dir.file("ads.bak")); // a folder where the backup should go
    TAdSchedule schedule = *ParseAdSchedule(Sample);
    schedule.Ads.clear();
    EXPECT_THROW(SaveAdSchedule(file, schedule), std::exception);
    EXPECT_EQ(vx::test::readFile(file), Sample);
}

TEST(AdSchedule, AspLinesNameOnlyTheFile)
{
    for (const char* path : {"c:\\site\\ads.txt", "/srv/site/ads.txt", "ads.txt"})
        EXPECT_EQ(AdRotatorLines(path),
                  (std::vector<std::string>{"", "<% Dim My_Advertisements %>",
                                            "<% Set My_Advertisements = Server.CreateObject(\"MSWC.AdRotator\") %>",
                                            "<% = My_Advertisements.GetAdvertisement(\"ads.txt\") %>", ""}));
}

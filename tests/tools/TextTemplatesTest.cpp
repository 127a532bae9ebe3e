// The texts of the link, image, font, colour, date, remark, if-then and
// make-function helpers, and the URL history file.
#include "platform/Utf8.h"
#include "tests/support/FormatSettingsScope.h"
#include "tests/support/TempDir.h"
#include "tools/EntityTable.h"
#include "tools/TextTemplates.h"
#include "tools/UrlHistory.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vx::tools;

TEST(TextTemplates, LinkLines)
{
    struct {
        TLinkFields fields;
        const char* line;
    } cases[] = {
        {{"http://", "docs/a.htm", "", "", "_Blank", "Home"}, "<a href=\"http://docs/a.htm\" target=\"_Blank\" >Home</a>"},
        {{"http://", "x.asp", "q", "1", "main", "Go"}, "<a href=\"http://x.asp?q=1\" target=\"main\" >Go</a>"},
        {{"file:///", "c:/a.htm", "", "", "_Top", "A"}, "<a href=\"file:///c:/a.htm\" target=\"_Top\" >A</a>"},
        {{"ftp://", "h/f", "", "ignored without a name", "_Self", "F", "in", "out"},
         "<a href=\"ftp://h/f\" target=\"_Self\" onmouseover=\"window.status='in';return true\" "
         "onmouseout=\"window.status='out';return true\" >F</a>"},
        {{"https://", "s", "", "", "_Blank", "", "", "out"},
         "<a href=\"https://s\" target=\"_Blank\" onmouseout=\"window.status='out';return true\" ></a>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LinkLine(c.fields), c.line);
    EXPECT_STREQ(LinkTypes.back(), "file:///");
}

TEST(TextTemplates, ImageLines)
{
    struct {
        TImageFields fields;
        const char* line;
    } cases[] = {
        {{"a.gif", "x", "50", "100"}, "<img src=\"a.gif\" Alt=\"x\" height=\"50\" width=\"100\"  border=\"0\">"},
        {{"a.gif", "a.gif"}, "<img src=\"a.gif\" Alt=\"a.gif\" border=\"0\">"},
        {{"a.gif", "a", "", "7"}, "<img src=\"a.gif\" Alt=\"a\" width=\"7\"  border=\"0\">"},
        {{"p.png", "p", "", "", "http://x/", true}, "<a href=\"http://x/\"><img src=\"p.png\" Alt=\"p\" border=\"0\"></a>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ImageLine(c.fields), c.line);
}

TEST(TextTemplates, FontsAndColours)
{
    EXPECT_EQ(FontLine("Verdana"), "<font face=\"Verdana\"></font>");
    EXPECT_EQ(ColourText(0x0066FF), "#FF6600");
    EXPECT_EQ(ColourText(0xFFFFFF), "#FFFFFF");
    EXPECT_EQ(ColourText(0xAB0000), "#0000AB");
    EXPECT_EQ(FontColourLine(0x00CC33), "<font color=\"#33CC00\"></font>");
    EXPECT_EQ(MailtoLine("a@b.c"), "<a href=\"mailto:a@b.c\">a@b.c</a>");
}

// Each caption shows its character, whole, before a blank.
TEST(TextTemplates, EntityTable)
{
    ASSERT_EQ(Entities.size(), 69u);
    EXPECT_STREQ(Entities.front().Name, "reg");
    EXPECT_STREQ(Entities.back().Name, "yuml");
    EXPECT_EQ(EntityText(Entities[13]), "&AElig;");
    const std::pair<std::size_t, const char*> captions[] = {
        {0, "® Register mark"},
        {1, "© Copyright"},
        {7, "À Capital A grave accent"},
        {13, "Æ AE dipthong (ligature)"},
        {37, "ß Small sharp s (German sz ligature)"},
        {68, "ÿ Small y umlaut"},
    };
    for (const auto& [index, caption] : captions)
        EXPECT_STREQ(Entities[index].Caption, caption) << Entities[index].Name;
    // Letters run through the Latin-1 upper half in order, without the two signs.
    char32_t previous = 0xBF;
    for (std::size_t i = 7; i < Entities.size(); ++i) {
        const std::string_view caption = Entities[i].Caption;
        std::size_t length = 0;
        const char32_t c = vx::utf8::Decode(caption, 0, &length);
        EXPECT_EQ(caption.substr(length, 1), " ") << Entities[i].Name;
        EXPECT_GT(c, previous) << Entities[i].Name;
        EXPECT_LE(c, 0xFFu) << Entities[i].Name;
        EXPECT_NE(c, 0xD7u);
        EXPECT_NE(c, 0xF7u);
        previous = c;
    }
}

TEST(TextTemplates, DateAndTimeLists)
{
    vx::TFormatSettings settings;
    ASSERT_EQ(vx::FormatSettings(), settings) << "the tests run with the default settings";
    const TClockReading when{2026, 3, 7, 6, 15, 4, 9};
    const TLines dates = FormattedItems(DateFormats, when);
    ASSERT_EQ(dates.size(), 14u);
    EXPECT_EQ(dates[0], "Saturday, March 7, 2026");
    EXPECT_EQ(dates[3], "Sat, Mar 7, 2026");
    EXPECT_EQ(dates[6], dates[9]);
    EXPECT_EQ(dates[10], "07/03/2026");
    EXPECT_EQ(dates[12], "03/07/26");
    const TLines times = FormattedItems(TimeFormats, when);
    ASSERT_EQ(times.size(), 7u);
    EXPECT_EQ(times[0], "3:04 PM");
    EXPECT_EQ(times[1], "03:04pm");
    EXPECT_EQ(times[2], "15:04:09");
    EXPECT_EQ(times[3], "03:04:09pm");
    EXPECT_EQ(times[4], "3/7/2026 3:04:09 PM");
    EXPECT_EQ(times[5], "07/03/2026 - 15:04:09");
    EXPECT_EQ(times[6], "03/07/2026 - 15:04:09");
}

TEST(TextTemplates, RemarksInEveryLanguage)
{
    const TLines input{"a", RemarkStamp({2026, 3, 7, 6, 9, 5, 0})};
    EXPECT_EQ(input[1], " remark added on 3/7/2026 9:05:00 AM");
    {
        // A remark is code of the page: one form of the date in every language.
        const vx::test::TFormatSettingsScope dutch(vx::test::DutchFormats());
        EXPECT_EQ(RemarkStamp({2026, 3, 7, 6, 9, 5, 0}), input[1]) << "with Dutch chosen";
    }
    const char* expected[][2] = {{"<!-- a -->", "<!--  remark"}, {"rem a", "rem  remark"}, {"// a", "//  remark"},
                                 {"# a", "#  remark"},           {"/* a */", "/*  remark"}, {"'a", "' remark"}};
    for (int type = 0; type < 6; ++type) {
        const TLines lines = RemarkLines(type, input);
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[0], " ");
        EXPECT_EQ(lines[1], expected[type][0]);
        EXPECT_EQ(lines[2].rfind(expected[type][1], 0), 0u) << lines[2];
    }
    EXPECT_EQ(RemarkLines(4, input)[2], "/*  remark added on 3/7/2026 9:05:00 AM */");
    EXPECT_EQ(RemarkLines(-1, input), TLines{" "});
}

TEST(TextTemplates, IfThenWritesTheBlockForm)
{
    EXPECT_EQ(IfThenLines({"a", "1", "b = 2", ""}), (TLines{"If a = 1 then", "  b = 2", "End If"}));
    EXPECT_EQ(IfThenLines({"x", "\"y\"", "go", "stop"}),
              (TLines{"If x = \"y\" then", "  go", "Else", "  stop", "End If"}));
}

TEST(TextTemplates, MakeFunctionDoublesQuotes)
{
    const TLines lines = MakeFunctionLines("Hello", {"say \"hi\"", "", "\"\""});
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "<%");
    EXPECT_EQ(lines[1].rfind("rem function created by Vellumix Professional ", 0), 0u);
    EXPECT_EQ(lines[2], "function Hello");
    EXPECT_EQ(lines[3], " response.write (\"say \"\"hi\"\"\")");
    EXPECT_EQ(lines[4], " response.write (\"\")");
    EXPECT_EQ(lines[5], " response.write (\"\"\"\"\"\")");
    EXPECT_EQ(lines[6], "end function");
    EXPECT_EQ(lines[7], "%>");
}

TEST(UrlHistory, AddsNewLinksOnceAndSavesWithCrLf)
{
    vx::test::TempDir dir;
    const std::string file = dir.file("urldata.dat");
    vx::test::writeFile(file, "one\rtwo\nthree\r\n");
    TUrlHistory history(file);
    EXPECT_EQ(history.Items(), (std::vector<std::string>{"one", "two", "three"}));
    history.Add("docs/a.htm");
    history.Add("docs/a.htm");
    history.Add("Docs/a.htm");
    history.Add("");
    EXPECT_EQ(vx::test::readFile(file), "one\r\ntwo\r\nthree\r\ndocs/a.htm\r\nDocs/a.htm\r\n");
    history.Delete(1);
    history.Delete(9);
    history.Delete(-1);
    EXPECT_EQ(TUrlHistory(file).Items(), (std::vector<std::string>{"one", "three", "docs/a.htm", "Docs/a.htm"}));
}

TEST(UrlHistory, AHistoryOfAnEarlierVersionIsReadAsWindows1252AndWrittenAsUtf8)
{
    vx::test::TempDir dir;
    const std::string file = dir.file("urldata.dat");
    vx::test::writeFile(file, "caf\xE9.htm\r\nplain.htm\r\n");
    TUrlHistory history(file);
    EXPECT_EQ(history.Items(), (std::vector<std::string>{"caf\xC3\xA9.htm", "plain.htm"}));
    history.Add("\xCE\xB1.htm");
    EXPECT_EQ(vx::test::readFile(file), "caf\xC3\xA9.htm\r\nplain.htm\r\n\xCE\xB1.htm\r\n");
}

TEST(UrlHistory, LivesInTheUserDataFolderSeededFromTheProgram)
{
    vx::test::TempDir program, data;
    const std::string oldHome = std::getenv("VELLUMIX_HOME"), oldData = std::getenv("VELLUMIX_DATA");
    setenv("VELLUMIX_HOME", program.path().c_str(), 1);
    setenv("VELLUMIX_DATA", data.path().c_str(), 1);
    std::filesystem::create_directories(program.path() / "data");
    vx::test::writeFile(program.file("data/urldata.dat"), "seed\r\n");
    TUrlHistory history;
    EXPECT_EQ(history.Items(), std::vector<std::string>{"seed"});
    history.Add("mine");
    EXPECT_EQ(vx::test::readFile(data.file("data/urldata.dat")), "seed\r\nmine\r\n");
    EXPECT_EQ(vx::test::readFile(program.file("data/urldata.dat")), "seed\r\n");
    setenv("VELLUMIX_HOME", oldHome.c_str(), 1);
    setenv("VELLUMIX_DATA", oldData.c_str(), 1);
}

TEST(UrlHistory, AFailedSaveIsReportedAndForgotten)
{
    vx::test::TempDir dir;
    TUrlHistory history(dir.file("no/such/folder/urldata.dat"));
    EXPECT_FALSE(history.FileExists());
    EXPECT_THROW(history.Add("x"), std::exception);
    EXPECT_FALSE(history.Contains("x"));
}

// The page title and the document-information rows.
#include "tools/DocumentInfo.h"

#include <gtest/gtest.h>

using vx::tools::DocumentInfoRows;
using vx::tools::GetHtmlTitle;
using vx::tools::TDocumentFacts;

TEST(GetHtmlTitle, FindsTheTitleOnOneOrSeveralLines)
{
    const std::pair<const char*, const char*> cases[] = {
        {"<html><title>Home</title></html>", "Home"},
        {"<HEAD>\r\n<Title>Up</TITLE>", "Up"},
        {"<title>Two\r\nparts</title>", "Twoparts"},
        {"<title>Never\nclosed", "Neverclosed"},
        {"no title here", ""},
        {"", ""},
        {"</title><title>Second</title>", "Second"},
        {"<title>a</ti\ntle>b", "a"},
    };
    for (const auto& [page, title] : cases)
        EXPECT_EQ(GetHtmlTitle(page), title) << page;
}

TEST(DocumentInfoRows, NamedSlotShowsTheSavedFileAndTheEditorLines)
{
    TStringList lines;
    lines.SetText("<title>Home</title>\r\nab\r\n\r\n");
    TDocumentFacts facts{"/Docs/Page.HTM", std::string("<title>Home</title>\r\n"), "1/2/2026 3:04:05 PM", &lines};
    const auto rows = DocumentInfoRows(facts);
    const std::vector<vx::tools::TInfoRow> expected = {
        {"Document name", "Page.HTM"}, {"Full path ", "/Docs/Page.HTM"}, {"Document title", "Home"},
        {"Bytes in document ", "21"},  {"Last saved at ", "1/2/2026 3:04:05 PM"}, {"", ""},
        {"Lines in document", "3"},    {"Characters in document", "21"}};
    EXPECT_EQ(rows, expected);
}

TEST(DocumentInfoRows, UnnamedSlotHasNoNameTitleOrSize)
{
    TStringList lines;
    TDocumentFacts facts{"", std::nullopt, "now", &lines};
    const auto rows = DocumentInfoRows(facts);
    ASSERT_EQ(rows.size(), 8u);
    for (int i : {0, 1, 2, 3})
        EXPECT_EQ(rows[i].second, "") << rows[i].first;
    EXPECT_EQ(rows[4].second, "now");
    EXPECT_EQ(rows[6].second, "0");
    EXPECT_EQ(rows[7].second, "0");
}

// The line search, its messages and the jump dialog's number, without windows.
#include "shell/TextSearch.h"

#include "shell/qt/windows/ShellDialog.h"

#include <gtest/gtest.h>

#include <climits>

using vx::shell::FindTextInLines;
using vx::shell::FoundMessage;
using vx::shell::LeadingNumber;
using vx::shell::TTextHit;

TEST(TextSearch, FindsTheFirstOccurrenceOfEachLineFromTheStartLine)
{
    const TStringList page = MakeList({"<html>", "<table>", "<tr><td>a</td><td>b</td>", "</tr>", "<tr>", "TD upper",
                                    "  <td>", "</table>"});
    struct Case {
        const char* text;
        int first;
        std::vector<TTextHit> hits;
    };
    const Case cases[] = {
        {"td", 0, {{3, 6}, {7, 4}}},
        {"td", 5, {{7, 4}}},          // from the line after a caret on line 5
        {"td", 7, {}},                // past the last hit
        {"TD", 0, {{6, 1}}},          // exact case only
        {"", 0, {}},                  // an empty text is in no line
        {"nowhere", 0, {}},
        {"<", -3, {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {7, 3}, {8, 1}}},
        {"td", 99, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindTextInLines(page, c.text, c.first), c.hits) << c.text << " from " << c.first;
}

TEST(TextSearch, FindsTextAcrossThePlaceALongLineIsBeingTypedIn)
{
    TStringList page;
    page.Add("first");
    page.Add(std::string(6000, '-') + "<td>" + std::string(100, '-'));
    page.ReplaceText(1, 6002, 0, "x"); // the line keeps a gap after "<t"
    EXPECT_EQ(FindTextInLines(page, "<txd>", 0), (std::vector<TTextHit>{{2, 6001}}));
}

TEST(TextSearch, TheFifthSlotsMessageStandsBetweenLineBreaks)
{
    EXPECT_EQ(FoundMessage("td", 3, false), "Found \"td\" at line 3");
    EXPECT_EQ(FoundMessage("td", 3, true), "\r Found \"td\" at line 3\r");
    EXPECT_EQ(FoundMessage("a \"b\"", 12, false), "Found \"a \"b\"\" at line 12");
}

TEST(TextSearch, TheJumpNumberIsTheLeadingDigits)
{
    const std::pair<const char*, int> cases[] = {
        {"7", 7}, {"0", 0}, {"12abc", 12}, {"abc", 0}, {"", 0}, {" 5", 0}, {"-3", 0}, {"99999999999999", INT_MAX},
        {"0042", 42},
    };
    for (const auto& [text, number] : cases)
        EXPECT_EQ(LeadingNumber(text), number) << '"' << text << '"';
}

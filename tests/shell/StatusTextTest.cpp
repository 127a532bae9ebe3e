// The status bars' texts made from snapshots.
#include "shell/StatusText.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

using namespace vx::shell;
using namespace std::chrono_literals;

namespace {

TStatusSnapshot Snapshot()
{
    TStatusSnapshot s;
    s.TimeOfDay = "3:04:05 PM";
    s.Date = "12/7/2026";
    s.LoginName = "ann";
    s.Editor = TEditorStatus{12, 5, 30, true, false, true};
    s.NumLock = TKeyLock::On;
    s.CapsLock = TKeyLock::Off;
    s.ProjectElapsed = 1h + 2min + 3s;
    return s;
}

} // namespace

TEST(StatusText, TheMainPanelsShowClockDateUserAddressAndState)
{
    TStatusSnapshot s = Snapshot();
    EXPECT_EQ(MainPanelTexts(s), (TMainPanels{"3:04:05 PM", "12/7/2026", "Ann", "", ""})) << "no watcher plugged in";
    s.Address = TStatusSnapshot::TAddress{"192.168.1.20", true};
    EXPECT_EQ(MainPanelTexts(s), (TMainPanels{"3:04:05 PM", "12/7/2026", "Ann", "192.168.1.20", "Online"}));
    s.Address = TStatusSnapshot::TAddress{"", false};
    EXPECT_EQ(MainPanelTexts(s)[4], "Offline");
}

TEST(StatusText, TheUserNameFitsInTwentyCharacters)
{
    const std::pair<std::string, std::string> cases[] = {
        {"ann", "Ann"},
        {"Bob", "Bob"},
        {"zed", "Zed"},
        {"_svc", "_svc"},
        {"\xe9lise", "\xe9lise"}, // only a to z are upper-cased
        {"", ""},
        {std::string(20, 'a'), "A" + std::string(19, 'a')},
        {std::string(21, 'a'), ""},
    };
    for (const auto& [login, panel] : cases)
        EXPECT_EQ(UserNamePanel(login), panel) << login;
}

TEST(StatusText, TheAccountNameComesFromTheAccountDatabase)
{
    const passwd* entry = getpwuid(geteuid());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(AccountUserName(), entry->pw_name);
}

TEST(StatusText, TheDocumentPanelsFollowTheFocusedEditor)
{
    const TDocPanels before = DocPanelLayout();
    TStatusSnapshot s = Snapshot();
    EXPECT_EQ(DocPanelTexts(s, before), (TDocPanels{"12:5:30", "NUM", "", "Project time : 01:02:03", "Modified",
                                                    "Read & Write", "Insert"}));
    s.Editor = TEditorStatus{3, 1, 0, false, true, false};
    const TDocPanels empty = DocPanelTexts(s, before);
    EXPECT_EQ(empty[0], "3:1:0") << "an empty caret line";
    EXPECT_EQ(empty[4], "Un-Modified");
    EXPECT_EQ(empty[5], "Read Only");
    EXPECT_EQ(empty[6], "Overwrite");
}

TEST(StatusText, WithNoFocusedEditorTheDocumentPanelsKeepTheirTexts)
{
    TStatusSnapshot s = Snapshot();
    const TDocPanels shown = DocPanelTexts(s, DocPanelLayout());
    s.Editor.reset();
    s.CapsLock = TKeyLock::On;
    s.ProjectElapsed = 5h;
    EXPECT_EQ(DocPanelTexts(s, shown), shown);
}

TEST(StatusText, AHeldLockKeyKeepsItsPanelAndNoKeyboardLeavesItEmpty)
{
    struct Case {
        TKeyLock lock;
        std::string previous;
        std::string shown;
    };
    const Case cases[] = {
        {TKeyLock::On, "", "CAPS"},       {TKeyLock::Off, "CAPS", ""},    {TKeyLock::Held, "CAPS", "CAPS"},
        {TKeyLock::Held, "", ""},         {TKeyLock::Unknown, "CAPS", ""},
    };
    for (const Case& c : cases) {
        TStatusSnapshot s = Snapshot();
        s.CapsLock = c.lock;
        s.NumLock = c.lock;
        TDocPanels previous = DocPanelLayout();
        previous[1] = c.previous.empty() ? "" : "NUM";
        previous[2] = c.previous;
        const TDocPanels panels = DocPanelTexts(s, previous);
        EXPECT_EQ(panels[2], c.shown) << static_cast<int>(c.lock) << " after '" << c.previous << "'";
        EXPECT_EQ(panels[1], c.shown.empty() ? "" : "NUM");
    }
}

TEST(StatusText, ProjectTimeCountsOnPastMidnightAndPastADay)
{
    const std::pair<std::chrono::steady_clock::duration, std::string> cases[] = {
        {0s, "00:00:00"},
        {59s, "00:00:59"},
        {1h + 1min + 1s, "01:01:01"},
        // Started at 23:59:50, now 00:00:05 of the next day.
        {15s, "00:00:15"},
        {23h + 59min + 59s + 2s, "24:00:01"},
        {100h + 5s, "100:00:05"},
        {999ms, "00:00:00"},
        {-5s, "00:00:00"},
    };
    for (const auto& [elapsed, text] : cases)
        EXPECT_EQ(ElapsedText(elapsed), text);
    TStatusSnapshot s = Snapshot();
    s.ProjectElapsed = 25h;
    EXPECT_EQ(DocPanelTexts(s, DocPanelLayout())[3], "Project time : 25:00:00");
}

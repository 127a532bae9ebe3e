// The main window's status bars on a running program: the panels' layout
// texts, the refresh that follows the focused editor, the address watcher
// plugged in, and panels repainted only when their text changes.
#include "tests/shell/ShellFixture.h"

#include "shell/qt/mainwindow/StatusBar.h"
#include "shell/StatusText.h"

#include <QCheckBox>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <atomic>

#include <dlfcn.h>
#include <pwd.h>

namespace {
std::atomic<int> accountReads{0};
}

// Every read of the account database by user id passes here and is counted.
extern "C" int getpwuid_r(uid_t uid, passwd* entry, char* buffer, size_t size, passwd** found)
{
    ++accountReads;
    using Real = int (*)(uid_t, passwd*, char*, size_t, passwd**);
    static const auto real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "getpwuid_r"));
    return real(uid, entry, buffer, size, found);
}

namespace vx::test {
namespace {

// The watcher's view as the status bar reads it.
class FixedAddress : public vx::shell::IAddressWatch {
public:
    bool IsOnline() const override { return online; }
    std::string CurrentIP() const override { return ip; }
    bool online = true;
    std::string ip = "10.1.2.3";
};

std::vector<std::string> Texts(const TStatusBar& bar)
{
    std::vector<std::string> texts;
    for (int i = 0; i < bar.PanelCount(); ++i)
        texts.push_back(bar.PanelText(i));
    return texts;
}

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
    int count = 0;
};

class StatusBarTest : public ShellTest {
protected:
    void SetUp() override { StartAndActivate(); }
    void TearDown() override { form->ipwatcher = nullptr; }
};

TEST_F(StatusBarTest, ThePanelsStartWithTheirLayoutTexts)
{
    EXPECT_EQ(Texts(*form->StatusBar1), (std::vector<std::string>{"", "", "", " IP-Address", "Online status"}));
    EXPECT_EQ(Texts(*form->glob_stat), (std::vector<std::string>{"0000:0000:0000", "NUM", "CAPS",
                                                                 "Session time: 00:00:00", "Modified", "Overwrite", ""}));
    EXPECT_EQ(form->StatusBar1->Panel(3)->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
}

TEST_F(StatusBarTest, TheRefreshFollowsTheFocusedEditor)
{
    FixedAddress address;
    form->ipwatcher = &address;
    TmwCustomEdit* editor = form->SlotEditor(2);
    form->PageControl1->setCurrentIndex(1);
    Focus(editor);
    editor->Model().SetText("");
    QTest::keyClicks(editor, "abc");
    QTRY_COMPARE_WITH_TIMEOUT(form->glob_stat->PanelText(0), std::string("1:4:3"), kPatienceMs);
    EXPECT_EQ(form->glob_stat->PanelText(4), "Modified");
    EXPECT_EQ(form->glob_stat->PanelText(5), "Read & Write");
    EXPECT_EQ(form->glob_stat->PanelText(6), "Insert");
    EXPECT_EQ(form->glob_stat->PanelText(3).rfind("Project time : ", 0), 0u);
    EXPECT_EQ(form->glob_stat->PanelText(1), "") << "no keyboard state on this display";
    EXPECT_EQ(form->glob_stat->PanelText(2), "");
    EXPECT_EQ(form->StatusBar1->PanelText(2), vx::shell::UserNamePanel(vx::shell::AccountUserName()));
    EXPECT_EQ(form->StatusBar1->PanelText(3), "10.1.2.3");
    EXPECT_EQ(form->StatusBar1->PanelText(4), "Online");
    EXPECT_FALSE(form->StatusBar1->PanelText(0).empty());
    EXPECT_FALSE(form->StatusBar1->PanelText(1).empty());

    QTest::keyClick(editor, Qt::Key_Insert);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE_WITH_TIMEOUT(form->glob_stat->PanelText(0), std::string("2:1:0"), kPatienceMs);
    EXPECT_EQ(form->glob_stat->PanelText(6), "Overwrite");

    address.online = false;
    address.ip = "";
    QTRY_COMPARE_WITH_TIMEOUT(form->StatusBar1->PanelText(4), std::string("Offline"), kPatienceMs);
    EXPECT_EQ(form->StatusBar1->PanelText(3), "");
}

TEST_F(StatusBarTest, WithNoEditorFocusedTheDocumentBarKeepsItsTexts)
{
    Focus(form->SlotEditor(1));
    QTRY_VERIFY_WITH_TIMEOUT(form->glob_stat->PanelText(0) != "0000:0000:0000", kPatienceMs);
    form->CheckBox1->setFocus();
    QApplication::processEvents();
    const std::vector<std::string> kept = Texts(*form->glob_stat);
    form->SlotEditor(1)->Model().SetText("changed\r\nlines");
    form->SlotEditor(1)->Model().SetCaretXY(Point(3, 2));
    FixedAddress address;
    form->ipwatcher = &address;
    QTRY_COMPARE_WITH_TIMEOUT(form->StatusBar1->PanelText(3), std::string("10.1.2.3"), kPatienceMs);
    EXPECT_EQ(Texts(*form->glob_stat), kept);
}

TEST_F(StatusBarTest, WorkspacesCarryACopyOfTheWindowsPanelsThatTheTimerLeaves)
{
    ASSERT_FALSE(form->Workspaces().empty());
    auto* copy = form->findChild<TStatusBar*>("statusbar_1");
    ASSERT_NE(copy, nullptr);
    const std::vector<std::string> copied = Texts(*copy);
    EXPECT_EQ(copied.size(), 5u);
    EXPECT_EQ(copied[3], " IP-Address");
    FixedAddress address;
    form->ipwatcher = &address;
    QTRY_COMPARE_WITH_TIMEOUT(form->StatusBar1->PanelText(3), std::string("10.1.2.3"), kPatienceMs);
    EXPECT_EQ(Texts(*copy), copied);
}

TEST_F(StatusBarTest, TheRefreshDoesNotReadTheAccountDatabaseOnEveryTick)
{
    int ticks = 0;
    QObject::connect(form->Timer1, &QTimer::timeout, form.get(), [&] { ++ticks; });
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 1, kPatienceMs);
    const int before = accountReads;
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 6, kPatienceMs);
    EXPECT_EQ(accountReads - before, 0);
    EXPECT_EQ(form->StatusBar1->PanelText(2), vx::shell::UserNamePanel(vx::shell::AccountUserName()));
}

TEST_F(StatusBarTest, APanelIsRepaintedOnlyWhenItsTextChanges)
{
    TStatusBar bar;
    bar.setObjectName("bar");
    bar.AddPanel("NUM");
    bar.AddPanel("CAPS");
    EXPECT_GE(bar.Panel(0)->minimumWidth(), bar.Panel(0)->fontMetrics().horizontalAdvance("NUM"));
    bar.show();
    QApplication::processEvents();
    PaintCounter paints;
    bar.Panel(0)->installEventFilter(&paints);
    EXPECT_FALSE(bar.SetPanelText(0, "NUM"));
    QApplication::processEvents();
    EXPECT_EQ(paints.count, 0);
    EXPECT_TRUE(bar.SetPanelText(0, ""));
    QApplication::processEvents();
    EXPECT_GT(paints.count, 0);
    EXPECT_EQ(bar.PanelText(0), "");
}

} // namespace
} // namespace vx::test

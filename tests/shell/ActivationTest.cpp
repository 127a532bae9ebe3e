// Start-up that always completes, settings files that are reported when
// damaged, and what the main window sets up: its colours, the recent-files
// store, its commands, the assistant's stacking and an idle program's timers.
#include "tests/shell/ShellFixture.h"

#include "editor/Colors.h"
#include "highlighters/DcjPerlSyn.h"
#include "highlighters/hkHTMLSyn.h"
#include "highlighters/mwCSSSyn.h"
#include "localisation/qt/KMLang.h"
#include "platform/Registry.h"
#include "shell/qt/mainwindow/PrefForm.h"
#include "shell/qt/windows/ProfHelp.h"

#include <QAction>
#include <QListWidget>
#include <QTest>
#include <QWindow>

#include <filesystem>

using vx::test::ShellTest;

namespace {

// Counts the timer events of every object of the program.
class TimerEventCounter : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::Timer;
        return false;
    }
};

void WritePreference(const char* name, const std::string& value)
{
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    reg.OpenKey(PreferencesKey, true);
    reg.WriteString(name, value);
    reg.CloseKey();
}

} // namespace

TEST_F(ShellTest, FirstActivationCompletesPastUnreadableListsAndADamagedLanguage)
{
    vx::test::writeFile(home.Data("htmltags.ae"), "<b>\r\n<i>\r\n");
    std::filesystem::create_symlink("/proc/self/mem", home.Data("sql.ae"));
    std::filesystem::create_directories(home.File("languages"));
    vx::test::writeFile(home.File("languages/Nederlands.lng"), "not a language file");
    WritePreference("language", "1");
    const std::string doc = WriteDoc("page.asp", "page\r\n");

    StartAndActivate({doc});
    EXPECT_FALSE(form->FirstActivation());
    EXPECT_EQ(form->tags->count(), 2) << "the readable lists load";
    EXPECT_EQ(form->sqlbox->count(), 0) << "the unreadable one is skipped";
    EXPECT_EQ(form->SlotFileName(1), doc) << "the set-up went on to the command line";
    EXPECT_EQ(form->Workspaces().size(), 2u);
    ASSERT_EQ(dialogs.requests.size(), 1u) << "the damaged language is the one report";
    EXPECT_EQ(dialogs.requests[0].type, mtError);
    EXPECT_EQ(form->KMLang1->LangFileName(), "Native") << "the built-in texts stay";

    dialogs.requests.clear();
    form->FormActivate();
    EXPECT_TRUE(dialogs.requests.empty()) << "the set-up does not run again";
    EXPECT_EQ(form->SlotFileName(1), doc);
}

TEST_F(ShellTest, EveryDamagedSettingsFileIsReportedOnce)
{
    const char* roots[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"};
    for (const char* root : roots)
        vx::test::writeFile(registry.File(root), "REGEDIT4\r\n\r\n[" + std::string(root) + "\\A]\r\n\"x\"=dword:0000");
    StartAndActivate();
    Focus(form->SlotEditor(1));
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    reg.KeyExists("A");
    QApplication::processEvents();
    ASSERT_EQ(dialogs.requests.size(), 3u);
    for (const char* root : roots) {
        int reports = 0;
        for (const auto& request : dialogs.requests)
            reports += request.text.find(registry.File(root)) != std::string::npos;
        EXPECT_EQ(reports, 1) << root;
    }
    dialogs.requests.clear();
    form->FormActivate();
    QApplication::processEvents();
    EXPECT_TRUE(dialogs.requests.empty());
}

TEST_F(ShellTest, SettingsFilesAreTheOwnersAlone)
{
    StartAndActivate();
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    reg.OpenKey("\\Software\\Secret", true);
    reg.WriteString("password", "x");
    reg.CloseKey();
    const auto perms = std::filesystem::status(registry.File()).permissions();
    EXPECT_EQ(perms, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST_F(ShellTest, RecentFilesAreStoredUnderTheMruSectionWithoutAPlacement)
{
    StartAndActivate();
    Focus(form->SlotEditor(1));
    const std::string doc = WriteDoc("page.asp", "x");
    form->OpenDocumentInFreeSlot(doc, false);
    form.reset();
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey("\\software\\inis\\Vellumix\\mru\\TForm1.mru", false));
    EXPECT_EQ(reg.ReadString("Item_0"), doc);
    TStringList values;
    reg.GetValueNames(values);
    EXPECT_EQ(values.Count(), 1);
    EXPECT_FALSE(reg.KeyExists("\\software\\inis\\Vellumix\\TForm1")) << "no window placement";
}

TEST_F(ShellTest, TheMainWindowGivesTheHighlightersItsColours)
{
    Start();
    EXPECT_EQ(form->hi_perl->KeyAttri->Foreground(), clNavy);
    EXPECT_EQ(form->hi_perl->NumberAttri->Foreground(), clRed);
    EXPECT_EQ(form->hi_perl->InvalidAttri->Foreground(), clBlack);
    EXPECT_EQ(form->hi_perl->SpaceAttri->Foreground(), clWindow);
    EXPECT_EQ(form->hi_css->KeyAttri->Foreground(), clGreen);
    EXPECT_EQ(form->hi_css->IdentifierAttri->Background(), clWhite);
    EXPECT_EQ(form->hi_html->SymbolAttri->Foreground(), clBlack);
    EXPECT_EQ(form->hi_html->ASPAttri->Background(), clYellow);
    EXPECT_EQ(form->hi_html->ASPAttri->Foreground(), clBlack);
    EXPECT_EQ(form->hi_html->UndefKeyAttri->Foreground(), clRed);
}

TEST_F(ShellTest, AssistantAndBeginnerCommandsWorkAndTheAssistantStaysBelowDialogs)
{
    StartAndActivate();
    Focus(form->SlotEditor(1));
    ASSERT_TRUE(form->VellumixAssistant1->isChecked()) << "shown by default";
    ASSERT_TRUE(frm_profhelp->isVisible());
    form->VellumixAssistant1->trigger();
    EXPECT_FALSE(form->VellumixAssistant1->isChecked());
    EXPECT_FALSE(frm_profhelp->isVisible());
    form->VellumixAssistant1->trigger();
    EXPECT_TRUE(frm_profhelp->isVisible());

    EXPECT_FALSE(frm_profhelp->windowFlags() & Qt::WindowStaysOnTopHint) << "never above modal boxes";
    EXPECT_EQ(frm_profhelp->windowHandle()->transientParent(), form->windowHandle()) << "above the main window";

    auto* closeAll = form->findChild<QAction*>("CloseAllfiles1");
    ASSERT_NE(closeAll, nullptr);
    EXPECT_FALSE(form->BeginnersMode());
    EXPECT_TRUE(closeAll->isEnabled());
    form->AdvancedNovice1->trigger();
    EXPECT_TRUE(form->BeginnersMode());
    EXPECT_FALSE(closeAll->isEnabled()) << "a beginner does without it";
    EXPECT_EQ(form->AdvancedNovice1->text(), "Switch to Advanced mode");
    form->AdvancedNovice1->trigger();
    EXPECT_TRUE(closeAll->isEnabled());
    EXPECT_EQ(form->AdvancedNovice1->text(), "Switch to Beginners mode");
}

TEST_F(ShellTest, AnIdleProgramWakesOnlyAFewTimesASecond)
{
    StartAndActivate();
    Focus(form->SlotEditor(1));
    ASSERT_TRUE(frm_pref->Ticked(11)) << "the resource detector runs by default";
    TimerEventCounter counter;
    qApp->installEventFilter(&counter);
    QTest::qWait(5000);
    qApp->removeEventFilter(&counter);
    EXPECT_LT(counter.count, 5 * 50);
}

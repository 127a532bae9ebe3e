// The Plug-ins menu of the shown main window: "Load Plugins" loads the
// plug-ins of the program's plugins folder, their commands stand newest first
// and run the plug-in, errors are shown, and unloading takes the commands away.
#include "shell/plugins/uilPluginManager.h"
#include "tests/shell/MenuDriver.h"
#include "tests/shell/ShellFixture.h"
#include "tests/shell/plugins/PluginFixtures.h"

#include <QMenu>
#include <QTest>

#include <filesystem>
#include <functional>
#include <string>

using vx::test::LibraryLoaded;
using vx::test::PickMenuItem;
using vx::test::ProbeOf;
using vx::test::PutPlugin;
using vx::test::ShellTest;

namespace {

class PluginMenuTest : public ShellTest {
protected:
    std::string Put(const std::string& fixture, const std::string& name = {})
    {
        return PutPlugin(home.File("plugins"), fixture, name);
    }
    void StartShown()
    {
        StartAndActivate();
        form->show();
        form->activateWindow();
        QApplication::processEvents();
    }
    QMenu& Menu() const { return *form->findChild<QMenu*>("Plugins1"); }
    // The captions of the menu's items, top down.
    QStringList Captions() const
    {
        QStringList captions;
        for (QAction* action : Menu().actions())
            captions << action->text();
        return captions;
    }
    QAction* Item(const QString& caption) const
    {
        for (QAction* action : Menu().actions())
            if (action->text() == caption)
                return action;
        return nullptr;
    }
};

TEST_F(PluginMenuTest, LoadPluginsPutsTheNewestCommandFirst)
{
    Put("commands");
    Put("other");
    StartShown();
    const QStringList own = Captions();
    ASSERT_TRUE(form->findChild<QAction*>("LoadPlugins1")->isEnabled());
    PickMenuItem(*form, {"Plugins1", "LoadPlugins1"});
    EXPECT_EQ(Captions(), QStringList({"Other Three", "Other Two", "Other One", "Commands Three", "Commands Two",
                                       "Commands One"}) + own);
    QAction* one = Item("Commands One");
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->shortcut(), QKeySequence("Ctrl+Shift+1")) << "the command's data is its shortcut";
    EXPECT_EQ(one->toolTip(), "first command");
    EXPECT_TRUE(dialogs.requests.empty());
}

// Texts are UTF-8; a plug-in for an earlier version hands Windows-1252.
TEST_F(PluginMenuTest, CommandTextsInUtf8OrWindows1252ShowTheirCharacters)
{
    Put("accents");
    StartShown();
    PickMenuItem(*form, {"Plugins1", "LoadPlugins1"});
    const std::pair<QString, QString> rows[] = {
        {QString::fromUtf8(u8"Caf\u00E9 One"), QString::fromUtf8(u8"\u20AC 5")},
        {QString::fromUtf8(u8"Caf\u00E9 Two"), QString::fromUtf8(u8"\u20AC 5 \u4F60")},
    };
    for (const auto& [caption, hint] : rows) {
        QAction* item = Item(caption);
        ASSERT_NE(item, nullptr) << caption.toStdString() << " among " << Captions().join(", ").toStdString();
        EXPECT_EQ(item->toolTip(), hint) << caption.toStdString();
    }
}

TEST_F(PluginMenuTest, ChosenCommandRunsThePlugin)
{
    const std::string path = Put("commands");
    StartShown();
    PickMenuItem(*form, {"Plugins1", "LoadPlugins1"});
    QAction* two = Item("Commands Two");
    ASSERT_NE(two, nullptr);
    two->setObjectName("PluginCommandTwo");
    PickMenuItem(*form, {"Plugins1", "PluginCommandTwo"});
    ASSERT_TRUE(ProbeOf(path));
    EXPECT_STREQ(ProbeOf(path)->executed, "Commands Two;");
    EXPECT_EQ(ProbeOf(path)->application, static_cast<void*>(QCoreApplication::instance()));
}

TEST_F(PluginMenuTest, LoadingAgainKeepsTheInstanceLimit)
{
    Put("commands");
    Put("other");
    StartShown();
    PickMenuItem(*form, {"Plugins1", "LoadPlugins1"});
    PickMenuItem(*form, {"Plugins1", "LoadPlugins1"});
    EXPECT_EQ(Captions().count("Commands One"), 1) << "one instance allowed";
    EXPECT_EQ(Captions().count("Other One"), 2) << "two instances allowed";
    EXPECT_EQ(form->plugins1->Count(), 3);
}

TEST_F(PluginMenuTest, LoadErrorIsShownAndLaterFilesWait)
{
    const std::string first = Put("commands", "a.plg");
    vx::test::writeFile(home.File("plugins/b.plg"), "not a library");
    const std::string later = Put("other", "c.plg");
    StartShown();
    PickMenuItem(*form, {"Plugins1", "LoadPlugins1"});
    ASSERT_EQ(dialogs.requests.size(), 1u);
    const std::string named = "Error loading Plug-in \"" + home.File("plugins/b.plg") + "\":\r\n";
    EXPECT_EQ(dialogs.requests[0].text.substr(0, named.size()), named);
    EXPECT_GT(dialogs.requests[0].text.size(), named.size()) << "the loader's own reason follows the name";
    EXPECT_TRUE(dialogs.requests[0].text.ends_with("\r\nTherefore these plug-ins were not loaded: c.plg"))
        << dialogs.requests[0].text;
    EXPECT_TRUE(LibraryLoaded(first));
    EXPECT_FALSE(LibraryLoaded(later));
    EXPECT_NE(Item("Commands One"), nullptr);
}

TEST_F(PluginMenuTest, LoadingKeepsARecoveryCopyFirstAndRefusesWhatCannotBeTrusted)
{
    Put("many");
    StartShown();
    form->SlotEditor(1)->setFocus();
    QTest::keyClicks(form->SlotEditor(1), "unsaved ");
    PickMenuItem(*form, {"Plugins1", "LoadPlugins1"});
    ASSERT_FALSE(form->RecoveryFolder().empty()) << "the text was copied before any plug-in code ran";
    EXPECT_TRUE(std::filesystem::exists(form->RecoveryFolder() + "/slot-1.vxr"));
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_NE(dialogs.requests[0].text.find("100000000 commands"), std::string::npos) << dialogs.requests[0].text;
    EXPECT_EQ(form->plugins1->Count(), 0);
}

TEST_F(PluginMenuTest, UnloadingTakesThePluginsCommandsAway)
{
    const std::string commands = Put("commands");
    Put("other");
    StartShown();
    const QStringList own = Captions();
    PickMenuItem(*form, {"Plugins1", "LoadPlugins1"});
    form->plugins1->UnloadPlugin(0);
    EXPECT_EQ(Captions(), QStringList({"Other Three", "Other Two", "Other One"}) + own);
    EXPECT_FALSE(LibraryLoaded(commands));
    form->plugins1->UnloadPlugin(0);
    EXPECT_EQ(Captions(), own);
}

TEST_F(PluginMenuTest, UnloadPluginsStaysDisabled)
{
    StartShown();
    QAction* unload = form->findChild<QAction*>("Unloadplugins1");
    ASSERT_NE(unload, nullptr);
    EXPECT_FALSE(unload->isEnabled());
    vx::test::PickMenuCommand(*form, "AdvancedNovice1");
    vx::test::PickMenuCommand(*form, "AdvancedNovice1");
    EXPECT_FALSE(unload->isEnabled()) << "beginner mode does not enable it";
}

// Nothing to load is said, with the folder looked in; no plug-in is no error.
TEST_F(PluginMenuTest, LoadPluginsSaysWhenThereIsNothingToLoad)
{
    const std::string folder = home.File("plugins") + "/";
    const struct {
        const char* folderHolds;
        std::function<void()> lay;
        std::string message;
    } cases[] = {
        {"no folder", [] {}, "The plug-in folder does not exist: " + folder},
        {"nothing", [&] { std::filesystem::create_directories(folder); },
         "The plug-in folder holds no plug-in (no file ending in .plg): " + folder},
        {"other files only",
         [&] {
             vx::test::writeFile(folder + "readme.txt", "text");
             vx::test::writeFile(folder + "commands.plg.old", "text");
             std::filesystem::create_directories(folder + "sub.plg");
         },
         "The plug-in folder holds no plug-in (no file ending in .plg): " + folder},
        {"a plug-in", [&] { Put("commands"); }, ""},
    };
    StartShown();
    for (const auto& c : cases) {
        c.lay();
        dialogs.requests.clear();
        PickMenuItem(*form, {"Plugins1", "LoadPlugins1"});
        if (c.message.empty()) {
            EXPECT_TRUE(dialogs.requests.empty()) << c.folderHolds;
            EXPECT_NE(Item("Commands One"), nullptr) << c.folderHolds;
            continue;
        }
        ASSERT_EQ(dialogs.requests.size(), 1u) << c.folderHolds;
        EXPECT_EQ(dialogs.requests[0].text, c.message) << c.folderHolds;
    }
}

TEST_F(PluginMenuTest, ProgramLooksInItsPluginsFolderForPlgFiles)
{
    StartShown();
    EXPECT_EQ(form->plugins1->Extension(), "plg");
    EXPECT_EQ(std::filesystem::path(form->plugins1->PluginFolder()), std::filesystem::path(home.File("plugins/")));
}

} // namespace

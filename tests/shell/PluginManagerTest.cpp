// The plug-in manager with real plug-in libraries: scanning a folder, the
// events, the load errors, instance limits, commands and unloading.
#include "shell/plugins/uilPlugin.h"
#include "shell/plugins/uilPluginManager.h"
#include "tests/shell/ShellFixture.h"
#include "tests/shell/plugins/PluginFixtures.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using vx::test::LibraryLoaded;
using vx::test::ProbeOf;
using vx::test::PutPlugin;

namespace {

class PluginManagerTest : public ::testing::Test {
protected:
    PluginManagerTest()
    {
        manager.SetPluginFolder(folder.path().string());
        manager.SetExtension("plg");
        manager.OnBeforeLoading = [this](TuilPluginManager&) { events.push_back("BeforeLoading"); };
        manager.OnAfterLoading = [this](TuilPluginManager&) { events.push_back("AfterLoading"); };
        manager.OnBeforeLoad = [this](TuilPluginManager&, const std::string& name, bool& allow) {
            events.push_back("BeforeLoad " + name);
            allow = name != refused;
        };
        manager.OnAfterLoad = [this](TuilPluginManager&, const std::string& name) {
            events.push_back("AfterLoad " + name);
        };
        manager.OnNewCommand = [this](TuilPluginManager& sender, const std::string& caption, const std::string& hint,
                                      const std::string& data, const vx_plugin_bitmap* bitmap,
                                      std::function<void()> execute) {
            commands.push_back({caption, hint, data, bitmap, std::move(execute)});
            owners.push_back(sender.GetPlugin(sender.Count() - 1).Name());
        };
    }
    std::string Put(const std::string& fixture, const std::string& name = {})
    {
        return PutPlugin(folder.path(), fixture, name);
    }
    // The text of the load error the step raises; empty when it raises none.
    template <class Step> static std::string LoadError(Step step)
    {
        try {
            step();
        } catch (const EuilLoadPluginError& error) {
            return error.what();
        }
        return {};
    }
    std::vector<std::string> Loaded() const
    {
        TStringList names;
        names.Add("stale line");
        manager.GetLoadedPlugins(names);
        std::vector<std::string> result;
        for (int i = 0; i < names.Count(); ++i)
            result.push_back(names[i]);
        return result;
    }

    vx::test::TempDir folder{"vellumix-plugins"};
    TuilPluginManager manager;
    std::vector<std::string> events;
    std::vector<TuilPlugin::TCommand> commands;
    std::vector<std::string> owners;
    std::string refused;
};

TEST_F(PluginManagerTest, ExtensionTakesOneToThreeCharacters)
{
    TuilPluginManager fresh;
    EXPECT_EQ(fresh.Extension(), "uil");
    EXPECT_STREQ(TuilPluginManager::Version, "5.0a1");
    for (const char* good : {"p", "pl", "plg", "uil"}) {
        fresh.SetExtension(good);
        EXPECT_EQ(fresh.Extension(), good);
    }
    for (const char* bad : {"plug", ""}) {
        try {
            fresh.SetExtension(bad);
            ADD_FAILURE() << "no error for \"" << bad << "\"";
        } catch (const EuilPluginError& error) {
            EXPECT_STREQ(error.what(), "Extension must be between 1 and 3 characters");
        }
        EXPECT_EQ(fresh.Extension(), "uil") << bad;
    }
}

TEST_F(PluginManagerTest, FolderWithoutMatchingFilesNotifiesOnlyTheScan)
{
    manager.LoadPlugins();
    EXPECT_EQ(events, (std::vector<std::string>{"BeforeLoading", "AfterLoading"}));
    events.clear();
    vx::test::writeFile(folder.file("readme.txt"), "text");
    vx::test::writeFile(folder.file(".hidden.plg"), "hidden");
    std::filesystem::create_directories(folder.path() / "folder.plg");
    Put("commands", "commands.plgx");
    manager.LoadPlugins();
    EXPECT_EQ(events, (std::vector<std::string>{"BeforeLoading", "AfterLoading"}));
    EXPECT_EQ(manager.Count(), 0);
}

TEST_F(PluginManagerTest, MissingFolderScansNothing)
{
    manager.SetPluginFolder(folder.file("absent"));
    manager.LoadPlugins();
    EXPECT_EQ(events, (std::vector<std::string>{"BeforeLoading", "AfterLoading"}));
}

TEST_F(PluginManagerTest, EmptyFolderMeansTheProgramFolder)
{
    vx::test::HomeSandbox home;
    const std::string path = PutPlugin(home.File(""), "commands", "COMMANDS.PLG");
    manager.SetPluginFolder("");
    manager.LoadPlugins();
    EXPECT_EQ(Loaded(), std::vector<std::string>{"CommandsPlugin1"});
    ASSERT_TRUE(ProbeOf(path));
    EXPECT_STREQ(ProbeOf(path)->init_file, "COMMANDS.PLG") << "the extension matches in any case";
}

TEST_F(PluginManagerTest, EachFileIsAnnouncedLoadedAndReportedInNameOrder)
{
    Put("other");
    const std::string path = Put("commands");
    int application = 0;
    manager.Application = &application;
    manager.LoadPlugins();
    EXPECT_EQ(events, (std::vector<std::string>{"BeforeLoading", "BeforeLoad commands.plg", "AfterLoad commands.plg",
                                                "BeforeLoad other.plg", "AfterLoad other.plg", "AfterLoading"}));
    EXPECT_EQ(Loaded(), (std::vector<std::string>{"CommandsPlugin1", "OtherPlugin1"}));
    const auto probe = ProbeOf(path);
    ASSERT_TRUE(probe);
    EXPECT_STREQ(probe->init_file, "commands.plg") << "the name without its folder";
    EXPECT_EQ(probe->application, &application);
    EXPECT_EQ(probe->manager, static_cast<void*>(&manager));
    EXPECT_EQ(manager.GetPlugin(1).PluginName(), "Other");
}

TEST_F(PluginManagerTest, RefusedFileIsSkippedWithoutItsAfterLoad)
{
    const std::string skipped = Put("commands");
    Put("other");
    refused = "commands.plg";
    manager.LoadPlugins();
    EXPECT_EQ(events, (std::vector<std::string>{"BeforeLoading", "BeforeLoad commands.plg", "BeforeLoad other.plg",
                                                "AfterLoad other.plg", "AfterLoading"}));
    EXPECT_EQ(Loaded(), std::vector<std::string>{"OtherPlugin1"});
    EXPECT_FALSE(LibraryLoaded(skipped));
}

TEST_F(PluginManagerTest, InstanceLimitRefusesAndUnloadsTheSurplus)
{
    struct Case {
        const char* fixture;
        int loads;
        int registered;
    };
    for (const Case& c : {Case{"never", 1, 0}, Case{"commands", 2, 1}, Case{"other", 3, 2}}) {
        vx::test::TempDir own{"vellumix-limit"};
        TuilPluginManager limited;
        int reported = 0;
        limited.OnNewCommand = [&](auto&&...) { ++reported; };
        const std::string path = PutPlugin(own.path(), c.fixture);
        for (int i = 0; i < c.loads; ++i)
            limited.LoadPlugin(path);
        EXPECT_EQ(limited.Count(), c.registered) << c.fixture;
        EXPECT_EQ(reported, 3 * c.registered) << c.fixture;
        if (c.registered == 0) {
            EXPECT_FALSE(LibraryLoaded(path)) << c.fixture;
            continue;
        }
        const auto probe = ProbeOf(path);
        ASSERT_TRUE(probe) << c.fixture;
        EXPECT_EQ(probe->objects, c.registered) << c.fixture << ": the refused objects are destroyed";
    }
}

TEST_F(PluginManagerTest, OtherFilesOfALimitedPluginAreUnloaded)
{
    const std::string first = Put("commands", "a.plg");
    const std::string second = Put("commands", "b.plg");
    manager.LoadPlugins();
    EXPECT_EQ(manager.Count(), 1);
    EXPECT_TRUE(LibraryLoaded(first));
    EXPECT_FALSE(LibraryLoaded(second));
}

TEST_F(PluginManagerTest, LoadErrorsNameThePathAndTheFilesNotTried)
{
    struct Case {
        const char* fixture; // empty: a text file
        const char* name;
        std::string suffix;
    };
    for (const Case& c : {Case{"", "b.plg", ""}, Case{"noentry", "b.plg", " is not a valid Plug-in"},
                          Case{"commands", "failing.plg", " failed initialization."}}) {
        vx::test::TempDir own{"vellumix-errors"};
        manager.SetPluginFolder(own.path().string());
        events.clear();
        const std::string before = PutPlugin(own.path(), "other", "a.plg");
        const std::vector<std::string> after = {PutPlugin(own.path(), "commands", "x.plg"),
                                                PutPlugin(own.path(), "other", "z.plg")};
        std::string path = own.file(c.name);
        if (*c.fixture)
            PutPlugin(own.path(), c.fixture, c.name);
        else
            vx::test::writeFile(path, "not a library");
        const std::string error = LoadError([&] { manager.LoadPlugins(); });
        const std::string notTried = "\r\nTherefore these plug-ins were not loaded: x.plg, z.plg";
        ASSERT_TRUE(error.ends_with(notTried)) << error;
        const std::string ownError = error.substr(0, error.size() - notTried.size());
        if (c.suffix.empty()) {
            const std::string named = "Error loading Plug-in \"" + path + "\":\r\n";
            EXPECT_EQ(ownError.substr(0, named.size()), named);
            EXPECT_GT(ownError.size(), named.size()) << "the loader's reason follows";
        } else {
            EXPECT_EQ(ownError, "\"" + path + "\"" + c.suffix);
        }
        EXPECT_EQ(events.back(), std::string("BeforeLoad ") + c.name) << "no AfterLoad, no AfterLoading";
        EXPECT_TRUE(LibraryLoaded(before)) << c.name << ": plug-ins loaded before stay";
        for (const std::string& later : after)
            EXPECT_FALSE(LibraryLoaded(later)) << c.name << ": later files are not tried";
        EXPECT_FALSE(LibraryLoaded(path)) << c.name << ": the failing library is unloaded";
        while (manager.Count() > 0)
            manager.UnloadPlugin(0);
    }
}

TEST_F(PluginManagerTest, FailedInitialisationDestroysTheObject)
{
    const std::string other = Put("other");
    manager.LoadPlugin(other);
    // The same library under another name: it stays loaded for the first.
    const std::string failing = folder.file("failing.plg");
    std::filesystem::create_symlink(other, failing);
    EXPECT_EQ(LoadError([&] { manager.LoadPlugin(failing); }), "\"" + failing + "\" failed initialization.");
    const auto probe = ProbeOf(other);
    ASSERT_TRUE(probe);
    EXPECT_STREQ(probe->init_file, "failing.plg");
    EXPECT_EQ(probe->objects, 1);
    EXPECT_EQ(manager.Count(), 1);
}

TEST_F(PluginManagerTest, LibraryWithoutAnObjectIsUnloaded)
{
    const std::string path = Put("noobject");
    manager.LoadPlugins();
    EXPECT_EQ(manager.Count(), 0);
    EXPECT_TRUE(commands.empty());
    EXPECT_EQ(events.back(), "AfterLoading");
    EXPECT_FALSE(LibraryLoaded(path));
}

TEST_F(PluginManagerTest, WhatCannotBeTrustedIsRefusedWithItsReason)
{
    const std::pair<const char*, const char*> cases[] = {
        {"garbage", "the plug-in object cannot be read"},
        {"many", "it offers 100000000 commands, more than the 256 a plug-in may offer"},
        {"badtext", "a command's text cannot be read or is longer than 1024 characters"},
        {"longtext", "a command's text cannot be read or is longer than 1024 characters"},
    };
    for (const auto& [fixture, reason] : cases) {
        const std::string path = Put(fixture);
        EXPECT_EQ(LoadError([&] { manager.LoadPlugin(path); }),
                  "\"" + path + "\" is not a valid Plug-in: " + reason + ".");
        EXPECT_EQ(manager.Count(), 0) << fixture;
        EXPECT_TRUE(commands.empty()) << fixture;
        EXPECT_FALSE(LibraryLoaded(path)) << fixture;
    }
}

TEST_F(PluginManagerTest, CommandsAreReportedInOrderAndRunThePlugin)
{
    const std::string path = Put("commands");
    manager.LoadPlugin(path);
    ASSERT_EQ(commands.size(), 3u);
    const char* captions[] = {"Commands One", "Commands Two", "Commands Three"};
    const char* hints[] = {"first command", "second command", ""};
    const char* data[] = {"Ctrl+Shift+1", "", ""};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(commands[i].Caption, captions[i]);
        EXPECT_EQ(commands[i].Hint, hints[i]);
        EXPECT_EQ(commands[i].Data, data[i]);
        EXPECT_EQ(owners[i], "CommandsPlugin1");
        EXPECT_EQ(commands[i].Bitmap != nullptr, i == 1);
    }
    EXPECT_EQ(commands[1].Bitmap->width, 2);
    EXPECT_EQ(commands[1].Bitmap->pixels[3], 0xffffffffu);
    commands[1].Execute();
    commands[0].Execute();
    EXPECT_STREQ(ProbeOf(path)->executed, "Commands Two;Commands One;");
}

TEST_F(PluginManagerTest, UnloadTellsTheHostFirstThenUnloads)
{
    const std::string first = Put("commands");
    const std::string second = Put("other");
    manager.LoadPlugins();
    std::vector<std::string> told;
    manager.OnUnloadPlugin = [&](TuilPluginManager& sender, int index) {
        told.push_back(sender.GetPlugin(index).Name());
        EXPECT_EQ(ProbeOf(first)->objects, 1) << "the plug-in is still there";
    };
    manager.UnloadPlugin(0);
    EXPECT_EQ(told, std::vector<std::string>{"CommandsPlugin1"});
    EXPECT_EQ(Loaded(), std::vector<std::string>{"OtherPlugin1"});
    EXPECT_FALSE(LibraryLoaded(first));
    EXPECT_TRUE(LibraryLoaded(second));
}

TEST_F(PluginManagerTest, IndexOutOfRangeIsInvalid)
{
    manager.LoadPlugin(Put("commands"));
    for (int index : {-1, 1, 7}) {
        EXPECT_THROW(
            try { manager.GetPlugin(index); } catch (const EuilPluginError& error) {
                EXPECT_STREQ(error.what(), "Invalid index");
                throw;
            },
            EuilPluginError);
        EXPECT_THROW(manager.UnloadPlugin(index), EuilPluginError);
    }
    EXPECT_EQ(manager.Count(), 1);
}

TEST_F(PluginManagerTest, BroadcastReachesEveryPlugin)
{
    const std::string first = Put("commands");
    const std::string second = Put("other");
    manager.LoadPlugins();
    manager.Broadcast(3, -4);
    for (const std::string& path : {first, second}) {
        EXPECT_EQ(ProbeOf(path)->received[0], 3);
        EXPECT_EQ(ProbeOf(path)->received[1], -4);
    }
}

TEST_F(PluginManagerTest, DestroyFreesThePluginsAndKeepsTheLibraries)
{
    const std::string path = Put("commands");
    {
        TuilPluginManager owner;
        owner.LoadPlugin(path);
        EXPECT_EQ(ProbeOf(path)->objects, 1);
    }
    ASSERT_TRUE(LibraryLoaded(path));
    EXPECT_EQ(ProbeOf(path)->objects, 0);
}

} // namespace

#include "controls/stores/MRUList.h"

#include "platform/Exception.h"
#include "platform/IniFile.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QWidget>

#include <memory>

using vx::test::TempDir;

namespace {

std::vector<std::string> Captions(const QMenu& menu)
{
    std::vector<std::string> out;
    for (QAction* action : menu.actions())
        out.push_back(action->isSeparator() ? "-" : vx::FromQString(action->text()));
    return out;
}

QAction* ItemNamed(const QMenu& menu, const std::string& caption)
{
    for (QAction* action : menu.actions())
        if (vx::FromQString(action->text()) == caption)
            return action;
    return nullptr;
}

using Texts = std::vector<std::string>;

} // namespace

TEST(TRecentStrings, MovesToFrontAndTrims)
{
    TRecentStrings list;
    EXPECT_EQ(list.MaxSize(), 10);
    list.SetMaxSize(5);
    for (const char* name : {"a", "b", "c", "d", "e"})
        EXPECT_EQ(list.Add(name), 0);
    list.Add("f");
    EXPECT_EQ(list.Text(), "f\r\ne\r\nd\r\nc\r\nb\r\n") << "the oldest goes";
    EXPECT_EQ(list.Add("c"), 0);
    EXPECT_EQ(list.Text(), "c\r\nf\r\ne\r\nd\r\nb\r\n");
    list.SetMaxSize(2);
    EXPECT_EQ(list.Text(), "c\r\nf\r\n");
    list.SetMaxSize(0);
    EXPECT_EQ(list.MaxSize(), 1);
    EXPECT_EQ(list.Count(), 1);
}

TEST(TRecentStrings, FileNamesDifferingInCaseAreDifferent)
{
    TRecentStrings list;
    list.Add("/home/u/Page.htm");
    list.Add("/home/u/page.htm");
    EXPECT_EQ(list.Count(), 2);
    list.Remove("/HOME/U/PAGE.HTM");
    EXPECT_EQ(list.Count(), 2);
    list.Remove("/home/u/Page.htm");
    EXPECT_EQ(list.Text(), "/home/u/page.htm\r\n");
}

TEST(TRecentStrings, AppendModeAndAddStrings)
{
    TRecentStrings list;
    list.SetMaxSize(3);
    list.SetMode(rmAppend);
    for (const char* name : {"a", "b", "c", "d"})
        list.Add(name);
    EXPECT_EQ(list.Text(), "b\r\nc\r\nd\r\n") << "appending drops from the start";
    EXPECT_EQ(list.Add("b"), 2);
    EXPECT_EQ(list.Text(), "c\r\nd\r\nb\r\n");

    TRecentStrings front;
    front.SetMaxSize(3);
    front.Add("old");
    TStringList other;
    other.SetText("x\ny\nz\nw");
    other.PutObject(0, 7);
    front.AddStrings(other);
    EXPECT_EQ(front.Text(), "x\r\ny\r\nz\r\n") << "the other list's order at the front";
    EXPECT_EQ(front.Objects(0), 7);
}

TEST(TMRUManager, MenuItemsWithAcceleratorsAndSeparators)
{
    QMenu menu;
    menu.addAction("Open");
    TMRUManager mru;
    mru.SetRecentMenu(&menu);
    for (const char* name : {"a", "b", "c"})
        mru.Add(name, 0);
    EXPECT_EQ(Captions(menu), (Texts{"Open", "-", "&1\tc", "&2\tb", "&3\ta"}));

    mru.SetSeparateSize(2);
    mru.SetAccelDelimiter(adSpace);
    EXPECT_EQ(Captions(menu), (Texts{"Open", "-", "&1 c", "&2 b", "-", "&3 a"}));

    mru.SetShowAccelChar(false);
    mru.SetSeparateSize(0);
    EXPECT_EQ(Captions(menu), (Texts{"Open", "-", "c", "b", "a"}));

    mru.Strings().Clear();
    EXPECT_EQ(Captions(menu), (Texts{"Open"})) << "exactly the manager's items go";
}

TEST(TMRUManager, AcceleratorsRunThroughDigitsThenLettersThenNone)
{
    EXPECT_EQ(RecentAccelerator(1), "&1");
    EXPECT_EQ(RecentAccelerator(9), "&9");
    EXPECT_EQ(RecentAccelerator(10), "&A");
    EXPECT_EQ(RecentAccelerator(35), "&Z");
    EXPECT_EQ(RecentAccelerator(36), " ");
    EXPECT_EQ(RecentAccelerator(-1), " ");

    QMenu menu;
    TMRUManager mru;
    mru.SetCapacity(40);
    mru.SetRecentMenu(&menu);
    for (int i = 40; i >= 1; --i)
        mru.Add("f" + std::to_string(i), 0);
    Texts captions = Captions(menu);
    ASSERT_EQ(captions.size(), 40u);
    EXPECT_EQ(captions[9], "&A\tf10");
    EXPECT_EQ(captions[34], "&Z\tf35");
    EXPECT_EQ(captions[35], " \tf36");
}

TEST(TMRUManager, ItemDataHookAndAutoEnable)
{
    QMenu menu;
    TMRUManager mru;
    mru.SetRecentMenu(&menu);
    EXPECT_FALSE(menu.isEnabled()) << "an empty submenu is disabled";
    mru.OnGetItemData = [](QObject*, std::string& caption, QKeySequence& shortCut, TObjectSlot data) {
        caption = "Name " + std::to_string(data) + "|Long hint";
        shortCut = QKeySequence("Ctrl+F1");
    };
    mru.Add("x", 42);
    EXPECT_TRUE(menu.isEnabled());
    QAction* item = ItemNamed(menu, "&1\tName 42");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->statusTip(), "Long hint");
    EXPECT_EQ(item->shortcut(), QKeySequence("Ctrl+F1"));
}

TEST(TMRUManager, ClickReportsTheEntryAndMayRemoveIt)
{
    QMenu menu;
    TMRUManager mru;
    mru.SetRecentMenu(&menu);
    mru.Add("first.htm", 1);
    mru.Add("second.htm", 2);
    std::string name, caption;
    TObjectSlot data = 0;
    mru.OnClick = [&](QObject* sender, const std::string& n, const std::string& c, TObjectSlot d) {
        EXPECT_EQ(sender, &mru);
        name = n;
        caption = c;
        data = d;
    };
    ItemNamed(menu, "&2\tfirst.htm")->trigger();
    EXPECT_EQ(name, "first.htm");
    EXPECT_EQ(caption, "&2\tfirst.htm");
    EXPECT_EQ(data, 1);
    EXPECT_EQ(mru.Strings().Count(), 2);

    mru.SetRemoveOnSelect(true);
    mru.OnClick = [](QObject*, const std::string&, const std::string&, TObjectSlot) {
        throw Exception("Cannot open file second.htm");
    };
    std::string shown;
    vx::dialogs::SetAnswerer([&](const vx::dialogs::Request& request) {
        shown = request.text;
        return vx::dialogs::Answer{mrOk};
    });
    ItemNamed(menu, "&1\tsecond.htm")->trigger();
    vx::dialogs::SetAnswerer(nullptr);
    EXPECT_EQ(shown, "Cannot open file second.htm") << "the failure is shown";
    EXPECT_EQ(mru.Strings().Text(), "first.htm\r\n") << "and the name removed all the same";
}

TEST(TMRUManager, DestroyedMenuIsForgotten)
{
    auto menu = std::make_unique<QMenu>();
    TMRUManager mru;
    mru.SetRecentMenu(menu.get());
    mru.Add("a", 0);
    menu.reset();
    EXPECT_EQ(mru.RecentMenu(), nullptr);
    mru.Add("b", 0);
}

TEST(TMRUManager, KeptInThePlacementStore)
{
    const std::string section = "\\Software\\VellumixTest\\App\\mru";
    auto session = [&](const std::function<void(TMRUManager&)>& use, int capacity) {
        QWidget form;
        form.setObjectName("Form1");
        auto* storage = new TFormStorage(&form);
        storage->SetUseRegistry(true);
        storage->SetOptions(0);
        storage->SetIniSection(section);
        auto* mru = new TMRUManager(&form);
        mru->setObjectName("mru");
        mru->SetCapacity(capacity);
        mru->SetIniStorage(storage);
        form.show();
        use(*mru);
        form.close();
    };
    session([](TMRUManager& mru) {
        for (const char* name : {"/a.htm", "/b.htm", "/c.htm"})
            mru.Add(name, 0);
    }, 5);
    TRegIniFile reg("Software");
    EXPECT_EQ(reg.ReadString(section + "\\TForm1.mru", "Item_0", ""), "/c.htm");
    EXPECT_EQ(reg.ReadString(section + "\\TForm1.mru", "Item_2", ""), "/a.htm");

    session([](TMRUManager& mru) { EXPECT_EQ(mru.Strings().Text(), "/c.htm\r\n/b.htm\r\n/a.htm\r\n"); }, 5);
    session([](TMRUManager& mru) { EXPECT_EQ(mru.Strings().Text(), "/c.htm\r\n/b.htm\r\n"); }, 2);

    reg.DeleteKey(section + "\\TForm1.mru", "Item_0");
    session([](TMRUManager& mru) { EXPECT_EQ(mru.Strings().Text(), "/b.htm\r\n"); }, 5);
}

TEST(TMRUManager, SavedWhenTheWindowIsDestroyedWithoutClosing)
{
    const std::string section = "\\Software\\VellumixTest\\Destroyed\\mru";
    {
        QWidget form;
        form.setObjectName("Form1");
        auto* storage = new TFormStorage(&form);
        storage->SetUseRegistry(true);
        storage->SetOptions(0);
        storage->SetIniSection(section);
        auto* mru = new TMRUManager(&form);
        mru->setObjectName("mru");
        mru->SetIniStorage(storage);
        form.show();
        mru->Add("/kept.htm", 0);
    }
    EXPECT_EQ(TRegIniFile("Software").ReadString(section + "\\TForm1.mru", "Item_0", ""), "/kept.htm");
}

TEST(TMRUManager, LoadingSkipsGapsAndCustomItemsReplaceTheDefault)
{
    TempDir dir;
    TIniFile ini(dir.file("m.ini"));
    ini.WriteString("S", "Item_0", "zero");
    ini.WriteString("S", "Item_2", "two");
    TMRUManager mru;
    int changes = 0;
    mru.OnChange = [&](QObject*) { ++changes; };
    mru.SetMode(rmAppend);
    mru.LoadFromIni(&ini, "S");
    EXPECT_EQ(mru.Strings().Text(), "zero\r\ntwo\r\n");
    EXPECT_EQ(mru.Mode(), rmAppend) << "the mode is put back";
    EXPECT_EQ(changes, 1) << "one change for the whole load";

    mru.OnWriteItem = [](QObject*, TCustomIniFile* file, const std::string& section, int index,
                         const std::string& name, TObjectSlot) {
        file->WriteString(section, "File" + std::to_string(index), name);
    };
    mru.SaveToIni(&ini, "T");
    EXPECT_EQ(ini.ReadString("T", "File1", ""), "two");
    EXPECT_EQ(ini.ReadString("T", "Item_0", "none"), "none");

    mru.OnReadItem = [](QObject*, TCustomIniFile* file, const std::string& section, int index, std::string& name,
                        TObjectSlot& data) {
        name = file->ReadString(section, "File" + std::to_string(index), "");
        data = index + 100;
    };
    mru.LoadFromIni(&ini, "T");
    EXPECT_EQ(mru.Strings().Text(), "zero\r\ntwo\r\n");
    EXPECT_EQ(mru.Strings().Objects(1), 101);
}

// The favourite files: the list file kept in the user's data folder, and the
// window that adds, removes and opens its entries.
#include "tests/shell/ShellFixture.h"

#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "platform/ProgramPaths.h"
#include "shell/qt/windows/FaveFiles.h"
#include "shell/FaveList.h"
#include "shell/qt/launch/Launchers.h"
#include "tests/controls/FlatTestSupport.h"
#include "tests/shell/MenuDriver.h"

#include <QListWidget>
#include <QTest>

#include <filesystem>

namespace vx::test {
namespace {

using vx::shell::TFaveList;
using Items = std::vector<std::string>;

TEST(FaveList, AMissingFileGivesAnEmptyListAndTheFirstAddCreatesIt)
{
    TempDir dir;
    const std::string path = dir.file("faves.dat");
    TFaveList faves(path);
    faves.Load();
    EXPECT_TRUE(faves.Items().empty());
    EXPECT_FALSE(std::filesystem::exists(path)) << "loading writes nothing";
    faves.Add("/site/index.asp");
    EXPECT_EQ(readFile(path), "/site/index.asp\r\n");
}

TEST(FaveList, LinesLoadInFileOrderWithoutTheEmptyOnes)
{
    const struct {
        const char* bytes;
        Items items;
    } rows[] = {
        {"", {}},
        {"\r\n\r\n", {}},
        {"/a.asp\r\n/b.htm\r\n", {"/a.asp", "/b.htm"}},
        {"/a.asp\n\n/b.htm", {"/a.asp", "/b.htm"}},
        {"\r\n/b.htm\r\n\r\n/a.asp\r\n", {"/b.htm", "/a.asp"}},
        {"/same.asp\r\n/same.asp\r\n", {"/same.asp", "/same.asp"}},
    };
    TempDir dir;
    for (const auto& row : rows) {
        writeFile(dir.file("faves.dat"), row.bytes);
        TFaveList faves(dir.file("faves.dat"));
        faves.Load();
        EXPECT_EQ(faves.Items(), row.items) << row.bytes;
    }
}

TEST(FaveList, AddAppendsAndRemoveTakesOutOneEntryEachSavingTheList)
{
    TempDir dir;
    const std::string path = dir.file("faves.dat");
    writeFile(path, "/one.asp\r\n\r\n/two.asp\r\n");
    TFaveList faves(path);
    faves.Load();
    faves.Add("/three.asp");
    EXPECT_EQ(readFile(path), "/one.asp\r\n/two.asp\r\n/three.asp\r\n");
    faves.Remove(1);
    EXPECT_EQ(faves.Items(), (Items{"/one.asp", "/three.asp"}));
    EXPECT_EQ(readFile(path), "/one.asp\r\n/three.asp\r\n");
    faves.Remove(0);
    faves.Remove(0);
    EXPECT_EQ(readFile(path), "");
    writeFile(path, "kept as it is\n");
    faves.Load();
    for (int index : {-1, 1, 7})
        faves.Remove(index);
    EXPECT_EQ(readFile(path), "kept as it is\n") << "no entry there: nothing is written";
}

class FavouritesWindowTest : public ShellTest {
protected:
    void SetUp() override
    {
        StartAndActivate();
        Focus(form->SlotEditor(1));
        std::filesystem::remove(faves);
    }
    void TearDown() override { vx::shell::SetDialogHost({}); }

    // Opens the window from its menu item and runs act on it while it shows.
    void WithWindow(const std::function<void(Tfrm_favefiles&)>& act)
    {
        bool shown = false;
        vx::shell::SetDialogHost([&](QDialog& dialog) {
            shown = true;
            auto& window = dynamic_cast<Tfrm_favefiles&>(dialog);
            window.show();
            act(window);
            window.hide();
            return int(QDialog::Accepted);
        });
        PickMenuItem(*form, {"File1", "Openfromfavourites1"});
        EXPECT_TRUE(shown);
    }
    static void Press(TFlatSpeedButton* button) { Click(*button, button->rect().center()); }
    static Items Listed(const QListWidget& list)
    {
        Items items;
        for (int i = 0; i < list.count(); ++i)
            items.push_back(list.item(i)->text().toStdString());
        return items;
    }

    const std::string faves = vx::UserDataPath("data\\faves.dat");
};

TEST_F(FavouritesWindowTest, AddedFilesAreListedAndSavedAndTheListComesBackNextTime)
{
    const std::string first = WriteDoc("first.asp", "1");
    const std::string second = WriteDoc("second.htm", "2");
    WithWindow([&](Tfrm_favefiles& window) {
        EXPECT_EQ(window.windowTitle(), "Favourite files");
        EXPECT_EQ(window.pos(), QPoint(20, 20));
        EXPECT_EQ(window.ListBox1->count(), 0) << "no file yet";
        dialogs.Queue(mrOk, first);
        Press(window.SpeedButton1);
        ASSERT_EQ(dialogs.requests.size(), 1u);
        EXPECT_EQ(dialogs.requests[0].kind, vx::dialogs::Kind::OpenFile);
        EXPECT_NE(dialogs.requests[0].text.find("All webrelated|*.asp;*.inc;*.asa;*.htm;*.html"), std::string::npos);
        EXPECT_EQ(dialogs.requests[0].filterIndex, 10) << "all web files are shown first";
        EXPECT_EQ(dialogs.requests[0].defaultExt, "asp");
        dialogs.Queue(mrOk, second);
        Press(window.SpeedButton1);
        Press(window.SpeedButton1); // cancelled: nothing added
        EXPECT_EQ(Listed(*window.ListBox1), (Items{first, second}));
    });
    EXPECT_EQ(readFile(faves), first + "\r\n" + second + "\r\n");
    writeFile(faves, second + "\r\n\r\n" + first + "\r\n");
    WithWindow([&](Tfrm_favefiles& window) {
        EXPECT_EQ(Listed(*window.ListBox1), (Items{second, first})) << "read again on activation, in file order";
    });
}

TEST_F(FavouritesWindowTest, RemoveTakesOutTheSelectedEntryOnly)
{
    writeFile(faves, "/a.asp\r\n/b.asp\r\n/c.asp\r\n");
    WithWindow([&](Tfrm_favefiles& window) {
        Press(window.SpeedButton2);
        EXPECT_EQ(readFile(faves), "/a.asp\r\n/b.asp\r\n/c.asp\r\n") << "none selected: the file is not rewritten";
        const QRect row = window.ListBox1->visualItemRect(window.ListBox1->item(1));
        QTest::mouseClick(window.ListBox1->viewport(), Qt::LeftButton, {}, row.center());
        Press(window.SpeedButton2);
        EXPECT_EQ(Listed(*window.ListBox1), (Items{"/a.asp", "/c.asp"}));
    });
    EXPECT_EQ(readFile(faves), "/a.asp\r\n/c.asp\r\n");
}

TEST_F(FavouritesWindowTest, LoadOpensTheSelectedFileInAFreeSlot)
{
    const std::string page = WriteDoc("fave.asp", "<% fave %>\r\n");
    writeFile(faves, page + "\r\n");
    WithWindow([&](Tfrm_favefiles& window) {
        Press(window.SpeedButton3);
        EXPECT_EQ(form->SlotFileName(1), "") << "none selected: nothing opens";
        const QRect row = window.ListBox1->visualItemRect(window.ListBox1->item(0));
        QTest::mouseClick(window.ListBox1->viewport(), Qt::LeftButton, {}, row.center());
        Press(window.SpeedButton3);
    });
    EXPECT_EQ(form->SlotFileName(1), page);
    EXPECT_EQ(Text(form->SlotEditor(1)), "<% fave %>\r\n");
}

} // namespace
} // namespace vx::test

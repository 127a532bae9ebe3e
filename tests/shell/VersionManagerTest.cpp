// The version manager as the user drives it: adding, deleting and opening
// entries, the add dialog's cancel, the list the main window keeps, and the
// window shown at start-up when the preference asks for it.
#include "tests/shell/ShellFixture.h"

#include "controls/common/DateUtil.h"
#include "controls/edits/ToolEdit.h"
#include "platform/IniFile.h"
#include "shell/qt/mainwindow/PrefForm.h"
#include "shell/qt/windows/VersionManager.h"
#include "shell/VersionList.h"
#include "shell/qt/launch/Launchers.h"
#include "tests/controls/FlatTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using vx::test::ClickRow;
using vx::test::PressButton;
using vx::test::ShellTest;
using namespace vx::shell;

namespace {

using TCells = std::vector<std::string>;

TCells Cells(const QTreeWidgetItem& item)
{
    TCells cells;
    for (int c = 0; c < item.columnCount(); ++c)
        cells.push_back(item.text(c).toStdString());
    return cells;
}

std::vector<TCells> Rows(const QTreeWidget& list)
{
    std::vector<TCells> rows;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        rows.push_back(Cells(*list.topLevelItem(i)));
    return rows;
}

class VersionManagerTest : public ShellTest {
protected:
    void SetUp() override { StartAndActivate(); }
    void TearDown() override { SetDialogHost({}); }

    // Opens the manager through its menu command; act drives the shown window.
    void WithManager(std::function<void(Tfrm_todo&)> act)
    {
        SetDialogHost([act](QDialog& dialog) {
            dialog.show();
            act(static_cast<Tfrm_todo&>(dialog));
            return dialog.result();
        });
        RunLauncher(*form, "Tfrm_todo");
        SetDialogHost({});
    }
    // Clicks "Add task" and fills the dialog that comes up; accept picks the button.
    static void AddTask(Tfrm_todo& manager, const std::string& topic, const std::string& file, bool accept = true)
    {
        WhenModal([topic, file, accept](QWidget& window) {
            auto& dialog = dynamic_cast<Tfrm_todo_addtask&>(window);
            EXPECT_EQ(dialog.ComboBox1->currentText(), "High") << "High is chosen on activation";
            dialog.DateEdit1->SetDate(vx::EncodeDate(2024, 3, 1));
            dialog.DateEdit2->SetDate(vx::EncodeDate(2024, 4, 30));
            QTest::keyClicks(dialog.Edit1, QString::fromStdString(topic));
            dialog.Edit2->clear();
            QTest::keyClicks(dialog.Edit2, "Ann");
            QTest::keyClicks(dialog.FilenameEdit1, QString::fromStdString(file));
            QTest::keyClicks(dialog.Edit3, "1.0");
            PressButton(accept ? dialog.Button1 : dialog.Button2);
        });
        PressButton(manager.SpeedButton2);
    }
    std::string ListPath() const { return userData.File("data/vcsmanager.dat"); }
};

} // namespace

TEST_F(VersionManagerTest, IdsCountUpAndANewEntryAfterADeleteOverwritesNothing)
{
    const std::string a = WriteDoc("a.htm", "a"), b = WriteDoc("b.htm", "b"), c = WriteDoc("c.htm", "c");
    WithManager([&](Tfrm_todo& manager) {
        AddTask(manager, "first", a);
        AddTask(manager, "second", b);
        ASSERT_EQ(manager.ListView1->topLevelItemCount(), 2);
        EXPECT_EQ(Rows(*manager.ListView1)[0][0], "0");
        EXPECT_EQ(Rows(*manager.ListView1)[1][0], "1");
        ClickRow(*manager.ListView1, 0);
        PressButton(manager.SpeedButton3);
        AddTask(manager, "third", c);
        const std::vector<TCells> rows = Rows(*manager.ListView1);
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0][0], "1");
        EXPECT_EQ(rows[1], (TCells{"2", "c.htm", "03/01/2024", "04/30/2024", "third", "High", "Ann", "", "1.0"}));
    });
    TVcsList list(ListPath());
    EXPECT_EQ(list.Ids(), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(list.Value("1", "topic"), "second") << "the remaining entry is untouched";
    EXPECT_EQ(list.Value("2", "f_file"), c);
    EXPECT_EQ(list.Value("2", "Created_ by"), "Ann");
}

TEST_F(VersionManagerTest, ARowReadBackShowsTheCellsItWasAddedWith)
{
    const std::string a = WriteDoc("a.htm", "a");
    std::vector<TCells> added, reread;
    WithManager([&](Tfrm_todo& manager) {
        AddTask(manager, "topic", a);
        added = Rows(*manager.ListView1);
    });
    WithManager([&](Tfrm_todo& manager) { reread = Rows(*manager.ListView1); });
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(reread, added);
    EXPECT_EQ(form->vcsbox->topLevelItemCount(), 1) << "the main window's list is reloaded on close";
    EXPECT_EQ(form->vcsbox->topLevelItem(0)->text(0).toStdString(), a);
}

TEST_F(VersionManagerTest, ACancelledOrClosedAddDialogAddsAndWritesNothing)
{
    WithManager([&](Tfrm_todo& manager) {
        AddTask(manager, "no", "/x/no.htm", false);
        EXPECT_EQ(manager.ListView1->topLevelItemCount(), 0);
        WhenModal([](QWidget& window) { window.close(); });
        PressButton(manager.SpeedButton2);
        EXPECT_EQ(manager.ListView1->topLevelItemCount(), 0) << "closing by the frame is no add";
    });
    EXPECT_FALSE(std::filesystem::exists(ListPath()));
}

TEST_F(VersionManagerTest, OpeningStampsTheChangeRecordsTheVersionAndOpensTheFile)
{
    const std::string page = WriteDoc("page.htm", "<p>\r\n");
    std::filesystem::create_directories(userData.File("data"));
    vx::test::writeFile(ListPath(), "[4]\r\nid=4\r\nS_FILE=page.htm\r\nF_FILE=" + page + "\r\nVERSION=1.0\r\n");
    std::string shownTime, shownVersion;
    WithManager([&](Tfrm_todo& manager) {
        ASSERT_EQ(manager.ListView1->topLevelItemCount(), 1);
        EXPECT_EQ(Rows(*manager.ListView1)[0], (TCells{"4", "page.htm", "", "", "", "", "", "", "1.0"}));
        ClickRow(*manager.ListView1, 0);
        WhenModal([&](QWidget& window) {
            auto& change = dynamic_cast<Tfrm_todo_change&>(window);
            shownTime = change.Label2->text().toStdString();
            shownVersion = change.Edit1->text().toStdString();
            EXPECT_EQ(TVcsList(ListPath()).Value("4", "changed"), shownTime) << "stamped before the dialog";
            change.Edit1->clear();
            QTest::keyClicks(change.Edit1, "1.1");
            QTest::keyClick(change.CheckBox1, Qt::Key_Space);
            EXPECT_TRUE(change.CheckBox1->isChecked());
            PressButton(change.Button1);
        });
        PressButton(manager.SpeedButton4);
        const std::vector<TCells> rows = Rows(*manager.ListView1);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0][7], shownTime);
        EXPECT_EQ(rows[0][8], "1.1");
    });
    EXPECT_FALSE(shownTime.empty());
    EXPECT_EQ(shownVersion, "1.0");
    EXPECT_EQ(form->SlotFileName(1), page);
    EXPECT_TRUE(form->SlotEditor(1)->Model().GetReadOnly()) << "opened read-only as ticked";
    TIniFile ini(ListPath());
    EXPECT_EQ(ini.ReadString("4", "Version", ""), "1.1");
}

TEST_F(VersionManagerTest, TheFileButtonPicksTheFileAndADoubleClickOpensIt)
{
    const std::string page = WriteDoc("picked.htm", "picked\r\n");
    WithManager([&](Tfrm_todo& manager) {
        WhenModal([&](QWidget& window) {
            auto& dialog = dynamic_cast<Tfrm_todo_addtask&>(window);
            dialogs.Queue(mrOk, page);
            TEditButton* button = dialog.FilenameEdit1->Button();
            vx::test::Click(*button, button->rect().center());
            EXPECT_EQ(dialog.FilenameEdit1->Text(), page);
            PressButton(dialog.Button1);
        });
        PressButton(manager.SpeedButton2);
        ASSERT_EQ(manager.ListView1->topLevelItemCount(), 1);
        EXPECT_EQ(Rows(*manager.ListView1)[0][1], "picked.htm");
        ClickRow(*manager.ListView1, 0);
        WhenModal([](QWidget& window) { PressButton(dynamic_cast<Tfrm_todo_change&>(window).Button1); });
        // Where the click before it went, on the ID cell.
        const QRect cell = manager.ListView1->visualRect(manager.ListView1->model()->index(0, 0));
        QTest::mouseDClick(manager.ListView1->viewport(), Qt::LeftButton, {}, cell.center());
    });
    EXPECT_EQ(form->SlotFileName(1), page);
    EXPECT_FALSE(form->SlotEditor(1)->Model().GetReadOnly());
}

TEST_F(VersionManagerTest, DeleteErasesTheRowsOwnSectionWhateverItsIdCellSays)
{
    std::filesystem::create_directories(userData.File("data"));
    vx::test::writeFile(ListPath(), "[a]\r\nID=7\r\n[7]\r\nID=other\r\n");
    WithManager([&](Tfrm_todo& manager) {
        PressButton(manager.SpeedButton3); // nothing selected: nothing deleted
        EXPECT_EQ(manager.ListView1->topLevelItemCount(), 2);
        ClickRow(*manager.ListView1, 0);
        PressButton(manager.SpeedButton3);
        ASSERT_EQ(manager.ListView1->topLevelItemCount(), 1);
        EXPECT_EQ(Rows(*manager.ListView1)[0][0], "other");
    });
    EXPECT_EQ(vx::test::readFile(ListPath()), "[7]\r\nID=other\r\n");
}

TEST_F(VersionManagerTest, OpenNeedsASelectedRowWithAFile)
{
    std::filesystem::create_directories(userData.File("data"));
    vx::test::writeFile(ListPath(), "[0]\r\nID=0\r\nS_File=none\r\n");
    const std::string before = vx::test::readFile(ListPath());
    WithManager([&](Tfrm_todo& manager) {
        PressButton(manager.SpeedButton4); // nothing selected
        ClickRow(*manager.ListView1, 0);
        PressButton(manager.SpeedButton4); // no "F_file"
        PressButton(manager.SpeedButton5); // "Edit task" does nothing
    });
    EXPECT_EQ(vx::test::readFile(ListPath()), before);
    EXPECT_EQ(form->SlotFileName(1), "");
}

TEST_F(ShellTest, TheStartUpPreferenceShowsTheVersionManager)
{
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    reg.OpenKey(PreferencesKey, true);
    reg.WriteString("showvcs", "TRUE");
    reg.WriteString("sharedir", userData.File("shared")); // the preference needs one
    reg.CloseKey();
    std::filesystem::create_directories(userData.File("data"));
    vx::test::writeFile(userData.File("data/vcsmanager.dat"), "[0]\r\nID=0\r\nF_file=/site/a.htm\r\n");
    int shown = 0;
    SetDialogHost([&shown](QDialog& dialog) {
        shown += dynamic_cast<Tfrm_todo*>(&dialog) != nullptr;
        return int(QDialog::Rejected);
    });
    StartAndActivate();
    SetDialogHost({});
    EXPECT_EQ(shown, 1);
    ASSERT_EQ(form->vcsbox->topLevelItemCount(), 1);
    EXPECT_EQ(form->vcsbox->topLevelItem(0)->text(0).toStdString(), "/site/a.htm");
}

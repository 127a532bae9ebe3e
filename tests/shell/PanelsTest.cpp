#include "tests/shell/MenuDriver.h"
#include "tests/shell/ShellFixture.h"

#include "controls/foldertree/DirTree.h"
#include "controls/speedbar/SpeedBar.h"
#include "platform/FileIO.h"
#include "shell/qt/windows/ProfHelp.h"
#include "shell/qt/panels/FileListModel.h"
#include "shell/qt/panels/FilePanel.h"
#include "shell/qt/panels/SidePanels.h"
#include "shell/qt/launch/Launchers.h"
#include "shell/qt/taglists/TagLists.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

using vx::shell::TFilePanel;
using vx::test::ShellTest;

namespace {

class PanelTest : public ShellTest {
protected:
    void SetUp() override
    {
        for (const char* name : {"b.asp", "a.inc", "c.htm", "d.txt"})
            WriteDoc(name, std::string(name[0] - 'a' + 1, 'x'));
        StartAndActivate();
        panel = vx::shell::FilePanel(*form);
        ASSERT_NE(panel, nullptr);
        form->show();
        QApplication::processEvents();
    }
    QAction* Item(const char* name) const { return form->findChild<QAction*>(name); }
    std::vector<std::string> Listed() const
    {
        std::vector<std::string> names;
        QAbstractItemModel* model = panel->filelist->model();
        for (int row = 0; row < model->rowCount(); ++row)
            names.push_back(model->index(row, 0).data().toString().toStdString());
        return names;
    }
    std::string Assistant() const
    {
        return frm_profhelp->findChild<QPlainTextEdit*>("Memo1")->toPlainText().toStdString();
    }
    void ClickHeader(int column)
    {
        QHeaderView* header = panel->filelist->header();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }

    TFilePanel* panel = nullptr;
};

} // namespace

TEST_F(PanelTest, ThePanelStartsHiddenAndTheMenuAndItsCloseButtonToggleIt)
{
    EXPECT_TRUE(panel->isHidden());
    EXPECT_EQ(Item("Filepanel1")->text(), "Show filepanel");
    vx::test::PickMenuItem(*form, {"View1", "Filepanel1"});
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(Item("Filepanel1")->text(), "Hide filepanel");
    QTest::mouseClick(panel->SpeedButton10, Qt::LeftButton);
    EXPECT_TRUE(panel->isHidden());
    EXPECT_EQ(Item("Filepanel1")->text(), "Show filepanel") << "the menu knows the panel is closed";
    vx::test::PickMenuItem(*form, {"View1", "Filepanel1"});
    EXPECT_FALSE(panel->isHidden()) << "one pick shows it again";
}

TEST_F(PanelTest, MasksListSortAndOpen)
{
    panel->SetFolder(docs.path().string());
    EXPECT_EQ(panel->FileCount(), 3) << "the web files";
    Item("inc1")->trigger();
    EXPECT_EQ(Listed(), std::vector<std::string>{"A.inc"});
    Item("Allfiles1")->trigger();
    EXPECT_EQ(panel->FileCount(), 4);

    vx::test::PickMenuItem(*form, {"View1", "Filepanel1"});
    QHeaderView* header = panel->filelist->header();
    EXPECT_FALSE(header->isSortIndicatorShown()) << "no heading sorts the list yet";
    ClickHeader(1);
    EXPECT_EQ(Listed(), (std::vector<std::string>{"A.inc", "B.asp", "C.htm", "D.txt"})) << "by size, ascending";
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), 1);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    ClickHeader(1);
    EXPECT_EQ(Listed(), (std::vector<std::string>{"D.txt", "C.htm", "B.asp", "A.inc"})) << "the same column again";
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_EQ(panel->filelist->model()->index(0, 1).data().toString(), "4");

    panel->CheckBox2->setChecked(true);
    const QModelIndex last = panel->filelist->model()->index(3, 0);
    const QRect cell = panel->filelist->visualRect(last);
    QTest::mouseClick(panel->filelist->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_NE(Assistant().find("Select a file from the list"), std::string::npos);
    QTest::mouseDClick(panel->filelist->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(form->SlotFileName(1), docs.file("a.inc"));
    EXPECT_TRUE(form->SlotEditor(1)->Model().GetReadOnly()) << "opened read-only as the box says";

    Item("Allfiles1")->trigger();
    EXPECT_FALSE(header->isSortIndicatorShown()) << "listed anew, in the folder's order";
}

TEST_F(PanelTest, AClickOnAFolderListsThatFolder)
{
    const std::string sub = docs.file("sub");
    std::filesystem::create_directories(sub);
    WriteDoc("sub/e.htm", "e");
    vx::test::PickMenuItem(*form, {"View1", "Filepanel1"});
    panel->SetFolder(docs.path().string());
    QTreeWidget* tree = panel->DirectoryListBox1;
    QTreeWidgetItem* folder = tree->currentItem();
    ASSERT_NE(folder, nullptr);
    tree->expandItem(folder);
    QTreeWidgetItem* child = folder->childCount() > 0 ? folder->child(0) : nullptr;
    ASSERT_NE(child, nullptr);
    ASSERT_EQ(TDirTree::PathOf(child), sub);
    tree->scrollToItem(child);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(child).center());
    EXPECT_EQ(panel->Folder(), sub) << "the folder clicked, not the one before it";
    EXPECT_EQ(Listed(), std::vector<std::string>{"E.htm"});
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(folder).center());
    EXPECT_EQ(panel->Folder(), docs.path().string());
    EXPECT_EQ(panel->FileCount(), 3);
}

TEST_F(PanelTest, TheFolderMonitorReloadsTheList)
{
    panel->SetFolder(docs.path().string());
    ASSERT_EQ(panel->FileCount(), 3);
    WriteDoc("new.asp", "n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel->FileCount() == 4; }, vx::test::kPatienceMs))
        << panel->FileCount() << " files listed";
}

TEST_F(PanelTest, ViewToggles)
{
    QTabWidget* right = vx::shell::RightPanels(*form);
    vx::test::PickMenuItem(*form, {"View1", "Hidevalidatorpanel1"});
    EXPECT_TRUE(right->isHidden());
    EXPECT_EQ(Item("Hidevalidatorpanel1")->text(), "Show Link validator panel");
    vx::test::PickMenuItem(*form, {"View1", "Hidevalidatorpanel1"});
    EXPECT_FALSE(right->isHidden());
    EXPECT_EQ(Item("Hidevalidatorpanel1")->text(), "Hide Linkvalidator panel");

    QWidget* logo = vx::shell::LogoPanel(*form);
    vx::test::PickMenuItem(*form, {"View1", "Hidelogopanel1"});
    EXPECT_TRUE(logo->isHidden());
    EXPECT_FALSE(Item("Hidelogopanel1")->isChecked());
    vx::test::PickMenuItem(*form, {"View1", "Hidelogopanel1"});
    EXPECT_FALSE(logo->isHidden());
    EXPECT_TRUE(Item("Hidelogopanel1")->isChecked());
    Item("CloseLogobar1")->trigger();
    EXPECT_TRUE(logo->isHidden());

    form->VellumixAssistant1->setChecked(false);
    frm_profhelp->hide();
    vx::test::PickMenuItem(*form, {"View1", "VellumixAssistant1"});
    EXPECT_TRUE(frm_profhelp->isVisible());
    vx::test::PickMenuItem(*form, {"View1", "VellumixAssistant1"});
    EXPECT_FALSE(frm_profhelp->isVisible());

    vx::test::PickMenuItem(*form, {"View1", "Wordwraponoff1"});
    EXPECT_EQ(Item("Wordwraponoff1")->text(), "Wordwrap on");
    EXPECT_TRUE(Item("Wordwraponoff1")->isChecked());

    Item("Viewgeneraltoolbar1")->setChecked(true);
    Item("Viewgeneraltoolbar1")->trigger();
    EXPECT_FALSE(Item("Viewgeneraltoolbar1")->isChecked()) << "it only unchecks itself";
}

TEST_F(PanelTest, TheLookButtonDrawsTheDocumentTabsFlat)
{
    TSpeedItem* look = form->SpeedBar1->FindItemByName("SpeedButton14");
    ASSERT_NE(look, nullptr);
    QTest::mouseClick(look->Button(), Qt::LeftButton);
    EXPECT_TRUE(form->PageControl1->documentMode());
    QTest::mouseClick(look->Button(), Qt::LeftButton);
    EXPECT_FALSE(form->PageControl1->documentMode());
}

TEST_F(PanelTest, AClickAnywhereInAListOrTreeGivesItsHelpText)
{
    vx::test::PickMenuItem(*form, {"View1", "Filepanel1"});
    panel->SetFolder(docs.path().string());
    panel->DirectoryListBox1->collapseAll();
    auto* links = form->findChild<QTreeWidget*>("TreeView3");
    auto* item = new QTreeWidgetItem(links);
    item->setText(0, "page.htm");
    const struct {
        QAbstractItemView* view;
        int page; // of the right-hand panels, for their trees
        const char* help;
    } rows[] = {
        {panel->filelist, -1, "Select a file from the list"},
        {panel->DirectoryListBox1, -1, "Select directory, Here you can select a directory"},
        {form->findChild<QTreeWidget*>("TreeView1"), 0, "Link validator, Vellumix can check"},
        {form->findChild<QTreeWidget*>("TreeView2"), 1, "Document structure, this shows the structure"},
        {links, 2, "Document links, this shows all the links"},
    };
    for (const auto& row : rows) {
        ASSERT_NE(row.view, nullptr) << row.help;
        if (row.page >= 0)
            vx::shell::RightPanels(*form)->setCurrentIndex(row.page);
        QApplication::processEvents();
        QWidget* viewport = row.view->viewport();
        const QPoint below(viewport->width() - 4, viewport->height() - 4);
        ASSERT_FALSE(row.view->indexAt(below).isValid()) << row.help << ": the click must miss every item";
        frm_profhelp->findChild<QPlainTextEdit*>("Memo1")->clear();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, below);
        EXPECT_NE(Assistant().find(row.help), std::string::npos) << row.help;
    }
    frm_profhelp->findChild<QPlainTextEdit*>("Memo1")->clear();
    QTest::mouseClick(links->viewport(), Qt::LeftButton, {}, links->visualItemRect(item).center());
    EXPECT_NE(Assistant().find("Document links, this shows all the links"), std::string::npos) << "and on an item";
}

TEST_F(PanelTest, ADoubleClickOnTheVersionControlListShowsTheVcsManager)
{
    std::vector<std::string> shown;
    vx::shell::SetDialogHost([&shown](QDialog& dialog) {
        shown.push_back(dialog.objectName().toStdString());
        return 0;
    });
    ASSERT_TRUE(vx::shell::ShowTagPage(*form, "&Manager"));
    QWidget* viewport = form->vcsbox->viewport();
    QApplication::processEvents();
    ASSERT_TRUE(viewport->isVisible());
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, QPoint(viewport->width() / 2, viewport->height() - 4));
    vx::shell::SetDialogHost({});
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "frm_todo");
}

TEST_F(PanelTest, TheManagerListReadsTheClickedPageWithoutSaving)
{
    const std::string first = WriteDoc("one.htm", "<p>\r\n");
    const std::string second = WriteDoc("two.htm", "<img src=\"old.gif\">\r\n");
    form->OpenDocumentInFreeSlot(first, false);
    form->OpenDocumentInFreeSlot(second, false);
    form->Save1Click(); // lists the named slots
    ASSERT_EQ(form->ListBox1->count(), 2);
    form->SlotEditor(2)->Model().SetText("<IMG SRC=\"a.gif\"><img src=\"\">");
    ASSERT_TRUE(vx::shell::ShowTagPage(*form, "&Manager"));
    QApplication::processEvents();
    QTest::mouseClick(form->ListBox1->viewport(), Qt::LeftButton, {},
                      form->ListBox1->visualItemRect(form->ListBox1->item(1)).center());
    auto* images = form->findChild<QListWidget*>("imagebox");
    ASSERT_EQ(images->count(), 2);
    EXPECT_EQ(images->item(0)->text(), "a.gif");
    EXPECT_EQ(images->item(1)->text(), "TAG: <IMG");
    EXPECT_EQ(vx::ReadWholeFile(second), "<img src=\"old.gif\">\r\n") << "nothing saved";
    EXPECT_NE(Assistant().find("Filemanager : These are the files currently open"), std::string::npos);
}

TEST_F(PanelTest, CalculatorRunsModally)
{
    bool shown = false;
    auto* poll = new QTimer(form.get());
    QObject::connect(poll, &QTimer::timeout, poll, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            shown = true;
            poll->stop();
            dialog->close();
        }
    });
    poll->start(5);
    vx::test::PickMenuItem(*form, {"Tools1", "Calculator1"});
    EXPECT_TRUE(shown);
}

TEST_F(PanelTest, TheValidatorPageChecksTheFocusedSlotsLinks)
{
    WriteDoc("there.htm", "<p>\r\n");
    const std::string page = WriteDoc("links.htm", "<a href=\"there.htm\">x</a> <a href=\"gone.htm\">y</a>\r\n");
    OpenAndFocus(page);
    auto* tree = form->findChild<QTreeWidget*>("TreeView1");
    QTabWidget* pages = vx::shell::RightPanels(*form);
    pages->setCurrentIndex(1);
    EXPECT_EQ(tree->topLevelItemCount(), 0) << "only the validator page checks";
    pages->setCurrentIndex(0);
    ASSERT_GT(tree->topLevelItemCount(), 0);
    QStringList texts;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        texts << (*it)->text(0);
    const QString all = texts.join('\n');
    EXPECT_TRUE(all.contains("there.htm")) << all.toStdString();
    EXPECT_TRUE(all.contains("gone.htm")) << all.toStdString();
}

// A language switch rewrites the texts of list items and nothing else: what
// the combo boxes and list widgets of every window carry with their items
// (file masks, colours, drives, characters, icons) and what is selected in
// them stay as they were, in Dutch and back in English; so the publishing
// window lists the folder's files in Dutch as it does in English. The file
// panel's list names its columns and its files' types in the chosen language.
#include "tests/shell/DutchFixture.h"
#include "tests/shell/MenuDriver.h"
#include "tests/shell/TextFit.h"
#include "tests/shell/WindowTexts.h"
#include "tests/shell/WindowWalker.h"

#include "internet/qt/FtpForm.h"
#include "shell/qt/launch/Launchers.h"
#include "shell/qt/panels/FilePanel.h"
#include "shell/qt/panels/SidePanels.h"

#include <QComboBox>
#include <QDebug>
#include <QDir>
#include <QHeaderView>
#include <QListWidget>
#include <QTreeView>

#include <filesystem>
#include <map>

namespace vx::test {
namespace {

// One list as the program reads it back: per item what it carries besides
// its text (its icon, check state and data), and which items are selected.
struct TListState {
    std::string Place;
    std::vector<QString> Items;
    std::vector<int> Selected;
    int Current = -1;
};

bool CarriesMoreThanText(int role)
{
    return role == Qt::DecorationRole || role == Qt::CheckStateRole || role >= Qt::UserRole;
}

std::vector<QString> ItemsOf(const QAbstractItemModel& model)
{
    std::vector<QString> items;
    for (int row = 0; row < model.rowCount(); ++row) {
        QString carried;
        const QMap<int, QVariant> roles = model.itemData(model.index(row, 0));
        for (auto role = roles.begin(); role != roles.end(); ++role)
            if (CarriesMoreThanText(role.key()))
                QDebug(&carried).nospace() << role.key() << "=" << role.value() << " ";
        items.push_back(carried);
    }
    return items;
}

// Every combo box and list widget of the window, and its state. By the
// control: translation may name a control that had no name.
std::map<const QWidget*, TListState> ListsOf(QWidget& window)
{
    std::map<const QWidget*, TListState> lists;
    for (QComboBox* box : window.findChildren<QComboBox*>())
        if (box->window() == &window)
            lists[box] = {PlaceOf(window, *box), ItemsOf(*box->model()), {}, box->currentIndex()};
    for (QListWidget* list : window.findChildren<QListWidget*>()) {
        if (list->window() != &window)
            continue;
        TListState& state = lists[list];
        state = {PlaceOf(window, *list), ItemsOf(*list->model()), {}, list->currentRow()};
        for (const QModelIndex& index : list->selectionModel()->selectedIndexes())
            state.Selected.push_back(index.row());
        std::sort(state.Selected.begin(), state.Selected.end());
    }
    return lists;
}

int ItemsCarryingMore(const std::map<const QWidget*, TListState>& lists)
{
    int count = 0;
    for (const auto& [control, state] : lists)
        count += static_cast<int>(std::count_if(state.Items.begin(), state.Items.end(),
                                                [](const QString& carried) { return !carried.isEmpty(); }));
    return count;
}

// The first item that carries something else now, or "" when none does.
std::string FirstChange(const std::vector<QString>& was, const std::vector<QString>& is)
{
    if (was.size() != is.size())
        return std::to_string(was.size()) + " items became " + std::to_string(is.size());
    for (std::size_t i = 0; i < was.size(); ++i)
        if (was[i] != is[i])
            return "item " + std::to_string(i) + " carried " + was[i].toStdString() + "and now " + is[i].toStdString();
    return {};
}

class DutchListsTest : public DutchFixture {
protected:
    // Switches the program to Nederlands and back through the language menu's
    // items while the window is up; every list of it must read the same after
    // each switch. Answers how many items carried more than their text.
    int SwitchAndCompare(const std::string& name, QWidget& window)
    {
        const std::map<const QWidget*, TListState> english = ListsOf(window);
        for (const auto& [item, language] : {std::pair{"Nederlands1", "Nederlands"}, {"English1", "Native"}}) {
            form->findChild<QAction*>(item)->trigger();
            EXPECT_EQ(TKAppLanguage::Instance().CurrentLanguage(), language);
            const std::map<const QWidget*, TListState> now = ListsOf(window);
            for (const auto& [control, was] : english) {
                const auto is = now.find(control);
                const std::string& place = was.Place;
                if (is == now.end()) {
                    ADD_FAILURE() << place << " of " << name << " went after " << item;
                    continue;
                }
                EXPECT_EQ(FirstChange(was.Items, is->second.Items), "") << place << " of " << name << " after " << item;
                EXPECT_EQ(is->second.Current, was.Current) << place << " of " << name << " after " << item;
                EXPECT_EQ(is->second.Selected, was.Selected) << place << " of " << name << " after " << item;
            }
        }
        return ItemsCarryingMore(english);
    }

    FolderSandbox userHome{"HOME", "vellumix-user-home"};
};

TEST_F(DutchListsTest, TheListsOfEveryWindowKeepWhatTheirItemsCarryAndTheirSelection)
{
    StartAndActivate();
    form->show();
    int carried = SwitchAndCompare("main window", *form);
    std::map<std::string, int> windowsCarrying;
    for (const TWalkedWindow& walked :
         WalkEveryWindow(*form, dialogs, [&](const std::string& command, QWidget& window) {
             const int found = SwitchAndCompare(command, window);
             carried += found;
             if (found)
                 windowsCarrying[command] = found;
         }))
        EXPECT_TRUE(walked.Found) << walked.Command;
    // The windows known to keep data in their lists were met with it.
    for (const char* command : {"Prefferences1", "Publishfilestowebserver1", "Extendedcharacters1", "Imagepreviewer1"})
        EXPECT_TRUE(windowsCarrying.count(command)) << command;
    EXPECT_GT(carried, 100) << "items that carry data, icons or check states";
}

// The publish window keeps each filter's file mask with its item: in Dutch,
// too, the file list shows the web files of the folder, and only those.
TEST_F(DutchListsTest, ThePublishWindowListsTheFolderInEveryLanguage)
{
    for (const char* name : {"index.htm", "style.css", "notes.txt", "default.asp"})
        writeFile(userHome.File(name), "x");
    StartAndActivate();
    Focus(form->SlotEditor(1));
    std::vector<QString> listed;
    QString filter;
    vx::shell::SetDialogHost([&](QDialog& dialog) {
        auto* publish = dynamic_cast<Tf_ftp*>(&dialog);
        EXPECT_NE(publish, nullptr);
        if (!publish)
            return int(QDialog::Rejected);
        publish->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(publish));
        EXPECT_EQ(QDir(publish->LocalFolder()), QDir(QString::fromStdString(userHome.File(""))));
        filter = publish->FilterComboBox1->currentText();
        for (int i = 0; i < publish->FileListBox1->count(); ++i)
            listed.push_back(publish->FileListBox1->item(i)->text());
        return int(QDialog::Rejected);
    });
    const struct {
        const char* language;
        const char* filter;
    } cases[] = {{"Nederlands1", "Alle webbestanden"}, {"English1", "All Web related files"}};
    for (const auto& c : cases) {
        PickMenuCommand(*form, c.language);
        Focus(form->SlotEditor(1));
        listed.clear();
        QTest::keyClick(form->SlotEditor(1), Qt::Key_F, Qt::ControlModifier);
        EXPECT_EQ(filter, c.filter);
        EXPECT_EQ(listed, (std::vector<QString>{"default.asp", "index.htm"})) << c.language;
    }
    vx::shell::SetDialogHost({});
}

// The file panel's headings and its files' types speak the chosen language,
// whatever the system's: the program's own names for the documents and
// pictures it works with, a file's extension for any other; its sizes group
// their digits as the language does. A switch renames the list as it stands,
// sorted anew where it was sorted by type, and the Dutch headings read whole.
TEST_F(DutchListsTest, TheFilePanelNamesItsColumnsAndTypesInTheChosenLanguage)
{
    for (const char* name : {"index.htm", "default.asp", "header.inc", "logo.bmp", "archive.zip"})
        WriteDoc(name, "x");
    std::filesystem::resize_file(docs.file("archive.zip"), 3'000'000);
    StartAndActivate();
    form->show();
    vx::shell::TFilePanel* panel = vx::shell::FilePanel(*form);
    ASSERT_NE(panel, nullptr);
    PickMenuCommand(*form, "Filepanel1");
    ASSERT_TRUE(panel->isVisible());
    form->findChild<QAction*>("Allfiles1")->trigger();
    panel->SetFolder(docs.path().string());
    const QAbstractItemModel& model = *panel->filelist->model();
    const auto headings = [&model] {
        std::vector<std::string> shown;
        for (int column = 0; column < model.columnCount(); ++column)
            shown.push_back(model.headerData(column, Qt::Horizontal).toString().toStdString());
        return shown;
    };
    using TRows = std::vector<std::pair<std::string, std::string>>;
    const auto column = [&model](int shown) {
        TRows rows;
        for (int row = 0; row < model.rowCount(); ++row)
            rows.emplace_back(model.index(row, 0).data().toString().toStdString(),
                              model.index(row, shown).data().toString().toStdString());
        return rows;
    };
    const auto types = [&column] { return column(3); };
    // Digits grouped as the language groups them, whatever the machine's locale.
    const auto archiveSize = [&column] {
        for (const auto& [name, size] : column(1))
            if (name == "Archive.zip")
                return size;
        return std::string("not listed");
    };
    // Sorted by type, with a click on its heading.
    QHeaderView& header = *panel->filelist->header();
    QTest::mouseClick(header.viewport(), Qt::LeftButton, {},
                      QPoint(header.sectionViewportPosition(3) + header.sectionSize(3) / 2, header.height() / 2));
    EXPECT_EQ(headings(), (std::vector<std::string>{"File Name", "Size", "Date", "Type"}));
    const TRows english = {{"Default.asp", "Active Server Page"}, {"Header.inc", "ASP include file"},
                           {"Logo.bmp", "Bitmap image"}, {"Index.htm", "HTML document"}, {"Archive.zip", "ZIP file"}};
    EXPECT_EQ(types(), english);
    EXPECT_EQ(archiveSize(), "3,000,000");

    PickMenuCommand(*form, "Nederlands1");
    EXPECT_EQ(headings(), (std::vector<std::string>{"Bestandsnaam", "Grootte", "Datum", "Type"}));
    const TRows dutch = {{"Header.inc", "ASP-includebestand"}, {"Default.asp", "ASP-pagina"},
                         {"Logo.bmp", "Bitmapafbeelding"},    {"Index.htm", "HTML-document"},
                         {"Archive.zip", "ZIP-bestand"}};
    EXPECT_TRUE(WaitFor([&] { return types() == dutch; })) << "the types follow the switch";
    EXPECT_EQ(types(), dutch);
    EXPECT_EQ(archiveSize(), "3.000.000");
    int measured = 0;
    for (const TTextRoom& room : ColumnHeadingRooms(*form))
        if (room.Place.find("filelist") != std::string::npos) {
            ++measured;
            EXPECT_TRUE(room.Fits()) << room.Place << " \"" << room.Text.toStdString() << "\" needs " << room.Needed
                                     << " px, has " << room.Room;
        }
    EXPECT_EQ(measured, 4) << "the four headings";

    PickMenuCommand(*form, "English1");
    EXPECT_TRUE(WaitFor([&] { return types() == english; })) << "and back";
    EXPECT_EQ(headings().front(), "File Name");
    EXPECT_EQ(archiveSize(), "3,000,000");
}

} // namespace
} // namespace vx::test

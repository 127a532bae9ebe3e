// The version manager's list window.
#include "shell/qt/windows/VersionManager.h"

#include "platform/qt/QtText.h"
#include "shell/api/MainWindow.h"
#include "shell/VersionList.h"
#include "tools/DateTimeText.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using vx::shell::TVcsList;
using vx::shell::TVcsRow;
using vx::shell::VcsColumnCount;
using vx::shell::VcsColumns;

namespace {

// The row keeps the name of its section: the "ID" cell is only what the
// section says of itself, and Delete and Open must reach the section.
void AddRow(QTreeWidget& list, const TVcsRow& cells, const std::string& section)
{
    auto* item = new QTreeWidgetItem(&list);
    for (int c = 0; c < VcsColumnCount; ++c)
        item->setText(c, vx::ToQString(cells[c]));
    item->setData(0, Qt::UserRole, vx::ToQString(section));
}

std::string SectionOf(const QTreeWidgetItem& row)
{
    return vx::FromQString(row.data(0, Qt::UserRole).toString());
}

} // namespace

Tfrm_todo::Tfrm_todo(QWidget* parent) : TShellDialog("frm_todo", "Version Manager", parent)
{
    auto* layout = new QVBoxLayout(this);
    ListView1 = Named(new QTreeWidget(this), "ListView1");
    ListView1->setRootIsDecorated(false);
    ListView1->setFrameShape(QFrame::NoFrame);
    ListView1->setDragEnabled(true);
    QStringList captions;
    for (const vx::shell::TVcsColumn& column : VcsColumns())
        captions << column.Caption;
    ListView1->setHeaderLabels(captions);
    ListBox1 = Named(new QListWidget(this), "ListBox1");
    ListBox1->hide();
    SpeedButton1 = AddButton("SpeedButton1", "Close");
    SpeedButton1->setToolTip("Close VCS manager");
    SpeedButton2 = AddButton("SpeedButton2", "Add task");
    SpeedButton2->setToolTip("Add file/task to Manager");
    SpeedButton3 = AddButton("SpeedButton3", "Delete task");
    SpeedButton3->setToolTip("Delete file/task from manager");
    SpeedButton4 = AddButton("SpeedButton4", "Open file in editor");
    SpeedButton4->setToolTip("Opens file in editor screen");
    SpeedButton5 = AddButton("SpeedButton5", "Edit task");
    // The button has no command behind it.
    SpeedButton5->setEnabled(false);
    layout->addWidget(ListView1, 1);
    layout->addWidget(ListBox1);
    AddButtonRow(*layout, {SpeedButton2, SpeedButton3, SpeedButton4, SpeedButton5, SpeedButton1});
    connect(SpeedButton1, &QPushButton::clicked, this, &QDialog::reject);
    connect(SpeedButton2, &QPushButton::clicked, this, Guarded([this] { AddTask(); }));
    connect(SpeedButton3, &QPushButton::clicked, this, Guarded([this] { DeleteTask(); }));
    connect(SpeedButton4, &QPushButton::clicked, this, Guarded([this] { OpenTaskFile(); }));
    connect(ListView1, &QTreeWidget::itemDoubleClicked, this, Guarded([this] { OpenTaskFile(); }));
    resize(640, 300);
    Loaded();
}

void Tfrm_todo::FormActivate()
{
    ReadList();
}

void Tfrm_todo::ReadList()
{
    move(20, 20);
    ListView1->clear();
    ListBox1->clear();
    TVcsList file;
    if (!file.Exists())
        return;
    for (const std::string& id : file.Ids())
        ListBox1->addItem(vx::ToQString(id));
    const std::vector<TVcsRow> rows = file.Rows();
    for (std::size_t i = 0; i < rows.size() && i < std::size_t(ListBox1->count()); ++i)
        AddRow(*ListView1, rows[i], vx::FromQString(ListBox1->item(int(i))->text()));
}

void Tfrm_todo::AddTask()
{
    TVcsList file;
    const std::string id = file.NextId(ListView1->topLevelItemCount());
    Tfrm_todo_addtask dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // Stored first: a row that could not be written is not shown.
    AddRow(*ListView1, file.Add(id, dialog.Task()), id);
}

void Tfrm_todo::DeleteTask()
{
    QTreeWidgetItem* row = ListView1->currentItem();
    if (!row || !row->isSelected())
        return;
    TVcsList file;
    file.Erase(SectionOf(*row));
    delete row;
}

void Tfrm_todo::OpenTaskFile()
{
    QTreeWidgetItem* row = ListView1->currentItem();
    if (!row || !row->isSelected())
        return;
    const std::string id = SectionOf(*row);
    TVcsList file;
    if (id.empty() || !file.Exists())
        return;
    const std::string path = file.Value(id, "f_file");
    if (path.empty())
        return;
    // The list keeps the moment in one form; the window shows it as the language writes it.
    const vx::tools::TClockReading now = vx::tools::ClockNow();
    file.Write(id, "changed", vx::tools::ShortDateLongTime(now, vx::BuiltInFormatSettings()));
    Tfrm_todo_change change(this);
    change.Label2->setText(vx::ToQString(vx::tools::ShortDateLongTime(now)));
    change.Edit1->setText(vx::ToQString(file.Value(id, "Version")));
    change.exec();
    file.Write(id, "version", vx::FromQString(change.Edit1->text()));
    if (vx::shell::IMainWindow* main = vx::shell::MainWindow())
        main->OpenDocumentInFreeSlot(path, change.CheckBox1->isChecked());
    ReadList();
}

// The file manager's window.
#include "shell/qt/windows/FileManager.h"

#include "localisation/RunTimeText.h"
#include "platform/qt/QtText.h"
#include "shell/TransferTimes.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include <filesystem>

namespace {

const TRunTimeText FileNotFound{"File not found"};

} // namespace

TFrm_filemanager* frm_filemanager = nullptr;

TFrm_filemanager::TFrm_filemanager(QWidget* parent) : TShellDialog("Frm_filemanager", "File Manager", parent)
{
    auto* grid = new QGridLayout(this);
    ListBox1 = Named(new QListWidget(this), "ListBox1");
    ListBox2 = Named(new QListWidget(this), "ListBox2");
    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName("ListView1");
    ListView1->setHeaderLabels({"Speed", "Time"});
    ListView1->setRootIsDecorated(false);
    Label4 = new QLabel("00000000", this);
    Label4->setObjectName("Label4");
    grid->addWidget(Named(new QLabel("Filename", this), "Label1"), 0, 0);
    grid->addWidget(Named(new QLabel("Saved", this), "Label2"), 0, 1);
    grid->addWidget(ListBox1, 1, 0);
    grid->addWidget(ListBox2, 1, 1);
    grid->addWidget(ListView1, 2, 0, 1, 2);
    grid->addWidget(Named(new QLabel("FileSize", this), "Label3"), 3, 0);
    grid->addWidget(Label4, 3, 1);
    QPushButton* close = AddButton("Button1", "&Close");
    grid->addWidget(close, 4, 1);
    connect(close, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
    connect(ListBox1, &QListWidget::itemClicked, this, Guarded([this] { ListBox1Click(); }));
    FormCreate();
    Loaded();
}

void TFrm_filemanager::FormCreate()
{
    move(40, 40);
}

void TFrm_filemanager::FormActivate()
{
    move(20, 20);
    if (ListBox1->count() > 0)
        ListBox1->setCurrentRow(0);
}

void TFrm_filemanager::ListBox1Click()
{
    const QListWidgetItem* item = ListBox1->currentItem();
    if (!item)
        return;
    ListView1->clear();
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(vx::FromQPath(item->text()), error);
    if (error) {
        Label4->setText(vx::ToQString(FileNotFound()));
        return;
    }
    for (const auto& [speed, time] : vx::shell::TransferRows(size))
        new QTreeWidgetItem(ListView1, {vx::ToQString(speed), vx::ToQString(time)});
    Label4->setText(vx::ToQString(vx::shell::SizeText(size)));
}

void TFrm_filemanager::Button1Click()
{
    close();
}

// The file manager's window.
#include "shell/FileManager.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

TFrm_filemanager* frm_filemanager = nullptr;

TFrm_filemanager::TFrm_filemanager(QWidget* parent) : TShellDialog("Frm_filemanager", "File Manager", parent)
{
    auto* grid = new QGridLayout(this);
    ListBox1 = Named(new QListWidget(this), "ListBox1");
    ListBox2 = Named(new QListWidget(this), "ListBox2");
    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName("ListView1");
    ListView1->setHeaderLabels({"Speed", "Time"});
    Label4 = new QLabel("00000000", this);
    Label4->setObjectName("Label4");
    grid->addWidget(new QLabel("Filename", this), 0, 0);
    grid->addWidget(new QLabel("Saved", this), 0, 1);
    grid->addWidget(ListBox1, 1, 0);
    grid->addWidget(ListBox2, 1, 1);
    grid->addWidget(ListView1, 2, 0, 1, 2);
    grid->addWidget(new QLabel("FileSize", this), 3, 0);
    grid->addWidget(Label4, 3, 1);
    grid->addWidget(AddButton("Button1", "&Close"), 4, 1);
    Loaded();
}

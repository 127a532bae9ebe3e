// The windows of the search and jump-to-line dialogs.
#include "shell/SearchForm.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

Tfrm_search* frm_search = nullptr;
Tfrm_jump* frm_jump = nullptr;

Tfrm_search::Tfrm_search(QWidget* parent) : TShellDialog("frm_search", "Search", parent)
{
    auto* outer = new QHBoxLayout(this);
    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    outer->addWidget(Image1);
    auto* form = new QFormLayout;
    Edit1 = Named(new QLineEdit(this), "Edit1");
    CheckBox1 = Named(new QCheckBox("Replace with", this), "CheckBox1");
    Edit2 = Named(new QLineEdit(this), "Edit2");
    curloc = Named(new QCheckBox("Search from current location in text", this), "curloc");
    form->addRow("Search for", Edit1);
    form->addRow(CheckBox1, Edit2);
    form->addRow(curloc);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(AddButton("Button1", "&Go"));
    buttons->addWidget(AddButton("Button2", "&Cancel"));
    form->addRow(buttons);
    outer->addLayout(form);
    Loaded();
}

Tfrm_jump::Tfrm_jump(QWidget* parent) : TShellDialog("frm_jump", "Jump to line", parent)
{
    auto* layout = new QHBoxLayout(this);
    auto* label = new QLabel("Jump to line", this);
    label->setObjectName("Label1");
    edit1 = Named(new QLineEdit(this), "edit1");
    edit1->setToolTip("Type in linenumber then press return");
    layout->addWidget(label);
    layout->addWidget(edit1);
    layout->addWidget(AddButton("Button1", "&Ok"));
    Loaded();
}

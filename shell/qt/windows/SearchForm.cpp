// The windows of the search and jump-to-line dialogs.
#include "shell/qt/windows/SearchForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
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
    auto* label = Named(new QLabel("Search for", this), "Label1");
    form->addRow(label, Edit1);
    form->addRow(CheckBox1, Edit2);
    form->addRow(curloc);
    auto* buttons = new QHBoxLayout;
    QPushButton* go = AddButton("Button1", "&Go");
    QPushButton* cancel = AddButton("Button2", "&Cancel");
    buttons->addWidget(go);
    buttons->addWidget(cancel);
    form->addRow(buttons);
    outer->addLayout(form);
    connect(go, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
    connect(cancel, &QPushButton::clicked, this, Guarded([this] { Button2Click(); }));
    connect(Edit1, &QLineEdit::returnPressed, this, Guarded([this] { Edit1KeyPress(); }));
    connect(CheckBox1, &QCheckBox::clicked, this, Guarded([this] { CheckBox1Click(); }));
    CheckBox1Click();
    Loaded();
}

void Tfrm_search::Button1Click()
{
    SearchRequested = true;
    accept();
}

void Tfrm_search::Edit1KeyPress()
{
    Button1Click();
}

void Tfrm_search::Button2Click()
{
    reject();
}

void Tfrm_search::CheckBox1Click()
{
    const bool replace = CheckBox1->isChecked();
    Edit2->setEnabled(replace);
    const QPalette standard = QApplication::palette(Edit2);
    QPalette palette = Edit2->palette();
    palette.setColor(QPalette::All, QPalette::Base, standard.color(replace ? QPalette::Base : QPalette::Button));
    Edit2->setPalette(palette);
}

void Tfrm_search::FormActivate()
{
    ShowSidePicture(*Image1);
    move(20, 20);
}

Tfrm_jump::Tfrm_jump(QWidget* parent) : TShellDialog("frm_jump", "Jump to line", parent)
{
    auto* layout = new QHBoxLayout(this);
    auto* label = new QLabel("Jump to line", this);
    label->setObjectName("Label1");
    edit1 = Named(new QLineEdit(this), "edit1");
    edit1->setToolTip("Type in linenumber then press return");
    QPushButton* ok = AddButton("Button1", "&Ok");
    layout->addWidget(label);
    layout->addWidget(edit1);
    layout->addWidget(ok);
    connect(ok, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
    connect(edit1, &QLineEdit::returnPressed, this, Guarded([this] { Button1Click(); }));
    Loaded();
}

void Tfrm_jump::Button1Click()
{
    accept();
}

void Tfrm_jump::FormActivate()
{
    move(40, 40);
}

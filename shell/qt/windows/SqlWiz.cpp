// The SQL wizard's window.
#include "shell/qt/windows/SqlWiz.h"

#include "controls/flat/TFlatMemoUnit.h"
#include "platform/qt/QtText.h"

#include <QPushButton>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

Tfrm_sqlwiz* frm_sqlwiz = nullptr;

Tfrm_sqlwiz::Tfrm_sqlwiz(QWidget* parent) : TShellDialog("frm_sqlwiz", "Sql Wizard", parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* pages = new QTabWidget(this);
    pages->setObjectName("PageControl1");
    auto* essentials = new QWidget(pages);
    essentials->setObjectName("TabSheet1");
    auto* form = new QFormLayout(essentials);
    edit1 = new QLineEdit(essentials);
    edit1->setObjectName("edit1");
    edit2 = new QLineEdit("Sql_get", essentials);
    edit2->setObjectName("edit2");
    form->addRow("Name of table", edit1);
    form->addRow("Sql variable", edit2);
    auto* names = new QWidget(pages);
    names->setObjectName("TabSheet2");
    auto* namesLayout = new QVBoxLayout(names);
    fields = new TFlatMemo(names);
    fields->setObjectName("fields");
    namesLayout->addWidget(fields);
    namesLayout->addWidget(new QLabel("Fieldnames to  include in statement\r\nDefault an * is used to extract all "
                                      "fields\r\nfrom current selected database",
                                      names));
    pages->addTab(essentials, "Bare essentials");
    pages->addTab(names, "Fieldnames");
    Memo1 = new TFlatMemo(this);
    Memo1->setObjectName("Memo1");
    Memo1->hide();
    auto* buttons = new QHBoxLayout;
    QPushButton* ok = AddButton("Button1", "&Ok");
    QPushButton* cancel = AddButton("Button2", "&Cancel");
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addWidget(pages);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
    connect(cancel, &QPushButton::clicked, this, Guarded([this] { Button2Click(); }));
    FormCreate();
    Loaded();
}

void Tfrm_sqlwiz::FormCreate()
{
    Memo1->Lines().Clear();
    fields->Lines().Clear();
    fields->Lines().Add("*");
}

void Tfrm_sqlwiz::Button1Click()
{
    Memo1->Lines().Clear();
    Memo1->Lines().Add(vx::FromQString(edit2->text()) + "= \"Select * from " + vx::FromQString(edit1->text()) + "\"");
    accept();
}

void Tfrm_sqlwiz::Button2Click()
{
    reject();
}

void Tfrm_sqlwiz::FormActivate()
{
    move(20, 20);
}

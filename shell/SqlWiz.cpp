// The SQL wizard's window.
#include "shell/SqlWiz.h"

#include "controls/flat/TFlatMemoUnit.h"

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
    fields->Lines().Add("*");
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
    buttons->addWidget(AddButton("Button1", "&Ok"));
    buttons->addWidget(AddButton("Button2", "&Cancel"));
    layout->addWidget(pages);
    layout->addLayout(buttons);
    Loaded();
}

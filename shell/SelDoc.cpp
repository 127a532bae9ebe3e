// The document selector's window.
#include "shell/SelDoc.h"

#include "tools/framework/RadioGroup.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Tfrm_seldoc* frm_seldoc = nullptr;

Tfrm_seldoc::Tfrm_seldoc(QWidget* parent) : TShellDialog("frm_seldoc", "Outcome", parent)
{
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel("In which document you want the wizard outcome \r\nappear?", this);
    Label1->setObjectName("Label1");
    RadioGroup1 = new TRadioGroup("RadioGroup1", "", this);
    RadioGroup1->SetItems(MakeList({"Document 1", "Document 2", "Document 3", "Document 4", "Document 5"}));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(AddButton("Button2", "&Ok"));
    buttons->addWidget(AddButton("Button1", "&Cancel"));
    layout->addWidget(Label1);
    layout->addWidget(RadioGroup1);
    layout->addLayout(buttons);
    Loaded();
}

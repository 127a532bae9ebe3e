// The document selector's window.
#include "shell/qt/windows/SelDoc.h"

#include "editor/qt/mwCustomEdit.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "tools/qt/framework/RadioGroup.h"

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
    QPushButton* ok = AddButton("Button2", "&Ok");
    QPushButton* cancel = AddButton("Button1", "&Cancel");
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addWidget(Label1);
    layout->addWidget(RadioGroup1);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, Guarded([this] { Button2Click(); }));
    connect(cancel, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
    FormCreate();
    Loaded();
}

void Tfrm_seldoc::FormCreate()
{
    RadioGroup1->SetItemIndex(-1);
}

void Tfrm_seldoc::Button2Click()
{
    const int slot = RadioGroup1->ItemIndex() + 1;
    if (Form1 && slot >= 1 && slot <= TForm1::SlotCount && Form1->MayChange(*Form1->SlotEditor(slot)))
        Form1->SlotEditor(slot)->Model().PasteFromClipboard();
    accept();
}

void Tfrm_seldoc::Button1Click()
{
    RadioGroup1->SetItemIndex(-1);
    reject();
}

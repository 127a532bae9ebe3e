// The ASP preview warning's window.
#include "shell/qt/windows/AspWarning.h"

#include "controls/flat/TFlatMemoUnit.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

Tfrm_asp_warning::Tfrm_asp_warning(QWidget* parent) : TShellDialog("frm_asp_warning", "Warning!", parent)
{
    auto* layout = new QVBoxLayout(this);
    Memo1 = Named(new TFlatMemo(this), "Memo1");
    Memo1->setReadOnly(true);
    Memo1->Lines().Assign(MakeList({"", "ASP files may not show properly when viewed via ",
                                    "the internal browser as a local file.", "",
                                    "If you have a webserver running on this machine",
                                    "transfer the files to your (local) webserver and click",
                                    "on the via server  button to proceed with viewing"}));
    layout->addWidget(Memo1, 1);
    auto* buttons = new QHBoxLayout;
    Button1 = AddButton("Button1", "&View as file");
    Button2 = AddButton("Button2", "Via Server");
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    layout->addLayout(buttons);
    connect(Button1, &QPushButton::clicked, this, [this] { Choose("0"); });
    connect(Button2, &QPushButton::clicked, this, [this] { Choose("1"); });
    // Closing by the frame views the page as a file.
    setProperty("vxResult", "0");
    resize(420, 260);
    Loaded();
}

void Tfrm_asp_warning::Choose(const char* choice)
{
    setProperty("vxResult", choice);
    accept();
}

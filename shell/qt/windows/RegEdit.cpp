// The web server's ASP settings dialog.
#include "shell/qt/windows/RegEdit.h"

#include "localisation/RunTimeText.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstring>

namespace {

const TRunTimeText RegistryWarning{
    "Warning!\r\rYou are about to make changes to this systems registry, make sure you are aware of what you are "
    "altering\rIf something goes wrong use the backup.reg file in the registry subdirectory of vellumix"};
const TRunTimeText RegistryUpdated{"Registry updated successfully"};

} // namespace

Tfrm_regedit::Tfrm_regedit(QWidget* parent) : TShellDialog("frm_regedit", "ASP Registry entries", parent)
{
    using vx::shell::AspFields;
    auto* outer = new QHBoxLayout(this);
    Image1 = Named(new QLabel(this), "Image1");
    outer->addWidget(Image1);
    auto* column = new QVBoxLayout;
    auto* form = new QFormLayout;
    for (int i = 0; i < vx::shell::AspFieldCount; ++i) {
        Fields[i] = Named(new QLineEdit(this), AspFields()[i].Field);
        auto* label = Named(new QLabel(AspFields()[i].Label, this), QString("Label%1").arg(i + 1));
        form->addRow(label, Fields[i]);
    }
    ListBox1 = Named(new QListWidget(this), "ListBox1");
    auto* buttons = new QHBoxLayout;
    Button1 = AddButton("Button1", "&Save Settings");
    Button1->setToolTip("Save settings back to registry");
    SpeedButton1 = AddButton("SpeedButton1", "&Cancel");
    SpeedButton1->setToolTip("Cancel operation and return to mainscreen");
    Button2 = AddButton("Button2", "&Close");
    for (QPushButton* button : {Button1, SpeedButton1, Button2})
        buttons->addWidget(button);
    column->addLayout(form);
    column->addWidget(ListBox1);
    column->addLayout(buttons);
    outer->addLayout(column, 1);
    connect(Button1, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
    connect(SpeedButton1, &QPushButton::clicked, this, Guarded([this] { SpeedButton1Click(); }));
    connect(Button2, &QPushButton::clicked, this, Guarded([this] { Button2Click(); }));
    FormCreate();
    Loaded();
}

QLineEdit* Tfrm_regedit::Field(const char* name) const
{
    for (int i = 0; i < vx::shell::AspFieldCount; ++i)
        if (std::strcmp(vx::shell::AspFields()[i].Field, name) == 0)
            return Fields[i];
    return nullptr;
}

void Tfrm_regedit::FormCreate()
{
    const vx::shell::TAspSettings settings = vx::shell::LoadAspSettings();
    for (int i = 0; i < vx::shell::AspFieldCount; ++i)
        Fields[i]->setText(vx::ToQString(settings.Texts[i]));
    for (const std::string& line : settings.DwordLines)
        ListBox1->addItem(vx::ToQString(line));
}

void Tfrm_regedit::FormShow()
{
    ShowMessage(RegistryWarning());
}

void Tfrm_regedit::FormActivate()
{
    ShowSidePicture(*Image1);
    move(20, 20);
    FormShow();
}

void Tfrm_regedit::Button1Click()
{
    std::array<std::string, vx::shell::AspFieldCount> texts;
    for (int i = 0; i < vx::shell::AspFieldCount; ++i)
        texts[i] = vx::FromQString(Fields[i]->text());
    if (const std::optional<std::string> problem = vx::shell::CheckAspTexts(texts)) {
        MessageDlg(*problem, mtError, mbOK);
        return;
    }
    if (vx::shell::SaveAspSettings(texts) == vx::shell::TAspSaveResult::Written)
        ShowMessage(RegistryUpdated());
    accept();
}

void Tfrm_regedit::SpeedButton1Click()
{
    reject();
}

void Tfrm_regedit::Button2Click()
{
    reject();
}

void Tfrm_regedit::Run(QWidget* owner)
{
    Tfrm_regedit dialog(owner);
    dialog.exec();
}

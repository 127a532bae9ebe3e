// The FrontPage external-editor question.
#include "shell/qt/windows/FrontPageCheck.h"

#include "controls/flat/TFlatMemoUnit.h"
#include "platform/AnsiText.h"
#include "platform/Registry.h"
#include "platform/qt/QtText.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/mainwindow/PrefForm.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The script extensions FrontPage hands to an external editor.
constexpr const char* ScriptExtensions[] = {"asp", "cgi", "inc", "pl", "pm", "php", "php3", "php4"};

void StopStartupQuestion()
{
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    reg.OpenKey(PreferencesKey, true);
    reg.WriteString("fpcheck", "FALSE");
    reg.CloseKey();
}

} // namespace

Tfrm_fpcheck::Tfrm_fpcheck(QWidget* parent) : TShellDialog("frm_fpcheck", "Configure Frontpage external editors", parent)
{
    QVBoxLayout* column = PictureAndColumn(Image1);
    Memo1 = Named(new TFlatMemo(this), "Memo1");
    Memo1->setReadOnly(true);
    Memo1->Lines().Assign(MakeList({"Vellumix found Frontpage installed on your system.", "",
                                    "Frontpage supports external editors for certain file extensions, Vellumix",
                                    "is better equipped to handle ASP, Perl, PHP, Miva files.",
                                    "It is therefore advisable to make Vellumix the default external editor for",
                                    "these filetypes, It does not alter the Frontpage setup in any other way!.", "",
                                    ""}));
    column->addWidget(Memo1, 1);
    CheckBox1 = Named(new QCheckBox("Don't ask me again", this), "CheckBox1");
    column->addWidget(CheckBox1);
    Button1 = AddButton("Button1", "Ok, Do it!");
    Button1->setToolTip("This will make Vellumix the external editor in frontpage for the files mentioned");
    Button2 = AddButton("Button2", "No thanks");
    Button2->setToolTip("Doesn't alter your setup and closes this screen");
    AddButtonRow(*column, {Button1, Button2});
    connect(Button1, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, Guarded([this] { Button2Click(); }));
    resize(560, 300);
    Loaded();
}

void Tfrm_fpcheck::FormActivate()
{
    ShowSidePicture(*Image1);
    move(20, 20);
}

void Tfrm_fpcheck::Button1Click()
{
    const std::string editor = vx::AnsiUpperCase(ProductName) + "," +
                               vx::AnsiLowerCase(vx::FromQString(QCoreApplication::applicationFilePath())) + ",0";
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    reg.OpenKey(FrontPageEditorsKey, true);
    for (const char* extension : ScriptExtensions)
        reg.WriteString(extension, editor);
    reg.CloseKey();
    StopStartupQuestion();
    accept();
}

void Tfrm_fpcheck::Button2Click()
{
    if (CheckBox1->isChecked())
        StopStartupQuestion();
    reject();
}

void Tfrm_fpcheck::Run(QWidget* owner)
{
    Tfrm_fpcheck dialog(owner);
    dialog.exec();
}

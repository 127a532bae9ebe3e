// The about box.
#include "shell/qt/windows/About.h"

#include "controls/display/Titler.h"
#include "platform/qt/QtText.h"
#include "shell/qt/mainwindow/MainForm.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Tfrm_about::Tfrm_about(QWidget* parent) : TShellDialog("frm_about", "About Vellumix", parent)
{
    auto* layout = new QVBoxLayout(this);
    Label1 = Named(new QLabel(this), "Label1");
    QFont font = Label1->font();
    font.setBold(true);
    font.setPointSize(font.pointSize() + 4);
    Label1->setFont(font);
    Label1->setAlignment(Qt::AlignCenter);
    Titler1 = Named(new TTitler(this), "Titler1");
    layout->addWidget(Label1);
    layout->addWidget(Titler1, 1);
    SpeedButton1 = AddButton("SpeedButton1", "&OK");
    layout->addWidget(SpeedButton1, 0, Qt::AlignHCenter);
    connect(SpeedButton1, &QPushButton::clicked, this, Guarded([this] { SpeedButton1Click(); }));
    FormCreate();
    Loaded();
}

void Tfrm_about::FormCreate()
{
    move(40, 40);
    resize(360, 300);
    Label1->setText(vx::ToQString(ProductVersion));
    Titler1->SetTitles(MakeList({"Vellumix", "", "An editor for web developers", "", "HTML, ASP, VBScript, JScript,",
                                 "CSS, PHP, Perl, SQL and Tcl/Tk", "", "Written in C++ with Qt", "",
                                 "Thanks to everyone who tested it"}));
}

void Tfrm_about::SpeedButton1Click()
{
    accept();
}

void Tfrm_about::Run(QWidget* owner)
{
    Tfrm_about about(owner);
    about.exec();
}

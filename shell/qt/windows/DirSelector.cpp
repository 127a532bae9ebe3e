// The directory selector's window.
#include "shell/qt/windows/DirSelector.h"

#include "controls/foldertree/DirTree.h"

#include <QPushButton>
#include <QVBoxLayout>

Tfrm_dirselector::Tfrm_dirselector(QWidget* parent) : TShellDialog("frm_dirselector", "Select directory", parent)
{
    auto* layout = new QVBoxLayout(this);
    DirTree1 = Named(new TDirTree(this), "DirTree1");
    SpeedButton1 = AddButton("SpeedButton1", "&Ok");
    connect(SpeedButton1, &QPushButton::clicked, this, Guarded([this] { SpeedButton1Click(); }));
    layout->addWidget(DirTree1);
    layout->addWidget(SpeedButton1);
    Loaded();
}

void Tfrm_dirselector::FormActivate() { move(50, 50); }

void Tfrm_dirselector::SpeedButton1Click() { accept(); }

std::string Tfrm_dirselector::Choose(QWidget* parent)
{
    Tfrm_dirselector selector(parent);
    selector.exec();
    // "?" is the tree's answer for no selection, never a folder.
    const std::string chosen = selector.DirTree1->GetSelectedDir();
    return chosen == "?" ? std::string() : chosen;
}

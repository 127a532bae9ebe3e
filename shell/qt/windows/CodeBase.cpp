// The code-base browser.
#include "shell/qt/windows/CodeBase.h"

#include "controls/flat/TFlatMemoUnit.h"
#include "platform/qt/QtText.h"
#include "shell/CodeBase.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

Tfrm_codebase::Tfrm_codebase(QWidget* parent) : TShellDialog("frm_codebase", "Code Base", parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* groups = new QHBoxLayout;
    auto* trigger = Named(new QGroupBox("<Trigger text>", this), "GroupBox1");
    ListBox1 = Named(new QListWidget(trigger), "ListBox1");
    (new QVBoxLayout(trigger))->addWidget(ListBox1);
    auto* replace = Named(new QGroupBox("<Replace with>", this), "GroupBox2");
    Memo1 = Named(new TFlatMemo(replace), "Memo1");
    Memo1->SetReadOnly(true);
    (new QVBoxLayout(replace))->addWidget(Memo1);
    groups->addWidget(trigger, 1);
    groups->addWidget(replace, 2);
    Button1 = AddButton("Button1", "&Ok");
    // Nothing is taken from the code base: the browser only shows.
    Button1->setEnabled(false);
    Button2 = AddButton("Button2", "&Cancel");
    layout->addLayout(groups, 1);
    AddButtonRow(*layout, {Button1, Button2});
    // The chosen entry, not the current row: the list makes its first row
    // current when it takes the focus, and the memo stays empty until the
    // user picks an entry.
    connect(ListBox1, &QListWidget::itemSelectionChanged, this, Guarded([this] {
                const QList<QListWidgetItem*> chosen = ListBox1->selectedItems();
                if (!chosen.isEmpty())
                    ShowEntry(ListBox1->row(chosen.front()));
            }));
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    resize(560, 320);
    Loaded();
}

void Tfrm_codebase::FormActivate()
{
    move(20, 20);
    Memo1->Lines().Clear();
    const QSignalBlocker blocker(ListBox1);
    ListBox1->clear();
    for (const std::string& entry : vx::shell::CodeBaseEntries())
        ListBox1->addItem(vx::ToQString(entry));
}

void Tfrm_codebase::ShowEntry(int index)
{
    if (index < 0)
        return;
    Memo1->Lines().SetText(vx::shell::CodeBaseText(vx::FromQString(ListBox1->item(index)->text())));
}

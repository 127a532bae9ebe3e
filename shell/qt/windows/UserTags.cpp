// The user tag editor.
#include "shell/qt/windows/UserTags.h"

#include "platform/qt/QtText.h"
#include "shell/ListFiles.h"
#include "shell/UserTags.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>

Tfrm_usertag::Tfrm_usertag(QWidget* parent) : TShellDialog("frm_usertag", "User defined tags", parent)
{
    auto* layout = new QVBoxLayout(this);
    ListBox1 = Named(new QListWidget(this), "ListBox1");
    auto* form = new QFormLayout;
    Edit1 = Named(new QLineEdit(this), "Edit1");
    Edit2 = Named(new QLineEdit(this), "Edit2");
    form->addRow(Named(new QLabel("Start tag", this), "Label1"), Edit1);
    form->addRow(Named(new QLabel("End tag", this), "Label2"), Edit2);
    auto* buttons = new QHBoxLayout;
    const struct {
        QPushButton** Button;
        const char* Name;
        const char* Caption;
        const char* Hint;
        std::function<void()> Command;
    } rows[] = {
        {&Button1, "Button1", "&Ok", "Add to user defined tag list", [this] { AddTag(); }},
        {&Button2, "Button2", "&Cancel", "Cancel and clear fields", [this] { ClearFields(); }},
        {&Button3, "Button3", "&Edit", "Edit selected tag", [this] { EditTag(); }},
        {&Button4, "Button4", "&Delete", "Delete selected tag", [this] { DeleteTag(); }},
        {&Button5, "Button5", "&Save", "Save taglist", [this] { SaveTags(); }},
        {&Button6, "Button6", "&Close", "Close window", [this] { reject(); }},
    };
    for (const auto& row : rows) {
        *row.Button = AddButton(row.Name, row.Caption);
        (*row.Button)->setToolTip(row.Hint);
        buttons->addWidget(*row.Button);
        connect(*row.Button, &QPushButton::clicked, this, Guarded(row.Command));
    }
    layout->addWidget(ListBox1, 1);
    layout->addLayout(form);
    layout->addLayout(buttons);
    Loaded();
}

void Tfrm_usertag::FormActivate()
{
    move(20, 20);
    ListBox1->clear();
    TStringList entries;
    if (!vx::shell::LoadListFile(vx::shell::UserTagsPath(), entries))
        return;
    for (int i = 0; i < entries.Count(); ++i)
        ListBox1->addItem(vx::ToQString(entries[i]));
}

void Tfrm_usertag::AddTag()
{
    ListBox1->addItem(
        vx::ToQString(vx::shell::UserTagEntry(vx::FromQString(Edit1->text()), vx::FromQString(Edit2->text()))));
    ClearFields();
}

void Tfrm_usertag::ClearFields()
{
    Edit1->clear();
    Edit2->clear();
}

void Tfrm_usertag::EditTag()
{
    QListWidgetItem* item = ListBox1->currentItem();
    if (!item || !item->isSelected())
        return;
    const auto [start, end] = vx::shell::SplitUserTag(vx::FromQString(item->text()));
    Edit1->setText(vx::ToQString(start));
    Edit2->setText(vx::ToQString(end));
    delete item;
}

void Tfrm_usertag::DeleteTag()
{
    QListWidgetItem* item = ListBox1->currentItem();
    if (item && item->isSelected())
        delete item;
}

void Tfrm_usertag::SaveTags()
{
    TStringList entries;
    for (int i = 0; i < ListBox1->count(); ++i)
        entries.Add(vx::FromQString(ListBox1->item(i)->text()));
    entries.SaveToFile(vx::shell::UserTagsPath());
}

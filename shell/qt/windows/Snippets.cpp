// The snippet dialogs.
#include "shell/qt/windows/Snippets.h"

#include "controls/flat/TFlatMemoUnit.h"
#include "localisation/RunTimeText.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "shell/Snippets.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using vx::shell::TSnippet;
using vx::shell::TSnippetStore;

namespace {

const TRunTimeText ReplaceSnippet{"A snippet is already stored as \"%1\".\r\nReplace it?"};

} // namespace

Tfrm_snippets::Tfrm_snippets(QWidget* parent) : TShellDialog("frm_snippets", "Snippets", parent)
{
    QVBoxLayout* column = PictureAndColumn(Image1);
    auto* lists = new QHBoxLayout;
    ListBox1 = Named(new QListWidget(this), "ListBox1");
    ListBox2 = Named(new QListWidget(this), "ListBox2");
    ListBox2->hide();
    Memo1 = Named(new TFlatMemo(this), "Memo1");
    lists->addWidget(ListBox1, 1);
    lists->addWidget(ListBox2);
    lists->addWidget(Memo1, 2);
    Button1 = AddButton("Button1", "Use Snippet");
    Button2 = AddButton("Button2", "&Close");
    column->addLayout(lists, 1);
    AddButtonRow(*column, {Button1, Button2});
    connect(ListBox1, &QListWidget::currentRowChanged, this, Guarded([this] { ShowSnippet(ListBox1->currentRow()); }));
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &Tfrm_snippets::reject);
    resize(560, 320);
    Loaded();
}

void Tfrm_snippets::FormActivate()
{
    ShowSidePicture(*Image1);
    move(20, 20);
    Memo1->Lines().Clear();
    const QSignalBlocker blocker(ListBox1);
    ListBox1->clear();
    ListBox2->clear();
    for (const TSnippet& snippet : TSnippetStore().List()) {
        ListBox1->addItem(vx::ToQString(snippet.Name));
        ListBox2->addItem(vx::ToQString(snippet.File));
    }
    if (ListBox1->count() > 0) {
        ListBox1->setCurrentRow(0);
        ShowSnippet(0);
    }
}

void Tfrm_snippets::ShowSnippet(int index)
{
    Memo1->Lines().Clear();
    if (index < 0 || index >= ListBox2->count())
        return;
    Memo1->Lines().SetText(TSnippetStore().Text(vx::FromQString(ListBox2->item(index)->text())));
}

void Tfrm_snippets::reject()
{
    Memo1->Lines().Clear();
    TShellDialog::reject();
}

Tfrm_makesnippet::Tfrm_makesnippet(QWidget* parent) : TShellDialog("frm_makesnippet", "Create Snippet", parent)
{
    QVBoxLayout* column = PictureAndColumn(Image1);
    auto* form = new QFormLayout;
    Edit1 = Named(new QLineEdit(this), "Edit1");
    Memo1 = Named(new TFlatMemo(this), "Memo1");
    Memo1->SetScrollBars(ssVertical);
    form->addRow(Named(new QLabel("Snippet name", this), "Label1"), Edit1);
    form->addRow(Named(new QLabel("Actual Snippet", this), "Label2"), Memo1);
    Button1 = AddButton("Button1", "&Generate snippet");
    Button2 = AddButton("Button2", "&Cancel");
    column->addLayout(form, 1);
    AddButtonRow(*column, {Button1, Button2});
    connect(Button1, &QPushButton::clicked, this, Guarded([this] { Generate(); }));
    connect(Button2, &QPushButton::clicked, this, Guarded([this] { Cancel(); }));
    resize(480, 320);
    Loaded();
}

void Tfrm_makesnippet::FormActivate()
{
    ShowSidePicture(*Image1);
    move(20, 20);
}

void Tfrm_makesnippet::Generate()
{
    const std::string name = vx::FromQString(Edit1->text());
    if (const std::string problem = vx::shell::SnippetNameProblem(name); !problem.empty()) {
        MessageDlg(problem, mtError, mbOK);
        return;
    }
    TSnippetStore store;
    if (store.Taken(name) &&
        MessageDlg(ReplaceSnippet({vx::shell::SnippetFileName(name)}), mtConfirmation, mbYesNo) != mrYes)
        return;
    store.Save(name, Memo1->Lines().Text());
    accept();
}

void Tfrm_makesnippet::Cancel()
{
    Memo1->Lines().Clear();
    Edit1->clear();
    reject();
}

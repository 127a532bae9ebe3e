// The version manager's add-task and change dialogs.
#include "shell/qt/windows/VersionManager.h"

#include "controls/edits/ToolEdit.h"
#include "localisation/RunTimeText.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "shell/VersionList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const TRunTimeFilter AllFilesFilter{"All files|*.*"};

} // namespace

Tfrm_todo_addtask::Tfrm_todo_addtask(QWidget* parent) : TShellDialog("frm_todo_addtask", "Add task to VCS manager", parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    const auto row = [this, form](const char* label, const char* name, QWidget* field) {
        form->addRow(Named(new QLabel(label, this), name), field);
    };
    DateEdit1 = Named(new TDateEdit(this), "DateEdit1");
    DateEdit2 = Named(new TDateEdit(this), "DateEdit2");
    for (TDateEdit* date : {DateEdit1, DateEdit2})
        date->SetYearDigits(TYearDigits::dyFour);
    Edit1 = Named(new QLineEdit(this), "Edit1");
    ComboBox1 = Named(new QComboBox(this), "ComboBox1");
    ComboBox1->setEditable(true);
    ComboBox1->addItems({"High", "Low", "Medium", "None"});
    Edit2 = Named(new QLineEdit(this), "Edit2");
    FilenameEdit1 = Named(new TComboEdit(this), "FilenameEdit1");
    FilenameEdit1->SetGlyphKind(TGlyphKind::gkEllipsis);
    FilenameEdit1->OnButtonClick = [this](QObject*) {
        const std::string path = vx::dialogs::OpenFile(OpenTitle(), AllFilesFilter());
        if (!path.empty())
            FilenameEdit1->SetText(path);
    };
    Edit3 = Named(new QLineEdit(this), "Edit3");
    row("Start date ", "Label1", DateEdit1);
    row("End date", "Label2", DateEdit2);
    row("Topic", "Label3", Edit1);
    row("Priority", "Label4", ComboBox1);
    row("Username", "Label5", Edit2);
    row("Filename", "Label6", FilenameEdit1);
    row("Version", "Label7", Edit3);
    Button1 = AddButton("Button1", "Add to VCS");
    Button2 = AddButton("Button2", "&Cancel");
    layout->addLayout(form);
    AddButtonRow(*layout, {Button1, Button2});
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    Loaded();
}

void Tfrm_todo_addtask::FormActivate()
{
    move(60, 60);
    ComboBox1->setCurrentIndex(0);
    Edit2->setText(vx::ToQString(vx::shell::TaskUserName(vx::shell::LoginName())));
}

vx::shell::TVcsTask Tfrm_todo_addtask::Task() const
{
    vx::shell::TVcsTask task;
    task.StartDate = DateEdit1->Text();
    task.EndDate = DateEdit2->Text();
    task.Topic = vx::FromQString(Edit1->text());
    task.Priority = vx::FromQString(ComboBox1->currentText());
    task.UserName = vx::FromQString(Edit2->text());
    task.FilePath = FilenameEdit1->Text();
    task.Version = vx::FromQString(Edit3->text());
    const vx::TFormatSettings& stored = vx::BuiltInFormatSettings();
    task.AddDate = ShortDateToday(stored);
    task.AddDateTime = ShortDateToday(stored) + " " + LongTimeNow(stored);
    return task;
}

Tfrm_todo_change::Tfrm_todo_change(QWidget* parent) : TShellDialog("frm_todo_change", "Changes", parent)
{
    QVBoxLayout* column = PictureAndColumn(Image1);
    auto* form = new QFormLayout;
    Label2 = Named(new QLabel(this), "Label2");
    form->addRow(Named(new QLabel("Date and time of change", this), "Label1"), Label2);
    Edit1 = Named(new QLineEdit(this), "Edit1");
    form->addRow(Named(new QLabel("Version number", this), "Label3"), Edit1);
    CheckBox1 = Named(new QCheckBox("Open read-only", this), "CheckBox1");
    CheckBox1->setLayoutDirection(Qt::RightToLeft);
    Button1 = AddButton("Button1", "&Ok");
    column->addLayout(form);
    column->addWidget(CheckBox1);
    column->addWidget(Button1);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    Loaded();
}

void Tfrm_todo_change::FormActivate()
{
    ShowSidePicture(*Image1);
    move(80, 80);
}

// The SQL table dialog.
#include "tools/qt/SqlTableDialog.h"

#include "controls/flat/TFlatComboBoxUnit.h"
#include "controls/flat/TFlatEditUnit.h"
#include "controls/flat/TFlatMemoUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"

#include <QLabel>

using namespace vx::tools;

Tfrm_sqlmaketable::Tfrm_sqlmaketable(QWidget* parent)
    : GeneratorDialog("frm_sqlmaketable", "SQL Table Generator", parent)
{
    Edit1 = AddEdit("Edit1", "Table Name", "My_New_SQL_Table");
    connect(Edit1, &QLineEdit::editingFinished, this, [this] {
        table_.SetName(Edit1->Text());
        ShowStatement();
    });
    Edit2 = AddEdit("Edit2", "Fieldname");
    ComboBox1 = AddCombo("ComboBox1", "Type", {});
    for (const char* type : TSqlTable::Types)
        ComboBox1->Items().Add(type);
    ComboBox1->SetStyle(TComboBoxStyle::csDropDownList);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] { ShowLength(); });
    Edit3 = AddEdit("Edit3", "No. Chars", "255");
    ComboBox2 = AddCombo("ComboBox2", "Value", {"", "Not Null", "Null"});
    ComboBox2->SetStyle(TComboBoxStyle::csDropDownList);
    // The statement is the dialog's result, shown as it grows.
    Memo1->setReadOnly(true);
    AddRow("Statement", Memo1);
    Memo1->show();
    AddCommandButton("SpeedButton3", "Add", [this] {
        table_.AddField(Edit2->Text(), ComboBox1->Text(), Edit3->Text(), ComboBox2->Text());
        ShowStatement();
        ResetField();
    });
    AddCloseButton("SpeedButton1", "Ok");
    AddCancelButton("SpeedButton2", "Cancel");
    Loaded();
}

void Tfrm_sqlmaketable::Activated()
{
    table_ = TSqlTable(Edit1->Text());
    ShowStatement();
    ResetField();
}

void Tfrm_sqlmaketable::ShowStatement()
{
    TStrings& memo = Memo1->Lines();
    memo.BeginUpdate();
    memo.Clear();
    for (const std::string& line : table_.Lines())
        memo.Add(line);
    memo.EndUpdate();
}

void Tfrm_sqlmaketable::ShowLength()
{
    const bool shown = TSqlTable::TakesLength(ComboBox1->Text());
    Edit3->setVisible(shown);
    if (QWidget* label = findChild<QLabel*>("Edit3Label"))
        label->setVisible(shown);
}

void Tfrm_sqlmaketable::ResetField()
{
    Edit3->SetText("255");
    Edit2->SetText({});
    ComboBox1->SetItemIndex(0);
    ComboBox2->SetItemIndex(0);
    ShowLength();
}

// "SQL Table Generator": a Create Table statement built field by field in
// the visible statement memo.
#pragma once

#include "tools/SqlTable.h"
#include "tools/qt/framework/GeneratorDialog.h"

class Tfrm_sqlmaketable : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_sqlmaketable(QWidget* parent = nullptr);

    TFlatEdit* Edit1; // table name
    TFlatEdit* Edit2; // field name
    TFlatComboBox* ComboBox1; // type
    TFlatEdit* Edit3; // number of characters
    TFlatComboBox* ComboBox2; // "", "Not Null", "Null"

protected:
    void Activated() override;

private:
    void ShowStatement();
    void ShowLength();
    void ResetField();

    vx::tools::TSqlTable table_;
};

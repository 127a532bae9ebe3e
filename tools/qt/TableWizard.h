// The table wizard: four pages of table settings, then an HTML table or a
// VBScript function that writes it.
#pragma once

#include "tools/qt/framework/GeneratorDialog.h"

class Tfrm_tablewiz : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_tablewiz(QWidget* parent = nullptr);

    QSpinBox* SpinEdit1; // rows
    QSpinBox* SpinEdit2; // columns
    QSpinBox* SpinEdit3; // width in percent
    QSpinBox* SpinEdit4; // cell padding
    QSpinBox* SpinEdit5; // cell spacing
    TFlatComboBox* ComboBox1; // alignment
    QSpinBox* SpinEdit6; // border
    TFlatEdit* Edit1;    // caption
    TFlatCheckBox* CheckBox1; // as a VBScript function
    QWidget* Panel4;
    TFlatEdit* Edit2; // function name

protected:
    void Activated() override;
};

// The date and time lists, remarks, If/Else lines and the VBScript function
// that writes the selected text.
#pragma once

#include "tools/DateTimeText.h"
#include "tools/qt/framework/GeneratorDialog.h"

class QListWidget;
class QProgressBar;

// Both buttons only close; the launcher inserts the selected items.
class Tfrm_datetime : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_datetime(QWidget* parent = nullptr);

    QListWidget* ListBox1; // dates
    QListWidget* ListBox2; // times
    vx::tools::TClock Clock = vx::tools::ClockNow;

protected:
    void Activated() override;
};

class Tfrm_remark : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_remark(QWidget* parent = nullptr);

    TRadioGroup* RadioGroup1;
    TFlatMemo* remark1;
    vx::tools::TClock Clock = vx::tools::ClockNow;
};

class Tfrm_ifthen : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_ifthen(QWidget* parent = nullptr);

    TFlatEdit* Edit1; // the tested expression
    TFlatEdit* Edit4; // the compared value
    TFlatEdit* Edit2; // after then
    TFlatEdit* Edit3; // after else
};

// The launcher hands the selected text in through dump and replaces the
// selection only when the dialog leaves lines to insert.
class Tfrm_makefunction : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_makefunction(QWidget* parent = nullptr);

    TFlatMemo* dump;
    TFlatEdit* Edit1;
    TFlatCheckBox* CheckBox1; // save as an include file instead
    QProgressBar* ProgressBar1;
};

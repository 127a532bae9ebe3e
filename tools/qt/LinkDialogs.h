// "Add Link" with its remembered URL history, and "Mailto: Wizard".
#pragma once

#include "tools/UrlHistory.h"
#include "tools/qt/framework/GeneratorDialog.h"

class QGroupBox;

class Tfrm_addurl : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_addurl(QWidget* parent = nullptr);

    TFlatComboBox* combobox1; // link type
    TFlatComboBox* combobox2; // target
    TFlatComboBox* edit1;     // the link, with the history as its list
    TFlatEdit* edit2;         // description
    TFlatEdit* edit3;         // mouseover status text
    TFlatEdit* edit4;         // mouseout status text
    TFlatEdit* FlatEdit1;     // query string
    TFlatEdit* FlatEdit2;     // its value
    TFlatSpeedButton* delebutton;
    TFlatSpeedButton* SpeedButton4; // shows and hides the advanced options
    QGroupBox* Advanced;

protected:
    void Activated() override;

private:
    void FillHistory();

    vx::tools::TUrlHistory history_;
};

class Tfrm_mailto : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_mailto(QWidget* parent = nullptr);

    TFlatEdit* edit1; // the recipient
};

// "Convert html to asp/vbscript": pick an HTML file, then turn its lines into
// VBScript output statements in memo2, where the launcher takes them from.
#pragma once

#include "tools/qt/framework/GeneratorDialog.h"

class QProgressBar;
class TFileChooser;

class Tfrm_cvthtml : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_cvthtml(QWidget* parent = nullptr);

    TFileChooser* Files;
    TFlatCheckBox* CheckBox1;
    QWidget* Panel3;
    TFlatEdit* Edit1;
    QLabel* StatusBar1;
    QProgressBar* ProgressBar1;
    TFlatMemo* memo1;
    TFlatMemo* memo2;

private:
    void Finish();
};

// "Compress html files": the four-page wizard around the HTML compressor.
#pragma once

#include "tools/HTMLCompressor.h"
#include "tools/qt/framework/GeneratorDialog.h"

class Tfrm_compresshtml : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_compresshtml(QWidget* parent = nullptr);

    vx::tools::THTMLCompressor HTMLCompressor1;
    TFlatMemo* Memo2; // the warning
    TFlatCheckBox* CheckBox1; // centre
    TFlatCheckBox* CheckBox2; // spaces
    TFlatCheckBox* CheckBox3; // webbots
    TFlatCheckBox* CheckBox4; // carriage returns
    TFlatCheckBox* CheckBox5; // inverted commas
    TFlatEdit* Edit1; // source file
    TFlatEdit* Edit2; // output file
    QLabel* Label4; // source size
    QLabel* Label5; // output size
    QLabel* Label6; // gained

private:
    void Finish();
};

// "Tex to Html": reads a text file through an open dialog and writes it as a
// simple HTML page through a save dialog; the editor is not touched.
#pragma once

#include "tools/qt/framework/GeneratorDialog.h"

class QProgressBar;

class Tfrm_txt2html : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_txt2html(QWidget* parent = nullptr);

    TFlatMemo* memo1; // the text
    TFlatMemo* memo2; // the page
    TFlatCheckBox* checkbox1;
    TFlatCheckBox* CheckBox2;
    QProgressBar* ProgressBar1;

private:
    void Convert();
};

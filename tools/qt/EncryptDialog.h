// "Encrypt sources": hands the chosen script file to the script encoder
// installed beside the program, which writes the encoded copy next to it.
#pragma once

#include "tools/qt/framework/GeneratorDialog.h"

#include <string>

class QGroupBox;
class TFileChooser;

class Tfrm_enc : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_enc(QWidget* parent = nullptr);

    QGroupBox* GroupBox1; // "<Source file>"
    TFileChooser* Files;
    TFlatEdit* Edit1; // the output file's name

    // Where the encoder is looked for: data/encrypt/screnc in the program folder.
    static std::string EncoderPath();

private:
    // Starts the encoder on the selected file and does not wait for it; says
    // what is missing instead when there is no file, no output name or no encoder.
    void Encrypt();
};

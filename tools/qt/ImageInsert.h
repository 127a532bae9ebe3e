// "Add image": pick a GIF, JPEG or PNG file, see it, and write its image tag
// with the size read from the file, optionally as a link.
#pragma once

#include "tools/qt/framework/GeneratorDialog.h"

#include <optional>

class TFileChooser;

namespace vx::tools {
struct TImageSize;
}

class Tfrm_addimg : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_addimg(QWidget* parent = nullptr);

    TFileChooser* Files; // DriveComboBox1, DirectoryListBox1, FilterComboBox1, FileListBox1
    QLabel* Preview;
    TFlatEdit* Edit1; // link target
    TFlatEdit* Edit2; // description
    TFlatEdit* Edit3; // alternate text
    TFlatEdit* Edit4; // height
    TFlatEdit* Edit5; // width
    TFlatCheckBox* CheckBox1;

protected:
    // Moves to the folder and file a dropped image named (the launcher's
    // properties "vxInitialDir" and "vxFileName").
    void Activated() override;

private:
    std::string FileName() const;
    // Reads the selected file's size into Edit4 and Edit5; a file without a
    // size keeps what the user typed there.
    void TakeSize();
    void ShowPreview();

    bool sizeFromFile_ = false;
};

// "Import RTF to HTML format": converts the chosen RTF file and shows the HTML
// in a colour memo.
#pragma once

#include "tools/qt/framework/GeneratorDialog.h"

namespace vx {
class TColorMemo;
}
class TFileChooser;

class Tfrm_rtfhtml : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_rtfhtml(QWidget* parent = nullptr);

    TFileChooser* Files;
    vx::TColorMemo* ColorMemo1;

protected:
    void Activated() override;

private:
    void Convert();
};

// The clipboard viewer dialog: what the clipboard holds now.
#pragma once

#include "tools/qt/framework/GeneratorDialog.h"

namespace vx {
class TClipboardViewer;
}

class Tfrm_clipview : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_clipview(QWidget* parent = nullptr);

    vx::TClipboardViewer* ClipboardViewer1;
};

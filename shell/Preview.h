// The browser preview window, created at start-up and shown by the preview commands.
#pragma once

#include "shell/ShellDialog.h"

class QLabel;
class QStatusBar;
class TFlatComboBox;

class Tfrm_preview : public TShellDialog {
public:
    explicit Tfrm_preview(QWidget* parent = nullptr);

    TFlatComboBox* ComboBox1;
    QWidget* PreviewHTML1; // the place of the browser control
    QStatusBar* StatusBar1;
};

extern Tfrm_preview* frm_preview;

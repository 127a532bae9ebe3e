// The macro recorder's window, created at start-up; its caption shows the
// recorder's state.
#pragma once

#include "shell/ShellDialog.h"

class TFlatMemo;

class Tfrm_recorder : public TShellDialog {
public:
    explicit Tfrm_recorder(QWidget* parent = nullptr);

    TFlatMemo* Memo1;
};

extern Tfrm_recorder* frm_recorder;

// The document selector: asks in which of the five documents a wizard's
// outcome should appear.
#pragma once

#include "shell/ShellDialog.h"

class QLabel;
class TRadioGroup;

class Tfrm_seldoc : public TShellDialog {
public:
    explicit Tfrm_seldoc(QWidget* parent = nullptr);

    QLabel* Label1;
    TRadioGroup* RadioGroup1;
};

extern Tfrm_seldoc* frm_seldoc;

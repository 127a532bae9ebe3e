// The document selector: asks in which of the five documents a wizard's
// outcome should appear, and pastes the clipboard there.
#pragma once

#include "shell/qt/windows/ShellDialog.h"

class QLabel;
class TRadioGroup;

class Tfrm_seldoc : public TShellDialog {
public:
    explicit Tfrm_seldoc(QWidget* parent = nullptr);

    QLabel* Label1;
    TRadioGroup* RadioGroup1;

    void FormCreate();
    // "&Ok": pastes into the chosen document's editor and closes.
    void Button2Click();
    // "&Cancel": clears the choice and closes.
    void Button1Click();
};

extern Tfrm_seldoc* frm_seldoc;

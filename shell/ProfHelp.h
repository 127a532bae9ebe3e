// The assistant window: a picture and a text balloon that show tips and ask
// the main window's yes/no questions.
#pragma once

#include "shell/ShellDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;
class TFlatMemo;

class Tfrm_profhelp : public TShellDialog {
public:
    explicit Tfrm_profhelp(QWidget* parent = nullptr);

    TFlatMemo* Memo1;
    QLabel* Image1;  // the picture panel
    QLabel* Image2;  // the tip picture
    QLabel* Image3;  // the speaking picture
    QPushButton* Button1; // "&No": hides both buttons, modal result Cancel
    QPushButton* Button2; // "&Yes": modal result OK
    QLineEdit* Edit1;
};

extern Tfrm_profhelp* frm_profhelp;

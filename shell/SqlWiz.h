// The SQL wizard window, created at start-up.
#pragma once

#include "shell/ShellDialog.h"

class QLineEdit;
class TFlatMemo;

class Tfrm_sqlwiz : public TShellDialog {
public:
    explicit Tfrm_sqlwiz(QWidget* parent = nullptr);

    QLineEdit* edit1;
    QLineEdit* edit2;
    TFlatMemo* fields;
    TFlatMemo* Memo1; // the result, hidden
};

extern Tfrm_sqlwiz* frm_sqlwiz;

// The SQL wizard window, created at start-up: builds a select statement for
// a table into a variable.
#pragma once

#include "shell/qt/windows/ShellDialog.h"

class QLineEdit;
class TFlatMemo;

class Tfrm_sqlwiz : public TShellDialog {
public:
    explicit Tfrm_sqlwiz(QWidget* parent = nullptr);

    QLineEdit* edit1;
    QLineEdit* edit2;
    TFlatMemo* fields;
    TFlatMemo* Memo1; // the result, hidden

    void FormCreate();
    // "&Ok": the statement into Memo1, then closes.
    void Button1Click();
    void Button2Click();
    void FormActivate() override;
};

extern Tfrm_sqlwiz* frm_sqlwiz;

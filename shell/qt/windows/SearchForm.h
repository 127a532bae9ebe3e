// The search dialog and the jump-to-line dialog, both created at start-up and
// kept for the run, so their fields keep the last entries.
#pragma once

#include "shell/qt/windows/ShellDialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;

class Tfrm_search : public TShellDialog {
public:
    explicit Tfrm_search(QWidget* parent = nullptr);

    QLabel* Image1;
    QLineEdit* Edit1;
    QCheckBox* CheckBox1;
    QLineEdit* Edit2;
    QCheckBox* curloc;
    // Set by "&Go" or Enter in Edit1; the main window clears it after searching.
    bool SearchRequested = false;

    void Button1Click();
    void Edit1KeyPress();
    void Button2Click();
    void CheckBox1Click();
    void FormActivate() override;
};

class Tfrm_jump : public TShellDialog {
public:
    explicit Tfrm_jump(QWidget* parent = nullptr);

    QLineEdit* edit1;

    void Button1Click();
    void FormActivate() override;
};

extern Tfrm_search* frm_search;
extern Tfrm_jump* frm_jump;

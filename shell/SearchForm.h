// The search dialog and the jump-to-line dialog, both created at start-up.
#pragma once

#include "shell/ShellDialog.h"

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
};

class Tfrm_jump : public TShellDialog {
public:
    explicit Tfrm_jump(QWidget* parent = nullptr);

    QLineEdit* edit1;
};

extern Tfrm_search* frm_search;
extern Tfrm_jump* frm_jump;

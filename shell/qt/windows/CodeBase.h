// The code-base browser: the shipped text files, one shown at a time.
#pragma once

#include "shell/qt/windows/ShellDialog.h"

class QListWidget;
class QPushButton;
class TFlatMemo;

class Tfrm_codebase : public TShellDialog {
public:
    explicit Tfrm_codebase(QWidget* parent = nullptr);

    QListWidget* ListBox1; // in "<Trigger text>"
    TFlatMemo* Memo1;      // in "<Replace with>"
    QPushButton* Button1;  // "&Ok"
    QPushButton* Button2;  // "&Cancel"

    void FormActivate() override;
    void ShowEntry(int index);
};

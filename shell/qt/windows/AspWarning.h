// The warning before an ASP page is previewed: view it as a local file or
// through the web server.
#pragma once

#include "shell/qt/windows/ShellDialog.h"

class TFlatMemo;

class Tfrm_asp_warning : public TShellDialog {
public:
    explicit Tfrm_asp_warning(QWidget* parent = nullptr);

    TFlatMemo* Memo1;
    QPushButton* Button1; // "&View as file": choice "0"
    QPushButton* Button2; // "Via Server": choice "1"

private:
    void Choose(const char* choice);
};

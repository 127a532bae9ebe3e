// "Print document in color": the document the main window copies into memo1
// is printed coloured as HTML, through the print dialog.
#pragma once

#include "shell/qt/windows/ShellDialog.h"

#include <memory>

class QLabel;
class QPushButton;
class ThkHTMLSyn;
class TmwCustomEdit;

class Tfrm_print : public TShellDialog {
public:
    explicit Tfrm_print(QWidget* parent = nullptr);
    ~Tfrm_print() override;

    QLabel* Image1;
    QLabel* Label1;
    QLabel* Label2;
    TmwCustomEdit* memo1; // the launcher copies the document here
    QPushButton* Button1; // "Print"
    QPushButton* Button2; // "Cancel"

    void FormActivate() override;
    // Prints memo1 and closes; a cancelled print dialog leaves this one open.
    void Button1Click();

private:
    std::unique_ptr<ThkHTMLSyn> hkHTMLSyn1_;
};

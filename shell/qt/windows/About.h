// The about box: the product's name and version over scrolling credits.
#pragma once

#include "shell/qt/windows/ShellDialog.h"

class QLabel;
class QPushButton;
class TTitler;

class Tfrm_about : public TShellDialog {
public:
    explicit Tfrm_about(QWidget* parent = nullptr);

    QLabel* Label1;
    TTitler* Titler1;
    QPushButton* SpeedButton1;

    void FormCreate();
    void SpeedButton1Click();

    // Creates the box, shows it modally and frees it.
    static void Run(QWidget* owner);
};

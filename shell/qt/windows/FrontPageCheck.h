// The question whether Vellumix becomes FrontPage's external editor for
// script files. It only reads and writes settings values: FrontPage's editor
// list and the program's own switch that stops the question at start-up.
#pragma once

#include "shell/qt/windows/ShellDialog.h"

class QCheckBox;
class QLabel;
class QPushButton;
class TFlatMemo;

// FrontPage's external editor per file extension, under HKEY_LOCAL_MACHINE.
inline constexpr const char* FrontPageEditorsKey =
    "\\software\\Microsoft\\Frontpage\\Explorer\\Frontpage Explorer\\Editors\\";

class Tfrm_fpcheck : public TShellDialog {
public:
    explicit Tfrm_fpcheck(QWidget* parent = nullptr);

    QLabel* Image1;
    TFlatMemo* Memo1;
    QCheckBox* CheckBox1;  // "Don't ask me again"
    QPushButton* Button1;  // "Ok, Do it!"
    QPushButton* Button2;  // "No thanks"

    void FormActivate() override;
    // Makes this program FrontPage's editor of the script extensions and
    // stops the start-up question.
    void Button1Click();
    // Stops the start-up question only when "Don't ask me again" is ticked.
    void Button2Click();

    // Creates the window, shows it modally and frees it.
    static void Run(QWidget* owner);
};

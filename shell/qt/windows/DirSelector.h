// The directory selector: a folder tree and "&Ok", shown modally by the
// windows that ask for a folder.
#pragma once

#include "shell/qt/windows/ShellDialog.h"

#include <string>

class QPushButton;
class TDirTree;

class Tfrm_dirselector : public TShellDialog {
public:
    explicit Tfrm_dirselector(QWidget* parent = nullptr);

    TDirTree* DirTree1;
    QPushButton* SpeedButton1;

    void FormActivate() override;
    void SpeedButton1Click();

    // Shows a selector modally; the folder chosen, or "" when none was selected.
    static std::string Choose(QWidget* parent);
};

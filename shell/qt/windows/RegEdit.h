// The web server's ASP settings: one field per parameter of the server's
// registry key, a list of its numeric values, and Save.
#pragma once

#include "shell/qt/windows/ShellDialog.h"
#include "shell/AspSettings.h"

#include <array>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class Tfrm_regedit : public TShellDialog {
public:
    explicit Tfrm_regedit(QWidget* parent = nullptr);

    QLabel* Image1;
    // In the order of vx::shell::AspFields(); each named as its field.
    std::array<QLineEdit*, vx::shell::AspFieldCount> Fields{};
    QListWidget* ListBox1;
    QPushButton* Button1;      // "&Save Settings"
    QPushButton* SpeedButton1; // "&Cancel"
    QPushButton* Button2;      // "&Close"

    QLineEdit* Field(const char* name) const;

    void FormCreate();
    void FormShow();
    void FormActivate() override;
    void Button1Click();
    void SpeedButton1Click();
    void Button2Click();

    // Creates the dialog, shows it modally and frees it.
    static void Run(QWidget* owner);
};

// The user tag editor: the user's own start and end tag pairs, which the main
// window lists among its tag lists.
#pragma once

#include "shell/qt/windows/ShellDialog.h"

class QLineEdit;
class QListWidget;
class QPushButton;

class Tfrm_usertag : public TShellDialog {
public:
    explicit Tfrm_usertag(QWidget* parent = nullptr);

    QListWidget* ListBox1;
    QLineEdit* Edit1; // "Start tag"
    QLineEdit* Edit2; // "End tag"
    QPushButton* Button1; // "&Ok"
    QPushButton* Button2; // "&Cancel"
    QPushButton* Button3; // "&Edit"
    QPushButton* Button4; // "&Delete"
    QPushButton* Button5; // "&Save"
    QPushButton* Button6; // "&Close"

    void FormActivate() override;
    void AddTag();
    void ClearFields();
    void EditTag();
    void DeleteTag();
    void SaveTags();
};

// The version manager: the list of tasks and versions of the user's files,
// with the dialogs that add a task and record a change when a file is opened.
#pragma once

#include "shell/qt/windows/ShellDialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;
class TComboEdit;
class TDateEdit;

namespace vx::shell {
struct TVcsTask;
}

class Tfrm_todo_addtask : public TShellDialog {
public:
    explicit Tfrm_todo_addtask(QWidget* parent = nullptr);

    TDateEdit* DateEdit1; // "Start date "
    TDateEdit* DateEdit2; // "End date"
    QLineEdit* Edit1;     // "Topic"
    QComboBox* ComboBox1; // "Priority"
    QLineEdit* Edit2;     // "Username"
    TComboEdit* FilenameEdit1;
    QLineEdit* Edit3; // "Version"
    QPushButton* Button1; // "Add to VCS"
    QPushButton* Button2; // "&Cancel"

    void FormActivate() override;
    // The fields as a task; the dates of adding are today's.
    vx::shell::TVcsTask Task() const;
};

class Tfrm_todo_change : public TShellDialog {
public:
    explicit Tfrm_todo_change(QWidget* parent = nullptr);

    QLabel* Image1;
    QLabel* Label2;    // the date and time of the change
    QLineEdit* Edit1;  // "Version number"
    QCheckBox* CheckBox1; // "Open read-only"
    QPushButton* Button1; // "&Ok"

    void FormActivate() override;
};

class Tfrm_todo : public TShellDialog {
public:
    explicit Tfrm_todo(QWidget* parent = nullptr);

    QTreeWidget* ListView1;
    QListWidget* ListBox1; // the section names while the list is read
    QPushButton* SpeedButton1; // "Close"
    QPushButton* SpeedButton2; // "Add task"
    QPushButton* SpeedButton3; // "Delete task"
    QPushButton* SpeedButton4; // "Open file in editor"
    QPushButton* SpeedButton5; // "Edit task"

    void FormActivate() override;
    void ReadList();
    void AddTask();
    void DeleteTask();
    void OpenTaskFile();
};

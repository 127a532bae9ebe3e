// The file manager: the files the last Save wrote, with the time of the save,
// and how long the chosen one takes to send at the usual line speeds.
#pragma once

#include "shell/qt/windows/ShellDialog.h"

class QLabel;
class QListWidget;
class QTreeWidget;

class TFrm_filemanager : public TShellDialog {
public:
    explicit TFrm_filemanager(QWidget* parent = nullptr);

    QListWidget* ListBox1; // full paths
    QListWidget* ListBox2; // save times
    QTreeWidget* ListView1;
    QLabel* Label4;

    void FormCreate();
    void FormActivate() override;
    void ListBox1Click();
    void Button1Click();
};

extern TFrm_filemanager* frm_filemanager;

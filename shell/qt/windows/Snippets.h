// The snippet browser, whose chosen snippet the main window inserts, and the
// dialog that stores a new snippet.
#pragma once

#include "shell/qt/windows/ShellDialog.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TFlatMemo;

class Tfrm_snippets : public TShellDialog {
public:
    explicit Tfrm_snippets(QWidget* parent = nullptr);

    QLabel* Image1;
    QListWidget* ListBox1; // the names
    QListWidget* ListBox2; // the file names, at the same rows
    TFlatMemo* Memo1;      // the chosen snippet; what the launcher inserts
    QPushButton* Button1;  // "Use Snippet"
    QPushButton* Button2;  // "&Close"

    void FormActivate() override;
    void ShowSnippet(int index);
    // Every way of closing but "Use Snippet" leaves nothing to insert.
    void reject() override;
};

class Tfrm_makesnippet : public TShellDialog {
public:
    explicit Tfrm_makesnippet(QWidget* parent = nullptr);

    QLabel* Image1;
    QLineEdit* Edit1;     // "Snippet name"
    TFlatMemo* Memo1;     // "Actual Snippet"
    QPushButton* Button1; // "&Generate snippet"
    QPushButton* Button2; // "&Cancel"

    void FormActivate() override;
    // Stores the snippet and closes; a refused name or a replacement the user
    // declines leaves the dialog open with nothing written.
    void Generate();
    void Cancel();
};

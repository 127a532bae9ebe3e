// The image preview: a folder browser with a file list on the left and the
// chosen picture on the right, at its own size or stretched.
#pragma once

#include "shell/qt/windows/ShellDialog.h"

#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QScrollArea;

class Tfrm_previewimg : public TShellDialog {
public:
    explicit Tfrm_previewimg(QWidget* parent = nullptr);

    QLabel* Image1;
    QPushButton* Button1; // "Load image"
    QComboBox* DriveComboBox1;
    QComboBox* FilterComboBox1;
    QListWidget* DirectoryListBox1;
    QListWidget* FileListBox1;
    QCheckBox* CheckBox1; // "Stretch picture"
    QPushButton* BitBtn1; // "&Cancel"

    void FormActivate() override;
    void Button1Click();
    void Image1Click();
    void FileListBox1Click();
    void FileListBox1DblClick();
    void CheckBox1Click();
    void BitBtn1Click();

    // The folder the lists show; changing it refills them.
    const std::string& Folder() const { return folder_; }
    void SetFolder(const std::string& folder);
    // Decodes the file into the picture; a file that cannot be decoded shows none.
    void ShowImage(const std::string& fileName);

    // Creates the window, shows it modally and frees it.
    static void Run(QWidget* owner);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillLists();

    QScrollArea* area_;
    std::string folder_;
};

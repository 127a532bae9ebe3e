// The folder list, file list and filter box the file-picking generators
// (include file, sound) share: double-click a folder to enter it, pick a file
// of the current filter.
#pragma once

#include <QWidget>

#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;

class TFileChooser : public QWidget {
public:
    // filters: "Description|*.a;*.b" entries; the first one applies at start.
    TFileChooser(QWidget* parent, const std::vector<std::string>& filters);

    QLabel* DirectoryLabel1;
    QListWidget* DirectoryListBox1;
    QListWidget* FileListBox1;
    QComboBox* FilterComboBox1;

    const std::string& Directory() const { return directory_; }
    void SetDirectory(const std::string& folder);
    // The selected file's full path; empty when none is selected.
    std::string SelectedPath() const;

private:
    void Refill();

    std::string directory_;
    std::vector<std::vector<std::string>> masks_;
};

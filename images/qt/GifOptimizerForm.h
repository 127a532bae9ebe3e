// The image optimiser window: shrinks every GIF file of one folder, or tells
// how much would be saved, keeping the smaller of up to two optimised candidates.
#pragma once

#include <QDialog>

#include <cstdint>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;
class QTreeWidget;

class Tfrm_gifoptimizer : public QDialog {
public:
    explicit Tfrm_gifoptimizer(QWidget* parent = nullptr);

    // The folder whose GIF files are listed.
    const std::string& Folder() const { return folder_; }
    std::int64_t TotalSaved() const { return saved_; }

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void ChangeFolder(const std::string& folder);
    void FillDrives();
    void FillFolders();
    void FillFiles();
    void FileListBox1Click();
    void FitColumns();
    void ButtonTestClick();
    void ButtonOptimizeClick();
    void ButtonAbortClick();
    void Run(bool write);
    void SetRunning(bool running);
    // The file the row at index lists.
    std::string ItemPath(int index) const;
    void OptimizeItem(int index, bool write);
    void ImageProgress(int stage, int percent);

    std::string folder_;
    bool abort_ = false;
    bool running_ = false;
    std::int64_t saved_ = 0;

    QComboBox* drives_;
    QListWidget* folders_;
    QListWidget* files_;
    QTreeWidget* listViewFiles_;
    QLabel* label1_;
    QLabel* labelSaved_;
    QPushButton* buttonTest_;
    QPushButton* buttonOptimize_;
    QPushButton* buttonAbort_;
    QCheckBox* twoPass_;
    QProgressBar* progressFiles_;
    QProgressBar* progressFile_;
};

// "Search and replace across files": the file list and the runs over it, with
// the query dialog TFQuery and the status window TFStatus of a run.
#pragma once

#include "tools/FolderScan.h"
#include "tools/MultiFileReplace.h"
#include "tools/qt/framework/GeneratorDialog.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

// "Find and Replace": the texts and options of a run.
class TFQuery : public QDialog {
public:
    TFQuery(QWidget* parent, bool findOnly);

    QLineEdit* Edit1; // text to find
    QLineEdit* Edit2; // replacement
    QCheckBox* CheckBox1; // case sensitive
    QCheckBox* CheckBox2; // whole words
    QCheckBox* CheckBox3; // backup
    QCheckBox* CheckBox4; // prompt
    QPushButton* Button1;
    QPushButton* Button2;

    vx::tools::TReplaceOptions Options() const;

private:
    void UpdateGo();
    bool findOnly_;
};

// "Editing in progress.....": the counters of a run and its abort button.
class TFStatus : public QDialog {
public:
    TFStatus(QWidget* parent, bool findOnly);

    QLineEdit* Edit1; // files read
    QLineEdit* Edit2; // occurrences
    QLineEdit* Edit3; // bytes read
    QLineEdit* Edit4; // bytes written
    QProgressBar* ProgressBar1;
    QPushButton* bitbtn1;
    bool Aborted = false;

    void Show(const vx::tools::TReplaceCounters& counters, std::int64_t total);
};

// "File Filter": the extensions and sub-folders of the folder scan.
class TFFilter : public QDialog {
public:
    TFFilter(QWidget* parent, const vx::tools::TScanSettings& settings);

    QLineEdit* Edit1;
    QCheckBox* CheckBox1;
    QPushButton* Ok;

    vx::tools::TScanSettings Settings() const;
};

class TFStart : public vx::tools::GeneratorDialog {
public:
    explicit TFStart(QWidget* parent = nullptr);

    QListWidget* ListBox1;
    QLabel* StatusBar1; // the number of files
    // Asks about one replacement; a message box with Yes, No, Cancel and All.
    vx::tools::TReplacePrompt Prompt;
    // Runs the query dialog; answers whether it was confirmed.
    std::function<bool(TFQuery&)> RunQuery;
    // How long the status window stays up at least, in milliseconds.
    int StatusMinimum = 2500;
    // Runs the filter dialog; answers whether it was confirmed.
    std::function<bool(TFFilter&)> RunFilter;

    // Adds the files of a folder (or the file) that the scan settings let in.
    void ScanDir(const std::string& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateCount();
    void Browse();
    void Run(bool findOnly);
};

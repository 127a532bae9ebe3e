// The file panel: a drive box and folder tree over the list of the files of
// the chosen folder that match the panel's masks. A double click opens a
// file; the list follows changes in the folder through a folder monitor.
#pragma once

#include "editor/Colors.h"

#include <QWidget>

#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QTreeView;
class QToolButton;
class TDirTree;
class TFileListModel;
class TForm1;
class TRxFolderMonitor;

namespace vx::shell {

inline constexpr const char* WebFileMasks =
    "*.asp;*.inc;*.asa;*.htm;*.html;*.htx;*.shtml;*.js;*.vbs;*.cgi;*.pl;*.php3;*.php;*.php2;*.php4;*.pm;*.css";

class TFilePanel : public QWidget {
public:
    TFilePanel(TForm1& form, QWidget* parent);
    ~TFilePanel() override;

    // The folder the list shows.
    std::string Folder() const;
    void SetFolder(const std::string& folder);
    const std::string& Masks() const { return masks_; }
    // Sets the masks and lists the folder again.
    void SetMasks(const std::string& masks);
    // Lists the folder again with the current masks; the count of files.
    int RefreshFileList();
    int FileCount() const { return fileCount_; }
    // The drive box, the folder tree and the file list in these colours.
    void SetColours(TColor background, TColor font);
    TFileListModel& Model() { return *model_; }

    QComboBox* DriveComboBox1;
    TDirTree* DirectoryListBox1;
    QLabel* dirlabel;
    QCheckBox* CheckBox2;
    QToolButton* SpeedButton10;
    QTreeView* filelist;
    TRxFolderMonitor* RxFolderMonitor1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A language switch renames the list's headings and file types.
    void changeEvent(QEvent* event) override;

private:
    void DirectoryListBox1Change();
    void filelistColumnClick(int column);
    void FileListBox1DblClick();

    TForm1& form_;
    TFileListModel* model_;
    std::string masks_ = WebFileMasks;
    int fileCount_ = 0;
    bool ascending_ = false;
};

} // namespace vx::shell

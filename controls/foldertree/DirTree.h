// TDirTree: a tree of the machine's folders, read lazily as nodes expand.
// The top-level "drives" are the file-system root, the user's home folder and
// the volumes mounted under /media, /run/media and /mnt.
#pragma once

#include "platform/TStringList.h"

#include <QTreeWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QFileIconProvider;
class QFileSystemWatcher;

enum TDirType { dtReadOnly = 1, dtHidden = 2, dtSystem = 4, dtArchive = 8, dtNormal = 16, dtAll = 32 };
using TDirTypes = unsigned;
enum TDriveType { drtUnknown = 1, drtRemovable = 2, drtFixed = 4, drtRemote = 8, drtCDRom = 16, drtRamDisk = 32 };
using TDriveTypes = unsigned;
inline constexpr TDriveTypes AllDriveTypes = drtUnknown | drtRemovable | drtFixed | drtRemote | drtCDRom | drtRamDisk;

// One top-level entry of the tree.
struct TDirDrive {
    std::string path;   // "/" or a folder without trailing slash
    std::string label;  // the node's text
    TDriveType type = drtFixed;
    std::string medium; // what identifies the medium in it; a change re-reads the node
};

// False for a folder at or below a recycle bin (Windows' "recycled" and
// "recycler", the desktop trash folders).
bool InRecycleBin(const std::string& path);
// The attribute filter over a folder's TFolderAttribute bits: dtAll takes
// every folder; otherwise a read-only, hidden, system or archive folder needs
// the matching type, and a folder is taken with dtNormal or when it has any
// of those attributes.
bool PassesDirTypes(unsigned attributes, TDirTypes types);

class TDirTree : public QTreeWidget {
public:
    explicit TDirTree(QWidget* parent = nullptr);
    ~TDirTree() override;

    // The selected node's folder, or "?" with none selected.
    std::string GetSelectedDir() const;
    // Selects a folder, reading nodes on the way; "?" does nothing, a path
    // that does not exist selects the root of the current folder's drive.
    // Throws Exception "Invalid Path Name" for an empty path.
    void SetSelectedDir(const std::string& path);

    const std::string& InitialDirectory() const { return initialDirectory_; }
    void SetInitialDirectory(const std::string& value);
    TDirTypes DirTypes() const { return dirTypes_; }
    void SetDirTypes(TDirTypes value);
    TDriveTypes DriveTypes() const { return driveTypes_; }
    void SetDriveTypes(TDriveTypes value);
    bool GoBelowRecycleBin() const { return goBelowRecycleBin_; }
    void SetGoBelowRecycleBin(bool value);
    bool FastLoad() const { return fastLoad_; }
    void SetFastLoad(bool value) { fastLoad_ = value; }
    bool ReadOnStart() const { return readOnStart_; }
    void SetReadOnStart(bool value) { readOnStart_ = value; }
    // Marks the icons of shared folders with the share overlay.
    bool ShowShareOverlay() const { return showShareOverlay_; }
    void SetShowShareOverlay(bool value);
    bool AcceptDropFiles() const { return acceptDropFiles_; }
    void SetAcceptDropFiles(bool value);

    // The folder a node stands for, and whether its sub-folders were read.
    static std::string PathOf(const QTreeWidgetItem* node);
    static bool IsRead(const QTreeWidgetItem* node);
    // Whether the node's icon carries the share overlay.
    static bool IsShownShared(const QTreeWidgetItem* node);

    std::function<void(QObject* Sender, const std::string& Path, bool& Accept)> OnAddDir;
    // Replaces the folder listing: fills Names with the sub-folder names of Path.
    std::function<void(QObject* Sender, const std::string& Path, std::vector<std::string>& Names)> OnFindDir;
    std::function<void(QObject* Sender, QTreeWidgetItem* Node)> OnGetIcon;
    std::function<void(QObject* Sender, QTreeWidgetItem* Node)> OnDeleteItem;
    // Shift: 1 Shift, 2 Alt, 4 Ctrl; Path is the folder dropped on ("" for none).
    std::function<void(QObject* Sender, QPoint Point, int Shift, TStringList& Files, const std::string& Path)>
        OnDropFiles;
    // Replaces the drive list (tests and special hosts); unset, the system's.
    std::function<std::vector<TDirDrive>()> DriveSource;
    // Replaces the list of shared folders; unset, the folders the desktop
    // shares on the network (Samba's user shares).
    std::function<std::vector<std::string>()> ShareSource;

    // Re-reads the drives: the whole list when the set of drives changed, else
    // the last drive whose medium changed. Runs when a mount folder changes.
    void DeviceChange();
    // Rebuilds the drive list, keeping the selected folder where it still exists.
    void Rebuild();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    std::vector<TDirDrive> ReadDrives() const;
    void LoadDrives();
    void ClearNodes();
    void ReadNode(QTreeWidgetItem* node);
    void ResetNode(QTreeWidgetItem* node);
    QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const std::string& path, const QString& text);
    bool Accepts(const std::string& path, const std::string& name);
    QTreeWidgetItem* FindDrive(const std::string& path, std::string& rest) const;
    void FireDeleted(QTreeWidgetItem* node);
    void AnswerFileDrag(QDropEvent* event) const;
    void OverlayShare(QTreeWidgetItem* node) const;

    std::string initialDirectory_;
    TDirTypes dirTypes_ = dtNormal | dtAll;
    TDriveTypes driveTypes_ = AllDriveTypes;
    bool goBelowRecycleBin_ = false;
    bool fastLoad_ = false;
    bool readOnStart_ = true;
    bool showShareOverlay_ = false;
    std::vector<std::string> shares_;
    bool acceptDropFiles_ = false;
    std::vector<TDirDrive> drives_;
    std::unique_ptr<QFileIconProvider> icons_;
    QFileSystemWatcher* mounts_ = nullptr;
};

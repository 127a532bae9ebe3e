// The folder tree: drive list, lazy reading, filters, path walk and file drops.
#include "controls/foldertree/DirTree.h"

#include "controls/dragdrop/DropTarget.h"
#include "controls/foldertree/DirAttributes.h"
#include "platform/AnsiText.h"
#include "platform/Exception.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QMimeData>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QStyle>

#include <algorithm>
#include <utility>

namespace {

constexpr int PathRole = Qt::UserRole;
constexpr int ReadRole = Qt::UserRole + 1;
constexpr int IconRole = Qt::UserRole + 2;  // the icon without the share overlay
constexpr int SharedRole = Qt::UserRole + 3;

// The folders Samba's user shares (the desktop's "share this folder") name.
std::vector<std::string> UserShares()
{
    std::vector<std::string> paths;
    const QDir definitions(QStringLiteral("/var/lib/samba/usershares"));
    for (const QString& name : definitions.entryList(QDir::Files)) {
        QFile file(definitions.filePath(name));
        if (!file.open(QIODevice::ReadOnly) || file.size() > 65536)
            continue;
        for (const QByteArray& line : file.readAll().split('\n'))
            if (line.startsWith("path="))
                paths.push_back(line.mid(5).trimmed().toStdString());
    }
    return paths;
}

// The icon with the share mark in its bottom-left corner.
QIcon SharedIcon(const QIcon& icon)
{
    QPixmap picture = icon.pixmap(16, 16);
    if (picture.isNull()) {
        picture = QPixmap(16, 16);
        picture.fill(Qt::transparent);
    }
    QPainter painter(&picture);
    painter.fillRect(0, 9, 7, 7, Qt::white);
    painter.fillRect(1, 10, 5, 5, QColor(0, 0, 128));
    return QIcon(picture);
}

const char* const MountFolders[] = {"/media", "/run/media", "/mnt"};

std::string Join(const std::string& folder, const std::string& name)
{
    return folder == "/" ? "/" + name : folder + "/" + name;
}

// The folders of a path after its drive, without empty parts.
std::vector<std::string> Parts(const std::string& path)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : path + "/") {
        if (c != '/') {
            part += c;
        } else if (!part.empty()) {
            parts.push_back(part);
            part.clear();
        }
    }
    return parts;
}

std::string Clean(const std::string& path)
{
    const QString clean = QDir::cleanPath(vx::ToQString(path));
    return vx::FromQString(clean);
}

TDriveType TypeOf(const QStorageInfo& volume)
{
    const QByteArray fs = volume.fileSystemType().toLower();
    const QString device = QString::fromLocal8Bit(volume.device());
    if (fs == "iso9660" || fs == "udf" || device.startsWith("/dev/sr"))
        return drtCDRom;
    if (fs == "nfs" || fs == "nfs4" || fs == "cifs" || fs == "smb3" || fs.contains("sshfs") || fs == "9p")
        return drtRemote;
    if (fs == "tmpfs" || fs == "ramfs")
        return drtRamDisk;
    if (volume.rootPath().startsWith("/media/") || volume.rootPath().startsWith("/run/media/"))
        return drtRemovable;
    return drtFixed;
}

std::string MediumOf(const QStorageInfo& volume)
{
    return volume.device().toStdString() + "|" + vx::FromQString(volume.name());
}

std::vector<TDirDrive> SystemDrives()
{
    std::vector<TDirDrive> drives;
    drives.push_back({"/", "/", drtFixed, MediumOf(QStorageInfo(QStringLiteral("/")))});
    const std::string home = Clean(vx::FromQString(QDir::homePath()));
    if (home != "/")
        drives.push_back({home, vx::FromQString(QDir::home().dirName()) + " (" + home + ")", drtFixed,
                          MediumOf(QStorageInfo(QDir::homePath()))});
    std::vector<TDirDrive> mounted;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const std::string root = vx::FromQString(volume.rootPath());
        const bool visible = std::any_of(std::begin(MountFolders), std::end(MountFolders),
                                         [&](const char* f) { return root.rfind(std::string(f) + "/", 0) == 0; });
        if (!visible || !volume.isValid() || !QFileInfo(volume.rootPath()).isDir())
            continue;
        const QString name = volume.name().isEmpty() ? QFileInfo(volume.rootPath()).fileName() : volume.name();
        mounted.push_back({root, vx::FromQString(name) + " (" + root + ")", TypeOf(volume), MediumOf(volume)});
    }
    std::sort(mounted.begin(), mounted.end(), [](const auto& a, const auto& b) { return a.path < b.path; });
    drives.insert(drives.end(), mounted.begin(), mounted.end());
    return drives;
}

} // namespace

bool InRecycleBin(const std::string& path)
{
    for (const std::string& part : Parts(vx::AnsiLowerCase(path)))
        if (part == "recycled" || part == "recycler" || part == ".trash" || part.rfind(".trash-", 0) == 0)
            return true;
    return vx::AnsiLowerCase(path + "/").find("/.local/share/trash/") != std::string::npos;
}

bool PassesDirTypes(unsigned attributes, TDirTypes types)
{
    if (types & dtAll)
        return true;
    static constexpr std::pair<TFolderAttribute, TDirType> kNeeds[] = {
        {faReadOnly, dtReadOnly}, {faHidden, dtHidden}, {faSystem, dtSystem}, {faArchive, dtArchive}};
    bool flagged = false;
    for (const auto& [attribute, type] : kNeeds) {
        if (!(attributes & attribute))
            continue;
        if (!(types & type))
            return false;
        flagged = true;
    }
    return (types & dtNormal) || flagged;
}

TDirTree::TDirTree(QWidget* parent)
    : QTreeWidget(parent), icons_(std::make_unique<QFileIconProvider>())
{
    setHeaderHidden(true);
    setColumnCount(1);
    setSortingEnabled(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* node) {
        ReadNode(node);
        node->setIcon(0, style()->standardIcon(QStyle::SP_DirOpenIcon));
    });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* node) {
        node->setIcon(0, icons_->icon(QFileInfo(vx::ToQString(PathOf(node)))));
    });
    mounts_ = new QFileSystemWatcher(this);
    for (const char* folder : MountFolders)
        if (QFileInfo(folder).isDir())
            mounts_->addPath(folder);
    connect(mounts_, &QFileSystemWatcher::directoryChanged, this, [this] { DeviceChange(); });
    if (readOnStart_)
        LoadDrives();
}

// Nodes go with the widget; no events fire from a tree being destroyed.
TDirTree::~TDirTree() = default;

std::string TDirTree::PathOf(const QTreeWidgetItem* node)
{
    return node ? vx::FromQString(node->data(0, PathRole).toString()) : std::string();
}

bool TDirTree::IsRead(const QTreeWidgetItem* node) { return node && node->data(0, ReadRole).toBool(); }

bool TDirTree::IsShownShared(const QTreeWidgetItem* node) { return node && node->data(0, SharedRole).toBool(); }

void TDirTree::SetShowShareOverlay(bool value)
{
    if (value == showShareOverlay_)
        return;
    showShareOverlay_ = value;
    shares_ = value ? (ShareSource ? ShareSource() : UserShares()) : std::vector<std::string>();
    std::vector<QTreeWidgetItem*> pending;
    for (int i = 0; i < topLevelItemCount(); ++i)
        pending.push_back(topLevelItem(i));
    while (!pending.empty()) {
        QTreeWidgetItem* node = pending.back();
        pending.pop_back();
        OverlayShare(node);
        for (int i = 0; i < node->childCount(); ++i)
            pending.push_back(node->child(i));
    }
}

void TDirTree::OverlayShare(QTreeWidgetItem* node) const
{
    const bool shared =
        showShareOverlay_ && std::find(shares_.begin(), shares_.end(), PathOf(node)) != shares_.end();
    if (shared == IsShownShared(node))
        return;
    if (shared) {
        node->setData(0, IconRole, node->icon(0));
        node->setIcon(0, SharedIcon(node->icon(0)));
    } else {
        node->setIcon(0, node->data(0, IconRole).value<QIcon>());
    }
    node->setData(0, SharedRole, shared);
}

std::vector<TDirDrive> TDirTree::ReadDrives() const
{
    std::vector<TDirDrive> drives = DriveSource ? DriveSource() : SystemDrives();
    std::erase_if(drives, [this](const TDirDrive& d) { return !(driveTypes_ & d.type); });
    return drives;
}

void TDirTree::FireDeleted(QTreeWidgetItem* node)
{
    for (int i = 0; i < node->childCount(); ++i)
        FireDeleted(node->child(i));
    if (OnDeleteItem)
        OnDeleteItem(this, node);
}

void TDirTree::ClearNodes()
{
    for (int i = 0; i < topLevelItemCount(); ++i)
        FireDeleted(topLevelItem(i));
    clear();
}

void TDirTree::LoadDrives()
{
    ClearNodes();
    drives_ = ReadDrives();
    for (const TDirDrive& drive : drives_) {
        if (!goBelowRecycleBin_ && InRecycleBin(drive.path))
            continue;
        bool accept = true;
        if (OnAddDir)
            OnAddDir(this, drive.path, accept);
        if (!accept)
            continue;
        QTreeWidgetItem* node = AddNode(nullptr, drive.path, vx::ToQString(drive.label));
        if (drive.type != drtFixed && drive.type != drtRemote && drive.type != drtRamDisk)
            node->setIcon(0, icons_->icon(QAbstractFileIconProvider::Drive));
        if (!fastLoad_ && (drive.type == drtFixed || drive.type == drtRemote || drive.type == drtRamDisk))
            ReadNode(node);
    }
}

QTreeWidgetItem* TDirTree::AddNode(QTreeWidgetItem* parent, const std::string& path, const QString& text)
{
    auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    node->setText(0, text);
    node->setData(0, PathRole, vx::ToQString(path));
    node->setData(0, ReadRole, false);
    node->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    node->setIcon(0, icons_->icon(QFileInfo(vx::ToQString(path))));
    if (OnGetIcon)
        OnGetIcon(this, node);
    OverlayShare(node);
    return node;
}

bool TDirTree::Accepts(const std::string& path, const std::string& name)
{
    if (name == "." || name == "..")
        return false;
    // Every folder passes dtAll: its attributes need not be read.
    if (!(dirTypes_ & dtAll) && !PassesDirTypes(ReadFolderAttributes(path, name), dirTypes_))
        return false;
    if (!goBelowRecycleBin_ && InRecycleBin(path))
        return false;
    bool accept = true;
    if (OnAddDir)
        OnAddDir(this, path, accept);
    return accept;
}

void TDirTree::ReadNode(QTreeWidgetItem* node)
{
    if (!node || IsRead(node))
        return;
    node->setData(0, ReadRole, true);
    const std::string folder = PathOf(node);
    std::vector<std::string> names;
    if (OnFindDir) {
        OnFindDir(this, folder, names);
    } else {
        const QDir dir(vx::ToQString(folder));
        const auto filter = QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;
        for (const QString& name : dir.entryList(filter, QDir::Name))
            names.push_back(vx::FromQString(name));
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const std::string path = Join(folder, name);
        if (Accepts(path, name))
            AddNode(node, path, vx::ToQString(name));
    }
    node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void TDirTree::ResetNode(QTreeWidgetItem* node)
{
    while (node->childCount() > 0) {
        QTreeWidgetItem* child = node->child(0);
        FireDeleted(child);
        delete child;
    }
    node->setData(0, ReadRole, false);
    node->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
}

std::string TDirTree::GetSelectedDir() const
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? "?" : PathOf(selected.front());
}

QTreeWidgetItem* TDirTree::FindDrive(const std::string& path, std::string& rest) const
{
    QTreeWidgetItem* best = nullptr;
    std::size_t bestLength = 0;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        const std::string root = PathOf(topLevelItem(i));
        const bool under = root == "/" || path == root || path.rfind(root + "/", 0) == 0;
        if (under && (!best || root.size() > bestLength)) {
            best = topLevelItem(i);
            bestLength = root.size();
        }
    }
    rest = best && bestLength < path.size() ? path.substr(bestLength) : std::string();
    return best;
}

void TDirTree::SetSelectedDir(const std::string& path)
{
    if (path.empty())
        throw Exception("Invalid Path Name");
    if (path == "?")
        return;
    std::string target = Clean(path);
    if (!QFileInfo(vx::ToQString(target)).isDir()) {
        std::string ignored;
        const QTreeWidgetItem* drive = FindDrive(Clean(vx::FromQString(QDir::currentPath())), ignored);
        target = drive ? PathOf(drive) : "/";
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setUpdatesEnabled(false);
    std::string rest;
    QTreeWidgetItem* node = FindDrive(target, rest);
    for (const std::string& part : Parts(rest)) {
        if (!node)
            break;
        ReadNode(node);
        QTreeWidgetItem* found = nullptr;
        for (int i = 0; i < node->childCount() && !found; ++i)
            if (node->child(i)->text(0) == vx::ToQString(part))
                found = node->child(i);
        for (int i = 0; i < node->childCount() && !found; ++i)
            if (SameText(vx::FromQString(node->child(i)->text(0)), part))
                found = node->child(i);
        if (!found)
            break;
        node->setExpanded(true);
        node = found;
    }
    if (node) {
        setCurrentItem(node);
        scrollToItem(node);
    }
    setUpdatesEnabled(true);
    QApplication::restoreOverrideCursor();
}

void TDirTree::SetInitialDirectory(const std::string& value)
{
    initialDirectory_ = value;
    const bool usable = !value.empty() && QFileInfo(vx::ToQString(value)).isDir();
    SetSelectedDir(usable ? value : vx::FromQString(QDir::currentPath()));
}

void TDirTree::Rebuild()
{
    const std::string selected = GetSelectedDir();
    LoadDrives();
    if (selected != "?" && QFileInfo(vx::ToQString(selected)).isDir())
        SetSelectedDir(selected);
    if (GetSelectedDir() == "?" && selected != "?" && topLevelItemCount() > 0)
        setCurrentItem(topLevelItem(0));
}

void TDirTree::SetDirTypes(TDirTypes value)
{
    if (value != dirTypes_) {
        dirTypes_ = value;
        Rebuild();
    }
}

void TDirTree::SetDriveTypes(TDriveTypes value)
{
    if (value != driveTypes_) {
        driveTypes_ = value;
        Rebuild();
    }
}

void TDirTree::SetGoBelowRecycleBin(bool value)
{
    if (value != goBelowRecycleBin_) {
        goBelowRecycleBin_ = value;
        Rebuild();
    }
}

void TDirTree::DeviceChange()
{
    const std::vector<TDirDrive> now = ReadDrives();
    const auto samePaths = [](const std::vector<TDirDrive>& a, const std::vector<TDirDrive>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                          [](const auto& x, const auto& y) { return x.path == y.path; });
    };
    if (!samePaths(now, drives_)) {
        Rebuild();
        return;
    }
    for (std::size_t i = now.size(); i-- > 0;) {
        if (now[i].medium == drives_[i].medium)
            continue;
        drives_[i] = now[i];
        for (int n = 0; n < topLevelItemCount(); ++n) {
            QTreeWidgetItem* node = topLevelItem(n);
            if (PathOf(node) != now[i].path)
                continue;
            node->setText(0, vx::ToQString(now[i].label));
            const bool wasRead = IsRead(node);
            ResetNode(node);
            if (wasRead || node->isExpanded())
                ReadNode(node);
        }
        break;
    }
}

void TDirTree::SetAcceptDropFiles(bool value)
{
    acceptDropFiles_ = value;
    setAcceptDrops(value);
    viewport()->setAcceptDrops(value);
}

void TDirTree::AnswerFileDrag(QDropEvent* event) const
{
    if (acceptDropFiles_ && DroppedFiles(*event->mimeData()).Count() > 0)
        event->acceptProposedAction();
    else
        event->ignore();
}

void TDirTree::dragEnterEvent(QDragEnterEvent* event) { AnswerFileDrag(event); }

void TDirTree::dragMoveEvent(QDragMoveEvent* event) { AnswerFileDrag(event); }

void TDirTree::dropEvent(QDropEvent* event)
{
    TStringList files = DroppedFiles(*event->mimeData());
    if (!acceptDropFiles_ || files.Count() == 0) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    const QPoint at = event->position().toPoint();
    const Qt::KeyboardModifiers keys = event->modifiers();
    const int shift = (keys & Qt::ShiftModifier ? 1 : 0) | (keys & Qt::AltModifier ? 2 : 0)
                    | (keys & Qt::ControlModifier ? 4 : 0);
    const std::string path = PathOf(itemAt(at));
    if (OnDropFiles)
        OnDropFiles(this, at, shift, files, path);
}

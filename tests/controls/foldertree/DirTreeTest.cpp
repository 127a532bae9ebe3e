#include "controls/foldertree/DirTree.h"
#include "controls/foldertree/DirAttributes.h"

#include "platform/Exception.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <filesystem>

#include <sys/xattr.h>

#include <cstring>

using vx::test::TempDir;

namespace {

std::vector<std::string> Children(const QTreeWidgetItem* node)
{
    std::vector<std::string> names;
    for (int i = 0; i < node->childCount(); ++i)
        names.push_back(node->child(i)->text(0).toStdString());
    return names;
}

QTreeWidgetItem* Child(QTreeWidgetItem* node, const char* name)
{
    for (int i = 0; i < node->childCount(); ++i)
        if (node->child(i)->text(0) == name)
            return node->child(i);
    return nullptr;
}

// Two "drives": a fixed one with folders (and a file) and a CD.
class DirTreeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* d : {"c/Web/images", "c/Web/css", "c/alpha", "c/.hidden", "c/RECYCLER/old", "c/.Trash-1000/x",
                              "cd/docs"})
            std::filesystem::create_directories(dir.file(d));
        vx::test::writeFile(dir.file("c/file.txt"), "x");
        drives = {{dir.file("c"), "Disk (C)", drtFixed, "serial-1"}, {dir.file("cd"), "CD", drtCDRom, "disc-1"}};
        tree.DriveSource = [this] { return drives; };
        tree.Rebuild();
    }

    QTreeWidgetItem* Drive(int i) { return tree.topLevelItem(i); }

    TempDir dir;
    std::vector<TDirDrive> drives;
    TDirTree tree;
};

} // namespace

TEST(TDirTreeSystem, DefaultsAndTheRootDrive)
{
    TDirTree tree;
    EXPECT_EQ(tree.DirTypes(), unsigned(dtNormal | dtAll));
    EXPECT_EQ(tree.DriveTypes(), AllDriveTypes);
    EXPECT_FALSE(tree.GoBelowRecycleBin());
    EXPECT_FALSE(tree.FastLoad());
    EXPECT_TRUE(tree.ReadOnStart());
    EXPECT_FALSE(tree.ShowShareOverlay());
    EXPECT_FALSE(tree.AcceptDropFiles());
    EXPECT_EQ(tree.GetSelectedDir(), "?");
    ASSERT_GE(tree.topLevelItemCount(), 1);
    EXPECT_EQ(TDirTree::PathOf(tree.topLevelItem(0)), "/");
    EXPECT_TRUE(TDirTree::IsRead(tree.topLevelItem(0))) << "fixed drives show their first level at once";
}

TEST(DirTreeFilters, RecycleBinAndAttributes)
{
    EXPECT_TRUE(InRecycleBin("/mnt/c/RECYCLED"));
    EXPECT_TRUE(InRecycleBin("/mnt/c/recycler/S-1-5/x"));
    EXPECT_TRUE(InRecycleBin("/media/usb/.Trash-1000"));
    EXPECT_TRUE(InRecycleBin("/home/u/.local/share/Trash/files"));
    EXPECT_FALSE(InRecycleBin("/home/u/recycled-paper"));
    EXPECT_FALSE(InRecycleBin("/home/u/TrashCan"));

}

TEST(DirTreeFilters, AttributesNeedTheirTypes)
{
    struct Row {
        unsigned attributes;
        TDirTypes types;
        bool passes;
    };
    const Row rows[] = {
        {faHidden | faSystem, dtAll, true},
        {0, dtNormal, true},
        {0, dtHidden, false}, // a plain folder needs dtNormal
        {0, dtReadOnly, false},
        {faHidden, dtNormal, false},
        {faHidden, dtNormal | dtHidden, true},
        {faHidden, dtHidden, true},
        {faReadOnly, dtNormal, false},
        {faReadOnly, dtReadOnly, true},
        {faSystem, dtNormal | dtHidden, false},
        {faSystem, dtSystem, true},
        {faArchive, dtNormal, false},
        {faArchive, dtArchive, true},
        {faArchive | faHidden, dtArchive, false}, // every attribute needs its type
        {faArchive | faHidden, dtArchive | dtHidden, true},
    };
    for (const Row& r : rows)
        EXPECT_EQ(PassesDirTypes(r.attributes, r.types), r.passes) << r.attributes << " " << r.types;
}

TEST(DirTreeFilters, FolderAttributesOnLinux)
{
    const TFolderUser user{1000, {1000, 27}};
    struct Row {
        const char* what;
        TFolderFacts facts;
        unsigned attributes;
    };
    const Row rows[] = {
        {"own writable folder", {"web", 0755, 1000, 1000, false, ""}, 0},
        {"dot name", {".git", 0755, 1000, 1000, false, ""}, faHidden},
        {"own, no owner write", {"web", 0577, 1000, 1000, false, ""}, faReadOnly},
        {"group member, group write", {"web", 0575, 1001, 27, false, ""}, 0},
        {"group member, no group write", {"web", 0757, 1001, 27, false, ""}, faReadOnly},
        {"other user, others write", {"web", 0777, 1001, 1001, false, ""}, 0},
        {"other user, no others write", {"web", 0775, 1001, 1001, false, ""}, faReadOnly},
        {"read-only mount", {"web", 0777, 1000, 1000, true, ""}, faReadOnly},
        {"system account", {"usr", 0777, 0, 0, false, ""}, faSystem},
        {"system account, not writable", {"usr", 0755, 2, 2, false, ""}, faSystem | faReadOnly},
        {"DOS archive", {"web", 0755, 1000, 1000, false, std::string("0x20\0\3\0", 7)}, faArchive},
        {"DOS bits", {"web", 0755, 1000, 1000, false, "0X27"}, faArchive | faReadOnly | faHidden | faSystem},
        {"DOS text without prefix", {"web", 0755, 1000, 1000, false, "20"}, 0},
        {"DOS bits beyond the four", {"web", 0755, 1000, 1000, false, "0x10"}, 0},
    };
    for (const Row& r : rows)
        EXPECT_EQ(FolderAttributes(r.facts, user), r.attributes) << r.what;
    // The folder's owner is the user: root's own folders are not system ones to root.
    EXPECT_EQ(FolderAttributes({"root", 0755, 0, 0, false, ""}, TFolderUser{0, {0}}), 0u);
}

TEST_F(DirTreeTest, DrivesAndLazyReading)
{
    ASSERT_EQ(tree.topLevelItemCount(), 2);
    EXPECT_EQ(Drive(0)->text(0), "Disk (C)");
    EXPECT_TRUE(TDirTree::IsRead(Drive(0)));
    EXPECT_FALSE(TDirTree::IsRead(Drive(1))) << "removable media are not touched";
    EXPECT_EQ(Children(Drive(0)), (std::vector<std::string>{".hidden", "Web", "alpha"}))
        << "sorted folders only, recycle bins left out";
    QTreeWidgetItem* web = Child(Drive(0), "Web");
    ASSERT_NE(web, nullptr);
    EXPECT_EQ(TDirTree::PathOf(web), dir.file("c/Web"));
    EXPECT_FALSE(TDirTree::IsRead(web));
    EXPECT_EQ(web->childCount(), 0);
    web->setExpanded(true);
    EXPECT_TRUE(TDirTree::IsRead(web));
    EXPECT_EQ(Children(web), (std::vector<std::string>{"css", "images"}));

    tree.SetFastLoad(true);
    tree.Rebuild();
    EXPECT_FALSE(TDirTree::IsRead(Drive(0)));
    EXPECT_EQ(Drive(0)->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator) << "unread nodes can expand";
}

TEST_F(DirTreeTest, SelectingPaths)
{
    EXPECT_EQ(tree.GetSelectedDir(), "?");
    EXPECT_THROW(tree.SetSelectedDir(""), Exception);
    tree.SetSelectedDir("?");
    EXPECT_EQ(tree.GetSelectedDir(), "?");

    tree.SetSelectedDir(dir.file("c/Web/images/"));
    EXPECT_EQ(tree.GetSelectedDir(), dir.file("c/Web/images"));
    tree.SetSelectedDir(dir.file("cd/docs"));
    EXPECT_EQ(tree.GetSelectedDir(), dir.file("cd/docs")) << "the walk reads unread nodes";

    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir.file("c/alpha"))));
    tree.SetSelectedDir(dir.file("c/nowhere"));
    QDir::setCurrent(before);
    EXPECT_EQ(tree.GetSelectedDir(), dir.file("c")) << "a missing path selects the current drive's root";

    tree.SetGoBelowRecycleBin(false);
    tree.SetSelectedDir(dir.file("c/RECYCLER/old"));
    EXPECT_EQ(tree.GetSelectedDir(), dir.file("c")) << "the walk stops where a part is not found";
}

TEST_F(DirTreeTest, FilterChangesRebuildAndKeepTheSelection)
{
    tree.SetSelectedDir(dir.file("c/Web/css"));
    tree.SetDirTypes(dtNormal);
    EXPECT_EQ(Children(Drive(0)), (std::vector<std::string>{"Web", "alpha"}));
    EXPECT_EQ(tree.GetSelectedDir(), dir.file("c/Web/css"));
    tree.SetDirTypes(dtNormal | dtHidden);
    EXPECT_EQ(Children(Drive(0)).front(), ".hidden");

    tree.SetGoBelowRecycleBin(true);
    EXPECT_EQ(Children(Drive(0)), (std::vector<std::string>{".Trash-1000", ".hidden", "RECYCLER", "Web", "alpha"}));

    tree.SetSelectedDir(dir.file("cd/docs"));
    tree.SetDriveTypes(AllDriveTypes & ~drtCDRom);
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    EXPECT_EQ(tree.GetSelectedDir(), dir.file("c"))
        << "a folder no longer shown gives way to the first drive";
}

TEST_F(DirTreeTest, EventsReplaceListingAndRejectFolders)
{
    std::vector<std::string> deleted;
    tree.OnDeleteItem = [&](QObject*, QTreeWidgetItem* node) { deleted.push_back(TDirTree::PathOf(node)); };
    tree.OnAddDir = [](QObject*, const std::string& path, bool& accept) { accept = path.find("alpha") == std::string::npos; };
    int icons = 0;
    tree.OnGetIcon = [&](QObject*, QTreeWidgetItem*) { ++icons; };
    tree.Rebuild();
    EXPECT_FALSE(deleted.empty()) << "rebuilding releases every node";
    EXPECT_EQ(Children(Drive(0)), (std::vector<std::string>{".hidden", "Web"}));
    EXPECT_EQ(icons, 2 + 2);

    tree.OnFindDir = [](QObject*, const std::string&, std::vector<std::string>& names) {
        names = {"zeta", "beta", "alpha"};
    };
    tree.Rebuild();
    EXPECT_EQ(Children(Drive(0)), (std::vector<std::string>{"beta", "zeta"}));
}

TEST_F(DirTreeTest, MediumAndDriveChanges)
{
    drives[0].medium = "serial-2";
    std::filesystem::create_directories(dir.file("c/new"));
    tree.SetSelectedDir(dir.file("c/Web"));
    tree.DeviceChange();
    EXPECT_EQ(Children(Drive(0)), (std::vector<std::string>{".hidden", "Web", "alpha", "new"}))
        << "a new medium re-reads its drive";

    std::filesystem::create_directories(dir.file("usb/stick"));
    drives.push_back({dir.file("usb"), "USB", drtRemovable, "u"});
    tree.DeviceChange();
    ASSERT_EQ(tree.topLevelItemCount(), 3);
    EXPECT_EQ(Drive(2)->text(0), "USB");

    std::filesystem::create_directories(dir.file("c/later"));
    tree.DeviceChange();
    EXPECT_EQ(Child(Drive(0), "later"), nullptr) << "nothing changed, nothing re-read";
}

TEST_F(DirTreeTest, DroppedFilesReachTheFolderUnderThePoint)
{
    tree.resize(300, 300);
    tree.show();
    tree.SetAcceptDropFiles(true);
    EXPECT_TRUE(tree.viewport()->acceptDrops());
    std::string path;
    std::vector<std::string> files;
    int shift = -1;
    tree.OnDropFiles = [&](QObject*, QPoint, int s, TStringList& list, const std::string& p) {
        path = p;
        shift = s;
        for (int i = 0; i < list.Count(); ++i)
            files.push_back(list[i]);
    };
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/tmp/a.htm"), QUrl::fromLocalFile("/tmp/b.htm")});
    QTreeWidgetItem* web = Child(Drive(0), "Web");
    tree.expandAll();
    const QPointF at = tree.visualItemRect(web).center();
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(tree.viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier);
    QCoreApplication::sendEvent(tree.viewport(), &drop);
    EXPECT_EQ(path, dir.file("c/Web"));
    EXPECT_EQ(shift, 1 | 4);
    EXPECT_EQ(files, (std::vector<std::string>{"/tmp/a.htm", "/tmp/b.htm"}));

    tree.SetAcceptDropFiles(false);
    path.clear();
    QDragEnterEvent refused(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(tree.viewport(), &refused);
    EXPECT_FALSE(refused.isAccepted());
    QDropEvent again(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(tree.viewport(), &again);
    EXPECT_TRUE(path.empty());
}

TEST_F(DirTreeTest, SharedFoldersCarryTheShareOverlayWhileItIsOn)
{
    const std::string web = dir.file("c/Web");
    tree.ShareSource = [&] { return std::vector<std::string>{web}; };
    tree.SetSelectedDir(dir.file("c/Web/css"));
    QTreeWidgetItem* webNode = Child(Drive(0), "Web");
    ASSERT_NE(webNode, nullptr);
    const QImage plain = webNode->icon(0).pixmap(16, 16).toImage();
    EXPECT_FALSE(TDirTree::IsShownShared(webNode));

    tree.SetShowShareOverlay(true);
    EXPECT_TRUE(TDirTree::IsShownShared(webNode));
    EXPECT_FALSE(TDirTree::IsShownShared(Child(Drive(0), "alpha")));
    EXPECT_NE(webNode->icon(0).pixmap(16, 16).toImage(), plain);

    tree.SetShowShareOverlay(false);
    EXPECT_FALSE(TDirTree::IsShownShared(webNode));
    EXPECT_EQ(webNode->icon(0).pixmap(16, 16).toImage(), plain);
}

TEST(DirTreeAttributes, FoldersShowByTheirAttributes)
{
    TempDir dir;
    for (const char* d : {"c/plain", "c/.dot", "c/locked", "c/archived", "c/system"})
        std::filesystem::create_directories(dir.file(d));
    std::filesystem::permissions(dir.file("c/locked"), std::filesystem::perms(0555));
    const auto mark = [&](const char* name, const char* bits) {
        return setxattr(dir.file(name).c_str(), "user.DOSATTRIB", bits, std::strlen(bits) + 1, 0) == 0;
    };
    // Some file systems keep no user attributes; the pure mapping is tested above without them.
    if (!mark("c/archived", "0x20") || !mark("c/system", "0x4"))
        GTEST_SKIP() << "the temporary folder keeps no user attributes";
    TDirTree tree;
    tree.DriveSource = [&] { return std::vector<TDirDrive>{{dir.file("c"), "C", drtFixed, "1"}}; };
    struct Row {
        TDirTypes types;
        std::vector<std::string> shown;
    };
    const std::vector<Row> rows = {
        {dtNormal | dtAll, {".dot", "archived", "locked", "plain", "system"}},
        {dtNormal, {"plain"}},
        {dtNormal | dtReadOnly, {"locked", "plain"}},
        {dtReadOnly, {"locked"}},
        {dtHidden | dtArchive, {".dot", "archived"}},
        {dtNormal | dtSystem, {"plain", "system"}},
    };
    for (const Row& row : rows) {
        tree.SetDirTypes(row.types);
        tree.Rebuild();
        ASSERT_EQ(tree.topLevelItemCount(), 1);
        EXPECT_EQ(Children(tree.topLevelItem(0)), row.shown) << row.types;
    }
}

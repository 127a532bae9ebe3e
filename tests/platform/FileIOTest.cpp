#include "platform/CopyIndex.h"
#include "platform/Exception.h"
#include "platform/FileIO.h"
#include "platform/ProgramPaths.h"
#include "platform/WholeCopies.h"
#include "tests/support/TempDir.h"
#include "tests/support/Unprivileged.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <string_view>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using vx::test::readFile;
using vx::test::TempDir;
using vx::test::writeFile;

namespace {

struct stat StatOf(const std::string& path)
{
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st;
}

// The names in the folder that are temporaries of an atomic write.
int TemporariesIn(const std::filesystem::path& folder)
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        count += vx::IsWriteTemporary(entry.path().filename().string());
    return count;
}

} // namespace

TEST(FileIO, UnwritableFilesAndFoldersFailWithTheReasonAndStayAsTheyWere)
{
    TempDir dir;
    const std::string locked = dir.file("locked.asp");
    writeFile(locked, "old");
    ::chmod(locked.c_str(), 0444);
    std::filesystem::create_directory(dir.file("shut"));
    const std::string inShut = dir.file("shut/new.asp");
    vx::test::GiveToUnprivileged(dir.path().string());
    ::chmod(dir.file("shut").c_str(), 0555);

    const int result = vx::test::RunUnprivileged([&] {
        for (const std::string& path : {locked, inShut}) {
            try {
                vx::WriteFileAtomic(path, "new");
                return 1;
            } catch (const EFCreateError& e) {
                const std::string message = e.Message();
                if (message != "Cannot create file " + path + ": Permission denied")
                    return 2;
            }
        }
        return 0;
    });
    EXPECT_EQ(result, 0) << "1: written anyway, 2: no reason given";
    EXPECT_EQ(readFile(locked), "old");
    EXPECT_FALSE(std::filesystem::exists(inShut));
    EXPECT_EQ(TemporariesIn(dir.path()), 0);

    // A file without any write permission is read-only for root too.
    EXPECT_THROW(vx::WriteFileAtomic(locked, "new"), EFCreateError);
    EXPECT_EQ(readFile(locked), "old");
}

TEST(FileIO, AWriteThroughASymbolicLinkWritesTheTargetBesideItself)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("real"));
    std::filesystem::create_directory(dir.file("links"));
    const std::string target = dir.file("real/page.htm");
    writeFile(target, "old");
    ::chmod(target.c_str(), 0640);
    const std::string link = dir.file("links/page.htm");
    std::filesystem::create_symlink("../real/page.htm", link);

    vx::WriteFileAtomic(link, "new");
    EXPECT_TRUE(std::filesystem::is_symlink(link)) << "the link stays a link";
    EXPECT_EQ(readFile(target), "new");
    EXPECT_EQ(StatOf(target).st_mode & 07777, 0640u);
    EXPECT_EQ(TemporariesIn(dir.file("links")), 0);
    EXPECT_EQ(vx::LinkTarget(link), dir.file("links/../real/page.htm"));

    const std::string dangling = dir.file("links/later.htm");
    std::filesystem::create_symlink("../real/later.htm", dangling);
    vx::WriteFileAtomic(dangling, "made");
    EXPECT_TRUE(std::filesystem::is_symlink(dangling));
    EXPECT_EQ(readFile(dir.file("real/later.htm")), "made");
}

TEST(FileIO, HardLinksOwnersAndModesAreKept)
{
    TempDir dir;
    const std::string first = dir.file("a.htm");
    const std::string second = dir.file("b.htm");
    writeFile(first, "old");
    ::chmod(first.c_str(), 0604);
    std::filesystem::create_hard_link(first, second);
    const ino_t inode = StatOf(first).st_ino;

    vx::WriteFileAtomic(first, "new text");
    EXPECT_EQ(readFile(second), "new text") << "every name of the file sees the text";
    EXPECT_EQ(StatOf(first).st_ino, inode);
    EXPECT_EQ(StatOf(first).st_nlink, 2u);
    EXPECT_EQ(StatOf(first).st_mode & 07777, 0604u);
    EXPECT_EQ(TemporariesIn(dir.path()), 0);

    // Names as long as a folder takes save, alone and with a further link:
    // the helper files' names are cut to fit.
    for (const std::size_t length : {242u, 243u, 255u}) {
        const std::string longName = dir.file(std::string(length - 4, 'l') + ".htm");
        writeFile(longName, "old");
        vx::WriteFileAtomic(longName, "alone");
        EXPECT_EQ(readFile(longName), "alone") << length << " bytes";
        std::filesystem::create_hard_link(longName, dir.file("link" + std::to_string(length)));
        vx::WriteFileAtomic(longName, "linked");
        EXPECT_EQ(readFile(dir.file("link" + std::to_string(length))), "linked") << length << " bytes";
    }
    EXPECT_EQ(TemporariesIn(dir.path()), 0);

    const std::string fresh = dir.file("fresh.htm");
    const mode_t mask = ::umask(022);
    vx::WriteFileAtomic(fresh, "x");
    ::umask(mask);
    EXPECT_EQ(StatOf(fresh).st_mode & 07777, 0644u) << "a new file gets what the umask allows";
    vx::WriteFileAtomic(fresh, "secret", vx::TFileAccess::OwnerOnly);
    EXPECT_EQ(StatOf(fresh).st_mode & 07777, 0600u);

    if (::geteuid() != 0)
        GTEST_SKIP() << "files of another owner can only be made by root";
    const std::string theirs = dir.file("theirs.htm");
    writeFile(theirs, "old");
    ASSERT_EQ(::chown(theirs.c_str(), 65534, 65534), 0);
    vx::WriteFileAtomic(theirs, "new");
    EXPECT_EQ(StatOf(theirs).st_uid, 65534u) << "the file keeps its owner";
    EXPECT_EQ(StatOf(theirs).st_gid, 65534u);
    EXPECT_EQ(readFile(theirs), "new");
}

// An open file descriptor, locked as a write under way locks its temporary.
struct TLocked {
    explicit TLocked(const std::string& path) : Fd(::open(path.c_str(), O_RDWR)) { ::flock(Fd, LOCK_EX); }
    ~TLocked() { ::close(Fd); }
    int Fd;
};

TEST(FileIO, TemporariesOfKilledWritesGoOnlyWhereTheyHoldNothingTheFileDoesNot)
{
    TempDir dir;
    const std::string path = dir.file("doc.asp");
    writeFile(path, "text");
    const struct {
        std::string Name;
        std::string Held;
        bool Stays;
        bool Told;
    } rows[] = {
        {"doc.asp.vxtmp-a1B2c3", "half of a newer text", true, true},
        {"doc.asp.vxtmp-Empty1", "", false, false},
        {"doc.asp.vxtmp-Same12", "text", false, false},
        {"doc.asp.vxtmp-Locked", "a write under way", true, false},
        {"other.asp.vxtmp-a1B2c3", "another file's", true, false},
        {"doc.asp.vxtmp-long-name", "no temporary", true, false},
    };
    for (const auto& row : rows)
        writeFile(dir.file(row.Name), row.Held);
    const TLocked underWay(dir.file("doc.asp.vxtmp-Locked"));
    const std::vector<std::string> told = vx::TidyLeftTemporaries(path);
    for (const auto& row : rows) {
        EXPECT_EQ(std::filesystem::exists(dir.file(row.Name)), row.Stays) << row.Name;
        EXPECT_EQ(std::count(told.begin(), told.end(), dir.file(row.Name)), row.Told ? 1 : 0) << row.Name;
    }

    // A write tidies as well, the text it wrote counting as the file's.
    writeFile(path + ".vxtmp-zzzzzz", "new");
    vx::WriteFileAtomic(path, "new");
    EXPECT_FALSE(std::filesystem::exists(path + ".vxtmp-zzzzzz"));
    EXPECT_TRUE(std::filesystem::exists(path + ".vxtmp-a1B2c3")) << "the only text of a killed save";

    // Told of, it is kept aside, where nothing offers or tidies it.
    vx::KeepAside(path + ".vxtmp-a1B2c3");
    EXPECT_EQ(readFile(path + ".vxold-a1B2c3"), "half of a newer text");
    EXPECT_TRUE(vx::TidyLeftTemporaries(path).empty());

    EXPECT_TRUE(vx::IsWriteTemporary("doc.asp.vxtmp-Ab12Cd"));
    EXPECT_FALSE(vx::IsWriteTemporary(".vxtmp-Ab12Cd"));
    EXPECT_FALSE(vx::IsWriteTemporary("doc.asp"));
}

TEST(FileIO, ASaveInPlaceWaitsForAnotherProgramsSaveOfTheFile)
{
    TempDir dir;
    const std::string first = dir.file("a.htm");
    writeFile(first, "old");
    std::filesystem::create_hard_link(first, dir.file("b.htm"));
    {
        // Another program's save holds the file for longer than a save waits.
        const TLocked saving(dir.file("b.htm"));
        try {
            vx::WriteFileAtomic(first, "new");
            ADD_FAILURE() << "written while another save held the file";
        } catch (const EWriteError& e) {
            EXPECT_EQ(e.Message(), "Cannot write file " + first + ": another program is saving it");
        }
        EXPECT_EQ(readFile(first), "old");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2) << "nothing left behind";
    }
    // Once it has, the save goes through, and leaves no copy.
    vx::WriteFileAtomic(first, "new");
    EXPECT_EQ(readFile(dir.file("b.htm")), "new");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

namespace {

// Writes text to path in a process of its own, killed the moment the write
// has named its whole copy, however far the rewrite got; false when the copy
// was never named.
bool KillSaveOnceCopyNamed(const std::string& path, const std::string& text)
{
    const std::filesystem::path file(path);
    const int watch = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (watch < 0 || ::inotify_add_watch(watch, file.parent_path().c_str(), IN_MOVED_TO) < 0)
        return false;
    const std::string copyName = file.filename().string() + ".vxcopy-";
    const pid_t saver = ::fork();
    if (saver == 0) {
        try {
            vx::WriteFileAtomic(path, text);
        } catch (...) {
        }
        ::_exit(0);
    }
    bool named = false;
    for (int wait = 0; wait < 3000 && !named; ++wait) {
        pollfd ready{watch, POLLIN, 0};
        ::poll(&ready, 1, 10);
        alignas(inotify_event) char events[4096];
        const ssize_t got = ::read(watch, events, sizeof events);
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(events + at);
            named = named || std::string_view(event->name).starts_with(copyName);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    ::kill(saver, SIGKILL);
    ::waitpid(saver, nullptr, 0);
    ::close(watch);
    return named;
}

std::vector<std::string> PathsOf(const std::vector<vx::TWholeCopy>& copies)
{
    std::vector<std::string> paths;
    for (const vx::TWholeCopy& copy : copies)
        paths.push_back(copy.Path);
    return paths;
}

// A file with two names in two folders, a.htm and other/b.htm.
struct TTwoNames {
    // Longer than the texts saved over it: a save that wrote over it would
    // leave some of it after what it wrote.
    inline static const std::string Earlier = std::string(64 << 20, 'o');

    explicit TTwoNames(const TempDir& dir) : First(dir.file("a.htm")), Second(dir.file("other/b.htm"))
    {
        writeFile(First, Earlier);
        std::filesystem::create_directories(dir.file("other"));
        std::filesystem::create_hard_link(First, Second);
    }
    std::string First;
    std::string Second;
};

} // namespace

TEST(FileIO, AnInPlaceSaveKilledHalfWayLeavesAWholeCopyThatEveryNameFinds)
{
    TempDir dir;
    const auto [first, second] = TTwoNames(dir);
    const std::string fresh = std::string(48 << 20, 'n') + "end";
    ASSERT_TRUE(KillSaveOnceCopyNamed(first, fresh)) << "the flushed text was never named as a whole copy";

    EXPECT_TRUE(vx::TidyLeftTemporaries(first).empty());
    const std::string held = readFile(first);
    const std::vector<vx::TWholeCopy> copies = vx::WholeCopiesOf(first, held);
    if (held != fresh) {
        ASSERT_EQ(copies.size(), 1u) << "the file is cut: the copy is the only whole text";
        EXPECT_NE(copies[0].Standing, vx::TCopyStanding::Other) << "what the file holds ties it to the copy";
    }
    for (const vx::TWholeCopy& copy : copies)
        EXPECT_EQ(copy.Text, fresh) << "a copy is always whole";
    EXPECT_EQ(PathsOf(vx::WholeCopiesOf(second, held)), PathsOf(copies))
        << "opened by its other name, the file offers the same copy";
    EXPECT_EQ(TemporariesIn(dir.path()), 0);

    // The file holds its earlier text whole or the start of the new one, never
    // a mix of the two, which without the index (a fresh profile) would open
    // as the document.
    if (held != fresh && held != TTwoNames::Earlier) {
        EXPECT_TRUE(fresh.starts_with(held)) << "the file holds neither text alone";
        std::filesystem::remove_all(vx::JoinPath(vx::DataFolder(), "whole-copies"));
        const std::vector<vx::TWholeCopy> unfiled = vx::WholeCopiesOf(first, held);
        ASSERT_EQ(unfiled.size(), 1u);
        EXPECT_EQ(unfiled[0].Standing, vx::TCopyStanding::CutShort);
    }
}

TEST(FileIO, AWriteOnlyFilesCopyCanBeReadByItsOwner)
{
    TempDir dir;
    const auto [first, second] = TTwoNames(dir);
    ::chmod(first.c_str(), 0222);
    ASSERT_TRUE(KillSaveOnceCopyNamed(first, std::string(48 << 20, 'n')));
    const std::vector<std::string> copies = vx::EntriesStartingWith(dir.path().string(), "a.htm.vxcopy-");
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(StatOf(copies[0]).st_mode & 0600, 0600u) << "its owner reads and writes it";
}

TEST(FileIO, ACopySetAsideIsKeptButFoundByNoName)
{
    TempDir dir;
    const auto [first, second] = TTwoNames(dir);
    ASSERT_TRUE(KillSaveOnceCopyNamed(first, std::string(48 << 20, 'n')));
    // One copy the write left, filed under the file's identity, and one of
    // an older kind, known by its name alone.
    writeFile(first + ".vxcopy-Old123", "an older copy");
    const std::vector<std::string> copies = PathsOf(vx::WholeCopiesOf(first, readFile(first)));
    ASSERT_FALSE(copies.empty());

    for (const std::string& copy : copies) {
        const std::string text = readFile(copy);
        const std::string aside = vx::KeptAsideName(copy);
        EXPECT_EQ(std::filesystem::path(aside).parent_path(), std::filesystem::path(copy).parent_path());
        EXPECT_NE(aside.find("a.htm.vxold-"), std::string::npos) << aside;
        vx::SetAsideWholeCopy(copy);
        EXPECT_EQ(readFile(aside), text) << "kept whole";
        EXPECT_FALSE(std::filesystem::exists(copy));
    }
    EXPECT_TRUE(vx::WholeCopiesOf(first, readFile(first)).empty());
    EXPECT_TRUE(vx::WholeCopiesOf(second, readFile(second)).empty()) << "nor by the other name";

    // A name taken already: the copy stays where it was and says why.
    const std::string again = first + ".vxcopy-Old123";
    writeFile(again, "a copy");
    try {
        vx::SetAsideWholeCopy(again);
        ADD_FAILURE() << "moved over an earlier copy";
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.Message(), "Cannot move " + again + " to " + first + ".vxold-Old123: File exists");
    }
    EXPECT_EQ(readFile(again), "a copy");
    EXPECT_EQ(readFile(first + ".vxold-Old123"), "an older copy");
}

TEST(FileIO, AFinishedInPlaceSaveLeavesNoCopy)
{
    TempDir dir;
    const std::string path = dir.file("a.htm");
    writeFile(path, "old");
    std::filesystem::create_hard_link(path, dir.file("b.htm"));
    writeFile(path + ".vxcopy-Old123", "an older copy");
    vx::WriteFileAtomic(path, "new");
    const std::vector<vx::TWholeCopy> copies = vx::WholeCopiesOf(path, "new");
    EXPECT_EQ(PathsOf(copies), std::vector<std::string>{path + ".vxcopy-Old123"})
        << "a copy left by an earlier save stays for the user";
    EXPECT_EQ(copies.at(0).Standing, vx::TCopyStanding::Other) << "of other text: told of, not offered";
    vx::TidyLeftTemporaries(path);
    EXPECT_TRUE(std::filesystem::exists(path + ".vxcopy-Old123"));
}

TEST(FileIO, FailedReadsSayWhy)
{
    TempDir dir;
    const std::string missing = dir.file("missing.asp");
    try {
        vx::ReadWholeFile(missing);
        FAIL() << "a missing file must raise";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file " + missing + ": No such file or directory");
    }
    try {
        vx::ReadWholeFile(dir.path().string());
        FAIL() << "a folder must raise";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file " + dir.path().string() + ": Is a directory");
    }
}

#include "platform/CopyIndex.h"
#include "platform/Exception.h"
#include "platform/FileIO.h"
#include "platform/LeftBehind.h"
#include "platform/ProgramPaths.h"
#include "platform/WholeCopies.h"
#include "tests/platform/CallFilters.h"
#include "tests/platform/KilledWrite.h"
#include "tests/platform/OtherHold.h"
#include "tests/support/BindMount.h"
#include "tests/support/Patience.h"
#include "tests/support/TempDir.h"
#include "tests/support/Unprivileged.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <future>
#include <fcntl.h>
#include <filesystem>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
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
    // A file of a folder of the data folder, which the write makes where it
    // is missing: here it cannot be made.
    const std::string inData = dir.file("shut/data/keys.dat");
    vx::test::GiveToUnprivileged(dir.path().string());
    ::chmod(dir.file("shut").c_str(), 0555);

    const int result = vx::test::RunUnprivileged([&] {
        ::setenv("VELLUMIX_DATA", dir.file("shut").c_str(), 1);
        for (const std::string& path : {locked, inShut, inData}) {
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

// An open file descriptor, locked as a write under way locks its temporary,
// or as another program holds a file it saves (LOCK_EX) or reads (LOCK_SH).
struct TLocked {
    explicit TLocked(const std::string& path, int how = LOCK_EX) : Fd(::open(path.c_str(), O_RDWR))
    {
        ::flock(Fd, how);
    }
    ~TLocked() { ::close(Fd); }
    int Fd;
};

TEST(FileIO, WhatWritesLeftGoesOnlyWhereItHoldsNothingTheFileDoesNot)
{
    TempDir dir;
    const std::string path = dir.file("doc.asp");
    writeFile(path, "text");
    // What the tidy makes of a file: removes it, or answers it as a
    // temporary the user is to hear of, or as a text kept aside before; or
    // leaves it alone.
    enum class TLeft { Removed, Told, KeptAside, Untouched };
    const struct {
        std::string Name;
        std::string Held;
        TLeft Left;
    } rows[] = {
        {"doc.asp.vxtmp-a1B2c3", "half of a newer text", TLeft::Told},
        {"doc.asp.vxtmp-Empty1", "", TLeft::Removed},
        {"doc.asp.vxtmp-Same12", "text", TLeft::Removed},
        {"doc.asp.vxtmp-Locked", "a write under way", TLeft::Untouched},
        {"other.asp.vxtmp-a1B2c3", "another file's", TLeft::Untouched},
        {"doc.asp.vxtmp-long-name", "no temporary", TLeft::Untouched},
        {"doc.asp.vxold-Older1", "an earlier text", TLeft::KeptAside},
        {"doc.asp.vxold-Same12", "text", TLeft::Removed},
        {"doc.asp.vxold-Empty1", "", TLeft::Removed},
        {"doc.asp.vxold-Longer", "text and more", TLeft::KeptAside},
    };
    for (const auto& row : rows)
        writeFile(dir.file(row.Name), row.Held);
    const TLocked underWay(dir.file("doc.asp.vxtmp-Locked"));
    const vx::TLeftBehind left = vx::TidyLeftBehind(path, vx::FiledCopies());
    for (const auto& row : rows) {
        const std::string file = dir.file(row.Name);
        EXPECT_EQ(std::filesystem::exists(file), row.Left != TLeft::Removed) << row.Name;
        EXPECT_EQ(std::count(left.Temporaries.begin(), left.Temporaries.end(), file), row.Left == TLeft::Told)
            << row.Name;
        EXPECT_EQ(std::count(left.KeptAside.begin(), left.KeptAside.end(), file), row.Left == TLeft::KeptAside)
            << row.Name;
    }

    // A write tidies as well, the text it wrote counting as the file's: a
    // text kept aside that a restore then saved goes.
    writeFile(path + ".vxtmp-zzzzzz", "new");
    writeFile(path + ".vxold-zzzzzz", "new");
    vx::WriteFileAtomic(path, "new");
    EXPECT_FALSE(std::filesystem::exists(path + ".vxtmp-zzzzzz"));
    EXPECT_FALSE(std::filesystem::exists(path + ".vxold-zzzzzz"));
    EXPECT_TRUE(std::filesystem::exists(path + ".vxtmp-a1B2c3")) << "the only text of a killed save";

    // Told of, it is kept aside, where nothing offers it.
    vx::KeepAside(path + ".vxtmp-a1B2c3");
    EXPECT_EQ(readFile(path + ".vxold-a1B2c3"), "half of a newer text");
    EXPECT_TRUE(vx::TidyLeftBehind(path, vx::FiledCopies()).Temporaries.empty());

    EXPECT_TRUE(vx::IsWriteTemporary("doc.asp.vxtmp-Ab12Cd"));
    EXPECT_FALSE(vx::IsWriteTemporary(".vxtmp-Ab12Cd"));
    EXPECT_FALSE(vx::IsWriteTemporary("doc.asp"));
}

TEST(FileIO, ATemporaryASaveLeftBesideAnotherNameIsToldOfByEveryName)
{
    TempDir dir;
    const std::string first = dir.file("a.htm");
    const std::string second = dir.file("other/b.htm");
    writeFile(first, "old");
    std::filesystem::create_directories(dir.file("other"));
    std::filesystem::create_hard_link(first, second);
    // Killed once it filed its copy, before it named it: the temporary is
    // whole, beside the first name only.
    vx::TFileIdentity identity;
    ASSERT_TRUE(vx::IdentityOf(first, identity));
    const std::string entry = vx::FileCopyUnder(identity, "Tmp001", first + ".vxcopy-Tmp001", vx::DigestOf("new"),
                                                vx::DigestOf("old"));
    writeFile(first + ".vxtmp-Tmp001", "new");

    EXPECT_TRUE(vx::TidyLeftBehind(second).Temporaries.empty());
    EXPECT_EQ(vx::TidyLeftBehind(second, vx::FiledCopies()).Temporaries,
              std::vector<std::string>{first + ".vxtmp-Tmp001"});
    vx::KeepAside(first + ".vxtmp-Tmp001");
    EXPECT_EQ(readFile(first + ".vxold-Tmp001"), "new");
    vx::FiledCopies();
    EXPECT_FALSE(std::filesystem::exists(entry)) << "an entry to neither copy nor temporary";

    // The temporary of an entry's own write, killed, goes; one under way stays.
    const std::string index = vx::JoinPath(vx::DataFolder(), "whole-copies");
    writeFile(index + "/1-2-Tmp002.vxtmp-Killed", "");
    writeFile(index + "/1-2-Tmp003.vxtmp-Living", "");
    const TLocked living(index + "/1-2-Tmp003.vxtmp-Living");
    vx::FiledCopies();
    EXPECT_FALSE(std::filesystem::exists(index + "/1-2-Tmp002.vxtmp-Killed"));
    EXPECT_TRUE(std::filesystem::exists(index + "/1-2-Tmp003.vxtmp-Living"));
    std::filesystem::remove(index + "/1-2-Tmp003.vxtmp-Living");
}

namespace {

using vx::test::TOtherHold;

// What an attempt on a held file met: empty where it went through.
std::string Attempted(const std::function<void()>& attempt)
{
    try {
        attempt();
        return {};
    } catch (const EStreamError& e) {
        return e.Message();
    }
}

// Runs an attempt that must end at once on a thread of its own: a hold that
// waited for the other program would hang the test; it fails it instead,
// and lets the other program go so that the attempt can end.
std::string AttemptedAtOnce(TOtherHold& other, const std::function<void()>& attempt)
{
    std::future<std::string> done = std::async(std::launch::async, Attempted, attempt);
    if (done.wait_for(std::chrono::milliseconds(vx::test::kPatienceMs)) != std::future_status::ready) {
        ADD_FAILURE() << "waited for the other program to let go";
        other.LetGo();
    }
    return done.get();
}

const std::string SaveRefused = ": another program is saving or reading it. Saving again in a moment will work.";
const std::string OpenRefused = " now: another program is saving it. Opening it again in a moment will work.";

// Whether a save and an open of path are refused while other holds the
// file, and leave everything as it was; once it lets go, the save goes through.
void ExpectKeptApart(const std::string& path, const std::string& otherName, TOtherHold& other, bool mayRead)
{
    ASSERT_TRUE(other.Holds());
    const std::string folder = vx::FolderOf(path);
    const auto names = std::distance(std::filesystem::directory_iterator(folder), {});
    EXPECT_EQ(AttemptedAtOnce(other, [&] { vx::WriteFileAtomic(path, "new"); }),
              "Cannot write file " + path + SaveRefused);
    EXPECT_EQ(readFile(path), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), names) << "nothing left behind";
    EXPECT_EQ(AttemptedAtOnce(other, [&] { vx::TFileHold(path, vx::TFileHold::TUse::Reading); }),
              mayRead ? "" : "Cannot open file " + path + OpenRefused);
    other.LetGo();
    vx::WriteFileAtomic(path, "new");
    EXPECT_EQ(readFile(otherName), "new");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), names);
}

} // namespace

TEST(FileIO, AFileAnotherProgramHoldsIsNeitherWrittenNorReadUntilItLetsGo)
{
    using TWho = TOtherHold::TWho;
    using TUse = TOtherHold::TUse;
    const struct {
        const char* What;
        bool Linked;
        TWho Who;
        TUse Use;
        bool FileLockRefused;
    } rows[] = {
        {"one name, saved by another program", false, TWho::LockingProgram, TUse::Saving, false},
        {"one name, read by another program", false, TWho::LockingProgram, TUse::Reading, false},
        {"two names, saved by another program", true, TWho::LockingProgram, TUse::Saving, false},
        {"two names, read by another program", true, TWho::LockingProgram, TUse::Reading, false},
        // Where the file's own lock is refused (NFS without a lock daemon),
        // the lock in the data folder keeps two instances apart.
        {"one name, saved by another instance without file locks", false, TWho::Instance, TUse::Saving, true},
        {"two names, saved by another instance without file locks", true, TWho::Instance, TUse::Saving, true},
        {"two names, read by another instance without file locks", true, TWho::Instance, TUse::Reading, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.What);
        TempDir dir;
        const std::string path = dir.file("a.htm");
        writeFile(path, "old");
        if (row.Linked)
            std::filesystem::create_hard_link(path, dir.file("b.htm"));
        // Another program's hold, through the other name where there is one.
        const std::string otherName = dir.file(row.Linked ? "b.htm" : "a.htm");
        TOtherHold other(otherName, row.Who, row.Use, row.FileLockRefused);
        ExpectKeptApart(path, otherName, other, row.Use == TUse::Reading);
    }

    // A save that renamed its file over the name lets go of the file it
    // replaced: held, the name leads to the new one, which is free.
    TempDir dir;
    const std::string path = dir.file("a.htm");
    writeFile(path, "old");
    const TLocked replaced(path, LOCK_EX);
    writeFile(dir.file("new.htm"), "new");
    std::filesystem::rename(dir.file("new.htm"), path);
    const vx::TFileHold held(path, vx::TFileHold::TUse::Writing);
    EXPECT_TRUE(vx::NamesFile(path, held.Descriptor()));
    EXPECT_FALSE(held.Unguarded());
    const std::string_view text[] = {"newer"};
    vx::WriteFileAtomic(held, text);
    EXPECT_EQ(readFile(path), "newer");

    // A one-name save holds the file it replaces until its rename is done:
    // another save tried at that moment is refused.
    EXPECT_EQ(vx::test::SaveTriedAtRename(path, "newest"), vx::test::TAtRename::Held);
}

// On a FUSE file system that locks each name of a file apart (bindfs), two
// instances with the file open by two names are kept apart all the same.
TEST(FileIO, TwoInstancesAreKeptApartWhereEachNameIsLockedApart)
{
    TempDir dir;
    const vx::test::TBindMount mount(dir.file("real"), dir.file("seen"));
    if (!mount.Mounted())
        GTEST_SKIP() << "skipped: bindfs cannot be mounted here (it needs root and /dev/fuse)";
    const std::string path = dir.file("seen/a.htm");
    writeFile(path, "old");
    std::filesystem::create_hard_link(path, dir.file("seen/b.htm"));
    for (const TOtherHold::TUse use : {TOtherHold::TUse::Saving, TOtherHold::TUse::Reading}) {
        SCOPED_TRACE(use == TOtherHold::TUse::Saving ? "saved by the other" : "read by the other");
        writeFile(path, "old");
        TOtherHold other(dir.file("seen/b.htm"), TOtherHold::TWho::Instance, use);
        ExpectKeptApart(path, dir.file("seen/b.htm"), other, use == TOtherHold::TUse::Reading);
    }
}

// Where neither the file's own lock nor the data folder's can be had, a
// save goes on, held against nobody, and says why.
TEST(FileIO, AFileThatCannotBeLockedIsWrittenAndSaysWhy)
{
    TempDir dir;
    const std::string path = dir.file("a.htm");
    writeFile(path, "old");
    const int result = vx::test::RunInChild([&] {
        ::setenv("VELLUMIX_DATA", dir.file("no such folder").c_str(), 1);
        if (!vx::test::RefuseFileLocks(ENOLCK))
            return 3;
        const vx::TFileHold held(path, vx::TFileHold::TUse::Writing);
        if (!held.Unguarded())
            return 1;
        const std::string_view text[] = {"new"};
        vx::WriteFileAtomic(held, text);
        return held.Unguarded()->English() == "Cannot lock " + path + " (No locks available), nor in " +
                                                  dir.file("no such folder") +
                                                  " (No such file or directory): another program saving it at "
                                                  "the same time is not kept from it"
                   ? 0
                   : 2;
    });
    if (result == 3)
        GTEST_SKIP() << "skipped: the system cannot refuse a process's file locks";
    EXPECT_EQ(result, 0) << "1: held as if locked, 2: another reason given";
    EXPECT_EQ(readFile(path), "new");
}

TEST(FileIO, ALinkedFileWhoseCopyCannotBeFiledIsLeftAsItWas)
{
    TempDir dir;
    const std::string path = dir.file("a.htm");
    writeFile(path, "old");
    std::filesystem::create_hard_link(path, dir.file("b.htm"));
    // The data folder full or read-only: here, the index cannot be a folder.
    const std::string index = vx::JoinPath(vx::DataFolder(), "whole-copies");
    std::filesystem::remove_all(index);
    writeFile(index, "");
    try {
        vx::WriteFileAtomic(path, "new");
        ADD_FAILURE() << "cut with no copy filed";
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.Message().rfind("Cannot write file " + path + ": while it is rewritten, a copy of the text must be "
                                    "kept in " + index + ", and none could be: ",
                                    0),
                  0u)
            << e.Message();
        // and what the user can do.
        EXPECT_TRUE(e.Message().ends_with(". Save As under another name keeps the text, and so does this save once "
                                          "that folder can be written again."))
            << e.Message();
    }
    std::filesystem::remove(index);
    EXPECT_EQ(readFile(dir.file("b.htm")), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2) << "nothing left behind";
}

namespace {

std::vector<std::string> PathsOf(const std::vector<vx::TWholeCopy>& copies)
{
    std::vector<std::string> paths;
    for (const vx::TWholeCopy& copy : copies)
        paths.push_back(copy.Path);
    return paths;
}

// A file with two names in two folders, a.htm and other/b.htm.
struct TTwoNames {
    // Longer than the text saved over it: a save that wrote over it would
    // leave some of it after what it wrote.
    inline static const std::string Earlier = std::string(1 << 20, 'o');
    // The text saved, in two pieces: a save killed as it writes the second
    // into the file.
    inline static const std::string Start = std::string(64 << 10, 'n');
    inline static const std::string End = std::string(256 << 10, 'm') + "end";

    explicit TTwoNames(const TempDir& dir) : First(dir.file("a.htm")), Second(dir.file("other/b.htm"))
    {
        writeFile(First, Earlier);
        std::filesystem::create_directories(dir.file("other"));
        std::filesystem::create_hard_link(First, Second);
    }
    // Saves the text through the first name, killed half way through the file.
    bool KilledHalfWay() const
    {
        const std::string_view pieces[] = {Start, End};
        return vx::test::KilledWrite(First, pieces, vx::test::TKillPoint::LastPieceIntoTheFile);
    }
    std::string First;
    std::string Second;
};

} // namespace

TEST(FileIO, AnInPlaceSaveKilledHalfWayLeavesAWholeCopyThatEveryNameFinds)
{
    TempDir dir;
    const TTwoNames names(dir);
    ASSERT_TRUE(names.KilledHalfWay()) << "the save was not killed in its write of the file";

    // The file holds the start of the new text alone, never its old rest
    // after it, which without the index (a fresh profile) would open as the
    // document.
    const std::string held = readFile(names.First);
    EXPECT_EQ(held, TTwoNames::Start) << "the file holds neither text alone";
    EXPECT_TRUE(vx::TidyLeftBehind(names.First, vx::FiledCopies()).Temporaries.empty());
    const std::vector<vx::TWholeCopy> copies = vx::WholeCopiesOf(names.First, held, vx::FiledCopies());
    ASSERT_EQ(copies.size(), 1u) << "the file is cut: the copy is the only whole text";
    EXPECT_EQ(copies[0].Standing, vx::TCopyStanding::CutShort);
    EXPECT_EQ(copies[0].Text, TTwoNames::Start + TTwoNames::End) << "a copy is always whole";
    EXPECT_EQ(PathsOf(vx::WholeCopiesOf(names.Second, held, vx::FiledCopies())), PathsOf(copies))
        << "opened by its other name, the file offers the same copy";
    EXPECT_EQ(TemporariesIn(dir.path()), 0);

    std::filesystem::remove_all(vx::JoinPath(vx::DataFolder(), "whole-copies"));
    const std::vector<vx::TWholeCopy> unfiled = vx::WholeCopiesOf(names.First, held, vx::FiledCopies());
    ASSERT_EQ(unfiled.size(), 1u);
    EXPECT_EQ(unfiled[0].Standing, vx::TCopyStanding::CutShort);
}

TEST(FileIO, AWriteOnlyFilesCopyCanBeReadByItsOwner)
{
    TempDir dir;
    const TTwoNames names(dir);
    ::chmod(names.First.c_str(), 0222);
    ASSERT_TRUE(names.KilledHalfWay());
    const std::vector<std::string> copies = vx::EntriesStartingWith(dir.path().string(), "a.htm.vxcopy-");
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(StatOf(copies[0]).st_mode & 0600, 0600u) << "its owner reads and writes it";
}

TEST(FileIO, ACopySetAsideIsKeptButFoundByNoName)
{
    TempDir dir;
    const TTwoNames names(dir);
    const std::string& first = names.First;
    ASSERT_TRUE(names.KilledHalfWay());
    // One copy the write left, filed under the file's identity, and one
    // filed nowhere, known by its name alone.
    writeFile(first + ".vxcopy-Old123", "an older copy");
    const std::vector<std::string> copies = PathsOf(vx::WholeCopiesOf(first, readFile(first), vx::FiledCopies()));
    ASSERT_EQ(copies.size(), 2u);

    for (const std::string& copy : copies) {
        const std::string text = readFile(copy);
        const std::string aside = vx::KeptAsideName(copy);
        EXPECT_EQ(std::filesystem::path(aside).parent_path(), std::filesystem::path(copy).parent_path());
        EXPECT_NE(aside.find("a.htm.vxold-"), std::string::npos) << aside;
        vx::SetAsideWholeCopy(copy);
        EXPECT_EQ(readFile(aside), text) << "kept whole";
        EXPECT_FALSE(std::filesystem::exists(copy));
    }
    EXPECT_TRUE(vx::WholeCopiesOf(first, readFile(first), vx::FiledCopies()).empty());
    EXPECT_TRUE(vx::WholeCopiesOf(names.Second, readFile(names.Second), vx::FiledCopies()).empty()) << "nor by the other name";

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
    const std::vector<vx::TWholeCopy> copies = vx::WholeCopiesOf(path, "new", vx::FiledCopies());
    EXPECT_EQ(PathsOf(copies), std::vector<std::string>{path + ".vxcopy-Old123"})
        << "a copy left by an earlier save stays for the user";
    EXPECT_EQ(copies.at(0).Standing, vx::TCopyStanding::Other) << "of other text: told of, not offered";
    vx::TidyLeftBehind(path, vx::FiledCopies()).Temporaries;
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

// A whole copy is offered to the name it was made beside, whatever file is
// there now, and through the index to the file it was made of by any other
// name; never to a file the identity shows to be another, and where the
// identity cannot tell, the user is asked. A save sets aside only copies
// known to be its file's; an entry lasts until its copy is gone or answered.
#include "platform/CopyIndex.h"
#include "platform/FileIO.h"
#include "platform/ProgramPaths.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>
#include <unistd.h>
#include <vector>

using vx::test::readFile;
using vx::test::TempDir;
using vx::test::writeFile;

namespace {

const std::string CopyText = "the whole text of the cut document\r\n";
const std::string Tag = "Cut001";

// What a save cut off left: the copy, and the index entry filing it (none:
// the copy is known by its name alone); Opened is the name then opened, seen
// with the identity SeenAs where one is given (a file system's answers).
struct TScene {
    std::string Opened;
    std::string Copy;
    std::string Entry;
    std::optional<vx::TFileIdentity> SeenAs;
};

vx::TFileIdentity Identity(const std::string& path)
{
    vx::TFileIdentity identity;
    EXPECT_TRUE(vx::IdentityOf(path, identity)) << path;
    return identity;
}

// The copy of the document written beside its name.
std::string CopyBeside(const std::string& document)
{
    const std::string copy = document + ".vxcopy-" + Tag;
    writeFile(copy, CopyText);
    return copy;
}

// The copy filed under the identity as this version files it.
std::string FiledCopy(const vx::TFileIdentity& identity, const std::string& copy)
{
    const std::string entry = vx::FileCopyUnder(identity, Tag, copy);
    EXPECT_FALSE(entry.empty()) << "the copy could not be filed";
    return entry;
}

// The copy filed under the file's inode by a file born there a second
// before it: a deleted document whose inode the file was given.
std::string FiledForEarlierFile(const std::string& file, const std::string& copy)
{
    vx::TFileIdentity gone = Identity(file);
    gone.Birth->Seconds -= 1;
    return FiledCopy(gone, copy);
}

// The copy filed as earlier versions filed it: by device and inode alone.
std::string OldStyleFiledCopy(const vx::TFileIdentity& identity, const std::string& copy)
{
    const std::string folder = vx::JoinPath(vx::DataFolder(), "whole-copies");
    std::filesystem::create_directories(folder);
    const std::string entry =
        vx::JoinPath(folder, std::to_string(identity.Device) + "-" + std::to_string(identity.Inode) + "-" + Tag);
    std::filesystem::create_symlink(copy, entry);
    return entry;
}

std::string Document(const TempDir& dir, const std::string& name, const std::string& text)
{
    std::filesystem::create_directories(std::filesystem::path(dir.file(name)).parent_path());
    writeFile(dir.file(name), text);
    return dir.file(name);
}

// A document with a second name in another folder, as a cut save leaves it.
std::string TwoNames(const TempDir& dir)
{
    const std::string first = Document(dir, "a.htm", "cut sho");
    std::filesystem::create_directories(dir.file("other"));
    std::filesystem::create_hard_link(first, dir.file("other/b.htm"));
    return first;
}

using TFiling = std::string (*)(const vx::TFileIdentity&, const std::string&);

// A cut document with two names, its copy beside the first filed by filing;
// then what befalls the first name (nothing, a rename, a deletion); opened by
// the other name.
TScene OpenedByOtherName(const TempDir& dir, TFiling filing, void (*befall)(const std::string&) = nullptr)
{
    const std::string document = TwoNames(dir);
    const std::string copy = CopyBeside(document);
    const std::string entry = filing(Identity(document), copy);
    if (befall)
        befall(document);
    return TScene{dir.file("other/b.htm"), copy, entry};
}

void Delete(const std::string& name)
{
    std::filesystem::remove(name);
}

void Rename(const std::string& name)
{
    std::filesystem::rename(name, std::filesystem::path(name).replace_filename("renamed.htm"));
}

// Brings the folder back as cp -a restores a backup: the same names on new
// files (the old ones live on meanwhile, so the inodes are new).
void RestoreFolder(const std::string& folder)
{
    std::filesystem::rename(folder, folder + ".old");
    std::filesystem::copy(folder + ".old", folder, std::filesystem::copy_options::recursive);
}

// As a file system without birth times files and sees a file.
vx::TFileIdentity WithoutBirth(vx::TFileIdentity identity)
{
    identity.Birth.reset();
    return identity;
}

// Puts a new file at the name, as a program that saves by renaming does.
void Replace(const std::string& path, const std::string& text)
{
    writeFile(path + ".new", text);
    std::filesystem::rename(path + ".new", path);
}

// Replaces the file at the name until the new one is born after the copy
// (file times go by clock ticks): a file made once the copy was.
void ReplaceAfter(const std::string& path, const std::string& copy)
{
    for (int tick = 0; tick < 5000; ++tick) {
        Replace(path, "a later file");
        if (*Identity(path).Birth > *Identity(copy).Birth)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ADD_FAILURE() << "the clock did not move";
}

// What opening the file finds of the copy: nothing, a copy known to be the
// file's (which a save sets aside), or one the user is asked whose it is
// (which only an answer sets aside).
enum class TFound { Nothing, Own, Unsettled };

struct TCase {
    const char* What;
    std::function<TScene(const TempDir&)> Make;
    TFound Found;
};

bool Lists(const std::vector<std::string>& copies, const std::string& copy)
{
    return std::any_of(copies.begin(), copies.end(), [&](const std::string& c) { return vx::SameFile(c, copy); });
}

} // namespace

TEST(WholeCopyOwner, ACopyIsOfferedToItsNameAndFileAndAskedAboutWhereNothingTells)
{
    const std::vector<TCase> cases = {
        {"a file that has a deleted document's inode now, born at another time: not offered, nor set aside by its "
         "save",
         [](const TempDir& dir) {
             const std::string unrelated = Document(dir, "later/other.html", "another document");
             const std::string copy = CopyBeside(dir.file("b101.html"));
             return TScene{unrelated, copy, FiledForEarlierFile(unrelated, copy)};
         },
         TFound::Nothing},
        {"the copy beside the name, the folder restored by cp -a onto the freed inode: the same number born anew",
         [](const TempDir& dir) {
             const std::string later = Document(dir, "b101.html", "another document");
             const std::string copy = CopyBeside(later);
             return TScene{later, copy, FiledForEarlierFile(later, copy)};
         },
         TFound::Own},
        {"the copy beside the name, the folder restored by cp -a onto new inodes",
         [](const TempDir& dir) {
             std::filesystem::create_directories(dir.file("site"));
             const std::string document = Document(dir, "site/a.htm", "cut sho");
             std::filesystem::create_hard_link(document, dir.file("site/b.htm"));
             const std::string copy = CopyBeside(document);
             const std::string entry = FiledCopy(Identity(document), copy);
             RestoreFolder(dir.file("site"));
             return TScene{document, copy, entry};
         },
         TFound::Own},
        {"the document opened by its other name",
         [](const TempDir& dir) { return OpenedByOtherName(dir, FiledCopy); }, TFound::Own},
        {"the document opened by its other name once the name the copy was made beside is gone",
         [](const TempDir& dir) { return OpenedByOtherName(dir, FiledCopy, Delete); }, TFound::Own},
        {"an earlier version's entry, its name still leading to the file",
         [](const TempDir& dir) { return OpenedByOtherName(dir, OldStyleFiledCopy); }, TFound::Own},
        {"an earlier version's entry, the document opened by its other name once the first was renamed",
         [](const TempDir& dir) { return OpenedByOtherName(dir, OldStyleFiledCopy, Rename); }, TFound::Unsettled},
        {"a file system without birth times, the document opened by its other name once the first was deleted",
         [](const TempDir& dir) {
             TScene scene = OpenedByOtherName(
                 dir, [](const vx::TFileIdentity& identity, const std::string& copy) {
                     return FiledCopy(WithoutBirth(identity), copy);
                 },
                 Delete);
             scene.SeenAs = WithoutBirth(Identity(scene.Opened));
             return scene;
         },
         TFound::Unsettled},
        {"an earlier version's entry, its name leading to another file",
         [](const TempDir& dir) {
             const std::string unrelated = Document(dir, "later/other.html", "another document");
             const std::string copy = CopyBeside(Document(dir, "b101.html", "yet another"));
             return TScene{unrelated, copy, OldStyleFiledCopy(Identity(unrelated), copy)};
         },
         TFound::Unsettled},
        {"an earlier version's entry, its name leading nowhere",
         [](const TempDir& dir) {
             const std::string unrelated = Document(dir, "later/other.html", "another document");
             const std::string copy = CopyBeside(dir.file("b101.html"));
             return TScene{unrelated, copy, OldStyleFiledCopy(Identity(unrelated), copy)};
         },
         TFound::Unsettled},
        {"a copy beside a name that leads to a new file now",
         [](const TempDir& dir) {
             const std::string document = TwoNames(dir);
             const std::string copy = CopyBeside(document);
             const std::string entry = FiledCopy(Identity(document), copy);
             Replace(document, "a new file");
             return TScene{document, copy, entry};
         },
         TFound::Own},
        {"a copy filed nowhere, beside a name that leads to a file made after it",
         [](const TempDir& dir) {
             const std::string document = Document(dir, "a.htm", "cut sho");
             const std::string copy = CopyBeside(document);
             ReplaceAfter(document, copy);
             return TScene{document, copy, ""};
         },
         TFound::Own},
        {"a copy filed nowhere, beside its document's name",
         [](const TempDir& dir) {
             const std::string document = Document(dir, "a.htm", "cut sho");
             return TScene{document, CopyBeside(document), ""};
         },
         TFound::Own},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TempDir dir;
        if (!Identity(dir.path().string()).Birth)
            GTEST_SKIP() << "the file system keeps no birth times";
        const TScene scene = c.Make(dir);
        // Opened, then saved unanswered (a newer copy taken, say).
        const std::vector<vx::TWholeCopy> copies =
            scene.SeenAs ? vx::CopiesFiledUnder(*scene.SeenAs) : vx::WholeCopiesOf(scene.Opened);
        std::vector<std::string> superseded;
        for (const vx::TWholeCopy& copy : copies) {
            if (copy.Settled)
                superseded.push_back(copy.Path);
        }
        if (!scene.SeenAs) {
            EXPECT_EQ(vx::CopiesASaveSupersedes(scene.Opened), superseded);
        }
        EXPECT_EQ(copies.size(), c.Found == TFound::Nothing ? 0u : 1u);
        if (!copies.empty()) {
            EXPECT_TRUE(vx::SameFile(copies[0].Path, scene.Copy));
            EXPECT_EQ(copies[0].Settled, c.Found == TFound::Own) << "asked whose it is";
        }
        EXPECT_EQ(Lists(superseded, scene.Copy), c.Found == TFound::Own) << "set aside by a save";
        EXPECT_EQ(readFile(scene.Copy), CopyText) << "a copy stays where it is, offered or not";
        EXPECT_EQ(std::filesystem::is_symlink(scene.Entry), !scene.Entry.empty())
            << "an entry stays until its copy is gone or answered";

        // Answered No, or removed by hand: the entry goes with the copy.
        if (copies.empty()) {
            std::filesystem::remove(scene.Copy);
            vx::CopiesFiledUnder(scene.SeenAs ? *scene.SeenAs : Identity(scene.Opened));
        } else {
            vx::SetAsideWholeCopy(copies[0].Path);
            EXPECT_EQ(readFile(vx::SetAsideName(copies[0].Path)), CopyText);
        }
        EXPECT_FALSE(std::filesystem::is_symlink(scene.Entry));
        // Later scenes may have files on the same inodes.
        ::unlink(scene.Entry.c_str());
    }
}

TEST(WholeCopyOwner, ACopyNamesTheFileItWasMadeBeside)
{
    EXPECT_EQ(vx::CopiedFileName("/docs/b101.html.vxcopy-Ab12Cd"), "/docs/b101.html");
    EXPECT_EQ(vx::CopiedFileName("/docs/a.vxcopy-Zz.html.vxcopy-Ab12Cd"), "/docs/a.vxcopy-Zz.html");
    EXPECT_EQ(vx::CopiedFileName("/docs/b101.html"), "");
}

TEST(WholeCopyOwner, ACopyTheFileHoldsGoesWithItsEntry)
{
    TempDir dir;
    const std::string document = TwoNames(dir);
    const std::string copy = CopyBeside(document);
    const std::string entry = FiledCopy(Identity(document), copy);
    const std::string another = Document(dir, "c.htm", "cut too");
    std::filesystem::create_hard_link(another, dir.file("other/d.htm"));
    const std::string otherEntry = FiledCopy(Identity(another), CopyBeside(another));

    vx::RemoveWholeCopy(copy);
    EXPECT_FALSE(std::filesystem::exists(copy));
    EXPECT_FALSE(std::filesystem::is_symlink(entry));
    EXPECT_TRUE(std::filesystem::is_symlink(otherEntry)) << "another file's copy, of the same tag";
    EXPECT_EQ(vx::WholeCopiesOf(dir.file("other/d.htm")).size(), 1u);
    ::unlink(otherEntry.c_str());
}

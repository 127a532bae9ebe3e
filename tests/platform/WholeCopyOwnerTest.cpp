// A whole copy is offered to the file it was made of, by any of its names,
// and to no other: not to a file that took over its inode or its name.
#include "platform/CopyIndex.h"
#include "platform/FileIO.h"
#include "platform/ProgramPaths.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
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
// the copy is known by its name alone); Opened is the name then opened.
struct TScene {
    std::string Opened;
    std::string Copy;
    std::string Entry;
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

struct TCase {
    const char* What;
    std::function<TScene(const TempDir&)> Make;
    bool Offered;
    bool EntryKept;
};

} // namespace

TEST(WholeCopyOwner, ACopyIsOfferedToTheFileItWasMadeOfAndToNoOther)
{
    const std::vector<TCase> cases = {
        {"a file that has a deleted document's inode now, born at another time",
         [](const TempDir& dir) {
             const std::string unrelated = Document(dir, "later/other.html", "another document");
             const std::string copy = CopyBeside(dir.file("b101.html"));
             return TScene{unrelated, copy, FiledForEarlierFile(unrelated, copy)};
         },
         false, false},
        {"a file made at a deleted document's name and on its inode",
         [](const TempDir& dir) {
             const std::string later = Document(dir, "b101.html", "another document");
             const std::string copy = CopyBeside(later);
             return TScene{later, copy, FiledForEarlierFile(later, copy)};
         },
         false, false},
        {"the document opened by its other name",
         [](const TempDir& dir) {
             const std::string document = TwoNames(dir);
             const std::string copy = CopyBeside(document);
             return TScene{dir.file("other/b.htm"), copy, FiledCopy(Identity(document), copy)};
         },
         true, true},
        {"the document opened by its other name once the name the copy was made beside is gone",
         [](const TempDir& dir) {
             const std::string document = TwoNames(dir);
             const std::string copy = CopyBeside(document);
             const std::string entry = FiledCopy(Identity(document), copy);
             std::filesystem::remove(document);
             return TScene{dir.file("other/b.htm"), copy, entry};
         },
         true, true},
        {"an earlier version's entry, its name still leading to the file",
         [](const TempDir& dir) {
             const std::string document = TwoNames(dir);
             const std::string copy = CopyBeside(document);
             return TScene{dir.file("other/b.htm"), copy, OldStyleFiledCopy(Identity(document), copy)};
         },
         true, true},
        {"an earlier version's entry, its name leading to another file",
         [](const TempDir& dir) {
             const std::string unrelated = Document(dir, "later/other.html", "another document");
             const std::string copy = CopyBeside(Document(dir, "b101.html", "yet another"));
             return TScene{unrelated, copy, OldStyleFiledCopy(Identity(unrelated), copy)};
         },
         false, false},
        {"an earlier version's entry, its name leading nowhere",
         [](const TempDir& dir) {
             const std::string unrelated = Document(dir, "later/other.html", "another document");
             const std::string copy = CopyBeside(dir.file("b101.html"));
             return TScene{unrelated, copy, OldStyleFiledCopy(Identity(unrelated), copy)};
         },
         false, false},
        {"a copy beside a name that leads to a new file now",
         [](const TempDir& dir) {
             const std::string document = TwoNames(dir);
             const std::string copy = CopyBeside(document);
             const std::string entry = FiledCopy(Identity(document), copy);
             Replace(document, "a new file");
             return TScene{document, copy, entry};
         },
         false, true},
        {"a copy filed nowhere, beside a name that leads to a file made after it",
         [](const TempDir& dir) {
             const std::string document = Document(dir, "a.htm", "cut sho");
             const std::string copy = CopyBeside(document);
             ReplaceAfter(document, copy);
             return TScene{document, copy, ""};
         },
         false, false},
        {"a copy filed nowhere, beside its document's name",
         [](const TempDir& dir) {
             const std::string document = Document(dir, "a.htm", "cut sho");
             return TScene{document, CopyBeside(document), ""};
         },
         true, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TempDir dir;
        if (!Identity(dir.path().string()).Birth)
            GTEST_SKIP() << "the file system keeps no birth times";
        const TScene scene = c.Make(dir);
        const std::vector<std::string> copies = vx::WholeCopiesOf(scene.Opened);
        EXPECT_EQ(copies.size(), c.Offered ? 1u : 0u);
        if (c.Offered && !copies.empty()) {
            EXPECT_TRUE(vx::SameFile(copies[0], scene.Copy));
        }
        EXPECT_EQ(readFile(scene.Copy), CopyText) << "a copy stays where it is, offered or not";
        EXPECT_EQ(std::filesystem::is_symlink(scene.Entry), c.EntryKept);
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

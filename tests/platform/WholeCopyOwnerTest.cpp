// What a file holds decides whose a whole copy is: a copy is offered in place
// of a file's text only where the file holds what the copy's cut save left
// (the start of the copy's text, or the text the save was replacing), however
// the file was found; a copy of other text beside a name of the file is told
// of, one found elsewhere is another file's; neither is touched, and its
// entry stays for its own document.
#include "platform/CopyIndex.h"
#include "platform/FileIO.h"
#include "platform/LeftBehind.h"
#include "platform/ProgramPaths.h"
#include "platform/Sha256.h"
#include "platform/WholeCopies.h"
#include "tests/support/NoBirthTimes.h"
#include "tests/support/TempDir.h"
#include "tests/support/Unprivileged.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using vx::test::readFile;
using vx::test::TempDir;
using vx::test::writeFile;

namespace {

namespace fs = std::filesystem;

const std::string Earlier = "the text of d before the save\r\n";
const std::string CopyText = "the whole text of the cut document\r\n";
const std::string Tag = "Cut001";

TEST(WholeCopyOwner, WhatTheFileHoldsTiesItToTheCopy)
{
    using enum vx::TCopyStanding;
    const std::optional<vx::TTextDigest> filed = vx::DigestOf(Earlier);
    std::string fixed = Earlier;
    fixed[20] = 'X';
    std::string fixedStart = CopyText.substr(0, 20);
    fixedStart[3] = 'X';
    const struct {
        const char* What;
        std::string File;
        std::optional<vx::TTextDigest> Replaced;
        vx::TCopyStanding Standing;
    } rows[] = {
        {"the whole text: the save ended", CopyText, filed, Whole},
        {"the start of the copy's text", CopyText.substr(0, 9), filed, CutShort},
        {"an empty file: cut before the first byte", "", filed, CutShort},
        {"the text the save replaced", Earlier, filed, Replaced},
        {"the text the save replaced, the entry of an earlier version telling nothing", Earlier, std::nullopt, Other},
        {"other text as long as the replaced one", std::string(Earlier.size(), 'x'), filed, Other},
        {"other text", "<p>NEWDOC: another document</p>", filed, Other},
        {"the copy's text and more", CopyText + "more", filed, Other},
        {"the replaced text, a byte of it fixed in place by another program", fixed, filed, Other},
        {"the copy's start, a byte of it fixed in place by another program", fixedStart, filed, Other},
        {"the copy's start, and after it the rest of the replaced text", CopyText.substr(0, 10) + Earlier.substr(10),
         filed, Other},
    };
    for (const auto& row : rows)
        EXPECT_EQ(vx::StandingOf(row.File, CopyText, row.Replaced), row.Standing) << row.What;
}

// A cut save as the index files it: with the text the file held (Earlier),
// or not at all; or, with that text, under a file deleted since, whose inode
// another file got (one born later); or as a file system without birth times
// files it, under the inode's generation number, or under the inode alone.
enum class TFiling { Replaced, None, DeletedFile, Generation, InodeOnly };

// What a save cut off left, and what befell it since: the name then opened,
// the copy and its entry (none: not filed).
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

std::string File(const std::string& identityOf, const std::string& copy, TFiling filing)
{
    if (filing == TFiling::None)
        return {};
    vx::TFileIdentity identity = Identity(identityOf);
    if (filing == TFiling::DeletedFile && identity.Birth)
        identity.Birth->Seconds -= 100;
    else if (filing == TFiling::DeletedFile && identity.Generation)
        ++*identity.Generation;
    if (filing == TFiling::Generation || filing == TFiling::InodeOnly)
        identity.Birth.reset();
    if (filing == TFiling::InodeOnly)
        identity.Generation.reset();
    const std::string entry = vx::FileCopyUnder(identity, Tag, copy, vx::DigestOf(CopyText), vx::DigestOf(Earlier));
    EXPECT_FALSE(entry.empty()) << "the copy could not be filed";
    return entry;
}

// A document with two names, site/d.htm and (unless told otherwise)
// site/sub/d-link.htm, whose save through d.htm was cut off with the file
// holding held.
TScene CutSave(const TempDir& dir, const std::string& held, TFiling filing = TFiling::Replaced,
               const std::string& link = "site/sub/d-link.htm")
{
    fs::create_directories(dir.file("site"));
    fs::create_directories(fs::path(dir.file(link)).parent_path());
    const std::string document = dir.file("site/d.htm");
    writeFile(document, held);
    fs::create_hard_link(document, dir.file(link));
    const std::string copy = document + ".vxcopy-" + Tag;
    writeFile(copy, CopyText);
    return TScene{document, copy, File(document, copy, filing)};
}

TScene OpenedAs(TScene scene, const std::string& name)
{
    scene.Opened = name;
    return scene;
}

// Brings the site back as cp -a restores a backup: the same names on new
// files (the old ones live on meanwhile, so the inodes are new), the two
// names of the document one file again.
void RestoreSite(const TempDir& dir)
{
    fs::rename(dir.file("site"), dir.file("site.old"));
    fs::copy(dir.file("site.old"), dir.file("site"), fs::copy_options::recursive);
    fs::remove(dir.file("site/sub/d-link.htm"));
    fs::create_hard_link(dir.file("site/d.htm"), dir.file("site/sub/d-link.htm"));
}

// The document renamed e.htm once its save was cut (leaving it holding
// cutTo), and a new file given its name, holding held.
TScene NameReused(const TempDir& dir, const std::string& held, TFiling filing = TFiling::Replaced,
                  const std::string& cutTo = Earlier)
{
    TScene scene = CutSave(dir, cutTo, filing);
    fs::rename(scene.Opened, dir.file("site/e.htm"));
    writeFile(scene.Opened, held);
    return scene;
}

// The copy of another document, b101.html, filed under the inode of a file
// holding held, as when the document was deleted and its inode given to it.
TScene ReusedInode(const TempDir& dir, TFiling filing, const std::string& held = "the user's own page")
{
    const std::string unrelated = dir.file("b1.html");
    writeFile(unrelated, held);
    const std::string copy = dir.file("b101.html.vxcopy-" + Tag);
    writeFile(copy, CopyText);
    return TScene{unrelated, copy, File(unrelated, copy, filing)};
}

// What opening the file finds of the copy: nothing, a copy offered in its
// place (which a save sets aside too), or one only told of.
enum class TFound { Nothing, Offered, Told };

struct TCase {
    const char* What;
    std::function<TScene(const TempDir&)> Make;
    TFound Found;
};

void ExpectFound(const std::vector<TCase>& cases, const std::string& parent);

bool Lists(const std::vector<std::string>& copies, const std::string& copy)
{
    return std::any_of(copies.begin(), copies.end(), [&](const std::string& c) { return vx::SameFile(c, copy); });
}

} // namespace

TEST(WholeCopyOwner, ACopyIsOfferedWhereTheFileHoldsWhatItsSaveLeftAndOnlyThere)
{
    const std::string cut = CopyText.substr(0, 12);
    const std::vector<TCase> cases = {
        {"opened by the name the copy was made beside, cut short",
         [&](const TempDir& dir) { return CutSave(dir, cut); }, TFound::Offered},
        {"opened by its other name, holding the text the save replaced",
         [](const TempDir& dir) { return OpenedAs(CutSave(dir, Earlier), dir.file("site/sub/d-link.htm")); },
         TFound::Offered},
        {"an empty file", [](const TempDir& dir) { return CutSave(dir, ""); }, TFound::Offered},
        {"the name given to a new document: the new file keeps its text",
         [](const TempDir& dir) { return NameReused(dir, "<p>NEWDOC: another document</p>"); }, TFound::Told},
        {"the name given to an empty file: the copy stays the renamed document's",
         [](const TempDir& dir) { return NameReused(dir, ""); }, TFound::Told},
        {"the name given to a file holding the copy's first lines: the copy stays the renamed document's",
         [&](const TempDir& dir) { return NameReused(dir, cut); }, TFound::Told},
        {"the inode alone filed: the name given to an empty file, the renamed document cut short",
         [&](const TempDir& dir) { return NameReused(dir, "", TFiling::InodeOnly, cut); }, TFound::Told},
        {"the inode alone filed: the name given to an empty file, the renamed document cut to nothing",
         [](const TempDir& dir) { return NameReused(dir, "", TFiling::InodeOnly, ""); }, TFound::Told},
        {"the inode alone filed: the renamed document holding the text the save replaced is offered its copy",
         [](const TempDir& dir) { return OpenedAs(NameReused(dir, "", TFiling::InodeOnly), dir.file("site/e.htm")); },
         TFound::Offered},
        {"the inode alone filed: another document's copy on a reused inode",
         [](const TempDir& dir) { return ReusedInode(dir, TFiling::InodeOnly); }, TFound::Nothing},
        {"the name given to a new document: the renamed document is offered its copy",
         [](const TempDir& dir) {
             return OpenedAs(NameReused(dir, "<p>NEWDOC: another document</p>"), dir.file("site/e.htm"));
         },
         TFound::Offered},
        {"the folder restored by cp -a, opened by the other name",
         [](const TempDir& dir) {
             const TScene scene = CutSave(dir, Earlier);
             RestoreSite(dir);
             return OpenedAs(scene, dir.file("site/sub/d-link.htm"));
         },
         TFound::Offered},
        {"the folder restored by cp -a, cut to nothing, opened by the other name",
         [](const TempDir& dir) {
             const TScene scene = CutSave(dir, "");
             RestoreSite(dir);
             return OpenedAs(scene, dir.file("site/sub/d-link.htm"));
         },
         TFound::Offered},
        {"the other name in another folder, the copy's folder renamed",
         [](const TempDir& dir) {
             TScene scene = CutSave(dir, Earlier, TFiling::Replaced, "other/d-link.htm");
             fs::rename(dir.file("site"), dir.file("site2"));
             scene.Copy = dir.file("site2/d.htm.vxcopy-" + Tag);
             return OpenedAs(scene, dir.file("other/d-link.htm"));
         },
         TFound::Offered},
        {"the folder renamed, opened by the other name",
         [](const TempDir& dir) {
             TScene scene = CutSave(dir, Earlier);
             fs::rename(dir.file("site"), dir.file("moved"));
             scene.Copy = dir.file("moved/d.htm.vxcopy-" + Tag);
             return OpenedAs(scene, dir.file("moved/sub/d-link.htm"));
         },
         TFound::Offered},
        {"the inode alone filed, the first name renamed, the other name opened, cut short",
         [&](const TempDir& dir) {
             TScene scene = CutSave(dir, cut, TFiling::InodeOnly);
             fs::rename(scene.Opened, dir.file("site/renamed.htm"));
             return OpenedAs(scene, dir.file("site/sub/d-link.htm"));
         },
         TFound::Offered},
        {"a copy filed nowhere, beside its document cut short",
         [&](const TempDir& dir) { return CutSave(dir, cut, TFiling::None); }, TFound::Offered},
        {"a copy filed nowhere, its document written again since",
         [](const TempDir& dir) {
             const TScene scene = CutSave(dir, Earlier, TFiling::None);
             writeFile(scene.Opened, "a later text");
             return scene;
         },
         TFound::Told},
        {"another document's copy on a reused inode",
         [](const TempDir& dir) { return ReusedInode(dir, TFiling::DeletedFile); }, TFound::Nothing},
        {"another document's copy on a reused inode, the file empty",
         [](const TempDir& dir) { return ReusedInode(dir, TFiling::DeletedFile, ""); }, TFound::Nothing},
        {"the inode alone filed: another document's copy on a reused inode, the file empty",
         [](const TempDir& dir) { return ReusedInode(dir, TFiling::InodeOnly, ""); }, TFound::Nothing},
    };
    ExpectFound(cases, {});
}

// Where the file system keeps no birth time, the inode's generation tells
// the document from a file given its inode since.
TEST(WholeCopyOwner, WithoutBirthTimesTheGenerationTellsTheOwner)
{
    // What both identities tell must agree; what one does not tell, cannot disagree.
    const vx::TFileIdentity born{1, 2, vx::TBirthTime{100, 5}, std::nullopt};
    const vx::TFileIdentity generation{1, 2, std::nullopt, 7};
    const vx::TFileIdentity bare{1, 2, std::nullopt, std::nullopt};
    EXPECT_FALSE(vx::SameFile(generation, vx::TFileIdentity{1, 2, std::nullopt, 8}));
    EXPECT_FALSE(vx::SameFile(born, vx::TFileIdentity{1, 2, vx::TBirthTime{100, 6}, std::nullopt}));
    EXPECT_FALSE(vx::SameFile(bare, vx::TFileIdentity{1, 3, std::nullopt, std::nullopt}));
    EXPECT_TRUE(vx::SameFile(generation, bare));
    EXPECT_TRUE(vx::SameFile(born, generation));

    const vx::test::NoBirthTimeFileSystem noBirth;
    if (!noBirth.Mounted())
        GTEST_SKIP() << noBirth.Why();
    {
        const TempDir probe(noBirth.Root(), "probe");
        writeFile(probe.file("f"), "");
        const vx::TFileIdentity identity = Identity(probe.file("f"));
        ASSERT_FALSE(identity.Birth) << "the file system was to keep no birth times";
        ASSERT_TRUE(identity.Generation) << "ext4 keeps generations";
    }
    ExpectFound(
        {
            {"the name given to an empty file, the renamed document cut to nothing",
             [](const TempDir& dir) { return NameReused(dir, "", TFiling::Generation, ""); }, TFound::Told},
            {"the renamed document cut to nothing is offered its copy",
             [](const TempDir& dir) {
                 return OpenedAs(NameReused(dir, "", TFiling::Generation, ""), dir.file("site/e.htm"));
             },
             TFound::Offered},
            {"another document's copy on a reused inode",
             [](const TempDir& dir) { return ReusedInode(dir, TFiling::DeletedFile); }, TFound::Nothing},
            {"another document's copy on a reused inode, the file empty",
             [](const TempDir& dir) { return ReusedInode(dir, TFiling::DeletedFile, ""); }, TFound::Nothing},
        },
        noBirth.Root());
}

namespace {

// Opens each case's scene, made in a folder in parent (the system's temporary
// folder where none is given), and checks what is found.
void ExpectFound(const std::vector<TCase>& cases, const std::string& parent)
{
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        const TempDir dir(parent.empty() ? fs::temp_directory_path() : fs::path(parent), "vellumix-test");
        const TScene scene = c.Make(dir);
        const std::string text = readFile(scene.Opened);
        const std::vector<vx::TWholeCopy> copies = vx::WholeCopiesOf(scene.Opened, text, vx::FiledCopies());
        ASSERT_EQ(copies.size(), c.Found == TFound::Nothing ? 0u : 1u);
        if (!copies.empty()) {
            EXPECT_TRUE(vx::SameFile(copies[0].Path, scene.Copy));
            EXPECT_EQ(copies[0].Standing != vx::TCopyStanding::Other, c.Found == TFound::Offered);
            EXPECT_EQ(copies[0].Text, c.Found == TFound::Offered ? CopyText : "") << "read where it is offered";
        }
        EXPECT_EQ(Lists(vx::CopiesASaveSupersedes(scene.Opened), scene.Copy), c.Found == TFound::Offered)
            << "set aside by a save";
        EXPECT_EQ(readFile(scene.Opened), text);
        EXPECT_EQ(readFile(scene.Copy), CopyText) << "a copy stays where it is, offered or not";
        EXPECT_EQ(fs::exists(fs::symlink_status(scene.Entry)), !scene.Entry.empty())
            << "an entry stays until its own document answers";

        // Declined by its own document: set aside, and its entry goes with it.
        if (c.Found == TFound::Offered) {
            vx::SetAsideWholeCopy(copies[0].Path);
            EXPECT_EQ(readFile(vx::KeptAsideName(copies[0].Path)), CopyText);
            EXPECT_FALSE(fs::exists(fs::symlink_status(scene.Entry)));
        }
        // Later scenes may have files on the same inodes.
        ::unlink(scene.Entry.c_str());
    }
}

} // namespace

TEST(WholeCopyOwner, ACopyNamesTheFileItWasMadeBeside)
{
    EXPECT_EQ(vx::CopiedFileName("/docs/b101.html.vxcopy-Ab12Cd"), "/docs/b101.html");
    EXPECT_EQ(vx::CopiedFileName("/docs/a.vxcopy-Zz.html.vxcopy-Ab12Cd"), "/docs/a.vxcopy-Zz.html");
    EXPECT_EQ(vx::CopiedFileName("/docs/b101.html"), "");

    // A name too long to take a marker is cut short in its helpers' names,
    // at the start of a character, and found again from them.
    TempDir dir;
    std::string accented = "nn";
    for (int i = 0; i < 126; ++i)
        accented += "\xc3\xa9";
    const struct {
        std::string Name;
        std::size_t Stem;
    } rows[] = {
        {std::string(236, 'n') + ".html", 241},
        {std::string(237, 'n') + ".html", 241},
        {std::string(250, 'n') + ".html", 241},
        {accented, 240},
    };
    for (const auto& row : rows) {
        const std::string file = dir.file(row.Name);
        writeFile(file, "x");
        const std::string copy = vx::WholeCopyName(file, Tag);
        const std::string name = fs::path(copy).filename().string();
        EXPECT_EQ(name.size(), row.Stem + 14) << row.Name.size() << " bytes";
        EXPECT_EQ(name.substr(0, row.Stem), row.Name.substr(0, row.Stem));
        EXPECT_EQ(vx::CopiedFileName(copy), file) << row.Name.size() << " bytes";
        EXPECT_EQ(fs::path(vx::TemporaryOfCopy(copy)).filename().string().size(), row.Stem + 13);
        fs::remove(file);
    }
}

TEST(WholeCopyOwner, ACopyThatCannotBeReadIsToldOf)
{
    TempDir dir;
    const std::string document = dir.file("d.htm");
    writeFile(document, "cut");
    const std::string copy = document + ".vxcopy-" + Tag;
    writeFile(copy, CopyText);
    ::chmod(copy.c_str(), 0200);
    vx::test::GiveToUnprivileged(dir.path().string());
    const int result = vx::test::RunUnprivileged([&] {
        const std::vector<vx::TWholeCopy> copies = vx::WholeCopiesOf(document, "cut", vx::FiledCopies());
        if (copies.size() != 1)
            return 1;
        return copies[0].Standing == vx::TCopyStanding::Unreadable && copies[0].Unread.English().find(copy) != std::string::npos ? 0 : 2;
    });
    EXPECT_EQ(result, 0) << "1: left out, 2: not told why";

    // Nor is one that no longer holds the text its save filed.
    TempDir damaged;
    const TScene scene = CutSave(damaged, CopyText.substr(0, 12));
    writeFile(scene.Copy, CopyText + "and bytes no save wrote");
    const std::vector<vx::TWholeCopy> copies = vx::WholeCopiesOf(scene.Opened, readFile(scene.Opened), vx::FiledCopies());
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].Standing, vx::TCopyStanding::Unreadable);
    EXPECT_EQ(copies[0].Unread.English(), scene.Copy + " does not hold the text its save filed");
    ::unlink(scene.Entry.c_str());
}

TEST(WholeCopyOwner, ACopyTheFileHoldsGoesWithItsEntry)
{
    TempDir dir;
    const TScene scene = CutSave(dir, CopyText);
    fs::create_directories(dir.file("other"));
    writeFile(dir.file("other/c.htm"), Earlier);
    fs::create_hard_link(dir.file("other/c.htm"), dir.file("other/c-link.htm"));
    const std::string otherCopy = dir.file("other/c.htm.vxcopy-" + Tag);
    writeFile(otherCopy, CopyText);
    const std::string otherEntry = File(dir.file("other/c.htm"), otherCopy, TFiling::Replaced);

    const std::vector<vx::TWholeCopy> held = vx::WholeCopiesOf(scene.Opened, CopyText, vx::FiledCopies());
    ASSERT_EQ(held.size(), 1u);
    EXPECT_EQ(held[0].Standing, vx::TCopyStanding::Whole);
    vx::RemoveWholeCopy(scene.Copy);
    EXPECT_FALSE(fs::exists(scene.Copy));
    EXPECT_FALSE(fs::exists(fs::symlink_status(scene.Entry)));
    EXPECT_TRUE(fs::exists(otherEntry)) << "another file's copy, of the same tag";
    EXPECT_EQ(vx::WholeCopiesOf(dir.file("other/c-link.htm"), Earlier, vx::FiledCopies()).size(), 1u);
    ::unlink(otherEntry.c_str());
}

TEST(WholeCopyOwner, Sha256GivesTheStandardDigestsHoweverTheTextIsFed)
{
    const std::string million(1000000, 'a');
    const struct {
        std::string Text;
        const char* Digest;
    } rows[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {million, "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(vx::Sha256Hex(row.Text), row.Digest) << row.Text.size() << " bytes";
        vx::TSha256 pieces;
        for (std::size_t at = 0, piece = 1; at < row.Text.size(); at += piece, piece = piece * 3 % 97 + 1)
            pieces.Add(std::string_view(row.Text).substr(at, piece));
        EXPECT_EQ(pieces.HexDigest(), row.Digest) << row.Text.size() << " bytes in pieces";
    }
}

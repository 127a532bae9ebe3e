// What a file holds decides whose a whole copy is: a copy is offered in place
// of a file's text only where the file holds what the copy's cut save left
// (the start of the copy's text, or the text the save was replacing), however
// the file was found; a copy of other text beside a name of the file is told
// of, one found elsewhere is another file's; neither is touched, and its
// entry stays for its own document.
#include "platform/CopyIndex.h"
#include "platform/FileIO.h"
#include "platform/ProgramPaths.h"
#include "platform/Sha256.h"
#include "platform/WholeCopies.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
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

vx::TReplacedText ReplacedBy(const std::string& text)
{
    return {text.size(), vx::Sha256Hex(text)};
}

TEST(WholeCopyOwner, WhatTheFileHoldsTiesItToTheCopy)
{
    using enum vx::TCopyStanding;
    const std::optional<vx::TReplacedText> filed = ReplacedBy(Earlier);
    const struct {
        const char* What;
        std::string File;
        std::optional<vx::TReplacedText> Replaced;
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
    };
    for (const auto& row : rows)
        EXPECT_EQ(vx::StandingOf(row.File, CopyText, row.Replaced), row.Standing) << row.What;
}

// A cut save as the index files it: with the text the file held (Earlier),
// as earlier versions filed it (a symbolic link, nothing more), or not at all.
enum class TFiling { Replaced, EarlierVersion, None };

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
    const vx::TFileIdentity identity = Identity(identityOf);
    if (filing == TFiling::Replaced) {
        const std::string entry = vx::FileCopyUnder(identity, Tag, copy, ReplacedBy(Earlier));
        EXPECT_FALSE(entry.empty()) << "the copy could not be filed";
        return entry;
    }
    const std::string folder = vx::JoinPath(vx::DataFolder(), "whole-copies");
    fs::create_directories(folder);
    const std::string entry =
        vx::JoinPath(folder, std::to_string(identity.Device) + "-" + std::to_string(identity.Inode) + "-" + Tag);
    fs::create_symlink(copy, entry);
    return entry;
}

// A document with two names, site/d.htm and site/sub/d-link.htm, whose save
// through d.htm was cut off with the file holding held.
TScene CutSave(const TempDir& dir, const std::string& held, TFiling filing = TFiling::Replaced)
{
    fs::create_directories(dir.file("site/sub"));
    const std::string document = dir.file("site/d.htm");
    writeFile(document, held);
    fs::create_hard_link(document, dir.file("site/sub/d-link.htm"));
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

// The copy of another document, b101.html, filed under the inode of a file
// of other text, as when the document was deleted and its inode given to it.
TScene ReusedInode(const TempDir& dir, TFiling filing)
{
    const std::string unrelated = dir.file("b1.html");
    writeFile(unrelated, "the user's own page");
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
         [](const TempDir& dir) {
             TScene scene = CutSave(dir, Earlier);
             fs::rename(scene.Opened, dir.file("site/e.htm"));
             writeFile(scene.Opened, "<p>NEWDOC: another document</p>");
             return scene;
         },
         TFound::Told},
        {"the name given to a new document: the renamed document is offered its copy",
         [](const TempDir& dir) {
             TScene scene = CutSave(dir, Earlier);
             fs::rename(scene.Opened, dir.file("site/e.htm"));
             writeFile(scene.Opened, "<p>NEWDOC: another document</p>");
             return OpenedAs(scene, dir.file("site/e.htm"));
         },
         TFound::Offered},
        {"the folder restored by cp -a, opened by the other name",
         [](const TempDir& dir) {
             const TScene scene = CutSave(dir, Earlier);
             RestoreSite(dir);
             return OpenedAs(scene, dir.file("site/sub/d-link.htm"));
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
        {"an earlier version's entry, the first name renamed, the other name opened, cut short",
         [&](const TempDir& dir) {
             TScene scene = CutSave(dir, cut, TFiling::EarlierVersion);
             fs::rename(scene.Opened, dir.file("site/renamed.htm"));
             return OpenedAs(scene, dir.file("site/sub/d-link.htm"));
         },
         TFound::Offered},
        {"an earlier version's entry, holding the text the save replaced: nothing ties them",
         [](const TempDir& dir) { return CutSave(dir, Earlier, TFiling::EarlierVersion); }, TFound::Told},
        {"a copy filed nowhere, beside its document cut short",
         [&](const TempDir& dir) { return CutSave(dir, cut, TFiling::None); }, TFound::Offered},
        {"a copy filed nowhere, its document written again since",
         [](const TempDir& dir) {
             const TScene scene = CutSave(dir, Earlier, TFiling::None);
             writeFile(scene.Opened, "a later text");
             return scene;
         },
         TFound::Told},
        {"another document's copy on a reused inode", [](const TempDir& dir) { return ReusedInode(dir, TFiling::Replaced); },
         TFound::Nothing},
        {"an earlier version's entry of another document on a reused inode",
         [](const TempDir& dir) { return ReusedInode(dir, TFiling::EarlierVersion); }, TFound::Nothing},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TempDir dir;
        const TScene scene = c.Make(dir);
        const std::string text = readFile(scene.Opened);
        const std::vector<vx::TWholeCopy> copies = vx::WholeCopiesOf(scene.Opened, text);
        ASSERT_EQ(copies.size(), c.Found == TFound::Nothing ? 0u : 1u);
        if (!copies.empty()) {
            EXPECT_TRUE(vx::SameFile(copies[0].Path, scene.Copy));
            EXPECT_EQ(copies[0].Text, CopyText);
            EXPECT_EQ(copies[0].Standing != vx::TCopyStanding::Other, c.Found == TFound::Offered);
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
            EXPECT_EQ(readFile(vx::SetAsideName(copies[0].Path)), CopyText);
            EXPECT_FALSE(fs::exists(fs::symlink_status(scene.Entry)));
        }
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
    const TScene scene = CutSave(dir, CopyText);
    fs::create_directories(dir.file("other"));
    writeFile(dir.file("other/c.htm"), Earlier);
    fs::create_hard_link(dir.file("other/c.htm"), dir.file("other/c-link.htm"));
    const std::string otherCopy = dir.file("other/c.htm.vxcopy-" + Tag);
    writeFile(otherCopy, CopyText);
    const std::string otherEntry = File(dir.file("other/c.htm"), otherCopy, TFiling::Replaced);

    const std::vector<vx::TWholeCopy> held = vx::WholeCopiesOf(scene.Opened, CopyText);
    ASSERT_EQ(held.size(), 1u);
    EXPECT_EQ(held[0].Standing, vx::TCopyStanding::Whole);
    vx::RemoveWholeCopy(scene.Copy);
    EXPECT_FALSE(fs::exists(scene.Copy));
    EXPECT_FALSE(fs::exists(fs::symlink_status(scene.Entry)));
    EXPECT_TRUE(fs::exists(otherEntry)) << "another file's copy, of the same tag";
    EXPECT_EQ(vx::WholeCopiesOf(dir.file("other/c-link.htm"), Earlier).size(), 1u);
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

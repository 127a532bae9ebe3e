// Recovery copies: their file format, when a copy is written and removed,
// which runs' copies a start offers, and the whole round through the window:
// typed text survives a run that ends without saving, restored on request.
#include "tests/shell/ShellFixture.h"

#include "tests/shell/TextFit.h"
#include "tests/support/Patience.h"
#include "tests/support/TypeText.h"
#include "tests/support/Unprivileged.h"

#include "platform/FileIO.h"
#include "platform/Utf8.h"
#include "shell/Recovery.h"

#include <QLabel>
#include <QTabWidget>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <random>
#include <sys/stat.h>

using namespace vx::shell;
using vx::test::ShellTest;
using vx::test::TempDir;

namespace fs = std::filesystem;

namespace {

TRecoveryRecord Record(TRecoveryPlace place, std::string fileName, std::string text)
{
    TRecoveryRecord record;
    record.Place = place;
    record.FileName = std::move(fileName);
    record.Stamp = {true, 12, -3};
    record.Text = std::move(text);
    return record;
}

// The copies in a folder, by name.
std::vector<std::string> CopiesIn(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(folder, ignored))
        if (entry.path().extension() == ".vxr")
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// What a run killed at this moment leaves: its copies in a folder no live run locks.
std::string LeaveAsKilled(const std::string& folder, const std::string& root)
{
    const std::string left = root + "/run-killed";
    fs::create_directories(left);
    for (const std::string& name : CopiesIn(folder))
        fs::copy_file(folder + "/" + name, left + "/" + name);
    return left;
}

// The bytes with the first from replaced by to.
std::string Damage(std::string bytes, std::string_view from, std::string_view to)
{
    bytes.replace(bytes.find(from), from.size(), to);
    return bytes;
}

// A copy as the earlier version wrote it, of slot 2 of /d/page.htm: the bytes of the file.
std::string EarlierVersionBytes(const std::string& fileBytes)
{
    return "VELLUMIX RECOVERY 1\nslot 2\n11\n/d/page.htm\nstamp 1 12 -3\n" + std::to_string(fileBytes.size()) +
           "\n" + fileBytes + "\n";
}

} // namespace

TEST(RecoveryRecord, ReadsBackWhatItWroteAndNothingDamaged)
{
    const TRecoveryRecord records[] = {
        Record({false, 3}, "/docs/caf\xC3\xA9 page.htm", "line\r\nnext\n\0end"),
        Record({true, 12}, "", ""),
        Record({false, 1}, "name\nwith break", std::string(5000, '\n')),
    };
    for (const TRecoveryRecord& record : records) {
        const std::string bytes = RecoveryBytes(record);
        const auto back = ParseRecovery(bytes);
        ASSERT_TRUE(back) << bytes;
        EXPECT_EQ(back->Place, record.Place);
        EXPECT_EQ(back->FileName, record.FileName);
        EXPECT_EQ(back->Stamp, record.Stamp);
        EXPECT_EQ(back->Text, record.Text);
        for (std::size_t cut = 0; cut < bytes.size(); cut += 1 + cut / 8)
            EXPECT_FALSE(ParseRecovery(std::string_view(bytes).substr(0, cut))) << "cut at " << cut;
        EXPECT_FALSE(ParseRecovery(bytes + "x")) << "trailing bytes";
    }
    const std::string bytes = RecoveryBytes(records[0]);
    for (const auto& [from, to] : std::initializer_list<std::pair<const char*, const char*>>{
             {"slot 3", "slot 0"},
             {"slot 3", "pane 3"},
             {"stamp 1", "stamp 2"},
             {"RECOVERY 2", "RECOVERY 9"},
             {"encoding UTF-8", "encoding ISO-8859-2"},
             {"mark 0", "mark 2"},
             {"\n11\nline", "\n10\nline"},
             {"next", "n\xE9xt"}}) {
        EXPECT_FALSE(ParseRecovery(Damage(bytes, from, to))) << to;
    }
    // Random damage, to a record of this version or the earlier one, never
    // reads past the bytes (the sanitizers watch) and yields a record or none;
    // a record it yields holds a text the editor can take: UTF-8, whatever
    // the encoding its file is stored in.
    std::mt19937 random(4);
    int accepted = 0;
    for (const std::string& intact : {bytes, EarlierVersionBytes("caf\xE9\r\n")}) {
        for (int round = 0; round < 2000; ++round) {
            std::string noise = intact;
            for (int flips = 1 + static_cast<int>(random() % 4); flips > 0; --flips)
                noise[random() % noise.size()] = static_cast<char>(random());
            if (round % 2 == 0)
                noise.resize(random() % (noise.size() + 1));
            if (const auto back = ParseRecovery(noise)) {
                ++accepted;
                EXPECT_TRUE(vx::utf8::IsValid(back->Text)) << noise;
            }
        }
    }
    EXPECT_GT(accepted, 100) << accepted << ": the damage left too few records whole to judge them";
}

namespace {

// A record's text and how its file stores it.
struct StoredText {
    std::string text;
    vx::TTextEncoding encoding;
    bool mark;
};

void ExpectStoredText(const std::optional<TRecoveryRecord>& back, const StoredText& expected, const std::string& row)
{
    ASSERT_TRUE(back) << row;
    EXPECT_EQ(back->Text, expected.text) << row;
    EXPECT_EQ(back->Encoding, expected.encoding) << row;
    EXPECT_EQ(back->ByteOrderMark, expected.mark) << row;
}

} // namespace

// A copy gives back the text with the encoding and mark of its file, whatever
// the text's bytes would look like to a guess, and even a character the
// encoding cannot store.
TEST(RecoveryRecord, KeepsTheTextWithItsFilesEncodingAndMark)
{
    const std::pair<const char*, StoredText> rows[] = {
        {"UTF-8", {"caf\xC3\xA9\r\n", vx::TTextEncoding::Utf8, false}},
        {"UTF-8 with the mark", {"<p>caf\xC3\xA9</p>\r\n", vx::TTextEncoding::Utf8, true}},
        {"Windows-1252 of ASCII only", {"<p>caf</p>\r\n", vx::TTextEncoding::Windows1252, false}},
        {"Windows-1252 that reads as UTF-8", {"\xC3\x83\xC2\xA9", vx::TTextEncoding::Windows1252, false}},
        {"Windows-1252 with a character it cannot store",
         {"caf\xC3\xA9 \xCE\xB1", vx::TTextEncoding::Windows1252, false}},
        {"an empty text", {"", vx::TTextEncoding::Utf8, true}},
    };
    for (const auto& [name, stored] : rows) {
        TRecoveryRecord record = Record({false, 2}, "/d/page.htm", stored.text);
        record.Encoding = stored.encoding;
        record.ByteOrderMark = stored.mark;
        ExpectStoredText(ParseRecovery(RecoveryBytes(record)), stored, name);
    }
}

// A copy an earlier version wrote holds the file's bytes: they are read as the
// file would be.
TEST(RecoveryRecord, ACopyOfTheEarlierVersionIsReadAsItsFileWouldBe)
{
    const std::pair<std::string, StoredText> rows[] = {
        {"caf\xE9\r\n", {"caf\xC3\xA9\r\n", vx::TTextEncoding::Windows1252, false}},
        {"caf\xC3\xA9\n", {"caf\xC3\xA9\n", vx::TTextEncoding::Utf8, false}},
        {"\xEF\xBB\xBF<p>\r\n", {"<p>\r\n", vx::TTextEncoding::Utf8, true}},
        {"", {"", vx::TTextEncoding::Utf8, false}},
    };
    for (const auto& [bytes, stored] : rows) {
        const std::string earlier = EarlierVersionBytes(bytes);
        const auto back = ParseRecovery(earlier);
        ExpectStoredText(back, stored, bytes);
        if (!back)
            continue;
        EXPECT_EQ(back->Place, (TRecoveryPlace{false, 2}));
        EXPECT_EQ(back->FileName, "/d/page.htm");
        EXPECT_EQ(back->Stamp, (TFileStamp{true, 12, -3}));
        EXPECT_FALSE(ParseRecovery(earlier.substr(0, earlier.size() - 1))) << "cut short";
    }
}

TEST(RecoveryKeeper, ACopyFollowsAPauseGoesWithTheChangesAndWithTheRun)
{
    TempDir root("vellumix-recovery");
    int key = 0;
    std::string text = "typed";
    const auto make = [&] { return Record({false, 2}, "", text); };
    std::string folder;
    {
        TRecoveryKeeper keeper(root.path().string(), 2);
        const TRecoveryPlace place{false, 2};
        keeper.Look(&key, place, true, 1, false, make);
        keeper.Look(&key, place, true, 2, false, make);
        keeper.Look(&key, place, true, 2, false, make);
        EXPECT_TRUE(keeper.Folder().empty()) << "still typing: no copy";
        keeper.Look(&key, place, true, 2, false, make);
        folder = keeper.Folder();
        ASSERT_EQ(CopiesIn(folder), std::vector<std::string>{"slot-2.vxr"}) << "two looks without a change";
        EXPECT_EQ(ParseRecovery(vx::ReadWholeFile(folder + "/slot-2.vxr"))->Text, "typed");

        text = "typed more";
        keeper.Look(&key, place, true, 3, true, make);
        EXPECT_EQ(ParseRecovery(vx::ReadWholeFile(folder + "/slot-2.vxr"))->Text, "typed more") << "flushed at once";
        keeper.Look(&key, place, false, 4, false, make);
        EXPECT_TRUE(CopiesIn(folder).empty()) << "saved: the copy goes";
        keeper.Look(&key, place, true, 5, true, make);
        keeper.Drop(&key, place);
        EXPECT_TRUE(CopiesIn(folder).empty()) << "closed: the copy goes";
        keeper.Look(&key, place, true, 6, true, make);
        vx::test::writeFile(folder + "/slot-3.vxr", "cut sh");
        const TLeftRecovery live(root.path().string());
        EXPECT_TRUE(live.Copies().empty()) << "a live run's copies are not offered";
        EXPECT_TRUE(live.SetAside().empty());
        EXPECT_EQ(CopiesIn(folder), (std::vector<std::string>{"slot-2.vxr", "slot-3.vxr"})) << "nor touched";
    }
    EXPECT_FALSE(fs::exists(folder)) << "a run that ends normally takes its copies along";
}

// The copy an earlier run left of a text restored here goes once this run
// holds the text on disk, or the text is saved, closed or discarded, or this
// run ends normally; until then no other start offers it.
TEST(RecoveryKeeper, AnEarlierRunsCopyGoesOnceThisRunHoldsOrDropsItsText)
{
    TempDir root("vellumix-recovery");
    const std::string killed = root.file("run-killed");
    fs::create_directories(killed);
    for (int slot = 1; slot <= 5; ++slot)
        vx::test::writeFile(killed + "/slot-" + std::to_string(slot) + ".vxr",
                            RecoveryBytes(Record({false, slot}, "", "text " + std::to_string(slot))));
    // This run's own copies cannot be written until the file in their way goes.
    const std::string blocker = root.file("blocker");
    vx::test::writeFile(blocker, "in the way");
    const std::string ownRoot = blocker + "/recovery";
    int editors[4] = {};
    const auto restore = [&](TRecoveryKeeper& keeper, int first, int count) {
        auto left = std::make_unique<TLeftRecovery>(root.path().string());
        std::vector<std::pair<const void*, std::string>> restored;
        for (int i = first; i < first + count; ++i)
            restored.emplace_back(&editors[i], left->Copies()[static_cast<std::size_t>(i - first)].Path);
        keeper.Adopt(std::move(left), restored);
    };
    const auto make = [] { return Record({false, 1}, "", "typed"); };
    {
        TRecoveryKeeper keeper(ownRoot, 2);
        restore(keeper, 0, 3);
        EXPECT_TRUE(TLeftRecovery(root.path().string()).Copies().empty()) << "held by this run";

        keeper.Drop(&editors[0], {false, 1});
        EXPECT_EQ(CopiesIn(killed), (std::vector<std::string>{"slot-2.vxr", "slot-3.vxr", "slot-4.vxr", "slot-5.vxr"}))
            << "saved or closed";
        keeper.Look(&editors[1], {false, 2}, false, 1, false, make);
        EXPECT_EQ(CopiesIn(killed), (std::vector<std::string>{"slot-3.vxr", "slot-4.vxr", "slot-5.vxr"}))
            << "no unsaved text any more";
        EXPECT_THROW(keeper.Look(&editors[2], {false, 3}, true, 1, true, make), Exception);
        EXPECT_EQ(CopiesIn(killed), (std::vector<std::string>{"slot-3.vxr", "slot-4.vxr", "slot-5.vxr"}))
            << "this run could not keep the text: the earlier copy stays";
        EXPECT_TRUE(TLeftRecovery(root.path().string()).Copies().empty()) << "still held by this run";
        fs::remove(blocker);
        keeper.Look(&editors[2], {false, 3}, true, 2, true, make);
        EXPECT_EQ(CopiesIn(killed), (std::vector<std::string>{"slot-4.vxr", "slot-5.vxr"})) << "this run keeps it now";
        EXPECT_EQ(TLeftRecovery(root.path().string()).Copies().size(), 2u)
            << "none held any more: the rest is offered again";
    }
    {
        TRecoveryKeeper keeper(ownRoot, 2);
        restore(keeper, 3, 1);
        keeper.Look(&editors[3], {false, 4}, true, 1, false, make);
    }
    EXPECT_EQ(CopiesIn(killed), std::vector<std::string>{"slot-5.vxr"}) << "the run ended: the user decided";
    TLeftRecovery later(root.path().string());
    ASSERT_EQ(later.Copies().size(), 1u);
    EXPECT_EQ(later.Copies()[0].Record.Text, "text 5");
}

// A copy that could not be written (a full data folder) is not counted as
// written: not tried again every look, but written by the save that follows.
TEST(RecoveryKeeper, ACopyThatCouldNotBeWrittenIsWrittenByTheNextSave)
{
    TempDir root("vellumix-recovery");
    const std::string blocker = root.file("blocker");
    vx::test::writeFile(blocker, "in the way");
    TRecoveryKeeper keeper(blocker + "/recovery", 1);
    int key = 0;
    const TRecoveryPlace place{false, 1};
    const auto make = [] { return Record({false, 1}, "", "typed"); };
    EXPECT_THROW(keeper.Look(&key, place, true, 1, true, make), Exception);
    EXPECT_TRUE(keeper.Failing());
    fs::remove(blocker);
    keeper.Look(&key, place, true, 1, false, make);
    keeper.Look(&key, place, true, 1, false, make);
    EXPECT_TRUE(keeper.Folder().empty()) << "a failing disk is not tried again every look";
    keeper.Look(&key, place, true, 1, true, make);
    ASSERT_FALSE(keeper.Folder().empty()) << "the save's own flush wrote nothing";
    EXPECT_EQ(ParseRecovery(vx::ReadWholeFile(keeper.Folder() + "/slot-1.vxr"))->Text, "typed");
    EXPECT_FALSE(keeper.Failing());

    // A data folder the user may not write in: the copy says that its
    // folder could not be made, not what that left the next step to meet.
    const std::string shut = root.file("shut");
    fs::create_directories(shut);
    vx::test::GiveToUnprivileged(shut);
    ::chmod(shut.c_str(), 0555);
    const int result = vx::test::RunUnprivileged([&] {
        TRecoveryKeeper unwritable(shut + "/recovery", 1);
        try {
            unwritable.Look(&key, place, true, 1, true, make);
        } catch (const Exception& e) {
            return e.Message() == "Cannot create a folder in " + shut + "/recovery: Permission denied" ? 0 : 2;
        }
        return 1;
    });
    EXPECT_EQ(result, 0) << "1: written anyway, 2: another reason given";
}

// A run killed while it wrote a copy may have written it whole, flushed,
// before it named it: it holds the latest text of its document, which may
// be in no other copy, and is offered in place of the one it was to replace.
TEST(LeftRecovery, ACopyKilledBeforeItWasNamedIsOfferedWhereItIsWhole)
{
    TempDir root("vellumix-recovery");
    const std::string killed = root.file("run-killed");
    fs::create_directories(killed);
    vx::test::writeFile(killed + "/slot-1.vxr", RecoveryBytes(Record({false, 1}, "/d/one.htm", "typed")));
    vx::test::writeFile(killed + "/slot-1.vxr.vxtmp-a1b2c3",
                        RecoveryBytes(Record({false, 1}, "/d/one.htm", "typed and saved")));
    vx::test::writeFile(killed + "/slot-2.vxr.vxtmp-d4e5f6", RecoveryBytes(Record({false, 2}, "", "never named")));
    vx::test::writeFile(killed + "/slot-3.vxr", RecoveryBytes(Record({false, 3}, "/d/three.htm", "three")));
    {
        TLeftRecovery left(root.path().string());
        ASSERT_EQ(left.Copies().size(), 3u);
        EXPECT_EQ(left.Copies()[0].Record.Text, "typed and saved");
        EXPECT_EQ(left.Copies()[1].Record.Text, "never named");
        EXPECT_TRUE(left.SetAside().empty()) << "nothing damaged";
        // Restored and saved, the first two go; the folder stays for the third.
        left.Remove(left.Copies()[0].Path);
        left.Remove(left.Copies()[0].Path);
        left.Tidy();
    }
    // The next start after another abnormal end offers the third alone,
    // never the older text the first was to replace.
    {
        TLeftRecovery left(root.path().string());
        ASSERT_EQ(left.Copies().size(), 1u);
        EXPECT_EQ(left.Copies()[0].Record.Text, "three");
        left.Remove(left.Copies()[0].Path);
        left.Tidy();
    }
    EXPECT_FALSE(fs::exists(killed));
}

TEST(LeftRecovery, OffersWhatKilledRunsLeftAndTidiesUp)
{
    TempDir root("vellumix-recovery");
    const std::string killed = root.file("run-killed");
    fs::create_directories(killed);
    vx::test::writeFile(killed + "/workspace-1.vxr", RecoveryBytes(Record({true, 1}, "", "w")));
    vx::test::writeFile(killed + "/slot-4.vxr", RecoveryBytes(Record({false, 4}, "/d/four.htm", "4")));
    // Files that are no whole copy, in the killed run's folder and in one that
    // holds nothing else: kept aside as they are, never removed.
    const std::string whole = RecoveryBytes(Record({false, 2}, "/d/two.htm", "caf\xC3\xA9"));
    TRecoveryRecord unconverted = Record({false, 2}, "/d/two.htm", "caf\xE9");
    unconverted.Encoding = vx::TTextEncoding::Windows1252;
    const std::pair<std::string, std::string> damaged[] = {
        {"run-killed/slot-1.vxr", "damaged"},
        {"run-killed/slot-2.vxr", whole.substr(0, whole.size() - 3)},
        {"run-killed/slot-3.vxr", Damage(whole, "\n5\ncaf", "\n7\ncaf")},
        {"run-killed/slot-5.vxr", Damage(whole, "UTF-8", "UTF-16")},
        {"run-killed/workspace-2.vxr", RecoveryBytes(unconverted)},
        {"run-killed/slot-4.vxr.vxtmp-a1b2c3", whole.substr(0, 30)},
        {"run-unread/slot-1.vxr", Damage(EarlierVersionBytes("cut"), "\n3\ncut", "\n4\ncut")},
    };
    fs::create_directories(root.file("run-unread"));
    std::vector<std::string> keptAt;
    for (const auto& [name, bytes] : damaged) {
        vx::test::writeFile(root.file(name), bytes);
        keptAt.push_back(DamagedFolder(root.path().string()) + "/" + Damage(name, "/", "-"));
    }
    const std::string empty = root.file("run-empty");
    fs::create_directories(empty);
    const auto expectKeptAside = [&](const std::string& row) {
        for (std::size_t i = 0; i < std::size(damaged); ++i)
            EXPECT_EQ(vx::test::readFile(keptAt[i]), damaged[i].second) << row << " " << damaged[i].first;
    };
    {
        TLeftRecovery left(root.path().string());
        ASSERT_EQ(left.Copies().size(), 2u);
        EXPECT_EQ(left.Copies()[0].Record.FileName, "/d/four.htm") << "slots before workspaces";
        std::vector<std::string> setAside = left.SetAside();
        std::vector<std::string> expected = keptAt;
        std::sort(setAside.begin(), setAside.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(setAside, expected);
        expectKeptAside("set aside");
        EXPECT_FALSE(fs::exists(empty)) << "nothing to offer: removed";
        EXPECT_FALSE(fs::exists(root.file("run-unread"))) << "its copy kept aside, nothing to offer: removed";
        const TLeftRecovery other(root.path().string());
        EXPECT_TRUE(other.Copies().empty()) << "offered by one start at a time";
        EXPECT_TRUE(other.SetAside().empty()) << "told of once";
        left.Remove(left.Copies()[0].Path);
        left.Tidy();
        EXPECT_TRUE(fs::exists(killed)) << "the workspace's copy is still there";
    }
    TLeftRecovery again(root.path().string());
    ASSERT_EQ(again.Copies().size(), 1u) << "kept for the next start";
    EXPECT_TRUE(again.SetAside().empty()) << "told of once";
    again.Remove(again.Copies()[0].Path);
    again.Tidy();
    EXPECT_FALSE(fs::exists(killed));
    expectKeptAside("after the last copy went");
}

TEST(LeftRecovery, AFolderThatCannotBeWrittenIsOfferedByOneStartAtATime)
{
    TempDir root("vellumix-recovery");
    const std::string killed = root.file("run-killed");
    fs::create_directories(killed);
    vx::test::writeFile(killed + "/slot-4.vxr", RecoveryBytes(Record({false, 4}, "/d/four.htm", "4")));
    vx::test::GiveToUnprivileged(root.path().string());
    ::chmod(killed.c_str(), 0555);
    const int result = vx::test::RunUnprivileged([&] {
        const TLeftRecovery first(root.path().string());
        const TLeftRecovery second(root.path().string());
        return first.Copies().size() == 1 && second.Copies().empty() ? 0 : 1;
    });
    EXPECT_EQ(result, 0) << "two starts offered the same copies";
}

// A file that cannot be moved aside stays where it is, and so does its
// folder: a later start moves it.
TEST(LeftRecovery, TidyingKeepsAFolderWhoseDamagedCopyCouldNotBeMoved)
{
    TempDir root("vellumix-recovery");
    const std::string copy = root.file("run-killed/slot-1.vxr");
    fs::create_directories(root.file("run-killed"));
    vx::test::writeFile(copy, "cut sh");
    vx::test::writeFile(DamagedFolder(root.path().string()), "in the way");
    {
        TLeftRecovery left(root.path().string());
        EXPECT_EQ(left.SetAside(), std::vector<std::string>{copy});
        left.Tidy();
    }
    EXPECT_EQ(vx::test::readFile(copy), "cut sh");
    fs::remove(DamagedFolder(root.path().string()));
    const std::string aside = DamagedFolder(root.path().string()) + "/run-killed-slot-1.vxr";
    EXPECT_EQ(TLeftRecovery(root.path().string()).SetAside(), std::vector<std::string>{aside});
    EXPECT_EQ(vx::test::readFile(aside), "cut sh");
    EXPECT_FALSE(fs::exists(root.file("run-killed")));
}

namespace {

class RecoveryWindowTest : public ShellTest {
protected:
    // The slot's page in front and its editor focused.
    TmwCustomEdit* Front(int slot)
    {
        form->PageControl1->setCurrentIndex(slot - 1);
        Focus(form->SlotEditor(slot));
        return form->SlotEditor(slot);
    }
    void Type(int slot, const char* text) { QTest::keyClicks(Front(slot), text); }
    // The copies of the running program, once it has written count of them.
    std::vector<std::string> WaitForCopies(std::size_t count)
    {
        const auto written = [&] {
            return !form->RecoveryFolder().empty() && CopiesIn(form->RecoveryFolder()).size() == count;
        };
        EXPECT_TRUE(QTest::qWaitFor(written, vx::test::kPatienceMs)) << "no " << count << " copies were written";
        return form->RecoveryFolder().empty() ? std::vector<std::string>{} : CopiesIn(form->RecoveryFolder());
    }
};

} // namespace

TEST_F(RecoveryWindowTest, TypedTextOfThreeDocumentsComesBackAfterARunThatDied)
{
    const std::string first = WriteDoc("first.htm", "one\r\n");
    // A Windows-1252 file: it must come back as one, and be saved as one.
    const std::string second = WriteDoc("second.htm", "two\xE9\n");
    StartAndActivate({first, second});
    form->show();
    Type(1, "typed ");
    Type(2, "more ");
    Type(3, "no file");
    EXPECT_EQ(WaitForCopies(3), (std::vector<std::string>{"slot-1.vxr", "slot-2.vxr", "slot-3.vxr"}));
    const std::string root = fs::path(form->RecoveryFolder()).parent_path().string();
    LeaveAsKilled(form->RecoveryFolder(), root);
    form.reset();
    EXPECT_EQ(TLeftRecovery(root).Copies().size(), 3u) << "only the killed run's copies: this run took its own along";

    for (const int answer : {mrCancel, mrYes}) {
        dialogs.requests.clear();
        dialogs.Queue(answer);
        StartAndActivate();
        ASSERT_FALSE(dialogs.requests.empty());
        const std::string question = dialogs.requests[0].text;
        EXPECT_NE(question.find(first), std::string::npos) << question;
        EXPECT_NE(question.find("Document 3 (no file)"), std::string::npos) << question;
        if (answer == mrCancel) {
            EXPECT_EQ(form->SlotFileName(1), "") << "kept for later, nothing restored";
            form.reset();
        }
    }
    EXPECT_EQ(form->SlotFileName(1), first);
    EXPECT_EQ(form->SlotFileName(2), second);
    EXPECT_EQ(form->SlotFileName(3), "");
    EXPECT_EQ(Text(form->SlotEditor(1)), "typed one\r\n");
    EXPECT_EQ(Text(form->SlotEditor(3)), "no file\r\n");
    for (int slot = 1; slot <= 3; ++slot)
        EXPECT_TRUE(form->SlotEditor(slot)->Model().Modified()) << "slot " << slot << " is not saved yet";
    EXPECT_EQ(form->PageControl1->tabText(1), "second.htm");
    // The old copies went only because this run holds the texts on disk
    // already: a crash now loses nothing.
    ASSERT_FALSE(form->RecoveryFolder().empty());
    EXPECT_EQ(CopiesIn(form->RecoveryFolder()), (std::vector<std::string>{"slot-1.vxr", "slot-2.vxr", "slot-3.vxr"}));
    EXPECT_EQ(ParseRecovery(vx::ReadWholeFile(form->RecoveryFolder() + "/slot-1.vxr"))->Text, "typed one\r\n");
    EXPECT_TRUE(TLeftRecovery(root).Copies().empty()) << "restored: not offered again";

    form->show();
    Focus(form->SlotEditor(2));
    QTest::keySequence(form.get(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(vx::test::readFile(first), "typed one\r\n");
    EXPECT_EQ(vx::test::readFile(second), "more two\xE9\n") << "with the file's own line ends and bytes";
}

// A restored text is saved as its file stores text: a Windows-1252 document
// whose bytes would pass for UTF-8 stays Windows-1252, and a UTF-8 page keeps
// its byte order mark.
TEST_F(RecoveryWindowTest, ARestoredTextIsSavedInItsFilesEncodingAndMark)
{
    // The first character goes before the run dies, and "é" takes its place
    // once the text is restored.
    struct Row {
        const char* name;
        std::string bytes;
        std::string saved;
    };
    const Row rows[] = {
        // Its only byte outside ASCII gone, what is left would pass for UTF-8.
        {"cp1252.htm", "\xE9<p>caf</p>\r\n", "\xE9<p>caf</p>\r\n"},
        {"marked.htm", "\xEF\xBB\xBFx<p>caf</p>\n", "\xEF\xBB\xBF\xC3\xA9<p>caf</p>\n"},
    };
    std::vector<std::string> paths;
    for (const Row& row : rows)
        paths.push_back(WriteDoc(row.name, row.bytes));
    StartAndActivate(paths);
    form->show();
    for (int slot = 1; slot <= 2; ++slot)
        QTest::keyClick(Front(slot), Qt::Key_Delete);
    ASSERT_EQ(WaitForCopies(2).size(), 2u);
    const std::string root = fs::path(form->RecoveryFolder()).parent_path().string();
    LeaveAsKilled(form->RecoveryFolder(), root);
    form.reset();

    dialogs.Queue(mrYes);
    StartAndActivate();
    for (int slot = 1; slot <= 2; ++slot) {
        const Row& row = rows[slot - 1];
        ASSERT_EQ(form->SlotFileName(slot), paths[static_cast<std::size_t>(slot - 1)]) << row.name;
        vx::test::TypeText(Front(slot), QString::fromUtf8("\xC3\xA9"));
        QTest::keySequence(form.get(), QKeySequence("Ctrl+S"));
        EXPECT_EQ(vx::test::readFile(paths[static_cast<std::size_t>(slot - 1)]), row.saved) << row.name;
    }
}

// Texts two dead runs left of document 1 both come back: the second takes
// the next slot that holds nothing, as a file opened then would.
TEST_F(RecoveryWindowTest, TextsTwoRunsLeftForOneSlotTakeTwoSlots)
{
    const std::string root = RecoveryRoot();
    for (const std::string run : {"run-a", "run-b"}) {
        fs::create_directories(root + "/" + run);
        vx::test::writeFile(root + "/" + run + "/slot-1.vxr", RecoveryBytes(Record({false, 1}, "", run)));
    }
    dialogs.Queue(mrYes);
    StartAndActivate();
    EXPECT_EQ(dialogs.Messages().size(), 1u) << "the offer, and no slot lacking";
    std::vector<std::string> restored = {Text(form->SlotEditor(1)), Text(form->SlotEditor(2))};
    std::sort(restored.begin(), restored.end());
    EXPECT_EQ(restored, (std::vector<std::string>{"run-a\r\n", "run-b\r\n"}));
}

TEST_F(RecoveryWindowTest, SavingOrClosingADocumentTakesItsCopyAway)
{
    const std::string page = WriteDoc("page.htm", "page\r\n");
    StartAndActivate({page});
    form->show();
    Type(1, "x");
    Type(2, "y");
    ASSERT_EQ(WaitForCopies(2).size(), 2u);
    Focus(form->SlotEditor(1));
    QTest::keySequence(form.get(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(CopiesIn(form->RecoveryFolder()), std::vector<std::string>{"slot-2.vxr"});
    Focus(form->SlotEditor(2));
    dialogs.Queue(mrYes);
    form->Closefile1Click();
    EXPECT_TRUE(CopiesIn(form->RecoveryFolder()).empty());
}

TEST_F(RecoveryWindowTest, CopiesThatCannotBeKeptAreToldOnceWithTheFolderAndShownWhole)
{
    // A data folder with a long name, and a file where its folder of copies
    // should be: no copy can be written.
    const std::string data = userData.File("a folder with a rather long name/for the data/of-the-user/"
                                           "in-a-place/far-down/below/the-home-folder");
    std::filesystem::create_directories(data);
    setenv("VELLUMIX_DATA", data.c_str(), 1);
    const std::string root = RecoveryRoot();
    vx::test::writeFile(root, "in the way");
    StartAndActivate();
    form->show();
    Type(1, "first");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialogs.requests.empty(); }, vx::test::kPatienceMs))
        << "the failure was never told";
    const std::string told = dialogs.requests[0].text;
    EXPECT_EQ(dialogs.requests[0].type, mtWarning);
    EXPECT_NE(told.find("Could not keep a recovery copy of your text in " + root), std::string::npos) << told;
    EXPECT_NE(told.find("Not a directory"), std::string::npos) << told;

    // Every change fails again, and is not told again.
    auto* notice = form->findChild<QLabel*>("RecoveryNotice");
    ASSERT_NE(notice, nullptr);
    ASSERT_TRUE(notice->isVisible());
    notice->hide();
    Type(1, " second");
    ASSERT_TRUE(QTest::qWaitFor([&] { return notice->isVisible(); }, vx::test::kPatienceMs)) << "the second failure";
    EXPECT_EQ(dialogs.requests.size(), 1u);

    // The status bar shows the whole of it, however long the folder's name
    // and however narrow the window.
    QString shown = notice->text();
    shown.replace('\n', "\r\n");
    EXPECT_EQ(told.rfind(shown.toStdString(), 0), 0u) << shown.toStdString();
    for (const int width : {form->width(), form->minimumSizeHint().width()}) {
        form->resize(width, form->height());
        QTest::qWait(100);
        int measured = 0;
        for (const vx::test::TTextRoom& room : vx::test::TextRooms(*form)) {
            if (room.Text != notice->text())
                continue;
            ++measured;
            EXPECT_TRUE(room.Fits()) << width << " wide: " << room.Needed << " pixels needed, " << room.Room << " there";
        }
        EXPECT_EQ(measured, 1);
    }
    vx::test::SaveShot(*form, "recoverynotice");

    // Once copies can be written again, the notice goes.
    std::filesystem::remove(root);
    Type(1, " third");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !notice->isVisible(); }, vx::test::kPatienceMs));
    EXPECT_EQ(dialogs.requests.size(), 1u);
}

// Damaged copies that cannot be moved aside, left by many runs, are named
// by their folder and counted: one line, however many runs left them.
TEST_F(RecoveryWindowTest, DamagedCopiesThatCannotBeMovedAreCountedInOneLine)
{
    const std::string root = RecoveryRoot();
    for (int run = 0; run < 300; ++run) {
        fs::create_directories(root + "/run-" + std::to_string(run));
        vx::test::writeFile(root + "/run-" + std::to_string(run) + "/slot-1.vxr", "cut sh");
    }
    vx::test::writeFile(DamagedFolder(root), "in the way");
    StartAndActivate();
    ASSERT_EQ(dialogs.requests.size(), 1u);
    const std::string told = dialogs.requests[0].text;
    EXPECT_EQ(dialogs.requests[0].type, mtWarning);
    EXPECT_NE(told.find("\r\n    " + root + ", each in the folder of its run, as they could not be moved from there "
                                             "(number of copies: 300)"),
              std::string::npos)
        << told;
    EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 2) << told;
    EXPECT_EQ(vx::test::readFile(root + "/run-299/slot-1.vxr"), "cut sh");
}

// Documents on a real file system: failing background saves, line ends,
// binary files, temporaries and whole copies of killed saves, file names that
// are not ASCII, and the open and save dialogs' choices.
#include "controls/stores/MRUList.h"
#include "platform/CopyIndex.h"
#include "platform/FileHold.h"
#include "shell/Recovery.h"
#include "shell/qt/mainwindow/StatusBar.h"
#include "tests/shell/MenuDriver.h"
#include "tests/shell/ShellFixture.h"
#include "tests/support/AtOpen.h"

#include <QAction>
#include <QLabel>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <chrono>
#include <filesystem>
#include <functional>
#include <iostream>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

using vx::test::readFile;
using vx::test::ShellTest;

namespace {

class DocumentFilesTest : public ShellTest {
protected:
    void SetUp() override
    {
        StartAndActivate();
        Focus(form->SlotEditor(1));
    }
    // The status bar's line on documents background saves left alone.
    std::string SaveNotice() const
    {
        const auto* notice = form->findChild<QLabel*>("SaveNotice");
        return notice && !notice->isHidden() ? notice->text().toStdString() : std::string();
    }
    // What an attempt met: empty where it went through.
    static std::string Attempted(const std::function<void()>& attempt)
    {
        try {
            attempt();
            return {};
        } catch (const Exception& e) {
            return e.Message();
        }
    }
    TmwCustomEdit* OpenAndFocus(const std::string& path, bool readOnly = false)
    {
        form->OpenDocumentInFreeSlot(path, readOnly);
        const int slot = form->PageControl1->currentIndex() + 1;
        TmwCustomEdit* editor = form->SlotEditor(slot);
        editor->setFocus();
        QApplication::processEvents();
        return editor;
    }
};

} // namespace

TEST_F(DocumentFilesTest, FailingBackgroundSavesGiveOneNoticeAndNoBoxes)
{
    const std::string path = WriteDoc("locked.asp", "old\r\n");
    TmwCustomEdit* editor = OpenAndFocus(path);
    QTest::keyClicks(editor, "new ");
    ::chmod(path.c_str(), 0444);
    for (int i = 0; i < 3; ++i)
        form->ApplicationDeactivate();
    EXPECT_TRUE(dialogs.requests.empty()) << "no modal box for a save the user did not ask for";
    // One line that names the file once, and lasts while the cause does.
    EXPECT_EQ(SaveNotice(), "Not saved: Cannot create file " + path + ": Permission denied");
    EXPECT_EQ(readFile(path), "old\r\n");

    // The save the user asks for says why in a box.
    QTest::keySequence(form.get(), QKeySequence("Ctrl+S"));
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].type, mtError);
    EXPECT_NE(dialogs.requests[0].text.find("Cannot create file " + path + ": Permission denied"), std::string::npos)
        << dialogs.requests[0].text;
    EXPECT_TRUE(editor->Model().Modified()) << "the text is still the user's";
    // and in its recovery copy at once: a save that fails, or is killed, leaves it offered at the next start.
    ASSERT_FALSE(form->RecoveryFolder().empty());
    const auto kept = vx::shell::ParseRecovery(readFile(form->RecoveryFolder() + "/slot-1.vxr"));
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->Text, "new old\r\n");

    // Once the file can be written, the next background save writes it, and the line goes.
    ::chmod(path.c_str(), 0644);
    form->ApplicationDeactivate();
    EXPECT_EQ(readFile(path), "new old\r\n");
    EXPECT_EQ(SaveNotice(), "");
}

// A box that comes up while a document is saved stands while the file is
// free: another program, or this one's background save, is not kept waiting
// on it, and a save of that document meanwhile is skipped, quietly.
TEST_F(DocumentFilesTest, NoBoxStandsWhileASaveHoldsItsFile)
{
    const std::string path = WriteDoc("page.htm", "old\r\n");
    TmwCustomEdit* editor = OpenAndFocus(path);
    // No recovery copy can be kept: the save tells so in a box, once.
    vx::test::writeFile(vx::shell::RecoveryRoot(), "in the way");
    QTest::keyClicks(editor, "mine ");
    std::string heldWhileShown;
    dialogs.whileShown = [&](const vx::dialogs::Request&) {
        heldWhileShown = Attempted([&] { vx::TFileHold(path, vx::TFileHold::TUse::Writing); });
        form->ApplicationDeactivate();
    };
    QTest::keySequence(form.get(), QKeySequence("Ctrl+S"));
    dialogs.whileShown = {};
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_NE(dialogs.requests[0].text.find("Could not keep a recovery copy"), std::string::npos)
        << dialogs.requests[0].text;
    EXPECT_EQ(heldWhileShown, "") << "the file was held while the box stood";
    EXPECT_EQ(SaveNotice(), "") << "the save under way is not another program's";
    EXPECT_EQ(readFile(path), "mine old\r\n") << "the save goes on once the box is answered";
    EXPECT_FALSE(editor->Model().Modified());
}

// Save writes the documents that have a file; for one without, the status
// bar says how it gets one.
TEST_F(DocumentFilesTest, SaveOnAnUnnamedDocumentSaysSaveAsGivesItAFile)
{
    const std::string path = WriteDoc("named.asp", "old\r\n");
    TmwCustomEdit* named = OpenAndFocus(path);
    TmwCustomEdit* unnamed = form->SlotEditor(2);
    const struct {
        const char* way;
        std::function<void()> save;
    } ways[] = {
        {"Ctrl+S", [&] { QTest::keySequence(form.get(), QKeySequence("Ctrl+S")); }},
        {"File > Save", [&] { vx::test::PickMenuCommand(*form, "Save1"); }},
    };
    std::string saved = "old\r\n";
    for (const auto& way : ways) {
        Focus(named);
        QTest::keyClicks(named, "n");
        saved = "n" + saved;
        Focus(unnamed);
        QTest::keyClicks(unnamed, "draft ");
        form->StatusBar1->clearMessage();
        way.save();
        EXPECT_EQ(form->StatusBar1->currentMessage().toStdString(),
                  "This document has no file yet: Save As gives it one.")
            << way.way;
        EXPECT_TRUE(unnamed->Model().Modified()) << way.way;
        EXPECT_EQ(readFile(path), saved) << way.way << ": the document with a file is saved all the same";
        EXPECT_TRUE(dialogs.requests.empty()) << way.way;

        Focus(named);
        form->StatusBar1->clearMessage();
        way.save();
        EXPECT_EQ(form->StatusBar1->currentMessage(), "") << way.way << ": a document with a file";
    }
}

// Another program's hold on a file: its save under way (LOCK_EX), as
// another instance of the program holds the file it saves.
struct TAnotherProgramsSave {
    explicit TAnotherProgramsSave(const std::string& path) : Fd(::open(path.c_str(), O_RDWR))
    {
        ::flock(Fd, LOCK_EX);
    }
    ~TAnotherProgramsSave() { ::close(Fd); }
    // It writes its text (through a temporary renamed over the name, or in
    // place where the file has further names) and lets go.
    void Finish(const std::string& path, const std::string& text, bool inPlace)
    {
        if (inPlace) {
            ::ftruncate(Fd, 0);
            ::pwrite(Fd, text.data(), text.size(), 0);
        } else {
            vx::test::writeFile(path + ".theirs", text);
            std::filesystem::rename(path + ".theirs", path);
        }
        ::close(std::exchange(Fd, -1));
    }
    int Fd;
};

// Two running instances with one page open, by one name or two: neither
// saves over what the other saved without asking, whenever the keys go.
TEST_F(DocumentFilesTest, ASaveNeverWritesOverAnotherProgramsSaveItDidNotSee)
{
    for (const bool linked : {false, true}) {
        SCOPED_TRACE(linked ? "two names" : "one name");
        const std::string path = WriteDoc(linked ? "linked.htm" : "page.htm", "old\r\n");
        if (linked)
            std::filesystem::create_hard_link(path, path + ".link");
        TmwCustomEdit* editor = OpenAndFocus(path);
        QTest::keyClicks(editor, "mine ");
        TAnotherProgramsSave theirs(linked ? path + ".link" : path);

        const std::string name = linked ? "linked.htm" : "page.htm";

        // Its save under way: this one's is told at once that trying again
        // works, and keeps the text.
        QTest::keySequence(form.get(), QKeySequence("Ctrl+S"));
        ASSERT_EQ(dialogs.requests.size(), 1u);
        EXPECT_EQ(dialogs.requests[0].type, mtError);
        EXPECT_NE(dialogs.requests[0].text.find("another program is saving or reading it. Saving again in a moment "
                                                "will work."),
                  std::string::npos)
            << dialogs.requests[0].text;
        EXPECT_TRUE(editor->Model().Modified());
        form->ApplicationDeactivate();
        EXPECT_EQ(dialogs.requests.size(), 1u) << "a background save asks nothing";
        EXPECT_EQ(SaveNotice(), name + " was not saved: another program was saving or reading it. It is tried again.");
        EXPECT_EQ(readFile(path), "old\r\n");

        // Its text saved: this one's save asks before it writes over it,
        // saying what each answer keeps.
        theirs.Finish(path, "theirs\r\n", linked);
        dialogs.requests.clear();
        form->ApplicationDeactivate();
        EXPECT_TRUE(dialogs.requests.empty()) << "a background save leaves a changed file alone";
        EXPECT_EQ(SaveNotice(), name + " was not saved: another program changed it. Ctrl+S asks before writing over it.");
        dialogs.Queue(mrNo);
        QTest::keySequence(form.get(), QKeySequence("Ctrl+S"));
        ASSERT_EQ(dialogs.requests.size(), 1u);
        EXPECT_EQ(dialogs.requests[0].text,
                  path + " has been changed by another program since it was loaded.\r\nDo you want to overwrite it?"
                         "\r\nYes writes this document's text over the other program's.\r\nNo leaves the file as "
                         "the other program saved it, and keeps this text here, unsaved.");
        EXPECT_EQ(readFile(path), "theirs\r\n");
        EXPECT_TRUE(editor->Model().Modified());

        dialogs.requests.clear();
        dialogs.Queue(mrYes);
        QTest::keySequence(form.get(), QKeySequence("Ctrl+S"));
        EXPECT_EQ(readFile(path), "mine old\r\n") << "overwritten once the user said so";
        EXPECT_FALSE(editor->Model().Modified());
        EXPECT_EQ(SaveNotice(), "") << "saved: the line goes";

        // Another program's save that ends the moment this one opens the
        // file to hold it: looked at only once it is held, the change is
        // seen and asked about, never written over.
        QTest::keyClicks(editor, "again ");
        const int file = ::open(path.c_str(), O_RDWR);
        const std::string theirsAgain = "theirs again\r\n";
        const std::string temporary = path + ".theirs";
        vx::test::TAtOpen atOpen(path, [&] {
            if (linked) {
                (void)!::ftruncate(file, 0);
                (void)!::pwrite(file, theirsAgain.data(), theirsAgain.size(), 0);
                return;
            }
            const int written = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            (void)!::write(written, theirsAgain.data(), theirsAgain.size());
            ::close(written);
            ::rename(temporary.c_str(), path.c_str());
        });
        if (atOpen.Watching()) {
            dialogs.requests.clear();
            dialogs.Queue(mrNo);
            QTest::keySequence(form.get(), QKeySequence("Ctrl+S"));
            EXPECT_TRUE(atOpen.Acted()) << "the save never opened its file";
            ASSERT_EQ(dialogs.requests.size(), 1u);
            EXPECT_EQ(dialogs.requests[0].text.rfind(path + " has been changed by another program", 0), 0u);
            EXPECT_EQ(readFile(path), theirsAgain);
        } else {
            std::cout << "skipped: watching opens needs root\n";
        }
        ::close(file);
        dialogs.requests.clear();
        dialogs.Queue(mrYes);
        form->CloseAllfiles1Click();
        dialogs.requests.clear();
    }
}

// A file another program is saving is not read half written: the open says
// so and takes nothing, and the live copy of that save stays its own.
TEST_F(DocumentFilesTest, AnOpenDuringAnotherProgramsSaveJudgesNothing)
{
    const std::string path = WriteDoc("linked.htm", "");
    std::filesystem::create_hard_link(path, docs.file("other.htm"));
    const std::string copy = path + ".vxcopy-Live01";
    vx::test::writeFile(copy, "their whole text\r\n");
    vx::TFileIdentity identity;
    ASSERT_TRUE(vx::IdentityOf(path, identity));
    vx::FileCopyUnder(identity, "Live01", copy, vx::DigestOf("their whole text\r\n"), vx::DigestOf("old\r\n"));
    {
        TAnotherProgramsSave theirs(path);
        dialogs.answers.push_back({mrOk, docs.file("other.htm"), false});
        QTest::keySequence(form.get(), QKeySequence("Alt+F"));
        ASSERT_EQ(dialogs.requests.size(), 2u);
        EXPECT_EQ(dialogs.requests[1].type, mtError);
        EXPECT_NE(dialogs.requests[1].text.find("Cannot open file " + docs.file("other.htm") +
                                                " now: another program is saving it. Opening it again in a moment will work."),
                  std::string::npos)
            << dialogs.requests[1].text;
        EXPECT_EQ(form->SlotFileName(1), "") << "nothing opened";
        EXPECT_EQ(readFile(copy), "their whole text\r\n") << "a live save's copy is not set aside";
        theirs.Finish(path, "their whole text\r\n", true);
    }
    std::filesystem::remove(copy);
    dialogs.requests.clear();
    dialogs.answers.push_back({mrOk, docs.file("other.htm"), false});
    QTest::keySequence(form.get(), QKeySequence("Alt+F"));
    EXPECT_EQ(dialogs.requests.size(), 1u) << "once saved, nothing is asked";
    EXPECT_EQ(Text(form->SlotEditor(1)), "their whole text\r\n");
}

TEST_F(DocumentFilesTest, MixedLineEndsComeBackByteIdenticalExceptTheEdit)
{
    const std::string path = WriteDoc("mixed.asp", "one\r\ntwo\nthree\rfour\r\n");
    TmwCustomEdit* editor = OpenAndFocus(path);
    QTest::keyClicks(editor, "X");
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClick(editor, Qt::Key_Down);
    QTest::keyClicks(editor, "2");
    QTest::keySequence(form.get(), QKeySequence("Ctrl+S"));
    EXPECT_TRUE(dialogs.requests.empty());
    EXPECT_EQ(readFile(path), "one\r\n2two\nthree\rfour\r\n");
}

TEST_F(DocumentFilesTest, LinesBetweenTwoEditsKeepTheirOwnEnds)
{
    const std::string path = WriteDoc("mixed.htm", "a\rb\r\nc\nd\r\ne");
    TmwCustomEdit* editor = OpenAndFocus(path);
    // A line after "a", and "d" taken out.
    QTest::keyClick(editor, Qt::Key_End);
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, "new");
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(editor, Qt::Key_Down);
    QTest::keyClick(editor, Qt::Key_Home);
    QTest::keyClick(editor, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(editor, Qt::Key_Delete);
    QTest::keySequence(form.get(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(readFile(path), "a\rnew\rb\r\nc\ne") << "the new line takes the text's first end";
}

// The warning belongs to its document: it shows while that document is in
// front, whichever way it came there, and goes with it.
TEST_F(DocumentFilesTest, ABinaryLookingFileOpensWithAWarningThatShowsWhileItIsInFront)
{
    const std::string path = WriteDoc("image.gif", std::string("GIF89a\0\0\x01", 9));
    form->OpenDocumentInFreeSlot(path, false);
    EXPECT_EQ(form->SlotFileName(1), path) << "it still opens";
    const auto shown = [this] {
        const auto* notice = form->findChild<QLabel*>("BinaryNotice");
        return notice && !notice->isHidden() ? notice->text().toStdString() : std::string();
    };
    const std::string warning = shown();
    EXPECT_NE(warning.find("image.gif"), std::string::npos) << warning;
    EXPECT_NE(warning.find("binary"), std::string::npos) << warning;
    QTabBar& tabs = *form->PageControl1->tabBar();
    const auto clickTab = [&tabs](int slot) {
        QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(slot - 1).center());
    };

    form->OpenDocumentInFreeSlot(WriteDoc("page.htm", "<p>text</p>\r\n"), false);
    EXPECT_EQ(form->PageControl1->currentIndex(), 1);
    EXPECT_EQ(shown(), "") << "another document came to the front";
    const struct {
        int slot;
        bool warned;
    } switches[] = {{1, true}, {3, false}, {1, true}, {2, false}, {1, true}};
    for (const auto& to : switches) {
        clickTab(to.slot);
        ASSERT_EQ(form->PageControl1->currentIndex(), to.slot - 1);
        EXPECT_EQ(shown(), to.warned ? warning : "") << "document " << to.slot << " in front";
    }

    // Closed, the document takes its warning with it, for good.
    dialogs.Queue(mrYes);
    Focus(form->SlotEditor(1));
    vx::test::PickMenuCommand(*form, "Closefile1");
    ASSERT_EQ(form->SlotFileName(1), "");
    EXPECT_EQ(shown(), "") << "closed in front";
    clickTab(2);
    clickTab(1);
    EXPECT_EQ(shown(), "") << "the empty document in its place";
    // as when a text file takes its place.
    form->OpenDocumentInFreeSlot(WriteDoc("other.htm", "<p>more</p>\r\n"), false);
    ASSERT_EQ(form->SlotFileName(1), docs.file("other.htm"));
    clickTab(2);
    clickTab(1);
    EXPECT_EQ(shown(), "") << "the text file that took its place";
}

TEST_F(DocumentFilesTest, TemporariesOfAKilledSaveAreToldOfAndKeptUnlessTheFileHoldsTheirText)
{
    const std::string path = WriteDoc("page.asp", "text\r\n");
    vx::test::writeFile(path + ".vxtmp-Ab12Cd", "half a save");
    vx::test::writeFile(path + ".vxtmp-Same12", "text\r\n");
    dialogs.Queue(mrYes);
    OpenAndFocus(path);
    ASSERT_EQ(dialogs.requests.size(), 1u) << "the temporary holding the file's text goes unsaid";
    EXPECT_EQ(dialogs.requests[0].text, "A save of page.asp was cut off before the file held its text. What it had "
                                        "written is kept in " + path + ".vxold-Ab12Cd, where it is not offered "
                                        "again.\r\nOpen the copy as a document of its own, read-only?");
    EXPECT_EQ(readFile(path + ".vxold-Ab12Cd"), "half a save");
    EXPECT_FALSE(std::filesystem::exists(path + ".vxtmp-Ab12Cd"));
    EXPECT_FALSE(std::filesystem::exists(path + ".vxtmp-Same12"));
    EXPECT_EQ(form->SlotFileName(2), path + ".vxold-Ab12Cd") << "opened apart";
    EXPECT_TRUE(form->SlotEditor(2)->Model().GetReadOnly());

    // A save tidies those that hold what it wrote; another's text stays for the next open to tell.
    vx::test::writeFile(path + ".vxtmp-Zz99Yy", "more text\r\n");
    vx::test::writeFile(path + ".vxtmp-Other1", "half a save");
    form->PageControl1->setCurrentIndex(0);
    Focus(form->SlotEditor(1));
    QTest::keyClicks(form->SlotEditor(1), "more ");
    QTest::keySequence(form.get(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(readFile(path), "more text\r\n");
    EXPECT_FALSE(std::filesystem::exists(path + ".vxtmp-Zz99Yy"));
    EXPECT_EQ(readFile(path + ".vxtmp-Other1"), "half a save");
}

TEST_F(DocumentFilesTest, AWholeCopyIsOfferedUntilDeclinedOrSavedAndNeverDeletedUnseen)
{
    // The file holds the start of the copy's text: a save of it was cut off.
    const std::string path = WriteDoc("page.asp", "whole\r\nte");
    const std::string copy = path + ".vxcopy-Ab12Cd";
    const std::string aside = path + ".vxold-Ab12Cd";
    vx::test::writeFile(copy, "whole\r\ntext\r\n");

    dialogs.Queue(mrNo);
    TmwCustomEdit* editor = OpenAndFocus(path);
    ASSERT_EQ(dialogs.requests.size(), 1u);
    const std::string question = dialogs.requests[0].text;
    EXPECT_EQ(question.rfind("A newer copy of page.asp was found", 0), 0u) << question;
    EXPECT_NE(question.find("The file holds only the first 9 of the copy's 13 bytes."), std::string::npos) << question;
    EXPECT_NE(question.find(aside), std::string::npos) << "says where a declined copy goes: " << question;
    EXPECT_TRUE(question.ends_with("Open the copy instead?"));
    EXPECT_EQ(Text(editor), "whole\r\nte\r\n") << "no: the file as it is";
    EXPECT_FALSE(std::filesystem::exists(copy)) << "declined: out of the way";
    EXPECT_EQ(readFile(aside), "whole\r\ntext\r\n") << "and kept where the question said";

    QTest::keyClicks(editor, "edited ");
    QTest::keySequence(form.get(), QKeySequence("Ctrl+S"));
    const std::string saved = readFile(path);
    dialogs.requests.clear();
    dialogs.Queue(mrYes);
    form->CloseAllfiles1Click();
    // Kept aside, it is named at each open with its size and time, and No keeps it.
    vx::test::SetChangedAt(aside, 2024, 3, 5, 14, 7);
    const std::string asideNamed = aside + " (13 bytes, changed 3/5/2024 2:07 PM)";
    dialogs.Queue(mrNo);
    editor = OpenAndFocus(path);
    ASSERT_EQ(dialogs.requests.size(), 2u) << "only the closing and the kept text were asked";
    EXPECT_EQ(dialogs.requests[1].text, "Earlier texts of page.asp, from saves that were cut off, are kept beside "
                                        "it:\r\n    " + asideNamed + "\r\nOpen them read-only, to look at them? "
                                        "Closing one asks whether to remove it. No keeps them.");
    EXPECT_EQ(Text(editor), "edited whole\r\nte\r\n") << "the saved edit, and no older copy over it";
    EXPECT_EQ(form->SlotFileName(2), "") << "nothing opened apart";
    EXPECT_EQ(readFile(aside), "whole\r\ntext\r\n");

    // Two copies: the newer is taken, and once the file holds its text the
    // older one is set aside.
    const std::string older = path + ".vxcopy-Old111";
    vx::test::writeFile(older, saved + "older\r\n");
    vx::test::writeFile(copy, saved + "newer\r\n");
    const auto now = std::filesystem::file_time_type::clock::now();
    std::filesystem::last_write_time(older, now - std::chrono::hours(1));
    std::filesystem::last_write_time(copy, now);
    dialogs.requests.clear();
    dialogs.Queue(mrYes);
    form->CloseAllfiles1Click();
    dialogs.Queue(mrNo);
    dialogs.Queue(mrYes);
    editor = OpenAndFocus(path);
    ASSERT_EQ(dialogs.requests.size(), 3u);
    EXPECT_NE(dialogs.requests[2].text.find("once the document is saved, the copy is removed"), std::string::npos);
    EXPECT_EQ(Text(editor), saved + "newer\r\n");
    EXPECT_TRUE(editor->Model().Modified()) << "the file does not hold it yet";
    EXPECT_TRUE(std::filesystem::exists(copy)) << "until it is saved";
    QTest::keySequence(form.get(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(readFile(path), saved + "newer\r\n");
    EXPECT_FALSE(std::filesystem::exists(copy)) << "the file holds its text";
    EXPECT_FALSE(std::filesystem::exists(older));
    EXPECT_EQ(readFile(path + ".vxold-Old111"), saved + "older\r\n") << "superseded, kept";

    // A copy the file holds already is no news; nor is a text kept aside
    // that the file holds.
    vx::test::writeFile(copy, saved + "newer\r\n");
    vx::test::writeFile(path + ".vxold-Same12", saved + "newer\r\n");
    dialogs.requests.clear();
    dialogs.Queue(mrYes);
    form->CloseAllfiles1Click();
    dialogs.Queue(mrNo);
    OpenAndFocus(path);
    ASSERT_EQ(dialogs.requests.size(), 2u) << "only the closing and the kept texts were asked";
    EXPECT_EQ(dialogs.requests[1].text.find(path + ".vxold-Same12"), std::string::npos);
    EXPECT_NE(dialogs.requests[1].text.find(path + ".vxold-Old111"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(copy));
    EXPECT_FALSE(std::filesystem::exists(path + ".vxold-Same12"));

    // A copy that cannot go where declined copies go stays, and says why.
    vx::test::writeFile(copy, saved + "newer\r\nanother\r\n");
    dialogs.requests.clear();
    dialogs.Queue(mrYes);
    form->CloseAllfiles1Click();
    dialogs.Queue(mrNo);
    dialogs.Queue(mrNo);
    OpenAndFocus(path);
    ASSERT_EQ(dialogs.requests.size(), 4u);
    EXPECT_EQ(dialogs.requests[3].type, mtWarning);
    EXPECT_EQ(dialogs.requests[3].text, "Cannot move " + copy + " to " + aside +
                                            ": File exists\r\nThe copy is offered again when the document is opened.");
    EXPECT_EQ(readFile(copy), saved + "newer\r\nanother\r\n");
    EXPECT_EQ(readFile(aside), "whole\r\ntext\r\n");

    // Yes opens what is kept aside apart, read-only, the newest first, and removes nothing.
    const std::string old111 = path + ".vxold-Old111";
    vx::test::SetChangedAt(old111, 2025, 11, 30, 9, 5);
    dialogs.requests.clear();
    dialogs.Queue(mrYes);
    form->CloseAllfiles1Click();
    std::filesystem::remove(copy);
    dialogs.Queue(mrYes);
    OpenAndFocus(path);
    ASSERT_EQ(dialogs.requests.size(), 2u);
    EXPECT_NE(dialogs.requests[1].text.find(":\r\n    " + old111 + " (" + std::to_string(saved.size() + 7) +
                                            " bytes, changed 11/30/2025 9:05 AM)\r\n    " + asideNamed + "\r\n"),
              std::string::npos)
        << dialogs.requests[1].text;
    EXPECT_EQ(form->SlotFileName(1), path);
    EXPECT_EQ(form->SlotFileName(2), old111);
    EXPECT_EQ(form->SlotFileName(3), aside);
    EXPECT_EQ(Text(form->SlotEditor(3)), "whole\r\ntext\r\n");
    for (int slot : {2, 3})
        EXPECT_TRUE(form->SlotEditor(slot)->Model().GetReadOnly()) << slot;
    EXPECT_TRUE(std::filesystem::exists(aside));
    EXPECT_TRUE(std::filesystem::exists(old111));

    // Closing one, seen, asks whether to remove it: No keeps it, and the next open names it again.
    const auto closeSlot = [&](int slot, int removeAnswer) {
        dialogs.requests.clear();
        dialogs.Queue(mrYes);
        if (removeAnswer != mrNone)
            dialogs.Queue(removeAnswer);
        form->PageControl1->setCurrentIndex(slot - 1);
        Focus(form->SlotEditor(slot));
        vx::test::PickMenuCommand(*form, "Closefile1");
        EXPECT_EQ(form->SlotFileName(slot), "");
    };
    closeSlot(3, mrNo);
    ASSERT_EQ(dialogs.requests.size(), 2u);
    EXPECT_EQ(dialogs.requests[1].text, "Remove these earlier texts from the disk?\r\n    " + asideNamed +
                                            "\r\nNo keeps them, and they are named again when their document is "
                                            "opened.");
    EXPECT_EQ(readFile(aside), "whole\r\ntext\r\n");
    closeSlot(2, mrYes);
    EXPECT_FALSE(std::filesystem::exists(old111)) << "Yes removes it";
    closeSlot(1, mrNone);
    EXPECT_EQ(dialogs.requests.size(), 1u) << "the document itself is no kept text";
    dialogs.requests.clear();
    dialogs.Queue(mrYes);
    OpenAndFocus(path);
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_NE(dialogs.requests[0].text.find(asideNamed), std::string::npos) << dialogs.requests[0].text;
    EXPECT_EQ(dialogs.requests[0].text.find(old111), std::string::npos) << dialogs.requests[0].text;
    EXPECT_EQ(form->SlotFileName(2), aside);

    // Closing every document offers the same; once removed, nothing is asked again.
    dialogs.requests.clear();
    dialogs.Queue(mrYes);
    dialogs.Queue(mrYes);
    vx::test::PickMenuCommand(*form, "CloseAllfiles1");
    EXPECT_EQ(dialogs.requests.size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(aside));
    dialogs.requests.clear();
    OpenAndFocus(path);
    EXPECT_TRUE(dialogs.requests.empty()) << "nothing kept, nothing asked";
}

// Kept texts open apart as far as free documents take them, the newest
// first, and the question says where not all of them can.
TEST_F(DocumentFilesTest, KeptTextsOpenApartAsFarAsFreeDocumentsTakeThem)
{
    const std::string path = WriteDoc("kept.asp", "now\r\n");
    const std::string older = WriteDoc("kept.asp.vxold-Older1", "an earlier text\r\n");
    const std::string newer = WriteDoc("kept.asp.vxold-Newer1", "a later text\r\n");
    vx::test::SetChangedAt(older, 2023, 1, 2, 10, 0);
    vx::test::SetChangedAt(newer, 2023, 1, 3, 10, 0);
    const std::string open = "\r\nOpen them read-only, to look at them? Closing one asks whether to remove it. No "
                             "keeps them.";
    const struct {
        int filled; // slots that hold another file first
        std::string tail;
        TMsgDlgType type;
        std::vector<std::string> opened;
    } rows[] = {
        {0, open, mtConfirmation, {newer, older}},
        {3, "\r\nOnly 1 of them can be opened: the other documents hold files." + open, mtConfirmation, {newer}},
        {4, "\r\nNo document is free to open them in. They are named again at the next open.", mtInformation, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.filled);
        for (int i = 1; i <= row.filled; ++i)
            form->OpenDocumentInFreeSlot(WriteDoc(std::to_string(i) + ".htm", "x"), false);
        dialogs.requests.clear();
        dialogs.Queue(mrYes);
        form->OpenDocumentInFreeSlot(path, false);
        ASSERT_EQ(dialogs.requests.size(), 1u);
        EXPECT_EQ(dialogs.requests[0].type, row.type);
        EXPECT_TRUE(dialogs.requests[0].text.ends_with(row.tail)) << dialogs.requests[0].text;
        EXPECT_EQ(form->SlotFileName(row.filled + 1), path);
        for (std::size_t i = 0; i < row.opened.size(); ++i)
            EXPECT_EQ(form->SlotFileName(row.filled + 2 + static_cast<int>(i)), row.opened[i]);
        if (const int next = row.filled + 2 + static_cast<int>(row.opened.size()); next <= TForm1::SlotCount) {
            EXPECT_EQ(form->SlotFileName(next), "");
        }
        // Closing keeps them all.
        dialogs.Queue(mrYes);
        dialogs.Queue(mrNo);
        form->CloseAllfiles1Click();
        dialogs.answers.clear();
        EXPECT_TRUE(std::filesystem::exists(older));
        EXPECT_TRUE(std::filesystem::exists(newer));
    }
}

TEST_F(DocumentFilesTest, AHardLinkedDocumentCutByACrashOffersItsCopyByEveryName)
{
    // What a save through d.html killed half way leaves: the file cut, the
    // whole copy beside d.html, filed under the file's identity.
    const std::string saved = WriteDoc("d.html", "whole t");
    std::filesystem::create_directories(docs.file("other"));
    const std::string link = docs.file("other/d-link.html");
    std::filesystem::create_hard_link(saved, link);
    const auto cutSave = [&](const std::string& tag) {
        const std::string copy = saved + ".vxcopy-" + tag;
        vx::test::writeFile(copy, "whole text\r\n");
        vx::TFileIdentity identity;
        EXPECT_TRUE(vx::IdentityOf(saved, identity));
        EXPECT_FALSE(vx::FileCopyUnder(identity, tag, copy, vx::DigestOf("whole text\r\n"), std::nullopt).empty());
        return copy;
    };
    for (const std::string& name : {link, saved}) {
        SCOPED_TRACE(name);
        const std::string copy = cutSave("Cut123");
        dialogs.requests.clear();
        dialogs.Queue(mrYes);
        form->CloseAllfiles1Click();
        dialogs.Queue(mrYes);
        TmwCustomEdit* editor = OpenAndFocus(name);
        ASSERT_EQ(dialogs.requests.size(), 2u) << "the cut text was shown as if whole";
        // Opened by another name, the question says whose copy it is.
        const std::string offer = "A newer copy of " + (name == saved ? "d.html" : saved) + " was found";
        EXPECT_EQ(dialogs.requests[1].text.rfind(offer, 0), 0u) << dialogs.requests[1].text;
        EXPECT_EQ(Text(editor), "whole text\r\n");
        QTest::keySequence(form.get(), QKeySequence("Ctrl+S"));
        EXPECT_EQ(readFile(saved), "whole text\r\n");
        EXPECT_EQ(readFile(link), "whole text\r\n") << "one file, two names";
        EXPECT_FALSE(std::filesystem::exists(copy));
        vx::test::writeFile(saved, "whole t");
    }

    // The cut document renamed, and its name given to a new document: the
    // new one is told of the copy beside it and keeps its text; Yes opens
    // the copy apart, read-only. The renamed document is offered it.
    const std::string copy = cutSave("Old456");
    const std::string renamed = docs.file("e.html");
    std::filesystem::rename(saved, renamed);
    vx::test::writeFile(saved, "<p>NEWDOC</p>");
    dialogs.requests.clear();
    dialogs.Queue(mrYes);
    form->CloseAllfiles1Click();
    dialogs.Queue(mrYes);
    TmwCustomEdit* editor = OpenAndFocus(saved);
    ASSERT_EQ(dialogs.requests.size(), 2u);
    const std::string& notice = dialogs.requests[1].text;
    EXPECT_EQ(notice.rfind("A copy of another text, or of an earlier one, is kept in " + copy, 0), 0u) << notice;
    EXPECT_TRUE(notice.ends_with("Open the copy as a document of its own, read-only?")) << notice;
    EXPECT_EQ(Text(form->SlotEditor(1)), "<p>NEWDOC</p>\r\n");
    EXPECT_EQ(form->SlotFileName(2), copy);
    EXPECT_EQ(Text(editor), "whole text\r\n");
    EXPECT_TRUE(editor->Model().GetReadOnly());
    for (int i = 0; i < form->mru->Strings().Count(); ++i)
        EXPECT_NE(form->mru->Strings()[i], copy) << "a copy opened apart is no document to open again";
    dialogs.requests.clear();
    dialogs.Queue(mrYes);
    form->CloseAllfiles1Click();
    EXPECT_EQ(readFile(saved), "<p>NEWDOC</p>");
    EXPECT_EQ(readFile(copy), "whole text\r\n") << "not the new document's to answer";

    // Taken, and saved under another name: the copy stays for its file,
    // which still holds the cut text and is offered it again.
    dialogs.Queue(mrYes);
    OpenAndFocus(renamed);
    dialogs.Queue(mrOk, docs.file("elsewhere.html"));
    QTest::keySequence(form.get(), QKeySequence("Ctrl+Alt+S"));
    EXPECT_EQ(readFile(docs.file("elsewhere.html")), "whole text\r\n");
    EXPECT_EQ(readFile(copy), "whole text\r\n") << "saved elsewhere, the copy is still its file's";
    EXPECT_EQ(readFile(renamed), "whole t");
    dialogs.requests.clear();
    dialogs.Queue(mrYes);
    form->CloseAllfiles1Click();

    dialogs.Queue(mrYes);
    editor = OpenAndFocus(renamed);
    ASSERT_EQ(dialogs.requests.size(), 2u);
    EXPECT_EQ(dialogs.requests[1].text.rfind("A newer copy of " + saved + " was found", 0), 0u)
        << dialogs.requests[1].text;
    QTest::keySequence(form.get(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(readFile(link), "whole text\r\n");
    EXPECT_EQ(readFile(saved), "<p>NEWDOC</p>");
    EXPECT_FALSE(std::filesystem::exists(copy)) << "taken and saved";
}

TEST_F(DocumentFilesTest, NamesOpenSaveAndShowAsTheyAre)
{
    const std::string cafe = WriteDoc("caf\xC3\xA9.html", "menu\r\n");
    dialogs.answers.push_back({mrOk, cafe, false});
    QTest::keySequence(form.get(), QKeySequence("Alt+F"));
    ASSERT_EQ(form->SlotFileName(1), cafe);
    EXPECT_EQ(form->PageControl1->tabText(0), QString::fromUtf8("caf\xC3\xA9.html"));

    const std::string resume = docs.file("r\xC3\xA9sum\xC3\xA9.html");
    dialogs.Queue(mrOk, resume);
    form->SlotEditor(1)->setFocus();
    QTest::keySequence(form.get(), QKeySequence("Ctrl+Alt+S"));
    EXPECT_EQ(readFile(resume), "menu\r\n") << "the name is written in UTF-8 as chosen";
    EXPECT_EQ(form->PageControl1->tabText(0), QString::fromUtf8("r\xC3\xA9sum\xC3\xA9.html"));

    // Qt would take a single "&" for the mark of a shortcut letter.
    dialogs.Queue(mrOk, docs.file("x{0}y&z.html"));
    QTest::keySequence(form.get(), QKeySequence("Ctrl+Alt+S"));
    EXPECT_EQ(form->PageControl1->tabText(0), "x{0}y&&z.html");

    form.reset();
    StartAndActivate({cafe});
    EXPECT_EQ(form->SlotFileName(1), cafe) << "and from the command line";
    EXPECT_EQ(form->PageControl1->tabText(0), QString::fromUtf8("caf\xC3\xA9.html"));
}

TEST_F(DocumentFilesTest, OpenOffersReadOnlyAndSaveDialogsAddTheAspExtension)
{
    const std::string path = WriteDoc("page.asp", "text\r\n");
    dialogs.answers.push_back({mrOk, path, true});
    QTest::keySequence(form.get(), QKeySequence("Alt+F"));
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_TRUE(dialogs.requests[0].offersReadOnly);
    EXPECT_EQ(dialogs.requests[0].defaultExt, "asp");
    EXPECT_TRUE(dialogs.requests[0].text.ends_with(
        "All webrelated|*.asp;*.inc;*.asa;*.htm;*.html;*.htx;*.shtml;*.js;*.vbs;*.cgi;*.pl;*.php3;*.php;*.php2;"
        "*.php4;*.pm;*.css"));
    EXPECT_TRUE(form->SlotEditor(1)->Model().GetReadOnly());

    form->PageControl1->setCurrentIndex(1);
    form->SlotEditor(2)->setFocus();
    QTest::keyClicks(form->SlotEditor(2), "new");
    dialogs.Queue(mrOk, docs.file("fresh"));
    QTest::keySequence(form.get(), QKeySequence("Ctrl+Alt+S"));
    EXPECT_EQ(form->SlotFileName(2), docs.file("fresh.asp"));
    EXPECT_EQ(readFile(docs.file("fresh.asp")), "new\r\n");
}

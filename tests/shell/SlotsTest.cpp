#include "tests/shell/ShellFixture.h"
#include "tests/shell/MenuDriver.h"

// MRUList.h needs the complete menu type.
#include <QMenu>

#include "controls/stores/MRUList.h"
#include "highlighters/hkHTMLSyn.h"
#include "shell/qt/windows/FileManager.h"
#include "shell/qt/mainwindow/PrefForm.h"

#include <QCheckBox>
#include <QClipboard>
#include <QListWidget>
#include <QTabWidget>
#include <QTimer>

#include <filesystem>

using vx::test::ShellTest;

namespace {

void Edit(TmwCustomEdit* editor, const std::string& line)
{
    editor->Model().Lines().Add(line);
    editor->Model().SetModified(true);
}

class SlotsMenuTest : public ShellTest {
protected:
    void SetUp() override
    {
        StartAndActivate();
        Focus(form->SlotEditor(1));
    }
    // File > Open File, the file dialog answered with the file.
    void OpenThroughMenu(const std::string& path)
    {
        dialogs.answers.push_back({mrOk, path, false});
        vx::test::PickMenuCommand(*form, "Fileopen1");
    }
    void TypeInto(int slot, const char* text)
    {
        form->PageControl1->setCurrentIndex(slot - 1);
        Focus(form->SlotEditor(slot));
        QTest::keyClicks(form->SlotEditor(slot), text);
    }
    std::vector<std::string> Messages() const { return dialogs.Messages(); }
};

} // namespace

TEST_F(ShellTest, OpensIntoTheFirstFreeSlotAndNotASixthTime)
{
    StartAndActivate();
    std::vector<std::string> paths;
    for (int i = 1; i <= 6; ++i)
        paths.push_back(WriteDoc("doc" + std::to_string(i) + ".asp", "line " + std::to_string(i) + "\r\n"));
    for (int i = 0; i < 5; ++i)
        form->OpenDocumentInFreeSlot(paths[i], false);
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(form->SlotFileName(i), paths[i - 1]);
        EXPECT_EQ(form->PageControl1->tabText(i - 1), QString("doc%1.asp").arg(i));
    }
    EXPECT_EQ(form->mru->Strings().Count(), 5);
    form->OpenDocumentInFreeSlot(paths[5], false);
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(form->SlotFileName(i), paths[i - 1]);
    ASSERT_EQ(dialogs.requests.size(), 1u) << "it says why";
    dialogs.requests.clear();

    dialogs.Queue(mrYes);
    Focus(form->SlotEditor(2));
    form->PageControl1->setCurrentIndex(1);
    form->SlotEditor(2)->setFocus();
    form->Closefile1Click();
    EXPECT_EQ(form->SlotFileName(2), "");
    form->OpenDocumentInFreeSlot(paths[5], true);
    EXPECT_EQ(form->SlotFileName(2), paths[5]) << "the freed slot is the first free one";
}

TEST_F(ShellTest, MissingFileAndReadOnlyOpens)
{
    StartAndActivate();
    form->OpenDocumentInFreeSlot(docs.file("nowhere.asp"), false);
    EXPECT_EQ(form->SlotFileName(1), "");
    EXPECT_EQ(form->mru->Strings().Count(), 0) << "a recent entry only after a successful load";
    for (int i = 1; i <= 4; ++i)
        form->OpenDocumentInFreeSlot(WriteDoc(std::to_string(i) + ".htm", "x"), false);
    form->OpenDocumentInFreeSlot(WriteDoc("ro.htm", "read me"), true);
    EXPECT_TRUE(form->SlotEditor(5)->Model().GetReadOnly());
    EXPECT_FALSE(form->SlotEditor(2)->Model().GetReadOnly());
    EXPECT_EQ(form->SlotEditor(2)->Model().ScrollBars(), ssBoth);
    EXPECT_EQ(form->mru->Strings()[0], docs.file("ro.htm"));
}

TEST_F(ShellTest, SaveWritesOnlyModifiedWritableSlotsKeepingLineEnds)
{
    const std::string lf = WriteDoc("lf.asp", "one\ntwo\n");
    const std::string untouched = WriteDoc("same.asp", "same\r\n");
    const std::string ro = WriteDoc("ro.asp", "read only\r\n");
    StartAndActivate({lf, untouched});
    form->OpenDocumentInFreeSlot(ro, true);
    Edit(form->SlotEditor(1), "three");
    Edit(form->SlotEditor(3), "never");
    // An untouched slot is not written: a change made on disk meanwhile stays.
    vx::test::writeFile(untouched, "changed elsewhere\r\n");

    form->Save1Click();
    EXPECT_EQ(vx::test::readFile(lf), "one\ntwo\nthree\n");
    EXPECT_FALSE(form->SlotEditor(1)->Model().Modified());
    EXPECT_EQ(vx::test::readFile(untouched), "changed elsewhere\r\n");
    EXPECT_EQ(vx::test::readFile(ro), "read only\r\n");
    EXPECT_TRUE(dialogs.requests.empty());
    // The side panel lists every open file; the file manager only the file this save really wrote.
    ASSERT_EQ(form->ListBox1->count(), 3);
    EXPECT_EQ(form->ListBox1->item(0)->text(), "lf.asp");
    ASSERT_EQ(frm_filemanager->ListBox1->count(), 1);
    EXPECT_EQ(frm_filemanager->ListBox1->item(0)->text(), QString::fromStdString(lf));
    EXPECT_EQ(frm_filemanager->ListBox2->count(), 1);

    form->Save1Click();
    EXPECT_EQ(form->ListBox1->count(), 3);
    EXPECT_EQ(frm_filemanager->ListBox1->count(), 0) << "nothing changed, nothing written";
}

TEST_F(ShellTest, ExternalChangeIsAskedAboutAndBackgroundSavesLeaveIt)
{
    const std::string path = WriteDoc("page.asp", "mine\r\n");
    StartAndActivate({path});
    Edit(form->SlotEditor(1), "more");
    vx::test::writeFile(path, "theirs, longer\r\n");

    form->ApplicationDeactivate();
    EXPECT_TRUE(dialogs.requests.empty());
    EXPECT_EQ(vx::test::readFile(path), "theirs, longer\r\n");

    dialogs.Queue(mrNo);
    form->Save1Click();
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_NE(dialogs.requests[0].text.find("changed by another program"), std::string::npos);
    EXPECT_EQ(vx::test::readFile(path), "theirs, longer\r\n");
    EXPECT_TRUE(form->SlotEditor(1)->Model().Modified());

    dialogs.Queue(mrYes);
    form->Save1Click();
    EXPECT_EQ(vx::test::readFile(path), "mine\r\nmore\r\n");
    EXPECT_FALSE(form->SlotEditor(1)->Model().Modified());
}

TEST_F(ShellTest, AutosaveAndDeactivationSaveModifiedSlots)
{
    const std::string path = WriteDoc("page.asp", "a\r\n");
    StartAndActivate({path});
    Edit(form->SlotEditor(1), "b");
    frm_pref->CheckBox(6)->setChecked(false);
    form->Timer2Timer();
    EXPECT_EQ(form->Timer2->interval(), 10000);
    EXPECT_EQ(vx::test::readFile(path), "a\r\n");
    frm_pref->CheckBox(6)->setChecked(true);
    form->Timer2Timer();
    EXPECT_EQ(vx::test::readFile(path), "a\r\nb\r\n");
    Edit(form->SlotEditor(1), "c");
    form->ApplicationDeactivate();
    EXPECT_EQ(vx::test::readFile(path), "a\r\nb\r\nc\r\n");
}

TEST_F(ShellTest, FailedWriteSaysWhyAndKeepsTheText)
{
    vx::test::TempDir gone("vellumix-gone");
    const std::string path = gone.file("page.asp");
    vx::test::writeFile(path, "x\r\n");
    StartAndActivate({path});
    Edit(form->SlotEditor(1), "y");
    std::filesystem::remove_all(gone.path());
    form->Save1Click();
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].type, mtError);
    EXPECT_NE(dialogs.requests[0].text.find(path), std::string::npos);
    EXPECT_TRUE(form->SlotEditor(1)->Model().Modified());
    EXPECT_EQ(form->SlotFileName(1), path);
}

TEST_F(ShellTest, SaveAsNamesTheFocusedSlotOnly)
{
    StartAndActivate();
    const std::string target = docs.file("new.asp");
    form->PageControl1->setCurrentIndex(3);
    Focus(form->SlotEditor(4));
    form->SlotEditor(4)->Model().SetText("four");
    dialogs.Queue(mrOk, target);
    form->SaveAs1Click();
    EXPECT_EQ(form->SlotFileName(4), target);
    EXPECT_EQ(form->PageControl1->tabText(3), "new.asp");
    EXPECT_EQ(form->SlotTab(4)->toolTip(), QString::fromStdString(target));
    EXPECT_EQ(vx::test::readFile(target), "four\r\n");

    const std::string other = docs.file("other.asp");
    form->PageControl1->setCurrentIndex(TForm1::SlotCount);
    form->Workspaces()[0]->setFocus();
    QApplication::processEvents();
    dialogs.Queue(mrOk, other);
    form->SaveAs1Click();
    EXPECT_FALSE(std::filesystem::exists(other)) << "a workspace has no file";
}

TEST_F(ShellTest, CloseAllClearsEverySlotButNoWorkspace)
{
    const std::string path = WriteDoc("a.asp", "a\r\n");
    StartAndActivate({path});
    form->OpenDocumentInFreeSlot(WriteDoc("b.asp", "b"), true);
    form->Workspaces()[0]->Model().SetText("kept");
    dialogs.Queue(mrNo);
    form->CloseAllfiles1Click();
    EXPECT_EQ(form->SlotFileName(1), path);

    dialogs.Queue(mrYes);
    form->CloseAllfiles1Click();
    for (int i = 1; i <= TForm1::SlotCount; ++i) {
        TmwCustomEditModel& model = form->SlotEditor(i)->Model();
        EXPECT_EQ(form->SlotFileName(i), "");
        EXPECT_EQ(model.GetText(), " \r\n");
        EXPECT_FALSE(model.GetReadOnly());
        EXPECT_EQ(model.HighLighter(), form->hi_html.get());
        EXPECT_EQ(form->PageControl1->tabText(i - 1), "<empty>");
    }
    EXPECT_EQ(form->Workspaces()[0]->Model().GetText(), "kept\r\n");
}

TEST_F(ShellTest, CloseAllClearsTheTemplate)
{
    StartAndActivate();
    dialogs.Queue(mrYes);
    form->CloseAllfiles1Click();
    EXPECT_EQ(Text(form->SlotEditor(1)), " \r\n");
}

TEST_F(ShellTest, CloseActsOnTheFocusedSlotOnly)
{
    StartAndActivate({WriteDoc("a.asp", "a"), WriteDoc("b.asp", "b")});
    form->PageControl1->setCurrentIndex(1);
    Focus(form->SlotEditor(2));
    dialogs.Queue(mrNo);
    form->Closefile1Click();
    EXPECT_NE(form->SlotFileName(2), "");
    dialogs.Queue(mrYes);
    form->Closefile1Click();
    EXPECT_EQ(form->SlotFileName(2), "");
    EXPECT_NE(form->SlotFileName(1), "");
    ASSERT_EQ(dialogs.requests.size(), 2u);
    EXPECT_EQ(dialogs.requests[0].text, " Are you sure you want to close this file (save unfinished work first!) ");
}

// Typed text is the user's work as much as a file: Open File passes a slot
// that holds some for one that holds nothing, and asks to discard it only
// when no slot is free.
TEST_F(SlotsMenuTest, OpenFilePassesTypedTextAndAsksOnlyWhenNoSlotIsFree)
{
    TypeInto(1, "typed");
    const std::string typed = Text(form->SlotEditor(1));
    const std::string a = WriteDoc("a.asp", "a\r\n");
    OpenThroughMenu(a);
    EXPECT_TRUE(Messages().empty()) << "no question";
    EXPECT_EQ(form->SlotFileName(2), a);
    EXPECT_EQ(form->PageControl1->currentIndex(), 1);
    EXPECT_EQ(Text(form->SlotEditor(1)), typed) << "document 1 keeps its text";

    OpenThroughMenu(WriteDoc("b.asp", "b\r\n"));
    OpenThroughMenu(WriteDoc("c.asp", "c\r\n"));
    TypeInto(5, "more");
    EXPECT_TRUE(Messages().empty());
    const std::string d = WriteDoc("d.asp", "d\r\n");
    dialogs.answers.push_back({mrOk, d, false});
    dialogs.Queue(mrNo);
    vx::test::PickMenuCommand(*form, "Fileopen1");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "Document 1 holds text that has not been saved.\r\nDo you want to discard it and open d.asp?");
    EXPECT_EQ(Text(form->SlotEditor(1)), typed) << "No keeps it";
    for (int i = 1; i <= TForm1::SlotCount; ++i)
        EXPECT_NE(form->SlotFileName(i), d);

    dialogs.requests.clear();
    dialogs.answers.push_back({mrOk, d, false});
    dialogs.Queue(mrYes);
    vx::test::PickMenuCommand(*form, "Fileopen1");
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_EQ(form->SlotFileName(1), d);
    EXPECT_EQ(Text(form->SlotEditor(5)), "more\r\n") << "the other typed text stays";
}

// Open File says why it opened nothing: a name that is no file, or no
// document left to take one.
TEST_F(SlotsMenuTest, OpenFileSaysWhyItOpensNothing)
{
    const std::string nowhere = docs.file("nowhere.asp");
    OpenThroughMenu(nowhere);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "Cannot open " + nowhere + ": there is no such file.");
    EXPECT_EQ(dialogs.requests.back().type, mtError);
    EXPECT_EQ(form->SlotFileName(1), "");

    for (int i = 1; i <= TForm1::SlotCount; ++i)
        form->OpenDocumentInFreeSlot(WriteDoc(std::to_string(i) + ".htm", "x"), false);
    dialogs.requests.clear();
    OpenThroughMenu(WriteDoc("sixth.htm", "x"));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "Cannot open sixth.htm: every document already holds a file.\r\nClose one of them first.");
    for (int i = 1; i <= TForm1::SlotCount; ++i)
        EXPECT_EQ(form->SlotFileName(i), docs.file(std::to_string(i) + ".htm"));
}

// Closing names the documents whose unsaved changes it discards; with none,
// the question is the usual one.
TEST_F(SlotsMenuTest, ClosingNamesTheDocumentsWhoseChangesItDiscards)
{
    const std::string a = WriteDoc("a.asp", "a\r\n");
    const std::string b = WriteDoc("b.asp", "b\r\n");
    form->OpenDocumentInFreeSlot(a, false);
    form->OpenDocumentInFreeSlot(b, false);
    TypeInto(1, "changed ");
    TypeInto(4, "draft");
    form->PageControl1->setCurrentIndex(TForm1::SlotCount);
    QTest::keyClicks(form->Workspaces()[0], "a workspace keeps its text");
    const std::string closeAll = " Are you sure you want to close all files (save unfinished work first!) ";
    const std::string closeOne = " Are you sure you want to close this file (save unfinished work first!) ";

    dialogs.Queue(mrNo);
    vx::test::PickMenuCommand(*form, "CloseAllfiles1");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], closeAll + "\r\n\r\nClosing discards the changes that were not saved in:\r\n    " + a +
                                 "\r\n    Document 4 (no file)");
    EXPECT_EQ(form->SlotFileName(1), a) << "No closes nothing";

    // Close current file names the one document it closes, when it has changes.
    dialogs.requests.clear();
    dialogs.Queue(mrNo);
    Focus(form->SlotEditor(1));
    vx::test::PickMenuCommand(*form, "Closefile1");
    dialogs.Queue(mrYes);
    TypeInto(2, "");
    vx::test::PickMenuCommand(*form, "Closefile1");
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[0], closeOne + "\r\n\r\nClosing discards the changes that were not saved in:\r\n    " + a);
    EXPECT_EQ(Messages()[1], closeOne) << "b.asp has no changes";
    EXPECT_EQ(form->SlotFileName(2), "");

    dialogs.requests.clear();
    dialogs.Queue(mrYes);
    vx::test::PickMenuCommand(*form, "CloseAllfiles1");
    dialogs.Queue(mrYes);
    vx::test::PickMenuCommand(*form, "CloseAllfiles1");
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[1], closeAll) << "nothing left unsaved";
}

// New settles where the page goes before the wizard runs: where every
// document holds a file it says so, and nothing is filled in or written for
// nothing; typed text makes way only if the user says so.
TEST_F(SlotsMenuTest, NewSavesTheWizardsPageAndOpensItWhereADocumentTakesIt)
{
    const std::string target = docs.file("fresh.asp");
    EXPECT_TRUE(form->New1->isEnabled()) << "the new-page dialog is built";
    form->SetNewPageWizard(nullptr);
    EXPECT_FALSE(form->New1->isEnabled()) << "no wizard, no New";
    int wizards = 0;
    form->SetNewPageWizard([&wizards] {
        ++wizards;
        QApplication::clipboard()->setText("<html>\n</html>");
        return true;
    });
    EXPECT_TRUE(form->New1->isEnabled());
    dialogs.Queue(mrOk, target);
    vx::test::PickMenuCommand(*form, "New1");
    EXPECT_EQ(vx::test::readFile(target), "<html>\r\n</html>\r\n");
    EXPECT_EQ(form->SlotFileName(1), target);
    EXPECT_EQ(dialogs.requests.size(), 1u) << "only the save dialog";

    for (int i = 2; i <= TForm1::SlotCount; ++i)
        form->OpenDocumentInFreeSlot(WriteDoc(std::to_string(i) + ".htm", "x"), false);
    const std::string lost = docs.file("lost.asp");
    dialogs.requests.clear();
    dialogs.Queue(mrOk, lost);
    vx::test::PickMenuCommand(*form, "New1");
    ASSERT_EQ(dialogs.requests.size(), 1u) << "no save dialog";
    EXPECT_EQ(dialogs.requests[0].kind, vx::dialogs::Kind::Message);
    EXPECT_EQ(dialogs.requests[0].text,
              "Cannot make a new page: every document already holds a file.\r\nClose one of them first.");
    EXPECT_EQ(wizards, 1) << "the wizard is not filled in for nothing";
    EXPECT_FALSE(std::filesystem::exists(lost));

    // Slot 3 without its file, holding typed text.
    dialogs.answers.clear();
    dialogs.Queue(mrYes);
    form->PageControl1->setCurrentIndex(2);
    Focus(form->SlotEditor(3));
    vx::test::PickMenuCommand(*form, "Closefile1");
    TypeInto(3, "draft");
    dialogs.requests.clear();
    dialogs.Queue(mrNo);
    vx::test::PickMenuCommand(*form, "New1");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0],
              "Document 3 holds text that has not been saved.\r\nDo you want to discard it and make a new page?");
    EXPECT_EQ(wizards, 1) << "No: no wizard";
    EXPECT_NE(Text(form->SlotEditor(3)).find("draft"), std::string::npos) << "and the text stays";

    const std::string second = docs.file("second.asp");
    dialogs.requests.clear();
    dialogs.Queue(mrYes);
    dialogs.Queue(mrOk, second);
    vx::test::PickMenuCommand(*form, "New1");
    EXPECT_EQ(wizards, 2);
    ASSERT_EQ(dialogs.requests.size(), 2u) << "asked once, then the save dialog";
    EXPECT_EQ(dialogs.requests[1].kind, vx::dialogs::Kind::SaveFile);
    EXPECT_EQ(vx::test::readFile(second), "<html>\r\n</html>\r\n");
    EXPECT_EQ(form->SlotFileName(3), second);
    EXPECT_EQ(Text(form->SlotEditor(3)), "<html>\r\n</html>\r\n");
}

TEST_F(ShellTest, RecentFileEntryReopensIntoAFreeSlot)
{
    const std::string a = WriteDoc("a.asp", "a\r\n");
    StartAndActivate({a});
    ASSERT_EQ(form->mru->Strings().Count(), 1);
    EXPECT_EQ(form->mru->Strings().Objects(0), 1) << "the slot number goes with the name";
    EXPECT_TRUE(form->ReOpen1->isEnabled());
    dialogs.Queue(mrYes);
    form->CloseAllfiles1Click();
    form->mru->OnClick(form->mru, a, "", 1);
    EXPECT_EQ(form->SlotFileName(1), a);
}

TEST_F(ShellTest, NeitherSaveAsNorNewWritesOverAFileAnotherSlotHolds)
{
    const std::string a = WriteDoc("a.asp", "AAA\r\n");
    const std::string b = WriteDoc("b.asp", "BBB\r\n");
    StartAndActivate({a, b});
    form->show();
    ASSERT_EQ(form->SlotFileName(2), b);
    form->PageControl1->setCurrentIndex(1);
    Focus(form->SlotEditor(2));
    dialogs.Queue(mrOk, a);
    QTest::keySequence(form.get(), QKeySequence("Ctrl+Alt+S"));

    ASSERT_EQ(dialogs.requests.size(), 2u) << "the save dialog, then why nothing was saved";
    EXPECT_EQ(dialogs.requests[1].type, mtWarning);
    EXPECT_NE(dialogs.requests[1].text.find("a.asp"), std::string::npos);
    EXPECT_EQ(form->SlotFileName(1), a);
    EXPECT_EQ(form->SlotFileName(2), b);
    EXPECT_EQ(form->PageControl1->tabText(1), "b.asp");
    EXPECT_EQ(vx::test::readFile(a), "AAA\r\n");

    // Its own name is no other slot's.
    dialogs.Queue(mrOk, b);
    QTest::keySequence(form.get(), QKeySequence("Ctrl+Alt+S"));
    EXPECT_EQ(dialogs.requests.size(), 3u);
    EXPECT_EQ(form->SlotFileName(2), b);

    // Nor does New write its page over a file a slot shows.
    form->SetNewPageWizard([] {
        QApplication::clipboard()->setText("<html>\n</html>");
        return true;
    });
    dialogs.Queue(mrOk, a);
    QTest::keySequence(form.get(), QKeySequence("Ctrl+N"));
    ASSERT_EQ(dialogs.requests.size(), 5u);
    EXPECT_EQ(dialogs.requests[4].type, mtWarning);
    EXPECT_EQ(vx::test::readFile(a), "AAA\r\n");
    EXPECT_EQ(form->SlotEditor(1)->Model().GetText(), "AAA\r\n");
}

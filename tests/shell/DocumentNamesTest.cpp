// A document's file name on the user's paths: a file already open is never
// loaded into a second slot, and a name that is not ASCII reaches the link
// validator's address and the Re-Open list as the file system spells it.
#include "tests/shell/MenuDriver.h"
#include "tests/shell/ShellFixture.h"

#include "shell/qt/launch/Launchers.h"
#include "tools/qt/ImageInsert.h"
#include "tools/qt/framework/FileChooser.h"

#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTest>

using vx::test::ShellTest;

namespace {

// "café-übersicht" as the file system stores it.
const std::string NonAscii = "caf\xC3\xA9-\xC3\xBC" "bersicht";

class DocumentNamesTest : public ShellTest {
protected:
    void TearDown() override { vx::shell::SetDialogHost({}); }
    // As the program starts: the window shown (the recent files read), then
    // the files of the command line opened.
    void StartShown(std::vector<std::string> commandLine)
    {
        Start();
        form->show();
        form->CommandLine = std::move(commandLine);
        form->FormActivate();
    }
    QAction* RecentEntry(const QString& name) const
    {
        for (QAction* action : form->ReOpen1->actions())
            if (action->text().endsWith(name))
                return action;
        return nullptr;
    }
};

} // namespace

TEST_F(DocumentNamesTest, AFileAlreadyOpenActivatesItsSlotInsteadOfASecondCopy)
{
    const std::string page = WriteDoc("page.asp", "page\r\n");
    const std::string other = WriteDoc("other.asp", "other\r\n");
    StartShown({page, other});
    Focus(form->SlotEditor(1));
    QTest::keyClicks(form->SlotEditor(1), "typed ");
    Focus(form->SlotEditor(2));

    // By the open dialog, by another spelling of the name, and by the Re-Open list.
    dialogs.Queue(mrOk, page);
    QTest::keySequence(form.get(), QKeySequence("Alt+F"));
    EXPECT_EQ(form->PageControl1->currentIndex(), 0);
    EXPECT_EQ(form->ActiveEditor(), form->SlotEditor(1));
    Focus(form->SlotEditor(2));
    form->OpenDocumentInFreeSlot(docs.file("./page.asp"), false);
    EXPECT_EQ(form->PageControl1->currentIndex(), 0);
    Focus(form->SlotEditor(2));
    QAction* recent = RecentEntry("page.asp");
    ASSERT_NE(recent, nullptr);
    recent->trigger();
    EXPECT_EQ(form->PageControl1->currentIndex(), 0);

    EXPECT_EQ(form->SlotFileName(3), "") << "no second copy";
    EXPECT_EQ(Text(form->SlotEditor(1)), "typed page\r\n") << "the typing stays";
    QTest::keySequence(form.get(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(vx::test::readFile(page), "typed page\r\n");
}

TEST_F(DocumentNamesTest, ANameRelativeToTheWorkingFolderIsKeptWhole)
{
    const std::string page = WriteDoc("page.asp", "page\r\n");
    const std::filesystem::path started = std::filesystem::current_path();
    std::filesystem::current_path(docs.path());
    StartShown({"page.asp"});
    // Where a later start (its recovery, its Re-Open list) may stand.
    std::filesystem::current_path(started);
    const std::string kept = form->SlotFileName(1);
    EXPECT_TRUE(std::filesystem::path(kept).is_absolute()) << kept;
    EXPECT_TRUE(std::filesystem::equivalent(kept, page)) << kept;
    Focus(form->SlotEditor(1));
    QTest::keyClicks(form->SlotEditor(1), "typed ");
    QTest::keySequence(form.get(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(vx::test::readFile(page), "typed page\r\n") << "saved over the file it was read from";
    EXPECT_FALSE(std::filesystem::exists(started / "page.asp")) << "nothing written beside the new working folder";
}

TEST_F(DocumentNamesTest, ANameThatIsNotAsciiReachesTheLinkValidatorAndTheReOpenListUnchanged)
{
    const std::string page = WriteDoc(NonAscii + ".htm", "<a href=\"x.htm\">x</a>\r\n");
    StartShown({page});
    Focus(form->SlotEditor(1));
    QString address;
    vx::shell::SetDialogHost([&address](QDialog& dialog) {
        if (auto* edit = dialog.findChild<QLineEdit*>("edtHTML"))
            address = edit->text();
        return int(QDialog::Rejected);
    });
    vx::test::PickMenuCommand(*form, "LinkValidator1");
    EXPECT_EQ(address, QString::fromUtf8(page.c_str()));

    const QString shown = QString::fromUtf8((NonAscii + ".htm").c_str());
    ASSERT_NE(RecentEntry(shown), nullptr) << "Re-Open lists " << form->ReOpen1->actions().value(0)->text().toStdString();
    dialogs.Queue(mrYes);
    form->CloseAllfiles1Click();
    RecentEntry(shown)->trigger();
    EXPECT_EQ(form->SlotFileName(1), page) << "and back to the file";
}

TEST_F(DocumentNamesTest, DroppedFilesWhoseNamesAreNotAsciiOpenAndPresetTheImageDialog)
{
    const std::string page = WriteDoc(NonAscii + ".htm", "dropped\r\n");
    const std::string picture = WriteDoc(NonAscii + ".gif", "GIF89a");
    StartShown({});
    Focus(form->SlotEditor(1));
    vx::test::DropFiles(*form->SlotEditor(1), {page});
    EXPECT_EQ(form->SlotFileName(1), page);

    std::string chosen;
    vx::shell::SetDialogHost([&chosen](QDialog& dialog) {
        dialog.show();
        chosen = dynamic_cast<Tfrm_addimg&>(dialog).Files->SelectedPath();
        return int(QDialog::Rejected);
    });
    vx::test::DropFiles(*form->SlotEditor(1), {picture});
    EXPECT_EQ(chosen, picture) << "the image dialog starts on the dropped file";
}

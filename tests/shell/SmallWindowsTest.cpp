// The small windows of the shell driven through their controls: the file
// manager's transfer times, the document selector, the SQL wizard, the image
// preview, the about box, the side picture, and the page title of a file that
// is gone.
#include "tests/shell/ShellFixture.h"

#include "controls/flat/TFlatMemoUnit.h"
#include "shell/qt/windows/About.h"
#include "shell/qt/windows/FileManager.h"
#include "shell/qt/windows/PreviewImg.h"
#include "shell/qt/windows/SearchForm.h"
#include "shell/qt/windows/SelDoc.h"
#include "shell/qt/windows/SqlWiz.h"
#include "shell/TransferTimes.h"
#include "shell/qt/launch/Launchers.h"
#include "tools/qt/framework/DisplayDialogs.h"
#include "tools/qt/framework/RadioGroup.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <fstream>

namespace vx::test {
namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

Rows ListViewRows(const QTreeWidget& list)
{
    Rows rows;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        rows.emplace_back(list.topLevelItem(i)->text(0).toStdString(), list.topLevelItem(i)->text(1).toStdString());
    return rows;
}

class SmallWindowsTest : public ShellTest {
protected:
    void SetUp() override { StartAndActivate(); }
};

TEST(TransferTimes, BytesTimesEightByTheBitRate)
{
    EXPECT_EQ(vx::shell::TransferRows(28800), (Rows{{"14400", "16 Sec"},
                                                    {"28800", "8 Sec."},
                                                    {"56000", "4 Sec."},
                                                    {"64000", "3 Sec."},
                                                    {"128000", "1 Sec."},
                                                    {"256000", "0 Sec."}}));
    EXPECT_EQ(vx::shell::TransferRows(0).front().second, "0 Sec");
    EXPECT_EQ(vx::shell::TransferRows(UINT64_MAX).back().second, std::to_string(UINT64_MAX / 256000 * 8) + " Sec.")
        << "no overflow";
    EXPECT_EQ(vx::shell::SizeText(28800), "28800 bytes");
}

TEST_F(SmallWindowsTest, TheFileManagerShowsTheTransferTimesOfTheClickedFile)
{
    const std::string file = WriteDoc("big.htm", std::string(28800, 'x'));
    frm_filemanager->ListBox1->addItem(QString::fromStdString(file));
    frm_filemanager->ListBox1->addItem(QString::fromStdString(docs.file("gone.htm")));
    frm_filemanager->show();
    EXPECT_EQ(frm_filemanager->ListBox1->currentRow(), 0) << "activation selects the first line";
    EXPECT_EQ(frm_filemanager->pos(), QPoint(20, 20));
    ClickRow(*frm_filemanager->ListBox1, 0);
    EXPECT_EQ(ListViewRows(*frm_filemanager->ListView1), vx::shell::TransferRows(28800));
    EXPECT_EQ(frm_filemanager->Label4->text(), "28800 bytes");
    ClickRow(*frm_filemanager->ListBox1, 1);
    EXPECT_EQ(frm_filemanager->ListView1->topLevelItemCount(), 0);
    EXPECT_EQ(frm_filemanager->Label4->text(), "File not found");
    QTest::mouseClick(frm_filemanager->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    EXPECT_FALSE(frm_filemanager->isVisible());
    EXPECT_NE(frm_filemanager, nullptr) << "closing hides the window; it lives for the run";
}

TEST_F(SmallWindowsTest, TheDocumentSelectorPastesIntoTheChosenSlot)
{
    EXPECT_EQ(frm_seldoc->RadioGroup1->ItemIndex(), -1);
    Focus(form->SlotEditor(1));
    QApplication::clipboard()->setText("<p>wizard</p>");
    auto pick = [](int item, const char* button) {
        WhenModal([item, button](QWidget& window) {
            if (item >= 0) {
                QRadioButton* radio = window.findChildren<QRadioButton*>().at(item);
                QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
                EXPECT_EQ(frm_seldoc->RadioGroup1->ItemIndex(), item);
            }
            QTest::mouseClick(window.findChild<QPushButton*>(button), Qt::LeftButton);
        });
        frm_seldoc->exec();
    };
    pick(2, "Button2");
    EXPECT_EQ(form->SlotEditor(3)->Model().Lines()[0], "<p>wizard</p> ") << "slot 3, whatever slot has the focus";
    EXPECT_EQ(form->SlotEditor(1)->Model().GetText().find("wizard"), std::string::npos);
    pick(3, "Button1");
    EXPECT_EQ(frm_seldoc->RadioGroup1->ItemIndex(), -1) << "Cancel clears the choice";
    EXPECT_EQ(form->SlotEditor(4)->Model().GetText().find("wizard"), std::string::npos);
    pick(-1, "Button2");
    for (int slot : {1, 2, 4, 5})
        EXPECT_EQ(form->SlotEditor(slot)->Model().GetText().find("wizard"), std::string::npos) << slot;
}

TEST_F(SmallWindowsTest, TheSqlWizardBuildsTheSelectIntoItsVariable)
{
    EXPECT_EQ(frm_sqlwiz->fields->Lines().Text(), "*\r\n");
    EXPECT_EQ(frm_sqlwiz->Memo1->Lines().Count(), 0);
    WhenModal([](QWidget&) {
        QTest::keyClicks(frm_sqlwiz->edit1, "users");
        QTest::mouseClick(frm_sqlwiz->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    });
    frm_sqlwiz->exec();
    EXPECT_EQ(frm_sqlwiz->Memo1->Lines().Text(), "Sql_get= \"Select * from users\"\r\n");
    EXPECT_EQ(frm_sqlwiz->pos(), QPoint(20, 20));
}

TEST_F(SmallWindowsTest, DialogsShowTheSharedSidePicture)
{
    frm_search->show();
    EXPECT_FALSE(frm_search->Image1->pixmap().isNull());
    frm_search->hide();
}

TEST_F(SmallWindowsTest, TheImagePreviewDecodesByContentAndShowsNothingForTheUndecodable)
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::red);
    // A bitmap under a JPEG's name is still shown: the content decides.
    ASSERT_TRUE(image.save(QString::fromStdString(docs.file("photo.jpg")), "BMP"));
    WriteDoc("broken.gif", "GIF89a this is not a picture");
    WriteDoc("notes.txt", "text");
    QAction* command = MenuCommand("Imagepreviewer1");
    EXPECT_TRUE(command->isEnabled());
    WhenModal([this](QWidget& window) {
        auto& preview = dynamic_cast<Tfrm_previewimg&>(window);
        EXPECT_EQ(preview.windowTitle(), "Image preview");
        EXPECT_EQ(preview.pos(), QPoint(20, 20));
        EXPECT_EQ(preview.FilterComboBox1->itemText(0), "All images");
        preview.SetFolder(docs.path().string());
        ASSERT_EQ(preview.FileListBox1->count(), 2) << "images only";
        EXPECT_EQ(preview.FileListBox1->item(0)->text(), "broken.gif");
        ClickRow(*preview.FileListBox1, 1);
        EXPECT_EQ(preview.Image1->pixmap().size(), QSize(40, 30));
        QTest::mouseClick(preview.CheckBox1, Qt::LeftButton);
        EXPECT_TRUE(preview.Image1->hasScaledContents());
        ClickRow(*preview.FileListBox1, 0);
        EXPECT_TRUE(preview.Image1->pixmap().isNull()) << "an undecodable file shows an empty picture";
        dialogs.Queue(mrOk, docs.file("photo.jpg"));
        QTest::mouseClick(preview.Button1, Qt::LeftButton);
        EXPECT_EQ(preview.Image1->pixmap().size(), QSize(40, 30));
        EXPECT_EQ(dialogs.requests.back().kind, vx::dialogs::Kind::OpenFile);
        EXPECT_EQ(dialogs.requests.back().text.rfind("All supported images|", 0), 0u);
        QTest::mouseClick(preview.BitBtn1, Qt::LeftButton);
    });
    command->trigger();
}

TEST_F(SmallWindowsTest, TheAboutBoxNamesTheProductAndItsVersion)
{
    QAction* command = MenuCommand("AboutVellumix1");
    WhenModal([](QWidget& window) {
        auto& about = dynamic_cast<Tfrm_about&>(window);
        EXPECT_EQ(about.windowTitle(), "About Vellumix");
        EXPECT_EQ(about.Label1->text(), ProductVersion);
        EXPECT_NE(about.findChild<QWidget*>("Titler1"), nullptr) << "the credits";
        EXPECT_EQ(about.pos(), QPoint(40, 40));
        QTest::mouseClick(about.SpeedButton1, Qt::LeftButton);
    });
    command->trigger();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(SmallWindowsTest, ThePageTitleOfASlotWhoseFileIsGoneIsEmpty)
{
    const std::string file = WriteDoc("gone.htm", "<title>Home</title>\r\n");
    form->OpenDocumentInFreeSlot(file, false);
    std::filesystem::remove(file);
    Focus(form->SlotEditor(1));
    std::string title = "unset";
    vx::shell::SetDialogHost([&title](QDialog& dialog) {
        title = static_cast<Tfrm_docinfo&>(dialog).ListView1->topLevelItem(2)->text(1).toStdString();
        return int(QDialog::Accepted);
    });
    vx::shell::RunLauncher(*form, "Tfrm_docinfo");
    vx::shell::SetDialogHost({});
    EXPECT_EQ(title, "");
    EXPECT_TRUE(dialogs.requests.empty()) << "no error";
}

} // namespace
} // namespace vx::test

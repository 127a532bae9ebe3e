#include "tests/shell/MenuDriver.h"
#include "tests/shell/ShellFixture.h"

#include "controls/edits/RXCombos.h"
#include "controls/foldertree/DirTree.h"
#include "controls/edits/ToolEdit.h"
#include "platform/qt/QtText.h"
#include "shell/qt/mainwindow/PrefForm.h"
#include "shell/qt/panels/FilePanel.h"
#include "shell/qt/panels/SidePanels.h"
#include "tests/controls/FlatTestSupport.h"
#include "tools/qt/framework/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QSpinBox>
#include <QTreeView>

using vx::test::ShellTest;

namespace {

class PrefTest : public ShellTest {
protected:
    void SetUp() override { Start(); }
    void Put(const char* name, const std::string& value)
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        reg.OpenKey(PreferencesKey, true);
        reg.WriteString(name, value);
    }
    std::string Get(const char* name)
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        reg.OpenKey(PreferencesKey, true);
        return reg.ValueExists(name) && reg.GetDataType(name) == TRegDataType::rdInteger ? std::to_string(reg.ReadInteger(name))
                                                                           : reg.ReadString(name);
    }
};

} // namespace

TEST_F(PrefTest, SettingsRoundTripThroughTheRegistry)
{
    frm_pref->p_name->setText("Ann");
    SetColorBoxValue(*frm_pref->asp, 0x123456);
    frm_pref->SpinEdit1->setValue(14);
    frm_pref->workspacer->setValue(7);
    frm_pref->RadioGroup2->SetItemIndex(3);
    frm_pref->RadioGroup1->SetItemIndex(4);
    frm_pref->p_align->setCurrentIndex(2);
    frm_pref->ComboBox1->setCurrentIndex(1);
    frm_pref->ComboEdit2->setText("/shared");
    frm_pref->CheckBox(3)->setChecked(true);
    frm_pref->CheckBox(22)->setChecked(true);
    frm_pref->CheckBox(5)->setChecked(false);
    frm_pref->findChild<QPlainTextEdit*>("Memo1")->appendPlainText("!x");
    frm_pref->Button2Click();

    EXPECT_EQ(Get("name"), "Ann");
    EXPECT_EQ(Get("aspcolor"), std::to_string(0x123456));
    EXPECT_EQ(Get("fontsize"), "14");
    EXPECT_EQ(Get("tag_ins"), "CAPS");
    EXPECT_EQ(Get("identlevel"), "4");
    EXPECT_EQ(Get("p_type"), "2");
    EXPECT_EQ(Get("language"), "1");
    EXPECT_EQ(Get("vbident"), "TRUE");
    EXPECT_EQ(Get("assistant"), "FALSE");
    EXPECT_FALSE(Get("lastupdate_date").empty());
    EXPECT_FALSE(Get("lastupdate_time").empty());
    EXPECT_EQ(vx::test::readFile(userData.File("data/macros.dat")).substr(0, 5), "!rp\r\n");
    EXPECT_EQ(TagCaseMode(), "CAPS") << "the save loads again";
    TagCaseMode() = "NORMAL";

    form.reset();
    TRegistry::ResetStoreForTests();
    Start();
    frm_pref->FormActivate();
    EXPECT_EQ(frm_pref->p_name->text(), "Ann");
    EXPECT_EQ(ColorBoxValue(*frm_pref->asp), 0x123456u);
    EXPECT_EQ(frm_pref->SpinEdit1->value(), 14);
    EXPECT_EQ(frm_pref->WorkspaceCount(), 7);
    EXPECT_EQ(frm_pref->RadioGroup2->ItemIndex(), 3);
    EXPECT_EQ(frm_pref->RadioGroup1->ItemIndex(), 4);
    EXPECT_EQ(frm_pref->p_align->currentIndex(), 2);
    EXPECT_EQ(frm_pref->ComboBox1->currentIndex(), 1);
    EXPECT_TRUE(frm_pref->Ticked(3));
    EXPECT_TRUE(frm_pref->Ticked(22));
    EXPECT_FALSE(frm_pref->Ticked(5));
    EXPECT_TRUE(frm_pref->findChild<QPlainTextEdit*>("Memo1")->toPlainText().endsWith("\n!x"));
    EXPECT_EQ(TagCaseMode(), "CAPS");
    TagCaseMode() = "NORMAL";
}

TEST_F(PrefTest, MissingOrMistypedValuesTakeTheLayoutsValuesSilently)
{
    Put("fontsize", "abc");
    Put("workspace", "12");
    Put("vbident", "FALSE");
    Put("tag_ins", "up");
    Put("language", "2");
    Put("identlevel", "x");
    Put("showvcs", "TRUE");
    frm_pref->CheckBox(3)->setChecked(true);
    frm_pref->RadioGroup2->SetItemIndex(2);
    frm_pref->CheckBox(1)->setChecked(true);
    frm_pref->FormActivate();
    EXPECT_TRUE(dialogs.requests.empty());
    EXPECT_EQ(frm_pref->SpinEdit1->value(), 10);
    EXPECT_EQ(frm_pref->WorkspaceCount(), 2);
    EXPECT_EQ(ColorBoxValue(*frm_pref->vbs), 0x008000u);
    EXPECT_FALSE(frm_pref->Ticked(3));
    EXPECT_EQ(frm_pref->RadioGroup2->ItemIndex(), 2) << "a value matching no item leaves the group";
    EXPECT_EQ(TagCaseMode(), "LO");
    EXPECT_EQ(frm_pref->ComboBox1->currentIndex(), 0);
    EXPECT_EQ(frm_pref->RadioGroup1->ItemIndex(), 0);
    EXPECT_FALSE(frm_pref->Ticked(22)) << "no VCS without a shared directory";
    EXPECT_TRUE(frm_pref->Ticked(1)) << "a missing value that stays";
    EXPECT_TRUE(frm_pref->Ticked(13));
    EXPECT_TRUE(frm_pref->sound->isEnabled());
    EXPECT_EQ(frm_pref->sound->text().toStdString(), home.File("exit.wav"));
    TagCaseMode() = "NORMAL";
}

TEST_F(PrefTest, VcsNeedsASharedDirectory)
{
    frm_pref->CheckBox(22)->setChecked(true);
    frm_pref->CheckBox22Click();
    EXPECT_FALSE(frm_pref->Ticked(22));
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].text, " You can't switch VCS on if you don't define a shared data directory first");
    frm_pref->ComboEdit2->setText("/shared");
    frm_pref->CheckBox(22)->setChecked(true);
    frm_pref->CheckBox22Click();
    EXPECT_TRUE(frm_pref->Ticked(22));
}

TEST_F(PrefTest, FieldButtonsFillTheirOwnFieldsAndCancelKeepsThem)
{
    frm_pref->sound->setText("keep.wav");
    dialogs.Queue(mrOk, "/bin/tool");
    frm_pref->ToolButtonClick(1);
    EXPECT_EQ(frm_pref->ToolPrograms[1]->text(), "/bin/tool");
    EXPECT_EQ(frm_pref->ToolPrograms[0]->text(), "");
    EXPECT_EQ(frm_pref->sound->text(), "keep.wav");
    dialogs.Queue(mrOk, "/snd/exit.wav");
    frm_pref->soundButtonClick();
    EXPECT_EQ(frm_pref->sound->text(), "/snd/exit.wav");
    EXPECT_EQ(dialogs.requests.back().text, "Wave files|*.wav");
}

TEST_F(PrefTest, CheckBoxesEnableTheirFields)
{
    frm_pref->CheckBox(13)->setChecked(false);
    frm_pref->CheckBox13Click();
    EXPECT_FALSE(frm_pref->sound->isEnabled());
    EXPECT_FALSE(frm_pref->SpeedButton1->isEnabled());
    frm_pref->CheckBox(15)->setChecked(true);
    frm_pref->CheckBox15Click();
    EXPECT_TRUE(frm_pref->p_align->isEnabled());
}

TEST_F(PrefTest, MenuCommandDropsCancelledEditsAndTheToolButtonKeepsThem)
{
    frm_pref->FormActivate();
    QTimer::singleShot(0, [] {
        frm_pref->p_name->setText("edited");
        frm_pref->Button1Click();
    });
    form->Prefferences1Click();
    EXPECT_EQ(frm_pref->p_name->text(), "");
    QTimer::singleShot(0, [] {
        frm_pref->p_name->setText("edited");
        frm_pref->Button1Click();
    });
    form->SpeedButton12Click();
    EXPECT_EQ(frm_pref->p_name->text(), "edited");
}

TEST_F(PrefTest, EditorFontNameIsKeptEvenWhenNotInstalled)
{
    Put("fonttype", "Vellumix Missing Face");
    frm_pref->FormActivate();
    EXPECT_EQ(frm_pref->FontComboBoxes[0]->FontName(), "") << "the combo cannot show a face that is not installed";
    frm_pref->Button2Click();
    EXPECT_EQ(Get("fonttype"), "Vellumix Missing Face") << "saving never swaps in a substitute";

    Put("fonttype", "");
    frm_pref->FormActivate();
    frm_pref->Button2Click();
    EXPECT_EQ(Get("fonttype"), "");
}

TEST_F(PrefTest, APickedEditorFontReplacesAnUninstalledSetting)
{
    Put("fonttype", "Vellumix Missing Face");
    frm_pref->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frm_pref));
    frm_pref->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
    TFontComboBox& fonts = *frm_pref->FontComboBoxes[0];
    ASSERT_GT(fonts.count(), 0);
    ASSERT_EQ(fonts.currentIndex(), -1);
    frm_pref->activateWindow();
    fonts.setFocus();
    QTest::keyClick(&fonts, Qt::Key_Down);
    const std::string picked = vx::FromQString(fonts.itemText(0));
    EXPECT_EQ(fonts.FontName(), picked);
    QPushButton* save = nullptr;
    for (QPushButton* button : frm_pref->findChildren<QPushButton*>())
        if (button->text() == "&Save Information")
            save = button;
    ASSERT_NE(save, nullptr);
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(Get("fonttype"), picked);
}

TEST_F(PrefTest, TheFilePanelTakesTheDrivePanelAndFontColours)
{
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        reg.OpenKey(PreferencesKey, true);
        reg.WriteInteger("drivepanel", 0x00FF0000); // blue, as 0x00BBGGRR
        reg.WriteInteger("panelfont", 0x000000FF);  // red
    }
    frm_pref->FormActivate();
    vx::shell::TFilePanel* panel = vx::shell::FilePanel(*form);
    ASSERT_NE(panel, nullptr);
    for (QWidget* part : {static_cast<QWidget*>(panel->filelist), static_cast<QWidget*>(panel->DirectoryListBox1),
                          static_cast<QWidget*>(panel->DriveComboBox1)}) {
        EXPECT_EQ(part->palette().color(QPalette::Base), QColor(0, 0, 255)) << part->objectName().toStdString();
        EXPECT_EQ(part->palette().color(QPalette::Text), QColor(255, 0, 0)) << part->objectName().toStdString();
    }
    form->show();
    vx::test::PickMenuItem(*form, {"View1", "Filepanel1"});
    ASSERT_TRUE(panel->filelist->isVisible());
    const QImage shown = vx::test::Render(*panel->filelist);
    EXPECT_EQ(vx::test::PixelAt(shown, shown.width() / 2, shown.height() / 2), 0x00FF0000u) << "the list is painted in it";

    frm_pref->Button2Click();
    EXPECT_EQ(Get("drivepanel"), std::to_string(0x00FF0000)) << "and saved back";
}

// The generator dialogs driven through their widgets: fields in, generate,
// cancel and frame close.
#include "tests/controls/FlatTestSupport.h"
#include "tests/support/TempDir.h"
#include "tests/tools/FakeMainWindow.h"

#include "controls/flat/TFlatCheckBoxUnit.h"
#include "controls/flat/TFlatComboBoxUnit.h"
#include "controls/flat/TFlatEditUnit.h"
#include "controls/flat/TFlatMemoUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "controls/sound/WWave32.h"
#include "tools/PageTemplates.h"
#include "tools/qt/FileGenerators.h"
#include "tools/qt/PageGenerators.h"
#include "tools/qt/TableWizard.h"
#include "tools/qt/framework/FileChooser.h"
#include "tools/qt/framework/RadioGroup.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <gtest/gtest.h>

using vx::tools::GeneratorDialog;
using vx::tools::TLines;

namespace {

TFlatSpeedButton* Button(QWidget& dialog, const char* name)
{
    return dynamic_cast<TFlatSpeedButton*>(dialog.findChild<QObject*>(name));
}

// Clicks near the left end, where check marks, radio marks and captions begin.
void Click(QWidget* widget)
{
    ASSERT_NE(widget, nullptr);
    vx::test::Click(*widget, QPoint(std::min(8, widget->width() / 2), widget->height() / 2));
}

// Shows the dialog, clicks the named button, and answers its result lines.
TLines Press(GeneratorDialog& dialog, const char* button = "SpeedButton1")
{
    if (!dialog.isVisible())
        dialog.show();
    Click(Button(dialog, button));
    EXPECT_FALSE(dialog.isVisible()) << button << " closes the dialog";
    return dialog.ResultLines();
}

class PageGenerators : public ::testing::Test {
protected:
    vx::test::FakeMainWindow main;
};

} // namespace

TEST_F(PageGenerators, NewPageCopiesItsLinesToTheClipboard)
{
    Tfrm_newpage dialog;
    dialog.Clock = [] { return vx::tools::TClockReading{2026, 1, 2, 5, 15, 4, 5}; };
    dialog.show();
    dialog.RadioGroup1->SetItemIndex(1);
    dialog.Edit1->SetText("Start");
    Click(dialog.CheckBox2);
    const TLines lines = Press(dialog);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[1], "<html>");
    EXPECT_EQ(lines[3], " <title>Start</title>");
    EXPECT_EQ(lines[5], "  <meta name=\"date_time\" content=\"1/2/2026 3:04:05 PM\">");
    EXPECT_EQ(lines[10], "<% Server.ScriptTimeOut = 60 %>");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith("<!DOCTYPE HTML PUBLIC"));
}

TEST_F(PageGenerators, MetaTagsReadEveryField)
{
    Tfrm_meta dialog;
    dialog.show();
    EXPECT_EQ(dialog.weeks->Text(), "2");
    dialog.kw[0]->SetText("asp");
    dialog.kw[11]->SetText("last");
    dialog.desc->SetText("Caf\xC3\xA9 \"bar\"");
    dialog.email->SetText("me@example.org");
    const TLines lines = Press(dialog);
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_EQ(lines[3], " <link rev=\"made\" href=\"mailto:me@example.org\">");
    EXPECT_EQ(lines[4], " <meta name=\"keywords\" content=\"asp,,,,,,,,,,,last\">");
    EXPECT_EQ(lines[5], " <meta name=\"description\" content=\"Caf\xC3\xA9 \"bar\"\">");
}

TEST_F(PageGenerators, RedirectDefaultsAndCancel)
{
    Tfrm_redirect dialog;
    EXPECT_EQ(Press(dialog), TLines{"<meta http-equiv=\"refresh\" content=\"1; url=http://\">"});
    Tfrm_redirect cancelled;
    EXPECT_TRUE(Press(cancelled, "SpeedButton2").empty());
    EXPECT_NE(cancelled.result(), QDialog::Accepted);
}

TEST_F(PageGenerators, TransitionWritesIntoItsHiddenEdit)
{
    Tfrm_transition dialog;
    dialog.show();
    EXPECT_EQ(dialog.ListBox1->currentRow(), 0) << "activation selects the first style";
    EXPECT_FALSE(dialog.Edit1->isVisible());
    dialog.ListBox1->setCurrentRow(23);
    dialog.SpinEdit1->setValue(5);
    Click(dialog.RadioButton2);
    EXPECT_TRUE(Press(dialog).empty()) << "the memo stays empty";
    EXPECT_EQ(dialog.Edit1->text().toStdString(),
              "<META http-equiv=\"Page-Exit\" CONTENT=\"RevealTrans(Duration=5.0,Transition=23)\">");

    dialog.show();
    EXPECT_TRUE(dialog.Edit1->text().isEmpty()) << "activation clears the result";
    dialog.Edit1->setText("stale");
    Press(dialog, "SpeedButton2");
    EXPECT_TRUE(dialog.Edit1->text().isEmpty()) << "cancel clears the result";
}

TEST_F(PageGenerators, SubstitutionByTheChosenItem)
{
    for (int item = 0; item < 4; ++item) {
        Tfrm_fp_subst dialog;
        dialog.show();
        EXPECT_EQ(dialog.cb1->ItemIndex(), 0);
        dialog.cb1->SetItemIndex(item);
        const TLines lines = Press(dialog);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0], vx::tools::SubstitutionLine(item));
    }
}

TEST_F(PageGenerators, MarqueeWritesTheBehaviorAttribute)
{
    Tfrm_marquee dialog;
    dialog.show();
    dialog.Edit1->SetText("hello");
    dialog.RadioGroup1->SetItemIndex(0);
    dialog.RadioGroup2->SetItemIndex(0);
    EXPECT_EQ(Press(dialog), TLines{"<marquee  direction=left  behavior=\"slide\" >hello</marquee>"});
    Tfrm_marquee none;
    EXPECT_EQ(Press(none), TLines{"<marquee ></marquee>"}) << "nothing chosen: no attributes";
}

TEST_F(PageGenerators, IncludeWizardWritesARelativePathAndNotesAnUnnamedDocument)
{
    vx::test::TempDir site("vellumix-site");
    std::filesystem::create_directories(site.path() / "shop" / "inc");
    vx::test::writeFile(site.file("shop/inc/db.inc"), "");
    vx::test::writeFile(site.file("shop/inc/notes.txt"), "");
    QApplication::clipboard()->setText("before");
    {
        Tfrm_incwizard dialog;
        dialog.SetDocument(site.file("shop/cart.asp"), site.path().string());
        dialog.show();
        dialog.Files->DirectoryListBox1->setCurrentRow(0);
        auto* inc = dialog.Files->DirectoryListBox1->findItems("inc", Qt::MatchExactly).value(0);
        ASSERT_NE(inc, nullptr);
        emit dialog.Files->DirectoryListBox1->itemDoubleClicked(inc);
        ASSERT_EQ(dialog.Files->FileListBox1->count(), 1) << "the mask shows include files only";
        dialog.Files->FileListBox1->setCurrentRow(0);
        EXPECT_EQ(Press(dialog), TLines{"<!--#include file=\"inc/db.inc\" -->"});
        EXPECT_EQ(QApplication::clipboard()->text(), "<!--#include file=\"inc/db.inc\" -->");

        dialog.show();
        dialog.RadioGroup1->SetItemIndex(1);
        dialog.Files->FileListBox1->setCurrentRow(0);
        EXPECT_EQ(Press(dialog), TLines{"<!--#include virtual=\"/shop/inc/db.inc\" -->"});
    }
    Tfrm_incwizard unnamed;
    unnamed.SetDocument("", "");
    unnamed.Files->SetDirectory(site.file("shop/inc"));
    unnamed.show();
    unnamed.Files->FileListBox1->setCurrentRow(0);
    EXPECT_FALSE(unnamed.Note->text().isEmpty()) << "the dialog says why only the name is written";
    EXPECT_EQ(Press(unnamed), TLines{"<!--#include file=\"db.inc\" -->"});

    QApplication::clipboard()->setText("kept");
    Tfrm_incwizard cancelled;
    EXPECT_TRUE(Press(cancelled, "SpeedButton2").empty());
    EXPECT_EQ(QApplication::clipboard()->text(), "kept") << "cancel leaves the clipboard";
}

TEST_F(PageGenerators, SoundWritesTheFileNameOnly)
{
    vx::test::TempDir folder("vellumix-sounds");
    vx::test::writeFile(folder.file("intro.WAV"), "");
    vx::test::writeFile(folder.file("other.mp3"), "");
    Tfrm_sound dialog;
    dialog.Files->SetDirectory(folder.path().string());
    dialog.show();
    ASSERT_EQ(dialog.Files->FileListBox1->count(), 1);
    dialog.Files->FileListBox1->setCurrentRow(0);
    Click(Button(dialog, "SpeedButton3"));
    EXPECT_TRUE(dialog.isVisible()) << "checking the sound keeps the dialog open";
    EXPECT_EQ(dialog.Wave1->WaveName(), folder.file("intro.WAV"));
    EXPECT_EQ(Press(dialog), TLines{"<bgsound src=\"intro.WAV\" loop=\"0\">"});
    Tfrm_sound none;
    none.Files->SetDirectory(folder.path().string());
    EXPECT_EQ(Press(none), TLines{"<bgsound src=\"\" loop=\"0\">"});
}

TEST_F(PageGenerators, FrameCloseLeavesEveryResultEmpty)
{
    std::vector<std::unique_ptr<GeneratorDialog>> dialogs;
    dialogs.push_back(std::make_unique<Tfrm_newpage>());
    dialogs.push_back(std::make_unique<Tfrm_meta>());
    dialogs.push_back(std::make_unique<Tfrm_redirect>());
    dialogs.push_back(std::make_unique<Tfrm_fp_subst>());
    dialogs.push_back(std::make_unique<Tfrm_incwizard>());
    dialogs.push_back(std::make_unique<Tfrm_sound>());
    dialogs.push_back(std::make_unique<Tfrm_marquee>());
    dialogs.push_back(std::make_unique<Tfrm_tablewiz>());
    for (auto& dialog : dialogs) {
        dialog->Memo1->Lines().Add("left over");
        dialog->show();
        dialog->close();
        EXPECT_NE(dialog->result(), QDialog::Accepted) << dialog->objectName().toStdString();
        EXPECT_TRUE(dialog->ResultLines().empty()) << dialog->objectName().toStdString();
    }
}

TEST_F(PageGenerators, TableWizardStepsToFinish)
{
    Tfrm_tablewiz dialog;
    dialog.show();
    EXPECT_EQ(dialog.ComboBox1->Text(), "Absbottom");
    EXPECT_FALSE(Button(dialog, "SpeedButton1")->isVisible()) << "Finish stands on the last page";
    dialog.SpinEdit1->setValue(2);
    dialog.SpinEdit2->setValue(3);
    Click(Button(dialog, "Next1"));
    dialog.ComboBox1->SetItemIndex(5);
    dialog.SpinEdit6->setValue(1);
    Click(Button(dialog, "Next2"));
    Click(Button(dialog, "Back3"));
    EXPECT_EQ(dialog.PageControl1->currentIndex(), 1);
    Click(Button(dialog, "Next2"));
    dialog.Edit1->SetText("Prices");
    Click(Button(dialog, "Next3"));
    EXPECT_FALSE(dialog.Panel4->isVisible());
    Click(dialog.CheckBox1);
    EXPECT_TRUE(dialog.Panel4->isVisible());
    Click(dialog.CheckBox1);
    const TLines html = Press(dialog);
    ASSERT_EQ(html.size(), 5u + 2 * 6);
    EXPECT_EQ(html[1], "<table width=\"100%\" align=\"Center\" border=\"1\" cellspacing =\"0\" cellpadding =\"0\">");
    EXPECT_EQ(html[2], " <caption>Prices</caption>");

    dialog.show();
    EXPECT_EQ(dialog.PageControl1->currentIndex(), 0) << "a new activation starts at the first page";
    dialog.PageControl1->setCurrentIndex(3);
    Click(dialog.CheckBox1);
    dialog.Edit2->SetText("prices");
    const TLines function = Press(dialog);
    ASSERT_EQ(function.size(), 29u);
    EXPECT_EQ(function[1], "function prices");
}

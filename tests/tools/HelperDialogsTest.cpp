// The image, link, font, colour, character, date, remark, if-then, mailto
// and make-function dialogs driven through their widgets.
#include "tests/controls/FlatTestSupport.h"
#include "tests/support/TempDir.h"
#include "tests/tools/DialogClicks.h"
#include "tests/tools/FakeMainWindow.h"

#include "controls/edits/RXCombos.h"
#include "controls/flat/TFlatCheckBoxUnit.h"
#include "controls/flat/TFlatComboBoxUnit.h"
#include "controls/flat/TFlatEditUnit.h"
#include "controls/flat/TFlatMemoUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "platform/ProgramPaths.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "tools/qt/ColourPicker.h"
#include "tools/qt/FontDialogs.h"
#include "tools/qt/ImageInsert.h"
#include "tools/qt/LinkDialogs.h"
#include "tools/qt/TextDialogs.h"
#include "tools/qt/framework/FileChooser.h"
#include "tools/qt/framework/RadioGroup.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <filesystem>

using vx::tools::GeneratorDialog;
using vx::tools::TLines;

using vx::test::ClickButton;

namespace {

// Clicks the list's item with that text, as the user picks it.
void ClickItem(QListWidget& list, const QString& text)
{
    const QList<QListWidgetItem*> found = list.findItems(text, Qt::MatchExactly);
    ASSERT_FALSE(found.isEmpty()) << text.toStdString();
    list.scrollToItem(found.front());
    vx::test::Click(*list.viewport(), list.visualItemRect(found.front()).center());
}

class HelperDialogs : public ::testing::Test {
protected:
    void TearDown() override { vx::dialogs::SetAnswerer({}); }
    vx::test::FakeMainWindow main;
    vx::test::TempDir dir;
};

} // namespace

TEST_F(HelperDialogs, ImageTagTakesTheSizeFromTheFile)
{
    ASSERT_TRUE(QImage(100, 50, QImage::Format_RGB32).save(QString::fromStdString(dir.file("a.png"))));
    Tfrm_addimg dialog;
    dialog.show();
    dialog.Files->SetDirectory(dir.path().string());
    ClickItem(*dialog.Files->FileListBox1, "a.png");
    EXPECT_FALSE(dialog.Preview->pixmap().isNull());
    ClickButton(dialog, "SpeedButton1");
    EXPECT_EQ(dialog.PageControl1->currentIndex(), 1);
    EXPECT_EQ(dialog.Edit3->Text(), "a.png");
    EXPECT_EQ(dialog.Edit4->Text(), "50");
    EXPECT_EQ(dialog.Edit5->Text(), "100");
    dialog.Edit3->SetText("x");
    ClickButton(dialog, "SpeedButton2");
    EXPECT_EQ(dialog.ResultLines(), TLines{"<img src=\"a.png\" Alt=\"x\" height=\"50\" width=\"100\"  border=\"0\">"});
}

TEST_F(HelperDialogs, ImageWithoutASizeKeepsWhatTheUserTyped)
{
    ASSERT_TRUE(QImage(10, 20, QImage::Format_RGB32).save(QString::fromStdString(dir.file("sized.png"))));
    vx::test::writeFile(dir.file("b.gif"), "GIF8");
    Tfrm_addimg dialog;
    dialog.show();
    dialog.Files->SetDirectory(dir.path().string());
    ClickItem(*dialog.Files->FileListBox1, "sized.png");
    ClickButton(dialog, "SpeedButton1");
    ClickButton(dialog, "SpeedButton3"); // Back: another picture's size must not stay
    ClickItem(*dialog.Files->FileListBox1, "b.gif");
    ClickButton(dialog, "SpeedButton1");
    EXPECT_EQ(dialog.Edit4->Text(), "");
    dialog.Edit4->SetText("7");
    dialog.Edit5->SetText("8");
    dialog.Edit1->SetText("http://x/");
    vx::test::Click(*dialog.CheckBox1, QPoint(8, dialog.CheckBox1->height() / 2));
    ClickButton(dialog, "SpeedButton2");
    EXPECT_EQ(dialog.ResultLines(),
              TLines{"<a href=\"http://x/\"><img src=\"b.gif\" Alt=\"b.gif\" height=\"7\" width=\"8\"  border=\"0\"></a>"});
}

TEST_F(HelperDialogs, ImageDialogStartsAtTheDroppedFile)
{
    ASSERT_TRUE(QImage(3, 4, QImage::Format_RGB32).save(QString::fromStdString(dir.file("drop.png"))));
    Tfrm_addimg dialog;
    dialog.setProperty("vxInitialDir", vx::ToQString(dir.path().string()));
    dialog.setProperty("vxFileName", "drop.png");
    dialog.show();
    EXPECT_EQ(dialog.Files->SelectedPath(), dir.file("drop.png"));
    ClickButton(dialog, "SpeedButton4");
    EXPECT_TRUE(dialog.ResultLines().empty());
}

TEST_F(HelperDialogs, LinkRemembersNewLinksOnce)
{
    const std::string history = vx::UserDataPath("data\\urldata.dat");
    std::filesystem::remove(history);
    for (int round = 0; round < 2; ++round) {
        Tfrm_addurl dialog;
        dialog.show();
        EXPECT_EQ(dialog.delebutton->isEnabled(), round == 1);
        EXPECT_EQ(dialog.edit1->Items().Count(), round);
        dialog.edit1->SetText("docs/a.htm");
        dialog.edit2->SetText("Home");
        ClickButton(dialog, "SpeedButton1");
        EXPECT_EQ(dialog.ResultLines(), TLines{"<a href=\"http://docs/a.htm\" target=\"_Blank\" >Home</a>"});
    }
    EXPECT_EQ(vx::test::readFile(history), "docs/a.htm\r\n");

    Tfrm_addurl dialog;
    dialog.show();
    EXPECT_FALSE(dialog.Advanced->isVisible());
    ClickButton(dialog, "SpeedButton4");
    EXPECT_TRUE(dialog.Advanced->isVisible());
    dialog.combobox1->SetItemIndex(5);
    dialog.edit1->SetItemIndex(0);
    dialog.FlatEdit1->SetText("q");
    dialog.FlatEdit2->SetText("1");
    ClickButton(dialog, "delebutton");
    EXPECT_EQ(dialog.edit1->Items().Count(), 0);
    EXPECT_EQ(vx::test::readFile(history), "");
    ClickButton(dialog, "SpeedButton1");
    EXPECT_EQ(dialog.ResultLines(), TLines{"<a href=\"file:///docs/a.htm?q=1\" target=\"_Blank\" ></a>"});
}

TEST_F(HelperDialogs, FontPreviewAndTagUseTheChosenFont)
{
    Tfrm_font dialog;
    dialog.show();
    ASSERT_GT(dialog.FontComboBox1->count(), 1);
    dialog.FontComboBox1->setFocus();
    vx::test::KeyDown(*dialog.FontComboBox1, Qt::Key_Down);
    const std::string face = dialog.FontComboBox1->FontName();
    ASSERT_FALSE(face.empty());
    EXPECT_EQ(vx::FromQString(dialog.label2->font().family()), face);
    ClickButton(dialog, "SpeedButton1");
    EXPECT_EQ(dialog.ResultLines(), TLines{"<font face=\"" + face + "\"></font>"});
}

TEST_F(HelperDialogs, FontColourWritesRedGreenBlue)
{
    Tfrm_fontcolor dialog;
    dialog.show();
    dialog.ColorComboBox1->SetColorValue(0x0000FF); // red
    ClickButton(dialog, "SpeedButton1");
    EXPECT_EQ(dialog.ResultLines(), TLines{"<font color=\"#FF0000\"></font>"});
}

TEST_F(HelperDialogs, ColourPickerResultOnlyFromAClick)
{
    Tfrm_colorpicker dialog;
    dialog.show();
    EXPECT_EQ(dialog.pnlUserColor->text(), "No color selected.");
    // Cell 1 of row 0 is blue 0x33; the last cell is white.
    vx::test::MouseMove(*dialog.img216Colors, QPoint(TWebColourImage::Cell + 2, 2));
    EXPECT_EQ(dialog.pnlUserColor->text(), "#000033");
    dialog.close();
    EXPECT_TRUE(dialog.ResultLines().empty());

    dialog.show();
    EXPECT_EQ(dialog.pnlUserColor->text(), "No color selected.");
    vx::test::Click(*dialog.img216Colors, dialog.img216Colors->rect().bottomRight() - QPoint(1, 1));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.ResultLines(), TLines{"#FFFFFF"});
}

TEST_F(HelperDialogs, WebColoursCoverAllLevels)
{
    EXPECT_EQ(TWebColourImage::ColourAt({0, 0}), 0x000000u);
    EXPECT_EQ(TWebColourImage::ColourAt({6 * TWebColourImage::Cell, 0}), 0x003300u);
    EXPECT_EQ(TWebColourImage::ColourAt({0, 2 * TWebColourImage::Cell}), 0x000033u);
    EXPECT_EQ(TWebColourImage::ColourAt({TWebColourImage::Columns * TWebColourImage::Cell - 1, 6 * TWebColourImage::Cell}),
              0xFF6699u);
}

TEST_F(HelperDialogs, CharacterMapInsertsTheChosenEntity)
{
    Tfrm_charmap dialog;
    dialog.show();
    EXPECT_EQ(dialog.lvCharacters->count(), 69);
    EXPECT_FALSE(dialog.sbtnPaste->isEnabled());
    // The list shows the characters themselves.
    ClickItem(*dialog.lvCharacters, QString::fromUtf16(u"\u00C6 AE dipthong (ligature)"));
    EXPECT_TRUE(dialog.sbtnPaste->isEnabled());
    ClickButton(dialog, "sbtnPaste");
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(dialog.ResultLines(), TLines{"&AElig;"});

    dialog.show();
    ClickButton(dialog, "sbtnClose");
    EXPECT_EQ(dialog.result(), 2);
    EXPECT_TRUE(dialog.ResultLines().empty());
}

TEST_F(HelperDialogs, DateAndTimeListsShowTheClock)
{
    Tfrm_datetime dialog;
    dialog.Clock = [] { return vx::tools::TClockReading{2026, 3, 7, 6, 15, 4, 9}; };
    dialog.show();
    ASSERT_EQ(dialog.ListBox1->count(), 14);
    ASSERT_EQ(dialog.ListBox2->count(), 7);
    EXPECT_EQ(dialog.ListBox1->item(0)->text(), "Saturday, March 7, 2026");
    EXPECT_EQ(dialog.ListBox2->item(2)->text(), "15:04:09");
}

TEST_F(HelperDialogs, RemarkStampsTheInput)
{
    Tfrm_remark dialog;
    dialog.Clock = [] { return vx::tools::TClockReading{2026, 3, 7, 6, 9, 5, 0}; };
    dialog.show();
    dialog.remark1->Lines().Add("a");
    dialog.RadioGroup1->SetItemIndex(4);
    ClickButton(dialog, "SpeedButton1");
    EXPECT_EQ(dialog.ResultLines(), (TLines{" ", "/* a */", "/*  remark added on 3/7/2026 9:05:00 AM */"}));
}

TEST_F(HelperDialogs, IfThenAndMailto)
{
    Tfrm_ifthen ifthen;
    ifthen.show();
    ifthen.Edit1->SetText("a");
    ifthen.Edit4->SetText("1");
    ifthen.Edit2->SetText("b");
    ifthen.Edit3->SetText("c");
    ClickButton(ifthen, "SpeedButton1");
    EXPECT_EQ(ifthen.ResultLines(), (TLines{"If a = 1 then", "  b", "Else", "  c", "End If"}));

    Tfrm_mailto mailto;
    mailto.show();
    EXPECT_EQ(mailto.pos(), QPoint(40, 40));
    ClickButton(mailto, "SpeedButton1");
    EXPECT_TRUE(mailto.ResultLines().empty());
    mailto.show();
    mailto.edit1->SetText("me@x.org");
    ClickButton(mailto, "SpeedButton1");
    EXPECT_EQ(mailto.ResultLines(), TLines{"<a href=\"mailto:me@x.org\">me@x.org</a>"});
}

TEST_F(HelperDialogs, MakeFunctionSavedToAFileLeavesNothingToInsert)
{
    const std::string target = dir.file("f.asp");
    std::string answer = target;
    vx::dialogs::SetAnswerer([&answer](const vx::dialogs::Request& request) {
        EXPECT_EQ(request.caption, "Save function");
        return vx::dialogs::Answer{answer.empty() ? mrCancel : mrOk, answer};
    });
    Tfrm_makefunction dialog;
    dialog.show();
    dialog.dump->Lines().Add("say \"hi\"");
    dialog.Edit1->SetText("F");
    vx::test::Click(*dialog.CheckBox1, QPoint(8, dialog.CheckBox1->height() / 2));
    ClickButton(dialog, "SpeedButton1");
    EXPECT_TRUE(dialog.ResultLines().empty());
    const std::string saved = vx::test::readFile(target);
    EXPECT_NE(saved.find("function F\r\n response.write (\"say \"\"hi\"\"\")\r\nend function\r\n%>\r\n"),
              std::string::npos);

    answer.clear();
    dialog.show();
    ClickButton(dialog, "SpeedButton1");
    ASSERT_EQ(dialog.ResultLines().size(), 6u);
}

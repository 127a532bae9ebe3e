// The compressor wizard, the beautifier window and the HTML-to-ASP wizard,
// driven through their buttons, menus and fields.
#include "tests/tools/FakeMainWindow.h"

#include "controls/flat/TFlatCheckBoxUnit.h"
#include "controls/flat/TFlatEditUnit.h"
#include "controls/flat/TFlatMemoUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "platform/qt/QtText.h"
#include "tests/controls/FlatTestSupport.h"
#include "tests/platform/DialogRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/tools/BeautifiedLines.h"
#include "tests/tools/ClickWidget.h"
#include "tests/tools/DialogClicks.h"
#include "tests/tools/PageCorpus.h"
#include "tools/qt/CompressHtmlWizard.h"
#include "tools/qt/HtmlToAspWizard.h"
#include "tools/qt/SourceBeautifierDialog.h"
#include "tools/qt/framework/FileChooser.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QTextCursor>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

using vx::test::ChooseMenu;
using vx::test::DialogRecorder;
using vx::test::TempDir;

namespace {

void Click(QWidget* widget)
{
    vx::test::ClickWidget(widget);
}

void ClickButton(QWidget& dialog, const char* name)
{
    Click(dialog.findChild<TFlatSpeedButton*>(name));
}

void Type(TFlatEdit* edit, const std::string& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromStdString(text));
}

class TextToolDialogs : public ::testing::Test {
protected:
    vx::test::FakeMainWindow main;
    TempDir dir;
    DialogRecorder dialogs;

    std::vector<std::string> Messages() const { return dialogs.Messages(); }
};

} // namespace

TEST_F(TextToolDialogs, CompressWizardWalksItsPages)
{
    const std::string source = dir.file("in.htm");
    vx::test::writeFile(source, "<strong>a    b</strong>\r\n\r\n<p align=center>c</p>");
    Tfrm_compresshtml dialog;
    vx::test::Activate(dialog);
    EXPECT_EQ(dialog.PageControl1->currentIndex(), 0);
    EXPECT_EQ(dialog.Memo2->Lines()[2],
              "Compressing html files will have as a side effect that it will become unreadable");
    ClickButton(dialog, "Next1");
    ASSERT_EQ(dialog.PageControl1->currentIndex(), 1);
    for (TFlatCheckBox* box : {dialog.CheckBox1, dialog.CheckBox2, dialog.CheckBox3, dialog.CheckBox4,
                               dialog.CheckBox5})
        EXPECT_FALSE(box->Checked());
    Click(dialog.CheckBox2);
    Click(dialog.CheckBox4);
    ClickButton(dialog, "Next2");
    ASSERT_EQ(dialog.PageControl1->currentIndex(), 2);
    dialogs.Queue(mrOk, source);
    ClickButton(dialog, "SourceButton");
    EXPECT_EQ(dialog.Edit1->Text(), source);
    EXPECT_EQ(dialogs.requests.back().kind, vx::dialogs::Kind::OpenFile);
    EXPECT_EQ(dialogs.requests.back().defaultExt, "html");
    dialogs.Queue(mrOk, dir.file("out.htm"));
    ClickButton(dialog, "OutputButton");
    EXPECT_EQ(dialogs.requests.back().kind, vx::dialogs::Kind::SaveFile);
    EXPECT_EQ(dialogs.requests.back().defaultExt, "html");
    ClickButton(dialog, "Finish");
    ASSERT_EQ(dialog.PageControl1->currentIndex(), 3);
    // Short tags stay on; centring was not ticked.
    EXPECT_EQ(vx::test::readFile(dir.file("out.htm")), "<b>a b</b><p align=center>c</p>");
    EXPECT_EQ(dialog.Label4->text(), "48");
    EXPECT_EQ(dialog.Label5->text(), "31");
    EXPECT_EQ(dialog.Label6->text(), "17");
    ClickButton(dialog, "Ok");
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(TextToolDialogs, CompressWizardStaysOnTheFilesPageWhenItCannot)
{
    Tfrm_compresshtml dialog;
    vx::test::Activate(dialog);
    dialog.PageControl1->setCurrentIndex(2);
    const std::string same = dir.file("a.htm");
    Type(dialog.Edit1, same);
    Type(dialog.Edit2, same);
    ClickButton(dialog, "Finish");
    EXPECT_EQ(Messages(), std::vector<std::string>{" You cannot have the same name for a source and output file "});
    EXPECT_EQ(dialog.Edit2->Text(), "");
    EXPECT_EQ(dialog.PageControl1->currentIndex(), 2);

    Type(dialog.Edit2, dir.file("out.htm"));
    ClickButton(dialog, "Finish");
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_NE(Messages()[1].find(same), std::string::npos) << "the unreadable source is named";
    EXPECT_EQ(dialog.PageControl1->currentIndex(), 2);
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.htm")));
    EXPECT_EQ(dialog.Label4->text(), "000000");

    vx::test::writeFile(same, "x");
    Type(dialog.Edit2, dir.file("missing/out.htm"));
    ClickButton(dialog, "Finish");
    ASSERT_EQ(Messages().size(), 3u) << "a failed write is reported";
    EXPECT_EQ(dialog.PageControl1->currentIndex(), 2);
}

TEST_F(TextToolDialogs, BeautifierWorksOnTheHandedInText)
{
    TFrm_aspb dialog;
    dialog.Clock = [] { return vx::tools::TClockReading{2026, 3, 4, 3, 13, 5, 6}; };
    vx::test::Activate(dialog);
    EXPECT_TRUE(dialog.sp3->isChecked());
    EXPECT_EQ(dialog.indent->Lines()[0], "\xC2\xB3" "FOR\xC2\xB3") << "the word mark shows as the character it is";
    dialog.memo1->setPlainText("<table>\n<% For i = 1 To 2 %>\n<tr><td>x</td></tr>\n<% Next %>\n</table>\n");
    ClickButton(dialog, "SpeedButton1");
    const QStringList lines = dialog.memo1->toPlainText().split('\n');
    ASSERT_GE(lines.size(), 11);
    EXPECT_EQ(lines[0], "<!--code beautified 3/4/2026 1:05:06 PM by Vellumix Professional 1.0-->");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines.mid(2, 9), (QStringList{"<table>", "   <%", "   For i = 1 To 2", "   %>", "      <tr><td>x</td></tr>",
                                            "   <%", "   Next", "   %>", "</table>"}));
    EXPECT_TRUE(dialog.info->text().startsWith("Done : Beautify took "));

    // A plain script gets no page comment; the unit comes from the menu.
    dialog.memo1->setPlainText("If a Then\nb\nEnd If");
    ChooseMenu(dialog, "Settings>Indent Using>1 Tab Per Level");
    EXPECT_TRUE(dialog.tab1->isChecked());
    EXPECT_FALSE(dialog.sp3->isChecked());
    ChooseMenu(dialog, "&Edit>&Beautify");
    EXPECT_EQ(dialog.memo1->toPlainText(), "If a Then\n\tb\nEnd If\n");
    EXPECT_EQ(dialog.ProgressBar1->value(), 6);

    ChooseMenu(dialog, "Settings>VBScript Indention");
    EXPECT_FALSE(dialog.doscript->isChecked());
    ChooseMenu(dialog, "&Edit>&Beautify");
    EXPECT_EQ(dialog.memo1->toPlainText(), "If a Then\nb\nEnd If\n");
}

TEST_F(TextToolDialogs, BeautifierWindowBeautifiesAsTheEngineDoes)
{
    TFrm_aspb dialog;
    dialog.Clock = [] { return vx::tools::TClockReading{2026, 3, 4, 3, 13, 5, 6}; };
    vx::test::Activate(dialog);
    const vx::tools::TBeautifyOptions shipped = vx::tools::test::ShippedOptions();
    const std::string banner = vx::tools::BeautifyBanner(dialog.Clock()) + "\n\n";
    vx::test::TPageCorpus writer(70);
    for (int i = 0; i < 4; ++i) {
        const std::string page = writer.Page(2048).Text;
        dialog.memo1->setPlainText(vx::ToQString(page));
        ClickButton(dialog, "SpeedButton1");
        EXPECT_EQ(vx::FromQString(dialog.memo1->toPlainText()), banner + vx::tools::BeautifyText(page, shipped))
            << "page " << i;
    }

    // Entries typed into the lists reach the engine.
    for (auto [memo, entry] : {std::pair{dialog.indent2, "<ul"}, {dialog.outdent2, "</ul"}}) {
        memo->setFocus();
        memo->moveCursor(QTextCursor::End);
        QTest::keyClick(memo, Qt::Key_Return);
        QTest::sendKeyEvent(QTest::Click, memo, Qt::Key_threesuperior, QString(QChar(0xB3)), Qt::NoModifier);
        QTest::keyClicks(memo, entry);
    }
    EXPECT_EQ(dialog.indent2->Lines()[6], "\xC2\xB3<ul");
    dialog.memo1->setPlainText("<ul>\n<li>x\n</ul>");
    ChooseMenu(dialog, "&Edit>&Beautify");
    EXPECT_EQ(dialog.memo1->toPlainText().split('\n').mid(2), (QStringList{"<ul>", "   <li>x", "</ul>", ""}));
}

TEST_F(TextToolDialogs, BeautifierClipboardCommands)
{
    TFrm_aspb dialog;
    vx::test::Activate(dialog);
    QApplication::clipboard()->setText("Do\nx\nLoop");
    ChooseMenu(dialog, "&Edit>&Paste, Beautify, Copy");
    EXPECT_EQ(dialog.memo1->toPlainText(), "Do\n   x\nLoop\n");
    ChooseMenu(dialog, "&Edit>&Copy All");
    EXPECT_EQ(QApplication::clipboard()->text(), "Do\n   x\nLoop\n");
    EXPECT_EQ(dialog.windowTitle(), "ASP-Beautify");
    EXPECT_FALSE(dialog.memo1->textCursor().hasSelection());
    ClickButton(dialog, "SpeedButton2");
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(TextToolDialogs, HtmlToAspConvertsTheChosenFile)
{
    vx::test::writeFile(dir.file("page.htm"), "<a href=\"x.htm\">\r\n\r\nend");
    Tfrm_cvthtml dialog;
    vx::test::Activate(dialog);
    vx::test::ChooseFile(*dialog.Files, dir.path().string(), "page.htm");
    ClickButton(dialog, "SpeedButton1");
    ASSERT_EQ(dialog.PageControl1->currentIndex(), 1);
    EXPECT_FALSE(dialog.Panel3->isEnabled());
    Click(dialog.CheckBox1);
    EXPECT_TRUE(dialog.Panel3->isEnabled());
    ClickButton(dialog, "SpeedButton2");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const TStrings& out = dialog.memo2->Lines();
    ASSERT_EQ(out.Count(), 7);
    EXPECT_EQ(out[2], "Function my_function");
    EXPECT_EQ(out[3], " Response.write (\"<a href=\"\"x.htm\"\">\")");
    EXPECT_EQ(out[4], " Response.write (\"\")");
    EXPECT_EQ(out[6], "end function");
    EXPECT_EQ(dialog.PageControl1->currentIndex(), 0);
}

TEST_F(TextToolDialogs, HtmlToAspWithoutAFileAsksForOne)
{
    Tfrm_cvthtml dialog;
    vx::test::Activate(dialog);
    dialog.Files->SetDirectory(dir.path().string());
    ClickButton(dialog, "SpeedButton1");
    ClickButton(dialog, "SpeedButton2");
    EXPECT_EQ(Messages(), std::vector<std::string>{"Select the html file to convert"});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.PageControl1->currentIndex(), 0);
    EXPECT_EQ(dialog.memo2->Lines().Count(), 0);
}

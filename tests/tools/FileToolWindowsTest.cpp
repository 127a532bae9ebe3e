// The text-to-HTML window and the multi-file search and replace window,
// driven through their buttons, fields and dialogs.
#include "tests/tools/FakeMainWindow.h"

#include "controls/flat/TFlatCheckBoxUnit.h"
#include "controls/flat/TFlatMemoUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "tests/controls/FlatTestSupport.h"
#include "tests/tools/ClickWidget.h"
#include "tests/platform/DialogRecorder.h"
#include "tests/support/TempDir.h"
#include "tests/support/TypeText.h"
#include "controls/colormemo/ColMemo.h"
#include "tools/qt/MultiFileReplaceWindow.h"
#include "tools/qt/RtfToHtmlDialog.h"
#include "tools/qt/framework/FileChooser.h"
#include "tools/qt/TextToHtmlDialog.h"

#include <QCheckBox>
#include <filesystem>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using vx::test::readFile;
using vx::test::writeFile;

namespace {

void Click(QWidget* widget)
{
    vx::test::ClickWidget(widget);
}

class FileToolWindows : public ::testing::Test {
protected:
    vx::test::FakeMainWindow main;
    vx::test::TempDir dir;
    vx::test::DialogRecorder dialogs;
};

} // namespace

TEST_F(FileToolWindows, TextToHtmlWritesThePage)
{
    writeFile(dir.file("a.txt"), "My title\r\nx < y & z\r\n");
    Tfrm_txt2html dialog;
    vx::test::Activate(dialog);
    Click(dialog.CheckBox2);
    dialogs.Queue(mrOk, dir.file("a.txt"));
    dialogs.Queue(mrOk, dir.file("a.htm"));
    Click(dialog.findChild<TFlatSpeedButton*>("SpeedButton1"));
    ASSERT_EQ(dialogs.requests.size(), 2u);
    EXPECT_EQ(dialogs.requests[0].caption, "Select file");
    EXPECT_EQ(dialogs.requests[0].defaultExt, "txt");
    EXPECT_EQ(dialogs.requests[1].defaultExt, "htm");
    EXPECT_EQ(readFile(dir.file("a.htm")),
              "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\">\r\n<HTML>\r\n"
              "<Meta name=\"generator\" content=\"Vellumix Professional1.0\">\r\n<head>\r\n<title>My title</title>\r\n"
              "</head>\r\n\r\nx&nbsp;&lt;&nbsp;y&nbsp;&amp;&nbsp;z\r\n</html>\r\n");
    EXPECT_FALSE(dialog.isVisible());
}

// A UTF-8 text gives a UTF-8 page, a Windows-1252 one a Windows-1252 page,
// its characters read whole on the way.
TEST_F(FileToolWindows, TextToHtmlKeepsTheTextsCharactersAndEncoding)
{
    struct Row {
        std::string text;
        std::string shown; // the text's first line as the window holds it
        std::string body;  // the page's line
    };
    const Row rows[] = {
        {"café 10€ <你好> 😀\r\n", "café 10€ <你好> 😀", "café&nbsp;10€&nbsp;&lt;你好&gt;&nbsp;😀"},
        {"caf\xE9 10\x80 \xFF\x81\r\n", "café 10€ ÿ\u0081", "caf\xE9&nbsp;10\x80&nbsp;\xFF\x81"},
    };
    for (const Row& row : rows) {
        writeFile(dir.file("t.txt"), row.text);
        Tfrm_txt2html dialog;
        vx::test::Activate(dialog);
        dialogs.Queue(mrOk, dir.file("t.txt"));
        dialogs.Queue(mrOk, dir.file("t.htm"));
        Click(dialog.findChild<TFlatSpeedButton*>("SpeedButton1"));
        EXPECT_EQ(dialog.memo1->Lines()[0], row.shown);
        const std::string page = readFile(dir.file("t.htm"));
        EXPECT_NE(page.find("\r\n" + row.body + "\r\n</html>"), std::string::npos) << page;
    }
}

TEST_F(FileToolWindows, TextToHtmlWithoutASourceStillOffersToSave)
{
    Tfrm_txt2html dialog;
    vx::test::Activate(dialog);
    dialogs.Queue(mrCancel);
    dialogs.Queue(mrOk, dir.file("b.htm"));
    Click(dialog.findChild<TFlatSpeedButton*>("SpeedButton1"));
    EXPECT_EQ(readFile(dir.file("b.htm")), "</html>\r\n");
}

TEST_F(FileToolWindows, SearchAndReplaceAcrossTheListedFiles)
{
    writeFile(dir.file("a.htm"), "cat\r\ndog cat\n");
    writeFile(dir.file("b.htm"), "nothing here");
    writeFile(dir.file("c.htm"), "cat cat");
    TFStart window;
    window.StatusMinimum = 0;
    vx::test::Activate(window);
    dialogs.Queue(mrOk, dir.file("a.htm"));
    Click(window.findChild<TFlatSpeedButton*>("SpeedButton1"));
    ASSERT_EQ(window.ListBox1->count(), 1);
    window.ListBox1->addItem(QString::fromStdString(dir.file("b.htm")));
    window.ListBox1->addItem(QString::fromStdString(dir.file("c.htm")));
    window.ListBox1->addItem(QString::fromStdString(dir.file("missing.htm")));

    // The query is filled in and confirmed as the user would.
    window.RunQuery = [](TFQuery& query) {
        query.show();
        EXPECT_FALSE(query.Button1->isEnabled());
        QTest::keyClicks(query.Edit1, "cat");
        if (query.Edit2->isEnabled())
            QTest::keyClicks(query.Edit2, "cow");
        Click(query.CheckBox4);
        Click(query.Button1);
        return query.result() == QDialog::Accepted;
    };
    std::vector<vx::tools::TPromptAnswer> answers = {vx::tools::TPromptAnswer::No, vx::tools::TPromptAnswer::All,
                                                    vx::tools::TPromptAnswer::Cancel};
    window.Prompt = [&answers](const std::string&) {
        const auto answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    };
    Click(window.findChild<TFlatSpeedButton*>("SpeedButton2"));
    EXPECT_EQ(window.ListBox1->count(), 2) << "find keeps the files holding the text";
    EXPECT_EQ(readFile(dir.file("a.htm")), "cat\r\ndog cat\n");
    EXPECT_EQ(window.StatusBar1->text(), "2  ");
    ASSERT_FALSE(dialogs.requests.empty());
    EXPECT_EQ(dialogs.requests.back().text, "Error accessing file " + dir.file("missing.htm"));

    Click(window.findChild<TFlatSpeedButton*>("SpeedButton3"));
    EXPECT_EQ(readFile(dir.file("a.htm")), "cat\r\ndog cow\n");
    EXPECT_EQ(readFile(dir.file("c.htm")), "cat cat") << "cancelled before any replacement";
    EXPECT_EQ(window.ListBox1->count(), 1);

    window.ListBox1->setFocus();
    window.ListBox1->item(0)->setSelected(true);
    QTest::keyClick(window.ListBox1, Qt::Key_Delete);
    EXPECT_EQ(window.ListBox1->count(), 0);
    EXPECT_EQ(window.StatusBar1->text(), "0  ");
}


// A Windows-1252 file that cannot take the replacement is named in a warning,
// left as it was and dropped from the list; the UTF-8 file beside it is replaced.
TEST_F(FileToolWindows, ReplacingAcrossFilesOfBothEncodings)
{
    writeFile(dir.file("legacy.htm"), "caf\xE9 x\r\n");
    writeFile(dir.file("modern.htm"), "café x\r\n");
    TFStart window;
    window.StatusMinimum = 0;
    vx::test::Activate(window);
    for (const char* name : {"legacy.htm", "modern.htm"})
        window.ListBox1->addItem(QString::fromStdString(dir.file(name)));
    window.RunQuery = [](TFQuery& query) {
        query.show();
        QTest::keyClicks(query.Edit1, "x");
        vx::test::TypeText(query.Edit2, QString::fromUtf16(u"\u03B1"));
        Click(query.Button1);
        return query.result() == QDialog::Accepted;
    };
    Click(window.findChild<TFlatSpeedButton*>("SpeedButton3"));
    EXPECT_EQ(readFile(dir.file("legacy.htm")), "caf\xE9 x\r\n");
    EXPECT_EQ(readFile(dir.file("modern.htm")), "café α\r\n");
    ASSERT_EQ(window.ListBox1->count(), 1);
    EXPECT_EQ(window.ListBox1->item(0)->text().toStdString(), dir.file("modern.htm"));
    ASSERT_FALSE(dialogs.requests.empty());
    EXPECT_NE(dialogs.requests.back().text.find(dir.file("legacy.htm")), std::string::npos);
    EXPECT_NE(dialogs.requests.back().text.find("α"), std::string::npos);
}

TEST_F(FileToolWindows, QueryEnablesGoOnlyForAUsefulRun)
{
    TFStart window;
    TFQuery replace(&window, false);
    replace.show();
    QTest::keyClicks(replace.Edit1, "a");
    EXPECT_TRUE(replace.Button1->isEnabled());
    Click(replace.CheckBox1);
    QTest::keyClicks(replace.Edit2, "a");
    EXPECT_FALSE(replace.Button1->isEnabled()) << "the same text, case sensitive";
    TFQuery find(&window, true);
    find.show();
    EXPECT_EQ(find.Button1->text(), "&Find");
    EXPECT_FALSE(find.Edit2->isEnabled());
    EXPECT_FALSE(find.CheckBox4->isEnabled());
}

TEST_F(FileToolWindows, RtfToHtmlShowsTheConvertedFile)
{
    writeFile(dir.file("a.rtf"), "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}\r\n\\b bold\\b0\r\n\\cf1 red\\par}");
    Tfrm_rtfhtml dialog;
    vx::test::Activate(dialog);
    vx::test::ChooseFile(*dialog.Files, dir.path().string(), "a.rtf");
    Click(dialog.findChild<TFlatSpeedButton*>("SpeedButton1"));
    ASSERT_EQ(dialog.ColorMemo1->Lines().Count(), 1);
    EXPECT_EQ(dialog.ColorMemo1->Lines()[0],
              "<P><B>bold</B><FONT FACE=\"\" COLOR=\"#FF0000\" SIZE=\"0\">red");
}

TEST_F(FileToolWindows, FilterAndFolderScanFillTheList)
{
    std::filesystem::create_directories(dir.file("site/sub"));
    for (const char* name : {"site/a.htm", "site/b.txt", "site/sub/c.htm"})
        writeFile(dir.file(name), "x");
    TFStart window;
    vx::test::Activate(window);
    window.RunFilter = [](TFFilter& filter) {
        filter.show();
        filter.Edit1->selectAll();
        QTest::keyClick(filter.Edit1, Qt::Key_Delete);
        EXPECT_FALSE(filter.Ok->isEnabled()) << "an empty list cannot be confirmed";
        QTest::keyClicks(filter.Edit1, " .HTM ");
        if (!filter.CheckBox1->isChecked())
            Click(filter.CheckBox1);
        Click(filter.Ok);
        return filter.result() == QDialog::Accepted;
    };
    Click(window.findChild<TFlatSpeedButton*>("SpeedButton6"));
    EXPECT_EQ(vx::tools::TScanSettings::Load().Extensions, ".htm");
    dialogs.Queue(mrOk, dir.file("site"));
    Click(window.findChild<TFlatSpeedButton*>("SpeedButton5"));
    ASSERT_EQ(window.ListBox1->count(), 2);
    EXPECT_EQ(window.ListBox1->item(0)->text().toStdString(), dir.file("site/a.htm"));
    EXPECT_EQ(window.ListBox1->item(1)->text().toStdString(), dir.file("site/sub/c.htm"));
    EXPECT_EQ(window.StatusBar1->text(), "2  ");
    EXPECT_EQ(window.windowTitle(), "Search and replace across files");
    vx::tools::TScanSettings().Save();
}

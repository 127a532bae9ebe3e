// The links to programs outside the editor as the user reaches them: the
// script encoder started on the chosen file with whole arguments, colour
// printing that puts the highlighter's colours on the page, and the
// style-sheet editor's commands staying off where its hook library is missing.
#include "tests/shell/MenuDriver.h"
#include "tests/shell/ShellFixture.h"

#include "controls/flat/TFlatEditUnit.h"
#include "platform/FileIO.h"
#include "shell/qt/windows/ColorPrint.h"
#include "shell/qt/mainwindow/PrefForm.h"
#include "shell/qt/launch/Launchers.h"
#include "shell/qt/menu/DocumentPrint.h"
#include "tests/tools/ClickWidget.h"
#include "tests/tools/DialogClicks.h"
#include "tools/qt/EncryptDialog.h"

#include <QImage>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <vector>

using vx::test::ShellTest;
using namespace vx::shell;

namespace {

namespace fs = std::filesystem;

class OutsideProgramsTest : public ShellTest {
protected:
    void SetUp() override
    {
        StartAndActivate();
        Focus(form->SlotEditor(1));
    }
    void TearDown() override { SetDialogHost({}); }
    void Pick(std::initializer_list<const char*> path) { vx::test::PickMenuItem(*form, path); }

    // A program folder whose path holds a blank, with an encoder that writes
    // its working folder and its arguments, one a line, to "screnc.args".
    std::string InstallFakeEncoder()
    {
        const fs::path program = fs::path(docs.path()) / "program folder";
        fs::create_directories(program / "data" / "encrypt");
        setenv("VELLUMIX_HOME", program.c_str(), 1); // the fixture's sandbox restores it
        const std::string encoder = Tfrm_enc::EncoderPath();
        vx::test::writeFile(encoder, "#!/bin/sh\n"
                                     "{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > \"$0.tmp\"\n"
                                     "mv \"$0.tmp\" \"$0.args\"\n");
        fs::permissions(encoder, fs::perms::owner_all);
        return encoder + ".args";
    }

    // Opens the encoder from the Tools menu; in its window picks the file of
    // the folder, types the output name and presses "Encrypt file", then Cancel.
    void Encrypt(const std::string& folder, const std::string& file, const std::string& output)
    {
        SetDialogHost([&](QDialog& dialog) {
            auto& enc = dynamic_cast<Tfrm_enc&>(dialog);
            enc.show();
            if (!file.empty())
                vx::test::ChooseFile(*enc.Files, folder, file);
            QTest::keyClicks(enc.Edit1, QString::fromStdString(output));
            vx::test::ClickButton(dialog, "SpeedButton1");
            vx::test::ClickButton(dialog, "SpeedButton2");
            return dialog.result();
        });
        Pick({"Tools1", "Encryptsource1"});
    }

    std::string LastMessage() const { return dialogs.requests.empty() ? "" : dialogs.requests.back().text; }
};

// The pixels of the page whose colour is within a small distance of rgb.
int CountPixels(const QImage& page, QRgb rgb)
{
    int count = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb pixel = page.pixel(x, y);
            if (std::abs(qRed(pixel) - qRed(rgb)) < 24 && std::abs(qGreen(pixel) - qGreen(rgb)) < 24 &&
                std::abs(qBlue(pixel) - qBlue(rgb)) < 24)
                ++count;
        }
    return count;
}

// The first page of the PDF as an image, through poppler's renderer.
QImage RenderFirstPage(const std::string& pdf, const std::string& prefix)
{
    QProcess render;
    render.start("pdftoppm", {"-r", "100", "-f", "1", "-l", "1", "-png", "-singlefile", QString::fromStdString(pdf),
                              QString::fromStdString(prefix)});
    if (!render.waitForFinished(120000) || render.exitCode() != 0)
        return {};
    return QImage(QString::fromStdString(prefix + ".png"));
}

} // namespace

TEST_F(OutsideProgramsTest, TheEncoderGetsTheFileTheOutputAndTheSwitchAsWholeArguments)
{
    const std::string args = InstallFakeEncoder();
    const fs::path folder = fs::path(docs.path()) / "my scripts";
    fs::create_directories(folder);
    vx::test::writeFile((folder / "page one.asp").string(), "<% x = 1 %>");
    vx::test::writeFile((folder / "notes.txt").string(), "not a script");

    Encrypt(folder.string(), "page one.asp", "page one.enc.asp");
    ASSERT_TRUE(QTest::qWaitFor([&] { return vx::FileExists(args); }, 60000)) << "the encoder ran";
    const std::string program = (fs::path(docs.path()) / "program folder").string();
    EXPECT_EQ(vx::test::readFile(args), program + "\n" + (folder / "page one.asp").string() + "\n" +
                                            (folder / "page one.enc.asp").string() + "\n/s\n");
    EXPECT_TRUE(dialogs.requests.empty()) << LastMessage();
}

TEST_F(OutsideProgramsTest, TheEncoderSaysWhatIsMissingAndStartsNothing)
{
    const fs::path folder = fs::path(docs.path()) / "scripts";
    fs::create_directories(folder);
    vx::test::writeFile((folder / "a.vbs").string(), "x");
    enum TEncoder { Runs, NotRunnable, Missing };
    struct Row {
        const char* File;
        const char* Output;
        TEncoder Encoder;
        std::string Message;
    };
    const Row rows[] = {
        {"", "out.vbs", Runs, "Select the file to encrypt first."},
        {"a.vbs", "", Runs, "Enter the name of the output file."},
        {"a.vbs", "out.vbs", NotRunnable, "The script encoder could not be started ("},
        {"a.vbs", "out.vbs", Missing, "The script encoder is not installed ("},
    };
    for (const Row& row : rows) {
        const std::string args = InstallFakeEncoder();
        if (row.Encoder == NotRunnable)
            fs::permissions(Tfrm_enc::EncoderPath(), fs::perms::owner_read | fs::perms::owner_write);
        if (row.Encoder == Missing)
            fs::remove(Tfrm_enc::EncoderPath());
        dialogs.requests.clear();
        Encrypt(folder.string(), row.File, row.Output);
        EXPECT_EQ(LastMessage().substr(0, row.Message.size()), row.Message) << row.Message;
        EXPECT_NE(LastMessage().find(row.Encoder == Runs ? "" : Tfrm_enc::EncoderPath()), std::string::npos)
            << "names where it looked";
        EXPECT_FALSE(vx::FileExists(args)) << row.Message;
    }
}

TEST_F(OutsideProgramsTest, ColourPrintingPutsTheHighlightersColoursOnThePage)
{
    OpenAndFocus(WriteDoc("page.htm", "<table border=\"1\" width=\"100%\">\r\n"
                                      "<tr><td>cell</td><td>cell</td></tr>\r\n"
                                      "</table>\r\n"));
    const std::string pdf = docs.file("color.pdf");
    QPrinter& printer = DocumentPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    AnswerNext<QPrintDialog>([](QPrintDialog& dialog) { dialog.accept(); });
    int result = -1;
    SetDialogHost([&result](QDialog& dialog) {
        dialog.show();
        auto* print = dialog.findChild<QPushButton*>("Button1");
        EXPECT_NE(print, nullptr);
        if (print)
            QTest::mouseClick(print, Qt::LeftButton);
        result = dialog.result();
        return result;
    });
    Pick({"File1", "Printdocumentcolor1"});
    EXPECT_EQ(result, QDialog::Accepted) << "closes once printed";
    ASSERT_TRUE(vx::FileExists(pdf));
    std::vector<std::string> written;
    for (const fs::directory_entry& entry : fs::directory_iterator(docs.path()))
        written.push_back(entry.path().filename().string());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, (std::vector<std::string>{"color.pdf", "page.htm"})) << "no file on the way to the printer";

    const QImage page = RenderFirstPage(pdf, docs.file("color-page"));
    ASSERT_FALSE(page.isNull()) << "pdftoppm rendered the page";
    // The HTML highlighter's tag names and attribute values, and its plain text.
    EXPECT_GT(CountPixels(page, qRgb(0x80, 0x00, 0xFF)), 50) << "tag names";
    EXPECT_GT(CountPixels(page, qRgb(0x00, 0x80, 0xFF)), 20) << "attribute values";
    EXPECT_GT(CountPixels(page, qRgb(0, 0, 0)), 20) << "text";
}

TEST_F(OutsideProgramsTest, ACancelledPrintDialogPrintsNothingAndKeepsTheWindowOpen)
{
    OpenAndFocus(WriteDoc("page.htm", "<b>x</b>\r\n"));
    const std::string pdf = docs.file("cancelled.pdf");
    QPrinter& printer = DocumentPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    AnswerNext<QPrintDialog>([](QPrintDialog& dialog) { dialog.reject(); });
    bool stayedOpen = false;
    SetDialogHost([&stayedOpen](QDialog& dialog) {
        dialog.show();
        QTest::mouseClick(dialog.findChild<QPushButton*>("Button1"), Qt::LeftButton);
        stayedOpen = dialog.isVisible();
        QTest::mouseClick(dialog.findChild<QPushButton*>("Button2"), Qt::LeftButton);
        return dialog.result();
    });
    Pick({"File1", "Printdocumentcolor1"});
    EXPECT_TRUE(stayedOpen);
    EXPECT_FALSE(vx::FileExists(pdf));
}

TEST_F(OutsideProgramsTest, TheStyleSheetEditorIsReportedMissingAndItsCommandsStayOff)
{
    EXPECT_TRUE(LauncherAvailable("Tfrm_enc"));
    EXPECT_TRUE(LauncherAvailable("Tfrm_print"));
    ASSERT_NE(frm_pref, nullptr);
    EXPECT_EQ(frm_pref->TopStyleLabel->text(), "No");
    for (const char* name : {"LaunchTopstyle1", "EditstylesheetwithTopStyle1"}) {
        QAction* action = form->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_FALSE(action->isEnabled()) << name;
    }
}

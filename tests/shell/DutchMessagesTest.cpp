// The questions of the running program speak the chosen language: with
// Nederlands chosen, the question about typed text that opening a file would
// replace and the quit question come in Dutch, the file's name in its place,
// and so do the reasons the program gives when it cannot do what was asked:
// a Windows-1252 page that cannot be saved or take a typed character (in the
// status bar), a file replacing across files leaves alone, an error no window
// catches, a settings file that cannot be written, a value a database field
// cannot take, a damaged GIF opened in the GIF animator or the image
// optimiser (which counts the files it goes through and names the one it
// stops at), a plug-in folder whose first plug-in cannot be trusted; the system's
// reason and the user's value stay as they came. What the tools write into
// their windows while they work comes in Dutch too (the beautifier's and the
// HTML-to-ASP wizard's status, the file manager's verdict, the recorder's
// title, the structure window's status, the View menu's panel items), while
// the code the beautifier writes into the page keeps one form of the date.
#include "tests/shell/DutchFixture.h"
#include "tests/shell/MenuDriver.h"
#include "tests/shell/plugins/PluginFixtures.h"
#include "tests/shell/TextFit.h"
#include "tests/support/TypeText.h"
#include "tests/tools/DialogClicks.h"

#include "controls/edits/RxCalc.h"
#include "controls/flat/TFlatMemoUnit.h"
#include "controls/speedbar/SpeedBar.h"
#include "database/DbTypes.h"
#include "images/RxGIF.h"
#include "images/qt/AnimatorForm.h"
#include "images/qt/GifOptimizerForm.h"
#include "platform/FileIO.h"
#include "platform/IniFile.h"
#include "platform/qt/Application.h"
#include "platform/qt/QtText.h"
#include "shell/qt/mainwindow/StatusBar.h"
#include "shell/qt/windows/ProfHelp.h"
#include "internet/qt/StructureForm.h"
#include "shell/qt/windows/FileManager.h"
#include "shell/qt/windows/Recorder.h"
#include "tests/tools/ClickWidget.h"
#include "tools/qt/HtmlToAspWizard.h"
#include "tools/qt/MultiFileReplaceWindow.h"
#include "tools/qt/SourceBeautifierDialog.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace vx::test {
namespace {

class DutchMessagesTest : public DutchFixture {};

// A GIF whose one frame declares an LZW code size of 12, past what GIF allows.
const char kDamagedGif[] = "GIF89a\x01\x00\x01\x00\x80\x00\x00"
                           "\x00\x00\x00\xff\xff\xff"
                           ",\x00\x00\x00\x00\x01\x00\x01\x00\x00"
                           "\x0c\x02\x4c\x01\x00;";
// The same frame with the code size of 2 it needs.
const std::string kSoundGif = std::string(kDamagedGif, sizeof kDamagedGif - 1).replace(29, 1, "\x02");

TEST_F(DutchMessagesTest, TheBoxesAskAndGiveTheirReasonsInDutch)
{
    // A Windows-1252 page in slot 1, the typed text in slot 2.
    const std::string legacy = WriteDoc("page.htm", "caf\xE9\r\n");
    StartAndActivate({legacy});
    form->show();
    Focus(form->SlotEditor(2));
    PickMenuCommand(*form, "Nederlands1");
    Focus(form->SlotEditor(2));
    QTest::keyClicks(form->SlotEditor(2), "typed ");
    const std::string page = WriteDoc("page.asp", "file\r\n");
    const std::string damaged = WriteDoc("damaged.gif", std::string(kDamagedGif, sizeof kDamagedGif - 1));
    // A sound GIF, then one whose header only is a GIF's.
    std::filesystem::create_directory(docs.file("optimise"));
    WriteDoc("optimise/a.gif", kSoundGif);
    const std::string garbled =
        WriteDoc("optimise/b.gif", std::string("GIF89a\x01\x00\x01\x00\x00\x00\x00", 13) + " not a picture");
    // A plug-in folder whose first file is a plug-in that cannot be trusted.
    PutPlugin(home.File("plugins"), "many", "bad.plg");
    PutPlugin(home.File("plugins"), "commands");
    PutPlugin(home.File("plugins"), "other");
    // Tests the GIF files of the folder in the image optimiser, which opens on
    // the current folder; the counts its label shows while it runs go to counted.
    std::vector<std::string> counted;
    const auto testInOptimiser = [&](const std::string& folder) {
        counted.clear();
        const std::filesystem::path was = std::filesystem::current_path();
        std::filesystem::current_path(folder);
        AnswerNext<Tfrm_gifoptimizer>([&counted](Tfrm_gifoptimizer& optimiser) {
            auto* files = optimiser.findChild<QListWidget*>("FileListBox1");
            QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(0)).center());
            QTimer watch;
            QObject::connect(&watch, &QTimer::timeout, [&] {
                const std::string count = vx::FromQString(optimiser.findChild<QLabel*>("Label1")->text());
                if (counted.empty() || counted.back() != count)
                    counted.push_back(count);
            });
            watch.start(0);
            auto* test = optimiser.findChild<QPushButton*>("buttontest");
            QTest::mouseClick(test, Qt::LeftButton);
            watch.stop();
            EXPECT_TRUE(optimiser.isVisible() && test->isEnabled()) << "the optimiser goes on";
            QTest::keyClick(&optimiser, Qt::Key_Escape);
        });
        PickMenuCommand(*form, "GraphicsOptimizer1");
        std::filesystem::current_path(was);
    };
    const std::filesystem::path pageFolder = docs.file("named as a picture");
    std::filesystem::create_directory(pageFolder);
    vx::test::writeFile((pageFolder / "page.gif").string(), "<p>no picture</p>");
    const struct {
        const char* asked;
        std::function<void()> ask;
        std::string shown;
        // The file the open dialog the step shows is answered with.
        std::string opened = {};
    } cases[] = {
        {"opening a page with an earlier text kept beside it",
         [&] {
             const std::string kept = WriteDoc("kept.asp", "now\r\n");
             WriteDoc("kept.asp.vxold-Older1", std::string(1234, 'x'));
             SetChangedAt(kept + ".vxold-Older1", 2024, 3, 5, 14, 7);
             form->OpenDocumentInFreeSlot(kept, false);
         },
         "Naast kept.asp staan eerdere teksten van afgebroken opslagacties:\r\n    " + docs.file("kept.asp") +
             ".vxold-Older1 (1.234 bytes, gewijzigd 5-3-2024 14:07)\r\nAlleen-lezen openen om ze te bekijken? Bij "
             "het sluiten wordt gevraagd of ze weg mogen. Nee bewaart ze."},
        {"opening into the slot",
         [&] {
             // Typed text is offered up only once no slot is free; slot 3 holds kept.asp.
             for (const char* other : {"4.asp", "5.asp"})
                 form->OpenDocumentInFreeSlot(WriteDoc(other, "x"), false);
             form->OpenDocumentInFreeSlot(page, false);
         },
         "Document 2 bevat tekst die niet is opgeslagen.\r\nWilt u die tekst weggooien en page.asp openen?"},
        {"quitting",
         [&] {
             QTimer::singleShot(0, frm_profhelp, [] { QTest::mouseClick(frm_profhelp->Button2, Qt::LeftButton); });
             EXPECT_FALSE(form->close()) << "Cancel keeps the program running";
         },
         "De wijzigingen in uw documenten opslaan voordat u afsluit?"},
        {"saving a character the page's code page lacks",
         [&] {
             // As a recovery copy brings back what was typed before a crash.
             TmwCustomEditModel& model = form->SlotEditor(1)->Model();
             model.SetText("caf\xC3\xA9\r\n\xCE\xB1\r\n");
             model.SetModified(true);
             Focus(form->SlotEditor(1));
             QTest::keySequence(form.get(), QKeySequence("Ctrl+S"));
         },
         "Kan " + vx::PathText(legacy) +
             " niet opslaan:\r\nhet bestand gebruikt de tekenset Windows-1252, waarin het teken \"\xCE\xB1\" van regel "
             "2 niet voorkomt"},
        {"replacing in a Windows-1252 file",
         [&] {
             TFStart window;
             window.StatusMinimum = 0;
             window.show();
             window.ListBox1->addItem(vx::ToQPath(legacy));
             window.RunQuery = [](TFQuery& query) {
                 query.show();
                 QTest::keyClicks(query.Edit1, "caf");
                 TypeText(query.Edit2, QString::fromUtf8("\xCE\xB1"));
                 QTest::mouseClick(query.Button1, Qt::LeftButton);
                 return query.result() == QDialog::Accepted;
             };
             ClickButton(window, "SpeedButton3");
         },
         "Het bestand " + legacy +
             " gebruikt de tekenset Windows-1252, waarin het teken \"\xCE\xB1\" uit de vervangende tekst niet "
             "voorkomt; het bestand is niet gewijzigd"},
        {"an error no window catches",
         [&] { vx::DeliverShowingExceptions([&] { return !vx::ReadWholeFile(legacy + ".gone").empty(); }); },
         "Kan bestand " + legacy + ".gone niet openen: " + std::strerror(ENOENT)},
        {"a settings file that cannot be read, written",
         [&] {
             std::filesystem::create_directory(docs.file("settings.ini"));
             vx::DeliverShowingExceptions([&] {
                 TIniFile(docs.file("settings.ini")).WriteString("S", "k", "v");
                 return true;
             });
         },
         "Kan niet naar " + docs.file("settings.ini") + " schrijven: het bestand kan niet worden gelezen"},
        {"a value typed into a number column of the query builder's grid",
         [&] { vx::DeliverShowingExceptions([] { return VarToInt(std::string("twelve")) > 0; }); },
         "'twelve' is geen geldig geheel getal"},
        {"a text that is no number pasted into the calculator",
         [&] {
             TRxCalculatorForm calculator(nullptr, 0);
             QGuiApplication::clipboard()->setText("twelve");
             vx::DeliverShowingExceptions([&] {
                 calculator.Panel()->Paste();
                 return true;
             });
         },
         "'twelve' is geen geldig decimaal getal"},
        {"a damaged GIF opened in the GIF animator",
         [&] {
             AnswerNext<TAnimatorForm>([](TAnimatorForm& animator) {
                 auto* open = dynamic_cast<TSpeedItem*>(animator.findChild<QObject*>("OpenBtn"));
                 ASSERT_NE(open, nullptr);
                 QTest::mouseClick(open->Button(), Qt::LeftButton);
                 EXPECT_TRUE(animator.isVisible()) << "the animator goes on";
                 EXPECT_EQ(animator.Image().Count(), 0);
                 QTest::keyClick(&animator, Qt::Key_Escape);
             });
             PickMenuCommand(*form, "GIFAnimator1");
         },
         "Kan " + damaged + " niet lezen:\r\nDe GIF-codegrootte ligt niet tussen 2 en 9", damaged},
        {"a damaged GIF tested in the image optimiser", [&] { testInOptimiser(docs.path()); },
         "Kan " + std::filesystem::canonical(damaged).string() + " niet optimaliseren:\r\nOngeldige GIF-gegevens"},
        {"a GIF with garbage after its header tested after a sound one in the image optimiser",
         [&] {
             testInOptimiser(docs.file("optimise"));
             EXPECT_EQ(counted, (std::vector<std::string>{"Bestand 1 van 2", "Bestand 2 van 2"}));
         },
         "Kan " + std::filesystem::canonical(garbled).string() + " niet optimaliseren:\r\nOngeldige GIF-gegevens"},
        {"loading plug-ins from a folder whose first file cannot be trusted",
         [&] { PickMenuCommand(*form, "LoadPlugins1"); },
         "\"" + home.File("plugins/bad.plg") +
             "\" is geen geldige plug-in: hij biedt 100000000 opdrachten aan, meer dan de 256 die een plug-in mag "
             "aanbieden.\r\nDaarom zijn deze plug-ins niet geladen: commands.plg, other.plg"},
        {"a page named as a GIF tested in the image optimiser", [&] { testInOptimiser(pageFolder.string()); },
         "Kan " + std::filesystem::canonical(pageFolder / "page.gif").string() +
             " niet optimaliseren:\r\nOngeldige GIF-signatuur"},
    };
    for (const auto& c : cases) {
        dialogs.requests.clear();
        if (!c.opened.empty())
            dialogs.Queue(mrOk, c.opened);
        dialogs.Queue(mrCancel);
        c.ask();
        ASSERT_EQ(dialogs.requests.size(), c.opened.empty() ? 1u : 2u) << c.asked;
        const vx::dialogs::Request& box = dialogs.requests.back();
        EXPECT_EQ(box.kind, vx::dialogs::Kind::Message) << c.asked;
        EXPECT_EQ(box.text, c.shown) << c.asked;
    }
    // The status bar words a refused character as the save's box does, and
    // shows it whole beside the clock, the date and the user name.
    form->Timer1Timer();
    Focus(form->SlotEditor(1));
    TypeText(form->SlotEditor(1), QString::fromUtf8("\xCE\xA9"));
    EXPECT_EQ(form->StatusBar1->currentMessage().toStdString(),
              "De tekst is niet ingevoegd: het bestand gebruikt de tekenset Windows-1252, waarin het teken "
              "\"\xCE\xA9\" niet voorkomt");
    const std::optional<TTextRoom> refusal = RoomOf(*form, form->StatusBar1->currentMessage());
    ASSERT_TRUE(refusal.has_value()) << "the status bar shows the refusal";
    EXPECT_TRUE(refusal->Fits()) << "the refusal needs " << refusal->Needed << " px, has " << refusal->Room;
    EXPECT_EQ(form->SlotFileName(2), "") << "the typed text stays";
    EXPECT_EQ(vx::test::readFile(legacy), "caf\xE9\r\n") << "the page as it was";
}

TEST_F(DutchMessagesTest, TheToolsSayWhatTheyAreDoingInDutch)
{
    StartAndActivate();
    form->show();
    PickMenuCommand(*form, "Nederlands1");

    // The beautifier: its steps and its time in Dutch, the page's banner in the one form code keeps.
    TFrm_aspb beautifier(nullptr);
    beautifier.Clock = [] { return vx::tools::TClockReading{2026, 12, 10, 4, 16, 9, 22}; };
    Activate(beautifier);
    beautifier.memo1->setPlainText("<p>\n<% If a Then %>\n<b>x</b>\n<% End If %>\n");
    ChooseMenu(beautifier, "Be&werken>&Opmaken");
    EXPECT_EQ(beautifier.info->text().toStdString(), "Bezig: stap 6");
    EXPECT_EQ(beautifier.memo1->toPlainText().split('\n').first().toStdString(),
              "<!--code beautified 12/10/2026 4:09:22 PM by Vellumix Professional 1.0-->");
    ClickButton(beautifier, "SpeedButton1");
    EXPECT_TRUE(beautifier.info->text().startsWith("Klaar: opmaken duurde 0:00:"))
        << beautifier.info->text().toStdString();
    const std::optional<TTextRoom> took = RoomOf(beautifier, beautifier.info->text());
    ASSERT_TRUE(took.has_value());
    EXPECT_TRUE(took->Fits()) << "needs " << took->Needed << " px, has " << took->Room;
    QApplication::clipboard()->setText("<p>pasted</p>");
    ChooseMenu(beautifier, "Be&werken>&Plakken");
    EXPECT_EQ(beautifier.memo1->toPlainText().toStdString(), "<p>pasted</p>");
    beautifier.close();

    // The HTML-to-ASP wizard: the status it ends with.
    const std::string page = WriteDoc("convert.htm", "<p>one</p>\r\n<p>two</p>\r\n");
    Tfrm_cvthtml wizard(nullptr);
    Activate(wizard);
    ChooseFile(*wizard.Files, docs.path().string(), "convert.htm");
    ClickButton(wizard, "SpeedButton1");
    ClickButton(wizard, "SpeedButton2");
    EXPECT_GT(wizard.memo2->Lines().Count(), 0) << page;
    EXPECT_EQ(wizard.StatusBar1->text().toStdString(), "Regels worden geschreven..");

    // The file manager: a file's size, and a file that is gone.
    frm_filemanager->ListBox1->addItem(QString::fromStdString(WriteDoc("sized.htm", std::string(28800, 'x'))));
    frm_filemanager->ListBox1->addItem(QString::fromStdString(docs.file("gone.htm")));
    frm_filemanager->show();
    ClickRow(*frm_filemanager->ListBox1, 0);
    EXPECT_EQ(frm_filemanager->Label4->text().toStdString(), "28800 bytes");
    ClickRow(*frm_filemanager->ListBox1, 1);
    EXPECT_EQ(frm_filemanager->Label4->text().toStdString(), "Bestand niet gevonden");
    frm_filemanager->hide();

    // The recorder's title names what it does.
    Activate(*frm_recorder);
    EXPECT_EQ(frm_recorder->windowTitle().toStdString(), "Inactief");
    Click(*frm_recorder->Button1, QPoint(5, 5));
    EXPECT_EQ(frm_recorder->windowTitle().toStdString(), "Opnemen");
    Click(*frm_recorder->Button2, QPoint(5, 5));
    EXPECT_EQ(frm_recorder->windowTitle().toStdString(), "Inactief");
    frm_recorder->hide();

    // The structure window, done with a page of this machine.
    TfrmHTMLParsing structure(nullptr);
    Activate(structure);
    structure.edtHTML->setText(QString::fromStdString(page));
    QTest::mouseClick(structure.btnparse, Qt::LeftButton);
    EXPECT_EQ(structure.StatusBar1->currentMessage().toStdString(), "Klaar");

    // The View menu's items that show a panel say what a click does next.
    const struct {
        const char* item;
        const char* afterOne;
        const char* afterTwo;
    } toggles[] = {{"Filepanel1", "Bestandspaneel verbergen", "Bestandspaneel tonen"},
                   {"Wordwraponoff1", "Regelterugloop aan", "Regelterugloop uit"},
                   {"Hidevalidatorpanel1", "Paneel Koppelingscontrole tonen", "Paneel Koppelingscontrole verbergen"},
                   {"AdvancedNovice1", "Overschakelen naar gevorderde modus", "Overschakelen naar beginnersmodus"}};
    for (const auto& toggle : toggles) {
        const QAction* item = form->findChild<QAction*>(toggle.item);
        ASSERT_NE(item, nullptr) << toggle.item;
        PickMenuCommand(*form, toggle.item);
        EXPECT_EQ(item->text().toStdString(), toggle.afterOne);
        PickMenuCommand(*form, toggle.item);
        EXPECT_EQ(item->text().toStdString(), toggle.afterTwo);
    }
}

} // namespace
} // namespace vx::test

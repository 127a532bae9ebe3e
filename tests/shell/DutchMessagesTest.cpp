// The questions of the running program speak the chosen language: with
// Nederlands chosen, the question about typed text that opening a file would
// replace and the quit question come in Dutch, the file's name in its place,
// and so do the reasons the program gives when it cannot do what was asked:
// a Windows-1252 page that cannot be saved or take a typed character (in the
// status bar), a file replacing across files leaves alone, an error no window
// catches, a settings file that cannot be written, a value a database field
// cannot take; the system's reason and the user's value stay as they came.
#include "tests/shell/DutchFixture.h"
#include "tests/shell/MenuDriver.h"
#include "tests/support/TypeText.h"
#include "tests/tools/DialogClicks.h"

#include "controls/edits/RxCalc.h"
#include "database/DbTypes.h"
#include "platform/FileIO.h"
#include "platform/IniFile.h"
#include "platform/qt/Application.h"
#include "platform/qt/QtText.h"
#include "shell/qt/mainwindow/StatusBar.h"
#include "shell/qt/windows/ProfHelp.h"
#include "tools/qt/MultiFileReplaceWindow.h"

#include <QClipboard>
#include <QGuiApplication>
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
    const struct {
        const char* asked;
        std::function<void()> ask;
        std::string shown;
    } cases[] = {
        {"opening into the slot", [&] { form->OpenDocumentInFreeSlot(page, false); },
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
         "Kon " + vx::PathText(legacy) +
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
    };
    for (const auto& c : cases) {
        dialogs.requests.clear();
        dialogs.Queue(mrCancel);
        c.ask();
        ASSERT_EQ(dialogs.requests.size(), 1u) << c.asked;
        EXPECT_EQ(dialogs.requests[0].text, c.shown) << c.asked;
    }
    // The status bar words a refused character as the save's box does.
    Focus(form->SlotEditor(1));
    TypeText(form->SlotEditor(1), QString::fromUtf8("\xCE\xA9"));
    EXPECT_EQ(form->StatusBar1->currentMessage().toStdString(),
              "De tekst is niet ingevoegd: het bestand gebruikt de tekenset Windows-1252, waarin het teken "
              "\"\xCE\xA9\" niet voorkomt");
    EXPECT_EQ(form->SlotFileName(2), "") << "the typed text stays";
    EXPECT_EQ(vx::test::readFile(legacy), "caf\xE9\r\n") << "the page as it was";
}

} // namespace
} // namespace vx::test

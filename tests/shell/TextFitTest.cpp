// Words that fit, in English and in Dutch: in every window the menus and
// launchers open, and in the main window, every caption, button text, tab
// text and field value fits the room its control gives it, the assistant
// leaves the main window's status bars uncovered, and the window lies on the
// screen.
#include "tests/shell/DutchFixture.h"
#include "tests/shell/MenuDriver.h"
#include "tests/shell/TextFit.h"
#include "tests/shell/WindowWalker.h"

#include "internet/FtpSettings.h"
#include "platform/qt/QtText.h"
#include "shell/qt/windows/ProfHelp.h"

#include <QScreen>

namespace vx::test {
namespace {

// The main window's rows of document tabs and of tag lists scroll: they hold
// as many documents as the user opens, and a dozen lists in a narrow panel.
// The print dialog's output file is a path of this machine, as long as its
// folders make it.
bool ScrollsByDesign(const std::string& place)
{
    return place.starts_with("QWidget#0/Splitter1/PageControl1/qt_tabwidget_tabbar.") ||
           place.starts_with("QWidget#0/Splitter1/PageControl2/qt_tabwidget_tabbar.") ||
           place == "QPrintWidget/printerGroup/filename.Text";
}

// The program's own lists fill the main window's tag boxes, as they do for a
// user, and the publishing window's fields hold a stored login.
class TextFitTest : public DutchFixture {
protected:
    void SetUp() override
    {
        DutchFixture::SetUp();
        std::filesystem::copy(VX_SOURCE_DIR "/data", home.File("data"), std::filesystem::copy_options::recursive);
        TFtpSettings{"ftp.example.com", "anonymous", "", false}.Save();
    }
    // The assistant, put up anew through the View menu over the main window as it stands now.
    void ShowAssistant()
    {
        const QAction* assistant = form->findChild<QAction*>("VellumixAssistant1");
        ASSERT_NE(assistant, nullptr);
        if (assistant->isChecked())
            PickMenuCommand(*form, "VellumixAssistant1");
        PickMenuCommand(*form, "VellumixAssistant1");
        ASSERT_TRUE(frm_profhelp->isVisible());
    }
};

TEST_F(TextFitTest, EveryTextFitsItsControlInEnglishAndInDutch)
{
    // Shown first, then activated, as the program starts: the lists fill the shown tag boxes.
    Start();
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->FirstActivation(); }, kPatienceMs));
    const QRect screen = form->screen()->availableGeometry();
    std::string cut;
    std::size_t measured = 0;
    for (const char* language : {"English", "Nederlands1"}) {
        if (TKAppLanguage::Instance().IsNativeCurrent() != (std::string_view(language) == "English"))
            PickMenuCommand(*form, language);
        const auto check = [&](const std::string& window, QWidget& shown) {
            if (&shown != form.get() && !screen.contains(shown.frameGeometry()))
                cut += std::string(language) + " " + window + " lies off the screen, " +
                       std::to_string(shown.frameGeometry().width()) + " pixels wide\n";
            for (const TTextRoom& room : TextRoomsOnEveryPage(shown)) {
                ++measured;
                if (!room.Fits() && !ScrollsByDesign(room.Place))
                    cut += std::string(language) + " " + window + ": " + room.Place + " \"" +
                           vx::FromQString(room.Text) + "\" needs " + std::to_string(room.Needed) + " px, has " +
                           std::to_string(room.Room) + "\n";
            }
        };
        for (const TWalkedWindow& walked : WalkEveryWindow(*form, dialogs, check))
            EXPECT_TRUE(walked.Found) << walked.Command;
        ShowAssistant();
        check("main window", *form);
    }
    EXPECT_TRUE(cut.empty()) << "texts cut off:\n" << cut;
    EXPECT_GT(measured, 1000u);
}

} // namespace
} // namespace vx::test

// The questions of the running program speak the chosen language: with
// Nederlands chosen, the question about typed text that opening a file would
// replace and the quit question come in Dutch, the file's name in its place.
#include "tests/shell/DutchFixture.h"
#include "tests/shell/MenuDriver.h"

#include "shell/qt/windows/ProfHelp.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace vx::test {
namespace {

class DutchMessagesTest : public DutchFixture {};

TEST_F(DutchMessagesTest, TheQuestionsAboutUnsavedTextAreAskedInDutch)
{
    StartAndActivate();
    Focus(form->SlotEditor(1));
    PickMenuCommand(*form, "Nederlands1");
    Focus(form->SlotEditor(1));
    QTest::keyClicks(form->SlotEditor(1), "typed ");
    const std::string page = WriteDoc("page.asp", "file\r\n");
    const struct {
        const char* asked;
        std::function<void()> ask;
        std::string shown;
    } cases[] = {
        {"opening into the slot", [&] { form->OpenDocumentInFreeSlot(page, false); },
         "Document 1 bevat tekst die niet is opgeslagen.\r\nWilt u die tekst weggooien en page.asp openen?"},
        {"quitting",
         [&] {
             QTimer::singleShot(0, frm_profhelp, [] { QTest::mouseClick(frm_profhelp->Button2, Qt::LeftButton); });
             EXPECT_FALSE(form->close()) << "Cancel keeps the program running";
         },
         "De wijzigingen in uw documenten opslaan voordat u afsluit?"},
    };
    for (const auto& c : cases) {
        dialogs.requests.clear();
        dialogs.Queue(mrCancel);
        c.ask();
        ASSERT_EQ(dialogs.requests.size(), 1u) << c.asked;
        EXPECT_EQ(dialogs.requests[0].text, c.shown) << c.asked;
    }
    EXPECT_EQ(form->SlotFileName(1), "") << "the typed text stays";
}

} // namespace
} // namespace vx::test

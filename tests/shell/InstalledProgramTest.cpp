// An installed program's folder is read-only: what the user saves goes to the
// user's data folder, and comes back from there at the next start.
#include "tests/shell/MenuDriver.h"
#include "tests/shell/ShellFixture.h"

#include "controls/flat/TFlatMemoUnit.h"
#include "editor/qt/mwAutoComplete.h"
#include "internet/qt/AsyncFetch.h"
#include "internet/qt/OpenUrlForm.h"
#include "platform/ProgramPaths.h"
#include "shell/qt/mainwindow/PrefForm.h"
#include "tests/support/Patience.h"
#include "tests/support/Unprivileged.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

namespace vx::test {
namespace {

// A label longer than 63 characters: the resolver refuses the name without
// asking any name server, so the fetch fails on any machine.
const std::string Address = "http://" + std::string(64, 'a') + ".invalid/page.htm";
const std::string Shipped = "!rp\r\n=response.write\"\"\r\n";

class InstalledProgramTest : public ShellTest {
protected:
    // Types an abbreviation at the end of the preferences' macro page and
    // saves through "Save Information", which closes the window.
    static void SaveAbbreviation(Tfrm_pref& preferences)
    {
        auto* pages = preferences.findChild<QTabWidget*>("PageControl1");
        ASSERT_NE(pages, nullptr);
        int page = 0;
        while (page < pages->count() && !pages->widget(page)->isAncestorOf(preferences.Memo1))
            ++page;
        QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {}, pages->tabBar()->tabRect(page).center());
        ASSERT_TRUE(preferences.Memo1->isVisible());
        preferences.Memo1->setFocus();
        QTest::keyClick(preferences.Memo1, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(preferences.Memo1, Qt::Key_Return);
        QTest::keyClicks(preferences.Memo1, "!vx");
        QTest::keyClick(preferences.Memo1, Qt::Key_Return);
        QTest::keyClicks(preferences.Memo1, "=Vellumix");
        PressButton(preferences.findChild<QPushButton*>("Button2"));
        EXPECT_FALSE(preferences.isVisible()) << "the save did not go through";
    }
    // Fetches the address through the window's button, waits for the fetch
    // to end and closes the window.
    static void FetchAddress(Tfrm_openurl& openUrl)
    {
        QLineEdit* edit = openUrl.ComboBox1->lineEdit();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, QString::fromStdString(Address));
        PressButton(openUrl.SpeedButton1);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !openUrl.Fetch().Busy(); }, kPatienceMs));
        PressButton(openUrl.SpeedButton2);
    }
};

TEST_F(InstalledProgramTest, WhatTheUserSavesComesBackFromTheDataFolderAfterARestart)
{
    writeFile(home.Data("macros.dat"), Shipped);
    ReadOnlyFolder installed(vx::ProgramFolder());
    ASSERT_TRUE(installed.Holds());

    StartAndActivate();
    form->show();
    AnswerNext<Tfrm_pref>([](Tfrm_pref& preferences) {
        SaveAbbreviation(preferences);
        preferences.close(); // when the save failed
    });
    PickMenuCommand(*form, "Prefferences1");
    AnswerNext<Tfrm_openurl>([](Tfrm_openurl& openUrl) { FetchAddress(openUrl); });
    PickMenuCommand(*form, "OpenURL1");
    for (const dialogs::Request& request : dialogs.requests)
        ADD_FAILURE() << "a message: " << request.text;

    form.reset();
    TRegistry::ResetStoreForTests();
    StartAndActivate();
    form->show();
    EXPECT_GE(form->a_complete->AutoCompleteList().IndexOf("!vx"), 0) << "the editors expand the saved abbreviation";
    std::string macros;
    AnswerNext<Tfrm_pref>([&macros](Tfrm_pref& preferences) {
        macros = preferences.Memo1->Lines().Text();
        PressButton(preferences.findChild<QPushButton*>("Button1"));
    });
    PickMenuCommand(*form, "Prefferences1");
    EXPECT_EQ(macros, Shipped + "!vx\r\n=Vellumix\r\n") << "the shipped abbreviations, then the saved one";
    std::vector<std::string> history;
    AnswerNext<Tfrm_openurl>([&history](Tfrm_openurl& openUrl) {
        for (int i = 0; i < openUrl.ComboBox1->count(); ++i)
            history.push_back(openUrl.ComboBox1->itemText(i).toStdString());
        PressButton(openUrl.SpeedButton2);
    });
    PickMenuCommand(*form, "OpenURL1");
    EXPECT_EQ(history, std::vector<std::string>{Address});
}

} // namespace
} // namespace vx::test

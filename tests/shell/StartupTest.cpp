#include "tests/shell/MenuDriver.h"
#include "tests/shell/ShellFixture.h"

#include "controls/common/RXConst.h"
#include "controls/common/StartupUnits.h"
#include "controls/speedbar/SpeedBar.h"
#include "editor/qt/mwCompletionProposal.h"
#include "platform/AnsiText.h"
#include "platform/FileIO.h"
#include "platform/ProgramPaths.h"
#include "shell/qt/windows/FrontPageCheck.h"
#include "shell/qt/mainwindow/PrefForm.h"
#include "shell/qt/windows/ProfHelp.h"
#include "shell/qt/windows/SearchForm.h"
#include "controls/foldertree/DirTree.h"
#include "shell/qt/panels/FilePanel.h"
#include "shell/qt/panels/SidePanels.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

using vx::test::ShellTest;

namespace {

QString AssistantText()
{
    return frm_profhelp->findChild<QPlainTextEdit*>("Memo1")->toPlainText();
}

} // namespace

TEST_F(ShellTest, StartsOnAnEmptyStoreWithoutAnyMessage)
{
    StartAndActivate();
    EXPECT_EQ(gauges, (std::vector<int>{10, 20, 30, 40, 60, 70, 80, 90, 90, 100, 110}));
    EXPECT_EQ(labels, (std::vector<std::string>{"Doc. selection", "Search capabilities", "Configuration file",
                                                "File Manager", "Preview tools", "Recorder tools"}));
    ASSERT_TRUE(frm_pref && frm_search && frm_jump && frm_profhelp);
    EXPECT_EQ(frm_search->windowTitle(), "Search");
    EXPECT_TRUE(dialogs.requests.empty());
    EXPECT_FALSE(form->FirstActivation());
    EXPECT_EQ(vx::shell::MainWindow(), form.get()) << "dialogs of other libraries reach the window";

    TmwEditList& lines = form->SlotEditor(1)->Model().Lines();
    ASSERT_EQ(lines.Count(), 7);
    EXPECT_EQ(lines[0], "<html>");
    EXPECT_EQ(lines[3], "  <title>Title goes here</title>");
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(form->SlotEditor(1)->Model().CaretY(), 6);
    EXPECT_EQ(form->SlotEditor(2)->Model().Lines()[0], " ");
    for (int i = 1; i <= TForm1::SlotCount; ++i) {
        EXPECT_EQ(form->SlotFileName(i), "");
        EXPECT_EQ(form->PageControl1->tabText(i - 1), "<empty>");
        EXPECT_EQ(form->SlotEditor(i)->Model().MaxUndo(), 50);
    }
    // Settings a fresh store gives: the layout's values and the table's defaults.
    EXPECT_EQ(frm_pref->WorkspaceCount(), 2);
    EXPECT_TRUE(frm_pref->Ticked(5));
    EXPECT_TRUE(frm_pref->Ticked(8));
    EXPECT_TRUE(form->CheckBox1->isChecked());
    EXPECT_TRUE(form->VellumixAssistant1->isChecked());
    EXPECT_EQ(TagCaseMode(), "NORMAL");

    TRegistry reg;
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    ASSERT_TRUE(reg.OpenKey("\\httfile\\shell\\vellumix\\command", false));
    const std::string command = reg.ReadString("");
    EXPECT_EQ(command.substr(command.size() - 5), " \"%1\"");
    EXPECT_EQ(command, vx::LowerCase(command));
}

TEST_F(ShellTest, TheFilePanelStartsInTheProgramFolder)
{
    vx::test::writeFile(home.File("index.htm"), "<html>\r\n");
    vx::test::writeFile(home.File("notes.txt"), "-\r\n");
    StartAndActivate();
    vx::shell::TFilePanel* panel = vx::shell::FilePanel(*form);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->Folder(), vx::ProgramFolder());
    EXPECT_EQ(panel->DirectoryListBox1->GetSelectedDir(), vx::ProgramFolder());
    ASSERT_EQ(panel->FileCount(), 1) << "the web files of the folder";
    EXPECT_EQ(panel->filelist->model()->index(0, 0).data().toString(), "Index.htm");

    form->show();
    vx::test::PickMenuItem(*form, {"View1", "Filepanel1"});
    ASSERT_TRUE(panel->isVisible());
    vx::test::SaveShot(*form, "filepanel");
}

TEST_F(ShellTest, TheEditorsKeyBindingsAreKeptByCommandNameInTheUsersFile)
{
    StartAndActivate();
    const std::string path = vx::UserDataPath(TForm1::KeyBindingsFile);
    TStringList stored;
    stored.LoadFromFile(path);
    ASSERT_EQ(stored.Count(), 79) << "a fresh start writes the bindings in force";
    EXPECT_EQ(stored[0], "ecUp=38,0");
    EXPECT_GE(stored.IndexOf("ecDeleteLine=16473,0"), 0) << "Ctrl+Y";

    // Ctrl+Y deletes no more line, Ctrl+D does, in every slot and workspace.
    stored.Put(stored.IndexOf("ecDeleteLine=16473,0"), "ecDeleteLine=16452,0");
    stored.SaveToFile(path);
    form.reset();
    StartAndActivate();
    ASSERT_FALSE(form->Workspaces().empty());
    for (TmwCustomEdit* editor : {form->SlotEditor(2), form->Workspaces().front()}) {
        editor->Model().SetText("one\r\ntwo");
        Focus(editor);
        editor->Model().SetCaretXY(Point(1, 1));
        QTest::keyClick(editor, Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(editor->Model().Lines().Count(), 2) << editor->objectName().toStdString();
        editor->Model().SetText("one\r\ntwo");
        editor->Model().SetCaretXY(Point(1, 1));
        QTest::keyClick(editor, Qt::Key_D, Qt::ControlModifier);
        EXPECT_EQ(Text(editor), "two\r\n") << editor->objectName().toStdString();
    }

    // A line that is no binding is reported, and the editors keep the bindings they have.
    vx::test::writeFile(path, "ecUp=38,0\r\necNoSuchCommand=1,0\r\n");
    form.reset();
    dialogs.requests.clear();
    StartAndActivate();
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_NE(dialogs.requests[0].text.find("ecNoSuchCommand=1,0"), std::string::npos) << dialogs.requests[0].text;
    EXPECT_EQ(form->SlotEditor(1)->Model().Keystrokes().Count(), 79);
}

TEST_F(ShellTest, StartUpRegistersTheHandCursorsTheIdleMinuteTimerAndTheSystemRecord)
{
    Start();
    for (int id : {vx::crHand, vx::crDragHand, vx::crToolbarHand, vx::crRightHand, vx::crLeftHand, vx::crTopHand})
        EXPECT_NE(vx::ScreenCursor(id).shape(), Qt::ArrowCursor) << id;
    ASSERT_NE(vx::DesignTimer(), nullptr);
    EXPECT_EQ(vx::DesignTimer()->interval(), 60000);
    EXPECT_FALSE(vx::DesignTimer()->isActive());
    EXPECT_EQ(vx::OSVersion().Description, vx::ReadOSVersion().Description);
    EXPECT_FALSE(vx::OSVersion().Description.empty());
}

TEST_F(ShellTest, FirstActivationReadsTheStoredSettings)
{
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        reg.OpenKey(PreferencesKey, true);
        reg.WriteString("l_wiz", "FALSE");
        reg.WriteString("assistant", "FALSE");
        reg.WriteString("toppanel", "TRUE");
        reg.WriteString("tag_ins", "UP");
    }
    StartAndActivate();
    EXPECT_FALSE(form->CheckBox1->isChecked());
    EXPECT_FALSE(form->VellumixAssistant1->isChecked());
    EXPECT_FALSE(frm_profhelp->isVisible());
    EXPECT_TRUE(form->toppanel->isHidden());
    EXPECT_EQ(TagCaseMode(), "UP");
    TagCaseMode() = "NORMAL";
}

TEST_F(ShellTest, ListFilesFillTheirControlsOnEveryActivation)
{
    vx::test::writeFile(home.Data("htmltags.ae"), "<b>:</b>\r\n<br>\r\n");
    vx::test::writeFile(home.Data("sql.ae"), "SELECT\nFROM\n");
    vx::test::writeFile(home.Data("webtv.ae"), "<audioscope>\r\n");
    vx::test::writeFile(home.Data("jscript.ae"), "Statements\r\n\tbreak;\r\n\t\tinner\r\nDocument\r\n");
    vx::test::writeFile(home.Data("codecomplete.ae"), "one\r\ntwo\r\n");
    StartAndActivate();
    ASSERT_EQ(form->tags->count(), 2);
    EXPECT_EQ(form->combobox1->currentText(), "<b>:</b>");
    EXPECT_EQ(form->sqlbox->item(1)->text(), "SELECT") << "the SQL list is sorted";
    EXPECT_EQ(form->webtv->count(), 1);
    EXPECT_EQ(form->codec1->ItemList().Count(), 2);
    ASSERT_EQ(form->Jtree->topLevelItemCount(), 2);
    EXPECT_EQ(form->Jtree->topLevelItem(0)->child(0)->child(0)->text(0), "inner");

    std::filesystem::remove(home.Data("webtv.ae"));
    std::filesystem::remove(home.Data("sql.ae"));
    vx::test::writeFile(home.Data("htmltags.ae"), "<hr>\r\n");
    form->FormActivate();
    EXPECT_EQ(form->webtv->count(), 0) << "the WebTV list is emptied before loading";
    EXPECT_EQ(form->sqlbox->count(), 2) << "a missing file leaves its list as it was";
    EXPECT_EQ(form->tags->item(0)->text(), "<hr>");
}

TEST_F(ShellTest, CommandLineOpensUpToFiveFiles)
{
    const std::string a = WriteDoc("a.asp", "A\r\n");
    const std::string b = WriteDoc("b.htm", "B\r\n");
    StartAndActivate({a, docs.file("missing.asp"), b});
    EXPECT_EQ(form->SlotFileName(1), a);
    EXPECT_EQ(form->SlotFileName(2), b);
    EXPECT_EQ(Text(form->SlotEditor(1)), "A\r\n");
    EXPECT_EQ(form->PageControl1->tabText(1), "b.htm");
}

TEST_F(ShellTest, SixArgumentsOpenNothingAndTheSetUpStillCompletes)
{
    std::vector<std::string> six;
    for (int i = 0; i < 6; ++i)
        six.push_back(WriteDoc("f" + std::to_string(i) + ".asp", "x"));
    StartAndActivate(six);
    for (int i = 1; i <= TForm1::SlotCount; ++i)
        EXPECT_EQ(form->SlotFileName(i), "");
    EXPECT_EQ(form->Workspaces().size(), 2u);
    EXPECT_FALSE(form->FirstActivation());
}

TEST_F(ShellTest, WorkspaceCountIsClampedAndNamed)
{
    for (const auto& [stored, created] : {std::pair{150, 100}, std::pair{-3, 0}, std::pair{3, 3}}) {
        {
            TRegistry reg;
            reg.SetRootKey(HKEY_LOCAL_MACHINE);
            reg.OpenKey(PreferencesKey, true);
            reg.WriteInteger("workspace", stored);
        }
        StartAndActivate();
        ASSERT_EQ(static_cast<int>(form->Workspaces().size()), created) << stored;
        ASSERT_EQ(form->PageControl1->count(), TForm1::SlotCount + created);
        if (created > 0) {
            QWidget* last = form->PageControl1->widget(TForm1::SlotCount + created - 1);
            EXPECT_EQ(last->objectName(), QString("tabs_%1").arg(created + 5));
            EXPECT_TRUE(last->findChild<QWidget*>(QString("statusbar_%1").arg(created)));
            EXPECT_EQ(form->Workspaces().back()->objectName(), QString("richedit%1").arg(created + 5));
            EXPECT_EQ(form->PageControl1->tabText(TForm1::SlotCount), "<empty>");
        }
        form->FormActivate();
        EXPECT_EQ(static_cast<int>(form->Workspaces().size()), created) << "created once";
        form.reset();
    }
}

TEST_F(ShellTest, AssistantTextShowsAPendingTipFirst)
{
    StartAndActivate();
    form->TipPending = true;
    form->ShowAssistantText("Hello");
    EXPECT_EQ(AssistantText(), "\nDid you know that, \n\nHello");
    EXPECT_FALSE(form->TipPending);
    form->ShowAssistantText("Again");
    EXPECT_EQ(AssistantText(), "\nAgain");
}

TEST_F(ShellTest, SpeedBarButtonsRunTheirCommands)
{
    StartAndActivate();
    ASSERT_GE(form->SpeedBar1->SectionCount(), 1);
    EXPECT_EQ(form->SpeedBar1->ItemsCount(0), 4);
    TSpeedItem* item = form->SpeedBar1->FindItemByName("SpeedButton1");
    ASSERT_NE(item, nullptr);
    EXPECT_FALSE(item->Button()->isHidden());
    EXPECT_EQ(item->Hint(), "New file");
    EXPECT_LT(item->Left(), form->SpeedBar1->FindItemByName("SpeedButton2")->Left()) << "side by side";
    form->SetNewPageWizard(nullptr);
    EXPECT_FALSE(item->Enabled()) << "no new-page wizard";
    int wizards = 0;
    form->SetNewPageWizard([&] {
        ++wizards;
        return false;
    });
    EXPECT_TRUE(item->Enabled());
    item->ButtonClick();
    EXPECT_EQ(wizards, 1);
}

TEST_F(ShellTest, HintOfTheControlUnderTheMouseGoesToTheAssistant)
{
    StartAndActivate();
    auto enter = [](QWidget* widget) {
        QEvent event(QEvent::Enter);
        QApplication::sendEvent(widget, &event);
    };
    form->ShowAssistantText("before");
    auto* save = form->SpeedBar1->FindItemByName("SpeedButton3")->Button();
    enter(save);
    EXPECT_EQ(AssistantText(), "\nHint : Save file");

    form->ShowAssistantText("typing");
    enter(save);
    EXPECT_EQ(AssistantText(), "\ntyping") << "the same hint again is no change";
    enter(form->PageControl1);
    EXPECT_EQ(AssistantText(), "\ntyping") << "no hint: nothing shown";

    auto* label = new QLabel(form->toppanel);
    form->toppanel->setToolTip("Top|The quick tools of the top panel");
    enter(label);
    EXPECT_EQ(AssistantText(), "\nHint : The quick tools of the top panel") << "a parent's hint, its long part";
    enter(save);
    EXPECT_EQ(AssistantText(), "\nHint : Save file");
}

TEST_F(ShellTest, QuitQuestionNoKeepsRunningAndShowsTheTime)
{
    StartAndActivate();
    QTimer::singleShot(0, [] { frm_profhelp->Button1->click(); });
    EXPECT_FALSE(form->FormCloseQuery());
    EXPECT_TRUE(AssistantText().startsWith("\nCurrent time is : "));
    EXPECT_TRUE(frm_profhelp->Button1->isHidden());
}

TEST_F(ShellTest, QuitAsksAboutModifiedDocumentsBeforeEnding)
{
    const std::string path = WriteDoc("page.asp", "old\r\n");
    StartAndActivate({path});
    form->SlotEditor(1)->Model().Lines().Add("new");
    form->SlotEditor(1)->Model().SetModified(true);

    dialogs.Queue(mrCancel);
    QTimer::singleShot(0, [] { frm_profhelp->Button2->click(); });
    EXPECT_FALSE(form->FormCloseQuery()) << "cancel keeps the program running";
    EXPECT_EQ(vx::test::readFile(path), "old\r\n");

    dialogs.Queue(mrYes);
    QTimer::singleShot(0, [] { frm_profhelp->Button2->click(); });
    EXPECT_TRUE(form->FormCloseQuery());
    EXPECT_EQ(vx::test::readFile(path), "old\r\nnew\r\n");
}

TEST_F(ShellTest, ExitSoundPlaysOnlyAnExistingFile)
{
    StartAndActivate();
    std::vector<std::string> played;
    frm_pref->PlayWave = [&](const std::string& name) { played.push_back(name); };
    frm_pref->CheckBox(13)->setChecked(true);
    frm_pref->sound->clear();
    QTimer::singleShot(0, [] { frm_profhelp->Button2->click(); });
    EXPECT_TRUE(form->FormCloseQuery()) << "the question follows without a sound";
    EXPECT_TRUE(played.empty());

    const std::string wave = home.File("exit.wav");
    vx::test::writeFile(wave, "RIFF");
    frm_pref->sound->setText(QString::fromStdString(wave));
    QTimer::singleShot(0, [] { frm_profhelp->Button2->click(); });
    form->FormCloseQuery();
    EXPECT_EQ(played, std::vector<std::string>{wave});
}

namespace {

std::string ReadValue(const char* key, const char* name)
{
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    return reg.OpenKey(key, true) ? reg.ReadString(name) : std::string();
}

void WriteValue(const char* key, const char* name, const std::string& value)
{
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    reg.OpenKey(key, true);
    reg.WriteString(name, value);
}

} // namespace

TEST_F(ShellTest, FrontPageCheckFiresWhenFrontPageEditsScriptsUnlessSwitchedOff)
{
    StartAndActivate();
    EXPECT_FALSE(form->CheckFrontPageEditorSetting(false));
    WriteValue(FrontPageEditorsKey, "asp", "c:\\program files\\frontpg.exe");
    EXPECT_TRUE(form->CheckFrontPageEditorSetting(false));
    WriteValue(PreferencesKey, "fpcheck", "FALSE");
    EXPECT_FALSE(form->CheckFrontPageEditorSetting(false));
    EXPECT_TRUE(form->CheckFrontPageEditorSetting(true));
    WriteValue(PreferencesKey, "fpcheck", "TRUE");
    EXPECT_TRUE(form->CheckFrontPageEditorSetting(false));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the check only answers";
}

TEST_F(ShellTest, DefaultEditorCheckAlwaysAsksAndEachAnswerWritesItsSettings)
{
    StartAndActivate();
    Focus(form->SlotEditor(1));
    const auto ask = [this](const std::function<void(Tfrm_fpcheck&)>& answer) {
        bool asked = false;
        AnswerNext<Tfrm_fpcheck>([&asked, answer](Tfrm_fpcheck& check) {
            asked = true;
            EXPECT_EQ(check.windowTitle(), "Configure Frontpage external editors");
            EXPECT_EQ(check.pos(), QPoint(20, 20));
            answer(check);
        });
        vx::test::PickMenuItem(*form, {"Options1", "Defaulteditorcheck1"});
        EXPECT_TRUE(asked);
    };
    // "No thanks" alone changes nothing, so the question comes again.
    ask([](Tfrm_fpcheck& check) { vx::test::PressButton(check.Button2); });
    EXPECT_EQ(ReadValue(PreferencesKey, "fpcheck"), "");
    EXPECT_EQ(ReadValue(FrontPageEditorsKey, "asp"), "");
    // With "Don't ask me again" it stops the start-up question.
    ask([](Tfrm_fpcheck& check) {
        QTest::mouseClick(check.CheckBox1, Qt::LeftButton, {}, QPoint(4, check.CheckBox1->height() / 2));
        ASSERT_TRUE(check.CheckBox1->isChecked());
        vx::test::PressButton(check.Button2);
    });
    EXPECT_EQ(ReadValue(PreferencesKey, "fpcheck"), "FALSE");
    EXPECT_EQ(ReadValue(FrontPageEditorsKey, "asp"), "");
    // "Ok, Do it!" makes this program FrontPage's editor of the script files.
    WriteValue(PreferencesKey, "fpcheck", "TRUE");
    ask([](Tfrm_fpcheck& check) { vx::test::PressButton(check.Button1); });
    const std::string editor = "VELLUMIX," + vx::AnsiLowerCase(QCoreApplication::applicationFilePath().toStdString()) + ",0";
    for (const char* extension : {"asp", "cgi", "inc", "pl", "pm", "php", "php3", "php4"})
        EXPECT_EQ(ReadValue(FrontPageEditorsKey, extension), editor) << extension;
    EXPECT_EQ(ReadValue(PreferencesKey, "fpcheck"), "FALSE");
}

TEST_F(ShellTest, ShowingTheWindowAsksTheFrontPageQuestionWhenTheCheckFires)
{
    WriteValue(FrontPageEditorsKey, "asp", "FrontPg.exe");
    StartAndActivate();
    bool asked = false;
    AnswerNext<Tfrm_fpcheck>([&asked](Tfrm_fpcheck& check) {
        asked = true;
        vx::test::SaveShot(check, "fpcheck");
        check.close();
    });
    form->show();
    EXPECT_TRUE(QTest::qWaitFor([&asked] { return asked; }, vx::test::kPatienceMs));
    EXPECT_EQ(ReadValue(PreferencesKey, "fpcheck"), "") << "closed unanswered: asked again next time";
}

TEST_F(ShellTest, VcsListTakesTheFileOfEverySection)
{
    vx::test::writeFile(home.Data("vcsmanager.dat"), "[one]\r\nF_file=c:\\a.asp\r\n[two]\r\nOther=1\r\n");
    StartAndActivate();
    ASSERT_EQ(form->vcsbox->topLevelItemCount(), 2);
    EXPECT_EQ(form->vcsbox->topLevelItem(0)->text(0), "c:\\a.asp");
    EXPECT_EQ(form->vcsbox->topLevelItem(1)->text(0), "");
}

TEST_F(ShellTest, BeginnersModeFollowsThePreferenceAndTheSwitchFlipsIt)
{
    StartAndActivate();
    EXPECT_FALSE(form->BeginnersMode());
    EXPECT_EQ(form->AdvancedNovice1->text(), "Switch to Beginners mode");
    form.reset();

    {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        reg.OpenKey(PreferencesKey, true);
        reg.WriteString("beginners_mode", "TRUE");
    }
    Start();
    QAction* expert = form->menuBar()->addMenu("Expert")->addAction("Expert command");
    expert->setProperty(TForm1::BeginnerTag, 1);
    QAction* everyone = form->findChild<QAction*>("Save1");
    form->FormActivate();
    EXPECT_TRUE(form->BeginnersMode());
    EXPECT_FALSE(expert->isEnabled());
    EXPECT_TRUE(everyone->isEnabled()) << "untagged commands stay";
    EXPECT_EQ(form->AdvancedNovice1->text(), "Switch to Advanced mode");

    form->AdvancedNovice1->trigger();
    EXPECT_FALSE(form->BeginnersMode());
    EXPECT_TRUE(expert->isEnabled());
    EXPECT_EQ(form->AdvancedNovice1->text(), "Switch to Beginners mode");
    form->FormActivate();
    EXPECT_FALSE(form->BeginnersMode()) << "the preference decides only at the first activation";
}

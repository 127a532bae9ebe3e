// The main window's remaining commands: tips, file drop, plug-in commands,
// beginner mode, previews and links through the desktop, redo and the
// language menu.
#include "tests/shell/DesktopStandIn.h"
#include "tests/shell/MenuDriver.h"
#include "tests/shell/ShellFixture.h"

#include "controls/flat/TFlatMemoUnit.h"
#include "localisation/KLangEd.h"
#include "localisation/qt/KMLang.h"
#include "platform/ProgramPaths.h"
#include "shell/qt/mainwindow/MainFormCommands.h"
#include "shell/qt/mainwindow/MainFormCommandsState.h"
#include "shell/qt/windows/ProfHelp.h"
#include "shell/qt/launch/LauncherTable.h"
#include "shell/qt/launch/Launchers.h"
#include "shell/qt/menu/MenuBuilder.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>

#include <filesystem>
#include <functional>
#include <set>

using vx::test::DesktopStandIn;
using vx::test::NoDesktopPrograms;
using vx::test::ShellTest;
using namespace vx::shell;

// Takes the addresses the program asks the desktop to open.
class UrlRecorder : public DesktopStandIn {
    Q_OBJECT
public:
    UrlRecorder() : DesktopStandIn("Open") {}
    std::vector<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened.push_back(url); }
};

namespace {

class CommandsTest : public ShellTest {
protected:
    void SetUp() override { StartAndActivate(); }
    // The menu's action of the given name, or a new one bound as the menu's
    // own would be where the menu has none.
    QAction* Action(const char* name, const char* caption = "")
    {
        if (auto* action = form->findChild<QAction*>(name))
            return action;
        auto* action = new QAction(caption, form.get());
        action->setObjectName(name);
        BindMainCommands(*form);
        return action;
    }
    std::vector<std::string> AssistantLines() const
    {
        std::vector<std::string> lines;
        for (int i = 0; i < frm_profhelp->Memo1->Lines().Count(); ++i)
            lines.push_back(frm_profhelp->Memo1->Lines()[i]);
        return lines;
    }
    // Drags the files onto the slot's editor and drops them there.
    void Drop(int slot, const std::vector<std::string>& files) { vx::test::DropFiles(*form->SlotEditor(slot), files); }
    int NamedSlots() const
    {
        int named = 0;
        for (int slot = 1; slot <= TForm1::SlotCount; ++slot)
            named += !form->SlotFileName(slot).empty();
        return named;
    }
};

} // namespace

TEST_F(CommandsTest, TipsComeFromEveryLineAndNoneFromAnEmptyList)
{
    TStringList& tips = Tips(*form);
    tips.Clear();
    frm_profhelp->Memo1->Lines().SetText("untouched");
    ShowTip(*form);
    EXPECT_EQ(AssistantLines(), std::vector<std::string>{"untouched"}) << "no tips: nothing shown";

    tips.Add("only tip");
    ShowTip(*form);
    const std::vector<std::string> one = AssistantLines();
    ASSERT_FALSE(one.empty());
    EXPECT_EQ(one.back(), "only tip");
    EXPECT_FALSE(form->TipPending) << "the assistant took the tip";
    EXPECT_NE(std::find(one.begin(), one.end(), "Did you know that, "), one.end());

    tips.Add("last tip");
    std::set<std::string> shown;
    for (int i = 0; i < 64; ++i) {
        ShowTip(*form);
        shown.insert(AssistantLines().back());
    }
    EXPECT_EQ(shown, (std::set<std::string>{"only tip", "last tip"})) << "the last line is a tip too";
}

TEST_F(CommandsTest, ADroppedFileOpensOnlyWithAnExactDocumentExtension)
{
    struct Case {
        const char* name;
        bool opens;
    };
    const Case cases[] = {{"page.HTM", true}, {"style.css", true}, {"picture.gif", false}, {"photo.JPG", false},
                          {"x.exe", false},   {"noext", false},    {"short.ht", false},    {"half.p", false}};
    // A dropped picture opens the image dialog, which the user cancels.
    std::vector<std::string> shown;
    SetDialogHost([&shown](QDialog& dialog) {
        shown.push_back(dialog.objectName().toStdString());
        return int(QDialog::Rejected);
    });
    for (const Case& c : cases) {
        const std::string file = WriteDoc(c.name, "text");
        const int before = NamedSlots();
        Drop(2, {file, WriteDoc("second.htm", "second")});
        EXPECT_EQ(NamedSlots(), before + (c.opens ? 1 : 0)) << c.name;
        if (c.opens) {
            EXPECT_EQ(form->SlotFileName(before + 1), file) << "only the first dropped file counts";
        }
    }
    SetDialogHost({});
    EXPECT_EQ(shown, (std::vector<std::string>{"frm_addimg", "frm_addimg"}));
    ASSERT_EQ(NamedSlots(), 2);
    for (int i = 0; i < 3; ++i)
        form->OpenDocumentInFreeSlot(WriteDoc("fill" + std::to_string(i) + ".htm", "x"), false);
    ASSERT_EQ(NamedSlots(), 5);
    Drop(1, {WriteDoc("late.htm", "late")});
    for (int slot = 1; slot <= TForm1::SlotCount; ++slot)
        EXPECT_NE(form->SlotFileName(slot), docs.file("late.htm")) << "all slots full: nothing opens";
}

TEST_F(CommandsTest, ADroppedImagePresetsTheImageDialogsFolderAndName)
{
    const TLauncherRow* row = FindLauncher("Tfrm_addimg");
    ASSERT_NE(row, nullptr);
    TLauncherRow fake = *row;
    fake.Make = [](QWidget* parent) -> QDialog* { return new QDialog(parent); };
    std::string folder, name;
    SetDialogHost([&](QDialog& dialog) {
        folder = dialog.property("vxInitialDir").toString().toStdString();
        name = dialog.property("vxFileName").toString().toStdString();
        return int(QDialog::Rejected);
    });
    LaunchRow(*form, fake, docs.file("picture.gif"));
    SetDialogHost({});
    EXPECT_EQ(folder, docs.path().string());
    EXPECT_EQ(name, "picture.gif");
}

TEST_F(CommandsTest, PluginCommandsStandNewestFirst)
{
    QMenu* plugins = form->findChild<QMenu*>("Plugins1");
    ASSERT_NE(plugins, nullptr);
    const QList<QAction*> own = plugins->actions();
    int ran = 0;
    AddPluginCommand(*form, "First", QKeySequence("Ctrl+1"), "first hint", [&ran] { ran = 1; });
    AddPluginCommand(*form, "Second", QKeySequence(), "second hint", [&ran] { ran = 2; });
    const QList<QAction*> actions = plugins->actions();
    ASSERT_EQ(actions.size(), own.size() + 2);
    EXPECT_EQ(actions[0]->text(), "Second");
    EXPECT_EQ(actions[1]->text(), "First");
    EXPECT_EQ(actions[1]->shortcut(), QKeySequence("Ctrl+1"));
    EXPECT_EQ(actions[1]->toolTip(), "first hint");
    EXPECT_EQ(actions.mid(2), own) << "the menu's own items follow";
    actions[1]->trigger();
    EXPECT_EQ(ran, 1);
}

TEST_F(CommandsTest, BeginnerModeTogglesTheTaggedCommandsAndTheCaption)
{
    auto* expert = Action("Expert1", "Expert");
    expert->setProperty(TForm1::BeginnerTag, 1);
    const bool wasBeginner = form->BeginnersMode();
    form->AdvancedNovice1->trigger();
    EXPECT_EQ(form->BeginnersMode(), !wasBeginner);
    EXPECT_EQ(expert->isEnabled(), wasBeginner);
    EXPECT_EQ(form->AdvancedNovice1->text(), wasBeginner ? "Switch to Beginners mode" : "Switch to Advanced mode");
    form->AdvancedNovice1->trigger();
    EXPECT_EQ(expert->isEnabled(), !wasBeginner);
    EXPECT_EQ(form->BeginnersMode(), wasBeginner);
}

TEST(PreviewUrl, BuildsTheAddressBelowTheWebRootOnly)
{
    struct Case {
        const char* file;
        const char* root;
        std::optional<std::string> url;
    };
    const Case cases[] = {
        {"/srv/www/index.asp", "/srv/www", "http://10.0.0.5/index.asp"},
        {"/srv/www/shop/a b.asp", "/srv/www/", "http://10.0.0.5/shop/a%20b.asp"},
        {"/srv/www/../etc/passwd", "/srv/www", std::nullopt},
        {"/home/me/page.asp", "/srv/www", std::nullopt},
        {"/srv/wwwx/page.asp", "/srv/www", std::nullopt},
        {"/srv/www/page.asp", "", std::nullopt},
        {"", "/srv/www", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PreviewUrl(c.file, c.root, "10.0.0.5"), c.url) << c.file << " below " << c.root;
}

TEST_F(CommandsTest, ExternalPreviewAndHelpGoThroughTheDesktop)
{
    UrlRecorder desktop;
    QAction* external = Action("Currentpageinexternalbrowser1");
    QAction* help = Action("VellumixHelpIndex1");
    QAction* link = Action("ASPTown1");
    Focus(form->SlotEditor(1));
    external->trigger();
    ASSERT_FALSE(dialogs.requests.empty());
    EXPECT_EQ(dialogs.requests.back().text, "Save document first!");
    EXPECT_TRUE(desktop.opened.empty());

    const std::string file = WriteDoc("page.htm", "<p>");
    form->OpenDocumentInFreeSlot(file, false);
    Focus(form->SlotEditor(1));
    vx::test::writeFile(home.Data("vellumix.chm"), "help");
    external->trigger();
    help->trigger();
    link->trigger();
    ASSERT_EQ(desktop.opened.size(), 3u);
    EXPECT_EQ(desktop.opened[0], QUrl::fromLocalFile(QString::fromStdString(file)));
    EXPECT_EQ(desktop.opened[1], QUrl::fromLocalFile(QString::fromStdString(home.Data("vellumix.chm"))))
        << "the help index beside the program, not in the working folder";
    EXPECT_EQ(desktop.opened[2].scheme(), "http");
}

TEST_F(CommandsTest, HelpWebLinksAndTheExternalPreviewSayWhatCouldNotBeOpened)
{
    NoDesktopPrograms desktop;
    Focus(form->SlotEditor(1));
    const std::string page = WriteDoc("page.htm", "<p>");
    struct Case {
        const char* item;
        std::function<void()> before;
        std::string message;
    };
    for (const Case& c : std::vector<Case>{
             {"VBScriptHelpindex1", [] {},
              "The help file \"vbscript.chm\" is not beside the program: it was looked for in "
                  + vx::ProgramFolder() + " and in " + vx::ProgramPath("data") + "."},
             {"VBScriptHelpindex1", [&] { vx::test::writeFile(home.File("vbscript.chm"), "help"); },
              "No program could be started to show the help file " + vx::ProgramPath("vbscript.chm") + "."},
             {"ASPTown1", [] {}, "No web browser could be started to open http://www.asptown.com/."},
             {"Currentpageinexternalbrowser1", [&] { OpenAndFocus(page); },
              "No web browser could be started to open file://" + page + "."},
         }) {
        c.before();
        dialogs.requests.clear();
        vx::test::PickMenuCommand(*form, c.item);
        ASSERT_EQ(dialogs.requests.size(), 1u) << c.item;
        EXPECT_EQ(dialogs.requests[0].text, c.message);
    }
}

// No address of these websites resolves: their items stay disabled and say
// why, and the logo, which stands for the maker, opens nothing either.
TEST_F(CommandsTest, WebsitesWithoutAKnownAddressStayDisabledAndSayWhy)
{
    UrlRecorder desktop;
    form->show();
    const std::pair<const char*, const char*> websites[] = {
        {"VisitOrvaneWebsite1", "no address of the Orvane website is known"},
        {"VisitTopstylewebsite1", "no address of the TopStyle website is known"},
    };
    for (const auto& [item, reason] : websites) {
        QAction* action = form->findChild<QAction*>(item);
        ASSERT_NE(action, nullptr) << item;
        EXPECT_FALSE(action->isEnabled()) << item;
        EXPECT_EQ(action->property(vx::shell::menu::DisabledReason).toString().toStdString(), reason);
        EXPECT_EQ(action->statusTip().toStdString(), reason) << "the status bar says why while the mouse is on it";
    }
    auto* logo = form->findChild<QWidget*>("BmpMosaic1");
    ASSERT_NE(logo, nullptr);
    QTest::mouseClick(logo, Qt::LeftButton);
    EXPECT_TRUE(desktop.opened.empty());
    EXPECT_TRUE(dialogs.requests.empty());
}

TEST_F(CommandsTest, RedoReappliesTheFocusedEditorsUndoneChange)
{
    QAction* redo = Action("Redo1");
    TmwCustomEdit* editor = form->SlotEditor(1);
    Focus(editor);
    editor->Model().SetSelText("abc");
    const std::string typed = Text(editor);
    editor->Model().Undo();
    ASSERT_NE(Text(editor), typed);
    redo->trigger();
    EXPECT_EQ(Text(editor), typed);
}

TEST_F(CommandsTest, TheLanguageMenuSwitchesTheCaptionsAtRunTime)
{
    std::filesystem::create_directories(home.File("languages"));
    TkLangFileEdit file;
    file.AddString(1, "Form1", "Save1.Caption", 0, "Op&slaan");
    file.SaveAs(home.File("languages/Nederlands.lng"));
    form->KMLang1->SetLangDir("");
    form->KMLang1->SetLangDir(vx::ProgramPath("languages"));
    QAction* dutch = Action("Nederlands1");
    QAction* english = Action("English1");
    auto* save = form->findChild<QAction*>("Save1");
    ASSERT_NE(save, nullptr);
    dutch->trigger();
    EXPECT_EQ(save->text(), "Op&slaan");
    english->trigger();
    EXPECT_EQ(save->text(), "Save");
}

TEST_F(CommandsTest, StyleSheetEditorWithoutItsLibraryAndInternalPreviewStayDisabled)
{
    QAction* css = Action("EditstylesheetwithTopStyle1");
    QAction* internal = Action("Currentpageininternalbrowser1");
    css->setProperty(TForm1::BeginnerTag, 1);
    css->setEnabled(true);
    internal->setEnabled(true);
    BindMainCommands(*form);
    EXPECT_FALSE(css->isEnabled()) << "no style-sheet editor has registered";
    EXPECT_FALSE(internal->isEnabled()) << "the preview window holds no browser control yet";
    form->AdvancedNovice1->trigger();
    form->AdvancedNovice1->trigger();
    EXPECT_FALSE(css->isEnabled()) << "beginner mode does not bring it back";
}

#include "LaunchCommandsTest.moc"

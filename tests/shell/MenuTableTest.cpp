#include "tests/shell/MenuDriver.h"
#include "tests/shell/ShellFixture.h"

#include "shell/qt/launch/Launchers.h"

#include "controls/flat/TFlatMemoUnit.h"
#include "controls/speedbar/SpeedBar.h"
#include "shell/qt/mainwindow/PrefForm.h"
#include "shell/qt/mainwindow/StatusBar.h"
#include "shell/qt/windows/ProfHelp.h"
#include "shell/qt/menu/MenuBuilder.h"
#include "shell/menu/MenuTable.h"

#include <QCheckBox>
#include <QSignalSpy>
#include <QTimer>
#include <QToolTip>

#include <map>
#include <set>
#include <string>
#include <vector>

using vx::shell::menu::MenuRows;
using vx::shell::menu::TKind;
using vx::shell::menu::TMenuRow;
using vx::test::ShellTest;

namespace {

// The items whose commands rewrite their captions (a mode or a panel's state).
bool CaptionChanges(std::string_view name)
{
    for (std::string_view changing : {"AdvancedNovice1", "Filepanel1", "Wordwraponoff1", "Hidevalidatorpanel1"})
        if (name == changing)
            return true;
    return false;
}

class MenuTest : public ShellTest {
protected:
    void SetUp() override
    {
        StartAndActivate();
        editor = form->SlotEditor(1);
        editor->Model().SetText("first\r\nsecond");
        Focus(editor);
        ASSERT_EQ(form->ActiveEditor(), editor);
    }
    void TearDown() override { TagCaseMode() = "NORMAL"; }
    void Pick(const char* name) { vx::test::PickMenuCommand(*form, name); }
    QAction* Action(const char* name) const { return form->findChild<QAction*>(name); }
    void ClickToolButton(const char* name)
    {
        TSpeedItem* item = form->SpeedBar1->FindItemByName(name);
        ASSERT_NE(item, nullptr) << name;
        QTest::mouseClick(item->Button(), Qt::LeftButton);
        QApplication::processEvents();
    }

    TmwCustomEdit* editor = nullptr;
};

} // namespace

TEST_F(MenuTest, EveryItemRunsSomethingOrIsDisabledWithAReason)
{
    std::set<std::string> names;
    for (const TMenuRow& row : MenuRows()) {
        // The language file finds an item's text by its name in any case.
        EXPECT_TRUE(names.insert(QString(row.Name).toLower().toStdString()).second) << "a name twice: " << row.Name;
        if (*row.Parent && !std::string_view(row.Parent).starts_with(vx::shell::menu::ToolBarPrefix) &&
            std::string_view(row.Parent) != vx::shell::menu::MenuBarName) {
            EXPECT_NE(vx::test::FindMenuRow(row.Parent), nullptr) << row.Name << " sits in " << row.Parent;
        }
        if (row.Kind == TKind::Menu || row.Kind == TKind::Separator)
            continue;
        QAction* action = Action(row.Name);
        ASSERT_NE(action, nullptr) << row.Name;
        if (!CaptionChanges(row.Name)) {
            EXPECT_EQ(action->text().toStdString(), row.Caption);
        }
        const bool handled = action->property(vx::shell::menu::HandlerProperty).isValid() ||
                             (row.Kind == TKind::Launcher && vx::shell::LauncherAvailable(row.Arg));
        const bool explained = !action->property(vx::shell::menu::DisabledReason).toString().isEmpty();
        EXPECT_TRUE(handled || explained) << row.Name;
        if (action->isEnabled()) {
            EXPECT_TRUE(handled) << row.Name << " has no handler";
        } else if (action->isVisible()) {
            EXPECT_TRUE(explained) << row.Name << " says nothing";
        }
        if (row.Kind == TKind::Launcher) {
            EXPECT_EQ(action->isEnabled(), vx::shell::LauncherAvailable(row.Arg)) << "a launcher runs once its dialog is built: " << row.Name;
            EXPECT_EQ(action->property(vx::shell::menu::LauncherProperty).toString().toStdString(), row.Arg);
        }
        if (row.Kind == TKind::Alias) {
            QAction* target = Action(row.Arg);
            ASSERT_NE(target, nullptr) << row.Arg;
            EXPECT_EQ(action->isEnabled(), target->isEnabled()) << row.Name;
        }
    }
    for (const char* top : {"File1", "Edit1", "Search1", "Insertstatements1", "SampleScripts1", "Plugins1", "Tools1",
                            "Wizards1", "Options1", "View1", "Language1", "Help1"})
        EXPECT_TRUE(form->menuBar()->actions().contains(form->findChild<QMenu*>(top)->menuAction())) << top;
    EXPECT_EQ(form->menuBar()->actions().size(), 12);
}

// A disabled item says why while the mouse is on it, as a tool button does:
// in the status bar, in its tooltip and in the assistant; the status bar
// drops it on the next item.
TEST_F(MenuTest, TheMouseOnADisabledItemShowsWhyItIsDisabled)
{
    const struct {
        const char* item;
        std::string reason;
        const char* enabledNeighbour;
    } rows[] = {
        {"Symbolstohtml1", "has no conversion of its own", "Tabstospaces1"},
        {"Unloadplugins1", "disabled in the layout", "LoadPlugins1"},
    };
    for (const auto& row : rows) {
        ASSERT_FALSE(Action(row.item)->isEnabled()) << row.item;
        form->StatusBar1->clearMessage();
        vx::test::HoverMenuItem(*form, vx::test::MenuPathOf(row.item));
        EXPECT_EQ(form->StatusBar1->currentMessage().toStdString(), row.reason) << row.item;
        EXPECT_NE(frm_profhelp->Memo1->Lines().Text().find("Hint : " + row.reason), std::string::npos)
            << row.item << ": the assistant shows " << frm_profhelp->Memo1->Lines().Text();
        EXPECT_TRUE(QTest::qWaitFor([&] { return QToolTip::isVisible() && QToolTip::text().toStdString() == row.reason; },
                                    vx::test::kPatienceMs))
            << row.item << ": the tooltip shows " << QToolTip::text().toStdString();
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr) << row.item;
        QTest::mouseMove(menu, menu->actionGeometry(Action(row.enabledNeighbour)).center());
        EXPECT_EQ(form->StatusBar1->currentMessage(), "") << row.item << " then " << row.enabledNeighbour;
        vx::test::CloseMenus();
    }
}

TEST_F(MenuTest, NoKeyRunsTwoCommands)
{
    std::map<QKeySequence, QString> seen;
    for (QAction* action : form->findChildren<QAction*>()) {
        if (action->shortcut().isEmpty())
            continue;
        const auto [at, added] = seen.emplace(action->shortcut(), action->objectName());
        EXPECT_TRUE(added) << action->shortcut().toString().toStdString() << ": " << at->second.toStdString()
                           << " and " << action->objectName().toStdString();
    }
    // The first binding of a key the layout gave twice is kept.
    EXPECT_EQ(Action("SaveAs1")->shortcut(), QKeySequence("Ctrl+Alt+S"));
    EXPECT_TRUE(Action("Soundwizard1")->shortcut().isEmpty());
    EXPECT_EQ(Action("DSNlessconnection1")->shortcut(), QKeySequence("Ctrl+Alt+M"));
    EXPECT_TRUE(Action("EmailSource1")->shortcut().isEmpty());
    EXPECT_EQ(Action("Selecttagblock1")->shortcut(), QKeySequence("Ctrl+B"));
    EXPECT_TRUE(Action("CodeBase1")->shortcut().isEmpty());
}

TEST_F(MenuTest, LiteralsGoInAtTheCaretByteForByte)
{
    const std::pair<const char*, const char*> rows[] = {
        {"Includefiles1", R"~(<!-- #include file=" {filename.ext} " -->)~"},
        {"Responsewrite1", R"~(response.write" <your text here> ")~"},
        {"Integerdivision1", R"~( \ )~"},
        {"Greaterthen1", " > "},
        {"Stringconcatenation1", " & "},
        {"VBNullChar1", " VBNullChar "},
        {"Function1", " Function {function name} "},
        {"MsgBox1", R"~( MyVar = MsgBox ("Hello World!", 65, "MsgBox Example") )~"},
        {"Pagelastedited1", R"~(<!--webbot bot="Timestamp" S-Type="EDITED" S-Format="%d/%m/%Y" -->)~"},
        {"Contentlength1", R"~(response.write (request.servervariables("Content_length")))~"},
        {"Scriptopener2", R"~(<Script Language = "JavaScript">)~"},
        {"Dictionary1", R"~({var} = CreateObject("Scripting.Dictionary") )~"},
        {"VBFirstfourdays1", " VBFirstFourDays "},
    };
    for (const auto& [name, text] : rows) {
        editor->Model().SetText("ab");
        editor->Model().SetCaretXY(Point(2, 1));
        Pick(name);
        EXPECT_EQ(editor->Model().Lines()[0], std::string("a") + text + "b") << name;
    }
}

TEST_F(MenuTest, TemplatesLandBelowTheLastLineWithEmptyLinesKept)
{
    editor->Model().SetCaretXY(Point(1, 1));
    Pick("Parseroutine1");
    const TStrings& lines = editor->Model().Lines();
    ASSERT_EQ(lines.Count(), 2 + 16);
    EXPECT_EQ(lines[0], "first");
    EXPECT_EQ(lines[2], "sub readparse {");
    EXPECT_EQ(lines[2 + 9], "\t  $user_data{$keyword} = $value;");
    EXPECT_EQ(lines[2 + 10], "\t  if ($value=~/<!--\\#exec/) {");
    EXPECT_EQ(lines[2 + 11], "\t\tprint \"Content-type: text/html\\n\\nNo SSI permitted\";");
    EXPECT_EQ(editor->Model().CaretXY(), Point(1, 1)) << "the caret stays at the top";

    editor->Model().SetText("x");
    Pick("PerlEmailroutine1");
    ASSERT_EQ(lines.Count(), 1 + 22);
    EXPECT_EQ(lines[1 + 12], R"~($to=~s/@/\@/;)~");
    EXPECT_NE(lines[1 + 4].find("\\@"), std::string::npos) << "the sample address escapes its at-sign";
    EXPECT_EQ(lines[1 + 9], "") << "empty template lines stay";

    editor->Model().SetText("x");
    Pick("Selectcase1");
    ASSERT_EQ(lines.Count(), 11);
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[4], R"~(  Case "<variable>" )~");
    EXPECT_EQ(lines[10], "");
}

TEST_F(MenuTest, SampleScriptsAreSoundCode)
{
    editor->Model().SetText("");
    Pick("Goodmorning1");
    const std::string good = editor->Model().GetText();
    EXPECT_EQ(good.find("\r\n<!--\r\n"), 0u) << good;
    EXPECT_NE(good.find("\r\n</script>\r\n-->\r\n"), std::string::npos);
    EXPECT_NE(good.find("If iHour >= 12 and iHour < 18 Then"), std::string::npos);
    EXPECT_NE(good.find(" End If\r\nEnd If\r\n"), std::string::npos);

    editor->Model().SetText("");
    Pick("Errortrapping1");
    EXPECT_NE(editor->Model().GetText().find("For counter= 0 to conn.errors.count - 1\r\n"), std::string::npos);

    editor->Model().SetText("");
    Pick("PopupWindow1");
    const std::string popup = editor->Model().GetText();
    EXPECT_NE(popup.find("pop.document.write('<body bgcolor=cyan>');"), std::string::npos);
    EXPECT_EQ(popup.find("\r\n<!-- script generated by Vellumix "), 0u);
}

TEST_F(MenuTest, TagPairsWrapTheSelection)
{
    editor->Model().SetText("xy");
    editor->Model().SelectAll();
    Pick("Noscripttag1");
    EXPECT_EQ(editor->Model().Lines()[0], "<noscript>xy</noscript>");
    EXPECT_EQ(editor->Model().CaretX(), 13);

    editor->Model().SetText("");
    ClickToolButton("Italics1");
    EXPECT_EQ(editor->Model().Lines()[0], "<i></i>");
    EXPECT_EQ(editor->Model().CaretX(), 4) << "between the tags";
}

TEST_F(MenuTest, BoldFollowsTheStrongPreference)
{
    frm_pref->CheckBox(18)->setChecked(false);
    editor->Model().SetText("w");
    editor->Model().SelectAll();
    ClickToolButton("Bold1");
    EXPECT_EQ(editor->Model().Lines()[0], "<b>w</b>");
    EXPECT_EQ(editor->Model().CaretX(), 5);

    frm_pref->CheckBox(18)->setChecked(true);
    editor->Model().SetText("w");
    editor->Model().SelectAll();
    ClickToolButton("Bold1");
    EXPECT_EQ(editor->Model().Lines()[0], "<strong>w</strong>");
    EXPECT_EQ(editor->Model().CaretX(), 10);
}

TEST_F(MenuTest, ImportStyleSheetMakesOneLineAroundTheOldSelection)
{
    editor->Model().SetText("body {}");
    editor->Model().SelectAll();
    Pick("Importstylesheet1");
    ASSERT_EQ(editor->Model().LineCount(), 1);
    EXPECT_EQ(editor->Model().Lines()[0],
              "<STYLE TYPE=\"text/css\">body {} <!--  @import url(http://www.yoursite.com/style.css); --></STYLE>");
}

TEST_F(MenuTest, TagCaseUpChangesInsertedLiteralsAndPairs)
{
    TagCaseMode() = "UP";
    editor->Model().SetText("");
    Pick("Openingtag1");
    ClickToolButton("Italics1");
    EXPECT_EQ(editor->Model().Lines()[0], "<HTML><I></I>");
}

TEST_F(MenuTest, EachAliasRunsItsTargetOnce)
{
    form->SetNewPageWizard([] { return false; });
    // Aliases of dialog commands open their dialog: it is cancelled at once,
    // whether it comes through the launchers or is one of the main window's own.
    vx::shell::SetDialogHost([](QDialog&) { return int(QDialog::Rejected); });
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    closer.start(5);
    int ran = 0;
    for (const TMenuRow& row : MenuRows()) {
        if (row.Kind != TKind::Alias)
            continue;
        QAction* alias = Action(row.Name);
        QAction* target = Action(row.Arg);
        if (!target->isEnabled())
            continue;
        // Nothing focused: the commands find no editor and change no document.
        form->PageControl1->setFocus();
        QSignalSpy spy(target, &QAction::triggered);
        alias->trigger();
        EXPECT_EQ(spy.count(), 1) << row.Name;
        ++ran;
    }
    vx::shell::SetDialogHost({});
    EXPECT_GT(ran, 10);
    EXPECT_EQ(Text(editor), "first\r\nsecond\r\n");
}

TEST_F(MenuTest, NothingChangesWithoutAFocusedEditor)
{
    std::vector<std::string> before;
    for (int slot = 1; slot <= TForm1::SlotCount; ++slot)
        before.push_back(Text(form->SlotEditor(slot)));
    form->PageControl1->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(form->ActiveEditor(), nullptr);
    for (const TMenuRow& row : MenuRows())
        if (row.Kind == TKind::Insert || row.Kind == TKind::Wrap || row.Kind == TKind::Template)
            Action(row.Name)->trigger();
    for (int slot = 1; slot <= TForm1::SlotCount; ++slot)
        EXPECT_EQ(Text(form->SlotEditor(slot)), before[slot - 1]) << slot;
}

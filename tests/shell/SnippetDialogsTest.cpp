// Snippets, the code base and user tags as the user drives them: storing a
// selection as a snippet, inserting one, refused and clashing names, browsing
// the code base, and editing the user tag list.
#include "tests/shell/MenuDriver.h"
#include "tests/shell/ShellFixture.h"

#include "controls/flat/TFlatMemoUnit.h"
#include "shell/qt/windows/CodeBase.h"
#include "shell/qt/windows/Snippets.h"
#include "shell/qt/windows/UserTags.h"
#include "shell/qt/launch/Launchers.h"
#include "tests/controls/FlatTestSupport.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using vx::test::ClickRow;
using vx::test::PressButton;
using vx::test::ShellTest;
using namespace vx::shell;

namespace {

std::vector<std::string> Items(const QListWidget& list)
{
    std::vector<std::string> items;
    for (int i = 0; i < list.count(); ++i)
        items.push_back(list.item(i)->text().toStdString());
    return items;
}

class SnippetDialogsTest : public ShellTest {
protected:
    void SetUp() override
    {
        StartAndActivate();
        editor = form->SlotEditor(1);
        Focus(editor);
    }
    void TearDown() override { SetDialogHost({}); }

    // Runs the menu command; act drives the dialog it shows.
    template <class D> void WithDialog(const char* command, std::function<void(D&)> act)
    {
        SetDialogHost([act](QDialog& dialog) {
            dialog.show();
            act(dynamic_cast<D&>(dialog));
            return dialog.result();
        });
        if (vx::test::MenuPathOf(command).empty()) {
            // An item of the editor's pop-up menu, which opens in a loop of its own.
            QAction* action = form->findChild<QAction*>(command);
            ASSERT_NE(action, nullptr) << command;
            action->trigger();
        } else {
            vx::test::PickMenuCommand(*form, command);
        }
        SetDialogHost({});
        // The closed dialog goes once the loop runs.
        QApplication::processEvents();
    }
    // Stores a snippet through "Move Select text to snippets".
    void StoreSelection(const std::string& text, const std::string& name)
    {
        editor->Model().SetText(text);
        editor->Model().SelectAll();
        WithDialog<Tfrm_makesnippet>("MoveSelecttexttosnippets1", [&](Tfrm_makesnippet& dialog) {
            QTest::keyClicks(dialog.Edit1, QString::fromStdString(name));
            PressButton(dialog.Button1);
        });
    }
    std::string Snippets(const std::string& name) const { return userData.File("snippets/" + name); }

    TmwCustomEdit* editor = nullptr;
};

} // namespace

TEST_F(SnippetDialogsTest, TheCommandsOfTheseDialogsAreEnabled)
{
    for (const char* name : {"CodeSnippets1", "CodeBase1", "Userdefinedtags1", "ShowVCSManager1",
                             "MoveSelecttexttosnippets1"}) {
        QAction* action = form->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_TRUE(action->isEnabled()) << name;
    }
}

TEST_F(SnippetDialogsTest, ASelectionStoredAsASnippetIsListedAndInserted)
{
    StoreSelection("<td>\r\n</td>", "my  cell");
    EXPECT_EQ(vx::test::readFile(Snippets("my00cell.snp")), "<td>\r\n</td>\r\n");
    EXPECT_EQ(vx::test::readFile(Snippets("snippets.dat")), "my  cell\r\nmy00cell.snp\r\n")
        << "a missing list is created";

    editor->Model().SetText("top");
    WithDialog<Tfrm_snippets>("CodeSnippets1", [](Tfrm_snippets& dialog) {
        EXPECT_EQ(Items(*dialog.ListBox1), std::vector<std::string>{"my  cell"});
        EXPECT_EQ(dialog.Memo1->Lines().Text(), "<td>\r\n</td>\r\n") << "the first entry is shown";
        PressButton(dialog.Button1);
    });
    EXPECT_EQ(Text(editor), "top\r\n<td>\r\n</td>\r\n");
}

TEST_F(SnippetDialogsTest, SelectingAnEntryShowsItsTextAndClosingInsertsNothing)
{
    StoreSelection("one", "first");
    StoreSelection("two", "second");
    editor->Model().SetText("doc");
    WithDialog<Tfrm_snippets>("CodeSnippets1", [](Tfrm_snippets& dialog) {
        ClickRow(*dialog.ListBox1, 1);
        EXPECT_EQ(dialog.Memo1->Lines().Text(), "two\r\n");
        PressButton(dialog.Button2);
    });
    WithDialog<Tfrm_snippets>("CodeSnippets1", [](Tfrm_snippets& dialog) { dialog.close(); });
    EXPECT_EQ(Text(editor), "doc\r\n");
}

TEST_F(SnippetDialogsTest, RefusedNamesWriteNothingAndKeepTheDialogOpen)
{
    editor->Model().SetText("x");
    editor->Model().SelectAll();
    WithDialog<Tfrm_makesnippet>("MoveSelecttexttosnippets1", [&](Tfrm_makesnippet& dialog) {
        for (const char* bad : {"", "../outside", "a/b", "what?"}) {
            dialogs.requests.clear();
            dialog.Edit1->clear();
            QTest::keyClicks(dialog.Edit1, bad);
            PressButton(dialog.Button1);
            ASSERT_EQ(dialogs.requests.size(), 1u) << bad;
            EXPECT_EQ(dialogs.requests[0].type, mtError) << bad;
            EXPECT_TRUE(dialog.isVisible()) << bad;
        }
        PressButton(dialog.Button2);
        EXPECT_TRUE(dialog.Memo1->Lines().Text().empty());
        EXPECT_TRUE(dialog.Edit1->text().isEmpty());
    });
    EXPECT_FALSE(std::filesystem::exists(userData.File("outside.snp")));
    EXPECT_FALSE(std::filesystem::exists(Snippets("snippets.dat")));
}

TEST_F(SnippetDialogsTest, ANameOfAnotherSnippetsFileAsksBeforeReplacing)
{
    StoreSelection("old", "a b");
    dialogs.requests.clear();
    dialogs.Queue(mrNo);
    StoreSelection("new", "a0b");
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].type, mtConfirmation);
    EXPECT_EQ(vx::test::readFile(Snippets("a0b.snp")), "old\r\n") << "declined: nothing replaced";
    dialogs.Queue(mrYes);
    StoreSelection("new", "a0b");
    EXPECT_EQ(vx::test::readFile(Snippets("a0b.snp")), "new\r\n");
    EXPECT_EQ(vx::test::readFile(Snippets("snippets.dat")), "a0b\r\na0b.snp\r\n") << "one name per file";
}

TEST_F(SnippetDialogsTest, TheCodeBaseOpensWithItsMemoEmptyAndShowsTheChosenFile)
{
    std::filesystem::create_directories(home.Data("codebase"));
    vx::test::writeFile(home.Data("codebase/codebase.dat"), "a.txt\r\nb.txt\r\n");
    vx::test::writeFile(home.Data("codebase/a.txt"), "alpha\r\n");
    vx::test::writeFile(home.Data("codebase/b.txt"), "beta\r\n");
    WithDialog<Tfrm_codebase>("CodeBase1", [](Tfrm_codebase& dialog) {
        EXPECT_EQ(Items(*dialog.ListBox1), (std::vector<std::string>{"a.txt", "b.txt"}));
        vx::test::Activate(dialog);
        dialog.ListBox1->setFocus();
        QApplication::processEvents();
        ASSERT_TRUE(dialog.ListBox1->hasFocus());
        EXPECT_TRUE(dialog.Memo1->Lines().Text().empty()) << "the list took the focus; nothing was chosen";
        ClickRow(*dialog.ListBox1, 1);
        EXPECT_EQ(dialog.Memo1->Lines().Text(), "beta\r\n");
        ClickRow(*dialog.ListBox1, 0);
        EXPECT_EQ(dialog.Memo1->Lines().Text(), "alpha\r\n");
        PressButton(dialog.Button2);
        EXPECT_FALSE(dialog.isVisible());
    });
}

TEST_F(SnippetDialogsTest, UserTagsAreAddedEditedAndSavedAndTheMainListReloads)
{
    WithDialog<Tfrm_usertag>("Userdefinedtags1", [](Tfrm_usertag& dialog) {
        QTest::keyClicks(dialog.Edit1, "<blink>");
        QTest::keyClicks(dialog.Edit2, "</blink>");
        PressButton(dialog.Button1);
        EXPECT_TRUE(dialog.Edit1->text().isEmpty() && dialog.Edit2->text().isEmpty());
        QTest::keyClicks(dialog.Edit1, "<br>");
        PressButton(dialog.Button1);
        QTest::keyClicks(dialog.Edit1, "<a:b>");
        QTest::keyClicks(dialog.Edit2, "</a>");
        PressButton(dialog.Button1);
        EXPECT_EQ(Items(*dialog.ListBox1), (std::vector<std::string>{"<BLINK>:</BLINK>", "<BR>", "<A:B>:</A>"}));
        ClickRow(*dialog.ListBox1, 2);
        PressButton(dialog.Button3);
        EXPECT_EQ(dialog.Edit1->text().toStdString(), "<A:B>") << "split at the last colon";
        EXPECT_EQ(dialog.Edit2->text().toStdString(), "</A>");
        EXPECT_EQ(dialog.ListBox1->count(), 2);
        PressButton(dialog.Button2);
        EXPECT_TRUE(dialog.Edit1->text().isEmpty() && dialog.Edit2->text().isEmpty());
        ClickRow(*dialog.ListBox1, 0);
        PressButton(dialog.Button4);
        PressButton(dialog.Button5);
        PressButton(dialog.Button6);
    });
    EXPECT_EQ(vx::test::readFile(userData.File("data/usertag.ae")), "<BR>\r\n");
    EXPECT_EQ(Items(*form->usertags), std::vector<std::string>{"<BR>"}) << "the main window's list is reloaded";
}

// A list an earlier version wrote in Windows-1252 shows its characters, in
// the dialog and the main window's list, and is saved in UTF-8.
TEST_F(SnippetDialogsTest, UserTagsInWindows1252ShowTheirCharactersAndAreSavedInUtf8)
{
    vx::test::writeFile(home.Data("usertag.ae"), "<\xE4>:</\xE4>\r\n<\x8A>\r\n");
    WithDialog<Tfrm_usertag>("Userdefinedtags1", [](Tfrm_usertag& dialog) {
        EXPECT_EQ(Items(*dialog.ListBox1), (std::vector<std::string>{"<\xC3\xA4>:</\xC3\xA4>", "<\xC5\xA0>"}));
        for (const QString& key : {QStringLiteral("<"), QString::fromUtf8(u8"\u0436"), QStringLiteral(">")})
            vx::test::KeyPress(*dialog.Edit1, 0, key);
        PressButton(dialog.Button1);
        PressButton(dialog.Button5);
        PressButton(dialog.Button6);
    });
    EXPECT_EQ(vx::test::readFile(userData.File("data/usertag.ae")),
              "<\xC3\xA4>:</\xC3\xA4>\r\n<\xC5\xA0>\r\n<\xD0\x96>\r\n");
    EXPECT_EQ(Items(*form->usertags),
              (std::vector<std::string>{"<\xC3\xA4>:</\xC3\xA4>", "<\xC5\xA0>", "<\xD0\x96>"}));
}

TEST_F(SnippetDialogsTest, ClosingTheUserTagsWithoutSaveLeavesTheFileAlone)
{
    const std::string shipped = "<B>:</B>\n<HR>";
    vx::test::writeFile(home.Data("usertag.ae"), shipped);
    WithDialog<Tfrm_usertag>("Userdefinedtags1", [](Tfrm_usertag& dialog) {
        EXPECT_EQ(Items(*dialog.ListBox1), (std::vector<std::string>{"<B>:</B>", "<HR>"}));
        QTest::keyClicks(dialog.Edit1, "<p>");
        PressButton(dialog.Button1);
        dialog.ListBox1->clearSelection();
        PressButton(dialog.Button4); // nothing selected: nothing deleted
        EXPECT_EQ(dialog.ListBox1->count(), 3);
        ClickRow(*dialog.ListBox1, 0);
        PressButton(dialog.Button4);
        PressButton(dialog.Button6);
    });
    EXPECT_EQ(vx::test::readFile(userData.File("data/usertag.ae")), shipped) << "the user's copy, byte for byte";
    EXPECT_EQ(vx::test::readFile(home.Data("usertag.ae")), shipped) << "the shipped file is never written";
}

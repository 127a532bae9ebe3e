#include "tests/shell/ShellFixture.h"

#include "controls/edits/RXCombos.h"
#include "shell/qt/mainwindow/PrefForm.h"
#include "shell/qt/taglists/TagLists.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

using vx::test::ShellTest;

namespace {

class TagListTest : public ShellTest {
protected:
    void SetUp() override
    {
        vx::test::writeFile(home.Data("htmltags.ae"), "<TD>:</TD>\r\n<b>:</b>\r\n<img>\r\n<BR>\r\n<Center>:</Center>\r\n");
        vx::test::writeFile(home.Data("webtv.ae"), "a:b:c\r\n<TD>:</TD>\r\n<audioscope>\r\n");
        vx::test::writeFile(home.Data("asp.ae"), "<% : %>\r\n<%= %>\r\n");
        vx::test::writeFile(home.Data("jscript.ae"), "Statements\r\n\tbreak;\r\n\tif (:) {}\r\n");
        vx::test::writeFile(home.Data("php.ae"), "zeta\r\nalpha:\r\nmid\r\n");
        StartAndActivate();
        frm_pref->CheckBox(8)->setChecked(false);
        editor = form->SlotEditor(1);
        editor->Model().SetText("xy");
        Focus(editor);
    }
    void TearDown() override { TagCaseMode() = "NORMAL"; }
    void SelectAll() { editor->Model().SelectAll(); }
    void DoubleClick(const char* page, QListWidget* list, int row)
    {
        ASSERT_TRUE(vx::shell::ShowTagPage(*form, page)) << page;
        QApplication::processEvents();
        QListWidgetItem* item = list->item(row);
        ASSERT_NE(item, nullptr);
        const QPoint at = list->visualItemRect(item).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QApplication::processEvents();
    }
    std::string Line() const { return editor->Model().Lines()[0]; }

    TmwCustomEdit* editor = nullptr;
};

} // namespace

TEST_F(TagListTest, PagesInTheirOrder)
{
    QTabWidget* pages = vx::shell::TagPages(*form);
    const char* captions[] = {"Html", "Webtv", "Usertags", "SQL", "Cold Fusion", "Miva", "PHP",
                              "Style sheets (css)", "Perl commands", "JavaScript", "ASP Tags", "&Manager"};
    ASSERT_EQ(pages->count(), 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(pages->tabText(i).toStdString(), captions[i]);
    EXPECT_TRUE(pages->widget(0)->isAncestorOf(form->CheckBox1));
}

TEST_F(TagListTest, APairWrapsTheSelectionAndSplitsAtTheLastColon)
{
    SelectAll();
    DoubleClick("Webtv", form->webtv, 1);
    EXPECT_EQ(Line(), "<TD>xy</TD>");
    EXPECT_EQ(editor->Model().CaretX(), 7) << "after the selection";
    EXPECT_EQ(form->ActiveEditor(), editor) << "the slot's editor has the focus again";

    editor->Model().SetText("");
    DoubleClick("Webtv", form->webtv, 0);
    EXPECT_EQ(Line(), "a:bc");
    EXPECT_EQ(editor->Model().CaretX(), 4);
}

TEST_F(TagListTest, AnEntryWithoutAColonReplacesTheSelectionInTheGenericListsOnly)
{
    SelectAll();
    DoubleClick("Webtv", form->webtv, 2);
    EXPECT_EQ(Line(), "<audioscope>");

    editor->Model().SetText("xy");
    SelectAll();
    DoubleClick("ASP Tags", form->aspbox, 1);
    EXPECT_EQ(Line(), "<%= %>xy") << "before the selection";
    editor->Model().SetText("xy");
    SelectAll();
    DoubleClick("ASP Tags", form->aspbox, 0);
    EXPECT_EQ(Line(), "<% : %>xy") << "the ASP list keeps its colons";

    editor->Model().SetText("xy");
    SelectAll();
    ASSERT_TRUE(vx::shell::ShowTagPage(*form, "JavaScript"));
    form->Jtree->expandAll();
    QApplication::processEvents();
    for (const auto& [child, expected] : {std::pair{0, "break;xy"}, std::pair{1, "if (xy) {}"}}) {
        editor->Model().SetText("xy");
        SelectAll();
        QTreeWidgetItem* node = form->Jtree->topLevelItem(0)->child(child);
        const QPoint at = form->Jtree->visualItemRect(node).center();
        QTest::mouseClick(form->Jtree->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(form->Jtree->viewport(), Qt::LeftButton, {}, at);
        EXPECT_EQ(Line(), expected);
    }
}

// Enter on the current entry of every kind of tag list inserts it as a double click does.
TEST_F(TagListTest, EnterInsertsTheSelectedEntryAsADoubleClickDoes)
{
    const struct {
        const char* page;
        QAbstractItemView* view;
        int row;
        const char* expected;
    } cases[] = {
        {"Webtv", form->webtv, 1, "<TD>xy</TD>"},
        {"Html", form->tags, 0, "<TD>xy</TD>"},
        {"ASP Tags", form->aspbox, 1, "<%= %>xy"},
        {"JavaScript", form->Jtree, 0, "Statementsxy"},
    };
    for (const auto& c : cases) {
        editor->Model().SetText("xy");
        SelectAll();
        ASSERT_TRUE(vx::shell::ShowTagPage(*form, c.page));
        QApplication::processEvents();
        c.view->setFocus();
        c.view->setCurrentIndex(c.view->model()->index(c.row, 0));
        QTest::keyClick(c.view, Qt::Key_Return);
        EXPECT_EQ(Line(), c.expected) << c.page;
        EXPECT_EQ(form->ActiveEditor(), editor) << c.page << ": the editor has the focus again";
    }
}

TEST_F(TagListTest, WizardPatternsInAnyLetterCase)
{
    frm_pref->CheckBox(8)->setChecked(true);
    frm_pref->CheckBox(18)->setChecked(false);
    SelectAll();
    DoubleClick("Html", form->tags, 1);
    EXPECT_EQ(Line(), "<b>xy</b>") << "the strong preference is off";

    frm_pref->CheckBox(18)->setChecked(true);
    editor->Model().SetText("xy");
    SelectAll();
    DoubleClick("Html", form->tags, 1);
    EXPECT_EQ(Line(), "<strong>xy</strong>");

    frm_pref->CheckBox(19)->setChecked(true);
    editor->Model().SetText("xy");
    SelectAll();
    DoubleClick("Html", form->tags, 4);
    EXPECT_EQ(Line(), "<p align=\"center\">xy</p>");

    frm_pref->CheckBox(8)->setChecked(false);
    editor->Model().SetText("xy");
    SelectAll();
    DoubleClick("Html", form->tags, 1);
    EXPECT_EQ(Line(), "<b>xy</b>") << "wizards off: the entry as it stands";
}

TEST_F(TagListTest, TheCheckBoxUnderTheHtmlListSetsTheWizardPreference)
{
    ASSERT_TRUE(vx::shell::ShowTagPage(*form, "Html"));
    QApplication::processEvents();
    for (int click = 0; click < 2; ++click) {
        const bool before = form->CheckBox1->isChecked();
        QTest::mouseClick(form->CheckBox1, Qt::LeftButton);
        EXPECT_NE(form->CheckBox1->isChecked(), before);
        EXPECT_EQ(frm_pref->Ticked(8), form->CheckBox1->isChecked()) << "the preference follows the box";
    }
}

TEST_F(TagListTest, TheDropDownBoxesAreSortedAndPickByText)
{
    ASSERT_EQ(form->combobox3->count(), 3);
    EXPECT_EQ(form->combobox3->itemText(0), "alpha:");
    EXPECT_EQ(form->phplist->item(0)->text(), "zeta") << "the list keeps the file's order";
    form->combobox3->setCurrentIndex(0);
    form->combobox3->setFocus();
    SelectAll();
    editor->Model().SetText("xy");
    SelectAll();
    form->combobox3->setFocus();
    QTest::keyClick(form->combobox3, Qt::Key_Down);
    EXPECT_EQ(form->combobox3->currentText(), "mid");
    EXPECT_EQ(Line(), "mid") << "the entry picked, not the list's entry at that index";
}

TEST_F(TagListTest, QuickFontTools)
{
    auto* colors = form->findChild<TColorComboBox*>("ColorComboBox1");
    ASSERT_NE(colors, nullptr);
    SelectAll();
    colors->setFocus();
    const int red = colors->findText("Red");
    ASSERT_GE(red, 1);
    colors->setCurrentIndex(red - 1);
    QTest::keyClick(colors, Qt::Key_Down);
    EXPECT_EQ(Line(), "<font color=\"#FF0000\">xy</font>");

    editor->Model().SetText("xy");
    SelectAll();
    form->ComboBox4->setCurrentIndex(2);
    form->ComboBox4->setFocus();
    QTest::keyClick(form->ComboBox4, Qt::Key_Down);
    EXPECT_EQ(Line(), "<font size=\"3\">xy</font>");
    QTest::keyClick(form->ComboBox4, Qt::Key_Home);
    EXPECT_EQ(Line(), "<font size=\"3\">xy</font>") << "\"normal\" inserts nothing";
}

TEST_F(TagListTest, PageCommandsAndTabPositions)
{
    QTabWidget* pages = vx::shell::TagPages(*form);
    form->findChild<QAction*>("ShowSQLCommands1")->trigger();
    EXPECT_EQ(pages->tabText(pages->currentIndex()), "SQL");
    form->findChild<QAction*>("ShowASPtags1")->trigger();
    EXPECT_EQ(pages->tabText(pages->currentIndex()), "ASP Tags");
    form->findChild<QAction*>("Tabsonbottomside1")->trigger();
    EXPECT_EQ(pages->tabPosition(), QTabWidget::South);
    form->findChild<QAction*>("Tabsonleftside1")->trigger();
    EXPECT_EQ(pages->tabPosition(), QTabWidget::West);
}

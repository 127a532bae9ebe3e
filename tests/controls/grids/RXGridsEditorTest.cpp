// Editing cells of the extended draw grid: the owner's events decide whether
// and how a cell is edited; Escape cancels; the ellipsis button and the pick
// list with its incremental search.
#include "controls/grids/RXGridsEditor.h"
#include "tests/controls/FlatTestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <map>

using namespace vx;
using namespace vx::test;

namespace {

void Key(QWidget& widget, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = QString())
{
    KeyDown(widget, key, mods, text);
}

void Type(QWidget& widget, const QString& text)
{
    for (QChar c : text)
        Key(widget, c.toUpper().unicode(), Qt::NoModifier, QString(c));
}

// A grid whose cells hold text in a map, edited through the grid's events.
struct EditGrid {
    QWidget window;
    TRxDrawGrid* grid;
    std::map<std::pair<int, int>, std::string> cells;
    int cancels = 0, changes = 0;
    EditGrid()
    {
        grid = new TRxDrawGrid(&window);
        grid->resize(400, 120);
        grid->SetOptions(grid->Options() | goEditing);
        grid->OnGetEditText = [this](QObject*, int c, int r, std::string& v) { v = cells[{c, r}]; };
        grid->OnSetEditText = [this](QObject*, int c, int r, const std::string& v) { cells[{c, r}] = v; };
        grid->OnCancelEdit = [this](QObject*) { ++cancels; };
        grid->OnEditChange = [this](QObject*) { ++changes; };
        cells[{1, 1}] = "old";
        Activate(window);
        grid->setFocus();
    }
    TRxInplaceEdit& Editor() const { return *grid->InplaceEditor(); }
};

} // namespace

TEST(RxDrawGridEditing, F2EditsTheCellAndEnterStoresIt)
{
    EditGrid g;
    Key(*g.grid, Qt::Key_F2);
    ASSERT_TRUE(g.grid->EditorMode());
    EXPECT_EQ(g.Editor().text(), "old");
    EXPECT_EQ(g.Editor().geometry(), g.grid->CellRect(1, 1));
    Key(g.Editor(), Qt::Key_End);
    Type(g.Editor(), "er");
    EXPECT_EQ(g.changes, 2);
    Key(g.Editor(), Qt::Key_Return);
    EXPECT_FALSE(g.grid->EditorMode());
    EXPECT_EQ(g.cells[std::make_pair(1, 1)], "older");

    // Typing on the grid starts an edit with the typed character.
    Type(*g.grid, "x");
    ASSERT_TRUE(g.grid->EditorMode());
    EXPECT_EQ(g.Editor().text(), "x");
    Key(g.Editor(), Qt::Key_Down);
    EXPECT_EQ(g.grid->Row(), 2) << "an arrow key moves on";
    EXPECT_EQ(g.cells[std::make_pair(1, 1)], "x") << "and keeps the text";
    EXPECT_FALSE(g.grid->EditorMode());
}

// The character typed on the grid is the edit's first, whole, whatever its
// length in UTF-8; an owner that changes the key puts its key in.
TEST(RxDrawGridEditing, TypingStartsTheEditWithTheWholeCharacter)
{
    const std::pair<QString, QString> rows[] = {
        {QStringLiteral("x"), QStringLiteral("x")},
        {QString::fromUtf8(u8"\u00E9"), QString::fromUtf8(u8"\u00E9")},
        {QString::fromUtf8(u8"\u0436"), QString::fromUtf8(u8"\u0436")},
        {QString::fromUtf8(u8"\u4F60"), QString::fromUtf8(u8"\u4F60")},
        {QString::fromUtf8(u8"\U0001F600"), QString::fromUtf8(u8"\U0001F600")}, // two UTF-16 units
        {QStringLiteral("a"), QStringLiteral("A")},
    };
    for (const auto& [typed, shown] : rows) {
        EditGrid g;
        g.grid->OnAcceptEditKey = [](QObject*, char& key) {
            if (key == 'a')
                key = 'A';
        };
        Key(*g.grid, 0, Qt::NoModifier, typed);
        ASSERT_TRUE(g.grid->EditorMode()) << typed.toStdString();
        EXPECT_EQ(g.Editor().text(), shown) << typed.toStdString();
    }
}

TEST(RxDrawGridEditing, OwnerDecidesWhatIsEdited)
{
    EditGrid g;
    g.grid->OnShowEditor = [](QObject*, int col, int, bool& allow) { allow = col != 1; };
    Key(*g.grid, Qt::Key_F2);
    EXPECT_FALSE(g.grid->EditorMode());
    g.grid->SetCol(2);
    g.grid->OnGetEditLimit = [](QObject*, int& limit) { limit = 3; };
    g.grid->OnGetEditAlign = [](QObject*, int, int, TAlignment& a) { a = taRightJustify; };
    g.grid->OnAcceptEditKey = [](QObject*, char& key) {
        if (key >= '0' && key <= '9')
            key = '\0';
    };
    Key(*g.grid, Qt::Key_F2);
    ASSERT_TRUE(g.grid->EditorMode());
    EXPECT_EQ(g.Editor().maxLength(), 3);
    EXPECT_EQ(g.Editor().Alignment(), taRightJustify);
    Type(g.Editor(), "a1b2cd");
    EXPECT_EQ(g.Editor().text(), "abc") << "digits rejected, three characters at most";
    Key(g.Editor(), Qt::Key_Escape);
    ASSERT_FALSE(g.grid->EditorMode());
    Type(*g.grid, "7");
    EXPECT_FALSE(g.grid->EditorMode()) << "a rejected key does not start an edit either";
    Type(*g.grid, "q");
    EXPECT_TRUE(g.grid->EditorMode());
}

TEST(RxDrawGridEditing, EscapeCancels)
{
    EditGrid g;
    Key(*g.grid, Qt::Key_F2);
    Type(g.Editor(), "new");
    Key(g.Editor(), Qt::Key_Escape, Qt::ControlModifier);
    EXPECT_TRUE(g.grid->EditorMode()) << "Ctrl+Escape is not a cancel";
    EXPECT_EQ(g.cancels, 0);
    Key(g.Editor(), Qt::Key_Escape);
    EXPECT_FALSE(g.grid->EditorMode());
    EXPECT_EQ(g.cancels, 1);
    EXPECT_EQ(g.cells[std::make_pair(1, 1)], "old") << "the cell keeps its text";

    g.grid->SetOptions(g.grid->Options() | goAlwaysShowEditor);
    Key(*g.grid, Qt::Key_F2);
    Key(g.Editor(), Qt::Key_Escape);
    EXPECT_TRUE(g.grid->EditorMode()) << "an always-shown editor stays";
    EXPECT_EQ(g.cancels, 1);
    Key(g.Editor(), Qt::Key_Down);
    EXPECT_TRUE(g.grid->EditorMode()) << "and follows the current cell";
    EXPECT_EQ(g.Editor().geometry(), g.grid->CellRect(1, 2));
}

TEST(RxDrawGridEditing, EllipsisButton)
{
    const TEllipsisDots narrow = EllipsisDots(100, 17, false);
    EXPECT_EQ(narrow.size, 2);
    EXPECT_EQ(narrow.left, 103);
    EXPECT_EQ(EllipsisDots(100, 17, true).left, 104);
    EXPECT_EQ(EllipsisDots(0, 40, false).size, 3);
    EXPECT_EQ(EllipsisDots(0, 12, false).size, 1);

    EditGrid g;
    int clicks = 0;
    g.grid->OnGetEditStyle = [](QObject*, int, int, TInplaceEditStyle& s) { s = ieEllipsis; };
    g.grid->OnEditButtonClick = [&](QObject* sender) { clicks += sender == g.grid; };
    Key(*g.grid, Qt::Key_F2);
    const QRect button = g.Editor().ButtonRect();
    ASSERT_FALSE(button.isEmpty());
    EXPECT_EQ(button.right(), g.Editor().width() - 1);
    Click(g.Editor(), button.center());
    EXPECT_EQ(clicks, 1);
    MousePress(g.Editor(), button.center());
    MouseMove(g.Editor(), QPoint(2, 2));
    MouseRelease(g.Editor(), QPoint(2, 2));
    EXPECT_EQ(clicks, 1) << "released off the button";
    Key(g.Editor(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(clicks, 2);
}

TEST(RxDrawGridEditing, PickListWithIncrementalSearch)
{
    EditGrid g;
    g.grid->OnGetEditStyle = [](QObject*, int, int, TInplaceEditStyle& s) { s = iePickList; };
    g.grid->OnGetPicklist = [](QObject*, int, int, TStrings& list) {
        for (int i = 0; i < 20; ++i)
            list.Add((i % 2 ? "b" : "a") + std::string(1, char('a' + i)) + "-item");
    };
    Key(*g.grid, Qt::Key_F2);
    Key(g.Editor(), Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(g.Editor().ListVisible());
    TPopupListbox& list = *g.Editor().PickList();
    EXPECT_TRUE(list.isVisible());
    EXPECT_EQ(list.count(), 20);
    EXPECT_EQ(list.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(list.height(), 8 * std::max(11, list.sizeHintForRow(0)) + 4) << "eight rows";
    EXPECT_GE(list.geometry().top(), g.Editor().mapToGlobal(QPoint(0, g.Editor().height())).y());

    std::int64_t now = 100000;
    list.Clock = [&] { return now; };
    Type(g.Editor(), "b");
    now += 3999;
    Type(g.Editor(), "f");
    EXPECT_EQ(list.currentItem()->text(), "bf-item");
    now += 4001;
    Type(g.Editor(), "a");
    EXPECT_EQ(list.SearchText(), "a") << "a long pause starts the search again";
    EXPECT_EQ(list.currentItem()->text(), "aa-item");
    Key(g.Editor(), Qt::Key_Backspace);
    EXPECT_EQ(list.SearchText(), "");
    Type(g.Editor(), "ae");
    Key(g.Editor(), Qt::Key_Return);
    EXPECT_FALSE(g.Editor().ListVisible());
    EXPECT_EQ(g.Editor().text(), "ae-item");
    EXPECT_TRUE(g.grid->EditorMode()) << "the Enter closed only the list";

    Key(g.Editor(), Qt::Key_Up, Qt::AltModifier);
    Type(g.Editor(), "ac");
    Key(g.Editor(), Qt::Key_Escape);
    EXPECT_EQ(g.Editor().text(), "ae-item") << "Escape closes without taking the item";
    EXPECT_TRUE(g.grid->EditorMode());

    const QRect button = g.Editor().ButtonRect();
    MousePress(g.Editor(), button.center());
    EXPECT_TRUE(g.Editor().ListVisible()) << "the button opens the list";
    EXPECT_EQ(list.currentItem()->text(), "ae-item") << "on the item of the editor's text";
    MouseRelease(g.Editor(), button.center());
    EXPECT_TRUE(g.Editor().ListVisible());
    MousePress(g.Editor(), button.center());
    EXPECT_FALSE(g.Editor().ListVisible()) << "and closes it again";
}

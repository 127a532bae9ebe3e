// A language switch gives the items of combo boxes and list widgets their new
// texts in place: what the items carry besides their texts and the selection
// stay, an item the program added after those the window was built with keeps
// its text, an item taken away is not brought back, and a box keeps what the
// user typed into it.
#include "localisation/KLangEd.h"
#include "localisation/qt/KLangTool.h"
#include "localisation/qt/KMLang.h"
#include "platform/FileIO.h"
#include "tests/support/TempDir.h"

#include <QComboBox>
#include <QListWidget>

#include <gtest/gtest.h>

namespace {

// Three of each, the same items in each: a colour name carries its number.
class ListsWindow : public QWidget {
public:
    ListsWindow()
    {
        setObjectName("Lists");
        setWindowTitle("Lists");
        for (const char* name : {"Same", "Longer", "Typed"}) {
            auto* box = new QComboBox(this);
            box->setObjectName(name);
            box->setEditable(std::string_view(name) == "Typed");
            for (const auto& [colour, number] : kColours)
                box->addItem(colour, number);
            boxes.push_back(box);
        }
        for (const char* name : {"Shorter", "Selected"}) {
            auto* list = new QListWidget(this);
            list->setObjectName(name);
            list->setSelectionMode(QAbstractItemView::ExtendedSelection);
            for (const auto& [colour, number] : kColours)
                (new QListWidgetItem(colour, list))->setData(Qt::UserRole, number);
            lists.push_back(list);
        }
        auto* lang = new TKMLang(this);
        lang->setObjectName("KMLang1");
        lang->Loaded();
    }

    static constexpr std::pair<const char*, int> kColours[] = {{"Red", 1}, {"Green", 2}, {"Blue", 3}};
    std::vector<QComboBox*> boxes;
    std::vector<QListWidget*> lists;
};

std::unique_ptr<QWidget> MakeListsWindow()
{
    return std::make_unique<ListsWindow>();
}

// A control's items as the user and the program see them.
struct TItems {
    std::vector<std::string> Texts;
    std::vector<int> Numbers;
    std::vector<int> Selected;
    std::string Shown; // a box's current text
    bool operator==(const TItems&) const = default;
};

void PrintTo(const TItems& items, std::ostream* out)
{
    auto join = [out](const auto& values) {
        for (const auto& value : values)
            *out << value << " ";
    };
    *out << "texts ";
    join(items.Texts);
    *out << "numbers ";
    join(items.Numbers);
    *out << "selected ";
    join(items.Selected);
    *out << "shown \"" << items.Shown << "\"";
}

TItems ItemsOf(QComboBox& box)
{
    TItems items;
    for (int i = 0; i < box.count(); ++i) {
        items.Texts.push_back(box.itemText(i).toStdString());
        items.Numbers.push_back(box.itemData(i).toInt());
    }
    items.Selected = {box.currentIndex()};
    items.Shown = box.currentText().toStdString();
    return items;
}

TItems ItemsOf(QListWidget& list)
{
    TItems items;
    for (int i = 0; i < list.count(); ++i) {
        items.Texts.push_back(list.item(i)->text().toStdString());
        items.Numbers.push_back(list.item(i)->data(Qt::UserRole).toInt());
        if (list.item(i)->isSelected())
            items.Selected.push_back(i);
    }
    return items;
}

class ListItems : public ::testing::Test {
protected:
    void SetUp() override
    {
        TLangWindowRegistry registry;
        registry.Register("Lists", MakeListsWindow);
        WriteNativeLanguage(registry, dir.path().string(), "Base");
        TkLangFileEdit dutch;
        dutch.LoadFromBytes(vx::ReadWholeFile(dir.file("Base.lng")));
        for (const char* name : {"Same", "Longer", "Typed", "Shorter", "Selected"}) {
            ASSERT_TRUE(dutch.Props().Find("Lists", std::string(name) + ".Items")) << name;
            dutch.SetString(dutch.Props().CurrentIdent(), "Rood\r\nGroen\r\nBlauw\r\n", 0);
        }
        // The editable box's own text is a property of its own; only its items are looked at here.
        dutch.DeleteString("Lists", "Typed.Text");
        dutch.SaveAs(dir.file("Nederlands.lng"));
        TKAppLanguage::Instance().SetLangDir(dir.path().string());
    }
    void TearDown() override
    {
        TKAppLanguage::Instance().SetLanguage("Native");
        TKAppLanguage::Instance().SetLangDir("");
    }

    vx::test::TempDir dir{"vellumix-list-items"};
};

TEST_F(ListItems, ItemsGetTheirTextsInPlace)
{
    ListsWindow window;
    window.show();
    QComboBox& same = *window.boxes[0];
    QComboBox& longer = *window.boxes[1];
    QComboBox& typed = *window.boxes[2];
    QListWidget& shorter = *window.lists[0];
    QListWidget& selected = *window.lists[1];
    // What the program and the user did before the switch.
    same.setCurrentIndex(2);
    longer.addItem("$00FF8000", 0xFF8000);
    longer.setCurrentIndex(3);
    typed.setCurrentIndex(1);
    typed.setEditText("my own colour");
    delete shorter.takeItem(2);
    selected.item(0)->setSelected(true);
    selected.item(2)->setSelected(true);

    const struct {
        const char* language;
        std::function<TItems()> items;
        TItems shown;
    } cases[] = {
        {"Nederlands", [&] { return ItemsOf(same); }, {{"Rood", "Groen", "Blauw"}, {1, 2, 3}, {2}, "Blauw"}},
        {"Native", [&] { return ItemsOf(same); }, {{"Red", "Green", "Blue"}, {1, 2, 3}, {2}, "Blue"}},
        {"Nederlands", [&] { return ItemsOf(longer); },
         {{"Rood", "Groen", "Blauw", "$00FF8000"}, {1, 2, 3, 0xFF8000}, {3}, "$00FF8000"}},
        {"Native", [&] { return ItemsOf(longer); },
         {{"Red", "Green", "Blue", "$00FF8000"}, {1, 2, 3, 0xFF8000}, {3}, "$00FF8000"}},
        {"Nederlands", [&] { return ItemsOf(typed); }, {{"Rood", "Groen", "Blauw"}, {1, 2, 3}, {1}, "my own colour"}},
        {"Native", [&] { return ItemsOf(typed); }, {{"Red", "Green", "Blue"}, {1, 2, 3}, {1}, "my own colour"}},
        {"Nederlands", [&] { return ItemsOf(shorter); }, {{"Rood", "Groen"}, {1, 2}, {}, ""}},
        {"Native", [&] { return ItemsOf(shorter); }, {{"Red", "Green"}, {1, 2}, {}, ""}},
        {"Nederlands", [&] { return ItemsOf(selected); }, {{"Rood", "Groen", "Blauw"}, {1, 2, 3}, {0, 2}, ""}},
        {"Native", [&] { return ItemsOf(selected); }, {{"Red", "Green", "Blue"}, {1, 2, 3}, {0, 2}, ""}},
    };
    for (const auto& c : cases) {
        TKAppLanguage::Instance().SetLanguage(c.language);
        EXPECT_EQ(c.items(), c.shown) << c.language;
    }
}

} // namespace

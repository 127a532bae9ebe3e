// The flat combo box: items and events, the painted frame and button, the
// arrow by state, the focus strip, and the edit child's size.
#include "controls/common/SysColors.h"
#include "controls/flat/TFlatComboBoxUnit.h"
#include "tests/controls/FlatTestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>

#include <gtest/gtest.h>

using namespace vx;
using namespace vx::test;

namespace {

struct ComboWindow {
    QWidget window;
    TFlatComboBox* combo;
    QLineEdit* plain;
    int clicks = 0;
    int changes = 0;

    ComboWindow()
    {
        window.resize(300, 100);
        combo = new TFlatComboBox(&window);
        combo->resize(120, 21);
        plain = new QLineEdit(&window);
        plain->move(0, 50);
        combo->OnClick = [this](QObject*) { ++clicks; };
        combo->OnChange = [this](QObject*) { ++changes; };
        for (const char* s : {"red", "green", "blue"})
            combo->Items().Add(s);
        Activate(window);
        plain->setFocus();
    }

    // Top-left corner the arrow is drawn from.
    QPoint ArrowAnchor() const
    {
        QRect b = combo->ButtonRect();
        return QPoint(b.left() + b.width() / 2 - 6, b.top() + b.height() / 2 - 1);
    }
};

} // namespace

TEST(FlatComboBox, Defaults)
{
    TFlatComboBox c;
    EXPECT_EQ(c.ColorArrow(), 0u);
    EXPECT_EQ(c.ColorArrowBackground(), 0x00C5D6D9u);
    EXPECT_EQ(c.ColorBorder(), 0x008396A0u);
    EXPECT_EQ(c.AdvColorBorder(), 50);
    EXPECT_EQ(c.AdvColorArrowBackground(), 10);
    EXPECT_EQ(c.Color(), clWindow);
    EXPECT_FALSE(c.ParentColor());
    EXPECT_EQ(c.DropDownCount(), 8);
    EXPECT_EQ(c.ItemHeight(), 13);
    EXPECT_EQ(c.Style(), TComboBoxStyle::csDropDown);
    EXPECT_EQ(c.ItemIndex(), -1);
}

TEST(FlatComboBox, ItemsAndIndex)
{
    ComboWindow w;
    EXPECT_EQ(w.combo->count(), 3);
    w.combo->SetItemIndex(1);
    EXPECT_EQ(w.combo->Text(), "green");
    w.combo->Items().Add("cyan");
    EXPECT_EQ(w.combo->ItemIndex(), 1);
    w.combo->SetItemIndex(9);
    EXPECT_EQ(w.combo->ItemIndex(), -1);
    w.combo->Items().Clear();
    EXPECT_EQ(w.combo->count(), 0);
    EXPECT_EQ(w.combo->ItemIndex(), -1);
    // Programmatic changes fire nothing.
    EXPECT_EQ(w.clicks, 0);
    EXPECT_EQ(w.changes, 0);

    w.combo->SetSorted(true);
    for (const char* s : {"\xC3\x89ta", "b\xC3\xA9ta", "alpha", "Gamma", "\xC3\xA9psilon"})
        w.combo->Items().Add(s);
    // Without regard to case, letters outside ASCII included: épsilon before Éta.
    const QStringList sorted = {"alpha", QString::fromUtf8(u8"b\u00E9ta"), "Gamma", QString::fromUtf8(u8"\u00E9psilon"),
                                QString::fromUtf8(u8"\u00C9ta")};
    for (int i = 0; i < sorted.size(); ++i)
        EXPECT_EQ(w.combo->itemText(i), sorted[i]) << i;
}

TEST(FlatComboBox, UserChoiceFiresClickThenChange)
{
    ComboWindow w;
    std::string order;
    w.combo->OnClick = [&](QObject*) { order += "click "; };
    w.combo->OnChange = [&](QObject* s) {
        EXPECT_EQ(s, w.combo);
        order += "change";
    };
    w.combo->setCurrentIndex(1);
    order.clear();
    // The user steps to the next item with the keyboard.
    KeyDown(*w.combo, Qt::Key_Down);
    EXPECT_EQ(w.combo->currentIndex(), 2);
    EXPECT_EQ(order, "click change");
}

TEST(FlatComboBox, TypingInTheEditFiresChange)
{
    ComboWindow w;
    ASSERT_NE(w.combo->lineEdit(), nullptr);
    w.combo->lineEdit()->setFocus();
    KeyPress(*w.combo->lineEdit(), Qt::Key_Z, "z");
    EXPECT_EQ(w.combo->Text(), "z");
    EXPECT_EQ(w.changes, 1);
    EXPECT_TRUE(w.combo->Active());
    w.plain->setFocus();
    EXPECT_FALSE(w.combo->Active());

    w.combo->SetText("typed");
    EXPECT_EQ(w.combo->Text(), "typed");
    EXPECT_EQ(w.changes, 1);
    w.combo->SetMaxLength(3);
    EXPECT_EQ(w.combo->lineEdit()->maxLength(), 3);
}

TEST(FlatComboBox, ListStyleShowsOnlyItems)
{
    ComboWindow w;
    w.combo->SetStyle(TComboBoxStyle::csDropDownList);
    EXPECT_EQ(w.combo->lineEdit(), nullptr);
    w.combo->SetText("blue");
    EXPECT_EQ(w.combo->ItemIndex(), 2);
    w.combo->SetText("mauve");
    EXPECT_EQ(w.combo->ItemIndex(), -1);
}

TEST(FlatComboBox, FrameButtonAndArrow)
{
    ComboWindow w;
    w.combo->SetStyle(TComboBoxStyle::csDropDownList);
    w.combo->SetColor(0x00F0F0F0);
    w.combo->SetColorArrow(clNavy);
    QImage img = Render(*w.combo);
    const int right = w.combo->width();
    EXPECT_EQ(PixelAt(img, 0, 0), 0x008396A0u);
    EXPECT_EQ(PixelAt(img, 1, 1), 0x00F0F0F0u);
    EXPECT_EQ(PixelAt(img, 2, 10), 0x00F0F0F0u);
    EXPECT_EQ(PixelAt(img, right - 13, 5), 0x008396A0u);
    EXPECT_EQ(PixelAt(img, right - 1, 5), 0x008396A0u);
    EXPECT_EQ(PixelAt(img, right - 4, 3), 0x00C5D6D9u);

    const QPoint a = w.ArrowAnchor();
    // Closed: the wide edge is on top.
    EXPECT_EQ(PixelAt(img, a.x() + 4, a.y()), clNavy);
    EXPECT_EQ(PixelAt(img, a.x() + 6, a.y() + 1), clNavy);
    EXPECT_NE(PixelAt(img, a.x() + 4, a.y() + 2), clNavy);
}

TEST(FlatComboBox, OpenListFlipsTheArrow)
{
    ComboWindow w;
    int drops = 0;
    w.combo->OnDropDown = [&](QObject*) { ++drops; };
    w.combo->showPopup();
    EXPECT_TRUE(w.combo->DroppedDown());
    EXPECT_TRUE(w.combo->Active());
    EXPECT_EQ(drops, 1);
    const QPoint a = w.ArrowAnchor();
    QImage open = Render(*w.combo);
    EXPECT_EQ(PixelAt(open, a.x() + 4, a.y() + 2), 0u);
    EXPECT_NE(PixelAt(open, a.x() + 4, a.y()), 0u);
    w.combo->hidePopup();
    EXPECT_FALSE(w.combo->DroppedDown());
    EXPECT_EQ(PixelAt(Render(*w.combo), a.x() + 4, a.y()), 0u);
}

TEST(FlatComboBox, DisabledArrowIsEngraved)
{
    ComboWindow w;
    w.combo->setEnabled(false);
    const QPoint a = w.ArrowAnchor();
    QImage img = Render(*w.combo);
    EXPECT_EQ(PixelAt(img, a.x() + 6, a.y() + 1), 0x00808080u);
    EXPECT_EQ(PixelAt(img, a.x() + 7, a.y() + 3), 0x00FFFFFFu);
}

TEST(FlatComboBox, FocusedListStyleShowsTheHighlightStrip)
{
    ComboWindow w;
    w.combo->SetStyle(TComboBoxStyle::csDropDownList);
    w.combo->SetColor(0x00F0F0F0);
    const QPoint strip(w.combo->width() - 2 - TFlatComboBox::ButtonWidth - 6, 10);
    EXPECT_EQ(PixelAt(Render(*w.combo), strip.x(), strip.y()), 0x00F0F0F0u);
    w.combo->setFocus();
    ASSERT_TRUE(w.combo->hasFocus());
    EXPECT_EQ(PixelAt(Render(*w.combo), strip.x(), strip.y()), ColorToRGB(clHighlight));
}

TEST(FlatComboBox, EditChildFollowsTheSize)
{
    ComboWindow w;
    w.combo->resize(200, 30);
    QRect g = w.combo->lineEdit()->geometry();
    EXPECT_EQ(g.width(), 200 - TFlatComboBox::ButtonWidth - 8);
    EXPECT_EQ(g.height(), 30 - 6);
}

TEST(FlatComboBox, AdvancedColoursDarkenFromTheParent)
{
    ComboWindow w;
    QPalette pal = w.window.palette();
    pal.setColor(QPalette::Window, Qt::white);
    w.window.setPalette(pal);
    w.combo->SetAdvColorBorder(60);
    w.combo->SetUseAdvColors(true);
    EXPECT_EQ(w.combo->Color(), clWhite);
    EXPECT_EQ(w.combo->ColorBorder(), 0x00CACACAu);
}

TEST(FlatComboBox, OwnerDrawnItemsAskTheirOwner)
{
    ComboWindow w;
    w.combo->SetStyle(TComboBoxStyle::csOwnerDrawFixed);
    w.combo->SetItemIndex(0);
    std::vector<int> drawn;
    w.combo->OnDrawItem = [&](QObject*, int index, const QRect& r, int state, QPainter& canvas) {
        drawn.push_back(index);
        EXPECT_TRUE(state & odComboBoxEdit);
        canvas.fillRect(r, Qt::red);
    };
    QImage img = Render(*w.combo);
    EXPECT_EQ(drawn, std::vector<int>{0});
    EXPECT_EQ(PixelAt(img, 10, 10), clRed);
}

// The flat edit and memo: colours and their parent, active state by focus and
// hover, the painted frame, the edit's height and the memo's lines.
#include "controls/common/SysColors.h"
#include "controls/flat/TFlatEditUnit.h"
#include "controls/flat/TFlatMemoUnit.h"
#include "tests/controls/FlatTestSupport.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>

#include <gtest/gtest.h>

using namespace vx;
using namespace vx::test;

namespace {

void SetBackground(QWidget& w, TColor c)
{
    QPalette pal = w.palette();
    pal.setColor(QPalette::Window, ToQColor(c));
    w.setPalette(pal);
}

// A window with two flat edits, a flat memo and a plain edit.
struct EditWindow {
    QWidget window;
    TFlatEdit* edit1;
    TFlatEdit* edit2;
    TFlatMemo* memo;
    QLineEdit* plain;

    EditWindow()
    {
        window.resize(400, 300);
        edit1 = new TFlatEdit(&window);
        edit2 = new TFlatEdit(&window);
        edit2->move(0, 40);
        memo = new TFlatMemo(&window);
        memo->move(0, 80);
        plain = new QLineEdit(&window);
        plain->move(200, 0);
        for (TFlatEdit* e : {edit1, edit2})
            e->SetColorFlat(0x00E1EAEB);
        memo->SetColorFlat(0x00E1EAEB);
        Activate(window);
        plain->setFocus();
    }
};

} // namespace

TEST(FlatEdit, Defaults)
{
    TFlatEdit e;
    EXPECT_EQ(e.size(), QSize(121, 19));
    EXPECT_EQ(e.ColorFocused(), 0x00FFFFFFu);
    EXPECT_EQ(e.ColorBorder(), 0x008396A0u);
    EXPECT_EQ(e.ColorFlat(), 0x00E1EAEBu);
    EXPECT_TRUE(e.ParentColor());
    EXPECT_EQ(e.AdvColorFocused(), 10);
    EXPECT_EQ(e.AdvColorBorder(), 50);
    EXPECT_FALSE(e.UseAdvColors());
    TFlatMemo m;
    EXPECT_EQ(m.size(), QSize(185, 89));
    EXPECT_TRUE(m.WantReturns());
    EXPECT_FALSE(m.WantTabs());
    EXPECT_TRUE(m.WordWrap());
    EXPECT_EQ(m.ScrollBars(), TScrollStyle::ssNone);
}

TEST(FlatEdit, ParentColourFollowsUntilColorFlatIsSet)
{
    QWidget parent;
    SetBackground(parent, 0x00102030);
    TFlatEdit e(&parent);
    EXPECT_EQ(e.ColorFlat(), 0x00102030u);

    SetBackground(parent, 0x00405060);
    EXPECT_EQ(e.ColorFlat(), 0x00405060u);

    e.SetColorFlat(clWhite);
    EXPECT_FALSE(e.ParentColor());
    SetBackground(parent, 0x00708090);
    EXPECT_EQ(e.ColorFlat(), clWhite);

    e.SetParentColor(true);
    EXPECT_EQ(e.ColorFlat(), 0x00708090u);
}

TEST(FlatEdit, AdvancedColoursDeriveFromTheParent)
{
    QWidget parent;
    SetBackground(parent, clWhite);
    TFlatMemo m(&parent);
    m.SetColorFlat(0x00123456);
    m.SetAdvColorBorder(60);
    m.SetUseAdvColors(true);
    EXPECT_TRUE(m.ParentColor());
    EXPECT_EQ(m.ColorFlat(), clWhite);
    // Lightening stops at 100 of the 240 steps of lightness.
    EXPECT_EQ(m.ColorFocused(), 0x006A6A6Au);
    EXPECT_EQ(m.ColorBorder(), 0x00CACACAu);

    SetBackground(parent, clBlack);
    EXPECT_EQ(m.ColorFlat(), clBlack);
    EXPECT_EQ(m.ColorBorder(), clBlack);
    m.SetAdvColorBorder(500);
    EXPECT_EQ(m.AdvColorBorder(), 100);
}

TEST(FlatEdit, FocusLightsTheFrame)
{
    EditWindow w;
    QImage idle = Render(*w.edit1);
    EXPECT_EQ(PixelAt(idle, 0, 0), 0x008396A0u);
    EXPECT_EQ(PixelAt(idle, 1, 1), 0x00E1EAEBu);
    EXPECT_EQ(PixelAt(idle, 2, 5), 0x00E1EAEBu);

    w.edit1->setFocus();
    ASSERT_TRUE(w.edit1->hasFocus());
    EXPECT_TRUE(w.edit1->IsActive());
    EXPECT_EQ(w.edit1->Color(), 0x00FFFFFFu);
    QImage active = Render(*w.edit1);
    EXPECT_EQ(PixelAt(active, 0, 0), 0x008396A0u);
    EXPECT_EQ(PixelAt(active, 1, 1), 0x00FFFFFFu);
    EXPECT_EQ(PixelAt(active, 2, 5), 0x00FFFFFFu);

    w.plain->setFocus();
    EXPECT_FALSE(w.edit1->IsActive());
    EXPECT_EQ(PixelAt(Render(*w.edit1), 1, 1), 0x00E1EAEBu);
}

TEST(FlatEdit, HoverLightsOnlyWhileNoFlatEditHasTheFocus)
{
    EditWindow w;
    w.plain->setFocus();
    MouseEnter(*w.edit2);
    EXPECT_TRUE(w.edit2->MouseInControl());
    EXPECT_TRUE(w.edit2->IsActive());
    EXPECT_EQ(PixelAt(Render(*w.edit2), 1, 1), 0x00FFFFFFu);
    MouseLeave(*w.edit2);
    EXPECT_FALSE(w.edit2->IsActive());

    w.edit1->setFocus();
    MouseEnter(*w.edit2);
    EXPECT_TRUE(w.edit2->MouseInControl());
    EXPECT_FALSE(w.edit2->IsActive());
    EXPECT_EQ(PixelAt(Render(*w.edit2), 1, 1), 0x00E1EAEBu);

    // A focused flat edit does not stop a memo lighting up.
    MouseEnter(*w.memo);
    EXPECT_TRUE(w.memo->IsActive());
}

TEST(FlatEdit, HeightFollowsTheFont)
{
    EditWindow w;
    EXPECT_EQ(w.edit1->height(), QFontMetrics(w.edit1->font()).height() + 6);
    QFont big = w.edit1->font();
    big.setPixelSize(30);
    w.edit1->setFont(big);
    EXPECT_EQ(w.edit1->height(), QFontMetrics(big).height() + 6);
    EXPECT_EQ(w.edit1->width(), 121);
}

TEST(FlatEdit, TextChangeAndCharCase)
{
    EditWindow w;
    int changes = 0;
    w.edit1->OnChange = [&](QObject* sender) {
        EXPECT_EQ(sender, w.edit1);
        ++changes;
    };
    w.edit1->SetText("caf\xC3\xA9 \xC3\x9F");
    EXPECT_EQ(w.edit1->Text(), "caf\xC3\xA9 \xC3\x9F");
    EXPECT_EQ(changes, 1);

    w.edit1->SetCharCase(TEditCharCase::ecUpperCase);
    EXPECT_EQ(w.edit1->text(), QString::fromUtf8(u8"CAF\u00C9 \u00DF"));
    w.edit1->setFocus();
    w.edit1->end(false);
    KeyPress(*w.edit1, Qt::Key_X, "x");
    KeyPress(*w.edit1, 0, QString::fromUtf8(u8"\u0436"));
    EXPECT_EQ(w.edit1->text(), QString::fromUtf8(u8"CAF\u00C9 \u00DFX\u0416"));
    w.edit1->SetCharCase(TEditCharCase::ecLowerCase);
    EXPECT_EQ(w.edit1->text(), QString::fromUtf8(u8"caf\u00E9 \u00DFx\u0436"));
    w.edit1->SetCharCase(TEditCharCase::ecUpperCase);

    w.edit1->SetMaxLength(3);
    EXPECT_EQ(w.edit1->Text(), "CAF");
    w.edit1->SetMaxLength(0);
    w.edit1->SetText(std::string(40000, 'a'));
    EXPECT_EQ(w.edit1->Text().size(), 40000u);
}

TEST(FlatMemo, LinesAndTextStayInStep)
{
    EditWindow w;
    int changes = 0;
    w.memo->OnChange = [&](QObject*) { ++changes; };
    w.memo->Lines().Add("<meta name=\"a\">");
    w.memo->Lines().Add("second");
    EXPECT_EQ(w.memo->Text(), "<meta name=\"a\">\nsecond");
    EXPECT_EQ(changes, 2);

    w.memo->SetText("one\r\ntwo\r\n");
    ASSERT_EQ(w.memo->Lines().Count(), 2);
    EXPECT_EQ(w.memo->Lines()[1], "two");

    w.memo->setFocus();
    w.memo->moveCursor(QTextCursor::End);
    KeyPress(*w.memo, Qt::Key_X, "x");
    ASSERT_EQ(w.memo->Lines().Count(), 3);
    EXPECT_EQ(w.memo->Lines()[2], "x");

    w.memo->Lines().Clear();
    EXPECT_EQ(w.memo->Text(), "");
}

TEST(FlatMemo, KeysAndLimits)
{
    EditWindow w;
    w.memo->setFocus();
    w.memo->SetWantReturns(false);
    KeyPress(*w.memo, Qt::Key_A, "a");
    KeyPress(*w.memo, Qt::Key_Return, "\r");
    EXPECT_EQ(w.memo->Lines().Count(), 1);
    w.memo->SetWantReturns(true);
    KeyPress(*w.memo, Qt::Key_Return, "\r");
    KeyPress(*w.memo, Qt::Key_B, "b");
    EXPECT_EQ(w.memo->Lines().Count(), 2);

    w.memo->SetMaxLength(4);
    KeyPress(*w.memo, Qt::Key_C, "c");
    KeyPress(*w.memo, Qt::Key_D, "d");
    EXPECT_EQ(w.memo->Text(), "a\nbc");

    EXPECT_TRUE(w.memo->tabChangesFocus());
    w.memo->SetWantTabs(true);
    EXPECT_FALSE(w.memo->tabChangesFocus());
}

TEST(FlatMemo, BothScrollBarsGetTheCornerInTheInnerColour)
{
    EditWindow w;
    w.memo->SetScrollBars(TScrollStyle::ssBoth);
    QApplication::processEvents();
    QImage both = Render(*w.memo);
    const int x = w.memo->width() - 8, y = w.memo->height() - 8;
    EXPECT_EQ(PixelAt(both, x, y), 0x00E1EAEBu);
    EXPECT_EQ(PixelAt(both, 0, 0), 0x008396A0u);

    w.memo->setFocus();
    EXPECT_EQ(PixelAt(Render(*w.memo), x, y), 0x00FFFFFFu);
}

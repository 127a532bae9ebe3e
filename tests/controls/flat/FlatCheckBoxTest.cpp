// The flat check box: toggling by click, release outside and Space, the
// square's colour by state, the tick, and the class-wide hover tracking.
#include "controls/common/SysColors.h"
#include "controls/flat/TFlatCheckBoxUnit.h"
#include "tests/controls/FlatTestSupport.h"

#include <QApplication>
#include <QCursor>
#include <QShortcutEvent>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <memory>

using namespace vx;
using namespace vx::test;

namespace {

constexpr TColor kFace = 0x00D0D0D0;

struct CheckWindow {
    QWidget window;
    TFlatCheckBox* box1;
    TFlatCheckBox* box2;
    QLineEdit* plain;
    int clicks = 0;

    CheckWindow()
    {
        QPalette pal = window.palette();
        pal.setColor(QPalette::Window, ToQColor(kFace));
        window.setPalette(pal);
        window.resize(300, 100);
        plain = new QLineEdit(&window);
        plain->move(0, 60);
        box1 = new TFlatCheckBox(&window);
        box1->SetCaption("&Bold");
        box2 = new TFlatCheckBox(&window);
        box2->move(0, 20);
        box1->OnClick = [this](QObject*) { ++clicks; };
        Activate(window);
        plain->setFocus();
    }
};

// A point inside the square but off the tick.
const QPoint kInSquare(3, 5);

} // namespace

TEST(FlatCheckBox, Defaults)
{
    CheckWindow w;
    EXPECT_EQ(w.box1->size(), QSize(121, 17));
    EXPECT_FALSE(w.box1->Checked());
    EXPECT_EQ(w.box1->Layout(), TCheckBoxLayout::checkboxLeft);
    EXPECT_EQ(w.box1->ColorFocused(), 0x00FFFFFFu);
    EXPECT_EQ(w.box1->ColorDown(), 0x00C5D6D9u);
    EXPECT_EQ(w.box1->ColorCheck(), 0u);
    EXPECT_EQ(w.box1->ColorBorder(), 0x008396A0u);
    EXPECT_TRUE(w.box1->ParentColor());
    EXPECT_EQ(w.box1->Color(), kFace);
    EXPECT_EQ(w.box1->focusPolicy(), Qt::StrongFocus);
}

TEST(FlatCheckBox, ClickTogglesAndFiresOnce)
{
    CheckWindow w;
    Click(*w.box1, QPoint(50, 8));
    EXPECT_TRUE(w.box1->Checked());
    EXPECT_EQ(w.clicks, 1);
    EXPECT_TRUE(w.box1->hasFocus());
    Click(*w.box1, QPoint(5, 8));
    EXPECT_FALSE(w.box1->Checked());
    EXPECT_EQ(w.clicks, 2);
}

TEST(FlatCheckBox, ReleaseOutsideLeavesItAlone)
{
    CheckWindow w;
    MousePress(*w.box1, QPoint(5, 8));
    EXPECT_TRUE(w.box1->MouseDown());
    MouseMove(*w.box1, QPoint(200, 40));
    MouseRelease(*w.box1, QPoint(200, 40));
    EXPECT_FALSE(w.box1->Checked());
    EXPECT_FALSE(w.box1->MouseDown());
    EXPECT_FALSE(w.box1->MouseInControl());
    EXPECT_EQ(w.clicks, 0);
}

TEST(FlatCheckBox, SpaceTogglesTheFocusedBox)
{
    CheckWindow w;
    w.box1->setFocus();
    KeyPress(*w.box1, Qt::Key_Space, " ");
    EXPECT_TRUE(w.box1->Checked());
    KeyPress(*w.box1, Qt::Key_Space, " ");
    EXPECT_FALSE(w.box1->Checked());
    EXPECT_EQ(w.clicks, 2);
}

TEST(FlatCheckBox, CheckedSetterFiresOnlyOnChange)
{
    CheckWindow w;
    w.box1->SetChecked(true);
    w.box1->SetChecked(true);
    EXPECT_EQ(w.clicks, 1);
}

TEST(FlatCheckBox, DisabledBoxIgnoresTheMouseAndDrawsAGreyTick)
{
    CheckWindow w;
    w.box1->SetChecked(true);
    const QPoint tick(1 + 2, 3 + 4);
    EXPECT_EQ(PixelAt(Render(*w.box1), tick.x(), tick.y()), 0u);
    // The tick's lines stop short of their end points.
    EXPECT_EQ(PixelAt(Render(*w.box1), 1 + 6, 3 + 8), kFace);

    w.box1->setEnabled(false);
    Click(*w.box1, QPoint(5, 8));
    EXPECT_TRUE(w.box1->Checked());
    EXPECT_EQ(PixelAt(Render(*w.box1), tick.x(), tick.y()), ColorToRGB(clBtnShadow));
}

TEST(FlatCheckBox, SquareColourFollowsTheState)
{
    CheckWindow w;
    QImage idle = Render(*w.box1);
    EXPECT_EQ(PixelAt(idle, 1, 3), 0x008396A0u);
    EXPECT_EQ(PixelAt(idle, 11, 13), 0x008396A0u);
    EXPECT_EQ(PixelAt(idle, kInSquare.x(), kInSquare.y()), kFace);

    MouseMove(*w.box1, QPoint(5, 8));
    EXPECT_TRUE(w.box1->MouseInControl());
    EXPECT_EQ(PixelAt(Render(*w.box1), kInSquare.x(), kInSquare.y()), 0x00FFFFFFu);

    MousePress(*w.box1, QPoint(5, 8));
    EXPECT_EQ(PixelAt(Render(*w.box1), kInSquare.x(), kInSquare.y()), 0x00C5D6D9u);
    MouseRelease(*w.box1, QPoint(5, 8));
    EXPECT_EQ(PixelAt(Render(*w.box1), kInSquare.x(), kInSquare.y()), 0x00FFFFFFu);

    w.box1->SetLayout(TCheckBoxLayout::checkboxRight);
    QImage right = Render(*w.box1);
    EXPECT_EQ(PixelAt(right, 121 - 12, 3), 0x008396A0u);
    EXPECT_EQ(PixelAt(right, 121 - 2, 13), 0x008396A0u);
}

TEST(FlatCheckBox, OneHoverOwnerPerClass)
{
    CheckWindow w;
    TFlatHoverTracker& hover = TFlatCheckBox::Hover();
    MouseMove(*w.box1, QPoint(5, 8));
    EXPECT_NE(hover.Owner(), nullptr);
    EXPECT_TRUE(hover.Running());
    EXPECT_TRUE(w.box1->MouseInControl());

    MouseMove(*w.box2, QPoint(5, 8));
    EXPECT_FALSE(w.box1->MouseInControl());
    EXPECT_TRUE(w.box2->MouseInControl());

    // A tick with the mouse far away takes the hover away.
    const QPoint cursor = QCursor::pos();
    QCursor::setPos(QPoint(5000, 5000));
    hover.Tick();
    QCursor::setPos(cursor);
    EXPECT_FALSE(w.box2->MouseInControl());
    EXPECT_FALSE(hover.Running());
    MouseLeave(*w.box2);

    MouseMove(*w.box2, QPoint(5, 8));
    EXPECT_TRUE(w.box2->MouseInControl());
    MouseLeave(*w.box2);
    EXPECT_FALSE(w.box2->MouseInControl());
}

TEST(FlatCheckBox, HoverTimerLivesWithTheInstances)
{
    TFlatHoverTracker& hover = TFlatCheckBox::Hover();
    const int before = hover.LiveCount();
    {
        auto box = std::make_unique<TFlatCheckBox>();
        EXPECT_EQ(hover.LiveCount(), before + 1);
    }
    EXPECT_EQ(hover.LiveCount(), before);
    EXPECT_FALSE(hover.Running());
}

TEST(FlatCheckBox, DisablingClearsHoverAndHeld)
{
    CheckWindow w;
    MouseMove(*w.box1, QPoint(5, 8));
    MousePress(*w.box1, QPoint(5, 8));
    w.box1->setEnabled(false);
    EXPECT_FALSE(w.box1->MouseInControl());
    EXPECT_FALSE(w.box1->MouseDown());
    EXPECT_FALSE(TFlatCheckBox::Hover().Running());
}

TEST(FlatCheckBox, AcceleratorFocusesAndToggles)
{
    CheckWindow w;
    // Widget shortcut ids count down from -1: the box's grab was the one before this probe's.
    w.box2->SetCaption("&Italic");
    QWidget probe;
    const int boxId = probe.grabShortcut(QKeySequence("Ctrl+Shift+F12")) + 1;
    QShortcutEvent e(QKeySequence("Alt+I"), boxId);
    QApplication::sendEvent(w.box2, &e);
    EXPECT_TRUE(w.box2->Checked());
    EXPECT_TRUE(w.box2->hasFocus());
    w.box2->setEnabled(false);
    QApplication::sendEvent(w.box2, &e);
    EXPECT_TRUE(w.box2->Checked());
}

// The speed bar: grid and snapping, orientation, sections and items, caption
// and hint, enabling and customisation mode, dragging and resizing the bar.
#include "editor/qt/SysColors.h"
#include "controls/speedbar/SpeedBar.h"
#include "controls/stores/AppUtils.h"
#include "platform/RegIniFile.h"
#include "tests/controls/FlatTestSupport.h"
#include "tests/platform/RegistrySandbox.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace vx;
using namespace vx::test;

namespace {

// Records what a bar tells its customisation window.
class NotifySink : public QWidget {
public:
    std::vector<TSpeedbarNotify> codes;
    std::vector<QObject*> subjects;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == TSpeedbarNotifyEvent::Type()) {
            codes.push_back(static_cast<TSpeedbarNotifyEvent*>(e)->Code());
            subjects.push_back(static_cast<TSpeedbarNotifyEvent*>(e)->Subject());
            return true;
        }
        return QWidget::event(e);
    }
};

struct BarForm {
    std::unique_ptr<QWidget> form = std::make_unique<QWidget>();
    TSpeedBar* bar;

    BarForm()
    {
        form->resize(400, 300);
        bar = new TSpeedBar(form.get());
        bar->setObjectName("SpeedBar");
    }
    TSpeedItem* Item(const char* name, int section = 0, bool visible = true)
    {
        auto* item = new TSpeedItem(form.get());
        item->setObjectName(name);
        bar->AddItem(section, item);
        item->SetVisible(visible);
        return item;
    }
};

} // namespace

TEST(SpeedBarGrid, StepDividesTheButtonSize)
{
    const std::pair<int, int> rows[] = {{24, 8}, {23, 1}, {2, 1}, {1, 1}, {9, 3}, {30, 10}, {25, 5}, {14, 7}};
    for (auto [size, step] : rows)
        EXPECT_EQ(SpeedbarGridStep(size), step) << size;
}

TEST(SpeedBarGrid, SnapRoundsHalvesToEvenAlongAndTruncatesAcross)
{
    EXPECT_EQ(SpeedbarSnap(3 + 12, 3, 8, true), 3 + 16) << "1.5 rounds to 2";
    EXPECT_EQ(SpeedbarSnap(3 + 4, 3, 8, true), 3) << "0.5 rounds to 0";
    EXPECT_EQ(SpeedbarSnap(3 + 13, 3, 8, true), 3 + 16);
    EXPECT_EQ(SpeedbarSnap(3 + 22, 3, 23, false), 3) << "across: truncated";
    EXPECT_EQ(SpeedbarSnap(3 - 7, 3, 8, false), 3) << "truncated toward zero";
    EXPECT_EQ(SpeedbarSnap(3 - 10, 3, 8, false), -5);
}

TEST(SpeedBarGrid, SideUnderPointFollowsTheDiagonals)
{
    const QSize client(400, 300);
    EXPECT_EQ(SpeedbarSideUnderPoint({200, 10}, client), alTop);
    EXPECT_EQ(SpeedbarSideUnderPoint({200, 290}, client), alBottom);
    EXPECT_EQ(SpeedbarSideUnderPoint({10, 150}, client), alLeft);
    EXPECT_EQ(SpeedbarSideUnderPoint({390, 150}, client), alRight);
}

TEST(SpeedBar, DefaultsAndMinimumOffset)
{
    BarForm f;
    EXPECT_EQ(f.bar->Align(), alTop);
    EXPECT_EQ(f.bar->Options(), unsigned(sbAllowDrag | sbGrayedBtns));
    EXPECT_EQ(f.bar->MinOffset(), 3);
    EXPECT_EQ(f.bar->BtnOffsetHorz(), 3);
    EXPECT_EQ(f.bar->height(), 2 * 3 + 23);
    EXPECT_EQ(f.bar->width(), 400) << "held against the top edge";
    EXPECT_EQ(f.bar->GridX(), 8);
    EXPECT_EQ(f.bar->GridY(), 23);

    f.bar->SetBtnOffsetHorz(1);
    EXPECT_EQ(f.bar->BtnOffsetHorz(), 3) << "raised to the minimum";
    f.bar->SetOptions(sbFlatBtns);
    EXPECT_EQ(f.bar->MinOffset(), 1);
    f.bar->SetBevelInner(bvLowered);
    f.bar->SetBorderWidth(2);
    EXPECT_EQ(f.bar->MinOffset(), 4);
    EXPECT_EQ(f.bar->BtnOffsetVert(), 4) << "the offsets grow with the frame";
}

TEST(SpeedBar, OffsetsMoveTheItems)
{
    BarForm f;
    auto* item = f.Item("A");
    item->Button()->move(11, 3);
    f.bar->SetBtnOffsetHorz(7);
    EXPECT_EQ(item->Left(), 15);
    f.bar->SetBorderWidth(3);
    EXPECT_EQ(f.bar->BtnOffsetVert(), 6);
    EXPECT_EQ(item->Top(), 6);
}

TEST(SpeedBar, AlignLeftMirrorsTheLayoutOnTheDiagonal)
{
    BarForm f;
    NotifySink sink;
    f.bar->SetEditWin(&sink);
    f.bar->SetBtnOffsetHorz(5);
    auto* item = f.Item("A");
    item->Button()->move(35, 3);
    f.bar->SetAlign(alLeft);
    EXPECT_TRUE(f.bar->Vertical());
    EXPECT_EQ(f.bar->BtnWidth(), 23);
    EXPECT_EQ(f.bar->BtnHeight(), 24);
    EXPECT_EQ(f.bar->BtnOffsetHorz(), 3);
    EXPECT_EQ(f.bar->BtnOffsetVert(), 5);
    EXPECT_EQ(f.bar->GridX(), 23);
    EXPECT_EQ(f.bar->GridY(), 8);
    EXPECT_EQ(item->Left(), 3);
    EXPECT_EQ(item->Top(), 35);
    EXPECT_EQ(item->Button()->size(), QSize(23, 24));
    EXPECT_EQ(f.bar->width(), 29) << "the thickness stays";
    EXPECT_EQ(f.bar->height(), 300);
    ASSERT_FALSE(sink.codes.empty());
    EXPECT_EQ(sink.codes.back(), sbnButtonSizeChanged);
    f.bar->SetEditWin(nullptr);
}

TEST(SpeedBar, AutoPositionRefusesNoneAndClient)
{
    BarForm f;
    for (TAlign align : {alNone, alClient}) {
        try {
            f.bar->SetAlign(align);
            ADD_FAILURE() << "no error";
        } catch (const ESpeedbarError& e) {
            EXPECT_STREQ(e.what(), "Cannot set this property value while Position is bpAuto");
        }
        EXPECT_EQ(f.bar->Align(), alTop);
    }
    f.bar->SetPosition(TBarPosition::bpCustom);
    f.bar->SetAlign(alClient);
    EXPECT_EQ(f.bar->Align(), alClient);
    f.bar->SetAlign(alLeft);
    EXPECT_FALSE(f.bar->Vertical()) << "custom position keeps the orientation";
    f.bar->SetAlign(alNone);
    EXPECT_EQ(f.bar->Align(), alNone);
}

TEST(SpeedBar, ButtonSizeRaisesTheThicknessAndResizesButtons)
{
    BarForm f;
    auto* item = f.Item("A");
    f.bar->SetBtnHeight(40);
    EXPECT_EQ(f.bar->height(), 2 * 3 + 40);
    EXPECT_EQ(item->Button()->height(), 40);
    f.bar->SetBtnWidth(30);
    EXPECT_EQ(f.bar->GridX(), 10);
    f.bar->SetBtnHeight(10);
    EXPECT_EQ(f.bar->height(), 46) << "never lowered";
}

TEST(SpeedBar, ThicknessUnderAParentLayout)
{
    QWidget form;
    auto* layout = new QVBoxLayout(&form);
    auto* bar = new TSpeedBar(&form);
    layout->addWidget(bar);
    layout->addStretch();
    form.resize(300, 200);
    form.show();
    QApplication::processEvents();
    EXPECT_EQ(bar->height(), 29);
    EXPECT_EQ(bar->width(), 300 - 2 * layout->contentsMargins().left());
    bar->SetBtnHeight(30);
    QApplication::processEvents();
    EXPECT_EQ(bar->height(), 36);
}

TEST(SpeedBarSections, CaptionsAreMadeUnique)
{
    BarForm f;
    EXPECT_EQ(f.bar->AppendSection("Edit"), 0);
    EXPECT_EQ(f.bar->AppendSection("Edit"), 1);
    EXPECT_EQ(f.bar->AppendSection("Edit"), 2);
    EXPECT_EQ(f.bar->Sections(1)->Caption(), "Edit (1)");
    EXPECT_EQ(f.bar->Sections(2)->Caption(), "Edit (2)");
    EXPECT_EQ(f.bar->SearchSection("edit"), -1) << "case-sensitive";
    EXPECT_EQ(f.bar->SearchSection("Edit (2)"), 2);
    try {
        f.bar->Sections(0)->SetCaption("Edit (1)");
        ADD_FAILURE() << "no error";
    } catch (const ESpeedbarError& e) {
        EXPECT_STREQ(e.what(), "String list does not allow duplicates");
    }
    EXPECT_EQ(f.bar->Sections(0)->Caption(), "Edit");
}

TEST(SpeedBarSections, LookupsWithBadIndicesAnswerNothing)
{
    BarForm f;
    EXPECT_EQ(f.bar->ItemsCount(0), 0);
    EXPECT_EQ(f.bar->Items(0, 0), nullptr);
    auto* item = f.Item("SaveBtn");
    EXPECT_EQ(f.bar->SectionCount(), 1) << "an item with no section gets one";
    EXPECT_EQ(f.bar->Sections(0)->Caption(), "");
    EXPECT_EQ(f.bar->ItemsCount(-1), 0);
    EXPECT_EQ(f.bar->ItemsCount(1), 0);
    EXPECT_EQ(f.bar->Items(0, 1), nullptr);
    EXPECT_EQ(f.bar->Items(0, -1), nullptr);
    EXPECT_EQ(f.bar->Items(0, 0), item);
    EXPECT_EQ(f.bar->FindItemByName("savebtn"), item) << "names match without regard to case";
    EXPECT_EQ(f.bar->FindItemByName("Other"), nullptr);
    EXPECT_EQ(item->SpeedBar(), f.bar);
    EXPECT_EQ(item->Button()->parentWidget(), f.bar);
}

TEST(SpeedBarSections, AddMoveRemoveAndDelete)
{
    BarForm f;
    f.bar->AppendSection("File");
    f.bar->AppendSection("Edit");
    auto* a = f.Item("A", 0);
    auto* b = f.Item("B", 5);
    EXPECT_EQ(b->SectionIndex(), 1) << "past the end: the last section";
    f.bar->AddItem(1, a);
    EXPECT_EQ(a->SectionIndex(), 1);
    EXPECT_EQ(f.bar->ItemsCount(0), 0);
    EXPECT_EQ(f.bar->ItemsCount(1), 2);

    f.bar->OnAddItem = [](QObject*, TSpeedItem* item) { item->SetSectionIndex(0); };
    auto* c = f.Item("C", 1);
    EXPECT_EQ(c->SectionIndex(), 0) << "OnAddItem chose the section";

    f.bar->Sections(1)->SetIndex(0);
    EXPECT_EQ(f.bar->Sections(0)->Caption(), "Edit");
    EXPECT_EQ(a->SectionIndex(), 0);
    EXPECT_EQ(c->SectionIndex(), 1);

    f.bar->RemoveSection(0);
    EXPECT_EQ(f.bar->SectionCount(), 1);
    EXPECT_EQ(a->SpeedBar(), nullptr);
    EXPECT_EQ(a->SectionIndex(), -1);
    EXPECT_EQ(a->Button()->parentWidget(), nullptr);
    EXPECT_EQ(c->SectionIndex(), 0);

    QPointer<TSpeedItem> watch(c);
    f.bar->DeleteSection(0);
    EXPECT_TRUE(watch.isNull()) << "deleting a section destroys its items";
    EXPECT_EQ(f.bar->SectionCount(), 0);
    delete a;
    delete b;
}

TEST(SpeedBarSections, SettingAnItemsSectionIndexMovesItThere)
{
    BarForm f;
    f.bar->AppendSection("File");
    f.bar->AppendSection("Edit");
    auto* a = f.Item("A", 0);
    a->SetSectionIndex(1);
    EXPECT_EQ(a->SectionIndex(), 1);
    EXPECT_EQ(f.bar->ItemsCount(0), 0);
    ASSERT_EQ(f.bar->ItemsCount(1), 1);
    EXPECT_EQ(f.bar->Items(1, 0), a);
    a->SetSectionIndex(7);
    EXPECT_EQ(a->SectionIndex(), 1) << "clamped to the last section";
    // Removing it afterwards leaves no trace in any section, so nothing is
    // destroyed twice when the sections go.
    f.bar->RemoveItem(a);
    EXPECT_EQ(f.bar->ItemsCount(0) + f.bar->ItemsCount(1), 0);
    f.bar->ClearSections();
    delete a;
}

TEST(SpeedBarSections, DestroyingAnItemOrTheBarCleansUp)
{
    BarForm f;
    f.bar->AppendSection("File");
    auto* a = f.Item("A");
    auto* b = f.Item("B");
    QPointer<TSpeedbarButton> button(a->Button());
    delete a;
    EXPECT_TRUE(button.isNull());
    EXPECT_EQ(f.bar->ItemsCount(0), 1);
    QPointer<TSpeedItem> watch(b);
    NotifySink sink;
    f.bar->SetEditWin(&sink);
    delete f.bar;
    EXPECT_TRUE(watch.isNull());
    ASSERT_FALSE(sink.codes.empty());
    EXPECT_EQ(sink.codes.back(), sbnDestroyed);
}

TEST(SpeedBarItems, AcceptDropSnapsAndTestsTheClientArea)
{
    BarForm f;
    auto* item = f.Item("A", 0, false);
    EXPECT_TRUE(f.bar->AcceptDropItem(item, 3 + 13, 10));
    EXPECT_EQ(item->Left(), 3 + 16);
    EXPECT_EQ(item->Top(), 3);
    EXPECT_TRUE(item->Visible());
    EXPECT_FALSE(f.bar->AcceptDropItem(item, 400, 10)) << "snapped to 403, past the right edge";
    EXPECT_FALSE(item->Visible());

    TSpeedItem loose(f.form.get());
    EXPECT_FALSE(f.bar->AcceptDropItem(&loose, 10, 10)) << "an item in no section";
}

TEST(SpeedBarItems, CaptionKeepsTheHintInStep)
{
    BarForm f;
    auto* item = f.Item("A");
    item->SetCaption("Save");
    item->SetHint("Save|Saves the file");
    item->SetCaption("Store");
    EXPECT_EQ(item->Hint(), "Store|Saves the file");
    item->SetHint("Other|Long");
    item->SetCaption("Again");
    EXPECT_EQ(item->Hint(), "Other|Long") << "a caption that differed from the short hint leaves it";

    auto* fresh = f.Item("B");
    fresh->SetCaption("");
    fresh->SetHint("");
    fresh->SetCaption("Open|Opens a file");
    EXPECT_EQ(fresh->Hint(), "Open|Opens a file");
    fresh->SetCaption("Go|");
    EXPECT_EQ(fresh->Hint(), "Open|Opens a file") << "caption differed from the short part";

    EXPECT_EQ(SpeedItemHintFor("Go|", "Old|Long"), "Go|Long");
    EXPECT_EQ(SpeedItemHintFor("Go", "Old"), "Go|");

    auto* named = f.Item("C");
    named->SetCaption("C");
    named->SetName("Renamed");
    EXPECT_EQ(named->Caption(), "Renamed");
}

TEST(SpeedBarItems, ButtonPropertiesAreTheButtons)
{
    BarForm f;
    auto* item = f.Item("A");
    item->SetBtnCaption("Go");
    item->SetSpacing(4);
    item->SetTag(7);
    item->SetLeft(30);
    EXPECT_EQ(item->Button()->Caption(), "Go");
    EXPECT_EQ(item->Button()->Spacing(), 4);
    EXPECT_EQ(item->Button()->property("Tag").toInt(), 7);
    EXPECT_EQ(item->Button()->x(), 30);
    item->SetTop(0);
    EXPECT_EQ(item->Top(), 3) << "a horizontal bar keeps buttons below its offset";
    EXPECT_TRUE(item->ParentFont());
    QFont font("DejaVu Sans", 15);
    item->SetFont(font);
    EXPECT_FALSE(item->ParentFont());
    item->SetParentFont(true);
    EXPECT_TRUE(item->ParentFont());

    EXPECT_TRUE(item->ParentShowHint());
    f.bar->SetShowHint(false);
    EXPECT_FALSE(item->ShowHint()) << "taken from the bar";
    item->SetShowHint(true);
    EXPECT_FALSE(item->ParentShowHint());
    EXPECT_TRUE(item->ShowHint());
    item->SetShowHint(false);
    EXPECT_FALSE(item->ShowHint());

    int clicks = 0;
    item->SetOnClick([&](QObject*) { ++clicks; });
    item->ButtonClick();
    EXPECT_EQ(clicks, 1);
}

TEST(SpeedBarItems, ImagesStandInForTheGlyph)
{
    BarForm f;
    auto* item = f.Item("A");
    QImage own(16, 16, QImage::Format_RGB32);
    own.fill(Qt::red);
    item->SetGlyph(own);
    auto images = std::make_unique<TImageList>(16, 16);
    QPixmap blue(16, 16);
    blue.fill(Qt::blue);
    images->Add(blue);
    f.bar->SetImages(images.get());
    item->SetImageIndex(1);
    EXPECT_EQ(item->Button()->Glyph(), own) << "no image 1 yet";
    images->Add(blue);
    EXPECT_EQ(item->Button()->Glyph().pixel(3, 3), qRgb(0, 0, 255)) << "the list's change reached the item";
    EXPECT_EQ(item->Glyph(), own) << "the item's own glyph is kept";
    images->Clear();
    EXPECT_EQ(item->Button()->Glyph(), own);
    images->Add(blue);
    images->Add(blue);
    images.reset();
    EXPECT_EQ(f.bar->Images(), nullptr) << "a destroyed list leaves the bar";
    EXPECT_EQ(item->Button()->Glyph(), own);
}

TEST(SpeedBarItems, EnablingVisibilityAndCustomisation)
{
    BarForm f;
    f.form->show();
    f.bar->SetOptions(sbFlatBtns | sbTransparentBtns);
    auto* item = f.Item("A");
    EXPECT_TRUE(item->Button()->isVisible());
    EXPECT_TRUE(item->Button()->Flat());
    EXPECT_TRUE(item->Button()->Transparent());
    EXPECT_FALSE(item->Button()->GrayedInactive());
    item->SetEnabled(false);
    EXPECT_FALSE(item->Button()->isEnabled());
    item->SetEnabled(true);
    f.bar->setEnabled(false);
    EXPECT_FALSE(item->Button()->isEnabled()) << "the bar's state counts";
    f.bar->setEnabled(true);
    EXPECT_TRUE(item->Button()->isEnabled());

    int visibleChanges = 0;
    f.bar->OnVisibleChanged = [&](QObject*) { ++visibleChanges; };
    f.bar->hide();
    EXPECT_TRUE(item->Button()->isHidden());
    f.bar->show();
    EXPECT_FALSE(item->Button()->isHidden());
    EXPECT_EQ(visibleChanges, 2);

    item->SetEnabled(false);
    int customized = 0;
    f.bar->OnCustomize = [&](QObject*) { ++customized; };
    NotifySink sink;
    f.bar->SetEditWin(&sink);
    EXPECT_TRUE(item->Button()->isEnabled()) << "customising enables every button";
    EXPECT_FALSE(item->Button()->Flat());
    EXPECT_EQ(customized, 0);
    f.bar->SetEditWin(nullptr);
    EXPECT_FALSE(item->Button()->isEnabled());
    EXPECT_TRUE(item->Button()->Flat());
    EXPECT_EQ(customized, 1);
}

// Through the window, as a user drags: the button hides on the first move, and
// the moves and the release that follow still end the drag.
TEST(SpeedBarItems, DraggingAButtonThroughTheWindowDropsOrHidesIt)
{
    BarForm f;
    f.form->show();
    auto* item = f.Item("A");
    item->SetLeft(3);
    NotifySink sink;
    f.bar->SetEditWin(&sink);
    TSpeedbarButton* button = item->Button();

    MousePress(*button, {5, 5});
    MouseMove(*button, {40, 5});
    EXPECT_FALSE(button->isVisible()) << "the real button hides while its image is dragged";
    MouseMove(*button, {60, 8});
    MouseRelease(*button, {80, 28});
    EXPECT_TRUE(item->Visible());
    EXPECT_TRUE(button->isVisible()) << "an item shown on the bar shows its button";
    EXPECT_EQ(item->Left(), 59);
    ASSERT_FALSE(sink.codes.empty());
    EXPECT_EQ(sink.codes.back(), sbnButtonDropped);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    for (QWidget* top : QApplication::topLevelWidgets())
        EXPECT_FALSE(dynamic_cast<TBtnControl*>(top) && top->isVisible()) << "no floating image stays";

    sink.codes.clear();
    MousePress(*button, {5, 5});
    MouseMove(*button, {6, 40});
    MouseRelease(*button, {5, 200});
    EXPECT_FALSE(item->Visible()) << "dropped below the bar";
    EXPECT_FALSE(button->isVisible());
    ASSERT_FALSE(sink.codes.empty());
    EXPECT_EQ(sink.codes.back(), sbnChanged);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    f.bar->SetEditWin(nullptr);
}

TEST(SpeedBarItems, AnItemTakenOffItsBarDuringADragEndsTheDrag)
{
    BarForm f;
    f.form->show();
    auto* item = f.Item("A");
    NotifySink sink;
    f.bar->SetEditWin(&sink);
    TSpeedbarButton* button = item->Button();
    MousePress(*button, {5, 5});
    MouseMove(*button, {40, 5});
    ASSERT_EQ(QWidget::mouseGrabber(), f.bar);
    f.bar->RemoveItem(item);
    MouseMove(*f.bar, {60, 5});
    MouseRelease(*f.bar, {60, 5});
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_EQ(item->SpeedBar(), nullptr);
    for (QWidget* top : QApplication::topLevelWidgets())
        EXPECT_FALSE(dynamic_cast<TBtnControl*>(top) && top->isVisible()) << "no floating image stays";
    f.bar->SetEditWin(nullptr);
    delete item;
}

TEST(SpeedBarDrag, FiveMovedPixelsStartADragToAnotherEdge)
{
    BarForm f;
    f.form->show();
    Activate(*f.form);
    int moved = 0;
    f.bar->OnPosChanged = [&](QObject*) { ++moved; };
    MousePress(*f.bar, {100, 10});
    MouseMove(*f.bar, {104, 14});
    MouseRelease(*f.bar, {104, 14});
    EXPECT_EQ(moved, 0) << "4 pixels do not start a drag";

    std::vector<TAlign> asked;
    f.bar->OnApplyAlign = [&](QObject*, TAlign align, bool& apply) {
        asked.push_back(align);
        apply = align != alRight;
    };
    MousePress(*f.bar, {100, 10});
    MouseMove(*f.bar, {105, 10});
    MouseMove(*f.bar, {390 - f.bar->x(), 150});
    EXPECT_EQ(asked.back(), alRight);
    MouseRelease(*f.bar, {10, 150});
    EXPECT_EQ(f.bar->Align(), alLeft);
    EXPECT_EQ(moved, 1);
    EXPECT_TRUE(f.bar->Vertical());
    EXPECT_EQ(f.bar->geometry(), QRect(0, 0, 29, 300));

    MousePress(*f.bar, {10, 100});
    MouseMove(*f.bar, {10, 106});
    MouseRelease(*f.bar, {390, 150});
    EXPECT_EQ(f.bar->Align(), alLeft) << "a refused side keeps the last accepted one";
    EXPECT_EQ(moved, 2);
}

TEST(SpeedBarDrag, FrameLeavesRoomForBarsAlreadyOnTheEdges)
{
    BarForm f;
    auto* other = new TSpeedBar(f.form.get());
    f.form->show();
    QRect frame;
    ASSERT_TRUE(f.bar->FrameForSide(alLeft, frame));
    const QPoint origin = f.form->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(frame, QRect(origin + QPoint(0, 29), QSize(29, 271))) << "a top bar comes before the left side";
    ASSERT_TRUE(f.bar->FrameForSide(alBottom, frame));
    EXPECT_EQ(frame, QRect(origin + QPoint(0, 271), QSize(400, 29)));
    other->hide();
    ASSERT_TRUE(f.bar->FrameForSide(alLeft, frame));
    EXPECT_EQ(frame, QRect(origin, QSize(29, 300))) << "hidden bars take no room";

    // Any sibling along a whole edge takes its room (a status line at the
    // bottom); one that does not span its edge takes none.
    auto* status = new QWidget(f.form.get());
    status->setGeometry(0, 280, 400, 20);
    auto* loose = new QWidget(f.form.get());
    loose->setGeometry(0, 100, 30, 30);
    for (QWidget* w : {status, loose})
        w->show();
    ASSERT_TRUE(f.bar->FrameForSide(alLeft, frame));
    EXPECT_EQ(frame, QRect(origin, QSize(29, 280))) << "the bottom line comes before the left side";
    ASSERT_TRUE(f.bar->FrameForSide(alRight, frame));
    EXPECT_EQ(frame, QRect(origin + QPoint(400 - 29, 0), QSize(29, 280)));
}

TEST(SpeedBarDrag, ResizingByWholeRowsWhileCustomised)
{
    BarForm f;
    f.form->show();
    NotifySink sink;
    f.bar->SetOptions(sbGrayedBtns | sbAllowResize);
    MousePress(*f.bar, {50, 27});
    MouseMove(*f.bar, {50, 80});
    MouseRelease(*f.bar, {50, 80});
    EXPECT_EQ(f.bar->height(), 29) << "not customised: no resizing";

    f.bar->SetEditWin(&sink);
    MouseMove(*f.bar, {50, 27});
    EXPECT_EQ(f.bar->cursor().shape(), Qt::SizeVerCursor);
    MousePress(*f.bar, {50, 27});
    MouseMove(*f.bar, {50, 80});
    EXPECT_EQ(f.bar->height(), 3 * 23 + 6) << "(80 - 6) div 23 = 3 rows";
    MouseMove(*f.bar, {50, 2});
    EXPECT_EQ(f.bar->height(), 23 + 6) << "at least one row";
    MouseRelease(*f.bar, {50, 2});
    f.bar->SetEditWin(nullptr);
}

TEST(SpeedBarPaint, BoundLinesAndWallpaper)
{
    BarForm f;
    f.bar->SetBevelOuter(bvNone);
    f.bar->SetBoundLines(blTop | blBottom);
    QImage image = Render(*f.bar);
    const int h = f.bar->height();
    EXPECT_EQ(PixelAt(image, 50, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(PixelAt(image, 50, 1), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(PixelAt(image, 50, h - 2), ColorToRGB(clBtnShadow));
    EXPECT_EQ(PixelAt(image, 50, h - 1), ColorToRGB(clBtnHighlight));

    QImage tile(10, 10, QImage::Format_RGB32);
    tile.fill(qRgb(1, 2, 3));
    f.bar->SetBoundLines(0);
    f.bar->SetWallpaper(tile);
    image = Render(*f.bar);
    EXPECT_EQ(PixelAt(image, 395, 25), TColor(0x030201)) << "tiled to the far corner";
}

TEST(SpeedBar, ScalingSizesButtonsAndOffsetsAndSnapsItems)
{
    BarForm f;
    auto* item = f.Item("A");
    item->Button()->move(3 + 8, 3);
    f.bar->ScaleBy(3, 2);
    EXPECT_EQ(f.bar->BtnWidth(), 36);
    EXPECT_EQ(f.bar->BtnHeight(), 34);
    EXPECT_EQ(f.bar->BtnOffsetHorz(), 4);
    EXPECT_EQ(f.bar->GridX(), 9);
    EXPECT_EQ(f.bar->height(), 43);
    EXPECT_EQ(item->Button()->size(), QSize(36, 34));
    EXPECT_EQ(item->Left(), 4 + 9) << "11 scaled to 16, snapped to the new grid from the new offset";
    EXPECT_EQ(item->Top(), 4);
}

TEST(SpeedBarSections, MovingASectionToAnotherBarKeepsItsPlace)
{
    BarForm f;
    f.bar->AppendSection("File");
    f.bar->AppendSection("Edit");
    auto* item = f.Item("A", 1);
    TSpeedBar other(f.form.get());
    other.AppendSection("One");
    other.AppendSection("Two");
    other.AppendSection("Three");
    TSpeedbarSection* edit = f.bar->Sections(1);
    edit->SetSpeedBar(&other);
    EXPECT_EQ(f.bar->SectionCount(), 1);
    EXPECT_EQ(edit->Index(), 1) << "its former index";
    EXPECT_EQ(other.Sections(2)->Caption(), "Two");
    EXPECT_EQ(item->SpeedBar(), nullptr) << "its items were detached from the old bar";
    other.AddItem(1, item);
    EXPECT_EQ(item->SpeedBar(), &other);
    EXPECT_EQ(other.Items(1, 0), item);
}

TEST(SpeedBarPaint, RaisedBevelAroundTheFace)
{
    BarForm f;
    const QImage image = Render(*f.bar);
    EXPECT_EQ(PixelAt(image, 50, 0), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(PixelAt(image, 50, f.bar->height() - 1), ColorToRGB(clBtnShadow));
    EXPECT_EQ(PixelAt(image, 50, 5), ColorToRGB(clBtnFace));
}

namespace {

constexpr const char* LayoutKey = "Software\\VellumixTest\\SpeedBarLayout";

// A bar whose layout lives in the registry store through its window's placement.
struct StoredBar : BarForm {
    TFormPlacement placement{form.get()};

    StoredBar()
    {
        form->setObjectName("LayoutForm");
        placement.SetUseRegistry(true);
        placement.SetIniFileName(LayoutKey);
        bar->SetIniStorage(&placement);
    }
    std::string Section() const { return placement.IniSection() + "\\" + GetDefaultSection(bar); }
};

} // namespace

TEST(SpeedBarLayout, SectionsOptionsAndItemSectionsRoundTripThroughTheRegistry)
{
    RegistrySandbox sandbox;
    {
        StoredBar saved;
        saved.bar->AppendSection("Files");
        saved.bar->AppendSection("Edit");
        saved.Item("OpenItem", 0);
        saved.Item("CopyItem", 1);
        saved.placement.RestoreFormPlacement();
        saved.placement.SaveFormPlacement();
    }
    StoredBar loaded;
    loaded.bar->AppendSection("Files");
    loaded.Item("OpenItem", 0);
    TSpeedItem* copy = loaded.Item("CopyItem", 0);
    {
        TRegIniFile reg(LayoutKey);
        EXPECT_EQ(reg.ReadInteger(loaded.Section(), "InternalVer", 0), 1);
        EXPECT_EQ(reg.ReadString(loaded.Section(), "CopyItem.SectionName", ""), "Edit");
        EXPECT_EQ(reg.ReadString(loaded.Section(), "OpenItem.SectionName", ""), "Files");
        // Values the bar reads but never writes itself.
        reg.WriteString(loaded.Section(), "Sections", "Files,Edit,\"Web tools\"");
        reg.WriteInteger(loaded.Section(), "NewStyle", 1);
        reg.WriteInteger(loaded.Section(), "AllowDrag", 0);
    }
    ASSERT_TRUE(loaded.bar->Options() & sbAllowDrag);
    loaded.placement.RestoreFormPlacement();

    ASSERT_EQ(loaded.bar->SectionCount(), 3);
    EXPECT_EQ(loaded.bar->Sections(1)->Caption(), "Edit");
    EXPECT_EQ(loaded.bar->Sections(2)->Caption(), "Web tools");
    EXPECT_EQ(copy->SectionIndex(), 1) << "the stored section name finds the item's section";
    EXPECT_EQ(loaded.bar->ItemsCount(0), 1);
    EXPECT_EQ(loaded.bar->InternalVer(), 1);
    EXPECT_TRUE(loaded.bar->NewStyle());
    EXPECT_FALSE(loaded.bar->Options() & sbAllowDrag);
}

TEST(SpeedBarLayout, AnUnalignedBarFromAnOlderLayoutGoesToTheTop)
{
    RegistrySandbox sandbox;
    StoredBar stored;
    {
        TRegIniFile reg(LayoutKey);
        reg.WriteInteger(stored.Section(), "Position", int(alNone));
    }
    stored.bar->SetAlign(alLeft);
    int moved = 0;
    stored.bar->OnPosChanged = [&](QObject*) { ++moved; };
    stored.placement.RestoreFormPlacement();
    EXPECT_EQ(stored.bar->InternalVer(), 0);
    EXPECT_EQ(stored.bar->Align(), alTop);
    EXPECT_EQ(moved, 1);
}

// The speed bar's stored layout and its customisation window.
#include "controls/stores/AppUtils.h"
#include "controls/common/RXConst.h"
#include "controls/speedbar/SbSetup.h"
#include "controls/common/HelpContext.h"
#include "controls/speedbar/SpeedBar.h"
#include "platform/IniFile.h"
#include "tests/controls/FlatTestSupport.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

#include <gtest/gtest.h>

#include <memory>

using namespace vx;
using namespace vx::test;

namespace {

int ScreenPpi()
{
    return qRound(QGuiApplication::primaryScreen()->logicalDotsPerInchY());
}

struct LayoutFixture : ::testing::Test {
    TempDir dir;
    std::unique_ptr<TIniFile> ini = std::make_unique<TIniFile>(dir.file("bar.ini"));
    std::unique_ptr<QWidget> form = std::make_unique<QWidget>();
    TSpeedBar* bar = new TSpeedBar(form.get());
    const std::string section = "Bar";

    LayoutFixture()
    {
        form->resize(400, 300);
        bar->setObjectName("SpeedBar");
        bar->AppendSection("File");
        bar->AppendSection("Edit");
    }
    TSpeedItem* Item(const char* name, int sectionIndex, QPoint at, bool visible = true)
    {
        auto* item = new TSpeedItem(form.get());
        item->setObjectName(name);
        bar->AddItem(sectionIndex, item);
        item->Button()->move(at);
        item->SetVisible(visible);
        return item;
    }
    // The bar's customisation window, shown below the form.
    TSpeedbarSetupWindow* OpenSetup();
    std::string Read(const char* ident) { return ini->ReadString(section, ident, "<none>"); }
    void Write(const char* ident, const std::string& value) { ini->WriteString(section, ident, value); }
    void Stamp()
    {
        Write("PixelsPerInch", std::to_string(ScreenPpi()));
    }
};

void CloseAll()
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (dynamic_cast<TSpeedbarSetupWindow*>(top))
            top->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TSpeedbarSetupWindow* SetupWindowOf(TSpeedBar* bar)
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* window = dynamic_cast<TSpeedbarSetupWindow*>(top); window && window->SpeedBar() == bar)
            return window;
    return nullptr;
}

TSpeedbarSetupWindow* LayoutFixture::OpenSetup()
{
    form->show();
    Activate(*form);
    bar->Customize(0);
    TSpeedbarSetupWindow* window = SetupWindowOf(bar);
    if (window) {
        window->move(form->geometry().bottomLeft() + QPoint(0, 50));
        QApplication::processEvents();
    }
    return window;
}

} // namespace

TEST_F(LayoutFixture, SaveWritesShownStoredItemsOnly)
{
    ini->WriteString(section, "Stale", "x");
    Item("NewBtn", 0, {3, 3});
    Item("OpenBtn", 0, {27, 3})->SetStored(false);
    Item("SaveBtn", 1, {51, 3});
    Item("HiddenBtn", 1, {75, 3}, false);
    bar->SetVersion(4);
    bar->SaveLayout(ini.get(), section);
    EXPECT_EQ(Read("Stale"), "<none>") << "the section is erased first";
    EXPECT_EQ(Read("Position"), "1");
    EXPECT_EQ(Read("Width"), "29");
    EXPECT_EQ(Read("Version"), "4");
    EXPECT_EQ(Read("PixelsPerInch"), std::to_string(ScreenPpi()));
    EXPECT_EQ(Read("BtnWidth"), "24");
    EXPECT_EQ(Read("BtnHeight"), "23");
    EXPECT_EQ(Read("Button1"), "NewBtn,3,3");
    EXPECT_EQ(Read("Button2"), "SaveBtn,51,3");
    EXPECT_EQ(Read("Button3"), "<none>");
    EXPECT_EQ(Read("Count"), "2");

    bar->SetPosition(TBarPosition::bpCustom);
    bar->SetAlign(alNone);
    bar->SaveLayout(ini.get(), section);
    EXPECT_EQ(Read("Position"), "0");
    EXPECT_EQ(Read("Width"), "<none>") << "no thickness without an edge";
}

TEST_F(LayoutFixture, RestorePlacesNamedButtonsWithinTheOffsets)
{
    auto* newBtn = Item("NewBtn", 0, {51, 3}, false);
    auto* other = Item("Other", 1, {27, 3});
    Stamp();
    Write("Count", "1");
    Write("Button1", "NewBtn,10,3");
    bar->RestoreLayout(ini.get(), section);
    EXPECT_TRUE(newBtn->Visible());
    EXPECT_EQ(newBtn->Button()->pos(), QPoint(10, 3));
    EXPECT_FALSE(other->Visible()) << "only the stored buttons are shown";

    Write("Button1", "newbtn,10,1");
    bar->RestoreLayout(ini.get(), section);
    EXPECT_EQ(newBtn->Button()->pos(), QPoint(10, 3)) << "raised to the vertical offset";

    newBtn->Button()->move(1, 40);
    Write("Button1", "NewBtn");
    bar->RestoreLayout(ini.get(), section);
    EXPECT_TRUE(newBtn->Visible());
    EXPECT_EQ(newBtn->Button()->pos(), QPoint(3, 40)) << "its own position, raised to the offsets";

    Write("Button1", "NewBtn,x7,12");
    bar->RestoreLayout(ini.get(), section);
    EXPECT_EQ(newBtn->Button()->pos(), QPoint(3, 12)) << "a word that is no number keeps the position";
}

TEST_F(LayoutFixture, RestoreCountsAndUnknownNames)
{
    auto* a = Item("A", 0, {3, 3});
    Stamp();
    Write("Count", "0");
    Write("Button1", "Nobody,10,3");
    bar->RestoreLayout(ini.get(), section);
    EXPECT_TRUE(a->Visible()) << "Count 0 leaves the items alone";
    Write("Count", "1");
    bar->RestoreLayout(ini.get(), section);
    EXPECT_FALSE(a->Visible()) << "an unknown name is skipped after all are hidden";
}

TEST_F(LayoutFixture, RestoredPositionMovesTheBar)
{
    int moved = 0;
    bar->OnPosChanged = [&](QObject*) { ++moved; };
    Stamp();
    Write("Position", "3");
    bar->RestoreLayout(ini.get(), section);
    EXPECT_EQ(bar->Align(), alLeft);
    EXPECT_TRUE(bar->Vertical());
    EXPECT_EQ(moved, 1);

    for (const char* refused : {"5", "0", "17", "junk"}) {
        Write("Position", refused);
        bar->RestoreLayout(ini.get(), section);
        EXPECT_EQ(bar->Align(), alTop) << refused << ": refused alignments give alTop";
    }
    EXPECT_EQ(moved, 2);

    bar->SetOptions(sbGrayedBtns);
    Write("Position", "2");
    bar->RestoreLayout(ini.get(), section);
    EXPECT_EQ(bar->Align(), alTop) << "without sbAllowDrag the edge stays";
}

TEST_F(LayoutFixture, ThicknessOnlyWithResizeAndTheSameResolution)
{
    auto* a = Item("A", 0, {3, 3});
    bar->SetOptions(sbAllowDrag | sbAllowResize);
    Write("Position", "2");
    Write("Width", "52");
    Write("Count", "1");
    Write("Button1", "A,27,3");
    Write("PixelsPerInch", std::to_string(ScreenPpi() + 1));
    bar->RestoreLayout(ini.get(), section);
    EXPECT_EQ(bar->Align(), alBottom) << "the edge is taken";
    EXPECT_EQ(bar->height(), 29) << "another resolution: the size stays";
    EXPECT_EQ(a->Left(), 3);

    Stamp();
    bar->RestoreLayout(ini.get(), section);
    EXPECT_EQ(bar->height(), 52);
    EXPECT_EQ(bar->y(), 300 - 52);
    EXPECT_EQ(a->Left(), 27);

    Write("Version", "1");
    bar->SetVersion(2);
    Write("Width", "80");
    bar->RestoreLayout(ini.get(), section);
    EXPECT_EQ(bar->height(), 52) << "an older layout is ignored";
}

TEST_F(LayoutFixture, StorageSavesAndRestoresThroughTheLink)
{
    ini.reset();
    form->setObjectName("Animator");
    auto* storage = new TFormStorage(form.get());
    storage->SetIniFileName(dir.file("form.ini"));
    storage->SetIniSection("Main");
    bar->SetIniStorage(storage);
    auto* item = Item("A", 0, {27, 3});
    storage->RestoreFormPlacement();
    EXPECT_TRUE(item->Visible()) << "nothing stored yet";
    storage->SaveFormPlacement();
    TIniFile file(dir.file("form.ini"));
    const std::string stored = "Main\\" + GetDefaultSection(bar);
    EXPECT_EQ(file.ReadString(stored, "Button1", ""), "A,27,3");

    item->SetVisible(false);
    storage->RestoreFormPlacement();
    EXPECT_TRUE(item->Visible());

    bar->setObjectName("");
    item->SetVisible(false);
    storage->RestoreFormPlacement();
    EXPECT_FALSE(item->Visible()) << "a bar without a name keeps nothing";
}

TEST_F(LayoutFixture, CustomizeShowsOneWindowPerBar)
{
    Item("A", 0, {3, 3});
    Item("B", 1, {27, 3}, false)->SetCaption("Bee");
    form->show();
    bar->Customize(0);
    TSpeedbarSetupWindow* window = SetupWindowOf(bar);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Customize Speedbar");
    EXPECT_EQ(bar->EditWin(), window);
    EXPECT_TRUE(window->HelpBtn->isHidden());
    bar->Customize(5);
    EXPECT_EQ(SetupWindowOf(bar), window) << "the same window again";
    EXPECT_EQ(window->HelpContext(), 5);
    EXPECT_FALSE(window->HelpBtn->isHidden());

    EXPECT_EQ(window->SectionList->count(), 2);
    EXPECT_EQ(window->SectionList->item(1)->text(), "Edit");
    EXPECT_EQ(window->CurrentSection(), 0);
    EXPECT_EQ(window->ButtonsList->count(), 1);
    window->SectionList->setCurrentRow(1);
    ASSERT_EQ(window->ButtonsList->count(), 1);
    EXPECT_EQ(window->ButtonsList->item(0)->text(), "Bee");
    EXPECT_EQ(window->ButtonsList->item(0)->sizeHint().height(), 25);

    int customized = 0;
    bar->OnCustomize = [&](QObject*) { ++customized; };
    window->CloseBtn->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(SetupWindowOf(bar), nullptr);
    EXPECT_EQ(bar->EditWin(), nullptr);
    EXPECT_EQ(customized, 1);
}

TEST_F(LayoutFixture, WindowFollowsTheBar)
{
    auto* a = Item("A", 0, {3, 3});
    form->show();
    bar->Customize(0);
    TSpeedbarSetupWindow* window = SetupWindowOf(bar);
    ASSERT_NE(window, nullptr);
    bar->SetBtnHeight(30);
    EXPECT_EQ(window->ButtonsList->item(0)->sizeHint().height(), 32) << "rows follow the button size";
    bar->AddItem(1, a);
    bar->Notify(sbnChanged);
    EXPECT_EQ(window->ButtonsList->count(), 0) << "lists refreshed";
    window->SectionList->setCurrentRow(1);
    EXPECT_EQ(window->ButtonsList->count(), 1);
    a->SetHint("A|Does A");
    window->ButtonsList->setCurrentRow(-1);
    window->ButtonsList->setCurrentRow(0);
    EXPECT_EQ(window->toolTip(), "A|Does A");

    delete bar;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(SetupWindowOf(nullptr), nullptr) << "the window closes with its bar";
    CloseAll();
}

TEST_F(LayoutFixture, DraggingFromTheListPlacesHiddenItemsOnly)
{
    auto* shown = Item("Shown", 0, {3, 3});
    auto* hidden = Item("Hidden", 0, {3, 3}, false);
    TSpeedbarSetupWindow* window = OpenSetup();
    ASSERT_NE(window, nullptr);
    QWidget* viewport = window->ButtonsList->viewport();
    const QRect firstRow = window->ButtonsList->visualItemRect(window->ButtonsList->item(0));
    const QRect secondRow = window->ButtonsList->visualItemRect(window->ButtonsList->item(1));

    MousePress(*viewport, firstRow.topLeft() + QPoint(5, 5));
    MouseMove(*viewport, firstRow.topLeft() + QPoint(50, 5));
    EXPECT_EQ(viewport->cursor().shape(), Qt::ForbiddenCursor) << "an item already on the bar";
    MouseRelease(*viewport, firstRow.topLeft() + QPoint(50, 5));
    EXPECT_EQ(shown->Left(), 3);

    // Released so that the image's top-left lands at (100, 10) on the bar.
    const QPoint target = bar->mapToGlobal(QPoint(100 + 24, 10 + 23));
    SetScreenCursor(crDragHand, QCursor(Qt::ClosedHandCursor));
    MousePress(*viewport, secondRow.topLeft() + QPoint(5, 5));
    SetScreenCursor(crDragHand, QCursor(Qt::ArrowCursor));
    EXPECT_EQ(viewport->cursor().shape(), Qt::ClosedHandCursor) << "the drag hand while dragging";
    MouseRelease(*viewport, viewport->mapFromGlobal(target));
    EXPECT_EQ(viewport->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(hidden->Visible());
    EXPECT_EQ(hidden->Left(), 99) << "snapped: 3 + 12 * 8";
    EXPECT_EQ(hidden->Top(), 3);
    CloseAll();
}

TEST_F(LayoutFixture, HelpButtonShowsTheHelpContextWhenTheProgramHasHelp)
{
    Item("A", 0, {3, 3});
    form->show();
    bar->Customize(7);
    TSpeedbarSetupWindow* window = SetupWindowOf(bar);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->HelpBtn->isEnabled()) << "no help installed";
    CloseAll();

    std::vector<int> shown;
    SetHelpHandler([&](int context) { shown.push_back(context); });
    bar->Customize(7);
    window = SetupWindowOf(bar);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->HelpBtn->isEnabled());
    Click(*window->HelpBtn, QPoint(5, 5));
    EXPECT_EQ(shown, std::vector<int>{7});
    SetHelpHandler({});
    CloseAll();
}

TEST_F(LayoutFixture, NoOtherButtonRowIsChosenDuringADrag)
{
    Item("First", 0, {3, 3}, false);
    Item("Second", 0, {3, 3}, false);
    TSpeedbarSetupWindow* window = OpenSetup();
    ASSERT_NE(window, nullptr);
    QWidget* viewport = window->ButtonsList->viewport();
    const QRect secondRow = window->ButtonsList->visualItemRect(window->ButtonsList->item(1));
    MousePress(*viewport, secondRow.topLeft() + QPoint(5, 5));
    ASSERT_EQ(window->ButtonsList->currentRow(), 1);
    KeyDown(*window->ButtonsList, Qt::Key_Up);
    EXPECT_EQ(window->ButtonsList->currentRow(), 1) << "the dragged item's row stays chosen";
    EXPECT_TRUE(window->toolTip().isEmpty());
    MouseRelease(*viewport, secondRow.topLeft() + QPoint(5, 5));
    KeyDown(*window->ButtonsList, Qt::Key_Up);
    EXPECT_EQ(window->ButtonsList->currentRow(), 0) << "after the drag rows are chosen again";
    CloseAll();
}

// The extended list view: extended styles, virtual mode with its events,
// item search, column order in the registry, header images, activation and
// the version check.
#include "controls/listviews/ExtListView.h"

#include "controls/listviews/ImgList.h"
#include "platform/IniFile.h"
#include "tests/controls/FlatTestSupport.h"
#include "tests/controls/WaitFor.h"
#include "tests/controls/listviews/ListViewTestSupport.h"

#include <QApplication>
#include <QHeaderView>
#include <QIcon>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <cstring>

using namespace vx;
using namespace vx::test;

namespace {

void ShowSized(QWidget& widget)
{
    widget.resize(400, 300);
    widget.show();
}

QPoint RowPoint(const TCustomExtListView& view, int row)
{
    return QPoint(10, view.rowViewportPosition(row) + view.rowHeight(row) / 2);
}

} // namespace

TEST(ExtListView, DefaultsAndStyleBits)
{
    TExtListView view;
    EXPECT_EQ(view.ExtendedStyles(), 0u);
    EXPECT_FALSE(view.VirtualMode());
    EXPECT_EQ(view.HoverTime(), -1);
    EXPECT_EQ(view.SelectionMark(), -1);
    EXPECT_FALSE(view.RequireComCtlUpdate());
    EXPECT_TRUE(view.SaveSettings().SaveColumnOrder);
    EXPECT_EQ(view.Version(), "TExtListView v3.50");
    EXPECT_EQ(ExtendedStylesToBits(LVX(lvxGridLines) | LVX(lvxFullRowSelect) | LVX(lvxUnderlineHot) | LVX(lvxUnderlineCold)),
              0x1u | 0x20u | 0x800u | 0x1000u);
    for (int i = lvxGridLines; i <= lvxUnderlineCold; ++i)
        EXPECT_EQ(BitsToExtendedStyles(ExtendedStylesToBits(1u << i)), 1u << i);
}

TEST(ExtListView, UnderlineStylesBringAnActivationStyle)
{
    TExtListView view;
    view.SetExtendedStyles(LVX(lvxUnderlineHot) | LVX(lvxTwoClickActivate));
    EXPECT_EQ(view.ExtendedStyles(), LVX(lvxUnderlineHot) | LVX(lvxTwoClickActivate));
    view.SetExtendedStyles(LVX(lvxUnderlineHot));
    EXPECT_EQ(view.ExtendedStyles(), LVX(lvxUnderlineHot) | LVX(lvxOneClickActivate));
    view.SetExtendedStyles(LVX(lvxUnderlineCold) | LVX(lvxTwoClickActivate));
    EXPECT_EQ(view.ExtendedStyles(), LVX(lvxUnderlineCold) | LVX(lvxTwoClickActivate) | LVX(lvxOneClickActivate));
}

TEST(ExtListView, StylesReachTheWidget)
{
    TExtListView view;
    Fill(view, 2, {{"a", "1"}});
    view.SetExtendedStyles(LVX(lvxGridLines) | LVX(lvxHeaderDragDrop) | LVX(lvxCheckboxes));
    EXPECT_TRUE(view.showGrid());
    EXPECT_TRUE(view.horizontalHeader()->sectionsMovable());
    const QModelIndex first = view.model()->index(0, 0);
    EXPECT_EQ(view.model()->data(first, Qt::CheckStateRole).toInt(), Qt::Unchecked);
    view.model()->setData(first, Qt::Checked, Qt::CheckStateRole);
    EXPECT_TRUE(view.Items(0)->Checked());
    view.SetExtendedStyles(0);
    EXPECT_FALSE(view.showGrid());
    EXPECT_FALSE(view.model()->data(first, Qt::CheckStateRole).isValid());
}

TEST(ExtListView, VirtualModeAsksOnlyForShownRows)
{
    TExtListView view;
    view.AddColumn("File Name", 120);
    view.AddColumn("Size", 90, taRightJustify);
    view.SetVirtualMode(true);
    long calls = 0;
    int highest = -1;
    view.OnVMGetItemInfo = [&](QObject*, int item, int sub, TLVVMMaskItems mask, int&, std::intptr_t&, unsigned&, int&,
                               std::string& text) {
        ++calls;
        highest = std::max(highest, item);
        if (mask & lvifText)
            text = "row " + std::to_string(item) + "/" + std::to_string(sub);
    };
    std::vector<TNMLVCacheHint> hints;
    view.OnVMCacheHint = [&](QObject*, TNMLVCacheHint& hint) { hints.push_back(hint); };
    view.SetItemCountEx(1000000, 0);
    EXPECT_EQ(view.ItemCount(), 1000000);
    EXPECT_EQ(view.Items(5), nullptr);
    ShowSized(view);
    Render(view);
    const int visible = view.viewport()->height() / view.rowHeight(0) + 1;
    EXPECT_GT(calls, 0);
    EXPECT_LE(calls, 4L * 2 * visible);
    EXPECT_LE(highest, visible);
    ASSERT_FALSE(hints.empty());
    EXPECT_EQ(hints.back().iFrom, 0);
    EXPECT_EQ(hints.back().iTo, visible - 1);
    EXPECT_EQ(view.model()->data(view.model()->index(7, 1)).toString(), "row 7/1");

    // Jumping to the end asks for the rows there only.
    calls = 0;
    int lowest = 1000000;
    view.OnVMGetItemInfo = [&](QObject*, int item, int, TLVVMMaskItems, int&, std::intptr_t&, unsigned&, int&, std::string&) {
        ++calls;
        lowest = std::min(lowest, item);
    };
    view.scrollToBottom();
    Render(view);
    EXPECT_LE(calls, 4L * 2 * visible);
    EXPECT_GE(lowest, 1000000 - visible - 1);
    EXPECT_EQ(hints.back().iTo, 999999);
}

TEST(ExtListView, GetInfoRequests)
{
    TExtListView view;
    view.SetVirtualMode(true);
    int events = 0;
    view.OnVMGetItemInfo = [&](QObject*, int, int, TLVVMMaskItems mask, int& image, std::intptr_t&, unsigned& state, int&,
                               std::string& text) {
        ++events;
        EXPECT_EQ(state, 5u);
        image = 3;
        state = 6;
        text = "0123456789";
    };
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    TLVItemRecord record;
    record.pszText = buffer;
    record.cchTextMax = 6;
    record.state = 5;
    record.iItem = -1;
    record.mask = lvifText;
    view.DoVMGetItemInfo(record);
    EXPECT_EQ(events, 0);

    record.iItem = 4;
    record.mask = lvifImage;
    view.DoVMGetItemInfo(record);
    EXPECT_EQ(events, 1);
    EXPECT_EQ(record.iImage, 3);
    EXPECT_EQ(std::string(buffer, 8), "xxxxxxxx");
    EXPECT_EQ(record.state, 5u);

    record.mask = lvifText;
    view.DoVMGetItemInfo(record);
    EXPECT_STREQ(buffer, "01234");
    EXPECT_EQ(record.state, 6u);
}

TEST(ExtListView, ItemCountSetEarlyTakesEffectInVirtualMode)
{
    TExtListView view;
    view.AddColumn("A");
    view.SetItemCountEx(1000, lvsicfNoScroll);
    EXPECT_EQ(view.ItemCount(), 0);
    view.SetVirtualMode(true);
    EXPECT_EQ(view.ItemCount(), 1000);
    view.SetItemCountEx(10, 0);
    EXPECT_EQ(view.ItemCount(), 10);
    view.SetVirtualMode(false);
    EXPECT_EQ(view.ItemCount(), 0);
    EXPECT_NE(view.AddItem("real"), nullptr);
}

TEST(ExtListView, GetNextItemWalksTheSelection)
{
    TExtListView view;
    view.AddColumn("A");
    view.SetMultiSelect(true);
    view.SetVirtualMode(true);
    view.SetItemCountEx(1000000, 0);
    auto* selection = view.selectionModel();
    const auto rows = QItemSelectionModel::Select | QItemSelectionModel::Rows;
    selection->select(QItemSelection(view.model()->index(5, 0), view.model()->index(7, 0)), rows);
    view.setCurrentIndex(view.model()->index(6, 0));
    selection->select(QItemSelection(view.model()->index(5, 0), view.model()->index(7, 0)), rows);
    selection->select(view.model()->index(999998, 0), rows);

    std::vector<int> walked;
    for (int i = view.GetNextItem(-1, sdAll, lvisSelected); i >= 0; i = view.GetNextItem(i, sdAll, lvisSelected))
        walked.push_back(i);
    EXPECT_EQ(walked, (std::vector<int>{5, 6, 7, 999998}));
    EXPECT_EQ(view.GetNextItem(999998, sdAbove, lvisSelected), 7);
    EXPECT_EQ(view.GetNextItem(-1, sdAll, lvisFocused), 6);
    EXPECT_EQ(view.GetNextItem(6, sdAll, lvisFocused), -1);
    EXPECT_EQ(view.GetNextItem(6, sdBelow, 0), 7);
    EXPECT_EQ(view.GetNextItem(6, sdAbove, 0), 5);
    EXPECT_EQ(view.GetNextItem(6, sdLeft, 0), -1);
    EXPECT_EQ(view.GetNextItem(-1, sdAll, lvisCut), -1);
    EXPECT_EQ(view.GetNextItem(999999, sdAll, 0), -1);

    TExtListView plain;
    Fill(plain, 1, {{"a"}, {"b"}, {"c"}});
    plain.Items(2)->SetCut(true);
    EXPECT_EQ(plain.GetNextItem(-1, sdAll, lvisCut), 2);
    EXPECT_EQ(plain.GetNextItem(-1, sdAll, lvisSelected), -1);
}

TEST(ExtListView, RangeSelectionIsReported)
{
    TExtListView view;
    view.AddColumn("A");
    view.SetMultiSelect(true);
    view.SetVirtualMode(true);
    view.SetItemCountEx(100, 0);
    std::vector<TNMLVODStateChange> changes;
    view.OnVMStateChanged = [&](QObject*, TNMLVODStateChange& change) { changes.push_back(change); };
    view.selectionModel()->select(QItemSelection(view.model()->index(3, 0), view.model()->index(9, 0)),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].iFrom, 3);
    EXPECT_EQ(changes[0].iTo, 9);
    EXPECT_EQ(changes[0].uNewState, unsigned(lvisSelected));
    view.selectionModel()->clearSelection();
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1].uOldState, unsigned(lvisSelected));
}

TEST(ExtListView, TypingAsksTheOwnerToFindAnItem)
{
    TExtListView view;
    view.AddColumn("A");
    view.SetVirtualMode(true);
    view.SetItemCountEx(500000, 0);
    ShowSized(view);
    long cells = 0;
    view.OnVMGetItemInfo = [&](QObject*, int, int, TLVVMMaskItems, int&, std::intptr_t&, unsigned&, int&, std::string&) { ++cells; };
    std::vector<std::string> asked;
    view.OnVMFindItem = [&](QObject*, TLVFindInfo& info, int& found) {
        asked.push_back(info.psz);
        EXPECT_EQ(found, -1);
        found = 123456;
    };
    view.setFocus();
    KeyPress(view, Qt::Key_Q, "q");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], "q");
    EXPECT_EQ(view.currentIndex().row(), 123456);
    EXPECT_LT(cells, 1000);
}

TEST(ExtListView, ColumnOrderAndSubItemTexts)
{
    TExtListView view;
    std::vector<int> order{7};
    EXPECT_FALSE(view.GetColumnOrder(order)) << "no columns, no order";
    EXPECT_TRUE(order.empty());
    Fill(view, 3, {{"cap", "s0", "s1"}});
    ASSERT_TRUE(view.GetColumnOrder(order));
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
    view.SetColumnOrder({2, 0, 1});
    view.GetColumnOrder(order);
    EXPECT_EQ(order, (std::vector<int>{2, 0, 1}));
    EXPECT_EQ(view.GetActualColumn(0), 2);
    EXPECT_EQ(view.ActualColumnIndex(0), 1);
    EXPECT_EQ(view.GetSubItemText(0, -1), "s1");
    EXPECT_EQ(view.GetSubItemText(0, 0), "cap");
    EXPECT_EQ(view.GetSubItemText(0, 1), "s0");
    // Orders that are no arrangement of the columns are refused.
    view.SetColumnOrder({0, 0, 1});
    view.SetColumnOrder({0, 1});
    view.GetColumnOrder(order);
    EXPECT_EQ(order, (std::vector<int>{2, 0, 1}));
}

TEST(ExtListView, OrderSizesAndSortInTheRegistry)
{
    const std::string key = "\\Software\\Vellumix\\Test\\ExtList";
    {
        TRegIniFile ini(key);
        ini.WriteString("Columns", "Order", "2,0,1");
        ini.WriteString("Columns", "Sizes", "80,x,40");
    }
    {
        TExtListView view;
        Fill(view, 3, {{"cap", "s0", "s1"}});
        view.SaveSettings().AutoSave = true;
        view.SaveSettings().RegistryKey = key;
        view.Loaded();
        std::vector<int> order;
        view.GetColumnOrder(order);
        EXPECT_EQ(order, (std::vector<int>{2, 0, 1}));
        EXPECT_EQ(view.GetSubItemText(0, -1), "s1");
        EXPECT_EQ(view.ColumnWidth(0), 80);
        EXPECT_EQ(view.ColumnWidth(1), 60);
        EXPECT_EQ(view.ColumnWidth(2), 40);
        view.SetColumnOrder({1, 2, 0});
    }
    TRegIniFile ini(key);
    EXPECT_EQ(ini.ReadString("Columns", "Order", ""), "1,2,0");
    EXPECT_EQ(ini.ReadString("Columns", "Sizes", ""), "80,60,40");
    EXPECT_EQ(ini.ReadInteger("Sort", "SortCol", -5), 0);

    // A bad piece keeps its identity element, which here makes no arrangement
    // of the columns, so the order stays as it is.
    ini.WriteString("Columns", "Order", "1,y,0");
    TExtListView bad;
    Fill(bad, 3, {{"cap", "s0", "s1"}});
    bad.SaveSettings().AutoSave = true;
    bad.SaveSettings().RegistryKey = key;
    bad.Loaded();
    std::vector<int> order;
    bad.GetColumnOrder(order);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
}

TEST(ExtListView, OnlyTheSortWhenNeitherOrderNorSizesAreKept)
{
    const std::string key = "\\Software\\Vellumix\\Test\\ExtSortOnly";
    {
        TExtListView view;
        Fill(view, 2, {{"a", "b"}});
        view.SaveSettings().AutoSave = true;
        view.SaveSettings().RegistryKey = key;
        view.SaveSettings().SaveColumnOrder = false;
        view.SaveSettings().SaveColumnSizes = false;
        view.SetLastColumnClicked(1);
    }
    TRegIniFile ini(key);
    EXPECT_FALSE(ini.ValueExists("Columns", "Order"));
    EXPECT_FALSE(ini.ValueExists("Columns", "Sizes"));
    EXPECT_EQ(ini.ReadInteger("Sort", "SortCol", -5), 1);
}

TEST(ExtListView, HeaderImagesFromTheColumnFormats)
{
    TImageList images;
    QPixmap red(16, 16);
    red.fill(Qt::red);
    images.Add(red);
    TExtListView view;
    Fill(view, 2, {{"a", "b"}});
    view.ColumnsFormat().Add().SetImageIndex(0);
    view.ColumnsFormat().Items(0)->SetImageAlignment(ciaLeftOfText);
    view.ColumnsFormat().Add();
    int image = -1;
    bool right = true;
    EXPECT_FALSE(view.HeaderImageOf(0, image, right));
    view.SetSmallImages(&images);
    ASSERT_TRUE(view.HeaderImageOf(0, image, right));
    EXPECT_EQ(image, 0);
    EXPECT_FALSE(right);
    EXPECT_FALSE(view.HeaderImageOf(1, image, right));
    EXPECT_FALSE(view.model()->headerData(0, Qt::Horizontal, Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_FALSE(view.model()->headerData(1, Qt::Horizontal, Qt::DecorationRole).isValid());

    // Right of the text the header draws the image itself.
    view.ColumnsFormat().Items(0)->SetImageAlignment(ciaRightOfText);
    EXPECT_FALSE(view.model()->headerData(0, Qt::Horizontal, Qt::DecorationRole).isValid());
    ShowSized(view);
    const QImage header = Render(*view.horizontalHeader());
    bool redFound = false;
    for (int x = 30; x < 60 && !redFound; ++x)
        redFound = QColor(header.pixel(x, header.height() / 2)) == QColor(Qt::red);
    EXPECT_TRUE(redFound);

    TExtListColumns copy(nullptr);
    copy.Assign(view.ColumnsFormat());
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.Items(0)->ImageIndex(), 0);
    EXPECT_EQ(copy.Items(0)->ImageAlignment(), ciaRightOfText);
    EXPECT_EQ(copy.Items(1)->ImageAlignment(), ciaRightOfText);
    EXPECT_EQ(copy.Items(2), nullptr);
}

TEST(ExtListView, ActivationByDoubleClickOneClickOrSecondClick)
{
    TExtListView view;
    Fill(view, 1, {{"a"}, {"b"}});
    view.SetReadOnly(true);
    ShowSized(view);
    int activated = 0;
    view.OnItemActivate = [&](QObject*) { ++activated; };
    QWidget& port = *view.viewport();
    Click(port, RowPoint(view, 0));
    EXPECT_EQ(activated, 0);
    DoubleClick(port, RowPoint(view, 0));
    EXPECT_EQ(activated, 1);
    KeyPress(view, Qt::Key_Return);
    EXPECT_EQ(activated, 2);

    view.SetExtendedStyles(LVX(lvxOneClickActivate));
    Click(port, RowPoint(view, 1));
    EXPECT_EQ(activated, 3);

    view.SetExtendedStyles(LVX(lvxTwoClickActivate));
    Click(port, RowPoint(view, 0));
    EXPECT_EQ(activated, 3);
    Click(port, RowPoint(view, 0));
    EXPECT_EQ(activated, 4);
}

TEST(ExtListView, MarqueeCanBeRefused)
{
    TExtListView view;
    Fill(view, 1, {{"a"}, {"b"}});
    view.SetMultiSelect(true);
    ShowSized(view);
    view.selectRow(0);
    int asked = 0;
    bool allow = false;
    view.OnMarqueeBegin = [&](QObject*, bool& canBegin) {
        ++asked;
        EXPECT_TRUE(canBegin);
        canBegin = allow;
    };
    const QPoint empty(10, view.viewport()->height() - 5);
    Click(*view.viewport(), empty);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(view.selectionModel()->isRowSelected(0, QModelIndex()));
    allow = true;
    Click(*view.viewport(), empty);
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(view.selectionModel()->isRowSelected(0, QModelIndex()));
}

TEST(ExtListView, HotTrackingSelectsAfterTheHoverTime)
{
    TExtListView view;
    Fill(view, 1, {{"a"}, {"b"}, {"c"}});
    view.SetExtendedStyles(LVX(lvxTrackSelect));
    view.SetHoverTime(1);
    ShowSized(view);
    std::vector<int> tracked;
    view.OnHotTrack = [&](QObject*, int& item, int, QPoint, bool& allowSelect) {
        tracked.push_back(item);
        allowSelect = item != 0;
        if (item == 1)
            item = 2;
    };
    view.setCurrentIndex(QModelIndex());
    MouseMove(*view.viewport(), RowPoint(view, 0));
    ASSERT_TRUE(WaitFor([&] { return !tracked.empty(); })) << "the hover on the first item";
    EXPECT_FALSE(view.currentIndex().isValid());
    // The owner may also redirect the hover to another item.
    MouseMove(*view.viewport(), RowPoint(view, 1));
    EXPECT_TRUE(WaitFor([&] { return view.currentIndex().row() == 2; }));
    EXPECT_EQ(view.currentIndex().row(), 2);
    EXPECT_EQ(tracked, (std::vector<int>{0, 1}));
}

TEST(ExtListView, CommonControlsVersionCheck)
{
    EXPECT_TRUE(ComCtlVersionSufficient({4, 70, 0, 0}));
    EXPECT_TRUE(ComCtlVersionSufficient({4, 71, 0, 0}));
    EXPECT_TRUE(ComCtlVersionSufficient({5, 0, 0, 0}));
    EXPECT_FALSE(ComCtlVersionSufficient({4, 69, 9999, 9999}));
    EXPECT_FALSE(ComCtlVersionSufficient({0, 0, 0, 0}));
    TExtListView view;
    EXPECT_NO_THROW(view.SetRequireComCtlUpdate(true));
    EXPECT_TRUE(view.RequireComCtlUpdate());
}

TEST(ExtListView, UnderlinedRowsFollowTheHotItem)
{
    TExtListView view;
    Fill(view, 1, {{"a"}, {"b"}});
    ShowSized(view);
    const auto underlined = [&](int row) {
        return view.model()->data(view.model()->index(row, 0), Qt::FontRole).value<QFont>().underline();
    };
    MouseMove(*view.viewport(), RowPoint(view, 1));
    EXPECT_FALSE(underlined(0));
    EXPECT_FALSE(underlined(1));
    view.SetExtendedStyles(LVX(lvxUnderlineHot));
    // The mouse moves on over the row: a move to where it is already is none.
    MouseMove(*view.viewport(), RowPoint(view, 1) + QPoint(1, 0));
    EXPECT_FALSE(underlined(0));
    EXPECT_TRUE(underlined(1));
    view.SetExtendedStyles(LVX(lvxUnderlineCold));
    EXPECT_TRUE(underlined(0));
    EXPECT_FALSE(underlined(1));
    MouseLeave(*view.viewport());
    EXPECT_TRUE(underlined(1));
}

TEST(ExtListView, OwnerDrawnVirtualRowsLeaveTheCellsToTheOwner)
{
    TExtListView view;
    view.AddColumn("A", 80);
    view.AddColumn("B", 80);
    view.SetVirtualMode(true);
    view.SetItemCountEx(2, 0);
    view.SetExtendedStyles(LVX(lvxFullRowSelect));
    view.SetStyle(lvOwnerDrawFixed);
    ShowSized(view);
    int infos = 0;
    view.OnVMGetItemInfo = [&](QObject*, int, int, TLVVMMaskItems, int&, std::intptr_t&, unsigned&, int&, std::string&) { ++infos; };
    std::vector<bool> fullRow;
    view.OnDrawItem = [&](QObject*, QPainter*&, int, QRect, TOwnerDrawState, bool& defaultDrawing, bool& full) {
        fullRow.push_back(full);
        defaultDrawing = true;
    };
    std::vector<std::pair<int, int>> cells;
    view.OnDrawSubItem = [&](QObject*, QPainter*&, int index, int sub, QRect, TOwnerDrawState, bool&) { cells.emplace_back(index, sub); };
    const QImage image = Render(*view.viewport());
    EXPECT_EQ(fullRow, (std::vector<bool>{true, true}));
    EXPECT_EQ(cells, (std::vector<std::pair<int, int>>{{0, -1}, {0, 0}, {1, -1}, {1, 0}}));
    EXPECT_EQ(infos, 0);
    // No text of its own: the rows stay blank.
    const QRgb base = view.palette().color(QPalette::Base).rgb();
    int inked = 0;
    for (int x = 0; x < 160; ++x)
        for (int y = 0; y < 2 * view.rowHeight(0); ++y)
            inked += image.pixel(x, y) != base;
    EXPECT_EQ(inked, 0);
}

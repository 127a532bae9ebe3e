// The enhanced list view: sorting by header clicks, re-sorting, settings in
// the registry, sort arrows, owner-drawn rows and headers, label editing.
#include "controls/listviews/EnhListView.h"

#include "controls/listviews/ImgList.h"
#include "platform/IniFile.h"
#include "tests/controls/FlatTestSupport.h"
#include "tests/controls/listviews/ListViewTestSupport.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QStyledItemDelegate>

#include <gtest/gtest.h>

using namespace vx;
using namespace vx::test;

namespace {

using Rows = std::vector<std::vector<std::string>>;
const Rows Numbers{{"2", "b"}, {"10", "a"}, {"1.5", "c"}};

void ShowSized(QWidget& widget)
{
    widget.resize(400, 300);
    widget.show();
}

} // namespace

TEST(EnhListView, Defaults)
{
    TEnhListView view;
    EXPECT_EQ(view.AutoColumnSort(), acsNoSort);
    EXPECT_EQ(view.AutoSortStyle(), assSmart);
    EXPECT_TRUE(view.AutoResort());
    EXPECT_TRUE(view.AutoSortAscending());
    EXPECT_TRUE(view.CurrentSortAscending());
    EXPECT_FALSE(view.ShowSortArrows());
    EXPECT_EQ(view.Style(), lvStandard);
    EXPECT_EQ(view.LastColumnClicked(), -1);
    EXPECT_FALSE(view.SaveSettings().AutoSave);
    EXPECT_TRUE(view.SaveSettings().SaveColumnSizes);
    EXPECT_TRUE(view.SaveSettings().SaveCurrentSort);
    EXPECT_EQ(view.Version(), "TEnhListView v3.50");
    view.SetVersion("other");
    EXPECT_EQ(view.Version(), "TEnhListView v3.50");
}

TEST(EnhListView, HeaderClicksSortAndToggle)
{
    TEnhListView view;
    Fill(view, 2, Numbers);
    ShowSized(view);
    std::vector<int> clicked;
    view.OnColumnClick = [&](QObject*, int column) { clicked.push_back(column); };

    // Without automatic sorting a click only reports and records the column.
    ClickHeader(view, 0);
    EXPECT_EQ(Captions(view), (std::vector<std::string>{"2", "10", "1.5"}));
    EXPECT_EQ(view.LastColumnClicked(), 0);

    view.SetAutoColumnSort(acsSortToggle);
    ClickHeader(view, 1);
    EXPECT_EQ(Captions(view), (std::vector<std::string>{"10", "2", "1.5"}));
    ClickHeader(view, 0);
    EXPECT_EQ(Captions(view), (std::vector<std::string>{"1.5", "2", "10"}));
    EXPECT_TRUE(view.CurrentSortAscending());
    ClickHeader(view, 0);
    EXPECT_EQ(Captions(view), (std::vector<std::string>{"10", "2", "1.5"}));
    EXPECT_FALSE(view.CurrentSortAscending());
    // Another column starts again with the initial direction.
    view.SetAutoSortAscending(false);
    ClickHeader(view, 1);
    EXPECT_EQ(Captions(view), (std::vector<std::string>{"1.5", "2", "10"}));
    EXPECT_EQ(clicked, (std::vector<int>{0, 1, 0, 0, 1}));

    // acsSort keeps the direction on every click.
    view.SetAutoColumnSort(acsSort);
    view.SetCurrentSortAscending(true);
    ClickHeader(view, 0);
    ClickHeader(view, 0);
    EXPECT_EQ(Captions(view), (std::vector<std::string>{"1.5", "2", "10"}));
}

// The events' flag is the inverse of the requested direction: false for an
// ascending sort, as the owners written against this control expect.
TEST(EnhListView, SortEventsReportTheInverseOfTheRequestedDirection)
{
    TEnhListView view;
    Fill(view, 2, Numbers);
    std::vector<std::string> log;
    view.OnSortBegin = [&](QObject*, int column, bool ascending) { log.push_back("begin " + std::to_string(column) + (ascending ? " up" : " down")); };
    view.OnSortFinished = [&](QObject*, int column, bool ascending) { log.push_back("end " + std::to_string(column) + (ascending ? " up" : " down")); };
    view.SortColumn(1, true);
    view.SortColumn(0, false);
    EXPECT_EQ(log, (std::vector<std::string>{"begin 1 down", "end 1 down", "begin 0 up", "end 0 up"}));
    EXPECT_EQ(Captions(view), (std::vector<std::string>{"10", "2", "1.5"}));
    EXPECT_EQ(view.LastColumnClicked(), 0);
}

TEST(EnhListView, OwnerComparisonReplacesTheBuiltInOne)
{
    TEnhListView view;
    Fill(view, 2, {{"bb", "x"}, {"a", "y"}, {"ccc", "z"}});
    int lastColumn = -99;
    view.OnSortItems = [&](QObject*, TListItem* a, TListItem* b, int column, int& result) {
        lastColumn = column;
        result = static_cast<int>(a->Caption().size()) - static_cast<int>(b->Caption().size());
    };
    view.SortColumn(2, false);
    EXPECT_EQ(Captions(view), (std::vector<std::string>{"ccc", "bb", "a"}));
    EXPECT_EQ(lastColumn, 1);
}

TEST(EnhListView, SortKeepsTheSelectionOnItsItem)
{
    TEnhListView view;
    Fill(view, 1, {{"b"}, {"c"}, {"a"}});
    view.selectRow(1);
    view.SortColumn(0, true);
    EXPECT_EQ(Captions(view), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(view.currentIndex().row(), 2);
    EXPECT_TRUE(view.selectionModel()->isRowSelected(2, QModelIndex()));
}

TEST(EnhListView, ResortWaitsForTheLastEndUpdate)
{
    TEnhListView view;
    Fill(view, 1, {{"b"}, {"c"}, {"a"}});
    view.SetAutoColumnSort(acsSort);
    view.SetLastColumnClicked(0);
    // Before the control is set up the update counter holds every re-sort.
    view.Resort();
    EXPECT_EQ(Captions(view), (std::vector<std::string>{"b", "c", "a"}));
    view.Loaded();
    EXPECT_EQ(Captions(view), (std::vector<std::string>{"a", "b", "c"}));

    view.BeginUpdate();
    view.BeginUpdate();
    view.Items(0)->SetCaption("z");
    view.Resort();
    view.EndUpdate();
    EXPECT_EQ(Captions(view).front(), "z");
    view.EndUpdate();
    EXPECT_EQ(Captions(view), (std::vector<std::string>{"b", "c", "z"}));
}

TEST(EnhListView, AutoResortAfterDeleteAndLabelEdit)
{
    TEnhListView view;
    Fill(view, 1, {{"b"}, {"c"}, {"a"}});
    view.SetAutoColumnSort(acsSort);
    view.Loaded();
    EXPECT_EQ(Captions(view), (std::vector<std::string>{"a", "b", "c"}));
    view.model()->setData(view.model()->index(0, 0), "d", Qt::EditRole);
    EXPECT_EQ(Captions(view), (std::vector<std::string>{"b", "c", "d"}));

    view.SetAutoResort(false);
    view.model()->setData(view.model()->index(0, 0), "e", Qt::EditRole);
    EXPECT_EQ(Captions(view), (std::vector<std::string>{"e", "c", "d"}));
    view.SetAutoResort(true);
    view.DeleteItem(1);
    EXPECT_EQ(Captions(view), (std::vector<std::string>{"d", "e"}));
    EXPECT_THROW(view.DeleteItem(5), EListError);
}

TEST(EnhListView, CancelledLabelEditIsReported)
{
    TEnhListView view;
    Fill(view, 1, {{"one"}, {"two"}});
    ShowSized(view);
    Activate(view);
    TListItem* cancelled = nullptr;
    view.OnEditCanceled = [&](QObject*, TListItem* item) { cancelled = item; };
    view.setCurrentIndex(view.model()->index(1, 0));
    view.edit(view.currentIndex());
    auto* editor = view.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    KeyPress(*editor, Qt::Key_Escape);
    EXPECT_EQ(cancelled, view.Items(1));
    EXPECT_EQ(view.Items(1)->Caption(), "two");
}

TEST(EnhListView, SettingsRoundTripThroughTheRegistry)
{
    const std::string key = "\\Software\\Vellumix\\Test\\EnhList";
    {
        TEnhListView view;
        Fill(view, 3, Numbers);
        view.SaveSettings().AutoSave = true;
        view.SaveSettings().RegistryKey = key;
        view.SetColumnWidth(0, 111);
        view.SetColumnWidth(2, 33);
        view.SetAutoColumnSort(acsSort);
        view.SortColumn(1, false);
        view.SetCurrentSortAscending(false);
    }
    TRegIniFile ini(key);
    EXPECT_EQ(ini.ReadString("Columns", "Sizes", ""), "111,60,33");
    EXPECT_FALSE(ini.ReadBool("Sort", "Ascending", true));
    EXPECT_EQ(ini.ReadInteger("Sort", "SortCol", -5), 1);

    TEnhListView view;
    Fill(view, 3, Numbers);
    view.SetAutoColumnSort(acsSort);
    view.SaveSettings().AutoSave = true;
    view.SaveSettings().RegistryKey = key;
    view.Loaded();
    EXPECT_EQ(view.ColumnWidth(0), 111);
    EXPECT_EQ(view.ColumnWidth(2), 33);
    EXPECT_EQ(view.LastColumnClicked(), 1);
    EXPECT_FALSE(view.CurrentSortAscending());
    EXPECT_EQ(Captions(view), (std::vector<std::string>{"1.5", "2", "10"}));
}

TEST(EnhListView, PartialAndBadStoredSettings)
{
    const std::string key = "\\Software\\Vellumix\\Test\\EnhListBad";
    TRegIniFile ini(key);
    ini.WriteString("Columns", "Sizes", "100,x,70");
    ini.WriteInteger("Sort", "SortCol", 9);
    TEnhListView view;
    Fill(view, 4, {{"a", "3", "z"}, {"b", "1", "y"}, {"c", "2", "x"}});
    view.SetAutoColumnSort(acsSort);
    view.SaveSettings().AutoSave = true;
    view.SaveSettings().RegistryKey = key;
    view.Loaded();
    EXPECT_EQ(view.ColumnWidth(0), 100);
    EXPECT_EQ(view.ColumnWidth(1), 60);
    EXPECT_EQ(view.ColumnWidth(2), 70);
    EXPECT_EQ(view.ColumnWidth(3), 60);
    // SortCol 9 of four columns sorts by the last one.
    EXPECT_EQ(view.LastColumnClicked(), 3);

    // No stored sizes: no width changes; no stored sort: column 0 ascending.
    TEnhListView fresh;
    Fill(fresh, 2, {{"b", "1"}, {"a", "2"}});
    fresh.SetColumnWidth(1, 44);
    fresh.SetAutoColumnSort(acsSort);
    fresh.SaveSettings().AutoSave = true;
    fresh.SaveSettings().RegistryKey = "\\Software\\Vellumix\\Test\\Missing";
    fresh.Loaded();
    EXPECT_EQ(fresh.ColumnWidth(1), 44);
    EXPECT_EQ(Captions(fresh), (std::vector<std::string>{"a", "b"}));
}

TEST(EnhListView, WithoutAutoSaveNothingIsStored)
{
    const std::string key = "\\Software\\Vellumix\\Test\\NoSave";
    {
        TEnhListView view;
        Fill(view, 2, Numbers);
        view.SaveSettings().RegistryKey = key;
        EXPECT_FALSE(view.LoadSettings());
    }
    TRegIniFile ini(key);
    EXPECT_FALSE(ini.ValueExists("Columns", "Sizes"));
}

TEST(EnhListView, SortArrowsFollowFontAndReverse)
{
    TEnhListView view;
    view.SetShowSortArrows(true);
    ASSERT_FALSE(view.UpArrow().isNull());
    const int t = QFontMetrics(view.font()).height() - 6;
    EXPECT_EQ(view.UpArrow().width(), t + (t & 1));
    EXPECT_TRUE(view.HeaderOwnerDraw());
    const QImage up = view.UpArrow().toImage();
    view.SetReverseSortArrows(true);
    EXPECT_EQ(view.DownArrow().toImage(), up);

    QFont tiny = view.font();
    tiny.setPixelSize(4);
    TEnhListView small;
    small.setFont(tiny);
    ASSERT_LT(QFontMetrics(tiny).height(), 7);
    small.SetShowSortArrows(true);
    EXPECT_TRUE(small.UpArrow().isNull());
    EXPECT_TRUE(small.DownArrow().isNull());

    view.SetShowSortArrows(false);
    EXPECT_TRUE(view.UpArrow().isNull());
    EXPECT_FALSE(view.HeaderOwnerDraw());
}

TEST(EnhListView, OwnerDrawnHeaderAsksTheOwner)
{
    TEnhListView view;
    Fill(view, 2, Numbers);
    ShowSized(view);
    std::vector<int> drawn;
    view.SetOnDrawHeader([&](QObject*, QPainter*& canvas, int index, QRect& rect, bool, bool& defaultDrawing) {
        drawn.push_back(index);
        EXPECT_TRUE(defaultDrawing == false);
        canvas->fillRect(rect, Qt::red);
    });
    EXPECT_TRUE(view.HeaderOwnerDraw());
    const QImage image = Render(*view.horizontalHeader());
    EXPECT_EQ(PixelAt(image, 10, 5), PixelAt(image, 70, 5));
    EXPECT_EQ(QColor(image.pixel(10, 5)), QColor(Qt::red));
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), 1), drawn.end());
}

TEST(EnhListView, SortArrowIsDrawnInTheSortedColumnOnly)
{
    TEnhListView view;
    view.AddColumn("Name", 150);
    view.AddColumn("Size", 150);
    view.SetShowSortArrows(true);
    view.SetAutoColumnSort(acsSort);
    ShowSized(view);
    view.SortColumn(1, true);
    const QImage image = Render(*view.horizontalHeader());
    const QRgb face = view.palette().color(QPalette::Button).rgb();
    const auto inked = [&](int from, int to) {
        int count = 0;
        for (int x = from; x < to; ++x)
            for (int y = 3; y < image.height() - 3; ++y)
                count += image.pixel(x, y) != face;
        return count;
    };
    // The arrow follows the sorted column's text; the other column has none.
    const QFontMetrics fm(view.font());
    EXPECT_GT(inked(150 + 8 + fm.horizontalAdvance("Size") + 4, 300 - 3), 0);
    EXPECT_EQ(inked(8 + fm.horizontalAdvance("Name") + 4, 150 - 3), 0);
}

TEST(EnhListView, OwnerDrawnRowsAskTheOwner)
{
    TEnhListView view;
    Fill(view, 2, Numbers);
    view.OnMeasureItem = [](QObject*, int& height) { height = 30; };
    view.SetStyle(lvOwnerDrawFixed);
    EXPECT_EQ(view.rowHeight(0), 30);
    ShowSized(view);
    std::vector<int> rows, after;
    std::vector<std::pair<int, int>> cells;
    view.OnDrawItem = [&](QObject*, QPainter*&, int index, QRect rect, TOwnerDrawState, bool& defaultDrawing, bool&) {
        rows.push_back(index);
        EXPECT_EQ(rect.height(), 30);
        defaultDrawing = index != 1;
    };
    view.OnDrawSubItem = [&](QObject*, QPainter*&, int index, int sub, QRect, TOwnerDrawState, bool&) {
        cells.emplace_back(index, sub);
    };
    view.OnAfterDefaultDrawItem = [&](QObject*, QPainter*&, int index, QRect, TOwnerDrawState) { after.push_back(index); };
    Render(view);
    EXPECT_EQ(rows, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(after, (std::vector<int>{0, 2}));
    EXPECT_EQ(cells, (std::vector<std::pair<int, int>>{{0, -1}, {0, 0}, {2, -1}, {2, 0}}));
}

TEST(EnhListView, DefaultRowPaintingShowsTheTexts)
{
    TEnhListView view;
    Fill(view, 2, {{"Caption", "Sub"}});
    view.SetStyle(lvOwnerDrawFixed);
    ShowSized(view);
    const QImage image = Render(*view.viewport());
    const QRgb base = view.palette().color(QPalette::Base).rgb();
    const auto inked = [&](int from, int to) {
        int count = 0;
        for (int x = from; x < to; ++x)
            for (int y = 0; y < view.rowHeight(0); ++y)
                count += image.pixel(x, y) != base;
        return count;
    };
    EXPECT_GT(inked(0, 60), 0);
    EXPECT_GT(inked(60, 120), 0);
    EXPECT_EQ(inked(130, 300), 0);
}

TEST(EnhListView, ResizeColumnsAndLookups)
{
    TEnhListView view;
    Fill(view, 2, {{"a very long caption indeed", "x"}});
    view.ResizeColumns(false);
    EXPECT_GT(view.ColumnWidth(0), QFontMetrics(view.font()).horizontalAdvance("a very long caption"));
    EXPECT_EQ(view.GetSubItemText(0, -1), "a very long caption indeed");
    EXPECT_EQ(view.GetSubItemText(0, 0), "x");
    EXPECT_EQ(view.GetSubItemText(0, 5), "");
    EXPECT_EQ(view.GetSubItemText(7, 0), "");
    EXPECT_EQ(view.GetActualColumn(5), -1);
    EXPECT_EQ(view.ActualColumnIndex(9), 0);
    EXPECT_THROW(view.Column(2), EListError);
}

TEST(EnhListView, BackgroundImageBecomesTheBaseBrush)
{
    TEnhListView view;
    QPixmap tile(8, 8);
    tile.fill(QColor(1, 2, 3));
    view.SetBackgroundImage(tile);
    EXPECT_EQ(view.palette().base().texture().toImage(), tile.toImage());
    view.SetBackgroundImage(QPixmap());
    EXPECT_TRUE(view.palette().base().texture().isNull());
}

TEST(EnhListView, StateImageComesBeforeTheItemImage)
{
    TImageList state, small;
    QPixmap green(16, 16), blue(16, 16);
    green.fill(Qt::green);
    blue.fill(Qt::blue);
    state.Add(green);
    small.Add(blue);
    TEnhListView view;
    Fill(view, 1, {{"a"}, {"b"}});
    view.SetColumnWidth(0, 200);
    view.SetStateImages(&state);
    view.SetSmallImages(&small);
    view.Items(0)->SetStateIndex(0);
    view.Items(0)->SetImageIndex(0);
    view.Items(1)->SetImageIndex(0);
    EXPECT_GE(view.rowHeight(0), 18);
    const QIcon both = view.model()->data(view.model()->index(0, 0), Qt::DecorationRole).value<QIcon>();
    EXPECT_EQ(both.availableSizes().value(0), QSize(32, 16));

    view.SetStyle(lvOwnerDrawFixed);
    ShowSized(view);
    const QImage image = Render(*view.viewport());
    const int y = view.rowHeight(0) / 2;
    EXPECT_EQ(QColor(image.pixel(LVImageOffset + 8, y)), QColor(Qt::green));
    EXPECT_EQ(QColor(image.pixel(LVImageOffset + 24, y)), QColor(Qt::blue));
    // Without a state image the item's image keeps the state image's place free.
    EXPECT_EQ(QColor(image.pixel(LVImageOffset + 24, view.rowHeight(0) + y)), QColor(Qt::blue));
    EXPECT_NE(QColor(image.pixel(LVImageOffset + 8, view.rowHeight(0) + y)), QColor(Qt::green));

    // A destroyed list is dropped by the control.
    auto* gone = new TImageList;
    gone->Add(green);
    view.SetStateImages(gone);
    delete gone;
    EXPECT_EQ(view.StateImages(), nullptr);
    EXPECT_EQ(view.SmallImages(), &small);
}

TEST(EnhListView, AChangeOfAnAssignedImageListRefreshesTheItems)
{
    TImageList small, state;
    TEnhListView view;
    Fill(view, 1, {{"a"}});
    view.SetSmallImages(&small);
    view.SetStateImages(&state);
    // Assigning the same list again keeps one connection, not two.
    view.SetSmallImages(&small);
    QSignalSpy refreshed(view.model(), &QAbstractItemModel::dataChanged);
    QPixmap blue(16, 16);
    blue.fill(Qt::blue);
    small.Add(blue);
    EXPECT_EQ(refreshed.count(), 1);
    state.Add(blue);
    EXPECT_EQ(refreshed.count(), 2);
}

TEST(EnhListView, OwnerDrawnRowsAreMeasuredAgainForANewFont)
{
    TEnhListView view;
    Fill(view, 1, {{"a"}});
    view.SetStyle(lvOwnerDrawFixed);
    EXPECT_EQ(view.rowHeight(0), QFontMetrics(view.font()).height() + 1);
    QFont big = view.font();
    big.setPixelSize(40);
    view.setFont(big);
    EXPECT_EQ(view.rowHeight(0), QFontMetrics(big).height() + 1);
}

TEST(EnhListView, SelectionShowsInTheFirstColumnOnlyAndHidesUnfocused)
{
    TEnhListView view;
    Fill(view, 2, {{"a", "b"}});
    ShowSized(view);
    view.selectRow(0);
    const auto paintCell = [&](int column, QStyle::State state) {
        QStyleOptionViewItem cell;
        cell.state = state | QStyle::State_Enabled;
        auto* delegate = static_cast<QStyledItemDelegate*>(view.itemDelegate());
        QImage canvas(60, 20, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        cell.rect = canvas.rect();
        cell.widget = &view;
        delegate->paint(&painter, cell, view.model()->index(0, column));
        return canvas;
    };
    const auto selectedShown = [&](int column) {
        return paintCell(column, QStyle::State_Selected) != paintCell(column, QStyle::State_None);
    };
    view.SetHideSelection(false);
    EXPECT_TRUE(selectedShown(0));
    EXPECT_FALSE(selectedShown(1));
    view.SetHideSelection(true);
    ASSERT_FALSE(view.hasFocus());
    EXPECT_FALSE(selectedShown(0));
}

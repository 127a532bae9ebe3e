// The extended draw grid: column widths in the placement storage, fixed cells
// as buttons, what the drawing event is told, sizing by dragging a line, keys.
#include "controls/common/SysColors.h"
#include "controls/stores/AppUtils.h"
#include "controls/grids/RXGrids.h"
#include "platform/IniFile.h"
#include "tests/controls/FlatTestSupport.h"
#include "tests/support/TempDir.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <tuple>

using namespace vx;
using namespace vx::test;

TEST(RxDrawGrid, Defaults)
{
    TRxDrawGrid grid;
    EXPECT_EQ(grid.DefaultRowHeight(), 18);
    EXPECT_EQ(grid.Options(), 175u);
    EXPECT_FALSE(grid.FixedButtons());
    EXPECT_EQ(grid.IniStorage(), nullptr);
    EXPECT_EQ(grid.ColCount(), 5);
    EXPECT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.CellRect(1, 2), QRect(65, 38, 64, 18));
    EXPECT_THROW(grid.SetFixedCols(5), EInvalidGridOperation);
    grid.SetColCount(1);
    EXPECT_EQ(grid.FixedCols(), 0) << "fewer columns than fixed ones lower the fixed count";
    EXPECT_EQ(grid.Col(), 0);
}

TEST(RxDrawGrid, ColumnWidthsAreKeptInTheStorage)
{
    TempDir dir;
    const std::string file = dir.file("grid.ini");
    std::string section;
    auto run = [&](auto&& withGrid) {
        QWidget form;
        form.setObjectName("Form1");
        TFormStorage storage(&form);
        storage.SetIniFileName(file);
        storage.SetIniSection("Palette");
        auto* grid = new TRxDrawGrid(&form);
        grid->setObjectName("DrawGrid1");
        grid->SetColCount(3);
        grid->SetIniStorage(&storage);
        section = "Palette\\" + GetDefaultSection(grid);
        form.show();
        withGrid(*grid);
        form.close();
    };
    run([](TRxDrawGrid& grid) {
        grid.SetColWidths(0, 30);
        grid.SetColWidths(2, 99);
    });
    TIniFile ini(file);
    EXPECT_EQ(ini.ReadInteger(section, "Item0", -1), 30);
    EXPECT_EQ(ini.ReadInteger(section, "Item1", -1), 64);
    EXPECT_EQ(ini.ReadInteger(section, "Item2", -1), 99);
    EXPECT_EQ(ini.ReadInteger(section, "Item3", -1), -1);
    run([](TRxDrawGrid& grid) {
        EXPECT_EQ(grid.ColWidths(0), 30);
        EXPECT_EQ(grid.ColWidths(1), 64);
        EXPECT_EQ(grid.ColWidths(2), 99);
    });

    ini.WriteString(section, "Item1", "-40");
    ini.UpdateFile();
    run([](TRxDrawGrid& grid) { EXPECT_EQ(grid.ColWidths(1), 0) << "a negative width from the file is clamped"; });
}

namespace {

struct ButtonGrid {
    TRxDrawGrid grid;
    std::vector<std::pair<int, int>> clicks;
    ButtonGrid()
    {
        grid.resize(400, 120);
        grid.SetFixedButtons(true);
        grid.OnFixedCellClick = [this](QObject*, int col, int row) { clicks.emplace_back(col, row); };
    }
    QPoint Centre(int col, int row) const { return grid.CellRect(col, row).center(); }
};

} // namespace

TEST(RxDrawGrid, FixedCellsActAsButtons)
{
    ButtonGrid b;
    MousePress(b.grid, b.Centre(2, 0));
    MouseRelease(b.grid, b.Centre(2, 0));
    EXPECT_EQ(b.clicks, (std::vector<std::pair<int, int>>{{2, 0}}));

    MousePress(b.grid, b.Centre(0, 3));
    MouseMove(b.grid, b.Centre(1, 3));
    MouseRelease(b.grid, b.Centre(1, 3));
    EXPECT_EQ(b.clicks.size(), 1u) << "released outside the pressed cell";

    bool asked = false;
    b.grid.OnCheckButton = [&](QObject*, int col, int, bool& enabled) {
        asked = true;
        enabled = col != 3;
    };
    MousePress(b.grid, b.Centre(3, 0));
    MouseRelease(b.grid, b.Centre(3, 0));
    EXPECT_TRUE(asked);
    EXPECT_EQ(b.clicks.size(), 1u) << "a disabled button does not click";
    EXPECT_EQ(b.grid.Col(), 1) << "and does not move the current cell";

    b.grid.SetFixedButtons(false);
    MousePress(b.grid, b.Centre(2, 0));
    MouseRelease(b.grid, b.Centre(2, 0));
    EXPECT_EQ(b.clicks.size(), 1u) << "plain fixed cells";
}

TEST(RxDrawGrid, PressedButtonIsDrawnSunkenAndShifted)
{
    ButtonGrid b;
    b.grid.SetFixedColor(clSilver);
    std::map<std::pair<int, int>, QRect> rects;
    b.grid.OnDrawCell = [&](QObject*, int col, int row, const QRect& rect, TGridDrawState) {
        rects[{col, row}] = rect;
    };
    const QRect cell = b.grid.CellRect(2, 0);
    auto topLeft = [&] { return PixelAt(Render(b.grid), cell.left(), cell.top() + 5); };
    EXPECT_EQ(topLeft(), ColorToRGB(clBtnHighlight)) << "raised";
    EXPECT_EQ(rects[std::make_pair(2, 0)], cell);
    MousePress(b.grid, cell.center());
    EXPECT_EQ(topLeft(), ColorToRGB(clBtnShadow)) << "sunken while pressed";
    EXPECT_EQ(rects[std::make_pair(2, 0)], cell.translated(1, 1));
    MouseMove(b.grid, b.Centre(3, 0));
    EXPECT_EQ(topLeft(), ColorToRGB(clBtnHighlight)) << "raised while the mouse is off the cell";
    MouseRelease(b.grid, b.Centre(3, 0));
}

TEST(RxDrawGrid, DrawCellIsToldStateAndCanvas)
{
    TRxDrawGrid grid;
    grid.resize(400, 120);
    grid.SetCol(2);
    grid.SetRow(3);
    std::map<std::pair<int, int>, TGridDrawState> states;
    bool canvas = true;
    grid.OnDrawCell = [&](QObject* sender, int col, int row, const QRect&, TGridDrawState state) {
        states[{col, row}] = state;
        canvas = canvas && static_cast<TRxDrawGrid*>(sender)->Canvas() != nullptr;
    };
    Render(grid);
    EXPECT_TRUE(canvas);
    EXPECT_EQ(grid.Canvas(), nullptr) << "only while painting";
    EXPECT_EQ(states.size(), 25u);
    EXPECT_EQ(states[std::make_pair(0, 0)], TGridDrawState(gdFixed));
    EXPECT_EQ(states[std::make_pair(2, 0)], TGridDrawState(gdFixed));
    EXPECT_EQ(states[std::make_pair(2, 3)], TGridDrawState(gdSelected)) << "focused only with the focus";
    EXPECT_EQ(states[std::make_pair(1, 3)], TGridDrawState(0));
    grid.SetOptions(grid.Options() | goRowSelect);
    Render(grid);
    EXPECT_EQ(states[std::make_pair(1, 3)], TGridDrawState(gdSelected));

    grid.SetOptions(175);
    grid.SetColor(clWhite);
    const QRect current = grid.CellRect(2, 3), other = grid.CellRect(3, 2);
    QImage image = Render(grid);
    EXPECT_EQ(PixelAt(image, current.center().x(), current.center().y()), ColorToRGB(clHighlight));
    EXPECT_EQ(PixelAt(image, other.center().x(), other.center().y()), clWhite);
    grid.SetDefaultDrawing(false);
    grid.OnDrawCell = [&](QObject*, int, int, const QRect& rect, TGridDrawState) {
        grid.Canvas()->fillRect(rect, Qt::green);
    };
    image = Render(grid);
    EXPECT_EQ(PixelAt(image, current.center().x(), current.center().y()), clLime) << "the owner draws it all";
}

TEST(RxDrawGrid, DraggingAColumnLineSizesIt)
{
    TRxDrawGrid grid;
    grid.resize(400, 120);
    int sized = 0;
    grid.OnColumnSized = [&](QObject*) { ++sized; };
    const int line = grid.CellRect(1, 0).right() + 1;
    MousePress(grid, QPoint(line, 5));
    MouseMove(grid, QPoint(line + 20, 5));
    EXPECT_EQ(sized, 0);
    MouseRelease(grid, QPoint(line + 20, 5));
    EXPECT_EQ(grid.ColWidths(1), 84);
    EXPECT_EQ(sized, 1);

    MousePress(grid, QPoint(line + 20, 50));
    MouseRelease(grid, QPoint(line + 60, 50));
    EXPECT_EQ(grid.ColWidths(1), 84) << "only in the fixed row";

    grid.SetOptions(grid.Options() & ~goColSizing);
    const int next = grid.CellRect(2, 0).right() + 1;
    MousePress(grid, QPoint(next, 5));
    MouseRelease(grid, QPoint(next + 30, 5));
    EXPECT_EQ(grid.ColWidths(2), 64);
}

TEST(RxDrawGrid, KeysAndFocus)
{
    TRxDrawGrid grid;
    KeyPress(grid, Qt::Key_Left);
    EXPECT_EQ(grid.Col(), 1) << "fixed cells are never current";
    KeyPress(grid, Qt::Key_End);
    KeyPress(grid, Qt::Key_Down);
    KeyPress(grid, Qt::Key_Down);
    KeyPress(grid, Qt::Key_Down);
    KeyPress(grid, Qt::Key_Down);
    EXPECT_EQ(std::make_tuple(grid.Col(), grid.Row()), std::make_tuple(4, 4));
    KeyPress(grid, Qt::Key_Home);
    EXPECT_EQ(grid.Col(), 1);

    QWidget window;
    auto* g = new TRxDrawGrid(&window);
    auto* other = new TRxDrawGrid(&window);
    int focus = 0;
    g->OnChangeFocus = [&](QObject*) { ++focus; };
    Activate(window);
    TGridDrawState current = 0;
    g->OnDrawCell = [&](QObject*, int col, int row, const QRect&, TGridDrawState state) {
        if (col == g->Col() && row == g->Row())
            current = state;
    };
    g->setFocus();
    Render(*g);
    EXPECT_EQ(current, TGridDrawState(gdSelected | gdFocused));
    other->setFocus();
    EXPECT_EQ(focus, 2);
}
